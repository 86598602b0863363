// Square root by Heron's iteration.

#include <atomic>
#include <cstdint>

#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

namespace {

bool Ravni(const vmChislo& a, const vmChislo& b) {
    const vmChislo d = vmRaznost(&a, b);
    return vmZnak(&d) == 0;
}

// Heron's iteration y := (x / y + y) / 2 from the guess y = x, each
// division truncated, until two successive guesses differ by less than
// |x| * R^-100 (R^-100 when that underflows). x is positive and finite. The
// tolerance is relative to x, not to the root: it is good to the root's
// last digits only for x up to about R^100, and for x below one it can be
// finer than the root's last digit; the iteration then also ends when a
// guess repeats an earlier one (a cycle of two or more values), returning
// the newer guess. A large x first halves its guess about log2 sqrt x times,
// a small one about log2 (1 / sqrt x) times. A stop request ends it at once.
vmChislo Geron(const vmChislo& x) {
    const std::uint8_t R = x.Osnovanie;
    vmChislo odin;
    vmKonstanta(&odin, VM_K_EDINICA, R);
    const vmChislo dva = vmSumma(&odin, odin);
    vmChislo T = x;
    T.Znak = 0;
    vmRazdelitNaStepen(&T, 100);
    if (vmZnak(&T) == 0) {
        T = odin;
        vmRazdelitNaStepen(&T, 100);
    }

    // With truncated divisions the last guesses can also circle through
    // more than two values (sqrt 0.002 repeats a cycle of four), which the
    // two-value test never sees. Any cycle is caught by comparing each guess
    // with a remembered one that is renewed after 1, 2, 4, 8, ... steps
    // (Brent): once the guesses circle, a renewal falls inside the cycle and
    // the guess comes back to it within the cycle's length. This test comes
    // after the others, so an iteration they end ends exactly as before.
    vmChislo y = x, predPred = x, zapomnennoe = x;
    bool estPredPred = false;
    std::uint64_t shagov = 0, doObnovleniya = 1;
    for (;;) {
        if (OtmenaZaproshena()) return y;
        const vmChislo old = y;
        const vmChislo chastnoe = vmChastnoe(&x, &old);
        const vmChislo summa = vmSumma(&chastnoe, old);
        y = vmChastnoe(&summa, &dva);
        vmChislo d = vmRaznost(&old, y);
        d.Znak = 0;
        if (vmMenshe(&d, &T)) break;
        if (estPredPred && Ravni(y, predPred)) break;
        if (Ravni(y, zapomnennoe)) break;
        predPred = old;
        estPredPred = true;
        if (++shagov == doObnovleniya) {
            zapomnennoe = y;
            shagov = 0;
            doObnovleniya *= 2;
        }
    }
    return y;
}

// True when R^-200 <= x <= R^100, where Heron's iteration runs on x itself:
// there it is quick and good to about the last digit. Outside,
// x = m * R^(2k) with 1 <= m < R^2 and the root is sqrt(m) * R^k, the shift
// being exact. x is positive and finite.
bool VPredelahGerona(const vmChislo& x) {
    if (x.Poryadok < -200) return false;
    if (x.Poryadok < 100) return true;
    vmChislo predel;
    vmKonstanta(&predel, VM_K_EDINICA, x.Osnovanie);
    vmUmnogitNaStepen(&predel, 100);
    return vmMensheIliRavno(&x, &predel);
}

} // namespace

// sqrt x in x's radix; zero for x <= 0, the infinity value for itself. For
// R^-200 <= x <= R^100 Heron's iteration on x (see Geron); otherwise the
// iteration on the mantissa m of x = m * R^(2k) (1 <= m < R^2) and the
// exponent k added exactly, so every root takes the same few steps and is
// good to about the last digit. A stop request (OtmenaZaproshena()) ends the
// iteration at once with a meaningless value. x is a const reference, never
// changed. Any thread; nothing is shared.
vmChislo vmKoren(const vmChislo& x) {
    vmChislo rezultat;
    vmKonstanta(&rezultat, VM_K_NOL, x.Osnovanie);
    if (vmZnak(&x) <= 0) return rezultat;
    // Heron from the infinity value would halve a finite 1 * R^(2^29 - 1)
    // for billions of steps; the root of infinity is infinity.
    if (x.Poryadok >= VM_PREDEL_PORYADKA) return x;
    if (VPredelahGerona(x)) return Geron(x);

    // k = floor(E / 2), so the mantissa keeps the exponent 0 or 1.
    const std::int32_t E = x.Poryadok;
    const std::int32_t k = E >= 0 ? E / 2 : -((1 - E) / 2);
    vmChislo m = x;
    m.Poryadok = E - 2 * k;
    rezultat = Geron(m);
    vmUmnogitNaStepen(&rezultat, k);
    return rezultat;
}
