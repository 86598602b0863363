// The AVX2 row policy: a row stays in four 256-bit registers for a whole
// product or quotient (as in the AVX-512 policy), 32 digits per instruction;
// shifts are byte shuffles within 128-bit halves combined across registers.
// Only the functions marked CIFRAMER_AVX2 use the instructions, so the file
// builds for any x86-64 processor; the table runs them only where they exist.
#pragma once

#if defined(__x86_64__)
#include <immintrin.h>

#include "number/yadra/delenie.h"
#include "number/yadra/mesta.h"
#include "number/yadra/stroka.h"
#include "number/yadra/umnozhenie.h"

namespace vm_detail::stroki {

#define CIFRAMER_AVX2 __attribute__((target("avx2")))

// Byte shuffle indices for a 16-byte half moved s places (0..15), 0x80
// making a zero byte. Down: from offset 16 + s the bytes s..15 then zeros,
// from offset s zeros then 0..s-1 (what comes in from the half above). Up:
// from offset 16 - s zeros then 0..15-s, from offset 32 - s the bytes
// 16-s..15 then zeros (what comes in from the half below).
alignas(64) inline constexpr std::uint8_t kIndeksi[48] = {
    0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,
    0,    1,    2,    3,    4,    5,    6,    7,    8,    9,    10,   11,   12,   13,   14,   15,
    0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};

// A carry (or borrow) mask of 128 places, one bit each, as bytes: all
// ones in the places whose bit is set. The mask goes to the vector unit
// once; each register picks its four bytes of it.
CIFRAMER_AVX2 inline void RazvernutBity(unsigned __int128 bity, __m256i (&v)[kDlina / 32]) {
    const __m256i b = _mm256_broadcastsi128_si256(
        _mm_set_epi64x(static_cast<long long>(bity >> 64), static_cast<long long>(bity)));
    const __m256i bit = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
#pragma GCC unroll 4
    for (int i = 0; i < kDlina / 32; ++i) {
        const long long n = 0x0101010101010101LL * (4 * i);
        const __m256i nomera = _mm256_set_epi64x(n + 0x0303030303030303LL, n + 0x0202020202020202LL,
                                                 n + 0x0101010101010101LL, n);
        v[i] = _mm256_cmpeq_epi8(_mm256_and_si256(_mm256_shuffle_epi8(b, nomera), bit), bit);
    }
}

// Places 32i..32i+31 in v[i].
struct TAvx2 {
    static constexpr int kPolos = kDlina / 32;
    struct T {
        __m256i v[kPolos];
        // Copied register by register: a copy by pieces of 16 bytes (as the
        // compiler copies a plain aggregate) read back as 32 would stall.
        T() = default;
        CIFRAMER_AVX2 T(const T& o) { *this = o; }
        CIFRAMER_AVX2 T& operator=(const T& o) {
#pragma GCC unroll 4
            for (int i = 0; i < kPolos; ++i) v[i] = o.v[i];
            return *this;
        }
    };
    CIFRAMER_AVX2 static T Iz(const TStroka& r) {
        T y;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i)
            y.v[i] = _mm256_load_si256(reinterpret_cast<const __m256i*>(r.c + 32 * i));
        return y;
    }
    CIFRAMER_AVX2 static void V(const T& y, TStroka& r) {
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i)
            _mm256_store_si256(reinterpret_cast<__m256i*>(r.c + 32 * i), y.v[i]);
    }
    CIFRAMER_AVX2 static __m256i NeMensheV(__m256i a, __m256i b) { // a >= b, unsigned
        return _mm256_cmpeq_epi8(_mm256_max_epu8(a, b), a);
    }
    // Digits stay below R <= 127, so a digit sum s (below 253) plus 128 - R
    // has its top bit set exactly when s >= R, and equals 127 when s = R-1;
    // and min(v, v - R) (bytes wrapping) is v reduced by R when v >= R.
    CIFRAMER_AVX2 static T Slozhit(const T& x, const T& y, int R, unsigned cin) {
        const __m256i sdvig = _mm256_set1_epi8(static_cast<char>(128 - R));
        const __m256i vR = _mm256_set1_epi8(static_cast<char>(R));
        const __m256i v127 = _mm256_set1_epi8(127);
        T s;
        unsigned __int128 rozhdaet = 0, propuskaet = 0;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) {
            s.v[i] = _mm256_add_epi8(x.v[i], y.v[i]);
            const __m256i t = _mm256_add_epi8(s.v[i], sdvig);
            rozhdaet |= static_cast<unsigned __int128>(std::uint32_t(_mm256_movemask_epi8(t)))
                        << (32 * i);
            propuskaet |= static_cast<unsigned __int128>(
                              std::uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(t, v127))))
                          << (32 * i);
        }
        __m256i perenos[kPolos];
        RazvernutBity(PoluchayutPerenos(rozhdaet, propuskaet, cin), perenos);
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) {
            const __m256i v = _mm256_sub_epi8(s.v[i], perenos[i]); // -1 where a carry comes in
            s.v[i] = _mm256_min_epu8(v, _mm256_sub_epi8(v, vR));
        }
        return s;
    }
    // A place whose digit is below the subtrahend's borrows; one with equal
    // digits passes a borrow on (as a carry runs in Slozhit). Digits below
    // 128 compare as signed bytes; a difference d in -R..R-1 is a byte d + 256
    // (at least 128) when negative, and min(d, d + R) takes R back then.
    CIFRAMER_AVX2 static T Vichest(const T& x, const T& y, int R) {
        const __m256i vR = _mm256_set1_epi8(static_cast<char>(R));
        unsigned __int128 rozhdaet = 0, propuskaet = 0;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) {
            rozhdaet |= static_cast<unsigned __int128>(
                            std::uint32_t(_mm256_movemask_epi8(_mm256_cmpgt_epi8(y.v[i], x.v[i]))))
                        << (32 * i);
            propuskaet |= static_cast<unsigned __int128>(std::uint32_t(
                              _mm256_movemask_epi8(_mm256_cmpeq_epi8(x.v[i], y.v[i]))))
                          << (32 * i);
        }
        __m256i zaem[kPolos];
        RazvernutBity(PoluchayutPerenos(rozhdaet, propuskaet, 0), zaem);
        T r;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) {
            // zaem is -1 where a borrow comes in.
            const __m256i d = _mm256_add_epi8(_mm256_sub_epi8(x.v[i], y.v[i]), zaem[i]);
            r.v[i] = _mm256_min_epu8(d, _mm256_add_epi8(d, vR));
        }
        return r;
    }
    CIFRAMER_AVX2 static void PlyusUlp(T& y, int R) {
        T nol;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) nol.v[i] = _mm256_setzero_si256();
        y = Slozhit(y, nol, R, 1);
    }
    CIFRAMER_AVX2 static __m256i Indeksi(int ot) {
        return _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(kIndeksi + ot)));
    }
    // Keeps the places 0..n-1.
    CIFRAMER_AVX2 static T Ostavit(T y, int n) {
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i)
            y.v[i] = _mm256_and_si256(y.v[i], _mm256_loadu_si256(reinterpret_cast<const __m256i*>(
                                                  kMesta.b + kDlina - n + 32 * i)));
        return y;
    }
    // y moved k places down (k >= 0), zeros coming in at the top.
    CIFRAMER_AVX2 static T VnizNa(const T& y, int k) {
        T s = y;
        const __m256i nol = _mm256_setzero_si256();
        for (; k >= 32; k -= 32) { // whole registers
#pragma GCC unroll 4
            for (int i = 0; i + 1 < kPolos; ++i) s.v[i] = s.v[i + 1];
            s.v[kPolos - 1] = nol;
        }
        // Each half takes its bytes k.. and the first k of the half above.
        const bool dalshe = k >= 16;
        const int b = dalshe ? k - 16 : k;
        const __m256i iA = Indeksi(16 + b), iB = Indeksi(b);
        T r;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) {
            const __m256i sled = i + 1 < kPolos ? s.v[i + 1] : nol;
            const __m256i mezh = _mm256_permute2x128_si256(s.v[i], sled, 0x21);
            const __m256i a = dalshe ? mezh : s.v[i];
            const __m256i c = dalshe ? sled : mezh;
            r.v[i] = _mm256_or_si256(_mm256_shuffle_epi8(a, iA), _mm256_shuffle_epi8(c, iB));
        }
        return r;
    }
    // y moved k places up (k >= 0), zeros coming in at the bottom.
    CIFRAMER_AVX2 static T VverhNa(const T& y, int k) {
        T s = y;
        const __m256i nol = _mm256_setzero_si256();
        for (; k >= 32; k -= 32) {
#pragma GCC unroll 4
            for (int i = kPolos - 1; i > 0; --i) s.v[i] = s.v[i - 1];
            s.v[0] = nol;
        }
        // Each half takes the last k bytes of the half below, then its own.
        const bool dalshe = k >= 16;
        const int b = dalshe ? k - 16 : k;
        const __m256i iA = Indeksi(16 - b), iB = Indeksi(32 - b);
        T r;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) {
            const __m256i pred = i > 0 ? s.v[i - 1] : nol;
            const __m256i mezh = _mm256_permute2x128_si256(pred, s.v[i], 0x21);
            const __m256i a = dalshe ? mezh : s.v[i];
            const __m256i c = dalshe ? pred : mezh;
            r.v[i] = _mm256_or_si256(_mm256_shuffle_epi8(a, iA), _mm256_shuffle_epi8(c, iB));
        }
        return r;
    }
    // The shift of one place, the usual one (alignment and normal form),
    // by byte alignment with an immediate count.
    CIFRAMER_AVX2 static T VnizNa1(const T& y) {
        T r;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) {
            const __m256i sled = i + 1 < kPolos ? y.v[i + 1] : _mm256_setzero_si256();
            r.v[i] = _mm256_alignr_epi8(_mm256_permute2x128_si256(y.v[i], sled, 0x21), y.v[i], 1);
        }
        return r;
    }
    CIFRAMER_AVX2 static T VverhNa1(const T& y) {
        T r;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i) {
            const __m256i pred = i > 0 ? y.v[i - 1] : _mm256_setzero_si256();
            r.v[i] = _mm256_alignr_epi8(y.v[i], _mm256_permute2x128_si256(pred, y.v[i], 0x21), 15);
        }
        return r;
    }
    CIFRAMER_AVX2 static T Sdvig(const T& y, int k) {
        return Ostavit(k == 1 ? VnizNa1(y) : VnizNa(y, k), VM_RAZRYADOV - k);
    }
    CIFRAMER_AVX2 static T SdvigVverh(const T& y, int k) { // nothing reaches the padding
        const T s = Ostavit(y, VM_RAZRYADOV - k);
        return k == 1 ? VverhNa1(s) : VverhNa(s, k);
    }
    // Register i of y (i is a constant where the kernels call these, so
    // one register is looked at, not four).
    CIFRAMER_AVX2 static __m256i Registr(const T& y, int i) {
        return i == 0 ? y.v[0] : i == 1 ? y.v[1] : i == 2 ? y.v[2] : y.v[3];
    }
    // One bit per nonzero place of a register.
    CIFRAMER_AVX2 static std::uint32_t NenulevieV(__m256i v) {
        return ~std::uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, _mm256_setzero_si256())));
    }
    CIFRAMER_AVX2 static bool Nenol(const T& y, int j) {
        return (NenulevieV(Registr(y, j >> 5)) >> (j & 31)) & 1;
    }
    CIFRAMER_AVX2 static bool NenolNizhe(const T& y, int k) {
        if (k <= 32) // the usual shift of one or a few places
            return (std::uint64_t(NenulevieV(y.v[0])) & ((std::uint64_t(1) << k) - 1)) != 0;
        unsigned __int128 m = 0;
#pragma GCC unroll 4
        for (int i = 0; i < kPolos; ++i)
            m |= static_cast<unsigned __int128>(NenulevieV(y.v[i])) << (32 * i);
        return (m & ((static_cast<unsigned __int128>(1) << k) - 1)) != 0;
    }
    // From the top register down: a remainder's leading digit is near the top.
    CIFRAMER_AVX2 static int Starshiy(const T& y) {
#pragma GCC unroll 4
        for (int i = kPolos - 1; i >= 0; --i) {
            const std::uint32_t m = NenulevieV(y.v[i]);
            if (m != 0) return 32 * i + 31 - __builtin_clz(m);
        }
        return -1;
    }
    CIFRAMER_AVX2 static bool NeMenshe(const T& y, int j, int d) {
        const __m256i vd = _mm256_set1_epi8(static_cast<char>(d));
        const __m256i m = NeMensheV(Registr(y, j >> 5), vd);
        return (std::uint32_t(_mm256_movemask_epi8(m)) >> (j & 31)) & 1;
    }
};
static_assert(PolitikaStroki<TAvx2>);

// The version's kernels (flatten: compiled for its instruction set with the row operations
// inlined).
CIFRAMER_AVX2 __attribute__((flatten)) inline void UmnozhitAvx2(vmChislo* a, const vmChislo& p,
                                                                const vmChislo& b) {
    Umnozhit<TAvx2>(a, p, b);
}
CIFRAMER_AVX2 __attribute__((flatten)) inline void DelitAvx2(const vmChislo& b, std::int64_t d,
                                                             vmChislo* r, vmChislo* a, bool celie) {
    Delit<TAvx2>(b, d, r, a, celie);
}

} // namespace vm_detail::stroki
#endif
