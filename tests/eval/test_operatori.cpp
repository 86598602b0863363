// Scanners, bracket groups and the operator evaluator.
#include <gtest/gtest.h>

#include "eval/operatori.h"
#include "eval/progon.h"

namespace {

struct TSkan {
    const char* tekst;
    bool naideno;
    int nachalo, dlina;
};

TEST(Skanery, ChisloVNachaleReadsOnlyCompleteLiterals) {
    const TSkan sluchai[] = {
        {"12abc", true, 0, 2}, {"  -1A.8e-3r16+1", true, 2, 11},
        {"\t7", true, 1, 1},   {"A1", true, 0, 2},
        {"2x", true, 0, 1},    {"1.5e3r10*2", true, 0, 8},
        {"2e3e", true, 0, 3},  {"2e", false, 0, 0},
        {"2r", false, 0, 0},   {"2.", false, 0, 0},
        {"2ex", false, 0, 0},  {"1e-", false, 0, 0},
        {"-", false, 0, 0},    {"e5", false, 0, 0},
        {"x1", false, 0, 0},   {"+1", false, 0, 0},
        {"", false, 0, 0},     {".5", false, 0, 0},
    };
    for (const auto& s : sluchai) {
        int nachalo = -1, dlina = -1;
        const bool naideno = ChisloVNachale(Cp(s.tekst), nachalo, dlina);
        EXPECT_EQ(naideno, s.naideno) << s.tekst;
        if (s.naideno) {
            EXPECT_EQ(nachalo, s.nachalo) << s.tekst;
            EXPECT_EQ(dlina, s.dlina) << s.tekst;
        }
    }
}

TEST(Skanery, RunsOfNamesOperatorsAndBlanks) {
    int n = -1, d = -1;
    EXPECT_TRUE(ImyaVNachale(Cp("_ab1+2"), n, d));
    EXPECT_EQ(n, 0);
    EXPECT_EQ(d, 4);
    EXPECT_TRUE(ImyaVNachale(Cp("ёжик*2"), n, d));
    EXPECT_EQ(d, 4);
    EXPECT_FALSE(ImyaVNachale(Cp("йод"), n, d)); // "й" is no name character
    EXPECT_FALSE(ImyaVNachale(Cp("X"), n, d));   // nor is any upper-case letter
    EXPECT_FALSE(ImyaVNachale(Cp("Ж"), n, d));
    EXPECT_TRUE(OperatoriVNachale(Cp("<<=1"), n, d));
    EXPECT_EQ(d, 2);
    EXPECT_TRUE(OperatoriVNachale(Cp("*--3"), n, d));
    EXPECT_EQ(d, 3);
    EXPECT_FALSE(OperatoriVNachale(Cp(" +"), n, d));
    EXPECT_TRUE(ProbeliVNachale(Cp(" \t x"), n, d));
    EXPECT_EQ(d, 3);
    EXPECT_FALSE(ProbeliVNachale(Cp("x "), n, d));
}

TEST(Skobki, InnermostGroupWithItsFunctionName) {
    const std::pair<const char*, const char*> sluchai[] = {
        {"sin(x*(x+1))", "(x+1)"},
        {"2sin(x)", "2sin(x)"},
        {"a+f(1;2)*g(3)", "f(1;2)"},
        {"((2))", "(2)"},
        {"x+1", ""},
        {"ln(2)+(3", "ln(2)"},
    };
    for (const auto& [tekst, gruppa] : sluchai) {
        TPeremennaya p;
        p.Virazhenie = Cp(tekst);
        TAnsiString g;
        EXPECT_TRUE(NaitiSkobki(p, g)) << tekst;
        EXPECT_EQ(Utf(g), gruppa) << tekst;
    }
}

TEST(Skobki, ThreeBracketErrors) {
    const std::pair<const char*, const char*> sluchai[] = {
        {"(1+2", "Не найдена закрывающая скобка"},
        {"1+2)", "Не найдена открывающая скобка"},
        {")1+2(", "Закрывающая скобка идёт перед открывающей"},
    };
    for (const auto& [tekst, soobshenie] : sluchai) {
        SborSoobsheniy sbor;
        TPeremennaya p;
        p.Virazhenie = Cp(tekst);
        TAnsiString g;
        EXPECT_FALSE(NaitiSkobki(p, g)) << tekst;
        EXPECT_EQ(sbor.Soobsheniya(), std::vector<std::string>{soobshenie}) << tekst;
    }
}

struct TZnachenie {
    const char* virazhenie;
    const char* rezultat;
};

TEST(Operatori, PrecedenceMinusesAndShifts) {
    const TZnachenie sluchai[] = {
        {"2*3^2", "36"},    {"2^3^2", "64"}, {"2+3*4", "14"},    {"8/2/2", "2"},    {"7%4", "3"},
        {"7%-2", "-1"},     {"-5+2", "-3"},  {"--5", "5"},       {"---5", "-5"},    {"2*-3", "-6"},
        {"2--3", "5"},      {"2---3", "-1"}, {"2----3", "5"},    {"2*--3", "6"},    {"1<<2", "100"},
        {"1r2<<3", "8"},    {"100>>2", "1"}, {"2e3", "2000"},    {" 1 +\t2 ", "3"}, {"1-2*3", "-5"},
        {"0-2*-3", "6"},    {"1/4", "0.25"}, {"10-2-3", "5"},    {"X", "0"},        {"FFr10", "0"},
        {"1.5e1r10", "15"}, {"(2)", "2"},    {"((1+2)*3)", "9"},
    };
    for (const auto& s : sluchai) {
        const TItogProgona itog = Vichislit(s.virazhenie);
        EXPECT_TRUE(itog.gotovo) << s.virazhenie;
        EXPECT_EQ(itog.rezultat, s.rezultat) << s.virazhenie;
        EXPECT_TRUE(itog.soobsheniya.empty()) << s.virazhenie;
    }
}

TEST(Operatori, LiteralsOfTheRunRadix) {
    TNastroyki hex;
    hex.osnovanie = 16;
    EXPECT_EQ(Vichislit("FF", hex).rezultat, "FFr16");
    EXPECT_EQ(Progon({"ff = 1", "y = FF+ff"}, hex).rezultat, "100r16");
    EXPECT_EQ(Vichislit("10r10", hex).rezultat, "Ar16"); // an explicit mark wins
    TNastroyki tri;
    tri.osnovanie = 3;
    EXPECT_EQ(Vichislit("1/10", tri).rezultat, "0.1r3");
}

TEST(Operatori, SyntaxErrorsGoToTheLogOnly) {
    const char* sluchai[] = {"-x", "+5", "2+", "2 3", "2x", "1<", "1 000", "2*", "x=1"};
    for (const char* s : sluchai) {
        const TItogProgona itog = Progon({"x = 4", std::string("y = ") + s});
        EXPECT_FALSE(itog.gotovo) << s;
        EXPECT_EQ(itog.soobsheniya,
                  std::vector<std::string>{"Не удаётся вычислить значение переменной y"})
            << s;
        EXPECT_TRUE(itog.zhurnal.ends_with(" ошибка вычислений")) << s << ": " << itog.zhurnal;
    }
}

TEST(Operatori, MinusBeforeANameNeedsAnOperand) {
    const TZnachenie sluchai[] = {
        {"0-x", "-4"}, {"-1*x", "-4"}, {"--x", "4"}, {"-(x)", "-4"}, {"2*x^2", "64"}};
    for (const auto& s : sluchai) {
        const TItogProgona itog = Progon({"x = 4", std::string("y = ") + s.virazhenie});
        EXPECT_EQ(itog.rezultat, s.rezultat) << s.virazhenie;
    }
}

TEST(Operatori, UnknownOperatorRuns) {
    const std::pair<const char*, const char*> sluchai[] = {
        {"1<2", "Неизвестный оператор <"},     {"1>2", "Неизвестный оператор >"},
        {"1*/2", "Неизвестный оператор */"},   {"2^+3", "Неизвестный оператор ^+"},
        {"1<<<2", "Неизвестный оператор <<<"},
    };
    for (const auto& [v, soobshenie] : sluchai) {
        const TItogProgona itog = Vichislit(v);
        EXPECT_FALSE(itog.gotovo) << v;
        EXPECT_EQ(itog.soobsheniya, (std::vector<std::string>{
                                        soobshenie, "Не удаётся вычислить значение переменной y"}))
            << v;
    }
}

TEST(Operatori, LogLineOfOneExpression) {
    const TItogProgona itog = Vichislit("2*3+4");
    EXPECT_EQ(itog.zhurnal, "\r\n2*3+4 = 6r10+4r10 = 1e1r10;");
}

TEST(Operatori, NamesThatLookLikeLiterals) {
    EXPECT_EQ(Vichislit("2e").soobsheniya.front(), "Не удаётся найти переменную 2e");
    // "," is the alternative separator: "1," becomes "1.", no literal, so the
    // name "1" is looked up.
    EXPECT_EQ(Vichislit("1,").soobsheniya.front(), "Не удаётся найти переменную 1");
    EXPECT_EQ(Progon({"2e = 5", "y = 2e*2"}).rezultat, "10");
}

} // namespace
