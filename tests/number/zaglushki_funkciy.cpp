// Weak stand-ins so that the arithmetic tests link before the elementary
// functions exist; the real definitions replace them at link time.
#include <cstdlib>

#include "number/vmfunkcii.h"

__attribute__((weak)) vmChislo vmPerevestiVOsnovanie(const vmChislo&, std::uint8_t) { std::abort(); }
__attribute__((weak)) vmChislo vmExp(const vmChislo&, bool) { std::abort(); }
__attribute__((weak)) vmChislo vmPi(std::uint8_t) { std::abort(); }
