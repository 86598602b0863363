// Division by a short divisor (at most 98 significant digits, their value B
// with B * R below 2^126), where the plain kernel's long division is
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

using TCeloe128 = unsigned __int128;

// The divisor's digits as the integer B and their number s; false when they
// are more than 98 or B * R does not stay below 2^126.
inline bool KorotkiyDelitel(const vmChislo& b, int R, TCeloe128* B, int* s) {
    int posl = VM_RAZRYADOV - 1;
    while (posl > 2 && vmCifra(b, posl) == 0) --posl;
    if (posl > 99) return false; // 99 or more digits
    const TCeloe128 predel = (TCeloe128(1) << 126) / unsigned(R);
    TCeloe128 v = 0;
    for (int p = 2; p <= posl; ++p) {
        v = v * unsigned(R) + vmCifra(b, p);
        if (v >= predel) return false;
    }
    *B = v;
    *s = posl - 1;
    return true;
}

// The s digits of x (below R^s) into t[j] and the s-1 places before it:
// pieces of kR digits (R^kR below 2^62 / R) split off by one division each,
// their digits by NaR.
template <typename U>
inline void RazlozhitCifri(U x, int s, std::uint8_t* t, int j, int R, std::uint64_t RkR, int kR) {
    const std::uint64_t m = ~std::uint64_t(0) / unsigned(R) + 1;
    for (int ostalos = s; ostalos > 0; ostalos -= kR) {
        std::uint64_t kusok = static_cast<std::uint64_t>(x % RkR);
        x /= RkR;
        for (int u = 0; u < kR && u < ostalos; ++u) {
            const std::uint64_t vish = NaR(kusok, m);
            t[j--] = static_cast<std::uint8_t>(kusok - vish * unsigned(R));
            kusok = vish;
        }
    }
}

// The remainder B-sized integer ost at the dividend's index jL (its last
// digit there; index j is the weight Pa - j), the dividend's digits below
// it, normalised into r; zero when nothing is left.
template <typename U>
inline void KorotkiyOstatok(vmChislo* r, U ost, int jL, int s, bool vichitali, std::uint8_t netB,
                            std::uint64_t RkR, int kR) {
    const int R = Osn(*r);
    std::uint8_t t[VM_RAZRYADOV + 128 + 101] = {};
    for (int j = jL + 1; j <= VM_DROBNIH_RAZRYADOV; ++j) t[j] = vmCifra(*r, 2 + j);
    RazlozhitCifri(ost, s, t, jL, R, RkR, kR);
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

// The long division of DelitKorotko with the remainder in U (B * R below
// 2^62 for 64 bits, 2^126 for 128): k digits a step, B * R^k below the
// same bound and R^k * R below 2^62, so the k digits' quotient fits NaR.
template <typename U>
inline bool DelitCelimi(const vmChislo& b, std::int64_t d, vmChislo* r, std::uint8_t* cifri,
                        bool celie, U B, int s) {
    const int R = Osn(b);
    const U predel = (U(1) << (sizeof(U) == 8 ? 62 : 126)) / unsigned(R);
    const std::uint64_t predel64 = (std::uint64_t(1) << 62) / unsigned(R);
    int k = 0, kR = 0;
    std::uint64_t Rk = 1, RkR = 1;
    while (kR < 18 && RkR < predel64 / unsigned(R)) {
        if (RkR < predel / B) {
            Rk *= unsigned(R);
            ++k;
        }
        RkR *= unsigned(R);
        ++kR;
    }
    if (k == 0) return false;
    const std::int64_t wMin = celie && d - VM_DROBNIH_RAZRYADOV < 0 ? 0 : d - VM_DROBNIH_RAZRYADOV;
    const int n = static_cast<int>(d - wMin) + 1; // quotient digits
    const auto A = [&](int j) -> unsigned {
        return j <= VM_DROBNIH_RAZRYADOV ? vmCifra(*r, 2 + j) : 0;
    };
    U ost = 0;
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
        const auto Q = static_cast<std::uint64_t>(ost / B); // below R^kk <= R^k
        ost -= U(Q) * B;
        vichitali |= Q != 0;
        RazlozhitCifri(Q, kk, cifri, i + kk - 1, R, RkR, kR);
    }
    KorotkiyOstatok(r, ost, n - 1 + s - 1, s, vichitali, b.Netochnost, RkR, kR);
    return true;
}

// The plain kernel's quotient digits (cifri[i] of the weight d-i, zero where
// not computed) and remainder for a short divisor (see above); false, with
// nothing changed, where that is not shown.
inline bool DelitKorotko(const vmChislo& b, std::int64_t d, vmChislo* r, std::uint8_t* cifri,
                         bool celie) {
    const int R = Osn(b);
    TCeloe128 B = 0;
    int s = 0;
    if (!KorotkiyDelitel(b, R, &B, &s)) return false;
    if (d != std::int64_t(r->Poryadok) - b.Poryadok || (celie && d < 0)) return false;
    if (vmCifra(*r, VM_RAZRYADOV - 2) == R - 1 && vmCifra(*r, VM_RAZRYADOV - 1) != 0) return false;
    if (B < ((std::uint64_t(1) << 62) / unsigned(R)))
        return DelitCelimi<std::uint64_t>(b, d, r, cifri, celie, static_cast<std::uint64_t>(B), s);
    return DelitCelimi<TCeloe128>(b, d, r, cifri, celie, B, s);
}

} // namespace vm_detail::stroki
