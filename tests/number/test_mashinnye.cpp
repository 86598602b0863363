#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "number/vm_mashinnye.h"
#include "number/vm_chislo.h"

namespace {
const std::string NEVERNIY = "Строка не содержит цифр между разделителями.";
const std::string DIAPAZON = "Число выходит за допустимый диапазон значений.";
const std::string PORYADOK =
    "Порядок числа.\n Должен быть больше или равен -307 и меньше или равен 307.";

// Restores the default tables after each test.
class Mashinnye : public testing::Test {
  protected:
    void TearDown() override { PostroitTabliciSimvolov(','); }
};

int Prochitat(double* out, const std::string& s, bool soobshat = false) {
    return TekstVChislo(out, s.data(), int(s.size()), soobshat);
}

TEST_F(Mashinnye, TablesFollowTheSeparator) {
    PostroitTabliciSimvolov(',');
    EXPECT_EQ(SimvoliChisla.Razdelitel, ',');
    EXPECT_EQ(SimvoliChisla.AltRazdelitel, '.');
    EXPECT_EQ(vmSimvoli.Razdelitel, ',');
    EXPECT_EQ(vmSimvoli.AltRazdelitel, '.');
    for (char r : {'.', ' ', '\xA0'}) {
        PostroitTabliciSimvolov(r);
        EXPECT_EQ(SimvoliChisla.Razdelitel, '.');
        EXPECT_EQ(SimvoliChisla.AltRazdelitel, ',');
        EXPECT_EQ(vmSimvoli.Razdelitel, '.');
        EXPECT_EQ(vmSimvoli.AltRazdelitel, ',');
    }
    EXPECT_EQ(std::string(SimvoliChisla.SimvoliChisla, 15), "0123456789-,.eE");
    EXPECT_EQ(std::string(vmSimvoli.Cifri, 36), "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(vmSimvoli.Eksponenta, 'e');
    EXPECT_EQ(vmSimvoli.Osnovanie, 'r');
    int cifr = 0;
    for (int c = 0; c < 256; ++c) {
        if (vmSimvoli.EtoCifra[c]) {
            ++cifr;
            EXPECT_EQ(vmSimvoli.Cifri[vmSimvoli.ZnachenieCifri[c]], char(c));
        } else {
            EXPECT_EQ(vmSimvoli.ZnachenieCifri[c], 0) << c;
        }
    }
    EXPECT_EQ(cifr, 36);
    EXPECT_FALSE(vmSimvoli.EtoCifra['a']); // lower case is no digit
    EXPECT_EQ(vmSimvoli.ZnachenieCifri['Z'], 35);
}

TEST_F(Mashinnye, ProveritZapisChisla) {
    struct {
        const char* s;
        bool ozh;
    } sluchai[] = {
        {"0", true},      {"-12", true},  {"12,5", true},   {"-0,05e-3", true}, {"1e5", true},
        {"1e-5", true},   {"", false},    {"-", false},     {",5", false},      {"5,", false},
        {"+5", false},    {" 5", false},  {"5 ", false},    {"1e", false},      {"1e-", false},
        {"1e5,2", false}, {"1E5", false}, {"1,2,3", false}, {"--1", false},     {"1e--2", false},
        {"1.5", false},   {"e5", false},  {"1-2", false},
    };
    for (const auto& c : sluchai)
        EXPECT_EQ(ProveritZapisChisla(c.s, int(std::strlen(c.s))), c.ozh) << c.s;
    EXPECT_FALSE(ProveritZapisChisla(nullptr, 0));
    EXPECT_TRUE(ProveritZapisChisla("12,5xyz", 4)); // only the n characters count
}

struct SluchayChtenia {
    std::string s;
    int status;
    double znachenie;
    const char* soobshenie; // null: no message
};

void ProveritChtenie(const SluchayChtenia& c) {
    SborSoobsheniy sbor;
    double x = -777;
    EXPECT_EQ(Prochitat(&x, c.s, true), c.status) << c.s;
    EXPECT_EQ(x, c.znachenie) << c.s;
    if (c.soobshenie) {
        EXPECT_EQ(sbor.Soobsheniya(), std::vector<std::string>{c.soobshenie}) << c.s;
    } else {
        EXPECT_TRUE(sbor.Soobsheniya().empty()) << c.s;
    }
    // Without soobshat the same status and value, and no message.
    sbor.Ochistit();
    x = -777;
    EXPECT_EQ(Prochitat(&x, c.s, false), c.status) << c.s;
    EXPECT_EQ(x, c.znachenie) << c.s;
    EXPECT_TRUE(sbor.Soobsheniya().empty()) << c.s;
}

TEST_F(Mashinnye, TekstVChisloWithCommaTable) {
    const std::string d31(31, '9');
    const std::string d32(32, '9');
    const std::string m31 = "-" + std::string(30, '9');
    const std::string m32 = "-" + std::string(31, '9');
    const std::string f30 = "0," + std::string(29, '0') + "1";
    const std::string f31 = "0," + std::string(30, '0') + "1";
    const SluchayChtenia sluchai[] = {
        {"12,5", 0, 12.5, nullptr},
        {"-3e-2", 0, -0.03, nullptr},
        {"0", 0, 0.0, nullptr},
        {"-0", 0, 0.0, nullptr},
        {"007", 0, 7.0, nullptr},
        {"123456789", 0, 123456789.0, nullptr},
        {"0,1", 0, 0.1, nullptr},
        {"2,5e3", 0, 2500.0, nullptr},
        {"1e307", 0, 1e307, nullptr},
        {"1e-307", 0, 1e-307, nullptr},
        {"1e308", -3, 1e307, PORYADOK.c_str()},
        {"-1e308", -3, -1e307, PORYADOK.c_str()},
        {"1e-400", -3, 0.0, PORYADOK.c_str()},
        {"-1e-400", -3, 0.0, PORYADOK.c_str()},
        {"12.5", -1, 0.0, NEVERNIY.c_str()},
        {"", -1, 0.0, NEVERNIY.c_str()},
        {"abc", -1, 0.0, NEVERNIY.c_str()},
        {d31, 0, 1e31, nullptr},
        {d32, -2, 0.0, DIAPAZON.c_str()},
        {m31, 0, -1e30, nullptr},
        {m32, -2, 0.0, DIAPAZON.c_str()},
        {f30, 0, 1e-30, nullptr},
        {f31, -2, 0.0, DIAPAZON.c_str()},
        {d32 + "e1", -2, 0.0, DIAPAZON.c_str()},
        {"1e" + d32, -2, 0.0, DIAPAZON.c_str()},
    };
    for (const auto& c : sluchai) ProveritChtenie(c);
}

TEST_F(Mashinnye, TekstVChisloWithPointTable) {
    PostroitTabliciSimvolov('.');
    const SluchayChtenia sluchai[] = {
        {"12.5", 0, 12.5, nullptr},
        {"12,5", -1, 0.0, NEVERNIY.c_str()},
        {"-3.25e1", 0, -32.5, nullptr},
        {"1.e3", -1, 0.0, NEVERNIY.c_str()},
    };
    for (const auto& c : sluchai) ProveritChtenie(c);
}

TEST_F(Mashinnye, TekstVChisloNullAndSeparateExponent) {
    double x = 5;
    EXPECT_EQ(TekstVChislo(&x, nullptr, 3, true), 0);
    EXPECT_EQ(x, 0.0);
    double p = -1;
    const char* s = "-2,5e400";
    EXPECT_EQ(TekstVChislo(&x, s, int(std::strlen(s)), true, &p), 0);
    EXPECT_EQ(x, -2.5);
    EXPECT_EQ(p, 400.0);
    EXPECT_EQ(TekstVChislo(&x, "7", 1, true, &p), 0);
    EXPECT_EQ(x, 7.0);
    EXPECT_EQ(p, 0.0);
}

TEST_F(Mashinnye, NaytiChisloVTekste) {
    struct {
        const char* s;
        const char* ozh; // null: none
    } sluchai[] = {
        {"exp(12)", "12"}, {"pi(1).x", "1"},          {"abc", nullptr},
        {"", nullptr},     {"x=-3,5e-2;", "-3,5e-2"}, {"e,e 7", "7"},
        {"1-2 3", "3"},    {"--", nullptr},           {"ln(2,5)", "2,5"},
    };
    for (const auto& c : sluchai) {
        int len = -1;
        const char* r = NaytiChisloVTekste(c.s, int(std::strlen(c.s)), &len);
        if (c.ozh == nullptr) {
            EXPECT_EQ(r, nullptr) << c.s;
            EXPECT_EQ(len, 0) << c.s;
        } else {
            ASSERT_NE(r, nullptr) << c.s;
            EXPECT_EQ(std::string(r, std::size_t(len)), c.ozh) << c.s;
        }
    }
    // Only the n characters are searched.
    const char* s = "x12";
    int len = -1;
    EXPECT_EQ(NaytiChisloVTekste(s, 2, &len), s + 1);
    EXPECT_EQ(len, 1);
    EXPECT_EQ(NaytiChisloVTekste(nullptr, 5, &len), nullptr);
    EXPECT_EQ(len, 0);
}

TEST(Okruglit, HalvesGoToTheEvenNeighbour) {
    struct {
        double x;
        std::int32_t ozh;
    } sluchai[] = {
        {100.5, 100},
        {101.5, 102},
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {-0.5, 0},
        {1.4999, 1},
        {1.5001, 2},
        {-1.6, -2},
        {7.0, 7},
        {2147483646.5, 2147483646},
        {1e12, INT32_MAX},
        {-1e12, INT32_MIN},
        {-2147483648.0, INT32_MIN},
        {2147483647.4, INT32_MAX},
    };
    for (const auto& c : sluchai) EXPECT_EQ(Okruglit(c.x), c.ozh) << c.x;
}

TEST(CeloeVStroku, Decimal) {
    struct {
        std::int32_t n;
        const char* ozh;
    } sluchai[] = {
        {0, "0"},
        {7, "7"},
        {-7, "-7"},
        {10, "10"},
        {-307, "-307"},
        {INT32_MAX, "2147483647"},
        {INT32_MIN, "-2147483648"},
    };
    for (const auto& c : sluchai) EXPECT_EQ(CeloeVStroku(c.n).ToStd(), c.ozh);
}
} // namespace

namespace {
// Random decimal texts against strtod (correctly rounded, C locale): the
// extended-precision sum must stay within one unit in the last place.
TEST_F(Mashinnye, TekstVChisloAgreesWithStrtod) {
    PostroitTabliciSimvolov('.');
    std::uint32_t sostoyanie = 12345;
    auto sluchaynoe = [&](std::uint32_t n) {
        sostoyanie = sostoyanie * 1664525u + 1013904223u;
        return (sostoyanie >> 8) % n;
    };
    int tochno = 0;
    const int vsego = 3000;
    for (int t = 0; t < vsego; ++t) {
        std::string s;
        if (sluchaynoe(2)) s += '-';
        const std::uint32_t celih = 1 + sluchaynoe(20);
        for (std::uint32_t i = 0; i < celih; ++i) s += char('0' + sluchaynoe(10));
        if (sluchaynoe(2)) {
            s += '.';
            const std::uint32_t drobnih = 1 + sluchaynoe(20);
            for (std::uint32_t i = 0; i < drobnih; ++i) s += char('0' + sluchaynoe(10));
        }
        if (sluchaynoe(2)) s += "e" + std::to_string(int(sluchaynoe(500)) - 250);
        const double ozh = std::strtod(s.c_str(), nullptr);
        double x = 0;
        ASSERT_EQ(Prochitat(&x, s), 0) << s;
        if (x == ozh) ++tochno;
        EXPECT_LE(std::fabs(x - ozh), std::fabs(std::nextafter(ozh, 0.0) - ozh)) << s;
    }
    EXPECT_GE(tochno, vsego * 99 / 100);
}
} // namespace
