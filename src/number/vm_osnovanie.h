// Conversion of a number to another radix. The arithmetic brings operands of
// two radixes to one through it; it estimates the digit count with
// logarithms of the function layer, so the two call each other; every
// operation the conversion asks for has operands of one radix, so the
// arithmetic never converts again from inside a conversion.
#pragma once

#include <cstdint>

#include "number/vm_chislo.h"

// a = a / m for a small integer m (2..255) in a's radix: the same truncated
// quotient as vmRazdelit (a, m) gives (digits of the weights R^d down to
// R^(d-100), d = a.Poryadok - floor(log_R m), nothing rounded), in one pass
// over the digits instead of a trial product per digit value. Sign and radix
// are kept, Netochnost becomes 0, zero stays zero; m < 2 leaves a unchanged.
// Any thread; a is the only state touched.
void vmRazdelitNaMaloe(vmChislo* a, std::uint8_t m);

// x re-expressed in radix q (2..36), truncated after the 100th fraction digit.
vmChislo vmPerevestiVOsnovanie(const vmChislo& x, std::uint8_t q);
