// The function table of the language: one row per function with its
// description (yazik.h), its computation and its domain. The evaluator of
// calls (funkcii.cpp) computes by it, the language rules (yazik.cpp) give
// its names to every reader. Calculation thread (the names: any thread).
#pragma once

#include <string_view>
#include <vector>

#include "eval/yazik.h"
#include "number/vm_chislo.h"

struct TFunkciya {
    TOpisanieFunkcii opisanie;
    // Computes r from the arguments a and b (b only with two arguments); a
    // is already in radians where the angle unit applies to it. False when
    // it has already reported why it failed.
    bool (*vichislit)(vmChislo& a, vmChislo& b, vmChislo& r);
    // Null when a, b lie in the function's domain (r is the value computed);
    // else what is wrong, in UTF-8, for the warning ("корень из
    // отрицательного числа"). Null pointer: every argument is in the domain.
    const char* (*vneOblasti)(const vmChislo& a, const vmChislo& b, const vmChislo& r);
    // True where a zero result from a non-zero argument can only be a value
    // below the exponent range (sqr, exp).
    bool poteryaPoryadka = false;
};

const std::vector<TFunkciya>& TablicaFunkciy();
// The row of that name (byte for byte), or null.
const TFunkciya* NaitiFunkciyu(std::string_view imya);
