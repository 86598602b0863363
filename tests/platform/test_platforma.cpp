#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/test_support.h"
#include "platform/platforma.h"
#include "text/kodirovka.h"
#include "text/operacii_s_pamyatyu.h"

namespace {
TEST(Cp1251, RussianLettersRoundTrip) {
    const std::string propisnye = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
    const std::string strochnye = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
    for (const auto& utf : {propisnye, strochnye}) {
        const std::string cp = Utf8VCp1251(utf);
        ASSERT_EQ(cp.size(), 33u);
        EXPECT_EQ(Cp1251VUtf8(cp), utf);
    }
    // Windows-1251 places the letters at 0xC0..0xFF, with Ё and ё apart.
    std::string ozh;
    for (int b = 0xC0; b <= 0xFF; ++b) ozh += char(b);
    const std::string bezYo = Utf8VCp1251(propisnye.substr(0, 12) + propisnye.substr(14) +
                                          strochnye.substr(0, 12) + strochnye.substr(14));
    EXPECT_EQ(bezYo, ozh);
    EXPECT_EQ(Utf8VCp1251("Ё"), "\xA8");
    EXPECT_EQ(Utf8VCp1251("ё"), "\xB8");
}

TEST(Cp1251, EveryAssignedByteRoundTripsAndAsciiIsUnchanged) {
    for (int b = 1; b < 256; ++b) {
        const std::string cp(1, char(b));
        const std::string utf = Cp1251VUtf8(cp);
        if (b == 0x98) {
            EXPECT_EQ(utf, "?"); // unassigned in the code page
            continue;
        }
        if (b < 0x80) {
            EXPECT_EQ(utf, cp);
        } else {
            EXPECT_GE(utf.size(), 2u) << b;
        }
        EXPECT_EQ(Utf8VCp1251(utf), cp) << b;
    }
    struct {
        const char* utf;
        const char* cp;
    } otdelnye[] = {
        {"€", "\x88"},      {"№", "\xB9"},        {"—", "\x97"}, {"«»", "\xAB\xBB"},
        {"Ґґ", "\xA5\xB4"}, {"\xC2\xA0", "\xA0"}, {"™", "\x99"},
    };
    for (const auto& c : otdelnye) EXPECT_EQ(Utf8VCp1251(c.utf), c.cp) << c.utf;
}

TEST(Cp1251, MissingCharactersAndInvalidUtf8BecomeQuestionMarks) {
    struct {
        std::string utf, cp;
    } sluchai[] = {
        {"a\xE4\xB8\xAD"
         "b",
         "a?b"},                   // CJK character, not in the code page
        {"\xF0\x9F\x98\x80", "?"}, // emoji (4 bytes)
        {"é", "?"},                // Latin-1 letter the code page lacks
        {"\xFF", "?"},             // never valid in UTF-8
        {"\xD0", "?"},             // truncated two-byte sequence
        {"\xC0\xAF", "??"},        // overlong "/"
        {"\xED\xA0\x80", "???"},   // surrogate
        {"\x80z", "?z"},           // stray continuation byte
        {"\xD0\xAF\xD0", "\xDF?"}, // Я then a truncated sequence
    };
    for (const auto& c : sluchai) EXPECT_EQ(Utf8VCp1251(c.utf), c.cp) << c.utf;
}

std::string posledniy;
int vizovov = 0;
void Zapisat(const TAnsiString& t) {
    posledniy = t.ToStd();
    ++vizovov;
}

TEST(ShowError, GoesToTheInstalledHandlerAndBack) {
    vizovov = 0;
    ObrabotchikOshibki prezhniy = UstanovitObrabotchikOshibki(&Zapisat);
    ShowError(Cp("Ошибка"));
    EXPECT_EQ(vizovov, 1);
    EXPECT_EQ(posledniy, Utf8VCp1251("Ошибка"));
    EXPECT_EQ(UstanovitObrabotchikOshibki(prezhniy), &Zapisat);
    testing::internal::CaptureStderr();
    ShowError(TAnsiString("x")); // to the default handler, not the removed one
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "x\n");
    EXPECT_EQ(vizovov, 1);
    {
        SborSoobsheniy sbor;
        ShowError(Cp("Порядок числа."));
        EXPECT_EQ(sbor.Soobsheniya(), std::vector<std::string>{"Порядок числа."});
    }
}

TEST(ShowError, DefaultHandlerWritesUtf8LineToStderr) {
    UstanovitObrabotchikOshibki(nullptr);
    testing::internal::CaptureStderr();
    ShowError(Cp("Ёж"));
    ShowError(TAnsiString());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Ёж\n\n");
}

TEST(Platforma, LocaleSeparatorLeavesNumericCategoryC) {
    const char* prezhnyaya = std::getenv("LC_ALL");
    const std::string sohranennaya = prezhnyaya ? prezhnyaya : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(LokalniyRazdelitel(), '.');
    // A locale that cannot be set leaves the C library's own ".", so that
    // results still pipe into bc and awk.
    setenv("LC_ALL", "garbage", 1);
    EXPECT_EQ(LokalniyRazdelitel(), '.');
    // A locale with a comma, when the machine has one.
    for (const char* imya : {"ru_RU.UTF-8", "de_DE.UTF-8", "ru_RU.CP1251"}) {
        setenv("LC_ALL", imya, 1);
        if (std::setlocale(LC_ALL, "") == nullptr) continue;
        std::setlocale(LC_ALL, "C");
        EXPECT_EQ(LokalniyRazdelitel(), ',') << imya;
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 1.5);
        EXPECT_STREQ(buf, "1.5");
        EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
    }
    if (prezhnyaya)
        setenv("LC_ALL", sohranennaya.c_str(), 1);
    else
        unsetenv("LC_ALL");
    std::setlocale(LC_ALL, "C");
}

TEST(Platforma, PhysicalMemoryIsPlausible) {
    const std::uint64_t p = FizicheskayaPamyat();
    EXPECT_GE(p, std::uint64_t(64) << 20);
}

TEST(Platforma, CalcCancelledStartsClear) {
    EXPECT_EQ(CalcCancelled.load(), 0);
}
} // namespace

namespace {

TEST(Otmena, AThreadCanIgnoreAStopThatIsNotItsOwn) {
    CalcCancelled = 0;
    EXPECT_FALSE(OtmenaZaproshena());
    CalcCancelled = 1;
    EXPECT_TRUE(OtmenaZaproshena());
    {
        TBezOtmeny bez;
        EXPECT_FALSE(OtmenaZaproshena());
        {
            TBezOtmeny vlozhennoe;
            EXPECT_FALSE(OtmenaZaproshena());
        }
        EXPECT_FALSE(OtmenaZaproshena()); // nesting keeps the outer state
        bool vDrugomPotoke = false;       // other threads still obey
        std::thread([&] { vDrugomPotoke = OtmenaZaproshena(); }).join();
        EXPECT_TRUE(vDrugomPotoke);
    }
    EXPECT_TRUE(OtmenaZaproshena());
    CalcCancelled = 0;
}

} // namespace
