// The number a value text reads back as, worked out without the text: the
// bytes of writing the text and reading it, for every number it accepts.
#include <cmath>
#include <cstring>
#include <string>

#include "chisla_test_util.h"
#include "common/test_support.h"
#include "number/vm_mashinnye.h"
#include "sluchaynie.h"

namespace {

using TekstZnacheniya = ChislaTest;

// The text and its reading, as the evaluator makes them.
vmChislo CherezTekst(const vmChislo& x, bool r10) {
    TAnsiString t;
    vmVTekst(t, &x, 1, VM_DROBNIH_RAZRYADOV, VM_EKSPONENTA | VM_S_OSNOVANIEM);
    std::string s = t.ToStd();
    if (r10 && x.Osnovanie == 10) s += "r10";
    vmChislo y;
    vmIzTeksta(&y, s.data());
    return y;
}

void ProveritOdno(const vmChislo& x) {
    vmChislo bez;
    ASSERT_TRUE(vmChisloTekstaZnacheniya(x, &bez));
    for (const bool r10 : {false, true}) {
        const vmChislo s = CherezTekst(x, r10);
        ASSERT_EQ(std::memcmp(&bez, &s, sizeof s), 0)
            << "radix " << int(x.Osnovanie) << " exponent " << x.Poryadok << " r10 " << r10;
    }
}

TEST_F(TekstZnacheniya, RandomNumbersInEveryRadixReadAsTheirText) {
    const std::uint64_t semya = SemyaTestov();
    SCOPED_TRACE(semya);
    GeneratorChisel g(semya);
    for (int R = 2; R <= 36; ++R) {
        for (int i = 0; i < 300; ++i) {
            vmChislo x = g.Chislo(R, true);
            // -2^29 is zero; the first exponent above it is the limit case.
            if (x.Poryadok <= -VM_PREDEL_PORYADKA) x.Poryadok = -VM_PREDEL_PORYADKA + 1;
            // The last two fraction digits decide the inexact flag and the
            // length of the text: every combination of zero and not.
            const int hvost = i % 4;
            x.DrobnayaChast[98] = hvost & 1 ? std::uint8_t(g.Int(1, R - 1)) : 0;
            x.DrobnayaChast[99] = hvost & 2 ? std::uint8_t(g.Int(1, R - 1)) : 0;
            x.Netochnost = std::uint8_t(g.Int(0, 1));
            ProveritOdno(x);
        }
    }
}

TEST_F(TekstZnacheniya, ExponentsAtTheLimitsAndShortMantissas) {
    for (const int R : {2, 3, 10, 16, 36}) {
        for (const std::int32_t p : {0, 1, -1, 9, -10, 1000000, -999999999 / 2, VM_PREDEL_PORYADKA,
                                     VM_PREDEL_PORYADKA - 1, -VM_PREDEL_PORYADKA + 1}) {
            vmChislo x = Ch("1");
            x.Osnovanie = std::uint8_t(R);
            x.Poryadok = p;
            ProveritOdno(x); // "1" alone: no separator, no fraction
            x.Znak = 1;
            x.DrobnayaChast[0] = std::uint8_t(R - 1);
            ProveritOdno(x);
            x.DrobnayaChast[97] = 1; // the last digit that is read
            ProveritOdno(x);
        }
    }
}

TEST_F(TekstZnacheniya, OtherNumbersAreLeftToTheText) {
    vmChislo y = Ch("7");
    const vmChislo prezhniy = y;
    vmChislo x = Ch("5");
    vmNol(&x);
    EXPECT_FALSE(vmChisloTekstaZnacheniya(x, &y)); // zero
    x = Ch("5");
    x.Poryadok = -VM_PREDEL_PORYADKA;
    EXPECT_FALSE(vmChisloTekstaZnacheniya(x, &y)); // counts as zero
    x.Poryadok = VM_PREDEL_PORYADKA + 1;
    EXPECT_FALSE(vmChisloTekstaZnacheniya(x, &y)); // reads as infinity
    x = Ch("5");
    x.CelayaChast[1] = 1;
    EXPECT_FALSE(vmChisloTekstaZnacheniya(x, &y)); // not normal
    x = Ch("5");
    x.DrobnayaChast[50] = 10;
    EXPECT_FALSE(vmChisloTekstaZnacheniya(x, &y)); // a digit outside radix 10
    x = Ch("5");
    x.Osnovanie = 37;
    EXPECT_FALSE(vmChisloTekstaZnacheniya(x, &y));
    EXPECT_EQ(std::memcmp(&y, &prezhniy, sizeof y), 0);
}

} // namespace

namespace {

// The digits written as characters one by one, for the formatter's bytes.
TEST_F(TekstZnacheniya, EveryDigitIsWrittenAsItsCharacter) {
    const std::uint64_t semya = SemyaTestov();
    SCOPED_TRACE(semya);
    GeneratorChisel g(semya);
    const char* znaki = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int R = 2; R <= 36; ++R) {
        for (int i = 0; i < 40; ++i) {
            vmChislo x = g.Chislo(R);
            x.Poryadok = 0;
            // A digit the radix does not have is shown as "?".
            if (i == 0) x.DrobnayaChast[g.Int(0, 99)] = std::uint8_t(g.Int(36, 255));
            std::string ozhidaemoe = x.Znak ? "-" : "";
            ozhidaemoe += znaki[x.CelayaChast[0]];
            ozhidaemoe += '.';
            for (const std::uint8_t c : x.DrobnayaChast) ozhidaemoe += c < 36 ? znaki[c] : '?';
            ozhidaemoe += "e0";
            if (R != 10) ozhidaemoe += "r" + std::to_string(R);
            TAnsiString t;
            vmVTekst(t, &x, 1, VM_DROBNIH_RAZRYADOV,
                     VM_EKSPONENTA | VM_S_OSNOVANIEM | VM_S_NULYAMI);
            ASSERT_EQ(t.ToStd(), ozhidaemoe);
            // Fixed form, shown from the third digit: the run starts off
            // the eight-digit grid.
            x.Poryadok = -3;
            vmVTekstFiks(t, &x, 1, VM_DROBNIH_RAZRYADOV + 3, false, true);
            ASSERT_EQ(t.ToStd().substr(0, 1 + (x.Znak ? 1 : 0)), x.Znak ? "-0" : "0");
            ASSERT_EQ(t.ToStd().substr(t.ToStd().size() - 101),
                      ozhidaemoe.substr(x.Znak ? 1 : 0, 1) +
                          ozhidaemoe.substr((x.Znak ? 1 : 0) + 2, 100));
        }
    }
}

} // namespace

namespace {

// Every piece of 1 to 4 digits, with leading zeros, as an exponent (also
// negative) and as a radix: the reader takes the value the machine reading
// gives, and that value is the integer the digits spell.
TEST_F(TekstZnacheniya, ShortExponentAndRadixPiecesReadAsTheMachineReadingDoes) {
    int proveneno = 0;
    for (int cifr = 1; cifr <= 4; ++cifr) {
        int predel = 1;
        for (int i = 0; i < cifr; ++i) predel *= 10;
        for (int n = 0; n < predel; ++n) {
            std::string kusok = std::to_string(n);
            kusok.insert(0, std::size_t(cifr) - kusok.size(), '0');
            for (const bool minus : {false, true}) {
                const std::string p = (minus ? "-" : "") + kusok;
                double v = -1;
                ASSERT_EQ(TekstVChislo(&v, p.data(), int(p.size()), false), TVCH_USPEH) << p;
                ASSERT_EQ(v, minus ? -double(n) : double(n)) << p;
                ASSERT_FALSE(std::signbit(v) && n == 0) << p;
                std::string t = "1.5e" + p;
                vmChislo x;
                vmIzTeksta(&x, t.data());
                ASSERT_EQ(x.Poryadok, static_cast<std::int32_t>(v)) << t;
                ++proveneno;
            }
            std::string t = "1r" + kusok;
            vmChislo x;
            vmIzTeksta(&x, t.data());
            if (n >= 2 && n <= 126) {
                ASSERT_EQ(x.Osnovanie, n) << t;
                ASSERT_EQ(x.Poryadok, 0) << t;
            } else {
                ASSERT_EQ(x.Osnovanie, 2) << t; // an invalid literal
                ASSERT_EQ(vmZnak(&x), 0) << t;
            }
        }
    }
    EXPECT_EQ(proveneno, 2 * 11110);
}

// Exponents across the whole range, read through the value text.
TEST_F(TekstZnacheniya, ExponentsAcrossTheRangeReadExactly) {
    vmChislo x = Ch("-7.25r16");
    for (std::int64_t p = -VM_PREDEL_PORYADKA + 1; p <= VM_PREDEL_PORYADKA; p += 9973) {
        x.Poryadok = std::int32_t(p);
        ProveritOdno(x);
    }
}

} // namespace
