// Properties over random operands in several radixes.
#include <algorithm>

#include <gtest/gtest.h>

#include "chisla_test_util.h"
#include "sluchaynie.h"

namespace {

using Svoystva = ChislaTest;

const int kOsnovaniya[] = {2, 3, 10, 16, 36};

// |a - b| <= k units of the last place of a number with exponent `poryadok`
// (by default a's own).
bool Blizko(const vmChislo& a, const vmChislo& b, int k, std::int32_t poryadok = INT32_MIN) {
    if (poryadok == INT32_MIN) poryadok = a.Poryadok;
    vmChislo d = vmRaznost(&a, b);
    d.Znak = 0;
    vmChislo ulp;
    vmKonstanta(&ulp, VM_K_EDINICA, a.Osnovanie);
    vmUmnogitNaStepen(&ulp, poryadok - VM_DROBNIH_RAZRYADOV);
    vmUmnogitNaCifru(&ulp, static_cast<std::uint8_t>(k));
    return vmMensheIliRavno(&d, &ulp);
}

TEST_F(Svoystva, SumThenDifferenceReturnsTheOperand) {
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya);
    for (int R : kOsnovaniya)
        for (int i = 0; i < 60; ++i) {
            const vmChislo a = g.Chislo(R);
            vmChislo b = g.Chislo(R);
            b.Poryadok = a.Poryadok + g.Int(-3, 3); // comparable magnitudes
            vmChislo r = a;
            vmPribavit(&r, b);
            vmVichest(&r, b);
            // The sum rounds at the last place of the larger operand.
            const std::int32_t p = std::max(a.Poryadok, b.Poryadok) + 1;
            EXPECT_TRUE(Blizko(a, r, 3, p)) << R << ": " << Cifri(a) << " vs " << Cifri(r);
            if (vmZnak(&r) == 0) {
                EXPECT_EQ(r.Znak, 0);
            }
        }
}

TEST_F(Svoystva, ProductThenQuotientReturnsTheOperand) {
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 1);
    for (int R : kOsnovaniya)
        for (int i = 0; i < 12; ++i) {
            const vmChislo a = g.Chislo(R), b = g.Chislo(R);
            vmChislo r = a;
            vmUmnogit(&r, b);
            vmRazdelit(&r, b);
            // The product's roundings (about one unit of its last place) are
            // a relative error the quotient carries; in units of a's last
            // place that is up to R units, when the product's mantissa is R
            // times smaller than a's. A quotient whose first position yields
            // 0 keeps only 100 significant digits: up to R units more.
            EXPECT_TRUE(Blizko(a, r, 2 * R + 3)) << R << ": " << Cifri(a) << " vs " << Cifri(r);
        }
}

TEST_F(Svoystva, ComparisonsAreConsistent) {
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 2);
    for (int R : kOsnovaniya)
        for (int i = 0; i < 60; ++i) {
            const vmChislo a = g.Chislo(R, true);
            vmChislo b = i % 5 == 0 ? a : g.Chislo(R, true);
            if (i % 7 == 0) b.Poryadok = a.Poryadok;
            EXPECT_EQ(vmBolshe(&a, &b), vmMenshe(&b, &a));
            EXPECT_EQ(vmBolsheIliRavno(&a, &b), !vmMenshe(&a, &b));
            EXPECT_EQ(vmMensheIliRavno(&a, &b), !vmBolshe(&a, &b));
            const vmChislo d = vmRaznost(&a, b);
            EXPECT_EQ(vmBolshe(&a, &b), vmZnak(&d) > 0);
            if (vmZnak(&d) == 0) {
                EXPECT_EQ(d.Znak, 0);
            }
            // The sign alone decides between numbers of different signs.
            if (a.Znak != b.Znak) {
                EXPECT_EQ(vmBolshe(&a, &b), a.Znak == 0);
            }
        }
}

TEST_F(Svoystva, TextRoundTripKeeps98FractionDigits) {
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 3);
    for (int R : kOsnovaniya)
        for (int i = 0; i < 40; ++i) {
            const vmChislo x = g.Chislo(R, true);
            // At the exponent limits the record stands for zero or infinity,
            // whatever its digits: no digits to keep.
            if (x.Poryadok <= -VM_PREDEL_PORYADKA || x.Poryadok >= VM_PREDEL_PORYADKA) continue;
            TAnsiString t;
            vmVTekst(t, &x, 1, 100, VM_EKSPONENTA | VM_S_OSNOVANIEM);
            if (R == 10) t = t + TAnsiString("r10");
            vmChislo y;
            vmIzTeksta(&y, t);
            ASSERT_EQ(y.Osnovanie, R) << t.ToStd();
            EXPECT_EQ(y.Znak, x.Znak) << t.ToStd();
            EXPECT_EQ(y.Poryadok, x.Poryadok) << t.ToStd();
            EXPECT_EQ(y.CelayaChast[0], x.CelayaChast[0]) << t.ToStd();
            for (int j = 0; j < 98; ++j)
                ASSERT_EQ(y.DrobnayaChast[j], x.DrobnayaChast[j]) << j << " " << t.ToStd();
        }
}

TEST_F(Svoystva, MachineIntegersRoundTrip) {
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 4);
    for (int R : kOsnovaniya)
        for (int i = 0; i < 100; ++i) {
            const std::int32_t n = g.Int(INT32_MIN + 1, INT32_MAX) >> g.Int(0, 30);
            vmChislo obrazec, x;
            vmKonstanta(&obrazec, VM_K_EDINICA, static_cast<std::uint8_t>(R));
            vmIzCelogo32(&x, &obrazec, n);
            EXPECT_EQ(vmVCeloe32(&x, false), n) << R;
            EXPECT_TRUE(vmEtoCeloe(&x));
        }
}

} // namespace
