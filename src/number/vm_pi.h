// The two ways of computing pi behind vmPi (number/vm_funkcii.h), and the
// reference value of pi/6 that lets the fast one skip work. Neither looks at
// or fills the constant cache.
#pragma once

#include <cstdint>

#include "number/vm_chislo.h"

// Radix-R digits of the reference pi/6 that vmCifriPiShestih can give.
constexpr int VM_PI_OPORA_CIFR = 112;

// pi in radix R (2..126) as 6 x for the root x of sin x = 1/2, found by
// bisection from 1/2 with the step halved before every move until
// |sin x - 1/2| <= R^-92 / 2, every step summing its sine series (vmSin
// without reduction: about 92 log2 R series). x and the step are plain
// vmChislo values, rounded as the arithmetic rounds; the result is x * 6 by
// vmUmnogitNaCifru, good to about 92 digits, never zero or infinite. A stop
// request ends the search with a meaningless value. *ryadov, when not null,
// receives the number of sine series summed. Any thread.
vmChislo vmPiBisekciya(std::uint8_t R, int* ryadov = nullptr);

// The same record as vmPiBisekciya, byte for byte (inexact flag included):
// the same steps with the same operations on x and the step, but a step whose
// outcome follows from the reference pi/6 with a margin far above the error
// of the sine series is taken without summing it; only the steps near the end
// (a handful) sum their series. A stop request ends it with a meaningless
// value. *ryadov as above. Any thread.
vmChislo vmPiBistro(std::uint8_t R, int* ryadov = nullptr);

// The first n (0..VM_PI_OPORA_CIFR) digits of pi/6 = 0.5235... after the
// radix point in radix R (2..255), truncated: cifri[j] is the digit of
// R^-(j+1). Computed by Machin's formula in binary fixed point with 1024
// fraction bits (error below 2^-1000) and converted digit by digit, so the
// digits are those of a value within 2^-1000 of pi/6. cifri holds n bytes.
// Any thread.
void vmCifriPiShestih(std::uint8_t R, std::uint8_t* cifri, int n);

// The bisection halves its step h before every move, h_0 = 1/2 and h_k+1 =
// vmRazdelit(h_k, 2), so h_k depends on R and k only. vmPolovinaShaga(h_k)
// gives that record byte for byte (inexact flag included) for every k below
// VM_PI_SHAGOV_POLOVINOY in every radix 2..126, as the tests check for all of
// them, without the general division: it is the truncated half of the 101
// digits (a leading 1 leaving 100 digits, moved up). It is not the division
// for other operands: there the division's rounded comparison can round up
// (9.99...9 / 2 gives 5). The bisection takes fewer steps than that bound
// (about 92 log2 R) and divides in full past it. Any thread.
constexpr int VM_PI_SHAGOV_POLOVINOY = 1000;
vmChislo vmPolovinaShaga(const vmChislo& h);
