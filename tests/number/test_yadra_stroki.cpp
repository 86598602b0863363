// The row operations of every version against the portable ones, on random
// rows with long runs of carries (digit sums R-1) and borrows (equal
// digits), and division operands that reach the safety branches of the fast
// division in every version. Fixed seed, CIFRAMER_SEED overrides it.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>

#include "chisla_test_util.h"
#include "number/vm_yadra.h"
#include "number/yadra/avx2.h"
#include "number/yadra/avx512.h"
#include "number/yadra/perenosimiy.h"
#include "number/yadra/sse2.h"
#include "sluchaynie.h"

namespace {

using namespace vm_detail::stroki;

struct TRezultat {
    TStroka sum, sum1, chlen, chlen1, raz, ulp, vniz, vverh;
    bool nenol, nizhe, neMenshe;
    int starshiy;
};

// x >= y; k in 1..100; j a place; d a digit bound.
template <class N>
inline void Progon(const TStroka& x, const TStroka& y, int R, int k, int j, int d, TRezultat& r) {
    const typename N::T X = N::Iz(x), Y = N::Iz(y);
    N::V(N::Slozhit(X, Y, R, 0), r.sum);
    N::V(N::Slozhit(X, Y, R, 1), r.sum1);
    N::V(SlozhitChlen<N>(X, Y, R, 0), r.chlen);
    N::V(SlozhitChlen<N>(X, Y, R, 1), r.chlen1);
    N::V(N::Vichest(X, Y, R), r.raz);
    typename N::T u = X;
    N::PlyusUlp(u, R);
    N::V(u, r.ulp);
    N::V(N::Sdvig(X, k), r.vniz);
    N::V(N::SdvigVverh(X, k), r.vverh);
    r.nenol = N::Nenol(X, j);
    r.nizhe = N::NenolNizhe(Y, k);
    r.neMenshe = N::NeMenshe(X, j, d);
    r.starshiy = N::Starshiy(Y);
}

using TProgon = void (*)(const TStroka&, const TStroka&, int, int, int, int, TRezultat&);

void ProgonPerenosimiy(const TStroka& x, const TStroka& y, int R, int k, int j, int d,
                       TRezultat& r) {
    Progon<TPerenosimiy>(x, y, R, k, j, d, r);
}
#if defined(__SSE2__)
void ProgonSse2(const TStroka& x, const TStroka& y, int R, int k, int j, int d, TRezultat& r) {
    Progon<TSse2>(x, y, R, k, j, d, r);
}
#endif
#if defined(__x86_64__)
CIFRAMER_AVX2 __attribute__((flatten)) void ProgonAvx2(const TStroka& x, const TStroka& y, int R,
                                                       int k, int j, int d, TRezultat& r) {
    Progon<TAvx2>(x, y, R, k, j, d, r);
}
CIFRAMER_AVX512 __attribute__((flatten)) void
ProgonAvx512(const TStroka& x, const TStroka& y, int R, int k, int j, int d, TRezultat& r) {
    Progon<TAvx512>(x, y, R, k, j, d, r);
}
#endif

struct TPolitika {
    const char* imya; // as in the kernels' table
    TProgon progon;
};
const TPolitika kPolitiki[] = {
#if defined(__x86_64__)
    {"avx512", ProgonAvx512},
    {"avx2", ProgonAvx2},
#endif
#if defined(__SSE2__)
    {"sse2", ProgonSse2},
#endif
};

const vm_detail::TVersiyaYader* Versiya(const char* imya) {
    for (int i = 0; i < vm_detail::ChisloVersiyYader(); ++i)
        if (std::strcmp(vm_detail::VseVersiiYader()[i].imya, imya) == 0)
            return &vm_detail::VseVersiiYader()[i];
    return nullptr;
}

// Places 0..100 of x and y in runs of one kind each: y completing x to R-1
// (a carry runs through), y equal to x (a borrow runs through), random, or
// zeros; the two top places stay zero as in a normalised kernel row.
void Stroki(GeneratorChisel& g, int R, TStroka& x, TStroka& y) {
    std::memset(&x, 0, sizeof x);
    std::memset(&y, 0, sizeof y);
    for (int j = 0; j < VM_DROBNIH_RAZRYADOV;) {
        const int konec = std::min(VM_DROBNIH_RAZRYADOV, j + g.Int(1, 60));
        const int vid = g.Int(0, 3);
        for (; j < konec; ++j) {
            x.c[j] = static_cast<std::uint8_t>(g.Int(0, R - 1));
            y.c[j] = static_cast<std::uint8_t>(vid == 0   ? R - 1 - x.c[j]
                                               : vid == 1 ? x.c[j]
                                               : vid == 2 ? g.Int(0, R - 1)
                                                          : 0);
        }
    }
    for (int j = kVerh; j >= 0; --j) // x >= y, for the subtraction
        if (x.c[j] != y.c[j]) {
            if (x.c[j] < y.c[j]) std::swap(x, y);
            break;
        }
}

std::string Ryad(const TStroka& s) {
    std::string t;
    for (int j = kVerh; j >= 0; --j) t += std::to_string(s.c[j]) + (j ? "," : "");
    return t;
}

TEST(YadraStroki, EveryPolicyGivesThePortableRows) {
    const auto semya = SemyaTestov();
    SCOPED_TRACE("CIFRAMER_SEED=" + std::to_string(semya));
    GeneratorChisel g(semya + 40);
    for (const TPolitika& pol : kPolitiki) {
        const vm_detail::TVersiyaYader* v = Versiya(pol.imya);
        ASSERT_NE(v, nullptr) << pol.imya;
        if (!vm_detail::VersiyaDostupna(*v)) {
            std::printf("[ NOT RUN  ] rows of version %s: not run on this machine\n", pol.imya);
            continue;
        }
        for (int R : {2, 3, 7, 10, 16, 36, 127})
            for (int n = 0; n < 300; ++n) {
                TStroka x, y;
                Stroki(g, R, x, y);
                const int k = g.Int(1, 100), j = g.Int(0, kVerh), d = g.Int(0, R);
                TRezultat a, b;
                ProgonPerenosimiy(x, y, R, k, j, d, a);
                pol.progon(x, y, R, k, j, d, b);
                const auto opis = [&] {
                    return std::string(pol.imya) + " R=" + std::to_string(R) +
                           " k=" + std::to_string(k) + " j=" + std::to_string(j) +
                           " d=" + std::to_string(d) + "\nx=" + Ryad(x) + "\ny=" + Ryad(y);
                };
                ASSERT_EQ(std::memcmp(&a.sum, &b.sum, sizeof a.sum), 0) << "x+y " << opis();
                ASSERT_EQ(std::memcmp(&a.sum1, &b.sum1, sizeof a.sum1), 0) << "x+y+1 " << opis();
                ASSERT_EQ(std::memcmp(&a.sum, &b.chlen, sizeof a.sum), 0) << "x+y chain " << opis();
                ASSERT_EQ(std::memcmp(&a.sum1, &b.chlen1, sizeof a.sum1), 0)
                    << "x+y+1 chain " << opis();
                ASSERT_EQ(std::memcmp(&a.raz, &b.raz, sizeof a.raz), 0) << "x-y " << opis();
                ASSERT_EQ(std::memcmp(&a.ulp, &b.ulp, sizeof a.ulp), 0) << "x+ulp " << opis();
                ASSERT_EQ(std::memcmp(&a.vniz, &b.vniz, sizeof a.vniz), 0) << "x>>k " << opis();
                ASSERT_EQ(std::memcmp(&a.vverh, &b.vverh, sizeof a.vverh), 0) << "x<<k " << opis();
                ASSERT_EQ(a.nenol, b.nenol) << opis();
                ASSERT_EQ(a.nizhe, b.nizhe) << opis();
                ASSERT_EQ(a.neMenshe, b.neMenshe) << opis();
                ASSERT_EQ(a.starshiy, b.starshiy) << opis();
            }
    }
}

// A remainder far above b * R^d (never made by vmRazdelit) takes the
// fallback beyond the proof's bound, digit by digit from R-1; every trial
// product then lies more than 101 places below the remainder and vanishes
// when aligned: the remainder stays as it was and every digit is R-1, as
// the plain comparison and subtraction give them.
TEST(YadraDelenie, FarRemainderTakesTheFallbackAndTheVanishingOperand) {
    for (int i = 0; i < vm_detail::ChisloVersiyYader(); ++i) {
        const vm_detail::TVersiyaYader& v = vm_detail::VseVersiiYader()[i];
        if (!vm_detail::VibratVersiyuYader(v)) {
            std::printf("[ NOT RUN  ] division of version %s: not run on this machine\n", v.imya);
            continue;
        }
        for (int R : {2, 10, 36}) {
            const vmChislo b = Ch("1.1r" + std::to_string(R));
            vmChislo r = Ch("11.01r" + std::to_string(R)), a = Ch("0r" + std::to_string(R));
            const vmChislo r0 = r;
            vm_detail::DelitBistro(b, -300, &r, &a, false);
            EXPECT_TRUE(Ravni(r, r0)) << v.imya << " R=" << R << " " << Cifri(r);
            EXPECT_EQ(a.Poryadok, -300) << v.imya << " R=" << R;
            // 101 digits from the weight R^-300 down, the first in place 0.
            ASSERT_EQ(a.CelayaChast[0], R - 1) << v.imya << " R=" << R;
            for (int j = 0; j < VM_DROBNIH_RAZRYADOV; ++j)
                ASSERT_EQ(a.DrobnayaChast[j], R - 1) << v.imya << " R=" << R << " digit " << j;
        }
    }
    vm_detail::VibratVersiyuYader(vm_detail::NachalnayaVersiyaYader());
}

// (c + (c-1) R^-100) / (1 + R^-100): the ratio lies just below c, closer
// than the floating-point estimate can tell, so the estimate c is tried,
// does not fit, and is corrected downwards. Every version gives the plain
// kernel's quotient.
TEST(YadraDelenie, EstimateTooHighIsCorrectedDownwards) {
    for (int R : {3, 10, 36}) {
        const int c = std::min(3, R - 1);
        vmChislo a = Ch("0r" + std::to_string(R)), b = a;
        vmKonstanta(&a, VM_K_EDINICA, static_cast<std::uint8_t>(R));
        vmKonstanta(&b, VM_K_EDINICA, static_cast<std::uint8_t>(R));
        a.CelayaChast[0] = static_cast<std::uint8_t>(c);
        a.DrobnayaChast[VM_DROBNIH_RAZRYADOV - 1] = static_cast<std::uint8_t>(c - 1);
        b.DrobnayaChast[VM_DROBNIH_RAZRYADOV - 1] = 1;
        vm_detail::BistrieYadra = false;
        const vmChislo prosto = vmChastnoe(&a, &b);
        vm_detail::BistrieYadra = true;
        EXPECT_EQ(prosto.CelayaChast[0], c - 1) << R; // the true ratio is just below c
        for (int i = 0; i < vm_detail::ChisloVersiyYader(); ++i) {
            const vm_detail::TVersiyaYader& v = vm_detail::VseVersiiYader()[i];
            if (!vm_detail::VibratVersiyuYader(v)) {
                std::printf("[ NOT RUN  ] division of version %s: not run on this machine\n",
                            v.imya);
                continue;
            }
            const vmChislo bistro = vmChastnoe(&a, &b);
            EXPECT_TRUE(Ravni(prosto, bistro)) << v.imya << " R=" << R << "\n"
                                               << Cifri(prosto) << "\n"
                                               << Cifri(bistro);
        }
    }
    vm_detail::VibratVersiyuYader(vm_detail::NachalnayaVersiyaYader());
}

} // namespace
