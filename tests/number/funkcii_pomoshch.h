// Helpers of the elementary-function tests: literals, reference values from
// tests/data/funkcii_ref.txt, and the agreement of two numbers in digits.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "number/vm_kesh.h"
#include "number/vm_tekst.h"
#include "number/vm_arifmetika.h"
#include "number/vm_chislo.h"
#include "number/vm_funkcii.h"
#include "platform/platforma.h"

namespace funkcii_test {

// A literal such as "2.5", "-1e-60" or "1.8r16" ("." separator); radix 10
// unless the literal names one.
inline vmChislo Ch(const std::string& tekst) {
    std::string s = tekst;
    if (s.find('r') == std::string::npos) s += "r10";
    vmChislo x;
    vmIzTeksta(&x, s.data());
    return x;
}

inline vmChislo Konst(int vid, std::uint8_t R) {
    vmChislo x;
    vmKonstanta(&x, vid, R);
    return x;
}

inline bool Beskonechnost(const vmChislo& x, int znak) {
    return x.Poryadok >= VM_PREDEL_PORYADKA && vmZnak(&x) == znak;
}

// The same 101 digits, sign, exponent and radix (the inexact flag aside).
inline bool OdinakovyeBayty(const vmChislo& a, const vmChislo& b) {
    return a.Znak == b.Znak && a.Poryadok == b.Poryadok && a.Osnovanie == b.Osnovanie &&
           std::memcmp(a.CelayaChast, b.CelayaChast, 3) == 0 &&
           std::memcmp(a.DrobnayaChast, b.DrobnayaChast, 100) == 0;
}

// x - y is exactly zero.
inline bool RavnyPoZnacheniyu(const vmChislo& x, const vmChislo& y) {
    const vmChislo d = vmRaznost(&x, y);
    return vmZnak(&d) == 0;
}

// Number of leading significant digits (in ref's radix) in which x agrees
// with ref: the exponent of ref minus the exponent of x - ref; 101 when the
// difference is zero. Near a digit boundary this can be one off.
inline int Soglasie(const vmChislo& x, const vmChislo& ref) {
    const vmChislo d = vmRaznost(&x, ref);
    if (vmZnak(&d) == 0) return 101;
    const std::int64_t s = static_cast<std::int64_t>(ref.Poryadok) - d.Poryadok;
    return s > 101 ? 101 : static_cast<int>(s);
}

// A long positional text "[-][int].frac" in radix R (as bc prints it) read to
// 101 digits: the first 60 significant digits and the next 55 are read as two
// literals and added, so the sum is rounded at the 101st digit.
inline vmChislo IzDlinnogoTeksta(const std::string& tekst, int R) {
    std::string t = tekst;
    bool minus = false;
    if (!t.empty() && t[0] == '-') {
        minus = true;
        t.erase(0, 1);
    }
    const std::size_t tochka = t.find('.');
    std::string cifri = t;
    long celih = static_cast<long>(t.size());
    if (tochka != std::string::npos) {
        cifri = t.substr(0, tochka) + t.substr(tochka + 1);
        celih = static_cast<long>(tochka);
    }
    std::size_t z = 0;
    while (z < cifri.size() && cifri[z] == '0') ++z;
    vmChislo rezultat = Konst(0, static_cast<std::uint8_t>(R));
    if (z == cifri.size()) return rezultat;
    const long e = celih - 1 - static_cast<long>(z);
    auto kusok = [&](std::size_t nachalo, std::size_t dlina, long poryadok) {
        std::string c = cifri.substr(nachalo, dlina);
        while (c.size() > 1 && c.back() == '0') c.pop_back();
        std::string lit = c.substr(0, 1);
        if (c.size() > 1) {
            lit.push_back('.');
            lit.append(c, 1);
        }
        lit.append("e").append(std::to_string(poryadok)).append("r").append(std::to_string(R));
        return Ch(lit);
    };
    rezultat = kusok(z, 60, e);
    if (cifri.size() > z + 60) vmPribavit(&rezultat, kusok(z + 60, 55, e - 60));
    if (minus && vmZnak(&rezultat) != 0) rezultat.Znak = 1;
    return rezultat;
}

// The reference value `imya` in radix R from funkcii_ref.txt (made by bc).
inline vmChislo Ssylka(const std::string& imya, int R) {
    static const std::map<std::pair<std::string, int>, std::string> tablica = [] {
        std::map<std::pair<std::string, int>, std::string> t;
        std::ifstream f(std::string(CIFRAMER_TEST_DATA) + "/funkcii_ref.txt");
        std::string stroka;
        while (std::getline(f, stroka)) {
            if (stroka.empty() || stroka[0] == '#') continue;
            std::istringstream s(stroka);
            std::string i, z;
            int r = 0;
            if (s >> i >> r >> z) t[{i, r}] = z;
        }
        return t;
    }();
    const auto it = tablica.find({imya, R});
    if (it == tablica.end()) {
        ADD_FAILURE() << "no reference value " << imya << " in radix " << R;
        return Konst(0, static_cast<std::uint8_t>(R));
    }
    return IzDlinnogoTeksta(it->second, R);
}

// Prints the agreement for the record of the test run and returns it.
inline int ZapisatSoglasie(const char* chto, const vmChislo& x, const vmChislo& ref) {
    const int s = Soglasie(x, ref);
    std::printf("[ soglasie ] %-28s radix %2d: %3d digits\n", chto, ref.Osnovanie, s);
    return s;
}

// Literal characters with "." and no stop request: the state every test of
// the functions starts from.
class FunkciiOsnova : public ::testing::Test {
  protected:
    void SetUp() override {
        vmPostroitSimvoli('.');
        CalcCancelled.store(0);
    }
    void TearDown() override { CalcCancelled.store(0); }
};

// Runs vychislenie on another thread, checks it is still running after
// `ranshe` (so it really is long), sets the stop flag and checks it ends
// within 5 s; prints how long the stop took, under `chto`.
inline void ProveritOstanovku(const char* chto, std::chrono::milliseconds ranshe,
                              const std::function<vmChislo()>& vychislenie) {
    auto zadacha = std::async(std::launch::async, vychislenie);
    EXPECT_EQ(zadacha.wait_for(ranshe), std::future_status::timeout);
    const auto nachalo = std::chrono::steady_clock::now();
    CalcCancelled.store(1);
    EXPECT_EQ(zadacha.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    zadacha.wait();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - nachalo)
            .count();
    std::printf("[ ostanovka ] %s ended %.1f ms after the stop request\n", chto, ms);
}

} // namespace funkcii_test
