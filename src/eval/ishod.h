// The outcome of one calculation run, as the engine hands it to a front end:
// whether a value came out, the value, where a failure happened, every
// message the run showed and every warning it gave. Front ends read this,
// never message texts or the variable table.
//
// Positions: a line is the 1-based index of a line of the definitions text
// (0: none); a span is a 0-based byte offset and a length within that line,
// in its Windows-1251 bytes, which are its characters one to one (a span
// whose start is -1 is not known). Plain values; any thread.
#pragma once

#include <cstdint>
#include <vector>

#include "number/vm_chislo.h"
#include "text/tansistring.h"

// What a warning is about. A warning never changes a value, a message, the
// log or how the run ends: it says where the run took a value that the input
// did not mean literally.
enum class TVidPreduprezhdeniya : std::uint8_t {
    NeChislo,        // a literal whose digits are not all valid in its radix, read as 0
    ImyaKakChislo,   // a word like a function or constant name, read as a literal
    VneOblasti,      // a function argument outside its domain
    DelenieNaNol,    // "/" or "%" by zero
    Perepolnenie,    // a result beyond the exponent range, taken as infinity
    PoteryaPoryadka, // a non-zero result below the exponent range, taken as zero
    PovtornoeImya,   // a name defined again; the first definition is used
};

struct TPreduprezhdenie {
    TVidPreduprezhdeniya Vid = TVidPreduprezhdeniya::NeChislo;
    std::int32_t Stroka = 0;   // line of the definitions text, 0 when none
    std::int32_t Nachalo = -1; // span in that line, -1 when not known
    std::int32_t Dlina = 0;
    TAnsiString Tekst; // the whole warning, quoting the text and the value used
};

// One message shown during the run (by ShowError), in order.
struct TSoobshenie {
    TAnsiString Tekst;       // exactly as shown
    std::int32_t Stroka = 0; // line of the definition it is about, 0 when none
};

enum class TSostoyanieProgona : std::uint8_t {
    Gotovo,     // a value was shown
    Oshibka,    // the run ended without a value after its messages
    Ostanovlen, // a stop request ended it
};

struct TIshod {
    TSostoyanieProgona Sostoyanie = TSostoyanieProgona::Oshibka;
    // With Gotovo: the value in the radix shown and its text as shown.
    vmChislo Znachenie;
    TAnsiString Tekst;
    // With Oshibka (and Ostanovlen, when a definition was under evaluation):
    // the innermost definition that failed, its name, and the span of the
    // offending text in its line where that is known.
    std::int32_t Stroka = 0;
    TAnsiString Imya;
    std::int32_t Nachalo = -1;
    std::int32_t Dlina = 0;
    // Every message of the run, in the order shown.
    std::vector<TSoobshenie> Soobsheniya;
    // Every warning, once each, in the order given.
    std::vector<TPreduprezhdenie> Preduprezhdeniya;
};
