// Pi: the fast search against the full bisection, and the reference pi/6
// the fast search relies on.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "funkcii_pomoshch.h"
#include "number/vm_pi.h"
#include "number/vm_funkcii.h"

using namespace funkcii_test;

namespace {

class FunkciiPiBistro : public FunkciiOsnova {};

// The records of tests/data/pi_bisekciya.txt (the full bisection), by radix.
std::map<int, std::string> ZapisiBisekcii() {
    std::map<int, std::string> zapisi;
    std::ifstream f(std::string(CIFRAMER_TEST_DATA) + "/pi_bisekciya.txt");
    std::string stroka;
    while (std::getline(f, stroka)) {
        if (stroka.empty() || stroka[0] == '#') continue;
        std::istringstream s(stroka);
        int R = 0;
        std::string hex;
        if (s >> R >> hex) zapisi[R] = hex;
    }
    return zapisi;
}

// The text bc printed for `imya` in radix R (tests/data/funkcii_ref.txt).
std::string TekstBc(const std::string& imya, int R) {
    std::ifstream f(std::string(CIFRAMER_TEST_DATA) + "/funkcii_ref.txt");
    std::string stroka;
    while (std::getline(f, stroka)) {
        std::istringstream s(stroka);
        std::string i, z;
        int r = 0;
        if (s >> i >> r >> z && i == imya && r == R) return z;
    }
    return {};
}

std::string Hex(const vmChislo& x) {
    unsigned char b[sizeof(vmChislo)];
    std::memcpy(b, &x, sizeof b);
    std::string s;
    char para[3];
    for (unsigned char c : b) {
        std::snprintf(para, sizeof para, "%02x", c);
        s += para;
    }
    return s;
}

// All 110 bytes, the inexact flag included (the cache files keep it).
bool VseBayty(const vmChislo& a, const vmChislo& b) {
    return std::memcmp(&a, &b, sizeof(vmChislo)) == 0;
}

// In every radix the fast search gives the recorded record of the full
// bisection, summing only a few sine series where the bisection sums
// 92 log2 R of them.
TEST_F(FunkciiPiBistro, EqualsTheRecordedBisectionInEveryRadix) {
    const auto zapisi = ZapisiBisekcii();
    ASSERT_EQ(zapisi.size(), 125u);
    int naibolshe = 0;
    std::string otchet;
    for (int R = 2; R <= 126; ++R) {
        const auto it = zapisi.find(R);
        ASSERT_NE(it, zapisi.end()) << "no record for radix " << R;
        int ryadov = -1;
        const vmChislo bistro = vmPiBistro(static_cast<std::uint8_t>(R), &ryadov);
        EXPECT_EQ(Hex(bistro), it->second) << "radix " << R;
        EXPECT_LE(ryadov, 8) << "radix " << R;
        naibolshe = std::max(naibolshe, ryadov);
        otchet += " " + std::to_string(R) + ":" + std::to_string(ryadov);
    }
    std::printf("[ ryadi ] sine series per radix:%s\n[ ryadi ] at most %d\n", otchet.c_str(),
                naibolshe);
}

// The same comparison computed live, also for a cold vmPi (which stores what
// the fast search gives), and the full bisection really sums a series in
// every step.
class FunkciiPiZhivo : public FunkciiOsnova, public ::testing::WithParamInterface<int> {};

TEST_P(FunkciiPiZhivo, FastEqualsFullBisection) {
    const auto R = static_cast<std::uint8_t>(GetParam());
    int bistrih = -1, polnih = -1;
    const vmChislo bistro = vmPiBistro(R, &bistrih);
    const vmChislo polno = vmPiBisekciya(R, &polnih);
    EXPECT_TRUE(VseBayty(bistro, polno)) << Hex(bistro) << "\n" << Hex(polno);
    OchistitKesh();
    EXPECT_TRUE(VseBayty(vmPi(R), polno));
    vmChislo izKesha;
    ASSERT_TRUE(KeshNayti(VidKonstanti::Pi, R, 0, &izKesha));
    EXPECT_TRUE(VseBayty(izKesha, polno));
    EXPECT_GT(polnih, 80);
    EXPECT_LT(bistrih, polnih / 10);
    std::printf("[ ryadi ] radix %d: %d sine series instead of %d\n", int(R), bistrih, polnih);
}

INSTANTIATE_TEST_SUITE_P(Funkcii, FunkciiPiZhivo, ::testing::Values(2, 3, 10, 16, 36));

// The reference pi/6 agrees with bc's in radixes 10, 16 and 2, and its digits
// in radix R^2 pair up its digits in radix R (which reaches the large radixes
// that bc's listing does not).
TEST_F(FunkciiPiBistro, ReferencePiSixthMatchesBcAndItsSquareRadix) {
    struct Sluchay {
        int R, cifr; // bc's last digits may be off: its scale is 130 decimal digits
    };
    for (const Sluchay s : {Sluchay{10, VM_PI_OPORA_CIFR}, Sluchay{16, 104}, Sluchay{2, 112}}) {
        const std::string bc = TekstBc("pi_6", s.R);
        ASSERT_GE(bc.size(), std::size_t(s.cifr + 1)) << "radix " << s.R;
        ASSERT_EQ(bc[0], '.');
        std::uint8_t cifri[VM_PI_OPORA_CIFR];
        vmCifriPiShestih(static_cast<std::uint8_t>(s.R), cifri, s.cifr);
        for (int j = 0; j < s.cifr; ++j)
            ASSERT_EQ(int(cifri[j]), int(vmSimvoli.ZnachenieCifri[std::uint8_t(bc[j + 1])]))
                << "radix " << s.R << " digit " << j;
    }
    for (int R = 2; R * R <= 255; ++R) {
        std::uint8_t v[VM_PI_OPORA_CIFR], kvadrat[VM_PI_OPORA_CIFR / 2];
        vmCifriPiShestih(static_cast<std::uint8_t>(R), v, VM_PI_OPORA_CIFR);
        vmCifriPiShestih(static_cast<std::uint8_t>(R * R), kvadrat, VM_PI_OPORA_CIFR / 2);
        for (int j = 0; j < VM_PI_OPORA_CIFR / 2; ++j)
            ASSERT_EQ(int(kvadrat[j]), R * v[2 * j] + v[2 * j + 1]) << "radix " << R * R;
    }
}

} // namespace
