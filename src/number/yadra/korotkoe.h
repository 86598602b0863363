// Division by a short divisor (at most 98 significant digits, their value B
// with B * R below 2^62), where the plain kernel's long division is
// exact integer long division, so the quotient digits come from a machine
// integer remainder, several digits per machine division.
//
// Why no rounding of the plain kernel acts. Let the divisor's last nonzero
// digit have the weight Pb-s+1 (s significant digits) and the remainder r
// the exponent Pr; r always lies below b * R^(w+1), so Pr <= Pb+w+1, and
// the trial product t = q * b * R^w has no digit below Pb-s+1+w >= Pr-s.
// - Pt <= Pr: t is aligned onto r's places, all of which go down to Pr-100:
//   nothing is dropped, the comparison and the difference are exact, and
//   so is the normalised difference.
// - Pt >= Pr+2: t exceeds r by far more than r's rounding.
// - Pt = Pr+1: r loses its last digit (weight Pr-100) to rounding. t is a
//   multiple of R^(Pr-99) above r, so the rounded r reaches t only when
//   t = R^(Pr+1) and r's leading 100 digits are all R-1 and its last one is
//   nonzero. r's two lowest places hold dividend digits untouched by the
//   subtractions (those lie at Pr-s >= Pr-98 and up) while Pr is the
//   dividend's exponent, and zeros once it is below. So a dividend whose
//   last digit is 0, or whose last but one is not R-1, never meets it.
// The digits are then those of the exact quotient, and the remainder is the
// exact one with the dividend's inexact flag, and the divisor's once a
// nonzero digit was subtracted.
#pragma once

#include <cstdint>

#include "number/vm_arifmetika.h"
#include "number/vm_vnutrennee.h"

namespace vm_detail::stroki {

// x / R for x below 2^64 / R, with m = ceil(2^64 / R): the error of the
// product, below x / 2^64 < 1 / R, cannot carry past the fraction of x / R,
// which is at most (R-1) / R. A multiplication, not a division: the digits
// of one number are a chain of them.
inline std::uint64_t NaR(std::uint64_t x, std::uint64_t m) {
    return static_cast<std::uint64_t>((static_cast<unsigned __int128>(x) * m) >> 64);
}

// The divisor's digits as the integer B and their number s; false when they
// are more than 98 or B * R does not stay below 2^62.
inline bool KorotkiyDelitel(const vmChislo& b, int R, std::uint64_t* B, int* s) {
    int posl = VM_RAZRYADOV - 1;
    while (posl > 2 && vmCifra(b, posl) == 0) --posl;
    if (posl > 99) return false; // 99 or more digits
    constexpr std::uint64_t kPredel = std::uint64_t(1) << 62;
    std::uint64_t v = 0;
    for (int p = 2; p <= posl; ++p) {
        v = v * unsigned(R) + vmCifra(b, p);
        if (v >= kPredel / unsigned(R)) return false;
    }
    *B = v;
    *s = posl - 1;
    return true;
}

// The remainder B-sized integer ost at the dividend's index jL (its last
// digit there; index j is the weight Pa - j), the dividend's digits below
// it, normalised into r; zero when nothing is left.
inline void KorotkiyOstatok(vmChislo* r, std::uint64_t ost, int jL, int s, bool vichitali,
                            std::uint8_t netB) {
    const int R = Osn(*r);
    std::uint8_t t[VM_RAZRYADOV + 128 + 101] = {};
    for (int j = jL + 1; j <= VM_DROBNIH_RAZRYADOV; ++j) t[j] = vmCifra(*r, 2 + j);
    const std::uint64_t m = ~std::uint64_t(0) / unsigned(R) + 1;
    for (int j = jL; j > jL - s; --j) {
        const std::uint64_t vish = NaR(ost, m);
        t[j] = static_cast<std::uint8_t>(ost - vish * unsigned(R));
        ost = vish;
    }
    const int konec = jL > VM_DROBNIH_RAZRYADOV ? jL : VM_DROBNIH_RAZRYADOV;
    int j0 = 0;
    while (j0 <= konec && t[j0] == 0) ++j0;
    if (j0 > konec) {
        vmNol(r);
        return;
    }
    vmCifra(*r, 0) = 0;
    vmCifra(*r, 1) = 0;
    for (int i = 0; i <= VM_DROBNIH_RAZRYADOV; ++i) vmCifra(*r, 2 + i) = t[j0 + i];
    r->Poryadok = static_cast<std::int32_t>(r->Poryadok - j0);
    if (vichitali) r->Netochnost = (r->Netochnost | netB) ? 1 : 0;
}

// The plain kernel's quotient digits (cifri[i] of the weight d-i, zero where
// not computed) and remainder for a short divisor (see above); false, with
// nothing changed, where that is not shown.
inline bool DelitKorotko(const vmChislo& b, std::int64_t d, vmChislo* r, std::uint8_t* cifri,
                         bool celie) {
    const int R = Osn(b);
    std::uint64_t B = 0;
    int s = 0;
    if (!KorotkiyDelitel(b, R, &B, &s)) return false;
    if (d != std::int64_t(r->Poryadok) - b.Poryadok || (celie && d < 0)) return false;
    if (vmCifra(*r, VM_RAZRYADOV - 2) == R - 1 && vmCifra(*r, VM_RAZRYADOV - 1) != 0) return false;
    // k digits a step: B * R^k and R^k * R stay below 2^62 (the first for
    // the remainder, the second for NaR on the k digits' quotient).
    int k = 0;
    std::uint64_t Rk = 1;
    const std::uint64_t predel = (std::uint64_t(1) << 62) / unsigned(R);
    while (k < 18 && Rk < predel / B && Rk < predel / unsigned(R)) {
        Rk *= unsigned(R);
        ++k;
    }
    if (k == 0) return false;
    const std::int64_t wMin = celie && d - VM_DROBNIH_RAZRYADOV < 0 ? 0 : d - VM_DROBNIH_RAZRYADOV;
    const int n = static_cast<int>(d - wMin) + 1; // quotient digits
    const auto A = [&](int j) -> unsigned {
        return j <= VM_DROBNIH_RAZRYADOV ? vmCifra(*r, 2 + j) : 0;
    };
    const std::uint64_t m = ~std::uint64_t(0) / unsigned(R) + 1;
    std::uint64_t ost = 0;
    for (int j = 0; j < s - 1; ++j) ost = ost * unsigned(R) + A(j);
    bool vichitali = false;
    for (int i = 0; i < n; i += k) {
        const int kk = n - i < k ? n - i : k;
        std::uint64_t kusok = 0, Rkk = 1;
        for (int u = 0; u < kk; ++u) {
            kusok = kusok * unsigned(R) + A(i + u + s - 1); // the digit of weight Pb-s+1+w
            Rkk *= unsigned(R);
        }
        ost = ost * Rkk + kusok;
        std::uint64_t Q = ost / B;
        ost -= Q * B;
        vichitali |= Q != 0;
        for (int u = kk - 1; u >= 0; --u) { // Q < R^kk <= R^k < 2^62 / R
            const std::uint64_t vish = NaR(Q, m);
            cifri[i + u] = static_cast<std::uint8_t>(Q - vish * unsigned(R));
            Q = vish;
        }
    }
    KorotkiyOstatok(r, ost, n - 1 + s - 1, s, vichitali, b.Netochnost);
    return true;
}

} // namespace vm_detail::stroki
