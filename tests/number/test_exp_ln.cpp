// Exponential, logarithms and powers.
#include <gtest/gtest.h>

#include "funkcii_pomoshch.h"
#include "number/vm_funkcii.h"

using namespace funkcii_test;

namespace {

class FunkciiStepen : public FunkciiOsnova {};
class FunkciiExpLn : public FunkciiOsnova {};

struct CelayaStepen {
    const char* a;
    const char* x;
    const char* ozhidaetsya; // exact value
};

// Whole exponents go by binary powering, so every result whose digits fit is
// exact at all 101 digits (a power through logarithms would show a wrong tail).
TEST_F(FunkciiStepen, WholeExponentsAreExact) {
    const CelayaStepen sluchai[] = {
        {"3", "2", "9"},
        {"2", "100", "1267650600228229401496703205376"},
        {"-2", "3", "-8"},
        {"-2", "2", "4"},
        {"1.5", "2", "2.25"},
        {"2", "-2", "0.25"},
        {"10", "-3", "0.001"},
        {"7", "1", "7"},
        {"7", "0", "1"},
        {"0", "0", "1"},
        {"0", "3", "0"},
        {"F.8r16", "2r16", "F0.4r16"},
        {"10r2", "1100100r2", "1e100r2"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = vmStepen(Ch(s.a), Ch(s.x));
        const vmChislo ozh = Ch(s.ozhidaetsya);
        EXPECT_TRUE(RavnyPoZnacheniyu(r, ozh))
            << s.a << "^" << s.x << " agrees to only " << Soglasie(r, ozh) << " digits";
        EXPECT_EQ(r.Osnovanie, ozh.Osnovanie) << s.a << "^" << s.x;
    }
}

TEST_F(FunkciiStepen, ZeroToNegativePowerIsPositiveInfinity) {
    EXPECT_TRUE(Beskonechnost(vmStepen(Ch("0"), Ch("-2")), 1));
    EXPECT_TRUE(Beskonechnost(vmStepen(Ch("0"), Ch("-1")), 1));
}

TEST_F(FunkciiStepen, NegativeBaseWithFractionalExponentIsZero) {
    for (const char* x : {"0.5", "3.0000000000000000000000000000000000000000000000000000001"}) {
        const vmChislo r = vmStepen(Ch("-2"), Ch(x));
        EXPECT_EQ(vmZnak(&r), 0) << x;
        EXPECT_EQ(r.Znak, 0) << x;
    }
}

TEST_F(FunkciiStepen, HugeWholeExponentOverflowsAndUnderflows) {
    EXPECT_TRUE(Beskonechnost(vmStepen(Ch("10"), Ch("600000000")), 1));
    const vmChislo malo = vmStepen(Ch("10"), Ch("-600000000"));
    EXPECT_EQ(vmZnak(&malo), 0);
    // Beyond 2^31 the exponent goes through logarithms: the radix power limit.
    EXPECT_TRUE(Beskonechnost(vmStepen(Ch("10"), Ch("3000000000")), 1));
}

// Operands of two radixes are brought to the larger radix first, so the
// exponent means the same number in both cases.
TEST_F(FunkciiStepen, MixedRadixesUseTheLargerRadix) {
    const vmChislo celaya = vmStepen(Ch("2"), Ch("10r16")); // 2^16
    EXPECT_EQ(celaya.Osnovanie, 16);
    EXPECT_TRUE(RavnyPoZnacheniyu(celaya, Ch("10000r16")));
    const vmChislo drobnaya = vmStepen(Ch("2r16"), Ch("0.5")); // 2^0.5 in radix 16
    EXPECT_EQ(drobnaya.Osnovanie, 16);
    EXPECT_GE(ZapisatSoglasie("pow2_0.5 mixed", drobnaya, Ssylka("sqrt2", 16)), 90);
}

struct DrobnayaStepen {
    const char* a;
    const char* x;
    const char* ssylka;
};

// Fractional exponents go through logarithms (about 92 digits).
TEST_F(FunkciiStepen, FractionalExponentsAgreeWithBc) {
    const DrobnayaStepen sluchai[] = {
        {"2", "0.5", "pow2_0.5"},
        {"7", "1.3", "pow7_1.3"},
        // Just above a whole number is no whole number: not 8, but 8 plus a
        // tail in the 55th place.
        {"2", "3.0000000000000000000000000000000000000000000000000000001", "pow2_3.0e-55"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = vmStepen(Ch(s.a), Ch(s.x));
        EXPECT_GE(ZapisatSoglasie(s.ssylka, r, Ssylka(s.ssylka, 10)), 90);
    }
}

TEST_F(FunkciiExpLn, ExpOfZeroIsOneAndIsRemembered) {
    const vmChislo r = vmExp(Ch("0r7"), true);
    EXPECT_TRUE(RavnyPoZnacheniyu(r, Ch("1r7")));
    vmChislo v;
    ASSERT_TRUE(KeshNayti(VidKonstanti::Exp, 7, 0, &v));
    EXPECT_TRUE(OdinakovyeBayty(v, r));
}

struct ExpSluchay {
    const char* x;
    int R;
    bool series;
    const char* ssylka;
};

TEST_F(FunkciiExpLn, ExpAgreesWithBc) {
    const ExpSluchay sluchai[] = {
        {"1", 10, true, "e"},           {"1r16", 16, true, "e"},
        {"1r2", 2, true, "e"},          {"0.5", 10, true, "exp0.5"},
        {"-1.5", 10, true, "exp_1.5"},  {"2.5", 10, false, "exp2.5"},
        {"-1.5", 10, false, "exp_1.5"}, {"1.8r16", 16, false, "exp1.5"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = vmExp(Ch(s.x), s.series);
        EXPECT_EQ(r.Osnovanie, s.R);
        const std::string chto = std::string(s.ssylka) + (s.series ? " series" : " power");
        EXPECT_GE(ZapisatSoglasie(chto.c_str(), r, Ssylka(s.ssylka, s.R)), 90);
    }
}

TEST_F(FunkciiExpLn, ConstantEIsTheRememberedSeriesValue) {
    for (std::uint8_t R : {2, 10, 16}) {
        const vmChislo e = Konst(4, R);
        vmChislo v;
        ASSERT_TRUE(KeshNayti(VidKonstanti::Exp, R, 1, &v)) << int(R);
        EXPECT_TRUE(OdinakovyeBayty(e, v)) << int(R);
        // exp(1) by the power path returns the remembered e itself.
        EXPECT_TRUE(OdinakovyeBayty(vmExp(Konst(1, R), false), e)) << int(R);
    }
}

TEST_F(FunkciiExpLn, LnOutsideTheDomain) {
    const vmChislo minus = vmLn(Ch("-1"), true);
    EXPECT_EQ(vmZnak(&minus), 0);
    EXPECT_TRUE(Beskonechnost(vmLn(Ch("0"), false), -1));
    vmChislo inf = Konst(2, 10);
    EXPECT_TRUE(OdinakovyeBayty(vmLn(inf, false), inf));
    const vmChislo odin = vmLn(Ch("1"), true);
    EXPECT_EQ(vmZnak(&odin), 0);
}

struct LnSluchay {
    const char* x;
    int R;
    bool series;
    const char* ssylka;
};

TEST_F(FunkciiExpLn, LnAgreesWithBc) {
    const LnSluchay sluchai[] = {
        {"2", 10, true, "ln2"},      {"2r16", 16, true, "ln2"}, {"10r2", 2, true, "ln2"},
        {"2", 10, false, "ln2"},     {"10r2", 2, false, "ln2"}, {"10", 10, true, "ln10"},
        {"0.3", 10, false, "ln0.3"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = vmLn(Ch(s.x), s.series);
        EXPECT_EQ(r.Osnovanie, s.R);
        const std::string chto = std::string(s.ssylka) + (s.series ? " series" : " via log");
        EXPECT_GE(ZapisatSoglasie(chto.c_str(), r, Ssylka(s.ssylka, s.R)), 90);
    }
}

TEST_F(FunkciiExpLn, LogarithmsToBases) {
    EXPECT_GE(ZapisatSoglasie("lg2", vmLog(Ch("10"), Ch("2")), Ssylka("lg2", 10)), 90);
    // log_R of a power of the radix is its exponent exactly.
    EXPECT_TRUE(RavnyPoZnacheniyu(vmLogOsnovaniya(Ch("1000")), Ch("3")));
    EXPECT_TRUE(RavnyPoZnacheniyu(vmLogOsnovaniya(Ch("0.01")), Ch("-2")));
    EXPECT_TRUE(RavnyPoZnacheniyu(vmStepenOsnovaniya(Ch("-3")), Ch("0.001")));
    EXPECT_TRUE(Beskonechnost(vmStepenOsnovaniya(Ch("600000000")), 1));
}

// A logarithm whose exact value is a whole number is given exactly, not with
// the tail of the 92-digit logarithms; near-misses keep the computed value.
TEST_F(FunkciiExpLn, WholeLogarithmsAreExact) {
    struct {
        const char* a;
        const char* x;
        const char* n;
    } sluchai[] = {{"2", "8", "3"},        {"3", "81", "4"}, {"10", "0.00001", "-5"},
                   {"0.5", "8", "-3"},     {"7", "7", "1"},  {"2r16", "100r16", "8r16"},
                   {"2", "400r16", "Ar16"}};
    for (const auto& s : sluchai)
        EXPECT_TRUE(OdinakovyeBayty(vmLog(Ch(s.a), Ch(s.x)), Ch(s.n))) << s.a << " " << s.x;
    // 8.0000000001 is no power of 2: the logarithm stays inexact, near 3.
    const vmChislo pochti = vmLog(Ch("2"), Ch("8.0000000001"));
    EXPECT_FALSE(RavnyPoZnacheniyu(pochti, Ch("3")));
    EXPECT_FALSE(vmEtoCeloe(&pochti));
}

// The infinity value is no number 10^(2^29): its logarithm to any base above
// one is infinite, and a fractional power of it is infinity or zero.
TEST_F(FunkciiExpLn, InfinityThroughLogarithmsAndPowers) {
    const vmChislo inf = Konst(2, 10);
    EXPECT_TRUE(Beskonechnost(vmLogOsnovaniya(inf), 1));
    EXPECT_TRUE(Beskonechnost(vmLog(Ch("10"), inf), 1));
    EXPECT_TRUE(Beskonechnost(vmLog(Ch("0.5"), inf), -1));
    const vmChislo obratniy = vmLog(inf, Ch("2"));
    EXPECT_EQ(vmZnak(&obratniy), 0);
    EXPECT_TRUE(Beskonechnost(vmStepen(inf, Ch("0.5")), 1));
    const vmChislo koren = vmStepen(inf, Ch("-0.5"));
    EXPECT_EQ(vmZnak(&koren), 0);
    EXPECT_TRUE(Beskonechnost(vmLog(Ch("2r16"), Konst(2, 16)), 1));
}

// The memo key is floor(x) when x lies within R^-52 above a whole number
// (radix 11 here, a radix no other test fills).
TEST_F(FunkciiExpLn, MemoIsKeyedByTheFloor) {
    const vmChislo ln2 = vmLn(Ch("2r11"), true);
    vmChislo v;
    ASSERT_TRUE(KeshNayti(VidKonstanti::Ln, 11, 2, &v));
    EXPECT_TRUE(OdinakovyeBayty(v, ln2));
    const std::string dvaPlus60 = "2." + std::string(59, '0') + "1r11"; // 2 + 11^-60
    const std::string dvaPlus40 = "2." + std::string(39, '0') + "1r11"; // 2 + 11^-40
    const std::string dvaMinus60 = "1." + std::string(60, 'A') + "r11"; // 2 - 11^-60
    EXPECT_TRUE(OdinakovyeBayty(vmLn(Ch(dvaPlus60), true), ln2));
    EXPECT_FALSE(OdinakovyeBayty(vmLn(Ch(dvaPlus40), true), ln2));
    EXPECT_FALSE(OdinakovyeBayty(vmLn(Ch(dvaMinus60), true), ln2));
    // Only n itself fills the slot of n: a series just above 3 with the slot
    // empty leaves it empty (its value is no ln 3).
    vmLn(Ch("3." + std::string(59, '0') + "1r11"), true);
    EXPECT_FALSE(KeshNayti(VidKonstanti::Ln, 11, 3, &v));
    vmExp(Ch("4." + std::string(59, '0') + "1r11"), true);
    EXPECT_FALSE(KeshNayti(VidKonstanti::Exp, 11, 4, &v));

    // A remembered entry is returned as it is, without recomputing.
    const vmChislo metka = Ch("123r11");
    KeshZapolnit(VidKonstanti::Exp, 11, 3, metka);
    EXPECT_TRUE(OdinakovyeBayty(vmExp(Ch("3r11"), true), metka));
    EXPECT_TRUE(OdinakovyeBayty(vmExp(Ch("3." + std::string(55, '0') + "1r11"), false), metka));
    EXPECT_FALSE(OdinakovyeBayty(vmExp(Ch("3.5r11"), true), metka));
    // Memo slots exist only for 0..255.
    KeshZapolnit(VidKonstanti::Exp, 11, 256, metka);
    EXPECT_FALSE(OdinakovyeBayty(vmExp(Ch("256"), false), metka));
}

// A series ended by a stop request stores nothing (radix 13, which no other
// test fills).
TEST_F(FunkciiExpLn, StoppedSeriesAreNotRemembered) {
    vmChislo v;
    ASSERT_FALSE(KeshNayti(VidKonstanti::Ln, 13, 3, &v));
    CalcCancelled.store(1);
    vmExp(Ch("1r13"), true);
    vmLn(Ch("3r13"), true);
    EXPECT_FALSE(KeshNayti(VidKonstanti::Exp, 13, 1, &v));
    EXPECT_FALSE(KeshNayti(VidKonstanti::Ln, 13, 3, &v));
    CalcCancelled.store(0);
    vmLn(Ch("3r13"), true);
    EXPECT_TRUE(KeshNayti(VidKonstanti::Ln, 13, 3, &v));
}

} // namespace
