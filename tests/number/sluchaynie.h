// Random vmChislo operands for property tests and kernel comparisons.
// Fixed seed, overridable with the environment variable CIFRAMER_SEED; the
// seed in use is part of every failure message (SCOPED_TRACE).
#pragma once

#include <cstdlib>
#include <random>
#include <string>

#include "number/vm_chislo.h"

inline std::uint64_t SemyaTestov() {
    if (const char* s = std::getenv("CIFRAMER_SEED")) return std::strtoull(s, nullptr, 10);
    return 20261208;
}

class GeneratorChisel {
  public:
    explicit GeneratorChisel(std::uint64_t semya) : g_(semya) {}

    // A normalised number in radix R. Digits favour runs of 0 and R-1;
    // exponents are mostly small, sometimes near the limits.
    vmChislo Chislo(int R, bool ekstremalnie = false) {
        vmChislo x;
        x.Osnovanie = static_cast<std::uint8_t>(R);
        vmNol(&x);
        const int vid = Int(0, 3);
        for (int p = 2; p < VM_RAZRYADOV; ++p) {
            int d;
            switch (vid) {
            case 0:
                d = Int(0, R - 1);
                break;
            case 1:
                d = Int(0, 4) == 0 ? Int(0, R - 1) : 0;
                break;
            case 2:
                d = Int(0, 4) == 0 ? Int(0, R - 1) : R - 1;
                break;
            default:
                d = p < 2 + Int(1, 101) ? Int(0, R - 1) : 0;
                break;
            }
            vmCifra(x, p) = static_cast<std::uint8_t>(d);
        }
        if (x.CelayaChast[0] == 0) x.CelayaChast[0] = static_cast<std::uint8_t>(Int(1, R - 1));
        x.Znak = static_cast<std::uint8_t>(Int(0, 1));
        if (ekstremalnie && Int(0, 3) == 0)
            x.Poryadok = (Int(0, 1) ? 1 : -1) * (VM_PREDEL_PORYADKA - Int(0, 300));
        else
            x.Poryadok = Int(-40, 40);
        return x;
    }

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g_); }

  private:
    std::mt19937_64 g_;
};
