// The number a value text reads back as, worked out without the text: the
// bytes of writing the text and reading it, for every number it accepts.
#include <cstring>
#include <string>

#include "chisla_test_util.h"
#include "common/test_support.h"
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
