// The SSE2 row policy: a row stays in eight 128-bit registers for a whole
// product or quotient, 16 digits per instruction; the carry (or borrow) runs
// through the whole row as one 128-bit addition, and shifts combine 64-bit
// lane shifts across neighbouring registers (SSE2 has no byte shuffle).
#pragma once

#if defined(__SSE2__)
#include <immintrin.h>

#include "number/yadra/delenie.h"
#include "number/yadra/mesta.h"
#include "number/yadra/stroka.h"
#include "number/yadra/umnozhenie.h"

namespace vm_detail::stroki {

// Places 16i..16i+15 in v[i].
struct TSse2 {
    static constexpr int kPolos = kDlina / 16;
    struct T {
        __m128i v[kPolos];
    };
    static T Iz(const TStroka& r) {
        T y;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i)
            y.v[i] = _mm_load_si128(reinterpret_cast<const __m128i*>(r.c + 16 * i));
        return y;
    }
    static void V(const T& y, TStroka& r) {
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i)
            _mm_store_si128(reinterpret_cast<__m128i*>(r.c + 16 * i), y.v[i]);
    }
    // A mask of 128 places, one bit each, as bytes: all ones in the places
    // whose bit is set. The mask goes to the vector unit once; each register
    // takes its two bytes of it, each spread over eight.
    static void Razvernut(unsigned __int128 bity, __m128i (&v)[kPolos]) {
        const __m128i b =
            _mm_set_epi64x(static_cast<long long>(bity >> 64), static_cast<long long>(bity));
        const __m128i para[2] = {_mm_unpacklo_epi8(b, b), _mm_unpackhi_epi8(b, b)};
        const __m128i bit = _mm_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
        v[0] = Para<0>(para[0], bit);
        v[1] = Para<1>(para[0], bit);
        v[2] = Para<2>(para[0], bit);
        v[3] = Para<3>(para[0], bit);
        v[4] = Para<0>(para[1], bit);
        v[5] = Para<1>(para[1], bit);
        v[6] = Para<2>(para[1], bit);
        v[7] = Para<3>(para[1], bit);
    }
    // Doubled bytes c0 c0 c1 c1 in dword I of p: c0 to the low eight bytes,
    // c1 to the high eight, then each bit of them to a whole byte.
    template <int I> static __m128i Para(__m128i p, __m128i bit) {
        const __m128i d = _mm_shuffle_epi32(p, I * 0x55);
        const __m128i b = _mm_shufflehi_epi16(_mm_shufflelo_epi16(d, 0x00), 0x55);
        return _mm_cmpeq_epi8(_mm_and_si128(b, bit), bit);
    }
    static unsigned __int128 Bit(__m128i m, int i) {
        return static_cast<unsigned __int128>(unsigned(_mm_movemask_epi8(m))) << (16 * i);
    }
    // As in the AVX2 policy: digits stay below R <= 127, so a digit sum s
    // plus 128 - R has its top bit set exactly when s >= R and is 127 when
    // s = R-1; min(v, v - R) (bytes wrapping) reduces v by R when v >= R.
    static T Slozhit(const T& x, const T& y, int R, unsigned cin) {
        const __m128i sdvig = _mm_set1_epi8(static_cast<char>(128 - R));
        const __m128i vR = _mm_set1_epi8(static_cast<char>(R));
        const __m128i v127 = _mm_set1_epi8(127);
        T s;
        unsigned __int128 rozhdaet = 0, propuskaet = 0;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i) {
            s.v[i] = _mm_add_epi8(x.v[i], y.v[i]);
            const __m128i t = _mm_add_epi8(s.v[i], sdvig);
            rozhdaet |= Bit(t, i);
            propuskaet |= Bit(_mm_cmpeq_epi8(t, v127), i);
        }
        __m128i perenos[kPolos];
        Razvernut(PoluchayutPerenos(rozhdaet, propuskaet, cin), perenos);
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i) {
            const __m128i v = _mm_sub_epi8(s.v[i], perenos[i]); // -1 where a carry comes in
            s.v[i] = _mm_min_epu8(v, _mm_sub_epi8(v, vR));
        }
        return s;
    }
    // A place whose digit is below the subtrahend's borrows; one with equal
    // digits passes a borrow on. Digits compare as signed bytes; a negative
    // difference d in -R..-1 is the byte d + 256, and min(d, d + R) takes R
    // back then.
    static T Vichest(const T& x, const T& y, int R) {
        const __m128i vR = _mm_set1_epi8(static_cast<char>(R));
        unsigned __int128 rozhdaet = 0, propuskaet = 0;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i) {
            rozhdaet |= Bit(_mm_cmpgt_epi8(y.v[i], x.v[i]), i);
            propuskaet |= Bit(_mm_cmpeq_epi8(x.v[i], y.v[i]), i);
        }
        __m128i zaem[kPolos];
        Razvernut(PoluchayutPerenos(rozhdaet, propuskaet, 0), zaem);
        T r;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i) {
            const __m128i d = _mm_add_epi8(_mm_sub_epi8(x.v[i], y.v[i]), zaem[i]);
            r.v[i] = _mm_min_epu8(d, _mm_add_epi8(d, vR));
        }
        return r;
    }
    static void PlyusUlp(T& y, int R) {
        T nol;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i) nol.v[i] = _mm_setzero_si128();
        y = Slozhit(y, nol, R, 1);
    }
    // Keeps the places 0..n-1.
    static T Ostavit(T y, int n) {
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i)
            y.v[i] = _mm_and_si128(y.v[i], _mm_loadu_si128(reinterpret_cast<const __m128i*>(
                                               kMesta.b + kDlina - n + 16 * i)));
        return y;
    }
    // (lo >> bits) | (hi << (64 - bits)) in each 64-bit lane, bits 0..56.
    static __m128i Sklejka(__m128i lo, __m128i hi, int bity) {
        return _mm_or_si128(_mm_srl_epi64(lo, _mm_cvtsi32_si128(bity)),
                            _mm_sll_epi64(hi, _mm_cvtsi32_si128(64 - bity)));
    }
    // (hi << bits) | (lo >> (64 - bits)) in each 64-bit lane, bits 0..56.
    static __m128i SklejkaVverh(__m128i hi, __m128i lo, int bity) {
        return _mm_or_si128(_mm_sll_epi64(hi, _mm_cvtsi32_si128(bity)),
                            _mm_srl_epi64(lo, _mm_cvtsi32_si128(64 - bity)));
    }
    // y moved k places down (k >= 0), zeros coming in at the top.
    static T VnizNa(const T& y, int k) {
        T s = y;
        const __m128i nol = _mm_setzero_si128();
        for (; k >= 16; k -= 16) { // whole registers
#pragma GCC unroll 8
            for (int i = 0; i + 1 < kPolos; ++i) s.v[i] = s.v[i + 1];
            s.v[kPolos - 1] = nol;
        }
        // Each 64-bit lane takes its bytes k.. and the first ones of the lane above.
        const bool dalshe = k >= 8;
        const int bity = 8 * (dalshe ? k - 8 : k);
        T r;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i) {
            const __m128i sled = i + 1 < kPolos ? s.v[i + 1] : nol;
            const __m128i mezh = _mm_or_si128(_mm_srli_si128(s.v[i], 8), _mm_slli_si128(sled, 8));
            r.v[i] = dalshe ? Sklejka(mezh, sled, bity) : Sklejka(s.v[i], mezh, bity);
        }
        return r;
    }
    // y moved k places up (k >= 0), zeros coming in at the bottom.
    static T VverhNa(const T& y, int k) {
        T s = y;
        const __m128i nol = _mm_setzero_si128();
        for (; k >= 16; k -= 16) {
#pragma GCC unroll 8
            for (int i = kPolos - 1; i > 0; --i) s.v[i] = s.v[i - 1];
            s.v[0] = nol;
        }
        const bool dalshe = k >= 8;
        const int bity = 8 * (dalshe ? k - 8 : k);
        T r;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i) {
            const __m128i pred = i > 0 ? s.v[i - 1] : nol;
            const __m128i mezh = _mm_or_si128(_mm_srli_si128(pred, 8), _mm_slli_si128(s.v[i], 8));
            r.v[i] = dalshe ? SklejkaVverh(mezh, pred, bity) : SklejkaVverh(s.v[i], mezh, bity);
        }
        return r;
    }
    // The shift of one place, the usual one (alignment and normal form),
    // by whole-register byte shifts.
    static T VnizNa1(const T& y) {
        T r;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i)
            r.v[i] =
                _mm_or_si128(_mm_srli_si128(y.v[i], 1),
                             i + 1 < kPolos ? _mm_slli_si128(y.v[i + 1], 15) : _mm_setzero_si128());
        return r;
    }
    static T VverhNa1(const T& y) {
        T r;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i)
            r.v[i] = _mm_or_si128(_mm_slli_si128(y.v[i], 1),
                                  i > 0 ? _mm_srli_si128(y.v[i - 1], 15) : _mm_setzero_si128());
        return r;
    }
    static T Sdvig(const T& y, int k) {
        return Ostavit(k == 1 ? VnizNa1(y) : VnizNa(y, k), VM_RAZRYADOV - k);
    }
    static T SdvigVverh(const T& y, int k) { // nothing reaches the padding
        const T s = Ostavit(y, VM_RAZRYADOV - k);
        return k == 1 ? VverhNa1(s) : VverhNa(s, k);
    }
    // Register i of y (a constant where the kernels call these).
    static __m128i Registr(const T& y, int i) {
        switch (i) {
        case 0:
            return y.v[0];
        case 1:
            return y.v[1];
        case 2:
            return y.v[2];
        case 3:
            return y.v[3];
        case 4:
            return y.v[4];
        case 5:
            return y.v[5];
        case 6:
            return y.v[6];
        default:
            return y.v[7];
        }
    }
    static unsigned NenulevieV(__m128i v) {
        return ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128()))) & 0xFFFF;
    }
    static bool Nenol(const T& y, int j) {
        return (NenulevieV(Registr(y, j >> 4)) >> (j & 15)) & 1;
    }
    static bool NenolNizhe(const T& y, int k) {
        if (k <= 16) // the usual shift of one or a few places
            return (NenulevieV(y.v[0]) & ((1u << k) - 1)) != 0;
        unsigned __int128 m = 0;
#pragma GCC unroll 8
        for (int i = 0; i < kPolos; ++i)
            m |= static_cast<unsigned __int128>(NenulevieV(y.v[i])) << (16 * i);
        return (m & ((static_cast<unsigned __int128>(1) << k) - 1)) != 0;
    }
    // From the top register down: a remainder's leading digit is near the top.
    static int Starshiy(const T& y) {
#pragma GCC unroll 8
        for (int i = kPolos - 1; i >= 0; --i) {
            const unsigned m = NenulevieV(y.v[i]);
            if (m != 0) return 16 * i + 31 - __builtin_clz(m);
        }
        return -1;
    }
    static bool NeMenshe(const T& y, int j, int d) {
        const __m128i v = Registr(y, j >> 4);
        const __m128i m = _mm_cmpeq_epi8(_mm_max_epu8(v, _mm_set1_epi8(static_cast<char>(d))), v);
        return (unsigned(_mm_movemask_epi8(m)) >> (j & 15)) & 1;
    }
};
static_assert(PolitikaStroki<TSse2>);

// The version's kernels (flatten: the row operations inlined).
__attribute__((flatten)) inline void UmnozhitSse2(vmChislo* a, const vmChislo& p,
                                                  const vmChislo& b) {
    Umnozhit<TSse2>(a, p, b);
}
__attribute__((flatten)) inline void DelitSse2(const vmChislo& b, std::int64_t d, vmChislo* r,
                                               vmChislo* a, bool celie) {
    Delit<TSse2>(b, d, r, a, celie);
}

} // namespace vm_detail::stroki
#endif
