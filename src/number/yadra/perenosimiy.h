// The portable row policy: one digit at a time, any processor.
#pragma once

#include "number/yadra/delenie.h"
#include "number/yadra/stroka.h"
#include "number/yadra/umnozhenie.h"

namespace vm_detail::stroki {

// sum = x + y + cin (cin 0 or 1 at the last place) for digits below R <= 127:
// a digit sum and a carry stay below 256, so the lanes add bytes without
// overflow. sum may be x or y. Every version gives
// these bytes.
inline void SlozhitPerenosimo(TStroka& sum, const TStroka& x, const TStroka& y, int R,
                              unsigned cin) {
    unsigned perenos = cin;
    for (int j = 0; j < kDlina; ++j) {
        const unsigned v = x.c[j] + y.c[j] + perenos;
        perenos = v >= unsigned(R);
        sum.c[j] = static_cast<std::uint8_t>(perenos ? v - R : v);
    }
}

// x - y for digits below R and x >= y. r may be x or y.
// permutations (VBMI).
inline void VichestPerenosimo(TStroka& r, const TStroka& x, const TStroka& y, int R) {
    int zaem = 0;
    for (int j = 0; j < kDlina; ++j) {
        const int v = x.c[j] - y.c[j] - zaem;
        zaem = v < 0;
        r.c[j] = static_cast<std::uint8_t>(zaem ? v + R : v);
    }
}

using TPerenosimiy = TVPamyati<SlozhitPerenosimo, VichestPerenosimo>;
static_assert(PolitikaStroki<TPerenosimiy>);

// The version's kernels.
inline void UmnozhitPerenosimo(vmChislo* a, const vmChislo& p, const vmChislo& b) {
    Umnozhit<TPerenosimiy>(a, p, b);
}
inline void DelitPerenosimo(const vmChislo& b, std::int64_t d, vmChislo* r, vmChislo* a,
                            bool celie) {
    Delit<TPerenosimiy>(b, d, r, a, celie);
}

} // namespace vm_detail::stroki
