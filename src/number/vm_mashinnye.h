// Decimal text <-> machine numbers (64-bit float, 32-bit integer), for the
// settings fields, the exponent and radix pieces of literals, cache file
// names and decimal suffixes. Radix 10 only. Any thread; messages (when asked
// for) go through ShowError on the calling thread.
#pragma once

#include <cstdint>

#include "text/tansistring.h"

struct TSimvoliChisla {
    char Razdelitel;
    char AltRazdelitel;
    char Eksponenta;         // 'e'
    char EksponentaBolshaya; // 'E' (stored, unused)
    char Minus;
    char Nol;
    char Cifri[10];
    char SimvoliChisla[15];  // digits, '-', ',', '.', 'e', 'E'
};
extern TSimvoliChisla SimvoliChisla;

// Builds SimvoliChisla for a locale whose decimal separator is `razdelitel`
// (anything but ',' makes "." the separator).
void PostroitSimvoliChisla(char razdelitel);

// Builds both literal tables (vmSimvoli and SimvoliChisla) from one separator.
void PostroitTabliciSimvolov(char razdelitel);

// True if the n characters are [-]d+[S d+][e[-]d+].
bool ProveritZapisChisla(const char* s, int n);

constexpr int TVCH_USPEH = 0;
constexpr int TVCH_NEVERNIY_TEKST = -1;
constexpr int TVCH_MNOGO_CIFR = -2;
constexpr int TVCH_PORYADOK = -3;
// Reads n characters as a decimal number; status TVCH_*. With soobshat the
// failure is also shown with ShowError. With outPoryadok the mantissa and the
// decimal exponent are returned apart (out * 10^outPoryadok).
int TekstVChislo(double* out, const char* s, int n, bool soobshat,
                 double* outPoryadok = nullptr);
// First valid decimal number inside the n characters, its length in *len;
// null (and *len = 0) when there is none.
const char* NaytiChisloVTekste(const char* s, int n, int* len);
// Nearest 32-bit integer, halves to the even neighbour; saturates.
std::int32_t Okruglit(double x);
// n in decimal, "-" for negatives.
TAnsiString CeloeVStroku(std::int32_t n);
