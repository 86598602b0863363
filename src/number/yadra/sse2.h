// The SSE2 row policy: rows in memory, 16 digits per instruction, the carry
// (or borrow) run through the whole row as one 128-bit addition.
#pragma once

#if defined(__SSE2__)
#include <immintrin.h>

#include "number/yadra/delenie.h"
#include "number/yadra/stroka.h"
#include "number/yadra/umnozhenie.h"

namespace vm_detail::stroki {

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

using TSse2 = TVPamyati<SlozhitSse2, VichestSse2>;
static_assert(PolitikaStroki<TSse2>);

// The version's kernels.
inline void UmnozhitSse2(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    Umnozhit<TSse2>(a, p, b);
}
inline void DelitSse2(const vmChislo& b, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    Delit<TSse2>(b, d, r, a, celie);
}

} // namespace vm_detail::stroki
#endif
