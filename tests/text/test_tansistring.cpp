#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/test_support.h"
#include "text/tansistring.h"

namespace {
std::string S(const TAnsiString& t) {
    return t.ToStd();
}

TEST(TAnsiString, EmptyTextsAreNullHandles) {
    const char* pustye[] = {nullptr, ""};
    for (const char* p : pustye) {
        TAnsiString t(p);
        EXPECT_EQ(t.Length(), 0);
        EXPECT_EQ(t.Data(), nullptr);
        EXPECT_EQ(t.c_str(), nullptr);
        EXPECT_EQ(t.References(), 0u);
    }
    EXPECT_EQ(TAnsiString("abc", 0).Data(), nullptr);
    EXPECT_EQ(TAnsiString("abc", -1).Data(), nullptr);
    EXPECT_EQ(TAnsiString(nullptr, 3).Data(), nullptr);
    TAnsiString t("abc");
    t = "";
    EXPECT_EQ(t.Data(), nullptr);
    t = "x";
    t = static_cast<const char*>(nullptr);
    EXPECT_EQ(t.Data(), nullptr);
}

TEST(TAnsiString, ConstructionKeepsBytes) {
    EXPECT_EQ(S(TAnsiString("abc", 2)), "ab");
    EXPECT_EQ(S(TAnsiString('\xFF')), "\xFF");
    const char sNulem[] = {'a', '\0', 'b'};
    EXPECT_EQ(TAnsiString(sNulem, 3).Length(), 1); // length stops at the first NUL
    EXPECT_EQ(S(Cp("ёЁяЯ")), "\xB8\xA8\xFF\xDF");
}

TEST(TAnsiString, CopiesShareTheBodyAndCount) {
    TAnsiString a("abc");
    EXPECT_EQ(a.References(), 1u);
    {
        TAnsiString b(a);
        TAnsiString c;
        c = b;
        EXPECT_EQ(a.References(), 3u);
        EXPECT_EQ(a.Data(), c.Data());
        c = c; // self-assignment changes nothing
        EXPECT_EQ(a.References(), 3u);
        TAnsiString d(std::move(c));
        EXPECT_EQ(a.References(), 3u);
        EXPECT_EQ(c.Data(), nullptr);
    }
    EXPECT_EQ(a.References(), 1u);
    TAnsiString e("x");
    e = a; // the old body of e is released, a's is shared
    EXPECT_EQ(a.References(), 2u);
    EXPECT_EQ(S(e), "abc");
}

TEST(TAnsiString, WritingThroughCStrOfACopyLeavesTheOriginal) {
    TAnsiString a("abc");
    TAnsiString b(a);
    char* p = b.c_str();
    p[0] = 'X';
    EXPECT_EQ(S(a), "abc");
    EXPECT_EQ(S(b), "Xbc");
    EXPECT_EQ(a.References(), 1u);
    EXPECT_EQ(b.References(), 1u);
    EXPECT_NE(a.Data(), b.Data());
}

TEST(TAnsiString, WritersUnshare) {
    TAnsiString a("abc");
    TAnsiString b(a), c(a), d(a), e(a);
    b.Insert(TAnsiString("x"), 1);
    c.Delete(1, 1);
    d.SetLength(1);
    e = "zz";
    EXPECT_EQ(S(a), "abc");
    EXPECT_EQ(a.References(), 1u);
    EXPECT_EQ(S(b), "xabc");
    EXPECT_EQ(S(c), "bc");
    EXPECT_EQ(S(d), "a");
    EXPECT_EQ(S(e), "zz");
}

TEST(TAnsiString, AssignFromOwnBuffer) {
    TAnsiString a("abcdef");
    a = a.c_str() + 2;
    EXPECT_EQ(S(a), "cdef");
}

TEST(TAnsiString, SetLength) {
    TAnsiString a("abc");
    EXPECT_TRUE(a.SetLength(5));
    ASSERT_NE(a.Data(), nullptr);
    EXPECT_EQ(std::memcmp(a.Data(), "abc\0\0\0", 6), 0);
    EXPECT_EQ(a.Length(), 3); // the new bytes are NULs
    EXPECT_TRUE(a.SetLength(2));
    EXPECT_EQ(S(a), "ab");
    EXPECT_TRUE(a.SetLength(0));
    EXPECT_EQ(a.Data(), nullptr);
    TAnsiString b;
    EXPECT_TRUE(b.SetLength(3));
    EXPECT_EQ(b.Length(), 0);
    EXPECT_NE(b.c_str(), nullptr);
}

struct SluchaySub {
    const char* tekst;
    int pos, count;
    const char* ozhidaetsya;
};

TEST(TAnsiString, SubStringRanges) {
    const SluchaySub sluchai[] = {
        {"abc", 2, 2, "bc"}, {"abc", 2, 5, ""}, {"abc", 1, 3, "abc"},       {"abc", 3, 1, "c"},
        {"abc", 4, 1, ""},   {"abc", 0, 2, ""}, {"abc", -1, 3, ""},         {"abc", 1, 0, ""},
        {"abc", 1, -1, ""},  {"", 1, 1, ""},    {"abc", 2, 0x7FFFFFFF, ""},
    };
    for (const auto& c : sluchai) {
        TAnsiString r = TAnsiString(c.tekst).SubString(c.pos, c.count);
        EXPECT_EQ(S(r), c.ozhidaetsya) << c.tekst << " " << c.pos << " " << c.count;
        if (c.ozhidaetsya[0] == '\0') {
            EXPECT_EQ(r.Data(), nullptr);
        }
    }
}

TEST(TAnsiString, Pos) {
    struct {
        const char *tekst, *obrazec;
        int ozhidaetsya;
    } sluchai[] = {
        {"abcbc", "bc", 2}, {"abcbc", "cb", 3}, {"abcbc", "abcbc", 1}, {"abcbc", "abcbcx", 0},
        {"abcbc", "x", 0},  {"", "a", 0},       {"abc", "", 0},        {"aab", "ab", 2},
    };
    for (const auto& c : sluchai)
        EXPECT_EQ(TAnsiString(c.tekst).Pos(TAnsiString(c.obrazec)), c.ozhidaetsya)
            << c.tekst << " / " << c.obrazec;
}

TEST(TAnsiString, Insert) {
    struct {
        const char *tekst, *vstavka;
        int pos;
        const char* ozhidaetsya;
    } sluchai[] = {
        {"ab", "x", 3, "abx"},
        {"ab", "x", 4, "ab"},
        {"ab", "x", 1, "xab"},
        {"ab", "x", 2, "axb"},
        {"ab", "x", 0, "ab"},
        {"", "x", 1, "x"},
        {"", "x", 2, ""},
        {"ab", "", 1, "ab"},
        {"ab", "xyz", 2, "axyzb"},
        {"abcdefghijklmnop", "0123456789abcdef", 9, "abcdefgh0123456789abcdefijklmnop"},
    };
    for (const auto& c : sluchai) {
        TAnsiString t(c.tekst);
        t.Insert(TAnsiString(c.vstavka), c.pos);
        EXPECT_EQ(S(t), c.ozhidaetsya) << c.tekst << " + " << c.vstavka << " @" << c.pos;
    }
}

TEST(TAnsiString, InsertIntoEmptySharesAndIntoItself) {
    TAnsiString s("x");
    TAnsiString t;
    t.Insert(s, 1);
    EXPECT_EQ(s.References(), 2u);
    TAnsiString u("abc");
    u.Insert(u, 2);
    EXPECT_EQ(S(u), "aabcbc");
}

TEST(TAnsiString, Delete) {
    struct {
        const char* tekst;
        int pos, count;
        const char* ozhidaetsya;
    } sluchai[] = {
        {"a", 1, 2, "a"},     {"ab", 1, 2, ""},     {"abc", 2, 1, "ac"},  {"abc", 3, 1, "ab"},
        {"abc", 3, 2, "abc"}, {"abc", 0, 1, "abc"}, {"abc", 1, 0, "abc"}, {"", 1, 1, ""},
    };
    for (const auto& c : sluchai) {
        TAnsiString t(c.tekst);
        t.Delete(c.pos, c.count);
        EXPECT_EQ(S(t), c.ozhidaetsya) << c.tekst << " " << c.pos << " " << c.count;
    }
    TAnsiString ab("ab");
    ab.Delete(1, 2);
    EXPECT_EQ(ab.Data(), nullptr);
}

TEST(TAnsiString, DeleteManyKeepsTheRest) {
    // Shrinking below half the capacity takes a smaller buffer; the bytes
    // kept must survive the move.
    std::string dlinnaya(100, 'a');
    dlinnaya += "xyz";
    TAnsiString t(dlinnaya.c_str());
    t.Delete(1, 100);
    EXPECT_EQ(S(t), "xyz");
}

TEST(TAnsiString, Concatenation) {
    EXPECT_EQ(S(TAnsiString("ab") + TAnsiString("cd")), "abcd");
    EXPECT_EQ(S(TAnsiString() + TAnsiString("cd")), "cd");
    EXPECT_EQ(S(TAnsiString("ab") + TAnsiString()), "ab");
    EXPECT_EQ((TAnsiString() + TAnsiString()).Data(), nullptr);
    TAnsiString a("ab");
    TAnsiString r = a + TAnsiString("c");
    EXPECT_EQ(S(a), "ab");
    EXPECT_EQ(a.References(), 1u);
    std::string dlinnaya;
    TAnsiString t;
    for (int i = 0; i < 50; ++i) {
        t = t + TAnsiString(char('A' + i % 26));
        dlinnaya += char('A' + i % 26);
    }
    EXPECT_EQ(S(t), dlinnaya);
}

TEST(TAnsiString, Trim) {
    struct {
        std::string tekst, ozhidaetsya;
    } sluchai[] = {
        {" \t\r\n ", ""},
        {"  ab c\t", "ab c"},
        {"abc", "abc"},
        {std::string("\x01\x1F x \x20"), "x"},
        {Cp("  яблоко ё ").ToStd(), Cp("яблоко ё").ToStd()},
        {Cp("Ёж").ToStd(), Cp("Ёж").ToStd()},
        {"\xA0x\xA0", "\xA0x\xA0"}, // the non-breaking space is byte 160, kept
        {"!", "!"},
    };
    for (const auto& c : sluchai)
        EXPECT_EQ(S(TAnsiString(c.tekst.c_str()).Trim()), c.ozhidaetsya) << c.tekst;
    EXPECT_EQ(TAnsiString("   ").Trim().Data(), nullptr);
}

TEST(TAnsiString, CompareSignedBytes) {
    struct {
        std::string a, b;
        int ozhidaetsya;
    } sluchai[] = {
        {"", "", 0},       {"a", "ab", -1},   {"ab", "a", 1},       {"", "a", -1},
        {"a", "", 1},      {"abc", "abc", 0}, {"abd", "abc", 1},    {"ABC", "abc", -1},
        {"\xFF", "a", -1}, {"a", "\xFF", 1},  {"\xC0", "\xFF", -1}, {"\x7F", "\x80", 1},
    };
    for (const auto& c : sluchai)
        EXPECT_EQ(TAnsiString::Compare(TAnsiString(c.a.c_str()), TAnsiString(c.b.c_str())),
                  c.ozhidaetsya)
            << c.a << " ? " << c.b;
    EXPECT_EQ(TAnsiString::Compare(Cp("я"), TAnsiString("a")), -1);
}
} // namespace
