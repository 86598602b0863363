// The numbers that recent value texts read back as, so that the evaluator,
// which keeps every intermediate value as its value text, need not parse
// again the texts it has just written. Per thread; nothing is shared.
#pragma once

#include <string_view>

#include "number/vm_chislo.h"

// Notes that tekst is the value text of x (TekstZnacheniya). Only numbers
// whose reading vmChisloTekstaZnacheniya works out are noted.
void ZapomnitTekstZnacheniya(std::string_view tekst, const vmChislo& x);

// What vmIzTeksta reads from tekst: the number noted for exactly these bytes,
// else the text read.
vmChislo ProchitatTekst(std::string_view tekst);
