// The AVX2 row policy: rows in memory, 32 digits per instruction. Only the
// functions marked CIFRAMER_AVX2 use the instructions, so the file builds
// for any x86-64 processor; the table runs them only where they exist.
#pragma once

#if defined(__x86_64__)
#include <immintrin.h>

#include "number/yadra/delenie.h"
#include "number/yadra/stroka.h"
#include "number/yadra/umnozhenie.h"

namespace vm_detail::stroki {

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

using TAvx2 = TVPamyati<SlozhitAvx2, VichestAvx2>;
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
