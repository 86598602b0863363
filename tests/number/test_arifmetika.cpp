// Addition, subtraction, comparison, multiplication, division, scaling.
#include <fstream>
#include <sstream>

#include "chisla_test_util.h"
#include "number/vm_yadra.h"
#include "sluchaynie.h"

namespace {

using Arifmetika = ChislaTest;

vmChislo Plus(const char* a, const char* b) {
    vmChislo x = Ch(a);
    return *vmPribavit(&x, Ch(b));
}
vmChislo Minus(const char* a, const char* b) {
    vmChislo x = Ch(a);
    return *vmVichest(&x, Ch(b));
}
vmChislo Umn(const char* a, const char* b) {
    vmChislo x = Ch(a);
    return *vmUmnogit(&x, Ch(b));
}
vmChislo Del(const char* a, const char* b) {
    vmChislo x = Ch(a);
    return *vmRazdelit(&x, Ch(b));
}

void OzhidatChistiyNol(const vmChislo& x, const char* chto) {
    EXPECT_EQ(x.Znak, 0) << chto;
    EXPECT_EQ(x.Poryadok, -VM_PREDEL_PORYADKA) << chto;
    EXPECT_EQ(vmZnakMantissi(&x), 0) << chto;
}

TEST_F(Arifmetika, SumsAndDifferences) {
    struct {
        const char* a;
        const char* op;
        const char* b;
        const char* rez;
    } sluchai[] = {
        {"2", "+", "3", "5"},
        {"-2", "+", "3", "1"},
        {"2", "+", "-3", "-1"},
        {"-2", "-", "3", "-5"},
        {"0.1", "+", "0.2", "0.3"},
        {"1e20", "+", "1", "100000000000000000001"},
        {"FFr16", "+", "1r16", "100r16"},
        {"1r2", "+", "1r2", "10r2"},
        {"2r3", "+", "2r3", "11r3"},
        {"5", "-", "5.0000001", "-0.0000001"},
        {"2", "+", "2e-200", "2"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = s.op[0] == '+' ? Plus(s.a, s.b) : Minus(s.a, s.b);
        EXPECT_EQ(Tx(r, 100, VM_S_OSNOVANIEM), s.rez) << s.a << s.op << s.b;
    }
}

TEST_F(Arifmetika, AlignmentRoundsTheSmallerOperandAtTheLastPlace) {
    // 5.5e-100: its leading digit lands on the 100th fraction digit and the
    // dropped 5 rounds it up.
    vmChislo x = Plus("1", "5.5e-100");
    EXPECT_EQ(x.DrobnayaChast[99], 6);
    // 5e-101 does not survive the alignment at all.
    x = Plus("1", "5e-101");
    EXPECT_EQ(Tx(x), "1");
}

TEST_F(Arifmetika, ZeroResultsArePositiveClean) {
    OzhidatChistiyNol(Plus("1", "-1"), "1 + -1");
    EXPECT_EQ(Plus("1", "-1").Netochnost, 0);
    OzhidatChistiyNol(Minus("-7.25", "-7.25"), "-7.25 - -7.25");
    vmChislo inf;
    vmKonstanta(&inf, VM_K_MINUS_BESKONECHNOST, 10);
    vmChislo r = inf;
    vmVichest(&r, inf);
    OzhidatChistiyNol(r, "-inf - -inf");
    const vmChislo x = Ch("-3.5");
    OzhidatChistiyNol(vmRaznost(&x, x), "raznost(x, x)");
    OzhidatChistiyNol(Umn("0", "-5"), "0 * -5");
    OzhidatChistiyNol(Umn("-5", "0"), "-5 * 0");
    OzhidatChistiyNol(Del("0", "-5"), "0 / -5");
    OzhidatChistiyNol(Del("0", "0.5"), "0 / 0.5");
    vmChislo ost;
    const vmChislo a = Ch("10");
    const vmChislo q = vmDelenieSOstatkom(&a, Ch("-5"), &ost);
    OzhidatChistiyNol(ost, "10 % -5");
    EXPECT_EQ(Tx(q), "-2");
}

TEST_F(Arifmetika, NewValueFormsAndComparisons) {
    const vmChislo nol = Ch("0"), pyat = Ch("5"), odin = Ch("1");
    EXPECT_EQ(Tx(vmRaznost(&nol, pyat)), "-5");
    EXPECT_EQ(Tx(vmRaznost(&pyat, nol)), "5");
    EXPECT_EQ(Tx(vmSumma(&pyat, odin)), "6");
    EXPECT_FALSE(vmBolshe(&odin, &odin));
    EXPECT_TRUE(vmBolsheIliRavno(&odin, &odin));
    EXPECT_TRUE(vmMensheIliRavno(&odin, &odin));
    EXPECT_FALSE(vmMenshe(&odin, &odin));
    const vmChislo dva = Ch("2"), kroha = Ch("2e-200"), minus = Ch("-3");
    EXPECT_TRUE(vmBolshe(&dva, &kroha));
    EXPECT_TRUE(vmMenshe(&minus, &nol));
    EXPECT_TRUE(vmBolshe(&nol, &minus));
    // The caller's numbers are not changed by a comparison.
    EXPECT_EQ(Tx(dva), "2");
}

TEST_F(Arifmetika, ScalingByPowersOfTheRadix) {
    vmChislo x = Ch("1");
    EXPECT_EQ(Tx(*vmRazdelitNaStepen(&x, 3)), "0.001");
    x = Ch("1");
    vmUmnogitNaStepen(&x, 600000000);
    EXPECT_EQ(x.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(x.Netochnost, 1);
    x = Ch("-1");
    vmRazdelitNaStepen(&x, 600000000);
    OzhidatChistiyNol(x, "-1 / R^6e8");
    x = Ch("1");
    vmUmnogitNaStepen(&x, -VM_PREDEL_PORYADKA); // exactly the zero exponent
    EXPECT_EQ(vmZnak(&x), 0);
    x = Ch("5");
    vmRazdelitNaStepen(&x, INT32_MIN); // no wrap-around of -n
    EXPECT_EQ(x.Poryadok, VM_PREDEL_PORYADKA);
    x = Ch("0");
    vmUmnogitNaStepen(&x, 2000000000); // zero stays zero
    OzhidatChistiyNol(x, "0 << 2e9");
}

TEST_F(Arifmetika, MultiplicationByADigit) {
    vmChislo x = Ch("9");
    vmUmnogitNaCifru(&x, 255);
    EXPECT_EQ(Tx(x), "2295");
    EXPECT_EQ(x.Poryadok, 3);
    x = Ch("7");
    EXPECT_EQ(vmZnak(vmUmnogitNaCifru(&x, 0)), 0);
    x = Ch("ZZr36");
    EXPECT_EQ(Tx(*vmUmnogitNaCifru(&x, 35)), "YZ1r36");
    x = Ch("1e536870912");
    vmUmnogitNaCifru(&x, 200); // overflow in the carry shift is infinity
    EXPECT_EQ(x.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(x.CelayaChast[0], 1);
}

TEST_F(Arifmetika, ProductsAndQuotients) {
    struct {
        const char* a;
        char op;
        const char* b;
        const char* rez;
    } sluchai[] = {
        {"6", '*', "7", "42"},
        {"-1.5", '*', "4", "-6"},
        {"-1.5", '*', "-4", "6"},
        {"FFr16", '*', "FFr16", "FE01r16"},
        {"101r2", '*', "11r2", "1111r2"},
        {"12345678901234567890", '*', "98765432109876543210",
         "1.2193263113702179522374638011112635269e39"},
        {"1", '/', "8", "0.125"},
        {"-5", '/', "0.25", "-20"},
        {"1r3", '/', "10r3", "0.1r3"},
        {"1", '/', "3",
         "0."
         "33333333333333333333333333333333333333333333333333333333333333333333333333333333333333333"
         "33333333333"},
        {"2", '/', "3",
         "0."
         "66666666666666666666666666666666666666666666666666666666666666666666666666666666666666666"
         "66666666666"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = s.op == '*' ? Umn(s.a, s.b) : Del(s.a, s.b);
        EXPECT_EQ(Tx(r), s.rez) << s.a << s.op << s.b;
    }
}

TEST_F(Arifmetika, DivisionIsTruncatedNotRounded) {
    const vmChislo t = Del("1", "3");
    // The first quotient position yields 0, so 100 significant digits.
    for (int j = 0; j < 99; ++j) ASSERT_EQ(t.DrobnayaChast[j], 3) << j;
    EXPECT_EQ(t.DrobnayaChast[99], 0);
    EXPECT_EQ(t.Poryadok, -1);
    EXPECT_EQ(t.CelayaChast[0], 3);
    const vmChislo d = Del("2", "3");
    EXPECT_EQ(d.DrobnayaChast[98], 6); // ...666, not ...667
    EXPECT_EQ(d.DrobnayaChast[99], 0); // 100 significant digits only
}

TEST_F(Arifmetika, DivisionByZeroIsSignedInfinity) {
    struct {
        const char* a;
        int znak;
    } sluchai[] = {{"5", 0}, {"-5", 1}, {"0", 0}};
    for (const auto& s : sluchai) {
        const vmChislo r = Del(s.a, "0");
        EXPECT_EQ(r.Poryadok, VM_PREDEL_PORYADKA) << s.a;
        EXPECT_EQ(r.Znak, s.znak) << s.a;
        EXPECT_EQ(r.Netochnost, 1) << s.a;
    }
    vmChislo ost;
    const vmChislo a = Ch("-7");
    const vmChislo q = vmDelenieSOstatkom(&a, Ch("0"), &ost);
    EXPECT_EQ(q.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(q.Znak, 0);
    EXPECT_EQ(vmZnak(&ost), 0);
}

TEST_F(Arifmetika, IntegerQuotientAndRemainderSignsFollowTheQuotient) {
    struct {
        const char* a;
        const char* b;
        const char* q;
        const char* r;
    } sluchai[] = {
        {"7", "2", "3", "1"},     {"-7", "2", "-3", "-1"},
        {"7", "-2", "-3", "-1"},  {"-7", "-2", "3", "1"},
        {"3", "5", "0", "3"},     {"0.5", "2", "0", "0.5"},
        {"7.5", "2", "3", "1.5"}, {"1e5", "7", "14285", "5"},
        {"-3", "5", "0", "-3"},   {"FFr16", "10r16", "Fr16", "Fr16"},
    };
    for (const auto& s : sluchai) {
        const vmChislo a = Ch(s.a);
        vmChislo ost;
        const vmChislo q = vmDelenieSOstatkom(&a, Ch(s.b), &ost);
        EXPECT_EQ(Tx(q), s.q) << s.a << " div " << s.b;
        EXPECT_EQ(Tx(ost), s.r) << s.a << " mod " << s.b;
    }
    // Far beyond the last digit: the quotient keeps 101 digits, the remainder
    // keeps the rest.
    const vmChislo a = Ch("1e150");
    vmChislo ost;
    const vmChislo q = vmDelenieSOstatkom(&a, Ch("3"), &ost);
    EXPECT_EQ(q.Poryadok, 149);
    EXPECT_GT(ost.Poryadok, 40);
}

TEST_F(Arifmetika, ExtremeExponentsGiveInfinityOrZero) {
    const vmChislo big = Ch("1e500000000"), small = Ch("1e-500000000");
    vmChislo r = big;
    vmRazdelit(&r, small);
    EXPECT_EQ(r.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(r.CelayaChast[0], 1);
    r = small;
    vmRazdelit(&r, big);
    EXPECT_EQ(vmZnak(&r), 0);
    r = big;
    vmUmnogit(&r, big);
    EXPECT_EQ(r.Poryadok, VM_PREDEL_PORYADKA);
    r = small;
    vmUmnogit(&r, small);
    EXPECT_EQ(vmZnak(&r), 0);
    vmChislo ost;
    const vmChislo q = vmDelenieSOstatkom(&big, small, &ost);
    EXPECT_EQ(q.Poryadok, VM_PREDEL_PORYADKA);
    EXPECT_EQ(q.CelayaChast[0], 1);
}

// The plain kernels, then the fast ones; the fast ones are the default again
// afterwards.
template <typename F> void OboimiYadrami(F f) {
    for (const bool bistro : {false, true}) {
        vm_detail::BistrieYadra = bistro;
        SCOPED_TRACE(bistro ? "fast kernels" : "plain kernels");
        f();
    }
    vm_detail::BistrieYadra = true;
}

vmChislo Beskonechnost(std::uint8_t R, std::uint8_t znak) {
    vmChislo x;
    vmProstayaKonstanta(&x, znak ? 3 : 2, R);
    return x;
}

TEST_F(Arifmetika, QuotientsAndProductsBesideTheExponentLimit) {
    // Trial products of these divisions pass R^(2^29) while the quotient
    // does not; the low ones lose digits below R^(-2^29) unless moved.
    const std::string shest(100, '6'), tri(99, '3'), A(100, 'A'), pyat(99, '5');
    const std::string sedmie = // the digits of 3/7 after 4, from bc
        "285714285714285714285714285714285714285714285714285714285714"
        "285714285714285714285714285714285714285";
    struct {
        const char* a;
        char op;
        const char* b;
        std::string rez;
    } sluchai[] = {
        {"5e536870911", '/', "3", "1." + shest + "e536870911"},
        {"1e536870911", '/', "3", "3." + tri + "e536870910"},
        {"5e536870911r16", '/', "3r16", "1." + A + "e536870911r16"},
        {"1e536870911r16", '/', "3r16", "5." + pyat + "e536870910r16"},
        {"-7e536870911", '/', "7", "-1e536870911"},
        {"3e-536870900", '/', "7e5", "4." + sedmie + "e-536870906"},
        {"1e-536870900", '*', "1.23456789e-5", "1.23456789e-536870905"},
        {"9.9e536870911", '*', "0.5", "4.95e536870911"},
    };
    OboimiYadrami([&] {
        for (const auto& s : sluchai) {
            const vmChislo r = s.op == '*' ? Umn(s.a, s.b) : Del(s.a, s.b);
            EXPECT_EQ(Tx(r), s.rez) << s.a << s.op << s.b;
        }
        // A carry shift of three places from R^(2^29 - 3) no longer passes
        // the limit on the way: 1.5e536870910 is in range.
        vmChislo x = Ch("5e536870909");
        EXPECT_EQ(Tx(*vmUmnogitNaCifru(&x, 3)), "1.5e536870910");
    });
}

TEST_F(Arifmetika, BeyondTheExponentLimitIsExactlyTheInfinityRecord) {
    OboimiYadrami([&] {
        for (const std::uint8_t R : {10, 16}) {
            const vmChislo inf = Beskonechnost(R, 0), minusInf = Beskonechnost(R, 1);
            const std::string r = R == 10 ? "" : "r16";
            const vmChislo tri = Ch("3" + r);
            // The infinity as division gives it and as its text reads back
            // (digit 1 at the limit, inexact flag not set).
            const vmChislo izDeleniya = Del(("1" + r).c_str(), ("0" + r).c_str());
            const vmChislo izTeksta = Ch("1e536870912" + r);
            for (const vmChislo& b : {izDeleniya, izTeksta}) {
                EXPECT_TRUE(Ravni(vmChastnoe(&b, &tri), inf)) << Cifri(vmChastnoe(&b, &tri));
                EXPECT_TRUE(Ravni(vmProizvedenie(&b, &tri), inf)) << R;
                vmChislo minus = b;
                minus.Znak = 1;
                EXPECT_TRUE(Ravni(vmChastnoe(&minus, &tri), minusInf)) << R;
                vmChislo ost;
                EXPECT_TRUE(Ravni(vmDelenieSOstatkom(&b, tri, &ost), inf)) << R;
                OzhidatChistiyNol(ost, "infinity mod 3");
                // Aligned to the infinity, 5e536870900 would reach its digit.
                const vmChislo blizko = Ch("5e536870900" + r);
                EXPECT_TRUE(Ravni(vmSumma(&b, blizko), inf)) << Cifri(vmSumma(&b, blizko));
                EXPECT_TRUE(Ravni(vmRaznost(&b, blizko), inf)) << Cifri(vmRaznost(&b, blizko));
            }
            // 60 * 10^(2^29 - 1) and 3C(16) * 16^(2^29 - 1): a first digit
            // times 6 (3) without carry, at the limit after the shift.
            const vmChislo odin = Ch("1e536870911" + r);
            const vmChislo m = Ch(R == 10 ? "60" : "3Cr16");
            EXPECT_TRUE(Ravni(vmProizvedenie(&odin, &m), inf)) << Cifri(vmProizvedenie(&odin, &m));
            vmChislo x = Ch("-1e536870911" + r);
            EXPECT_TRUE(Ravni(vmProizvedenie(&x, &m), minusInf)) << R;
            EXPECT_TRUE(Ravni(*vmUmnogitNaCifru(&x, 200), minusInf)) << R;
            // A quotient at the limit (the first quotient digit's weight is 2^29).
            const vmChislo pyat = Ch("5e536870911" + r), desyataya = Ch("1e-1" + r);
            EXPECT_TRUE(Ravni(vmChastnoe(&pyat, &desyataya), inf)) << R;
            x = Ch("5" + r);
            EXPECT_TRUE(Ravni(*vmUmnogitNaStepen(&x, VM_PREDEL_PORYADKA), inf)) << R;
        }
    });
}

// x * R^k as the exponent range allows it.
vmChislo Sdvinutoe(vmChislo x, std::int64_t k) {
    if (vmZnak(&x) == 0) return x;
    const std::int64_t p = x.Poryadok + k;
    if (p >= VM_PREDEL_PORYADKA) return *vmBeskonechnost(&x);
    if (p <= -VM_PREDEL_PORYADKA) return *vmNol(&x);
    x.Poryadok = static_cast<std::int32_t>(p);
    return x;
}

TEST_F(Arifmetika, BesideTheLimitsTheDigitsAreThoseOfTheMiddleRange) {
    // Moving one operand by R^k moves a product or quotient by R^k; moving
    // both moves the remainder and keeps the integer quotient. Dividends
    // moved to within 3 places of either limit, so that results land on
    // both sides of it.
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 40);
    OboimiYadrami([&] {
        for (int R : {2, 3, 10, 16, 36})
            for (int i = 0; i < 20; ++i) {
                const vmChislo a = g.Chislo(R);
                vmChislo b = g.Chislo(R);
                const std::int64_t vverh = VM_PREDEL_PORYADKA - 1 - a.Poryadok - g.Int(0, 3);
                const std::int64_t vniz = -VM_PREDEL_PORYADKA + 1 - a.Poryadok + g.Int(0, 3);
                const vmChislo p = vmProizvedenie(&a, &b), q = vmChastnoe(&a, &b);
                for (const std::int64_t k : {vverh, vniz}) {
                    const vmChislo ak = Sdvinutoe(a, k);
                    EXPECT_TRUE(Ravni(vmProizvedenie(&ak, &b), Sdvinutoe(p, k)))
                        << R << " " << k << "\n"
                        << Cifri(a) << "\n"
                        << Cifri(b) << "\n"
                        << Cifri(vmProizvedenie(&ak, &b));
                    EXPECT_TRUE(Ravni(vmChastnoe(&ak, &b), Sdvinutoe(q, k)))
                        << R << " " << k << "\n"
                        << Cifri(a) << "\n"
                        << Cifri(b) << "\n"
                        << Cifri(vmChastnoe(&ak, &b));
                }
                b.Poryadok = a.Poryadok - g.Int(0, 120);
                vmChislo ost, ostK;
                const vmChislo c = vmDelenieSOstatkom(&a, b, &ost);
                const vmChislo ak = Sdvinutoe(a, vverh);
                const vmChislo cK = vmDelenieSOstatkom(&ak, Sdvinutoe(b, vverh), &ostK);
                EXPECT_TRUE(Ravni(cK, c)) << R << " div " << Cifri(a) << " " << Cifri(b);
                EXPECT_TRUE(Ravni(ostK, Sdvinutoe(ost, vverh))) << R << " mod " << Cifri(a);
            }
    });
}

TEST_F(Arifmetika, InexactFlagTravelsWithTheValue) {
    vmChislo a = Ch("1e600000000"); // infinity carries it
    EXPECT_EQ(a.Netochnost, 1);
    vmChislo b = Ch("3");
    vmPribavit(&b, a);
    EXPECT_EQ(b.Netochnost, 1);
    vmChislo c = Ch("3");
    vmUmnogit(&c, Ch("2"));
    EXPECT_EQ(c.Netochnost, 0);
}

} // namespace

namespace {

// Products and quotients of 99-digit operands against bc, at 99 significant
// digits: |ours - reference| <= 1 unit of the 98th fraction digit.
TEST_F(Arifmetika, AgreesWithBcOnLongOperands) {
    std::ifstream f(std::string(CIFRAMER_TEST_DATA) + "/arifmetika_bc.txt");
    ASSERT_TRUE(f.is_open());
    std::string line;
    int n = 0;
    while (std::getline(f, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::string a, b, p, q;
        in >> a >> b >> p >> q;
        const vmChislo x = Ch(a), y = Ch(b);
        const vmChislo pr = vmProizvedenie(&x, &y), ch = vmChastnoe(&x, &y);
        for (const auto& [nashe, ref] : {std::pair{pr, Ch(p)}, std::pair{ch, Ch(q)}}) {
            vmChislo d = vmRaznost(&nashe, ref);
            d.Znak = 0;
            vmChislo ulp;
            vmKonstanta(&ulp, VM_K_EDINICA, 10);
            vmUmnogitNaStepen(&ulp, ref.Poryadok - 98);
            EXPECT_TRUE(vmMensheIliRavno(&d, &ulp)) << line << "\n" << Tx(nashe);
        }
        ++n;
    }
    EXPECT_EQ(n, 24);
}

} // namespace
