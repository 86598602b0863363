// The faster addition, multiplication and division kernels give the plain
// kernels' bytes. Random operands in many radixes, biased towards runs of 0 and R-1
// and exponents near the limits; the seed is printed on failure and can be
// set with CIFRAMER_SEED.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "chisla_test_util.h"
#include "number/vm_yadra.h"
#include "sluchaynie.h"

namespace {

class Yadra : public ChislaTest {
  protected:
    void TearDown() override {
        vm_detail::BistrieYadra = true;
        vm_detail::VibratVersiyuYader(vm_detail::NachalnayaVersiyaYader());
    }
};

// The plain kernels' result and the fast kernels' one; the fast ones are
// run in every version this machine may run (the processor and
// CIFRAMER_ISA), and all of those must agree before one of them is
// returned. The versions it cannot run are named once by
// NazvatNedostupnie.
template <typename F> std::pair<vmChislo, vmChislo> Oba(F f) {
    vm_detail::BistrieYadra = false;
    const vmChislo prosto = f();
    vm_detail::BistrieYadra = true;
    vmChislo bistro = f();
    const vm_detail::TVersiyaYader* versii = vm_detail::VseVersiiYader();
    for (int n = 0; n < vm_detail::ChisloVersiyYader(); ++n) {
        if (!vm_detail::VibratVersiyuYader(versii[n])) continue;
        const vmChislo drugoy = f();
        if (std::memcmp(&drugoy, &bistro, sizeof bistro) != 0) {
            ADD_FAILURE() << "version " << versii[n].imya << " differs from "
                          << vm_detail::NachalnayaVersiyaYader().imya;
            bistro = drugoy;
        }
    }
    vm_detail::VibratVersiyuYader(vm_detail::NachalnayaVersiyaYader());
    return {prosto, bistro};
}

TEST(YadraVersii, EveryVersionNotRunHereIsNamed) {
    const vm_detail::TVersiyaYader* versii = vm_detail::VseVersiiYader();
    int nedostupno = 0;
    for (int n = 0; n < vm_detail::ChisloVersiyYader(); ++n)
        if (!vm_detail::VersiyaDostupna(versii[n])) {
            std::printf("[ NOT RUN  ] kernel version %s: not run on this machine\n",
                        versii[n].imya);
            ++nedostupno;
        }
    // The portable version runs everywhere.
    EXPECT_TRUE(vm_detail::VersiyaDostupna(versii[vm_detail::ChisloVersiyYader() - 1]));
    if (nedostupno > 0) GTEST_SKIP() << nedostupno << " kernel versions not compared here";
}

const int kOsnovaniya[] = {2, 3, 5, 7, 10, 16, 35, 36};

// a*b, a/b and delimoe div b with its remainder, plain against fast.
void SravnitUmnozhenieIDelenie(int R, const vmChislo& a, const vmChislo& b,
                               const vmChislo& delimoe) {
    const auto [pp, pb] = Oba([&] { return vmProizvedenie(&a, &b); });
    EXPECT_TRUE(Ravni(pp, pb)) << "R=" << R << " a*b\n"
                               << Cifri(a) << "\n"
                               << Cifri(b) << "\n"
                               << Cifri(pp) << "\n"
                               << Cifri(pb);
    const auto [qp, qb] = Oba([&] { return vmChastnoe(&a, &b); });
    EXPECT_TRUE(Ravni(qp, qb)) << "R=" << R << " a/b\n"
                               << Cifri(a) << "\n"
                               << Cifri(b) << "\n"
                               << Cifri(qp) << "\n"
                               << Cifri(qb);
    vmChislo ostP, ostB;
    const auto [dp, db] = Oba([&] {
        vmChislo o;
        const vmChislo q = vmDelenieSOstatkom(&delimoe, b, &o);
        (vm_detail::BistrieYadra ? ostB : ostP) = o;
        return q;
    });
    EXPECT_TRUE(Ravni(dp, db)) << "R=" << R << " a div b " << Cifri(delimoe) << " " << Cifri(b);
    EXPECT_TRUE(Ravni(ostP, ostB)) << "R=" << R << " a mod b " << Cifri(delimoe) << " " << Cifri(b);
}

TEST_F(Yadra, FastKernelsGiveThePlainKernelsBytes) {
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 10);
    int proverok = 0;
    for (int R : kOsnovaniya)
        for (int i = 0; i < 30; ++i) {
            vmChislo a = g.Chislo(R, true), b = g.Chislo(R, true);
            if (i % 4 == 0) b.Poryadok = a.Poryadok - g.Int(0, 2);
            if (i % 9 == 0) b = a; // equal operands: quotient 1, remainder 0
            if (i % 11 == 0) a.Netochnost = 1;
            vmChislo celoe = a;
            celoe.Poryadok = g.Int(0, 120);
            SravnitUmnozhenieIDelenie(R, a, b, celoe);
            proverok += 4;
        }
    EXPECT_EQ(proverok, 8 * 30 * 4);
}

TEST_F(Yadra, FastKernelsGiveThePlainBytesBesideTheExponentLimits) {
    // Dividends and factors within 300 places of either limit against
    // operands of the middle range or of the other limit: results on both
    // sides of the limits, and trial products that pass them.
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 50);
    for (int R : kOsnovaniya)
        for (int i = 0; i < 16; ++i) {
            vmChislo a = g.Chislo(R), b = g.Chislo(R, i % 2 == 0);
            a.Poryadok = (i % 4 < 2 ? 1 : -1) * (VM_PREDEL_PORYADKA - g.Int(1, 300));
            if (i % 8 == 1) b.Poryadok = a.Poryadok - g.Int(0, 120);
            SravnitUmnozhenieIDelenie(R, a, b, a);
        }
}

TEST_F(Yadra, FastAdditionGivesThePlainBytes) {
    // Every exponent gap up to beyond the 103 places, both signs, and
    // differences that cancel most digits (b close to -a).
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 20);
    for (int R = 2; R <= 36; ++R)
        for (int i = 0; i < 60; ++i) {
            vmChislo a = g.Chislo(R, i % 10 == 0), b = g.Chislo(R, i % 10 == 0);
            if (i % 10 != 0)
                b.Poryadok = a.Poryadok + g.Int(-110, 110) * (i % 3 == 0 ? 1 : 0) + g.Int(-3, 3);
            if (i % 5 == 0) {
                b = a;
                b.Znak ^= 1;
                vmCifra(b, g.Int(2, VM_RAZRYADOV - 1)) = static_cast<std::uint8_t>(g.Int(0, R - 1));
            }
            if (i % 7 == 0) a.Netochnost = 1;
            if (i % 13 == 0) b.Netochnost = 1;
            const auto [sp, sb] = Oba([&] { return vmSumma(&a, b); });
            ASSERT_TRUE(Ravni(sp, sb)) << "R=" << R << " a+b\n"
                                       << Cifri(a) << "\n"
                                       << Cifri(b) << "\n"
                                       << Cifri(sp) << "\n"
                                       << Cifri(sb);
            const auto [rp, rb] = Oba([&] { return vmRaznost(&a, b); });
            ASSERT_TRUE(Ravni(rp, rb)) << "R=" << R << " a-b\n"
                                       << Cifri(a) << "\n"
                                       << Cifri(b) << "\n"
                                       << Cifri(rp) << "\n"
                                       << Cifri(rb);
        }
}

TEST_F(Yadra, FastKernelsOnAllNinesAndPowers) {
    // Runs of R-1 make every rounding carry through the whole number.
    for (int R : kOsnovaniya) {
        vmChislo vse;
        vse.Osnovanie = static_cast<std::uint8_t>(R);
        vmNol(&vse);
        vse.Poryadok = 3;
        for (int p = 2; p < VM_RAZRYADOV; ++p) vmCifra(vse, p) = static_cast<std::uint8_t>(R - 1);
        vmChislo stepen;
        vmKonstanta(&stepen, VM_K_EDINICA, static_cast<std::uint8_t>(R));
        vmUmnogitNaStepen(&stepen, 7);
        const vmChislo pary[][2] = {{vse, vse}, {vse, stepen}, {stepen, vse}, {stepen, stepen}};
        for (const auto& para : pary) {
            const auto [pp, pb] = Oba([&] { return vmProizvedenie(&para[0], &para[1]); });
            EXPECT_TRUE(Ravni(pp, pb)) << R << " " << Cifri(pp) << " " << Cifri(pb);
            const auto [qp, qb] = Oba([&] { return vmChastnoe(&para[0], &para[1]); });
            EXPECT_TRUE(Ravni(qp, qb)) << R << " " << Cifri(qp) << " " << Cifri(qb);
        }
    }
}

TEST_F(Yadra, AdditionCarriesAndBorrowsThroughEveryPlace) {
    // A run of R-1 (or of 0) from place k to the last, plus (or minus) one
    // unit of the last place and of the places just above it: the carry or
    // borrow runs through every place from the last up to k, across every
    // boundary of the words the fast addition works in.
    for (int R : {2, 10, 36})
        for (int k = 3; k < VM_RAZRYADOV; ++k)
            for (const std::uint8_t cifra : {std::uint8_t(R - 1), std::uint8_t(0)}) {
                vmChislo a;
                a.Osnovanie = static_cast<std::uint8_t>(R);
                vmNol(&a);
                a.Poryadok = 5;
                vmCifra(a, 2) = 1;
                vmCifra(a, k - 1) = static_cast<std::uint8_t>(k % R);
                for (int p = k; p < VM_RAZRYADOV; ++p) vmCifra(a, p) = cifra;
                for (int sdvig = 0; sdvig < 3; ++sdvig) {
                    vmChislo ulp;
                    vmKonstanta(&ulp, VM_K_EDINICA, static_cast<std::uint8_t>(R));
                    ulp.Poryadok = a.Poryadok - 100 + sdvig;
                    const auto [sp, sb] = Oba([&] { return vmSumma(&a, ulp); });
                    EXPECT_TRUE(Ravni(sp, sb))
                        << R << " " << k << " " << Cifri(sp) << " " << Cifri(sb);
                    const auto [rp, rb] = Oba([&] { return vmRaznost(&a, ulp); });
                    EXPECT_TRUE(Ravni(rp, rb))
                        << R << " " << k << " " << Cifri(rp) << " " << Cifri(rb);
                }
            }
}

TEST_F(Yadra, ProductsTakingEveryMultipleGiveThePlainBytes) {
    // Multipliers whose digits run through 1..qMax take every multiple of
    // the table (built in chains four apart), qMax below, at and past 4;
    // factors of runs of R-1 carry through every multiple.
    GeneratorChisel g(SemyaTestov() + 60);
    for (int R = 2; R <= 36; ++R)
        for (const int qMax : {1, 3, 4, 5, 8, R - 1}) {
            if (qMax > R - 1) continue;
            vmChislo p = g.Chislo(R), b;
            if (qMax % 2 == 0)
                for (int pos = 2; pos < VM_RAZRYADOV; ++pos)
                    vmCifra(p, pos) = static_cast<std::uint8_t>(R - 1);
            b.Osnovanie = static_cast<std::uint8_t>(R);
            vmNol(&b);
            b.Poryadok = g.Int(-5, 5);
            for (int pos = 2; pos < VM_RAZRYADOV; ++pos)
                vmCifra(b, pos) = static_cast<std::uint8_t>(qMax - pos % qMax);
            const auto [pp, pb] = Oba([&] { return vmProizvedenie(&p, &b); });
            EXPECT_TRUE(Ravni(pp, pb)) << "R=" << R << " qMax=" << qMax << "\n"
                                       << Cifri(p) << "\n"
                                       << Cifri(pp) << "\n"
                                       << Cifri(pb);
        }
}

TEST_F(Yadra, RoundedTrialComparisonTakesTheLargerDigit) {
    // 9.99...95 / 2 (101 digits, last digit half the radix): the trial
    // (R/2) * 2 = R has one more integer digit than the remainder, which is
    // rounded up to R for the comparison (and for the subtraction, which
    // leaves zero), so R/2 is taken. The fast kernel must make the same
    // choice.
    for (int R : {10, 16, 36}) {
        vmChislo a;
        a.Osnovanie = static_cast<std::uint8_t>(R);
        vmNol(&a);
        a.Poryadok = 0;
        for (int p = 2; p < VM_RAZRYADOV; ++p) vmCifra(a, p) = static_cast<std::uint8_t>(R - 1);
        a.DrobnayaChast[99] = static_cast<std::uint8_t>(R / 2);
        vmChislo b;
        vmKonstanta(&b, VM_K_EDINICA, static_cast<std::uint8_t>(R));
        b.CelayaChast[0] = 2;
        const auto [qp, qb] = Oba([&] { return vmChastnoe(&a, &b); });
        EXPECT_TRUE(Ravni(qp, qb)) << R << "\n" << Cifri(qp) << "\n" << Cifri(qb);
        vmChislo ostP, ostB;
        const auto [dp, db] = Oba([&] {
            vmChislo o;
            const vmChislo q = vmDelenieSOstatkom(&a, b, &o);
            (vm_detail::BistrieYadra ? ostB : ostP) = o;
            return q;
        });
        EXPECT_TRUE(Ravni(dp, db)) << R;
        EXPECT_TRUE(Ravni(ostP, ostB)) << R;
        // The plain kernel's own answer: the rounded comparison took R/2.
        vm_detail::BistrieYadra = false;
        EXPECT_EQ(vmChastnoe(&a, &b).CelayaChast[0], R / 2) << R;
        vm_detail::BistrieYadra = true;
    }
}

TEST_F(Yadra, ProductsWithAZeroGiveThePlainBytes) {
    // Zero as the reserved exponent, as a zero mantissa at an ordinary
    // exponent and as digits below the exponent limit; the flags of both
    // operands set or not.
    GeneratorChisel g(SemyaTestov() + 30);
    for (int R : kOsnovaniya) {
        vmChislo x = g.Chislo(R);
        vmChislo nuli[3];
        for (vmChislo& n : nuli) n.Osnovanie = static_cast<std::uint8_t>(R);
        vmNol(&nuli[0]);
        vmNol(&nuli[1]);
        nuli[1].Poryadok = 7;
        nuli[2] = x;
        nuli[2].Poryadok = -VM_PREDEL_PORYADKA;
        for (vmChislo n : nuli)
            for (int flagi = 0; flagi < 4; ++flagi) {
                n.Netochnost = flagi & 1;
                x.Netochnost = (flagi >> 1) & 1;
                const auto [p1, b1] = Oba([&] { return vmProizvedenie(&n, &x); });
                EXPECT_TRUE(Ravni(p1, b1)) << R << " 0*x " << flagi;
                const auto [p2, b2] = Oba([&] { return vmProizvedenie(&x, &n); });
                EXPECT_TRUE(Ravni(p2, b2)) << R << " x*0 " << flagi;
            }
    }
}

TEST_F(Yadra, RadixBytesBeyondTheMultiplesTableUseThePlainKernels) {
    // A record may carry any radix byte (vmKonstanta takes one); the fast
    // kernels keep one row per digit value and must not be taken beyond them.
    for (int R : {127, 200, 255}) {
        vmChislo x;
        vmKonstanta(&x, VM_K_EDINICA, static_cast<std::uint8_t>(R));
        x.DrobnayaChast[0] = static_cast<std::uint8_t>(R - 50);
        EXPECT_EQ(vm_detail::BistroVozmozhno(x), R < 128) << R;
        const auto [pp, pb] = Oba([&] { return vmProizvedenie(&x, &x); });
        EXPECT_TRUE(Ravni(pp, pb)) << R;
        const auto [qp, qb] = Oba([&] { return vmChastnoe(&pp, &x); });
        EXPECT_TRUE(Ravni(qp, qb)) << R;
    }
}

TEST_F(Yadra, DivisionByARunOfTheLargestDigitNearItsMultiples) {
    // The divisor 1.(R-1)...(R-1)h, h >= R/2: its multiples, moved one place
    // down onto a remainder one place above them, round up through the whole
    // run. The dividends are near multiples of it, a unit of the last place
    // below, at or above q * b: quotients with long runs of R-1 and of 0,
    // remainders at zero or just below the divisor, and remainder exponents
    // at the edges of what the ratio guesses.
    for (int R = 2; R <= 36; ++R) {
        const auto osn = static_cast<std::uint8_t>(R);
        vmChislo b;
        vmKonstanta(&b, VM_K_EDINICA, osn);
        for (int j = 0; j < 99; ++j) b.DrobnayaChast[j] = osn - 1;
        b.DrobnayaChast[99] = static_cast<std::uint8_t>((R + 1) / 2);
        vmChislo c[3];
        for (vmChislo& x : c) vmKonstanta(&x, VM_K_EDINICA, osn);
        c[1].DrobnayaChast[49] = 1; // 1 + R^-50
        for (int j = 0; j < 100; ++j) c[2].DrobnayaChast[j] = osn - 1;
        for (const vmChislo& q : c)
            for (int sdvig : {-1, 0, 1}) {
                vmChislo a = vmProizvedenie(&b, &q);
                vmChislo ulp;
                vmKonstanta(&ulp, VM_K_EDINICA, osn);
                vmUmnogitNaStepen(&ulp, a.Poryadok - VM_DROBNIH_RAZRYADOV);
                if (sdvig < 0) vmVichest(&a, ulp);
                if (sdvig > 0) vmPribavit(&a, ulp);
                vmChislo celoe = a;
                celoe.Poryadok = 100;
                SravnitUmnozhenieIDelenie(R, a, b, celoe);
            }
        // b * 1 - one unit: the plain quotient is a run of R-1 (101 digits
        // below one), so that run was compared above.
        vmChislo a = b;
        vmChislo ulp;
        vmKonstanta(&ulp, VM_K_EDINICA, osn);
        vmUmnogitNaStepen(&ulp, -VM_DROBNIH_RAZRYADOV);
        vmVichest(&a, ulp);
        vm_detail::BistrieYadra = false;
        const vmChislo q = vmChastnoe(&a, &b);
        vm_detail::BistrieYadra = true;
        EXPECT_EQ(q.Poryadok, -1) << R;
        EXPECT_EQ(q.CelayaChast[0], R - 1) << R;
        EXPECT_EQ(q.DrobnayaChast[98], R - 1) << R;
    }
}

} // namespace
