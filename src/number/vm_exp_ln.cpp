// Exponential, logarithms and powers on vmChislo at the working width.
//
// Every logarithm is reduced to a logarithm in the number's own radix
// (exponent plus the logarithm of the mantissa) and every power to a power of
// the radix (a shift by the integer part, the exponential series for the
// fraction). The two series are the only loops that can run long; both poll
// OtmenaZaproshena() between terms. e^n and ln n for whole n = 0..255 are memoised
// per radix in the constant cache, and only a series that ran to its own
// stopping rule (no stop request) is ever stored there.
//
// Common to every function here: arguments are const references that are
// never changed (they may alias each other); results are new values in the
// operand's radix (the larger radix for two operands). Nothing is rounded
// specially: each series term is a truncated division and each sum rounds
// half-up at the 100th fraction digit, so results are good to about 100
// digits (the exponential series) or about 92 (anything through a logarithm).
// Callable from any thread; the constant cache guards its own entries.
//
// Operation order matters for the last digit: multiplication and division are
// not symmetric in their rounding, so every product below is written as
// vmUmnogit(left factor, right factor) in the order of the formulas.

#include <atomic>
#include <cstdint>

#include "number/vm_kesh.h"
#include "number/vm_ryadi.h"
#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

using vm_detail::Dopusk;
using vm_detail::Konstanta;
using vm_detail::Modul;

namespace {

// The radix R as a number: one moved up one place ("10" in radix R).
vmChislo ChisloOsnovaniya(std::uint8_t R) {
    vmChislo x = Konstanta(VM_K_EDINICA, R);
    vmUmnogitNaStepen(&x, 1);
    return x;
}

// Memo key of x: floor(x) when x is within R^-52 above a whole number that
// lies in 0..255, else -1 (no memo slot). Any x that close to n shares n's
// entry.
int KlyuchPamyati(const vmChislo& x) {
    if (!vmEtoCeloe(&x)) return -1;
    vmChislo f;
    vmCeloe(&f, &x, -1);
    std::int32_t n = vmVCeloe32(&f, false);
    return static_cast<std::uint32_t>(n) < 256u ? static_cast<int>(n) : -1;
}

// True when x is a whole number: its fractional part is exactly zero (a
// number just above a whole one is not).
bool EtoTochnoCeloe(const vmChislo& x) {
    vmChislo drobnaya;
    vmDrobnaya(&drobnaya, &x);
    return vmZnak(&drobnaya) == 0;
}

// a^n by binary powering with vmUmnogit; a negative n divides one by a^|n|.
// Exact whenever every intermediate power fits in 101 digits.
vmChislo StepenCelaya(const vmChislo& a, std::int32_t n) {
    vmChislo rezultat = Konstanta(VM_K_EDINICA, a.Osnovanie);
    vmChislo baza = a;
    std::uint32_t m = n < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(n))
                            : static_cast<std::uint32_t>(n);
    while (m != 0) {
        if (m & 1u) vmUmnogit(&rezultat, baza);
        m >>= 1;
        if (m != 0) vmUmnogit(&baza, baza);
    }
    if (n < 0) {
        vmChislo odin = Konstanta(VM_K_EDINICA, a.Osnovanie);
        rezultat = vmChastnoe(&odin, &rezultat);
    }
    return rezultat;
}

} // namespace

// e^x in x's radix.
// series = false: the memoised e^n when x is within R^-52 above a whole n in
// 0..255 and that entry is known, else vmStepen(e, x). series = true: the
// Taylor sum of x^k/k! (each term a fresh truncated division), stopped at the
// first term below |partial sum| * R^-100, the partial sum taken at the term
// of index |floor x|; the sum is stored as e^n when x is the whole n.
// Meant for small |x| (the sum needs about |x| terms before it can stop).
// A stop request ends the series at once; that value is meaningless and is
// not stored. Any thread.
vmChislo vmExp(const vmChislo& x, bool series) {
    const std::uint8_t R = x.Osnovanie;
    const int n = KlyuchPamyati(x);
    if (n >= 0) {
        vmChislo v;
        if (KeshNayti(VidKonstanti::Exp, R, n, &v)) return v;
    }
    if (!series) return vmStepen(Konstanta(VM_K_E, R), x);

    const vmChislo odin = Konstanta(VM_K_EDINICA, R);
    vmChislo P = odin, F = odin, c = Konstanta(VM_K_NOL, R), S = Konstanta(VM_K_NOL, R), T;
    bool estDopusk = false;
    std::int64_t m = vmVCeloe32(&x, false);
    if (m < 0) m = -m;
    for (std::int64_t k = 0;; ++k) {
        if (OtmenaZaproshena()) return S;
        vmChislo term = vmChastnoe(&P, &F);
        vmPribavit(&S, term);
        term = Modul(term);
        if (estDopusk && vmMenshe(&term, &T)) break;
        if (k == m) {
            T = Dopusk(S, 100);
            estDopusk = true;
        }
        vmPribavit(&c, odin);
        vmUmnogit(&F, c);
        vmUmnogit(&P, x);
    }
    // Only the value of n itself is remembered as e^n: a series for an x just
    // above n found the memo empty but is not e^n.
    if (n >= 0 && EtoTochnoCeloe(x) && !OtmenaZaproshena())
        return KeshZapolnit(VidKonstanti::Exp, R, n, S);
    return S;
}

// ln x in x's radix. x < 0 gives zero, x = 0 negative infinity, an infinite x
// itself. Otherwise the memoised ln n when x is within R^-52 above a known
// whole n in 0..255. series = false: vmLog(e, x). series = true: x is brought
// into (1/e, e) by whole powers of e (k of them), then
// ln x = k + 2 artanh((x-1)/(x+1)), the artanh series stopped at the first
// term below |first term| * R^-92 (R^-92 when that is zero); the result is
// stored as ln n when x is the whole n. Accurate to about 92 digits.
// A stop request ends the series; that value is not stored. Any thread.
vmChislo vmLn(const vmChislo& x, bool series) {
    const std::uint8_t R = x.Osnovanie;
    const std::int8_t znak = vmZnak(&x);
    if (znak < 0) return Konstanta(VM_K_NOL, R);
    if (znak == 0) return Konstanta(VM_K_MINUS_BESKONECHNOST, R);
    if (x.Poryadok >= VM_PREDEL_PORYADKA) return x;

    const int n = KlyuchPamyati(x);
    if (n >= 0) {
        vmChislo v;
        if (KeshNayti(VidKonstanti::Ln, R, n, &v)) return v;
    }
    const vmChislo e = Konstanta(VM_K_E, R);
    if (!series) return vmLog(e, x);

    const vmChislo odin = Konstanta(VM_K_EDINICA, R);
    vmChislo k = Konstanta(VM_K_NOL, R);
    const vmChislo r = vmChastnoe(&odin, &e);
    vmChislo z = x;
    while (vmBolsheIliRavno(&z, &e)) {
        if (OtmenaZaproshena()) return k;
        vmPribavit(&k, odin);
        vmUmnogit(&z, r);
    }
    while (vmMensheIliRavno(&z, &r)) {
        if (OtmenaZaproshena()) return k;
        vmVichest(&k, odin);
        vmUmnogit(&z, e);
    }

    const vmChislo chislitel = vmRaznost(&z, odin);
    const vmChislo znamenatel = vmSumma(&z, odin);
    const vmChislo y = vmChastnoe(&chislitel, &znamenatel);
    const vmChislo y2 = vmProizvedenie(&y, &y);
    const vmChislo dva = vmSumma(&odin, odin);
    vmChislo P = y, d = odin, S = Konstanta(VM_K_NOL, R), T;
    bool estDopusk = false;
    for (int i = 0;; ++i) {
        if (OtmenaZaproshena()) return S;
        vmChislo term = vmChastnoe(&P, &d);
        vmPribavit(&S, term);
        term = Modul(term);
        if (estDopusk && vmMenshe(&term, &T)) break;
        if (i == 0) {
            T = Dopusk(S, 92);
            estDopusk = true;
        }
        vmPribavit(&d, dva);
        vmUmnogit(&P, y2);
    }
    vmChislo rezultat = k;
    vmPribavit(&rezultat, vmProizvedenie(&dva, &S));
    if (n >= 0 && EtoTochnoCeloe(x) && !OtmenaZaproshena())
        return KeshZapolnit(VidKonstanti::Ln, R, n, rezultat);
    return rezultat;
}

// log_R x with R = x's radix: the exponent of x plus ln(mantissa) / ln R,
// both logarithms by the series (so memoised ln R is reused). Meant for
// x > 0; zero gives negative infinity and the infinity value itself (as
// vmLn does), not the exponent limit 2^29 its digits would give. Any thread.
vmChislo vmLogOsnovaniya(const vmChislo& x) {
    const std::uint8_t R = x.Osnovanie;
    if (x.Poryadok >= VM_PREDEL_PORYADKA && vmZnak(&x) > 0) return x;
    vmChislo mantissa = x;
    mantissa.Poryadok = 0;
    vmChislo E;
    vmIzCelogo32(&E, &x, x.Poryadok);
    const vmChislo lnM = vmLn(mantissa, true);
    const vmChislo lnR = vmLn(ChisloOsnovaniya(R), true);
    vmPribavit(&E, vmChastnoe(&lnM, &lnR));
    return E;
}

namespace {

// The logarithms agree with the truth to about 92 digits, so a logarithm
// whose exact value is a whole number n (log(2;8)) would show a tail in its
// last digits. When L lies within |n| * R^-80 of n and a^n, by exact binary
// powering, is x itself, n is returned instead of L; otherwise L. Only for
// a > 0, x > 0, both finite.
vmChislo CeloeEsliTochno(const vmChislo& L, const vmChislo& a, const vmChislo& x) {
    if (vmZnak(&a) <= 0 || vmZnak(&x) <= 0 || a.Poryadok >= VM_PREDEL_PORYADKA ||
        x.Poryadok >= VM_PREDEL_PORYADKA || vmZnak(&L) == 0 || L.Poryadok > 9)
        return L;
    vmChislo n;
    vmCeloe(&n, &L, 0);
    if (vmZnak(&n) == 0) return L;
    vmChislo dopusk = Modul(n);
    vmRazdelitNaStepen(&dopusk, 80);
    const vmChislo d = Modul(vmRaznost(&L, n));
    if (!vmMensheIliRavno(&d, &dopusk)) return L;
    const vmChislo stepen = StepenCelaya(a, vmVCeloe32(&n, false));
    const vmChislo raznost = vmRaznost(&stepen, x);
    return vmZnak(&raznost) == 0 ? n : L;
}

} // namespace

// log_a x = log_R x / log_R a, after a and x are brought to the larger of
// their radixes (the result has that radix); a whole-number logarithm that
// a^n confirms exactly is given exactly (log(2;8) = 3). Base 1 divides by
// zero and gives infinity. Any thread.
vmChislo vmLog(const vmChislo& a, const vmChislo& x) {
    vmChislo osnovanie = a, chislo = x;
    if (osnovanie.Osnovanie != chislo.Osnovanie) vmObshcheeOsnovanie(&osnovanie, &chislo);
    const vmChislo lx = vmLogOsnovaniya(chislo);
    const vmChislo la = vmLogOsnovaniya(osnovanie);
    return CeloeEsliTochno(vmChastnoe(&lx, &la), osnovanie, chislo);
}

// R^y in y's radix: R^floor(y) exactly (a shift) times e^(f ln R) for the
// fraction f by the series. floor(y) >= 2^29 gives infinity, <= -2^29 zero.
// Any thread.
vmChislo vmStepenOsnovaniya(const vmChislo& y) {
    const std::uint8_t R = y.Osnovanie;
    const std::int32_t n = vmVCeloe32(&y, false);
    if (n >= VM_PREDEL_PORYADKA) return Konstanta(VM_K_PLYUS_BESKONECHNOST, R);
    if (n <= -VM_PREDEL_PORYADKA) return Konstanta(VM_K_NOL, R);
    vmChislo celaya;
    vmIzCelogo32(&celaya, &y, n);
    const vmChislo f = vmRaznost(&y, celaya);
    const vmChislo lnR = vmLn(ChisloOsnovaniya(R), true);
    vmChislo B = Konstanta(VM_K_EDINICA, R);
    vmUmnogitNaStepen(&B, n);
    vmUmnogit(&B, vmExp(vmProizvedenie(&f, &lnR), true));
    return B;
}

// a^x in the larger radix of a and x.
// x a whole number (its fractional part exactly zero; an x just above a whole
// number is not one) with |x| < 2^31: binary powering by vmUmnogit, a
// negative x dividing one by the power, so integer powers whose digits fit
// are exact (3^2 = 9, 2^100); 0^0 = 1, 0^x = 0 for x > 0 and +inf for x < 0.
// Otherwise R^(x log_R |a|); a negative a then gives zero for a
// non-whole x and the sign of (-1)^x for a whole one. Any thread.
vmChislo vmStepen(const vmChislo& a, const vmChislo& x) {
    vmChislo osnovanie = a, pokazatel = x;
    if (osnovanie.Osnovanie != pokazatel.Osnovanie) vmObshcheeOsnovanie(&osnovanie, &pokazatel);
    const std::uint8_t R = osnovanie.Osnovanie;

    const bool celiy = EtoTochnoCeloe(pokazatel);
    if (celiy) {
        vmChislo f;
        vmCeloe(&f, &pokazatel, -1);
        vmChislo predel;
        vmIzCelogo32(&predel, &f, 2147483647);
        f = Modul(f);
        if (vmMensheIliRavno(&f, &predel))
            return StepenCelaya(osnovanie, vmVCeloe32(&pokazatel, false));
    }

    bool smenitZnak = false;
    if (vmZnak(&osnovanie) < 0) {
        osnovanie.Znak = 0;
        if (!celiy) return Konstanta(VM_K_NOL, R);
        vmChislo dva = Konstanta(VM_K_EDINICA, R);
        vmPribavit(&dva, Konstanta(VM_K_EDINICA, R));
        vmChislo ostatok;
        vmDelenieSOstatkom(&pokazatel, dva, &ostatok);
        smenitZnak = vmZnak(&ostatok) != 0;
    }
    const vmChislo la = vmLogOsnovaniya(osnovanie);
    vmChislo rezultat = vmStepenOsnovaniya(vmProizvedenie(&la, &pokazatel));
    if (smenitZnak && vmZnak(&rezultat) != 0) rezultat.Znak ^= 1;
    return rezultat;
}
