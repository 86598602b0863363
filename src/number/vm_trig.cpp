// Trigonometric functions and pi on vmChislo, angles in radians.
//
// sin and cos are Taylor sums (each term a fresh truncated division of the
// running power by the running factorial), arctan a series after at most one
// half-angle step, the inverse functions are built on arctg2. Pi (vm_pi.cpp)
// is the root of sin x = 1/2 times 6, found once per radix and kept in the
// constant cache.
// Every loop that can run long polls OtmenaZaproshena() between steps; a value
// computed under a stop request is never stored in the cache.
//
// Arguments are const references that are never changed (they may alias);
// results are new values in the argument's radix. Each series term is a
// truncated division and each sum rounds half-up at the 100th fraction digit;
// the series stop at R^-100 relative to their first terms, pi at R^-92, so
// anything that uses pi (period reduction, the arctangent of |t| > 1, arccos)
// is good to about 92 digits, the rest to about 100. Callable from any thread.
//
// Products and sums are written in the order of the formulas: the rounding of
// vmUmnogit depends on which factor is on the left.

#include <atomic>
#include <cstdint>

#include "number/vm_ryadi.h"
#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

using vm_detail::Dopusk;
using vm_detail::Konstanta;
using vm_detail::Modul;

namespace {

// Changes the sign of a nonzero x; zero stays positive.
void SmenitZnak(vmChislo* x) {
    if (vmZnak(x) != 0) x->Znak ^= 1;
}

// |term| < T.
bool MenshePoModulyu(const vmChislo& term, const vmChislo& T) {
    const vmChislo m = Modul(term);
    return vmMenshe(&m, &T);
}

// x reduced by whole periods 2 pi into (-pi, pi], computed on |x| (the caller
// restores the sign it needs). Each step removes at most about 100 digits of
// magnitude (q has 101 digits), so |x| near R^k needs about k/100 steps; and
// when q * 2pi rounds above x the remainder is negative and the step ends
// there. Not meant for an infinite x, which has no remainder (vmSin and vmCos
// answer it before reducing).
vmChislo PrivestiKPeriodu(const vmChislo& x) {
    const vmChislo P = vmPi(x.Osnovanie);
    const vmChislo W = vmSumma(&P, P);
    vmChislo z = Modul(x);
    do {
        if (OtmenaZaproshena()) return z;
        vmChislo q;
        const vmChislo chastnoe = vmChastnoe(&z, &W);
        vmCeloe(&q, &chastnoe, -1);
        vmVichest(&z, vmProizvedenie(&q, &W));
    } while (!vmMenshe(&z, &W));
    if (vmBolshe(&z, &P)) vmVichest(&z, W);
    return z;
}

} // namespace

// sin x in x's radix. reduce: x is first brought into (-pi, pi] by whole
// periods (which computes pi in this radix once), and the sign of x is kept so
// that sin(-x) = -sin(x) exactly. Then x - x^3/3! + x^5/5! - ..., stopped at
// the first term below |x| * R^-100 (the first partial sum; R^-100 when that
// underflows). Without reduce only small |x| are meant. An infinite x has
// no period to reduce by and gives the infinity value with its own sign (the
// series of it would never stop). A stop request ends the sum with a
// meaningless value. Any thread.
vmChislo vmSin(const vmChislo& x, bool reduce) {
    const std::uint8_t R = x.Osnovanie;
    if (vmEtoBeskonechnost(&x)) return x;
    vmChislo z = x;
    if (reduce) {
        z = PrivestiKPeriodu(x);
        if (x.Znak != 0) SmenitZnak(&z);
    }
    const vmChislo odin = Konstanta(VM_K_EDINICA, R);
    const vmChislo dva = vmSumma(&odin, odin);
    vmChislo a = Konstanta(VM_K_NOL, R), b = odin, D = odin, G = z, S = Konstanta(VM_K_NOL, R), T;
    const vmChislo x2 = vmProizvedenie(&z, &z);
    bool estDopusk = false;
    for (int i = 0;; ++i) {
        if (OtmenaZaproshena()) return S;
        const vmChislo term = vmChastnoe(&G, &D);
        vmPribavit(&S, term);
        if (estDopusk && MenshePoModulyu(term, T)) return S;
        if (i == 0) {
            T = Dopusk(S, 100);
            estDopusk = true;
        }
        vmPribavit(&a, dva);
        vmPribavit(&b, dva);
        vmUmnogit(&D, vmProizvedenie(&a, &b));
        vmUmnogit(&G, x2);
        SmenitZnak(&G);
    }
}

// cos x in x's radix. reduce: x is first brought into [0, pi] by whole periods
// and its sign dropped (an argument that reduces to exactly pi stays pi and
// gives -1). Then 1 - x^2/2! + x^4/4! - ..., stopped at the first term below
// |1 - x^2/2 + x^4/24| * R^-100 (R^-100 when that underflows); the test starts
// at the fourth term. An infinite x gives the positive infinity value (no
// period to reduce by). A stop request ends the sum with a meaningless value.
// Any thread.
vmChislo vmCos(const vmChislo& x, bool reduce) {
    const std::uint8_t R = x.Osnovanie;
    if (vmEtoBeskonechnost(&x)) return Modul(x);
    vmChislo z = x;
    if (reduce) {
        z = PrivestiKPeriodu(x);
        z.Znak = 0;
    }
    const vmChislo odin = Konstanta(VM_K_EDINICA, R);
    const vmChislo dva = vmSumma(&odin, odin);
    vmChislo a = Konstanta(VM_K_NOL, R), D = odin, G = odin, S = Konstanta(VM_K_NOL, R), T;
    const vmChislo x2 = vmProizvedenie(&z, &z);
    bool estDopusk = false;
    for (int i = 0;; ++i) {
        if (OtmenaZaproshena()) return S;
        const vmChislo term = vmChastnoe(&G, &D);
        vmPribavit(&S, term);
        if (estDopusk && MenshePoModulyu(term, T)) return S;
        if (i == 2) {
            T = Dopusk(S, 100);
            estDopusk = true;
        }
        vmPribavit(&a, dva);
        const vmChislo aMinusOdin = vmRaznost(&a, odin);
        vmUmnogit(&D, vmProizvedenie(&aMinusOdin, &a));
        vmUmnogit(&G, x2);
        SmenitZnak(&G);
    }
}

// tg x = sin x / cos x, both reduced; a zero cosine gives infinity with the
// sine's sign, and so does an infinite x (x itself, not infinity / infinity).
// Any thread.
vmChislo vmTg(const vmChislo& x) {
    if (vmEtoBeskonechnost(&x)) return x;
    const vmChislo s = vmSin(x, true);
    const vmChislo c = vmCos(x, true);
    return vmChastnoe(&s, &c);
}

// The angle whose tangent is y/x, in (-pi/2, 3pi/2): arctan(y/x) for x >= 0,
// arctan(y/x) + pi for x < 0, +-pi/2 by the sign of y for x = 0 (and pi/2 for
// y = x = 0). Constants are made in y's radix; the result has the larger radix
// of y and x. |y/x| > 1 is inverted, a quotient above 1/2 is halved once by
// tan(a/2) = (sqrt(1 + t^2) - 1)/t, and the arctan series stops at the first
// term below |first term| * R^-100. A stop request ends the series with a
// meaningless value. Any thread.
vmChislo vmArctg2(const vmChislo& y, const vmChislo& x) {
    const std::uint8_t R = y.Osnovanie;
    const vmChislo odin = Konstanta(VM_K_EDINICA, R);
    const vmChislo dva = vmSumma(&odin, odin);
    const vmChislo polovina = vmChastnoe(&odin, &dva);
    const vmChislo P = vmPi(R);

    vmChislo r;
    if (vmZnak(&x) == 0) {
        vmKonstanta(&r, VM_K_PLYUS_BESKONECHNOST, R);
        r.Znak = y.Znak;
    } else {
        r = vmChastnoe(&y, &x);
    }
    const vmChislo t = Modul(r);
    const bool obratnoe = vmBolshe(&t, &odin);
    vmChislo z = obratnoe ? vmChastnoe(&odin, &t) : t;
    const bool popolam = vmBolshe(&z, &polovina);
    if (popolam) {
        vmChislo kvadrat = vmProizvedenie(&z, &z);
        vmPribavit(&kvadrat, odin);
        const vmChislo koren = vmKoren(kvadrat);
        const vmChislo chislitel = vmRaznost(&koren, odin);
        z = vmChastnoe(&chislitel, &z);
    }

    vmChislo G = z, d = odin, S = Konstanta(VM_K_NOL, R), T;
    const vmChislo z2 = vmProizvedenie(&z, &z);
    bool plus = true, estDopusk = false;
    for (int i = 0;; ++i) {
        if (OtmenaZaproshena()) return S;
        vmChislo term = vmChastnoe(&G, &d);
        if (vmZnak(&term) != 0) term.Znak = plus ? 0 : 1;
        vmPribavit(&S, term);
        if (estDopusk && MenshePoModulyu(term, T)) break;
        if (i == 0) {
            T = Dopusk(S, 100);
            estDopusk = true;
        }
        plus = !plus;
        vmPribavit(&d, dva);
        vmUmnogit(&G, z2);
    }

    if (popolam) vmUmnogit(&S, dva);
    if (obratnoe) {
        vmChislo polPi = vmChastnoe(&P, &dva);
        vmVichest(&polPi, S);
        S = polPi;
    }
    if (vmZnak(&r) < 0) SmenitZnak(&S);
    if (vmZnak(&x) < 0) vmPribavit(&S, P);
    return S;
}

// arctan x in (-pi/2, pi/2]: vmArctg2(x, 1). Any thread.
vmChislo vmArctg(const vmChislo& x) {
    return vmArctg2(x, Konstanta(VM_K_EDINICA, x.Osnovanie));
}

// arcsin x = arctan(x / sqrt(1 - x^2)). No domain test: |x| >= 1 makes the
// root zero, the quotient infinite, and the result pi/2 with x's sign.
// Any thread.
vmChislo vmArcsin(const vmChislo& x) {
    const vmChislo odin = Konstanta(VM_K_EDINICA, x.Osnovanie);
    const vmChislo kvadrat = vmProizvedenie(&x, &x);
    const vmChislo koren = vmKoren(vmRaznost(&odin, kvadrat));
    return vmArctg(vmChastnoe(&x, &koren));
}

// arccos x = pi/2 - arcsin x: 0 for x >= 1, pi for x <= -1. Any thread.
vmChislo vmArccos(const vmChislo& x) {
    const std::uint8_t R = x.Osnovanie;
    const vmChislo P = vmPi(R);
    const vmChislo odin = Konstanta(VM_K_EDINICA, R);
    const vmChislo dva = vmSumma(&odin, odin);
    vmChislo rezultat = vmChastnoe(&P, &dva);
    vmVichest(&rezultat, vmArcsin(x));
    return rezultat;
}
