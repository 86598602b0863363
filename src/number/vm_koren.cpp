// Square root by Heron's iteration.

#include <atomic>
#include <cstdint>

#include "number/vmarifmetika.h"
#include "number/vmfunkcii.h"
#include "platform/platforma.h"

namespace {

bool Ravni(const vmChislo& a, const vmChislo& b) {
    const vmChislo d = vmRaznost(&a, b);
    return vmZnak(&d) == 0;
}

} // namespace

// sqrt x in x's radix; zero for x <= 0, the infinity value for itself. Heron's iteration
// y := (x / y + y) / 2 from the guess y = x, each division truncated, until
// two successive guesses differ by less than |x| * R^-100 (R^-100 when that
// underflows). The tolerance is relative to x, not to the root, so for x
// below one it can be finer than the root's last digit; the iteration then
// also ends when a guess repeats an earlier one (a cycle of two or more
// values), returning the newer guess. A large x first halves its guess about
// log2 sqrt x times. A stop request (CalcCancelled) ends the iteration at
// once with a meaningless value. x is a const reference, never changed.
// Any thread; nothing is shared.
vmChislo vmKoren(const vmChislo& x) {
    const std::uint8_t R = x.Osnovanie;
    vmChislo rezultat;
    vmKonstanta(&rezultat, 0, R);
    if (vmZnak(&x) <= 0) return rezultat;
    // Heron from the infinity value would halve a finite 1 * R^(2^29 - 1)
    // for billions of steps; the root of infinity is infinity.
    if (x.Poryadok >= VM_PREDEL_PORYADKA) return x;

    vmChislo odin;
    vmKonstanta(&odin, 1, R);
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
