// Elementary functions on vmChislo at the full working width (no guard
// digits): exponential, logarithms, powers, square root, trigonometry, pi,
// and conversion between radixes. Results are in the operand's radix (the
// larger radix for two operands).
//
// Threads: callable from the calculation thread and from the main thread at
// once; the constant cache they fill is guarded (number/vm_kesh.h).
// Cancellation: every loop that can run long polls OtmenaZaproshena()
// (platform/platforma.h) and returns at once when it is true; the value
// returned then is meaningless and is never stored in the constant cache.
#pragma once

#include "number/vm_osnovanie.h" // vmPerevestiVOsnovanie
#include "number/vm_chislo.h"

// Osnovanie := R, then by kind: 0 zero, 1 one, 2 +infinity, 3 -infinity
// (vmProstayaKonstanta), 4 e, 5 pi (both through the constant cache; may be
// called from the main thread and the worker at once); other kinds change
// nothing more.
vmChislo* vmKonstanta(vmChislo* x, int kind, std::uint8_t R);

vmChislo vmExp(const vmChislo& x, bool series);          // e^x
vmChislo vmLn(const vmChislo& x, bool series);           // ln x
vmChislo vmLogOsnovaniya(const vmChislo& x);             // log of x to its radix
vmChislo vmLog(const vmChislo& a, const vmChislo& x);    // log of x to base a
vmChislo vmStepenOsnovaniya(const vmChislo& y);          // R^y
vmChislo vmStepen(const vmChislo& a, const vmChislo& x); // a^x
vmChislo vmKoren(const vmChislo& x);                     // sqrt x; 0 for x <= 0

vmChislo vmSin(const vmChislo& x, bool reduce);
vmChislo vmCos(const vmChislo& x, bool reduce);
vmChislo vmTg(const vmChislo& x);
vmChislo vmArctg2(const vmChislo& y, const vmChislo& x); // in (-pi/2, 3pi/2)
vmChislo vmArctg(const vmChislo& x);
vmChislo vmArcsin(const vmChislo& x);
vmChislo vmArccos(const vmChislo& x);
// Pi in radix R (2..126), through the constant cache.
vmChislo vmPi(std::uint8_t R);
