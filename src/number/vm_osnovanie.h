// Helpers of the radix conversion (vmPerevestiVOsnovanie in vmfunkcii.h).
#pragma once

#include <cstdint>

#include "number/vmchislo.h"

// a = a / m for a small integer m (2..255) in a's radix: the same truncated
// quotient as vmRazdelit (a, m) gives (digits of the weights R^d down to
// R^(d-100), d = a.Poryadok - floor(log_R m), nothing rounded), in one pass
// over the digits instead of a trial product per digit value. Sign and radix
// are kept, Netochnost becomes 0, zero stays zero; m < 2 leaves a unchanged.
// Any thread; a is the only state touched.
void vmRazdelitNaMaloe(vmChislo* a, std::uint8_t m);
