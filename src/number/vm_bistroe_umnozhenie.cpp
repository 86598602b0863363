// The faster multiplication kernel. It forms the plain kernel's partial
// products |p| * q (each rounded to 101 digits exactly as vmUmnogitNaCifru
// rounds it) and adds them from the least significant digit of b upward with
// the alignment, rounding, normalisation and inexact flag of vmPribavit, so
// the bytes are the plain kernel's. What makes it fast: the digits live in
// rows with the least significant digit first, a carry runs through a whole
// row in a few vector instructions (SSE2, or AVX-512 with the row kept in two
// registers for the whole product), and the rounding of an aligned operand
// enters the addition as its carry in.
#include "number/vm_stroki.h"
#include "number/vmarifmetika.h"

namespace vm_detail {

namespace {

using namespace stroki;

template <class N> inline void Umnozhit(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    const int R = Osn(p);
    int qMax = 0;
    for (int pos = 0; pos < VM_RAZRYADOV; ++pos)
        if (vmCifra(b, pos) > qMax) qMax = vmCifra(b, pos);
    TStroka pustaya{};
    const typename N::T nol = N::Iz(pustaya);
    TStroka kratnie[kStrokKratnih];
    std::int64_t Pk[kStrokKratnih];
    std::uint8_t netK[kStrokKratnih];
    Kratnie<N>(p, qMax, R, kratnie, Pk, netK);
    TSumma<N> sum{nol, 0, 0};
    bool pusto = true;
    for (int pos = VM_RAZRYADOV - 1; pos >= 0; --pos) {
        const int q = vmCifra(b, pos);
        if (q == 0) continue; // a zero partial product changes nothing
        // Position pos of b has the weight R^(Poryadok + 2 - pos).
        const std::int64_t Pt = Pk[q] + b.Poryadok + 2 - pos;
        if (pusto) {
            sum.s = N::Iz(kratnie[q]);
            sum.P = Pt;
            sum.net = netK[q];
            pusto = false;
            continue;
        }
        DobavitChlen<N>(sum, N::Iz(kratnie[q]), Pt, netK[q], R);
    }
    vmNol(a);
    if (!pusto) {
        N::V(sum.s, pustaya);
        IzStroki(*a, pustaya);
        a->Poryadok = static_cast<std::int32_t>(sum.P);
        a->Netochnost = sum.net;
    }
}

void UmnozhitPerenosimo(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    Umnozhit<TVPamyati<SlozhitPerenosimo, VichestPerenosimo>>(a, p, b);
}

#if defined(__SSE2__)
void UmnozhitSse2(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    Umnozhit<TVPamyati<SlozhitSse2, VichestSse2>>(a, p, b);
}
#endif

#if defined(__x86_64__)
// flatten: the whole loop is compiled for the wider instruction set, with
// the row operations inlined into it.
CIFRAMER_AVX2 __attribute__((flatten)) void UmnozhitAvx2(vmChislo* a, const vmChislo& p,
                                                         const vmChislo& b) {
    Umnozhit<TVPamyati<SlozhitAvx2, VichestAvx2>>(a, p, b);
}

CIFRAMER_AVX512 __attribute__((flatten)) void UmnozhitAvx512(vmChislo* a, const vmChislo& p,
                                                             const vmChislo& b) {
    Umnozhit<TAvx512>(a, p, b);
}
#endif

TNaborKomand Luchshiy() {
#if defined(__x86_64__)
    __builtin_cpu_init(); // this runs among the static constructors
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi"))
        return TNaborKomand::Avx512;
    if (__builtin_cpu_supports("avx2")) return TNaborKomand::Avx2;
#endif
#if defined(__SSE2__)
    return TNaborKomand::Sse2;
#else
    return TNaborKomand::Perenosimiy;
#endif
}

} // namespace

const TNaborKomand LuchshiyNaborKomand = Luchshiy();
std::atomic<TNaborKomand> NaborKomand{LuchshiyNaborKomand};

void UmnozhitBistro(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    switch (NaborKomand.load(std::memory_order_relaxed)) {
#if defined(__x86_64__)
    case TNaborKomand::Avx512:
        UmnozhitAvx512(a, p, b);
        return;
    case TNaborKomand::Avx2:
        UmnozhitAvx2(a, p, b);
        return;
#endif
#if defined(__SSE2__)
    case TNaborKomand::Sse2:
        UmnozhitSse2(a, p, b);
        return;
#endif
    default:
        UmnozhitPerenosimo(a, p, b);
        return;
    }
}

} // namespace vm_detail
