// Long definition lines: the step log of a long line stays as it was
// recorded, and a stop request ends a long line at once.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "eval/operatori.h"
#include "eval/progon.h"

namespace {

const std::string kNeVichislit = "Не удаётся вычислить значение переменной y";

// A long line that goes through every path of the evaluator: a long additive
// chain of literals and full-length value texts, upper-level operators, pairs
// of minus signs, blanks and tabs, names, nested groups, function calls with
// one and two arguments, nameless and empty groups.
std::vector<std::string> DlinnieOpredeleniya() {
    std::vector<std::string> stroki = {"a = 1/3", "b = -2.5e-1", "c = 7"};
    std::string y = "y = ";
    const char* soedineniya[] = {"+", "-", "--", "+ ", "\t-"};
    for (int i = 0; i < 600; ++i) {
        if (i > 0) y += soedineniya[i % 5];
        switch (i % 10) {
        case 0:
            y += std::to_string(i);
            break;
        case 1:
            y += "1*a*" + std::to_string(i % 9 + 1) + "." + std::to_string(i % 7);
            break;
        case 2:
            y += "2*--b^2";
            break;
        case 3:
            y += "sqr(a+" + std::to_string(i % 5) + ")";
            break;
        case 4:
            y += "(((" + std::to_string(i % 3) + "+a)*b))";
            break;
        case 5:
            y += "int(" + std::to_string(i) + "/3;" + std::to_string(i % 3 - 1) + ")";
            break;
        case 6:
            y += "2*()c";
            break;
        case 7:
            y += std::to_string(i) + " *\t-1";
            break;
        case 8:
            y += "log(2;" + std::to_string(i % 50 + 2) + ")/c";
            break;
        default:
            y += "2*c%" + std::to_string(i % 4 + 2) + "<<1>>2";
            break;
        }
    }
    stroki.push_back(y);
    return stroki;
}

std::string Prochitat(const std::string& imya) {
    std::ifstream f(std::string(CIFRAMER_TEST_DATA) + "/" + imya, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST(DlinnieStroki, LogAndValueOfALongLineAreKept) {
    // The file: a comment line, the result line, then the log bytes.
    const std::string fayl = Prochitat("dlinnaya_stroka_zhurnal.txt");
    ASSERT_FALSE(fayl.empty());
    const std::size_t konecKommentariya = fayl.find('\n');
    const std::size_t konecRezultata = fayl.find('\n', konecKommentariya + 1);
    ASSERT_NE(konecRezultata, std::string::npos);
    const std::string rezultat =
        fayl.substr(konecKommentariya + 1, konecRezultata - konecKommentariya - 1);
    const std::string zhurnal = fayl.substr(konecRezultata + 1);

    const TItogProgona itog = Progon(DlinnieOpredeleniya());
    EXPECT_TRUE(itog.soobsheniya.empty());
    EXPECT_EQ(itog.rezultat, rezultat);
    EXPECT_EQ(itog.zhurnal.size(), zhurnal.size());
    EXPECT_TRUE(itog.zhurnal == zhurnal) << "the log differs from the recorded one";
}

TEST(DlinnieStroki, AStopEndsALongLineAtOnce) {
    // The stop is requested while the first log text is written: before the
    // first operator pass over the chain, and before the first group of the
    // brackets is replaced. The bound is generous: it only tells a run that
    // stops at once from one that goes through the whole line first.
    constexpr int n = 100000;
    std::string summa = "1", proizvedenie = "1";
    for (int i = 1; i < n; ++i) {
        summa += "+1";
        proizvedenie += "*1";
    }
    const std::string skobki = std::string(n, '(') + "1" + std::string(n, ')');
    const std::string* stroki[] = {&summa, &proizvedenie, &skobki};
    for (const std::string* y : stroki) {
        TNastroyki nastroyki;
        nastroyki.otmenaNaZapisi = 1;
        const auto nachalo = std::chrono::steady_clock::now();
        const TItogProgona itog = Progon({"y = " + *y}, nastroyki);
        const std::chrono::duration<double> dlilsya = std::chrono::steady_clock::now() - nachalo;
        EXPECT_FALSE(itog.gotovo) << y->substr(0, 8);
        EXPECT_EQ(itog.soobsheniya, std::vector<std::string>{kNeVichislit});
        EXPECT_TRUE(itog.zhurnal.ends_with(" отмена вычислений")) << y->substr(0, 8);
        EXPECT_LT(dlilsya.count(), 10.0) << y->substr(0, 8);
    }
}

TEST(DlinnieStroki, TextsPutBackInFrontOfTheRest) {
    // More put back than was cut off, so the room in front runs out and the
    // rest moves; the text must read as the same bytes as a plain string.
    const std::string nachalo = "0123456789";
    TOstatok ostatok(nachalo.data(), nachalo.size());
    std::string obrazec = nachalo;
    for (int i = 0; i < 2000; ++i) {
        const std::string vperedi(static_cast<std::size_t>(i % 300),
                                  static_cast<char>('a' + i % 26));
        ostatok.VstavitVperedi(vperedi.data(), vperedi.size());
        obrazec.insert(0, vperedi);
        const std::size_t srezat = static_cast<std::size_t>(i % 7) * 20 % (obrazec.size() + 1);
        ostatok.Otrezat(srezat);
        obrazec.erase(0, srezat);
        ASSERT_EQ(ostatok.Dlina(), obrazec.size()) << i;
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ostatok.Dannye()), ostatok.Dlina()),
              obrazec);
    ostatok.Otrezat(ostatok.Dlina());
    EXPECT_TRUE(ostatok.Pust());
}

} // namespace
