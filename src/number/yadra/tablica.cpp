// The table of the fast kernels' versions, the processor test of each, and
// the choice of one at start-up. Adding a version: its header (a row policy
// and its two kernels) and one row below.
#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "number/vm_yadra.h"
#include "number/yadra/avx2.h"
#include "number/yadra/avx512.h"
#include "number/yadra/perenosimiy.h"
#include "number/yadra/sse2.h"

namespace vm_detail {

namespace {

using namespace stroki;

#if defined(__x86_64__)
// __builtin_cpu_init first: the choice may run among the static constructors.
bool EstAvx512() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi");
}
bool EstAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#endif
bool Vsegda() {
    return true;
}

// Best first: the choice takes the first row the processor runs.
const TVersiyaYader kVersii[] = {
#if defined(__x86_64__)
    {"avx512", EstAvx512, PribavitBistroSlovami, UmnozhitAvx512, DelitAvx512},
    {"avx2", EstAvx2, PribavitBistroSlovami, UmnozhitAvx2, DelitAvx2},
#endif
#if defined(__SSE2__)
    {"sse2", Vsegda, PribavitBistroSlovami, UmnozhitSse2, DelitSse2},
#endif
    {"portable", Vsegda, PribavitBistroObshchee, UmnozhitPerenosimo, DelitPerenosimo},
};
constexpr int kChislo = sizeof kVersii / sizeof kVersii[0];

// The best version the processor runs, or the one CIFRAMER_ISA names when
// that is not above it. A word that names no version, or one the processor
// lacks, is reported on stderr once and ignored.
const TVersiyaYader* Vibrat() {
    int luchshaya = 0;
    while (!kVersii[luchshaya].est()) ++luchshaya; // the portable row always runs
    const char* slovo = std::getenv("CIFRAMER_ISA");
    if (slovo == nullptr || *slovo == '\0') return &kVersii[luchshaya];
    for (int i = 0; i < kChislo; ++i) {
        if (std::strcmp(kVersii[i].imya, slovo) != 0) continue;
        if (i >= luchshaya) return &kVersii[i];
        std::fprintf(stderr, "ciframer: CIFRAMER_ISA=%s: not run by this processor, using %s\n",
                     slovo, kVersii[luchshaya].imya);
        return &kVersii[luchshaya];
    }
    std::fprintf(stderr, "ciframer: CIFRAMER_ISA=%s: unknown, using %s\n", slovo,
                 kVersii[luchshaya].imya);
    return &kVersii[luchshaya];
}

const TVersiyaYader* const kNachalnaya = Vibrat();
std::atomic<const TVersiyaYader*> tekushchaya{kNachalnaya};

} // namespace

const TVersiyaYader* VseVersiiYader() {
    return kVersii;
}
int ChisloVersiyYader() {
    return kChislo;
}
const TVersiyaYader& NachalnayaVersiyaYader() {
    return *kNachalnaya;
}
const TVersiyaYader& VersiyaYader() {
    return *tekushchaya.load(std::memory_order_relaxed);
}

bool VersiyaDostupna(const TVersiyaYader& v) {
    return &v >= kNachalnaya && v.est();
}

bool VibratVersiyuYader(const TVersiyaYader& v) {
    if (!VersiyaDostupna(v)) return false;
    tekushchaya.store(&v, std::memory_order_relaxed);
    return true;
}

void PribavitBistro(vmChislo* a, const vmChislo& b) {
    VersiyaYader().pribavit(a, b);
}

void UmnozhitBistro(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    assert(a != &p && a != &b && "a may not alias p or b");
    assert(BistroVozmozhno(p) && BistroVozmozhno(b));
    VersiyaYader().umnozhit(a, p, b);
}

void DelitBistro(const vmChislo& bModul, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    assert(d < (std::int64_t(1) << 27) && d > -(std::int64_t(1) << 27));
    assert(BistroVozmozhno(bModul) && BistroVozmozhno(*r));
    VersiyaYader().delit(bModul, d, r, a, celie);
}

} // namespace vm_detail
