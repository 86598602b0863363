// Digit rows: the 103 digits of a number least significant first, and the
// row operations the fast multiplication and division kernels are written
// in, one version per instruction set (every version gives the same bytes).
// Private to those kernels.
#pragma once

#include <cstdint>
#include <cstring>

#include "number/vm_vnutrennee.h"
#include "number/vm_yadra.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vm_detail::stroki {

// 103 digit places, least significant first (index j holds significance
// position 102 - j), padded with zeros to whole 32- and 64-byte lanes.
constexpr int kDlina = 128;
constexpr int kVerh = VM_RAZRYADOV - 1; // index of position 0 (R^2)
constexpr int kVtoroy = kVerh - 1;      // index of position 1 (R^1)
struct alignas(64) TStroka {
    std::uint8_t c[kDlina];
};

inline void VStroku(const vmChislo& x, TStroka& r) {
    for (int j = 0; j < VM_DROBNIH_RAZRYADOV; ++j)
        r.c[j] = x.DrobnayaChast[VM_DROBNIH_RAZRYADOV - 1 - j];
    r.c[100] = x.CelayaChast[0];
    r.c[101] = x.CelayaChast[1];
    r.c[102] = x.CelayaChast[2];
    std::memset(r.c + VM_RAZRYADOV, 0, kDlina - VM_RAZRYADOV);
}

inline void IzStroki(vmChislo& x, const TStroka& r) {
    for (int j = 0; j < VM_DROBNIH_RAZRYADOV; ++j)
        x.DrobnayaChast[VM_DROBNIH_RAZRYADOV - 1 - j] = r.c[j];
    x.CelayaChast[0] = r.c[100];
    x.CelayaChast[1] = r.c[101];
    x.CelayaChast[2] = r.c[102];
}

// sum = x + y + cin (cin 0 or 1 at the last place) for digits below R <= 127:
// a digit sum and a carry stay below 256, so the lanes add bytes without
// overflow. sum may be x or y. Three versions, one per instruction set, give
// the same bytes.
inline void SlozhitPerenosimo(TStroka& sum, const TStroka& x, const TStroka& y, int R,
                              unsigned cin) {
    unsigned perenos = cin;
    for (int j = 0; j < kDlina; ++j) {
        const unsigned v = x.c[j] + y.c[j] + perenos;
        perenos = v >= unsigned(R);
        sum.c[j] = static_cast<std::uint8_t>(perenos ? v - R : v);
    }
}

// The places of a row that receive a carry, one bit per place, from the
// places whose digit sum carries out (>= R) and those that pass a carry on
// (== R - 1): a run of the latter behaves like a run of one bits in a binary
// addition.
inline unsigned __int128 PoluchayutPerenos(unsigned __int128 rozhdaet, unsigned __int128 propuskaet,
                                           unsigned cin) {
    return (((rozhdaet << 1) | cin) + propuskaet) ^ propuskaet;
}

#if defined(__SSE2__)
// 16 bits of a carry (or borrow) mask, one per byte of a 16-byte lane: all
// ones in the bytes whose bit is set.
inline __m128i RazvernutBity16(unsigned bity) {
    const __m128i b = _mm_set_epi64x(static_cast<long long>((bity >> 8) * 0x0101010101010101ULL),
                                     static_cast<long long>((bity & 0xFF) * 0x0101010101010101ULL));
    const __m128i bit = _mm_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
    return _mm_cmpeq_epi8(_mm_and_si128(b, bit), bit);
}

inline void SlozhitSse2(TStroka& sum, const TStroka& x, const TStroka& y, int R, unsigned cin) {
    constexpr int kPolos = kDlina / 16;
    const __m128i vR = _mm_set1_epi8(static_cast<char>(R));
    const __m128i vR1 = _mm_set1_epi8(static_cast<char>(R - 1));
    __m128i s[kPolos];
    unsigned __int128 rozhdaet = 0, propuskaet = 0;
    for (int i = 0; i < kPolos; ++i) {
        const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(x.c + 16 * i));
        const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(y.c + 16 * i));
        s[i] = _mm_add_epi8(a, b);
        const __m128i ge = _mm_cmpeq_epi8(_mm_max_epu8(s[i], vR), s[i]);
        const __m128i eq = _mm_cmpeq_epi8(s[i], vR1);
        rozhdaet |= static_cast<unsigned __int128>(unsigned(_mm_movemask_epi8(ge))) << (16 * i);
        propuskaet |= static_cast<unsigned __int128>(unsigned(_mm_movemask_epi8(eq))) << (16 * i);
    }
    const unsigned __int128 vhod = PoluchayutPerenos(rozhdaet, propuskaet, cin);
    const __m128i odin = _mm_set1_epi8(1);
    for (int i = 0; i < kPolos; ++i) {
        const __m128i perenos =
            _mm_and_si128(RazvernutBity16(unsigned(vhod >> (16 * i)) & 0xFFFF), odin);
        __m128i v = _mm_add_epi8(s[i], perenos);
        const __m128i ge = _mm_cmpeq_epi8(_mm_max_epu8(v, vR), v);
        v = _mm_sub_epi8(v, _mm_and_si128(ge, vR));
        _mm_store_si128(reinterpret_cast<__m128i*>(sum.c + 16 * i), v);
    }
}

// x - y for digits below R <= 127 and x >= y: a place whose digit is below
// the subtrahend's borrows, one with equal digits passes a borrow on (as a
// carry runs in the addition). r may be x or y.
inline void VichestSse2(TStroka& r, const TStroka& x, const TStroka& y, int R) {
    constexpr int kPolos = kDlina / 16;
    const __m128i vR = _mm_set1_epi8(static_cast<char>(R));
    __m128i d[kPolos], otr[kPolos], rav[kPolos];
    unsigned __int128 rozhdaet = 0, propuskaet = 0;
    for (int i = 0; i < kPolos; ++i) {
        const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(x.c + 16 * i));
        const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(y.c + 16 * i));
        d[i] = _mm_sub_epi8(a, b);
        rav[i] = _mm_cmpeq_epi8(a, b);
        otr[i] = _mm_andnot_si128(rav[i], _mm_cmpeq_epi8(_mm_max_epu8(a, b), b)); // a < b
        rozhdaet |= static_cast<unsigned __int128>(unsigned(_mm_movemask_epi8(otr[i]))) << (16 * i);
        propuskaet |= static_cast<unsigned __int128>(unsigned(_mm_movemask_epi8(rav[i])))
                      << (16 * i);
    }
    const unsigned __int128 zaem = PoluchayutPerenos(rozhdaet, propuskaet, 0);
    for (int i = 0; i < kPolos; ++i) {
        const __m128i z = RazvernutBity16(unsigned(zaem >> (16 * i)) & 0xFFFF);
        // z is -1 where a borrow comes in: adding it subtracts one.
        __m128i v = _mm_add_epi8(d[i], z);
        // Negative places (below, or equal and borrowing) take R back.
        const __m128i otric = _mm_or_si128(otr[i], _mm_and_si128(rav[i], z));
        v = _mm_add_epi8(v, _mm_and_si128(otric, vR));
        _mm_store_si128(reinterpret_cast<__m128i*>(r.c + 16 * i), v);
    }
}

#endif

#if defined(__x86_64__)
#define CIFRAMER_AVX2 __attribute__((target("avx2")))
// 32 bits of a carry (or borrow) mask, one per byte of a 32-byte lane: all
// ones in the bytes whose bit is set.
CIFRAMER_AVX2 inline __m256i RazvernutBity(std::uint32_t bity) {
    const __m256i b = _mm256_shuffle_epi8(
        _mm256_set1_epi32(static_cast<int>(bity)),
        _mm256_set_epi64x(0x0303030303030303LL, 0x0202020202020202LL, 0x0101010101010101LL, 0));
    const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
    return _mm256_cmpeq_epi8(_mm256_and_si256(b, bit), bit);
}

CIFRAMER_AVX2 inline void SlozhitAvx2(TStroka& sum, const TStroka& x, const TStroka& y, int R,
                                      unsigned cin) {
    constexpr int kPolos = kDlina / 32;
    const __m256i vR = _mm256_set1_epi8(static_cast<char>(R));
    const __m256i vR1 = _mm256_set1_epi8(static_cast<char>(R - 1));
    __m256i s[kPolos];
    std::uint64_t g[2] = {}, p[2] = {};
    for (int i = 0; i < kPolos; ++i) {
        const __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i*>(x.c + 32 * i));
        const __m256i b = _mm256_load_si256(reinterpret_cast<const __m256i*>(y.c + 32 * i));
        s[i] = _mm256_add_epi8(a, b);
        const __m256i ge = _mm256_cmpeq_epi8(_mm256_max_epu8(s[i], vR), s[i]);
        const __m256i eq = _mm256_cmpeq_epi8(s[i], vR1);
        g[i / 2] |= std::uint64_t(std::uint32_t(_mm256_movemask_epi8(ge))) << (32 * (i % 2));
        p[i / 2] |= std::uint64_t(std::uint32_t(_mm256_movemask_epi8(eq))) << (32 * (i % 2));
    }
    const unsigned __int128 vhod =
        PoluchayutPerenos((static_cast<unsigned __int128>(g[1]) << 64) | g[0],
                          (static_cast<unsigned __int128>(p[1]) << 64) | p[0], cin);
    const __m256i odin = _mm256_set1_epi8(1);
    for (int i = 0; i < kPolos; ++i) {
        const __m256i perenos =
            _mm256_and_si256(RazvernutBity(static_cast<std::uint32_t>(vhod >> (32 * i))), odin);
        __m256i v = _mm256_add_epi8(s[i], perenos);
        const __m256i ge = _mm256_cmpeq_epi8(_mm256_max_epu8(v, vR), v);
        v = _mm256_sub_epi8(v, _mm256_and_si256(ge, vR));
        _mm256_store_si256(reinterpret_cast<__m256i*>(sum.c + 32 * i), v);
    }
}

CIFRAMER_AVX2 inline void VichestAvx2(TStroka& r, const TStroka& x, const TStroka& y, int R) {
    constexpr int kPolos = kDlina / 32;
    const __m256i vR = _mm256_set1_epi8(static_cast<char>(R));
    __m256i d[kPolos], otr[kPolos], rav[kPolos];
    std::uint64_t g[2] = {}, p[2] = {};
    for (int i = 0; i < kPolos; ++i) {
        const __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i*>(x.c + 32 * i));
        const __m256i b = _mm256_load_si256(reinterpret_cast<const __m256i*>(y.c + 32 * i));
        d[i] = _mm256_sub_epi8(a, b);
        rav[i] = _mm256_cmpeq_epi8(a, b);
        otr[i] = _mm256_andnot_si256(rav[i], _mm256_cmpeq_epi8(_mm256_max_epu8(a, b), b));
        g[i / 2] |= std::uint64_t(std::uint32_t(_mm256_movemask_epi8(otr[i]))) << (32 * (i % 2));
        p[i / 2] |= std::uint64_t(std::uint32_t(_mm256_movemask_epi8(rav[i]))) << (32 * (i % 2));
    }
    const unsigned __int128 zaem =
        PoluchayutPerenos((static_cast<unsigned __int128>(g[1]) << 64) | g[0],
                          (static_cast<unsigned __int128>(p[1]) << 64) | p[0], 0);
    for (int i = 0; i < kPolos; ++i) {
        const __m256i z = RazvernutBity(static_cast<std::uint32_t>(zaem >> (32 * i)));
        __m256i v = _mm256_add_epi8(d[i], z); // z is -1 where a borrow comes in
        const __m256i otric = _mm256_or_si256(otr[i], _mm256_and_si256(rav[i], z));
        v = _mm256_add_epi8(v, _mm256_and_si256(otric, vR));
        _mm256_store_si256(reinterpret_cast<__m256i*>(r.c + 32 * i), v);
    }
}
#endif

// The row operations the kernels are written in. A row policy N provides:
//   N::T                        a row value
//   Iz(TStroka) / V(T, TStroka) load and store
//   Slozhit(x, y, R, cin)       x + y + cin, as above
//   Vichest(x, y, R)            x - y, for x >= y
//   PlyusUlp(y, R)              y + 1 at the last place (there is room)
//   Sdvig(y, k)                 y moved k places (1..100) towards less
//                               significance, zeros coming in at the top
//   SdvigVverh(y, k)            y moved k places towards more significance
//   Nenol(y, j), NenolNizhe(y, k), NeMenshe(y, j, d)
//                               digit j != 0; one of the k last digits != 0;
//                               digit j >= d
//   Starshiy(y)                 the index of the highest nonzero digit, -1
//                               for a zero row
// The rows in memory (the portable, SSE2 and AVX2 versions) shift by
// memmove; the AVX-512 rows stay in two registers, shifted by byte
// permutations (VBMI).
inline void VichestPerenosimo(TStroka& r, const TStroka& x, const TStroka& y, int R) {
    int zaem = 0;
    for (int j = 0; j < kDlina; ++j) {
        const int v = x.c[j] - y.c[j] - zaem;
        zaem = v < 0;
        r.c[j] = static_cast<std::uint8_t>(zaem ? v + R : v);
    }
}

template <void (*Slozh)(TStroka&, const TStroka&, const TStroka&, int, unsigned),
          void (*Vich)(TStroka&, const TStroka&, const TStroka&, int)>
struct TVPamyati {
    using T = TStroka;
    static T Iz(const TStroka& r) { return r; }
    static void V(const T& y, TStroka& r) { r = y; }
    static T Slozhit(const T& x, const T& y, int R, unsigned cin) {
        T s;
        Slozh(s, x, y, R, cin);
        return s;
    }
    static T Sdvig(const T& y, int k) {
        T r;
        std::memcpy(r.c, y.c + k, VM_RAZRYADOV - k);
        std::memset(r.c + VM_RAZRYADOV - k, 0, kDlina - (VM_RAZRYADOV - k));
        return r;
    }
    static bool Nenol(const T& y, int j) { return y.c[j] != 0; }
    static bool NenolNizhe(const T& y, int k) {
        for (int j = 0; j < k; ++j)
            if (y.c[j] != 0) return true;
        return false;
    }
    static bool NeMenshe(const T& y, int j, int d) { return y.c[j] >= d; }
    static T Vichest(const T& x, const T& y, int R) {
        T r;
        Vich(r, x, y, R);
        return r;
    }
    static void PlyusUlp(T& y, int R) {
        for (int j = 0; j < VM_RAZRYADOV; ++j) {
            if (y.c[j] + 1 < R) {
                ++y.c[j];
                return;
            }
            y.c[j] = 0;
        }
    }
    static T SdvigVverh(const T& y, int k) {
        T r;
        std::memset(r.c, 0, k);
        std::memcpy(r.c + k, y.c, VM_RAZRYADOV - k);
        std::memset(r.c + VM_RAZRYADOV, 0, kDlina - VM_RAZRYADOV);
        return r;
    }
    static int Starshiy(const T& y) {
        int j = VM_RAZRYADOV - 1;
        while (j >= 0 && y.c[j] == 0) --j;
        return j;
    }
};

#if defined(__x86_64__)
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
#endif

// The running sum of the partial products, normalised.
template <class N> struct TSumma {
    typename N::T s;
    std::int64_t P;
    std::uint8_t net;
};

// The normal form after an addition: a carry into position 1 is shifted out,
// the dropped digit setting the flag and rounding half-up (one more unit at
// the last place); a carry of that rounding is shifted out once more (it
// drops a zero).
template <class N>
inline void Normalizovat(typename N::T& r, std::int64_t* P, int R, std::uint8_t* net) {
    for (int krug = 0; krug < 2 && N::Nenol(r, kVtoroy); ++krug) {
        if (N::Nenol(r, 0)) *net = 1;
        const bool vverh = N::NeMenshe(r, 0, (R + 1) / 2);
        r = N::Sdvig(r, 1);
        ++*P;
        if (vverh) N::PlyusUlp(r, R);
    }
}

// A normalised row aligned n places towards less significance (n >= 1) as
// vmVirovnyat does it: the dropped digits set *net, the first of them rounds
// half-up, returned as the carry in of the addition that follows. Nothing
// survives a shift past the leading digit: the row is zero, its flag 0.
template <class N>
inline unsigned Virovnyat(typename N::T& y, std::int64_t n, int R, std::uint8_t* net, bool* est) {
    if (n > VM_DROBNIH_RAZRYADOV) {
        *net = 0;
        *est = false;
        return 0;
    }
    const int k = static_cast<int>(n);
    if (N::NenolNizhe(y, k)) *net = 1;
    const unsigned vverh = N::NeMenshe(y, k - 1, (R + 1) / 2) ? 1 : 0;
    y = N::Sdvig(y, k);
    *est = true;
    return vverh;
}

// sum := sum + t (t normalised at exponent Pt with flag netT) as vmPribavit
// adds two positive normalised numbers.
template <class N>
inline void DobavitChlen(TSumma<N>& sum, typename N::T t, std::int64_t Pt, std::uint8_t netT,
                         int R) {
    bool est = true;
    unsigned cin = 0;
    if (Pt > sum.P) { // the partial product is the larger: the sum is aligned to it
        cin = Virovnyat<N>(sum.s, Pt - sum.P, R, &sum.net, &est);
        const std::uint8_t net = sum.net | netT;
        sum.s = est ? N::Slozhit(t, sum.s, R, cin) : t;
        sum.P = Pt;
        sum.net = net;
    } else {
        if (Pt < sum.P) cin = Virovnyat<N>(t, sum.P - Pt, R, &netT, &est);
        sum.net |= netT;
        if (est) sum.s = N::Slozhit(sum.s, t, R, cin);
    }
    Normalizovat<N>(sum.s, &sum.P, R, &sum.net);
}

// |p| * q for q = 1..qMax as vmUmnogitNaCifru gives them: the exact
// product (made by adding |p| once more to the previous one), then the
// normal form with its one rounding; each keeps p's inexact flag or sets it.
template <class N>
inline void Kratnie(const vmChislo& p, int qMax, int R, TStroka* stroki, std::int64_t* P,
                    std::uint8_t* net) {
    TStroka r;
    VStroku(p, r);
    const typename N::T odno = N::Iz(r);
    typename N::T tochnoe = odno;
    for (int q = 1; q <= qMax; ++q) {
        if (q > 1) tochnoe = N::Slozhit(tochnoe, odno, R, 0);
        typename N::T k = tochnoe;
        P[q] = p.Poryadok;
        net[q] = p.Netochnost;
        Normalizovat<N>(k, &P[q], R, &net[q]);
        N::V(k, stroki[q]);
    }
}

// Sign of t - r (t at exponent Pt, r at Pr, both normalised and positive)
// as vmVichest on a copy of t followed by vmZnak gives it: the operand of
// the smaller exponent is aligned to the other and rounded half-up. Scalar,
// it stops at the first digit that decides.
inline int ZnakRaznosti(const TStroka& t, std::int64_t Pt, const TStroka& r, std::int64_t Pr,
                        int R) {
    // The digit at significance position p (0 is R^2, 102 the last place).
    const auto D = [](const TStroka& s, int p) -> int { return s.c[kVerh - p]; };
    if (Pt == Pr) {
        for (int p = 0; p < VM_RAZRYADOV; ++p)
            if (D(t, p) != D(r, p)) return D(t, p) > D(r, p) ? 1 : -1;
        return 0;
    }
    // x keeps its place, y is shifted right by n and rounded; sx is the sign
    // the difference takes when x is the larger.
    const TStroka* x = &t;
    const TStroka* y = &r;
    int sx = 1;
    std::int64_t n = Pt - Pr;
    if (n < 0) {
        x = &r;
        y = &t;
        sx = -1;
        n = -n;
    }
    if (n > VM_DROBNIH_RAZRYADOV) return sx; // nothing of y survives
    const int sdvig = static_cast<int>(n);
    const auto Y = [&](int p) { return p < sdvig ? 0 : D(*y, p - sdvig); };
    // The leading digit of y survives the shift (n <= 100): the rounding
    // applies whenever the first dropped digit asks for it.
    const bool ulp = D(*y, VM_RAZRYADOV - sdvig) >= (R + 1) / 2;
    int p = 0;
    for (; p < VM_RAZRYADOV; ++p)
        if (D(*x, p) != Y(p)) break;
    if (p == VM_RAZRYADOV) return ulp ? -sx : 0; // x == shifted y (+1 ulp)
    if (D(*x, p) < Y(p)) return -sx;
    if (!ulp) return sx;
    // x > shifted y: equal to shifted y + 1 ulp only if x - y is that ulp.
    if (D(*x, p) != Y(p) + 1) return sx;
    for (int q = p + 1; q < VM_RAZRYADOV; ++q)
        if (D(*x, q) != 0 || Y(q) != R - 1) return sx;
    return 0;
}

} // namespace vm_detail::stroki
