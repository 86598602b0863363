#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/operacii_s_pamyatyu.h"
#include "text/operacii_so_strokami.h"

namespace {
TEST(OperaciiSPamyatyu, CopyEveryLengthAndOverlapInBothDirections) {
    const char obrazec[] = "0123456789ABCDEFGHIJ";
    for (std::uint32_t n = 0; n <= 11; ++n) {
        for (int sdvig : {1, 2, 3, 4, 5, 7}) {
            // Move up: backward copy.
            char buf[32];
            std::memcpy(buf, obrazec, 21);
            std::string ozh(obrazec);
            ozh.replace(sdvig, n, std::string(obrazec, n));
            KopirovatPamyat(buf + sdvig, buf, n, false);
            EXPECT_EQ(std::string(buf, 20), ozh.substr(0, 20)) << "up n=" << n << " d=" << sdvig;
            // Move down: forward copy.
            std::memcpy(buf, obrazec, 21);
            ozh = obrazec;
            ozh.replace(0, n, std::string(obrazec + sdvig, n));
            KopirovatPamyat(buf, buf + sdvig, n, true);
            EXPECT_EQ(std::string(buf, 20), ozh.substr(0, 20)) << "down n=" << n << " d=" << sdvig;
        }
    }
    KopirovatPamyat(nullptr, nullptr, 0, true); // nothing to copy, nothing read
}

TEST(OperaciiSPamyatyu, ZeroAndCompare) {
    char buf[] = "abcdefg";
    ObnulitPamyat(buf + 1, 5);
    EXPECT_EQ(std::memcmp(buf, "a\0\0\0\0\0g", 8), 0);
    ObnulitPamyat(nullptr, 4);
    EXPECT_TRUE(SravnitPamyat("abc", "abd", 2));
    EXPECT_FALSE(SravnitPamyat("abc", "abd", 3));
    EXPECT_TRUE(SravnitPamyat(nullptr, nullptr, 0));
    EXPECT_TRUE(SravnitPamyat("x", "y", 0));
    EXPECT_FALSE(SravnitPamyat("\x80", "\x00", 1));
}

TEST(OperaciiSoStrokami, NullAndZeroRules) {
    EXPECT_EQ(DlinaStroki(nullptr), 0);
    EXPECT_EQ(DlinaStroki(""), 0);
    EXPECT_EQ(DlinaStroki("ab\xFF"), 3);
    ZamenitSimvol(nullptr, 'a', 'b', 5);
    const char* pusto = nullptr;
    EXPECT_EQ(NaytiSimvol(pusto, 'a', 5), nullptr);
    EXPECT_EQ(NaytiSimvol("abc", 'a', 0), nullptr);
    EXPECT_EQ(NaytiSimvolIzNabora(pusto, "a", 3, 1), nullptr);
    EXPECT_EQ(NaytiSimvolIzNabora("abc", nullptr, 3, 1), nullptr);
    EXPECT_EQ(NaytiSimvolIzNabora("abc", "a", 0, 1), nullptr);
    EXPECT_EQ(NaytiSimvolIzNabora("abc", "a", 3, 0), nullptr);
    EXPECT_EQ(PodschitatSimvoliIzNabora("abc", nullptr, 3, 1), 0);
    EXPECT_EQ(PodschitatSimvoliIzNabora("abc", "a", 0, 1), 0);
    EXPECT_EQ(PodschitatSimvoliIzNabora("abc", "a", 3, 0), 0);
    EXPECT_EQ(DlinaNachalaIzNabora("abc", nullptr, 3, 1), 0);
    EXPECT_EQ(DlinaNachalaIzNabora("abc", "a", 0, 1), 0);
    EXPECT_EQ(DlinaNachalaIzNabora("abc", "a", 3, 0), 0);
}

TEST(OperaciiSoStrokami, SearchesStayInsideTheirCounts) {
    const char* s = "a,b.c,d";
    EXPECT_EQ(NaytiSimvol(s, ',', 7), s + 1);
    EXPECT_EQ(NaytiSimvol(s, 'd', 6), nullptr);
    EXPECT_EQ(NaytiSimvol(s, '\0', 8), s + 7); // NUL is an ordinary byte here
    EXPECT_EQ(NaytiSimvolIzNabora(s, ".c", 7, 2), s + 3);
    EXPECT_EQ(NaytiSimvolIzNabora(s, ".c", 7, 1), s + 3);
    EXPECT_EQ(NaytiSimvolIzNabora(s, "c.", 7, 1), s + 4); // only the first m bytes of the set
    EXPECT_EQ(PodschitatSimvoliIzNabora(s, ",.", 7, 2), 3);
    EXPECT_EQ(PodschitatSimvoliIzNabora(s, ",.", 2, 2), 1);
    EXPECT_EQ(DlinaNachalaIzNabora("0120x9", "0123456789", 6, 10), 4);
    EXPECT_EQ(DlinaNachalaIzNabora("0120x9", "0123456789", 3, 10), 3);
    EXPECT_EQ(DlinaNachalaIzNabora("\xE0\xE0z", "\xE0", 3, 1), 2);
    char buf[] = "a.b.c.d";
    ZamenitSimvol(buf, ',', '.', 4);
    EXPECT_STREQ(buf, "a,b,c.d");
}

TEST(OperaciiSoStrokami, UdalitPovtoreniya) {
    struct {
        const char* tekst;
        int poziciya;
        bool vpered;
        const char* ozhidaetsya;
    } sluchai[] = {
        {"a   b", 1, true, "ab"},   {"a   b", 2, true, "a b"},   {"a   b", 3, false, "ab"},
        {"a   b", 2, false, "a b"}, {"a   b", 0, true, "a   b"}, {"   ", 0, true, ""},
        {"ab  ", 3, false, "ab"},   {"ab  ", 2, true, "ab"},     {"ab", 2, true, "ab"},
        {"ab", 5, true, "ab"},
    };
    for (const auto& c : sluchai) {
        char buf[16] = {};
        const int n = int(std::strlen(c.tekst));
        std::memcpy(buf, c.tekst, std::size_t(n));
        const int novaya = UdalitPovtoreniya(buf, buf + c.poziciya, ' ', c.vpered, n);
        EXPECT_EQ(novaya, int(std::strlen(c.ozhidaetsya))) << c.tekst << " @" << c.poziciya;
        EXPECT_EQ(std::string(buf, std::size_t(novaya)), c.ozhidaetsya)
            << c.tekst << " @" << c.poziciya;
        if (novaya < n) {
            EXPECT_EQ(buf[novaya], '\0');
        }
    }
}
} // namespace
