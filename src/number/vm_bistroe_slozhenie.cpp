// The faster addition kernel, one version for every instruction set
// (multiplication and division have theirs in yadra/). It gives byte
// for byte the results of the plain kernel in vm_slozhenie.cpp: digit loops
// over aligned rows reproduce its alignment,
// rounding, normalisation and inexact flag exactly. Operands near the
// exponent limits are left to the plain kernels (the callers check
// BistroVozmozhno first).
#include <atomic>
#include <cstring>
#include <utility>

#include "number/vm_vnutrennee.h"
#include "number/vm_yadra.h"
#include "number/vm_arifmetika.h"

namespace vm_detail {

std::atomic<bool> BistrieYadra{true};

namespace {

using Ryad = std::uint8_t[VM_RAZRYADOV];

bool VseNuli(const std::uint8_t* r, int ot, int doPoz) {
    for (int p = ot; p < doPoz; ++p)
        if (r[p] != 0) return false;
    return true;
}

// One unit of the last place added to r, carrying upward (there is room).
void PlyusUlp(std::uint8_t* r, int R) {
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        if (r[p] + 1 < R) {
            ++r[p];
            return;
        }
        r[p] = 0;
    }
}

// y (exponent Py, inexact flag *net) aligned to exponent Py + n, n >= 1:
// shifted right, dropped digits recorded in *net, rounded half-up by the
// first dropped digit unless nothing survived (then it is zero, flag 0).
// Returns false when y became zero.
bool Virovnyat(std::uint8_t* y, int n, int R, std::uint8_t* net) {
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

} // namespace

bool BistroVozmozhno(const vmChislo& x) {
    // Sums of two such exponents, plus the 103 digit places, stay inside the
    // limits.
    constexpr std::int32_t kZapas = VM_PREDEL_PORYADKA / 4;
    return x.Poryadok < kZapas && x.Poryadok > -kZapas && x.Osnovanie >= 2 &&
           x.Osnovanie < kStrokKratnih && vmZnak(&x) != 0 && vmVedushieNuli(&x) == 2;
}

namespace {

// s (exponent *Ps, flag *netS) := s + t as vmPribavit adds two normalised
// positive numbers: the one of the smaller exponent aligned to the other
// (rounded), the digits added, a carry into the second integer digit
// shifted out with rounding (a carry of that rounding is shifted out once
// more: it drops a zero). t is used as scratch.
void SlozhitModuli(std::uint8_t* s, std::int64_t* Ps, std::uint8_t* netS, std::uint8_t* t,
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
    Ryad sum;
    int perenos = 0;
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        int v = x[p] + (estY ? y[p] : 0) + perenos;
        perenos = 0;
        while (v >= R) {
            v -= R;
            ++perenos;
        }
        sum[p] = static_cast<std::uint8_t>(v);
    }
    std::int64_t P = Pt > *Ps ? Pt : *Ps;
    for (int krug = 0; krug < 2 && sum[1] != 0; ++krug) {
        const std::uint8_t c = sum[VM_RAZRYADOV - 1];
        if (c != 0) net = 1;
        std::memmove(sum + 1, sum, VM_RAZRYADOV - 1);
        sum[0] = 0;
        ++P;
        if (c >= (R + 1) / 2) PlyusUlp(sum, R);
    }
    std::memcpy(s, sum, VM_RAZRYADOV);
    *Ps = P;
    *netS = net;
}

// x - y for aligned digits with x >= y.
void VichestRyadi(std::uint8_t* x, const std::uint8_t* y, int R) {
    int zaem = 0;
    for (int p = VM_RAZRYADOV - 1; p >= 0; --p) {
        int dx = x[p];
        const int dy = y[p] + zaem;
        zaem = 0;
        if (dx < dy) {
            dx += R;
            zaem = 1;
        }
        x[p] = static_cast<std::uint8_t>(dx - dy);
    }
}

} // namespace

void PribavitBistroObshchee(vmChislo* a, const vmChislo& b) {
    const int R = Osn(*a);
    Ryad ra, rb;
    VRyad(*a, ra);
    VRyad(b, rb);
    std::int64_t P = a->Poryadok;
    std::uint8_t net = a->Netochnost;
    if (a->Znak == b.Znak) {
        SlozhitModuli(ra, &P, &net, rb, b.Poryadok, b.Netochnost, R);
        IzRyada(*a, ra);
        a->Poryadok = static_cast<std::int32_t>(P);
        a->Netochnost = net;
        return;
    }
    // Opposite signs: the operand of the smaller exponent (b when they are
    // equal) is aligned to the other, the moduli compared, the smaller one
    // subtracted from the larger, whose sign the difference takes.
    std::uint8_t* x = ra;
    std::uint8_t* y = rb;
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
    VichestRyadi(x, y, R);
    int z = 0;
    while (x[z] == 0) ++z;   // the difference is nonzero
    const int sdvig = z - 2; // leading zeros beyond the normal two
    if (sdvig > 0) {
        std::memmove(x, x + sdvig, VM_RAZRYADOV - sdvig);
        std::memset(x + VM_RAZRYADOV - sdvig, 0, sdvig);
        P -= sdvig;
    }
    IzRyada(*a, x);
    a->Znak = znakX;
    a->Poryadok = static_cast<std::int32_t>(P);
    a->Netochnost = (netX | netY) ? 1 : 0;
}

} // namespace vm_detail
