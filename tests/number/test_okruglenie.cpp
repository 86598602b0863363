// Integer and fractional parts, the integer test, machine integers.
#include "chisla_test_util.h"

namespace {

using Okruglenie = ChislaTest;

std::string Celoe(const char* x, int mode) {
    const vmChislo a = Ch(x);
    vmChislo r;
    vmCeloe(&r, &a, static_cast<std::int8_t>(mode));
    EXPECT_EQ(r.Osnovanie, a.Osnovanie);
    return Tx(r);
}

TEST_F(Okruglenie, IntegerPartByMode) {
    struct {
        const char* x;
        int mode;
        const char* rez;
    } sluchai[] = {
        {"2.5", 0, "3"},        {"-2.5", 0, "-3"},      {"2.4999999", 0, "2"},
        {"2.5", -1, "2"},       {"-2.5", -1, "-3"},     {"2.5", 1, "3"},
        {"-2.5", 1, "-2"},      {"3", -1, "3"},         {"3", 0, "3"},
        {"3", 1, "3"},          {"3", 7, "3"},          {"0.7", 0, "1"},
        {"0.07", 0, "0"},       {"-0.5", -1, "-1"},     {"-0.5", 1, "0"},
        {"2.5", 2, "2"},        {"-2.5", 2, "-2"},      {"0.1r3", 0, "0r3"},
        {"0.2r3", 0, "1r3"},    {"1e150", -1, "1e150"}, {"1e-150", 1, "1"},
        {"-1e-150", -1, "-1"},  {"0", 1, "0"},          {"123.000001", 1, "124"},
        {"2.5", -1 + 256, "2"}, // only the low byte counts: 255 is -1
    };
    for (const auto& s : sluchai) EXPECT_EQ(Celoe(s.x, s.mode), s.rez) << s.x << " " << s.mode;
    // A rounded-away negative zero is positive.
    const vmChislo a = Ch("-0.5");
    vmChislo r;
    vmCeloe(&r, &a, 1);
    EXPECT_EQ(r.Znak, 0);
}

TEST_F(Okruglenie, FractionalPartAndIntegerTest) {
    const vmChislo a = Ch("-2.25"), b = Ch("7");
    vmChislo f;
    vmDrobnaya(&f, &a);
    EXPECT_EQ(Tx(f), "0.75");
    vmDrobnaya(&f, &b);
    EXPECT_EQ(vmZnak(&f), 0);
    f = Ch("5.5");
    vmDrobnaya(&f, &f); // may alias
    EXPECT_EQ(Tx(f), "0.5");

    const vmChislo plus = Ch("3.000000000000000000000000000000000000000000000000000000000001");
    const vmChislo minus = Ch("2.999999999999999999999999999999999999999999999999999999999999");
    const vmChislo daleko = Ch("3.0000000000000000000000000000000000000001");
    EXPECT_TRUE(vmEtoCeloe(&plus));    // 3 + 1e-60
    EXPECT_FALSE(vmEtoCeloe(&minus));  // 3 - 1e-60
    EXPECT_FALSE(vmEtoCeloe(&daleko)); // 3 + 1e-40
    const vmChislo nol = Ch("0"), inf = Ch("1e600000000"), neg = Ch("-4");
    EXPECT_TRUE(vmEtoCeloe(&nol));
    EXPECT_TRUE(vmEtoCeloe(&inf));
    EXPECT_TRUE(vmEtoCeloe(&neg));
}

TEST_F(Okruglenie, MachineIntegersSaturate) {
    struct {
        const char* x;
        bool okr;
        std::int32_t rez;
    } sluchai[] = {
        {"2147483647.9", false, 2147483647},
        {"2147483648", false, 2147483647},
        {"-2147483649", false, INT32_MIN},
        {"-2147483648", false, INT32_MIN},
        {"-1.5", false, -2},
        {"-1.5", true, -2},
        {"1.5", true, 2},
        {"0", false, 0},
        {"1e600000000", false, INT32_MAX},
        {"-1e600000000", true, INT32_MIN},
        {"1e99", false, INT32_MAX},
        {"7FFFFFFFr16", false, 2147483647},
        {"10000000000000000000000000000000r2", false, INT32_MAX},
        {"ZZZZZZr36", false, 2147483647},
        {"-1Z141Zr36", false, -(35 + 1 * 36 + 4 * 1296 + 1 * 46656 + 35 * 1679616 + 1 * 60466176)},
        {"0.999", false, 0},
        {"1e-300", false, 0},
    };
    for (const auto& s : sluchai) {
        const vmChislo x = Ch(s.x);
        EXPECT_EQ(vmVCeloe32(&x, s.okr), s.rez) << s.x;
    }
}

TEST_F(Okruglenie, FromMachineIntegersExactly) {
    struct {
        int R;
        std::int32_t n;
        const char* vid;
    } sluchai[] = {
        {16, 255, "FFr16"},
        {10, 0, "0"},
        {10, -7, "-7"},
        {2, 9, "1001r2"},
        {36, 35, "Zr36"},
        {10, INT32_MAX, "2147483647"},
        {10, INT32_MIN, "-2147483647"},
        {3, 10, "101r3"},
        {2, INT32_MAX, "1111111111111111111111111111111r2"},
    };
    for (const auto& s : sluchai) {
        vmChislo obrazec;
        vmKonstanta(&obrazec, VM_K_EDINICA, static_cast<std::uint8_t>(s.R));
        vmChislo x;
        vmIzCelogo32(&x, &obrazec, s.n);
        EXPECT_EQ(Tx(x, 100, VM_S_OSNOVANIEM), s.vid) << s.n;
        EXPECT_EQ(vmVCeloe32(&x, false), s.n == INT32_MIN ? -INT32_MAX : s.n);
    }
}

} // namespace
