// The operator evaluator and its scanners, and the search for the innermost
// bracket group. The evaluator consumes its text from the front and puts the
// text of every intermediate value back in front of the rest, so values travel
// as value texts (peremennie.h) between steps. Calculation thread only.
#pragma once

#include <cstdint>

#include "eval/peremennie.h"
#include "number/vmchislo.h"
#include "text/tansistring.h"

// Character classes of the expression language (Windows-1251 bytes).
// Name characters: digits, a..z, "_" and the lower-case Russian letters
// except "й".
bool EtoSimvolImeni(unsigned char c);
// Operator characters: ^ < > * / % + -
bool EtoZnakOperatora(unsigned char c);
// Blanks: space and horizontal tab.
bool EtoProbel(unsigned char c);

// Innermost bracket group of p.Virazhenie into gruppa: the function name
// (possibly empty, made of name characters), "(", the contents and the first
// ")". True with an empty gruppa when the text holds no bracket. False after
// showing "Не найдена открывающая скобка", "Не найдена закрывающая скобка" or
// "Закрывающая скобка идёт перед открывающей".
bool NaitiSkobki(const TPeremennaya& p, TAnsiString& gruppa);

// Length of the run of blanks / operator characters / name characters at the
// very start of tekst; nachalo is always 0. True when the run is not empty.
bool ProbeliVNachale(TAnsiString tekst, int& nachalo, int& dlina);
bool OperatoriVNachale(TAnsiString tekst, int& nachalo, int& dlina);
bool ImyaVNachale(TAnsiString tekst, int& nachalo, int& dlina);

// Skips the leading blanks (nachalo = their count) and reads a literal
// [-]D+[S D+][e[-]d+][r d+] (D one of the 36 digit characters, S the decimal
// separator, d a decimal digit); a part whose marker is present must be
// complete. dlina is the literal's length. True when a literal was read,
// whatever follows it.
bool ChisloVNachale(TAnsiString tekst, int& nachalo, int& dlina);

// Evaluates a bracket-free expression of literals, names and the operators
// ^ * / % << >> (upper level, left to right) and + - (lower level) into
// rezultat. Literals without a radix mark are read in CurrentRadix; names are
// computed through ZnacheniePeremennoy. Writes one log entry ending in the
// short value text and ";", or in " ошибка вычислений" / " отмена вычислений"
// on failure (then false; a message box is shown only for an unknown
// operator and by the lookups). p is the record being evaluated; it plays no
// part in the result. rezultat may be p.Znachenie.
bool VichislitOperatori(TPeremennaya& p, vmChislo& rezultat, TAnsiString tekst);
