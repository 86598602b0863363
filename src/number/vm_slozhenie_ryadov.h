// The steps of the fast addition, once, over a kind of digit row: the
// portable kernel (vm_bistroe_slozhenie.cpp) runs them on plain rows a digit
// at a time, the x86 one (vm_slozhenie_slovami.cpp) on padded rows eight
// digits a word. Either gives byte for byte the plain kernel's result
// (vm_slozhenie.cpp): the operand of the smaller exponent aligned to the
// other and rounded half-up by its first dropped digit, the moduli added or
// the smaller subtracted from the larger, the sum's carry shifted out with
// rounding, the difference moved over its leading zeros, the inexact flags
// joined. Operands pass BistroVozmozhno (normalised, one radix, away from
// the exponent limits). Internal to the number module.
//
// A row kind O supplies:
//   O::TRyad                  storage of one row (103 places, place 0 the
//                             most significant; padding as it needs);
//   O::VRyad(x, ryad)         x's digits into ryad, returning place 0;
//   O::IzRyada(x, r)          the digits of row r into x;
//   O::Slozhit(x, y, s, R)    s := x + y for aligned rows whose sum has no
//                             carry out of place 0 (s may be x);
//   O::Vichest(x, y, R)       x := x - y for aligned rows with x >= y.
// The padding of a row stays zero through every step here.
#pragma once

#include <cstdint>
#include <cstring>
#include <utility>

#include "number/vm_arifmetika.h"
#include "number/vm_vnutrennee.h"

namespace vm_detail::slozhenie {

inline bool VseNuli(const std::uint8_t* r, int ot, int doPoz) {
    for (int p = ot; p < doPoz; ++p)
        if (r[p] != 0) return false;
    return true;
}

// One unit of the last place added to r, carrying upward (there is room).
inline void PlyusUlp(std::uint8_t* r, int R) {
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        if (r[p] + 1 < R) {
            ++r[p];
            return;
        }
        r[p] = 0;
    }
}

// y (inexact flag *net) aligned n places down, n >= 1, as vmVirovnyat does:
// the dropped digits recorded in *net, rounded half-up by the first dropped
// digit unless nothing survived (then zero, flag 0). False when y became
// zero.
inline bool Virovnyat(std::uint8_t* y, int n, int R, std::uint8_t* net) {
    if (n >= 104) {
        *net = 0;
        return false;
    }
    if (!VseNuli(y, VM_RAZRYADOV - n, VM_RAZRYADOV)) *net = 1;
    const std::uint8_t c = y[VM_RAZRYADOV - n];
    std::memmove(y + n, y, VM_RAZRYADOV - n);
    std::memset(y, 0, n);
    if (VseNuli(y, n, VM_RAZRYADOV)) {
        *net = 0;
        return false;
    }
    if (c >= (R + 1) / 2) PlyusUlp(y, R);
    return true;
}

// The larger-exponent row of s (exponent *Ps, flag *netS) and t (Pt, netT),
// positive and normalised, plus the other aligned to it: the row that holds
// the sum is returned (s or t), its exponent and flag in *Ps, *netS. A carry
// into the second integer digit is shifted out with rounding, at most twice
// (the second drops a zero).
template <class O>
std::uint8_t* SlozhitModuli(std::uint8_t* s, std::int64_t* Ps, std::uint8_t* netS, std::uint8_t* t,
                            std::int64_t Pt, std::uint8_t netT, int R) {
    std::uint8_t* x = s;
    std::uint8_t* y = t;
    std::uint8_t* netY = &netT;
    if (Pt > *Ps) { // t is the larger: s is aligned to it
        x = t;
        y = s;
        netY = netS;
    }
    const std::int64_t n = Pt > *Ps ? Pt - *Ps : *Ps - Pt;
    bool estY = true;
    if (n > 0) estY = Virovnyat(y, static_cast<int>(n < 104 ? n : 104), R, netY);
    std::uint8_t net = *netS | netT;
    if (estY) O::Slozhit(x, y, x, R);
    std::int64_t P = Pt > *Ps ? Pt : *Ps;
    for (int krug = 0; krug < 2 && x[1] != 0; ++krug) {
        const std::uint8_t c = x[VM_RAZRYADOV - 1];
        if (c != 0) net = 1;
        std::memmove(x + 1, x, VM_RAZRYADOV - 1);
        x[0] = 0;
        ++P;
        if (c >= (R + 1) / 2) PlyusUlp(x, R);
    }
    *Ps = P;
    *netS = net;
    return x;
}

// *a += b by the steps above.
template <class O> void Pribavit(vmChislo* a, const vmChislo& b) {
    const int R = Osn(*a);
    typename O::TRyad ryadA, ryadB;
    std::uint8_t* x = O::VRyad(*a, ryadA);
    std::uint8_t* y = O::VRyad(b, ryadB);
    std::int64_t P = a->Poryadok;
    std::uint8_t net = a->Netochnost;
    if (a->Znak == b.Znak) {
        O::IzRyada(*a, SlozhitModuli<O>(x, &P, &net, y, b.Poryadok, b.Netochnost, R));
        a->Poryadok = static_cast<std::int32_t>(P);
        a->Netochnost = net;
        return;
    }
    // Opposite signs: the operand of the smaller exponent (b when they are
    // equal) is aligned to the other, the moduli compared, the smaller one
    // subtracted from the larger, whose sign the difference takes.
    std::uint8_t netX = a->Netochnost, netY = b.Netochnost;
    std::uint8_t znakX = a->Znak, znakY = b.Znak;
    if (b.Poryadok > a->Poryadok) {
        std::swap(x, y);
        std::swap(netX, netY);
        std::swap(znakX, znakY);
        P = b.Poryadok;
    }
    std::int64_t n = std::int64_t(a->Poryadok) - b.Poryadok;
    if (n < 0) n = -n;
    bool estY = true;
    if (n > 0) estY = Virovnyat(y, static_cast<int>(n < 104 ? n : 104), R, &netY);
    if (!estY) std::memset(y, 0, VM_RAZRYADOV);
    const int m = std::memcmp(x, y, VM_RAZRYADOV);
    if (m == 0) {
        vmNol(a);
        return;
    }
    if (m < 0) {
        std::swap(x, y);
        znakX = znakY;
    }
    O::Vichest(x, y, R);
    int z = 0;
    while (x[z] == 0) ++z;   // the difference is nonzero
    const int sdvig = z - 2; // leading zeros beyond the normal two
    if (sdvig > 0) {
        std::memmove(x, x + sdvig, VM_RAZRYADOV - sdvig);
        std::memset(x + VM_RAZRYADOV - sdvig, 0, sdvig);
        P -= sdvig;
    }
    O::IzRyada(*a, x);
    a->Znak = znakX;
    a->Poryadok = static_cast<std::int32_t>(P);
    a->Netochnost = (netX | netY) ? 1 : 0;
}

} // namespace vm_detail::slozhenie
