// The warnings of the evaluator: where an operation or a function took a
// value the input did not mean (an argument outside a function's domain, a
// division by zero, a result beyond the exponent range). Each looks at the
// operands and the result an operation has already computed, so the values
// stay exactly as they are; outside a run (no TZapisProgona on the thread)
// they do nothing. Calculation thread only.
#pragma once

#include <string>
#include <string_view>

#include "eval/funkcii_tablica.h"
#include "number/vm_chislo.h"

// What the checks ask of a value besides vmEtoBeskonechnost: zero, an
// integer (no fraction digit at all).
namespace vm_priznaki {
bool Nol(const vmChislo& x);
bool Celoe(const vmChislo& x);
} // namespace vm_priznaki

// After levoe op pravoe = rezultat on the upper level or in the additive
// chain.
void ProveritOperaciyu(std::string_view op, const vmChislo& levoe, const vmChislo& pravoe,
                       const vmChislo& rezultat);

// After the call of f on a (b for two arguments) gave r; a as passed to the
// computation.
void ProveritVizov(const TFunkciya& f, const vmChislo& a, const vmChislo& b, const vmChislo& r);

// True for a literal whose letters are a function name or "pi" in capitals
// ("SIN", "PI"): a word that reads as a literal only by its case.
bool PohozheNaImya(std::string_view literal);
