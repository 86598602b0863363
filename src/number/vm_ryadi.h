// Private helpers of the elementary functions: constants, magnitudes and the
// stopping tolerance shared by every series.
#pragma once

#include <cstdint>

#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"

namespace vm_detail {

// vmKonstanta as a value (TVidKonstanti: zero, one, +-infinity, e, pi).
inline vmChislo Konstanta(int vid, std::uint8_t R) {
    vmChislo x;
    vmKonstanta(&x, vid, R);
    return x;
}

inline vmChislo Modul(vmChislo x) {
    x.Znak = 0;
    return x;
}

// |s| * R^-n, or R^-n itself when that product underflows to zero: the
// stopping tolerance of a series, relative to a partial sum.
inline vmChislo Dopusk(const vmChislo& s, std::int32_t n) {
    vmChislo t = Modul(s);
    vmRazdelitNaStepen(&t, n);
    if (vmZnak(&t) == 0) {
        t = Konstanta(VM_K_EDINICA, s.Osnovanie);
        vmRazdelitNaStepen(&t, n);
    }
    return t;
}

} // namespace vm_detail
