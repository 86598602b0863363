// Conversion of a number to another radix.
//
// To a larger radix the digit string is rebuilt in the target radix, where
// it is an integer held exactly. To a smaller radix the digits are found
// greedily from the top with all work in the source radix p. The weights
// q^k, q^(k-1), ..., q^(k-100) of the target digits are made exactly where
// they can be: q^k by binary powering with the module's multiplication (one
// divided by that power for k < 0) and each following weight by an exact
// short division by q, so that integers and fractions with a finite
// expansion in radix q (255 -> FF, 0.5 -> 0.1 in radix 2) convert without a
// wrong tail.
#include <cstdint>

#include "number/vm_osnovanie.h"

#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

void vmRazdelitNaMaloe(vmChislo* a, std::uint8_t m) {
    if (m < 2) return;
    if (vmZnak(a) == 0) {
        vmNol(a);
        return;
    }
    const int R = a->Osnovanie;
    int stepenM = 0;
    for (int t = m; t >= R; t /= R) ++stepenM;
    const std::int64_t verh = static_cast<std::int64_t>(a->Poryadok) + 2; // weight of position 0
    const std::int64_t d = static_cast<std::int64_t>(a->Poryadok) - stepenM;
    if (d <= -static_cast<std::int64_t>(VM_PREDEL_PORYADKA)) {
        vmNol(a);
        return;
    }

    vmChislo q = *a;
    for (int p = 0; p < VM_RAZRYADOV; ++p) vmCifra(q, p) = 0;
    q.Poryadok = static_cast<std::int32_t>(d);
    q.Netochnost = 0;
    // The quotient is below R^(d+3), so its digits fit the weights d+2 ..
    // d-100, which are the positions 0..102 of q.
    int ostatok = 0;
    for (std::int64_t w = verh; w >= d - VM_DROBNIH_RAZRYADOV; --w) {
        const std::int64_t pa = verh - w;
        ostatok = ostatok * R + (pa < VM_RAZRYADOV ? vmCifra(*a, static_cast<int>(pa)) : 0);
        const std::int64_t pq = d + 2 - w;
        if (pq >= 0) vmCifra(q, static_cast<int>(pq)) = static_cast<std::uint8_t>(ostatok / m);
        ostatok %= m;
    }
    vmNormalizovat(&q);
    if (vmZnak(&q) == 0) vmNol(&q);
    *a = q;
}

namespace {

// q^k in the radix of obrazec. Binary powering: exact whenever every square
// and product fits the 101 digits; k < 0 divides one by q^|k|.
vmChislo StepenCelogo(const vmChislo& obrazec, int q, std::int64_t k) {
    vmChislo rez;
    vmIzCelogo32(&rez, &obrazec, 1);
    vmChislo osnova;
    vmIzCelogo32(&osnova, &obrazec, q);
    std::uint64_t n = static_cast<std::uint64_t>(k < 0 ? -k : k);
    while (n != 0) {
        if (n & 1U) vmUmnogit(&rez, osnova);
        n >>= 1;
        if (n != 0) vmUmnogit(&osnova, osnova);
    }
    if (k < 0) {
        vmChislo edinica;
        vmIzCelogo32(&edinica, &obrazec, 1);
        vmRazdelit(&edinica, rez);
        return edinica;
    }
    return rez;
}

vmChislo NolV(std::uint8_t q) {
    vmChislo z;
    z.Osnovanie = q;
    vmNol(&z);
    return z;
}

vmChislo BeskonechnostV(std::uint8_t q, std::uint8_t znak) {
    vmChislo z;
    z.Osnovanie = q;
    z.Znak = znak;
    vmBeskonechnost(&z);
    return z;
}

// |x| (normalised, nonzero, finite, in radix p < q) re-expressed in the
// larger radix q, with the sign znak. Every digit string of radix p is an
// integer that radix q holds with no more digits, so the mantissa is built
// exactly by Horner's rule in radix q; the power of p is then applied by one
// multiplication or one truncating division. Exact whenever the value and
// the power fit the 101 digits of radix q (0.1r2 is 0.5, 7.0625 is 7.1r16).
vmChislo VBolsheeOsnovanie(const vmChislo& X, std::uint8_t q, std::uint8_t znak) {
    const int p = X.Osnovanie;
    int posledniy = VM_RAZRYADOV - 1;
    while (posledniy > 2 && vmCifra(X, posledniy) == 0) --posledniy;

    vmChislo M = NolV(q);
    vmChislo cifra;
    for (int poz = 0; poz <= posledniy; ++poz) {
        if (OtmenaZaproshena()) return NolV(q);
        vmUmnogitNaCifru(&M, static_cast<std::uint8_t>(p));
        if (vmCifra(X, poz) != 0) {
            vmIzCelogo32(&cifra, &M, vmCifra(X, poz));
            vmPribavit(&M, cifra);
        }
    }
    // |x| = M * p^n.
    const std::int64_t n = static_cast<std::int64_t>(X.Poryadok) + 2 - posledniy;
    if (n > 0) {
        vmUmnogit(&M, StepenCelogo(M, p, n));
    } else if (n < 0) {
        vmRazdelit(&M, StepenCelogo(M, p, -n));
    }
    if (vmZnak(&M) == 0) return NolV(q);
    M.Znak = znak;
    return M;
}

} // namespace

// x in radix q. Zero gives zero and the infinity value (exponent 2^29 or
// more) the infinity value of radix q with x's sign, without any digit work.
// To a larger radix the value is rebuilt in radix q (VBolsheeOsnovanie); to
// a smaller radix the digits are found greedily against the weights q^k ..
// q^(k-100), q^k <= |x| < q^(k+1), and truncated after the last of them.
// Either way the result is exact when radix q can hold the value, otherwise
// truncated near its 101st significant digit, and normalised; a result
// beyond the exponent limits gives infinity or zero. x's own radix q gives a
// copy of x, as does a target radix below 2. Polls OtmenaZaproshena() once per
// digit and then returns zero at once. Any thread; touches the constant
// cache only through vmLn.
namespace {

// First estimate of floor(log_q |X|) for a normalised X of radix p:
// round(E * ln p / ln q) + 1. With E = 0 the product is zero whatever the
// logarithms are, so they are not needed.
std::int64_t OcenkaPoryadka(const vmChislo& X, int p, std::uint8_t q) {
    if (X.Poryadok == 0) return 1;
    vmChislo P, Q, t;
    vmIzCelogo32(&P, &X, p);
    vmIzCelogo32(&Q, &X, q);
    vmIzCelogo32(&t, &X, X.Poryadok);
    vmChislo otnoshenie = vmLn(P, true);
    vmRazdelit(&otnoshenie, vmLn(Q, true));
    vmUmnogit(&t, otnoshenie);
    return static_cast<std::int64_t>(vmVCeloe32(&t, true)) + 1;
}

// The digits of X in radix q from the weight U = q^k down, each the largest
// d in 0..q-1 with d * U <= the rest; into R (radix q) from place 2 on.
// False on a stop request.
bool CifriVOsnovanii(vmChislo X, vmChislo U, std::uint8_t q, vmChislo& R) {
    for (int poz = 0; poz <= VM_DROBNIH_RAZRYADOV; ++poz) {
        if (OtmenaZaproshena()) return false;
        if (poz > 0) vmRazdelitNaMaloe(&U, q);
        // Nothing left to express, or weights below the exponent limit:
        // the remaining digits are zero.
        if (vmZnak(&X) == 0 || vmZnak(&U) == 0) break;

        // By bisection (d * U grows with d).
        int nizh = 0, verh = q - 1;
        vmChislo luchshee;
        while (nizh < verh) {
            const int d = (nizh + verh + 1) / 2;
            vmChislo T = U;
            vmUmnogitNaCifru(&T, static_cast<std::uint8_t>(d));
            if (vmMensheIliRavno(&T, &X)) {
                nizh = d;
                luchshee = T;
            } else {
                verh = d - 1;
            }
        }
        if (nizh > 0) vmVichest(&X, luchshee);
        vmCifra(R, 2 + poz) = static_cast<std::uint8_t>(nizh);
    }
    return true;
}

} // namespace

vmChislo vmPerevestiVOsnovanie(const vmChislo& x, std::uint8_t q) {
    const int p = x.Osnovanie;
    if (p == q || q < 2) return x;
    if (vmZnak(&x) == 0 || p < 2) return NolV(q);
    if (x.Poryadok >= VM_PREDEL_PORYADKA) return BeskonechnostV(q, x.Znak);

    vmChislo X = x;
    X.Znak = 0;
    vmNormalizovat(&X);
    if (vmZnak(&X) == 0) return NolV(q);
    if (X.Poryadok >= VM_PREDEL_PORYADKA) return BeskonechnostV(q, x.Znak);
    if (q > p) return VBolsheeOsnovanie(X, q, x.Znak);

    // The estimate is at most two above floor(log_q |x|) and less than
    // log_q p + 1 below it; start two below and raise k exactly until
    // q^k <= |x| < q^(k+1).
    std::int64_t k = OcenkaPoryadka(X, p, q) - 2;
    if (k >= VM_PREDEL_PORYADKA) return BeskonechnostV(q, x.Znak);
    if (k + 10 < -static_cast<std::int64_t>(VM_PREDEL_PORYADKA)) return NolV(q);

    vmChislo U = StepenCelogo(X, q, k);
    if (vmZnak(&U) == 0) return NolV(q);
    for (int shag = 0; shag < 16; ++shag) {
        vmChislo T = U;
        vmUmnogitNaCifru(&T, q);
        if (!vmMensheIliRavno(&T, &X)) break;
        U = T;
        ++k;
    }
    if (k >= VM_PREDEL_PORYADKA) return BeskonechnostV(q, x.Znak);
    if (k <= -static_cast<std::int64_t>(VM_PREDEL_PORYADKA)) return NolV(q);

    vmChislo R = NolV(q);
    if (!CifriVOsnovanii(X, U, q, R)) return NolV(q);
    R.Poryadok = static_cast<std::int32_t>(k);
    R.Znak = x.Znak;
    vmNormalizovat(&R);
    if (vmZnak(&R) == 0) return NolV(q);
    return R;
}
