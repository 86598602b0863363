// The algorithms the fast kernels share, written once in the row operations
// of a policy: the normal form, the alignment, the addition of a partial
// product, the table of multiples and the scalar comparison of division.
#pragma once

#include "number/yadra/stroka.h"

namespace vm_detail::stroki {

// The running sum of the partial products, normalised.
template <PolitikaStroki N> struct TSumma {
    typename N::T s;
    std::int64_t P;
    std::uint8_t net;
};

// The normal form after an addition: a carry into position 1 is shifted out,
// the dropped digit setting the flag and rounding half-up (one more unit at
// the last place); a carry of that rounding is shifted out once more (it
// drops a zero).
template <PolitikaStroki N>
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
template <PolitikaStroki N>
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

// x + y + cin by the policy's addition for the chain of partial products
// where it has one (the same digits as N::Slozhit).
template <PolitikaStroki N>
inline typename N::T SlozhitChlen(const typename N::T& x, const typename N::T& y, int R,
                                  unsigned cin) {
    if constexpr (requires { N::SlozhitSrazu(x, y, R, cin); })
        return N::SlozhitSrazu(x, y, R, cin);
    else
        return N::Slozhit(x, y, R, cin);
}

// sum := sum + t (t normalised at exponent Pt with flag netT) as vmPribavit
// adds two positive normalised numbers.
template <PolitikaStroki N>
inline void DobavitChlen(TSumma<N>& sum, typename N::T t, std::int64_t Pt, std::uint8_t netT,
                         int R) {
    bool est = true;
    unsigned cin = 0;
    if (Pt > sum.P) { // the partial product is the larger: the sum is aligned to it
        cin = Virovnyat<N>(sum.s, Pt - sum.P, R, &sum.net, &est);
        const std::uint8_t net = sum.net | netT;
        sum.s = est ? SlozhitChlen<N>(t, sum.s, R, cin) : t;
        sum.P = Pt;
        sum.net = net;
    } else {
        if (Pt < sum.P) cin = Virovnyat<N>(t, sum.P - Pt, R, &netT, &est);
        sum.net |= netT;
        if (est) sum.s = SlozhitChlen<N>(sum.s, t, R, cin);
    }
    Normalizovat<N>(sum.s, &sum.P, R, &sum.net);
}

// |p| * q for q = 1..qMax as vmUmnogitNaCifru gives them: the exact
// product, then the normal form with its one rounding; each keeps p's
// inexact flag or sets it. The exact products are made in four independent
// chains (q |p| = (q - 4) |p| + 4 |p|), not one, so that the additions
// overlap: each is below R^103 (q < R, |p| < R^101 in units of its last
// place), so every sum is exact and the same row whatever the order of its
// terms.
template <PolitikaStroki N>
inline void Kratnie(const vmChislo& p, int qMax, int R, TStroka* stroki, std::int64_t* P,
                    std::uint8_t* net) {
    TStroka r;
    VStroku(p, r);
    typename N::T tochnie[4];
    tochnie[0] = N::Iz(r);
    for (int q = 2; q <= qMax && q <= 4; ++q)
        tochnie[q - 1] = N::Slozhit(tochnie[q - 2], tochnie[0], R, 0);
    const typename N::T chetire = tochnie[qMax >= 4 ? 3 : 0]; // used only past 4
    for (int q = 1; q <= qMax; ++q) {
        typename N::T& tochnoe = tochnie[(q - 1) % 4];
        if (q > 4) tochnoe = N::Slozhit(tochnoe, chetire, R, 0);
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
