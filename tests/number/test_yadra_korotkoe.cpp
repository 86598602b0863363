// Division by short divisors, where the fast kernels divide with a machine
// integer remainder: the plain kernel's quotient and remainder bytes, in
// every radix and every version, with the dividend's last digits at the
// edge of the case the short path leaves to the general one.
#include <gtest/gtest.h>

#include <cstring>

#include "chisla_test_util.h"
#include "number/vm_yadra.h"
#include "number/yadra/korotkoe.h"
#include "sluchaynie.h"

namespace {

class YadraKorotkoe : public ChislaTest {
  protected:
    void TearDown() override {
        vm_detail::BistrieYadra = true;
        vm_detail::VibratVersiyuYader(vm_detail::NachalnayaVersiyaYader());
    }
};

// f() with the plain kernels against f() in every version that runs here.
template <typename F> void Sravnit(F f, const char* chto, int R) {
    vm_detail::BistrieYadra = false;
    const auto prosto = f();
    vm_detail::BistrieYadra = true;
    const vm_detail::TVersiyaYader* versii = vm_detail::VseVersiiYader();
    for (int n = 0; n < vm_detail::ChisloVersiyYader(); ++n) {
        if (!vm_detail::VibratVersiyuYader(versii[n])) continue;
        const auto bistro = f();
        EXPECT_TRUE(Ravni(prosto.first, bistro.first) && Ravni(prosto.second, bistro.second))
            << chto << " R=" << R << " " << versii[n].imya << "\n"
            << Cifri(prosto.first) << "\n"
            << Cifri(bistro.first) << "\n"
            << Cifri(prosto.second) << "\n"
            << Cifri(bistro.second);
    }
    vm_detail::VibratVersiyuYader(vm_detail::NachalnayaVersiyaYader());
}

// a / b, and a as an integer div b with its remainder.
void SravnitDelenie(int R, const vmChislo& a, const vmChislo& b) {
    Sravnit([&] { return std::pair{vmChastnoe(&a, &b), vmChislo{}}; }, "a/b", R);
    vmChislo celoe = a;
    celoe.Poryadok = b.Poryadok + 3 + (a.DrobnayaChast[0] % 110);
    Sravnit(
        [&] {
            vmChislo o;
            const vmChislo q = vmDelenieSOstatkom(&celoe, b, &o);
            return std::pair{q, o};
        },
        "a div b", R);
}

// A divisor of s significant digits (digits favouring 0 and R-1).
vmChislo Delitel(GeneratorChisel& g, int R, int s) {
    vmChislo b = g.Chislo(R);
    for (int p = 2 + s; p < VM_RAZRYADOV; ++p) vmCifra(b, p) = 0;
    if (vmCifra(b, 1 + s) == 0) vmCifra(b, 1 + s) = static_cast<std::uint8_t>(g.Int(1, R - 1));
    b.Znak = 0;
    return b;
}

// Whether the short path takes a / b (as the kernel is called).
bool Korotko(const vmChislo& a, const vmChislo& b) {
    vmChislo r = a;
    r.Znak = 0;
    std::uint8_t cifri[VM_DROBNIH_RAZRYADOV + 1];
    return vm_detail::stroki::DelitKorotko(b, std::int64_t(a.Poryadok) - b.Poryadok, &r, cifri,
                                           false);
}

} // namespace

TEST_F(YadraKorotkoe, ShortDivisorsGiveThePlainBytes) {
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 70);
    int korotko = 0;
    for (int R = 2; R <= 36; ++R) {
        // Digits of the longest divisors whose remainder takes 64 and 128
        // bits (B * R below 2^62 and 2^126).
        int d64 = 1, d128 = 1;
        for (double v = R; v < 0x1p62 / R; v *= R) ++d64;
        for (double v = R; v < 0x1p126 / R; v *= R) ++d128;
        for (int i = 0; i < 16; ++i) {
            // One digit, a few, either side of both bounds, the longest.
            const int dlini[] = {1, g.Int(2, 4), d64 - 1, d64, d64 + 1, d128, d128 + 1, 99};
            const int s = dlini[i % 8] < 99 ? dlini[i % 8] : 99; // R = 2: d128 > 99
            const vmChislo b = Delitel(g, R, s);
            vmChislo a = g.Chislo(R);
            // The last two digits at the edge of the rounded comparison:
            // R-1 then zero (taken), R-1 then nonzero (not taken).
            const int kray = g.Int(0, 2);
            if (kray > 0) vmCifra(a, VM_RAZRYADOV - 2) = static_cast<std::uint8_t>(R - 1);
            if (kray > 0)
                vmCifra(a, VM_RAZRYADOV - 1) =
                    static_cast<std::uint8_t>(kray == 1 ? 0 : g.Int(1, R - 1));
            if (i % 5 == 0) a.Netochnost = 1;
            vmChislo bb = b;
            if (i % 7 == 0) bb.Netochnost = 1;
            // Up to 4 digits and just beyond 64 bits the short path is
            // taken unless the dividend ends in R-1 and a nonzero digit;
            // beyond 128 bits or 98 digits never.
            const bool naKrayu =
                vmCifra(a, VM_RAZRYADOV - 2) == R - 1 && vmCifra(a, VM_RAZRYADOV - 1) != 0;
            const bool dlinniy = s > d128 || s == 99;
            if (s <= 4 || s == d64 + 1 || dlinniy) {
                EXPECT_EQ(Korotko(a, bb), !dlinniy && !naKrayu) << R << " " << s;
            }
            korotko += Korotko(a, bb) ? 1 : 0;
            SravnitDelenie(R, a, bb);
        }
    }
    EXPECT_GT(korotko, 35 * 16 / 4);
}

TEST_F(YadraKorotkoe, DivisionByTwoOfAllLargestDigits) {
    // R-1 ... R-1 h / 2 with h = 0 (the short path) and h = R/2 (left to the
    // general one, whose rounded comparison takes R/2 at the first digit),
    // and divisors that are powers of the radix (one digit, quotient exact).
    for (int R : {2, 3, 10, 16, 35, 36}) {
        const auto osn = static_cast<std::uint8_t>(R);
        vmChislo a;
        a.Osnovanie = osn;
        vmNol(&a);
        a.Poryadok = 0;
        for (int p = 2; p < VM_RAZRYADOV; ++p) vmCifra(a, p) = osn - 1;
        vmChislo b;
        vmKonstanta(&b, VM_K_EDINICA, osn);
        for (int h : {0, R / 2}) {
            vmCifra(a, VM_RAZRYADOV - 1) = static_cast<std::uint8_t>(h);
            b.CelayaChast[0] = R > 2 ? 2 : 1;
            EXPECT_EQ(Korotko(a, b), h == 0) << R;
            SravnitDelenie(R, a, b);
            b.CelayaChast[0] = 1;
            vmUmnogitNaStepen(&b, 7);
            SravnitDelenie(R, a, b);
            b.Poryadok = 0;
        }
    }
}
