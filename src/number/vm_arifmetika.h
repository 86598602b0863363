// Arithmetic on vmChislo: addition, subtraction, comparison, scaling,
// multiplication, division, integer parts, machine integers.
//
// Operands of different radixes are first brought to the larger radix
// (vmObshcheeOsnovanie), which computes logarithms through the constant cache:
// that may fill the cache, and a stop request during it gives a meaningless
// value (zero) as every long loop does. Otherwise nothing allocates and
// nothing fails: results are values (zero, infinity). A zero result is always
// positive zero. A sum, scaling, product or quotient at or beyond R^(2^29) is
// exactly the infinity record, one at or below R^(-2^29) zero; infinity plus
// or minus, times or over a finite nonzero number stays infinity. Every
// function may be called from any thread; pointer arguments may alias.
#pragma once

#include "number/vm_chislo.h"

// Normal form, rounding half-up on the magnitude at the 100th fraction digit
// by the first dropped digit alone. The one rounding rule of the module.
void vmNormalizovat(vmChislo* x);
// Adds one unit of the 100th fraction digit (with x's sign), then normalises.
void vmUvelichitMladshiy(vmChislo* x);

// Brings a and b to the larger of their radixes (the smaller one is
// converted). The one place where operands of two radixes meet.
void vmObshcheeOsnovanie(vmChislo* a, vmChislo* b);

// a and b to a common radix and exponent: the one with the smaller exponent is
// shifted right (and, if okruglyat, rounded half-up); they may be exchanged.
void vmVirovnyat(vmChislo* a, vmChislo* b, bool okruglyat);
vmChislo* vmPribavit(vmChislo* a, vmChislo b);     // a = a + b
vmChislo* vmVichest(vmChislo* a, vmChislo b);      // a = a - b
vmChislo vmSumma(const vmChislo* x, vmChislo y);   // x + y
vmChislo vmRaznost(const vmChislo* x, vmChislo y); // x - y
// Comparisons: the sign of a - b computed by vmVichest on a copy.
bool vmBolsheIliRavno(const vmChislo* a, const vmChislo* b);
bool vmMensheIliRavno(const vmChislo* a, const vmChislo* b);
bool vmBolshe(const vmChislo* a, const vmChislo* b);
bool vmMenshe(const vmChislo* a, const vmChislo* b);

vmChislo* vmUmnogitNaStepen(vmChislo* x, std::int32_t n);  // x * R^n
vmChislo* vmRazdelitNaStepen(vmChislo* x, std::int32_t n); // x / R^n
vmChislo* vmUmnogitNaCifru(vmChislo* x, std::uint8_t m);   // x * m
vmChislo* vmUmnogit(vmChislo* a, vmChislo b);              // a = a * b
vmChislo* vmRazdelit(vmChislo* a, vmChislo b);             // a = a / b, truncated
vmChislo vmProizvedenie(const vmChislo* x, const vmChislo* y);
vmChislo vmChastnoe(const vmChislo* x, const vmChislo* y);
// Quotient |a| div |b| truncated toward zero with sign a.Znak XOR b.Znak; the
// remainder |a| - |q||b| with the same sign. ostatok may not alias a.
vmChislo vmDelenieSOstatkom(const vmChislo* a, vmChislo b, vmChislo* ostatok);

// out = x rounded to an integer: mode -1 floor, 0 nearest (half away from
// zero, by the first fraction digit), 1 ceiling, anything else toward zero.
void vmCeloe(vmChislo* out, const vmChislo* x, std::int8_t mode);
void vmDrobnaya(vmChislo* out, const vmChislo* x); // x - floor(x), 0 <= out < 1
bool vmEtoCeloe(const vmChislo* x);                // x - floor(x) <= R^-52
// floor(x) (or nearest if okruglyat) as a saturated 32-bit integer.
std::int32_t vmVCeloe32(const vmChislo* x, bool okruglyat);
// out = n exactly, in the radix of obrazec (INT32_MIN is taken as -INT32_MAX).
void vmIzCelogo32(vmChislo* out, const vmChislo* obrazec, std::int32_t n);
