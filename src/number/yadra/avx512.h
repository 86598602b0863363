// The AVX-512 row policy: a row stays in two registers for a whole product
// or quotient, shifted by byte permutations (VBMI). Only the functions
// marked CIFRAMER_AVX512 use the instructions; the table runs them only
// where they exist.
#pragma once

#if defined(__x86_64__)
#include <immintrin.h>

#include "number/yadra/delenie.h"
#include "number/yadra/stroka.h"
#include "number/yadra/umnozhenie.h"

namespace vm_detail::stroki {

#define CIFRAMER_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi")))
// Places 0..63 in lo, 64..111 in hi (the rest of hi stays zero).
struct TAvx512 {
    struct T {
        __m512i lo, hi;
    };
    static constexpr __mmask64 kHvost = ~__mmask64(0) >> (128 - kDlina);
    CIFRAMER_AVX512 static T Iz(const TStroka& r) {
        return {_mm512_load_si512(r.c), _mm512_maskz_loadu_epi8(kHvost, r.c + 64)};
    }
    CIFRAMER_AVX512 static void V(const T& y, TStroka& r) {
        _mm512_store_si512(r.c, y.lo);
        _mm512_mask_storeu_epi8(r.c + 64, kHvost, y.hi);
    }
    CIFRAMER_AVX512 static unsigned __int128 Maska(__mmask64 lo, __mmask64 hi) {
        return (static_cast<unsigned __int128>(hi) << 64) | lo;
    }
    CIFRAMER_AVX512 static T Slozhit(const T& x, const T& y, int R, unsigned cin) {
        const __m512i vR = _mm512_set1_epi8(static_cast<char>(R));
        const __m512i vR1 = _mm512_set1_epi8(static_cast<char>(R - 1));
        const __m512i odin = _mm512_set1_epi8(1);
        __m512i s0 = _mm512_add_epi8(x.lo, y.lo);
        __m512i s1 = _mm512_add_epi8(x.hi, y.hi);
        const unsigned __int128 vhod = PoluchayutPerenos(
            Maska(_mm512_cmpge_epu8_mask(s0, vR), _mm512_cmpge_epu8_mask(s1, vR)),
            Maska(_mm512_cmpeq_epi8_mask(s0, vR1), _mm512_cmpeq_epi8_mask(s1, vR1)), cin);
        s0 = _mm512_mask_add_epi8(s0, static_cast<__mmask64>(vhod), s0, odin);
        s1 = _mm512_mask_add_epi8(s1, static_cast<__mmask64>(vhod >> 64) & kHvost, s1, odin);
        s0 = _mm512_mask_sub_epi8(s0, _mm512_cmpge_epu8_mask(s0, vR), s0, vR);
        s1 = _mm512_mask_sub_epi8(s1, _mm512_cmpge_epu8_mask(s1, vR), s1, vR);
        return {s0, s1};
    }
    // Slozhit for the chain of partial products: each place is reduced both
    // with and without an incoming carry while the carries are found, which
    // then only choose. A digit sum v (below 2R, R <= 127) is reduced by
    // min(v, v - R): v - R wraps above 128 when v < R.
    CIFRAMER_AVX512 static __m512i Svesti(__m512i v, __m512i vR) {
        return _mm512_min_epu8(v, _mm512_sub_epi8(v, vR));
    }
    CIFRAMER_AVX512 static T SlozhitSrazu(const T& x, const T& y, int R, unsigned cin) {
        const __m512i vR = _mm512_set1_epi8(static_cast<char>(R));
        const __m512i vR1 = _mm512_set1_epi8(static_cast<char>(R - 1));
        const __m512i odin = _mm512_set1_epi8(1);
        const __m512i s0 = _mm512_add_epi8(x.lo, y.lo);
        const __m512i s1 = _mm512_add_epi8(x.hi, y.hi);
        const unsigned __int128 vhod = PoluchayutPerenos(
            Maska(_mm512_cmpge_epu8_mask(s0, vR), _mm512_cmpge_epu8_mask(s1, vR)),
            Maska(_mm512_cmpeq_epi8_mask(s0, vR1), _mm512_cmpeq_epi8_mask(s1, vR1)), cin);
        const __m512i p0 = _mm512_add_epi8(s0, odin);
        const __m512i p1 = _mm512_add_epi8(s1, odin);
        return {
            _mm512_mask_blend_epi8(static_cast<__mmask64>(vhod), Svesti(s0, vR), Svesti(p0, vR)),
            _mm512_mask_blend_epi8(static_cast<__mmask64>(vhod >> 64) & kHvost, Svesti(s1, vR),
                                   Svesti(p1, vR))};
    }
    CIFRAMER_AVX512 static void PlyusUlp(T& y, int R) {
        y = Slozhit(y, {_mm512_setzero_si512(), _mm512_setzero_si512()}, R, 1);
    }
    // Place j takes place j + sdvig of the 128-byte pair (sdvig may be
    // negative) where mesta has bit j, and zero elsewhere.
    CIFRAMER_AVX512 static T Perestavit(const T& y, int sdvig, unsigned __int128 mesta) {
        const __m512i nomera = _mm512_add_epi8(
            _mm512_set_epi8(63, 62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47, 46,
                            45, 44, 43, 42, 41, 40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28,
                            27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10,
                            9, 8, 7, 6, 5, 4, 3, 2, 1, 0),
            _mm512_set1_epi8(static_cast<char>(sdvig)));
        const __m512i nomera2 = _mm512_add_epi8(nomera, _mm512_set1_epi8(64));
        return {_mm512_maskz_permutex2var_epi8(static_cast<__mmask64>(mesta), y.lo, nomera, y.hi),
                _mm512_maskz_permutex2var_epi8(static_cast<__mmask64>(mesta >> 64), y.lo, nomera2,
                                               y.hi)};
    }
    // The places 0..n-1.
    CIFRAMER_AVX512 static unsigned __int128 Mesta(int n) {
        return (static_cast<unsigned __int128>(1) << n) - 1;
    }
    CIFRAMER_AVX512 static T Sdvig(const T& y, int k) {
        return Perestavit(y, k, Mesta(VM_RAZRYADOV - k));
    }
    CIFRAMER_AVX512 static T SdvigVverh(const T& y, int k) {
        return Perestavit(y, -k, Mesta(VM_RAZRYADOV) & ~Mesta(k));
    }
    CIFRAMER_AVX512 static unsigned __int128 Nenulevie(const T& y) {
        return Maska(_mm512_test_epi8_mask(y.lo, y.lo), _mm512_test_epi8_mask(y.hi, y.hi));
    }
    CIFRAMER_AVX512 static bool Nenol(const T& y, int j) { return (Nenulevie(y) >> j) & 1; }
    CIFRAMER_AVX512 static bool NenolNizhe(const T& y, int k) {
        return (Nenulevie(y) & ((static_cast<unsigned __int128>(1) << k) - 1)) != 0;
    }
    CIFRAMER_AVX512 static T Vichest(const T& x, const T& y, int R) {
        // A place whose digit is below the subtrahend's borrows; one with
        // equal digits passes a borrow on (as a carry runs in Slozhit).
        const __m512i vR = _mm512_set1_epi8(static_cast<char>(R));
        const __m512i odin = _mm512_set1_epi8(1);
        const __mmask64 men0 = _mm512_cmplt_epu8_mask(x.lo, y.lo);
        const __mmask64 men1 = _mm512_cmplt_epu8_mask(x.hi, y.hi);
        const __mmask64 rav0 = _mm512_cmpeq_epi8_mask(x.lo, y.lo);
        const __mmask64 rav1 = _mm512_cmpeq_epi8_mask(x.hi, y.hi);
        const unsigned __int128 zaem = PoluchayutPerenos(Maska(men0, men1), Maska(rav0, rav1), 0);
        const __mmask64 z0 = static_cast<__mmask64>(zaem);
        const __mmask64 z1 = static_cast<__mmask64>(zaem >> 64) & kHvost;
        const __m512i d0 = _mm512_sub_epi8(x.lo, y.lo);
        const __m512i d1 = _mm512_sub_epi8(x.hi, y.hi);
        __m512i r0 = _mm512_mask_sub_epi8(d0, z0, d0, odin);
        __m512i r1 = _mm512_mask_sub_epi8(d1, z1, d1, odin);
        // Negative places (x < y, or equal and borrowing) take R back.
        r0 = _mm512_mask_add_epi8(r0, men0 | (rav0 & z0), r0, vR);
        r1 = _mm512_mask_add_epi8(r1, men1 | (rav1 & z1), r1, vR);
        return {r0, r1};
    }
    CIFRAMER_AVX512 static int Starshiy(const T& y) {
        const unsigned __int128 m = Nenulevie(y);
        const std::uint64_t hi = static_cast<std::uint64_t>(m >> 64);
        const std::uint64_t lo = static_cast<std::uint64_t>(m);
        if (hi != 0) return 127 - __builtin_clzll(hi);
        if (lo != 0) return 63 - __builtin_clzll(lo);
        return -1;
    }
    CIFRAMER_AVX512 static bool NeMenshe(const T& y, int j, int d) {
        const __m512i vd = _mm512_set1_epi8(static_cast<char>(d));
        const unsigned __int128 m =
            Maska(_mm512_cmpge_epu8_mask(y.lo, vd), _mm512_cmpge_epu8_mask(y.hi, vd));
        return (m >> j) & 1;
    }
};
static_assert(PolitikaStroki<TAvx512>);

// The version's kernels (flatten: compiled for its instruction set with the row operations
// inlined).
CIFRAMER_AVX512 __attribute__((flatten)) inline void UmnozhitAvx512(vmChislo* a, const vmChislo& p,
                                                                    const vmChislo& b) {
    Umnozhit<TAvx512>(a, p, b);
}
CIFRAMER_AVX512 __attribute__((flatten)) inline void
DelitAvx512(const vmChislo& b, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    Delit<TAvx512>(b, d, r, a, celie);
}

} // namespace vm_detail::stroki
#endif
