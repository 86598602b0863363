// Text conversion of vmChislo: literals to numbers and numbers to text. It
// rounds with the normalisation of the arithmetic layer.
//
// Any thread; the formatter allocates its text, nothing else allocates, and
// nothing throws. s of vmIzTeksta is written (separators unified).
#pragma once

#include <cstdint>
#include <string>

#include "number/vm_chislo.h"
#include "text/tansistring.h"

// True if the first n characters form a valid literal
// [-]D+[S D+][e[-]d+][r d+] (separator already unified).
bool vmProveritZapis(const char* s, int n);
// Reads a literal; replaces alternative separators in s itself. Never fails
// visibly: an invalid literal is zero in radix 2, a digit outside the radix
// zero in the literal's radix. A radix piece outside 2..126 is invalid.
void vmIzTeksta(vmChislo* x, char* s);
void vmIzTeksta(vmChislo* x, TAnsiString& s);
// Fixed-point text: at least minCelih integer digits, drobnih fraction digits
// (rounded half-up on the magnitude), radix suffix "rR" if sOsnovaniem and
// R != 10, trailing zeros kept if sNulyami.
void vmVTekstFiks(TAnsiString& out, const vmChislo* x, int minCelih, int drobnih, bool sOsnovaniem,
                  bool sNulyami);
// The general formatter; flagi of VM_EKSPONENTA, VM_S_OSNOVANIEM,
// VM_S_NULYAMI, VM_AVTO_EKSPONENTA.
void vmVTekst(TAnsiString& out, const vmChislo* x, int minCelih, int drobnih, std::uint8_t flagi);
// The same bytes into t, whose buffer is reused: no text is made.
void vmVTekst(std::string& t, const vmChislo* x, int minCelih, int drobnih, std::uint8_t flagi);
// The number vmIzTeksta reads back from the value text of x, the text of
// vmVTekst (out, x, 1, VM_DROBNIH_RAZRYADOV, VM_EKSPONENTA | VM_S_OSNOVANIEM),
// with or without "r10" after it, worked out from x's digits instead of
// writing and reading the text. False, and y untouched, for the numbers it is
// not worked out for (not normal, a digit outside the radix, a radix outside
// 2..36, an exponent at or beyond the limits): read their text then.
bool vmChisloTekstaZnacheniya(const vmChislo& x, vmChislo* y);
