// The faster long division kernel, written once for every row policy. For
// every quotient digit the plain kernel tries q = R-1, R-2, ... and takes the
// first trial product q * b * R^w that is not above the remainder in
// vmVichest's rounded comparison, then subtracts it. The same digit is found
// here from the ratio r / (b * R^w) in machine floating point, and the
// subtraction works on digit rows; so the digits, the remainder and its
// inexact flag are the plain kernel's.
//
// Why this finds the plain kernel's digit: whenever the remainder is below
// b * R^(w+3) (it always is below b * R^(w+1), up to rounding), two trial
// products one apart differ by b * R^w, far more than the rounding of either
// comparison (half a unit of the 101st digit of the larger operand), so the
// outcome of the comparison falls from "fits" to "does not fit" once as q
// grows, between floor(ratio) and floor(ratio) + 1. So when no integer lies
// within the error bound of the ratio, floor(ratio) is the digit and no
// comparison is needed; otherwise the comparison on q and q + 1 decides.
// A remainder beyond that bound, which the plain division never produces, is
// tried digit by digit from R-1 as the plain kernel does.
#pragma once

#include <cstring>
#include <type_traits>

#include "number/vm_arifmetika.h"
#include "number/yadra/algoritmy.h"
#include "number/yadra/korotkoe.h"

namespace vm_detail::stroki {

// The 2m leading digits of a normalised row as a number in [R^(2m-1),
// R^(2m)), truncated (relative error below R^(1-2m)), from two halves of m
// digits; only ratios of two of them are used. Rm is R^m, stepeni[i] is
// R^(m-1-i): each half is a sum of independent products (exact, below
// 2^37), not a chain of multiplications, as the next digit waits for it.
inline double Verh(const TStroka& r, const std::uint64_t* stepeni, int m, double Rm) {
    const std::uint8_t* c = r.c + kVerh - 2; // the leading digit; lower ones below it
    std::uint64_t hi = 0, lo = 0;
    for (int i = 0; i < m; ++i) {
        hi += c[-i] * stepeni[i];
        lo += c[-m - i] * stepeni[i];
    }
    return static_cast<double>(hi) * Rm + static_cast<double>(lo);
}

// The 2m, the R^m and the R^(m-1-i) of Verh for the radix R: halves of m
// digits, each worth at least 30 bits (and below 2^37), so that the 2m
// digits carry the precision of a double.
struct TStepeni {
    int m = 0;
    std::uint64_t Rm = 1;
    std::uint64_t st[32];
    explicit TStepeni(int R) {
        while (Rm < (std::uint64_t(1) << 30)) {
            Rm *= unsigned(R);
            ++m;
        }
        std::uint64_t p = 1;
        for (int i = m - 1; i >= 0; --i) {
            st[i] = p;
            p *= unsigned(R);
        }
    }
};

// The ratio r / (b * R^w): the quotient digit and the digits after it. It
// goes from one digit to the next as v' = (v - q) * R, and the bound of its
// error grows by the factor R with each digit; it is taken afresh from the
// leading digits of remainder and divisor when that bound has grown too
// large.
struct TOtnoshenie {
    static constexpr double kNeIzvestno = 1e300;
    static constexpr double kPredel = 1e-3; // beyond it, taken afresh
    double v = 0;
    double pogr = kNeIzvestno; // a bound on |v - the true ratio|
};

// The remainder: a normalised positive row, or zero.
template <PolitikaStroki N> struct TOstatok {
    typename N::T r;
    TStroka pamyat; // the same digits in memory, for the scalar comparison
    std::int64_t P;
    std::uint8_t net;
    bool nol;
};

// The difference d (a row at exponent P, its last place the remainder's)
// normalised as the new remainder: moved up over its leading zeros, zeros
// coming in; exact.
// dogadka is a guess of that move (0..100) from the ratio: where it is
// right, the row's move waits only for the guess, not for the search of
// its leading digit (which then only confirms it), so the next subtraction
// need not wait for that search either. A wrong guess costs only time.
template <PolitikaStroki N>
inline void Polozhit(TOstatok<N>& ost, typename N::T d, std::int64_t P, std::uint8_t net,
                     int dogadka = -1) {
    const int h = N::Starshiy(d);
    if (h == (kVerh - 2) - dogadka) [[likely]] {
        if (dogadka > 0) d = N::SdvigVverh(d, dogadka);
        ost.r = d;
        N::V(d, ost.pamyat);
        ost.P = P - dogadka;
        ost.net = net;
        return;
    }
    if (h < 0) {
        ost.nol = true;
        return;
    }
    const int sdvig = (kVerh - 2) - h; // leading zeros beyond the normal two
    if (sdvig > 0) {
        d = N::SdvigVverh(d, sdvig);
        P -= sdvig;
    }
    ost.r = d;
    N::V(d, ost.pamyat);
    ost.P = P;
    ost.net = net;
}

// ost := ost - t (t at exponent Pt, flag netT) as vmVichest computes it when
// the comparison found t not above ost: the operand of the smaller exponent
// aligned and rounded, the digits subtracted, the difference normalised.
template <PolitikaStroki N>
inline void Otnyat(TOstatok<N>& ost, const TStroka& t, std::int64_t Pt, std::uint8_t netT, int R,
                   const typename N::T& nol) {
    typename N::T x = ost.r;
    typename N::T y = N::Iz(t);
    std::uint8_t netX = ost.net, netY = netT;
    std::int64_t P = ost.P;
    if (Pt != ost.P) {
        const bool ostBolshe = ost.P > Pt;
        typename N::T& sdvigaemiy = ostBolshe ? y : x;
        std::uint8_t* netS = ostBolshe ? &netY : &netX;
        const std::int64_t n = ostBolshe ? ost.P - Pt : Pt - ost.P;
        bool est = true;
        const unsigned vverh = Virovnyat<N>(sdvigaemiy, n, R, netS, &est);
        if (!est)
            sdvigaemiy = nol;
        else if (vverh)
            N::PlyusUlp(sdvigaemiy, R);
        if (!ostBolshe) P = Pt;
    }
    Polozhit<N>(ost, N::Vichest(x, y, R), P, (netX | netY) ? 1 : 0);
}

// The same for a t already on the remainder's places (its exponent the
// remainder's, with the rounding of its alignment made and its flag netT).
template <PolitikaStroki N>
inline void OtnyatNaMeste(TOstatok<N>& ost, const TStroka& t, std::uint8_t netT, int R,
                          int dogadka) {
    Polozhit<N>(ost, N::Vichest(ost.r, N::Iz(t), R), ost.P, (ost.net | netT) ? 1 : 0, dogadka);
}

// The multiples of Kratnie as Otnyat aligns them to a remainder one place
// above them: moved one place down, the dropped digit setting the flag and
// rounding half-up. A remainder below b * R^(w+1) lies at the multiple's
// exponent or one above it, so every subtraction of the division takes its
// row ready-made from one of the two tables.
template <PolitikaStroki N>
inline void SdvinutieKratnie(const TStroka* kratnie, const std::uint8_t* netK, int qMax, int R,
                             TStroka* sdvinutie, std::uint8_t* netS) {
    for (int q = 1; q <= qMax; ++q) {
        typename N::T y = N::Iz(kratnie[q]);
        netS[q] = netK[q];
        bool est = true;
        if (Virovnyat<N>(y, 1, R, &netS[q], &est)) N::PlyusUlp(y, R);
        N::V(y, sdvinutie[q]);
    }
}

// What the estimate of every quotient digit reads: the divisor, its
// multiples 0..R-1 as rows with their exponents, and the constants of the
// floating-point ratio (halves of m digits, each worth R^m = Rm).
struct TDelitel {
    const vmChislo& bModul;
    int R;
    int m;
    double Rm;
    const std::uint64_t* stepeni;
    double obratnoeB; // 1 / the divisor's leading 2m digits
    double otnPogr;   // the relative error of a fresh ratio
    double mantissa;  // the divisor's leading digits as a number in [1, R)
    const TStroka* kratnie;
    const std::int64_t* Pk;
};

// The quotient digit of weight w for the remainder ost: from the ratio
// carried in o where no integer lies within its error, else by the rounded
// comparisons of the trial products, starting at the ratio's estimate (or
// from R-1 down beyond the bound of the proof). Updates o for the next digit.
// The guess of Polozhit for the remainder at exponent P after the digit of
// weight w: the ratio o, moved on past that digit, puts the new remainder
// at v * mb * R^(Pb+w-1) (mb the divisor's mantissa), whose exponent is
// Pb+w-1, one more where v * mb >= R, one less where it is below 1. Only a
// guess: a ratio not carried (comparison taken) or an error beyond the
// margin is caught by Polozhit.
inline int Dogadka(const TDelitel& del, const TOtnoshenie& o, std::int64_t P, std::int64_t w) {
    const double x = o.v * del.mantissa;
    const std::int64_t P1 = del.bModul.Poryadok + w - 1 + (x >= del.R ? 1 : 0) - (x < 1 ? 1 : 0);
    const std::int64_t g = P - P1;
    return g < 0 ? 0 : (g > VM_DROBNIH_RAZRYADOV ? VM_DROBNIH_RAZRYADOV : static_cast<int>(g));
}

template <PolitikaStroki N>
inline int CifraChastnogo(const TDelitel& del, const TOstatok<N>& ost, TOtnoshenie& o,
                          std::int64_t w) {
    const int R = del.R;
    const auto vlezaet = [&](int q) {
        return ZnakRaznosti(del.kratnie[q], del.Pk[q] + w, ost.pamyat, ost.P, R) <= 0;
    };
    int q = -1; // not yet known
    if (o.pogr > TOtnoshenie::kPredel) {
        const std::int64_t e = ost.P - (del.bModul.Poryadok + w);
        if (e < -1) {
            q = 0; // r < R^(Pr+1) <= b * R^w / R: far below one trial product
        } else if (e <= 2) {
            o.v = Verh(ost.pamyat, del.stepeni, del.m, del.Rm) * del.obratnoeB;
            if (e < 0) o.v *= 1.0 / R;
            for (std::int64_t i = 0; i < e; ++i) o.v *= R;
            o.pogr = (o.v + 1) * del.otnPogr;
        } else {
            // Beyond the bound of the proof: every digit from R-1 down.
            q = R - 1;
            while (q >= 1 && !vlezaet(q)) --q;
        }
    }
    if (q >= 0) {
        o.pogr = TOtnoshenie::kNeIzvestno;
        return q;
    }
    // No integer within the error (and the ratio below R^2, so the
    // remainder is within the bound): floor(v) fits and the next digit does
    // not, whatever the roundings. Otherwise the comparison decides,
    // starting there.
    const int nizh = static_cast<int>(o.v - o.pogr);
    if (nizh == static_cast<int>(o.v + o.pogr) && o.v + o.pogr < double(R) * R) {
        q = nizh >= R - 1 ? R - 1 : nizh;
        // The bound grows as (pogr + (v' + 1) 2^-50) R; written so that
        // only one multiply-add waits for v', as the next digit waits for
        // the bound (any bound at least the error gives the same digits).
        const double Rd = R;
        const double prezhnyaya = (o.pogr + 0x1p-50) * Rd;
        o.v = (o.v - q) * Rd;
        o.pogr = o.v * (0x1p-50 * Rd) + prezhnyaya;
        return q;
    }
    q = o.v >= R - 1 ? R - 1 : (o.v < 0 ? 0 : static_cast<int>(o.v));
    if (q > 0 && !vlezaet(q)) {
        do --q;
        while (q > 0 && !vlezaet(q));
    } else {
        while (q + 1 < R && vlezaet(q + 1)) ++q;
    }
    o.pogr = TOtnoshenie::kNeIzvestno;
    return q;
}

// The quotient digits cifri[0..100] (of weights d down to d-100) into a: they
// lie within 101 places of the first nonzero one, so the plain kernel's sum
// of them is exact: they are placed directly. a keeps its radix.
inline void RazmestitCifri(vmChislo* a, const std::uint8_t* cifri, std::int64_t d) {
    const std::uint8_t osnovanie = a->Osnovanie;
    vmNol(a);
    a->Osnovanie = osnovanie;
    int i0 = 0;
    while (i0 <= VM_DROBNIH_RAZRYADOV && cifri[i0] == 0) ++i0;
    if (i0 > VM_DROBNIH_RAZRYADOV) return;
    a->CelayaChast[0] = cifri[i0];
    std::memcpy(a->DrobnayaChast, cifri + i0 + 1, VM_DROBNIH_RAZRYADOV - i0);
    a->Poryadok = static_cast<std::int32_t>(d - i0);
}

// Rows kept in registers: their arithmetic is cheap, and the subtraction
// waits mostly on the one before it, so the ready-made aligned multiples
// and the guessed move pay. Rows in memory pay for the table and gain
// little: they keep the plain alignment and the search of the leading digit.
template <PolitikaStroki N>
inline constexpr bool kVRegistrah = !std::is_same_v<typename N::T, TStroka>;

template <PolitikaStroki N>
inline void Delit(const vmChislo& bModul, std::int64_t d, vmChislo* r, vmChislo* a, bool celie) {
    std::uint8_t cifri[VM_DROBNIH_RAZRYADOV + 1] = {};
    if (DelitKorotko(bModul, d, r, cifri, celie)) {
        RazmestitCifri(a, cifri, d);
        return;
    }
    const int R = Osn(bModul);
    TStroka pustaya{};
    const typename N::T nol = N::Iz(pustaya);
    // The multiples, then the same one place down (SdvinutieKratnie).
    TStroka kratnie[2 * kStrokKratnih];
    std::int64_t Pk[kStrokKratnih];
    std::uint8_t netK[2 * kStrokKratnih];
    Kratnie<N>(bModul, R - 1, R, kratnie, Pk, netK);
    if constexpr (kVRegistrah<N>)
        SdvinutieKratnie<N>(kratnie, netK, R - 1, R, kratnie + kStrokKratnih, netK + kStrokKratnih);
    const TStepeni st(R);
    const int m = st.m;
    // R^(1-2m) from R^m (exact in a double): its two roundings (2^-52 of a
    // term below 2^-50) are far inside the 2^-47 allowed for roundings.
    const double R12m = double(R) / (double(st.Rm) * double(st.Rm));
    // The relative error of a fresh ratio: both operands cut to 2m digits,
    // the floating-point roundings, and (far below them) the roundings of the
    // trial comparison and of the trial products.
    const double verhB = Verh(kratnie[1], st.st, m, double(st.Rm));
    const double otnPogr = 2 * R12m + 0x1p-47;
    const TDelitel del{bModul,       R,       m, double(st.Rm), st.st, 1.0 / verhB, otnPogr,
                       verhB * R12m, kratnie, Pk};
    TOstatok<N> ost;
    VStroku(*r, ost.pamyat);
    ost.r = N::Iz(ost.pamyat);
    ost.P = r->Poryadok;
    ost.net = r->Netochnost;
    ost.nol = false; // the caller passes a positive normalised remainder
    TOtnoshenie o;
    for (int k = 0; k >= -VM_DROBNIH_RAZRYADOV && !ost.nol; --k) {
        if (celie && d + k < 0) break;
        const std::int64_t w = d + k;
        const int q = CifraChastnogo<N>(del, ost, o, w);
        if (q == 0) continue;
        // The row by index, not by a branch: which of the two it is
        // follows the remainder's digits and is not predictable.
        const std::int64_t Pt = Pk[q] + w;
        const std::uint64_t n = static_cast<std::uint64_t>(ost.P - Pt);
        if (kVRegistrah<N> && n <= 1)
            OtnyatNaMeste<N>(ost, kratnie[n * kStrokKratnih + q], netK[n * kStrokKratnih + q], R,
                             Dogadka(del, o, ost.P, w));
        else
            Otnyat<N>(ost, kratnie[q], Pt, netK[q], R, nol);
        cifri[-k] = static_cast<std::uint8_t>(q);
    }
    if (ost.nol) {
        vmNol(r);
    } else {
        IzStroki(*r, ost.pamyat);
        r->Poryadok = static_cast<std::int32_t>(ost.P);
        r->Netochnost = ost.net;
    }
    RazmestitCifri(a, cifri, d);
}

} // namespace vm_detail::stroki
