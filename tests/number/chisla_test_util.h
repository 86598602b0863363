// Small helpers for the number tests: literals in, text out.
#pragma once

#include <cstring>
#include <string>

#include "number/vm_mashinnye.h"
#include "number/vm_tekst.h"
#include "number/vm_arifmetika.h"
#include "number/vm_funkcii.h"
#include "number/vm_chislo.h"

// Reads a literal (with "." as the separator table).
inline vmChislo Ch(const std::string& literal) {
    std::string s = literal;
    vmChislo x;
    vmIzTeksta(&x, s.data());
    return x;
}

// vmVTekst with the given fraction digits and flags, as bytes.
inline std::string Tx(const vmChislo& x, int drobnih = 100,
                      std::uint8_t flagi = VM_AVTO_EKSPONENTA | VM_S_OSNOVANIEM) {
    TAnsiString t;
    vmVTekst(t, &x, 1, drobnih, flagi);
    return t.ToStd();
}

// The 103 digits in significance order as characters, then "e" and the exponent.
inline std::string Cifri(const vmChislo& x) {
    std::string s;
    for (int p = 0; p < VM_RAZRYADOV; ++p)
        s += "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[vmCifra(x, p) % 36];
    return s + "e" + std::to_string(x.Poryadok);
}

inline bool Ravni(const vmChislo& a, const vmChislo& b) {
    return std::memcmp(&a, &b, sizeof(vmChislo)) == 0;
}

// Builds the tables with "." as the separator for every test of a fixture.
#include <gtest/gtest.h>
class ChislaTest : public ::testing::Test {
  protected:
    void SetUp() override { PostroitTabliciSimvolov('.'); }
};
