// The warnings and places of a run's outcome: each case gives the
// definitions, the warnings expected (kind, line, span, the start of the
// text) and checks that the value and the messages stay what they were.
#include <gtest/gtest.h>

#include "eval/progon.h"

namespace {

using V = TVidPreduprezhdeniya;

struct TOzhidanie {
    V vid;
    std::int32_t stroka, nachalo, dlina;
    const char* nachaloTeksta; // UTF-8
};

struct TSluchay {
    std::vector<std::string> stroki;
    std::int32_t osnovanie;
    const char* rezultat; // as shown; null: no value
    std::vector<TOzhidanie> preduprezhdeniya;
};

TEST(Preduprezhdeniya, NameKindLineSpanAndKeepTheValue) {
    const std::vector<TSluchay> sluchai = {
        {{"y = 9A"}, 10, "0", {{V::NeChislo, 1, 4, 2, "«9A» — не число в системе счисления 10"}}},
        {{"x = 1", "y = 2*PI"}, 10, "0", {{V::NeChislo, 2, 6, 2, "«PI» — не число"}}},
        {{"y = 8r8+1"},
         10,
         "1",
         {{V::NeChislo, 1, 4, 3, "«8r8» — не число в системе счисления 8"}}},
        {{"y = 1E3"}, 10, "0", {{V::NeChislo, 1, 4, 3, "«1E3»"}}},
        {{"y = PI+1"}, 36, "PJr36", {{V::ImyaKakChislo, 1, 4, 2, "«PI» прочитано как число"}}},
        {{"y = 3"}, 2, "0r2", {{V::NeChislo, 1, 4, 1, "«3» — не число в системе счисления 2"}}},
        {{"y = sqrt(-4)"},
         10,
         "0",
         {{V::VneOblasti, 1, 4, 8, "«sqrt(-4)» — корень из отрицательного"}}},
        {{"y = ln(0)"},
         10,
         "-1e536870912",
         {{V::VneOblasti, 1, 4, 5, "«ln(0)» — логарифм нуля, взята минус бесконечность"}}},
        {{"y = 2+fact(-1)"},
         10,
         "3",
         {{V::VneOblasti, 1, 6, 8, "«fact(-1)» — факториал отрицательного"}}},
        {{"y = arcsin(2)"},
         10,
         nullptr,
         {{V::VneOblasti, 1, 4, 9, "«arcsin(2)» — арксинус вне отрезка [-1; 1], взято 90"}}},
        {{"y = tg(270)+1"},
         10,
         nullptr,
         {{V::VneOblasti, 1, 4, 7, "«tg(270)» — тангенс там, где косинус равен нулю"}}},
        {{"y = log(1;5)"},
         10,
         "1e536870912",
         {{V::VneOblasti, 1, 4, 8, "«log(1;5)» — логарифм по основанию 1"}}},
        {{"y = (-8)^(1/3)"},
         10,
         "0",
         {{V::VneOblasti, 1, 8, 1, "«-8 ^ 0.333333» — отрицательное"}}},
        {{"y = 5%0"},
         10,
         "0",
         {{V::DelenieNaNol, 1, 5, 1, "«5 % 0» — остаток от деления на нуль, взято 0"}}},
        {{"y = 1/0/3"},
         10,
         nullptr,
         {{V::DelenieNaNol, 1, -1, 0, "«1 / 0» — деление на нуль, взята бесконечность"}}},
        {{"y = exp(1e10)"},
         10,
         "1e536870912",
         {{V::Perepolnenie, 1, 4, 9, "«exp(1e10)» — результат вне"}}},
        {{"y = 1e-300000000*1e-300000000"},
         10,
         "0",
         {{V::PoteryaPoryadka, 1, 16, 1, "«1e-300000000 * 1e-300000000» — результат меньше"}}},
        {{"y = 1", "y = 2"},
         10,
         "1",
         {{V::PovtornoeImya, 2, 0, 1, "«y» уже определена в строке 1"}}},
        {{"y = 2*x+1", "x = 9A"}, 10, "1", {{V::NeChislo, 2, 4, 2, "«9A»"}}},
        // Nothing to say: values the input means literally.
        {{"y = sqrt(4)+ln(1)+0^0+0*5+(-8)^3+FF"}, 16, nullptr, {}},
        {{"y = 1/3*3"}, 10, nullptr, {}},
    };
    for (const TSluchay& s : sluchai) {
        TNastroyki n;
        n.osnovanie = s.osnovanie;
        n.razryadi = 0 + 100;
        const TItogProgona itog = Progon(s.stroki, n);
        const std::string kto = s.stroki.back() + " (radix " + std::to_string(s.osnovanie) + ")";
        if (s.rezultat) {
            // Only cases whose value is short are compared whole.
            EXPECT_EQ(itog.rezultat, s.rezultat) << kto;
        }
        const auto& p = itog.ishod.Preduprezhdeniya;
        ASSERT_EQ(p.size(), s.preduprezhdeniya.size()) << kto;
        for (std::size_t i = 0; i < p.size(); ++i) {
            const TOzhidanie& o = s.preduprezhdeniya[i];
            EXPECT_EQ(p[i].Vid, o.vid) << kto;
            EXPECT_EQ(p[i].Stroka, o.stroka) << kto;
            EXPECT_EQ(p[i].Nachalo, o.nachalo) << kto;
            EXPECT_EQ(p[i].Dlina, o.dlina) << kto;
            EXPECT_EQ(Utf(p[i].Tekst).rfind(o.nachaloTeksta, 0), 0u)
                << kto << ": " << Utf(p[i].Tekst);
        }
        EXPECT_EQ(itog.ishod.Sostoyanie == TSostoyanieProgona::Gotovo, itog.gotovo) << kto;
    }
}

// A failure names its innermost definition, the line and the offending span,
// and every message with the line it is about.
TEST(Preduprezhdeniya, FailureNamesLineAndSpan) {
    const TItogProgona itog = Progon({"a = 1", "b = a +* 2", "y = b*2"});
    EXPECT_FALSE(itog.gotovo);
    EXPECT_EQ(itog.ishod.Sostoyanie, TSostoyanieProgona::Oshibka);
    EXPECT_EQ(itog.ishod.Stroka, 2);
    EXPECT_EQ(Utf(itog.ishod.Imya), "b");
    EXPECT_EQ(itog.ishod.Nachalo, 6);
    EXPECT_EQ(itog.ishod.Dlina, 2);
    ASSERT_EQ(itog.ishod.Soobsheniya.size(), 2u);
    EXPECT_EQ(Utf(itog.ishod.Soobsheniya[0].Tekst), "Неизвестный оператор +*");
    EXPECT_EQ(itog.ishod.Soobsheniya[0].Stroka, 2);
    EXPECT_EQ(Utf(itog.ishod.Soobsheniya[1].Tekst), "Не удаётся вычислить значение переменной y");
    EXPECT_EQ(itog.ishod.Soobsheniya[1].Stroka, 3);
    EXPECT_EQ(itog.soobsheniya.size(), 2u); // still shown as before

    const TItogProgona net = Progon({"y = 2*q"});
    EXPECT_EQ(net.ishod.Stroka, 1);
    EXPECT_EQ(net.ishod.Nachalo, 6);
    EXPECT_EQ(net.ishod.Dlina, 1);
}

// A name with a character outside Windows-1251 is refused, not merged with
// another such name.
TEST(Preduprezhdeniya, NameOutsideTheCodePageIsRefused) {
    TNastroyki n;
    n.imya = "π";
    const TItogProgona itog = Progon({"ä = 1", "π = 2"}, n);
    EXPECT_FALSE(itog.gotovo);
    ASSERT_EQ(itog.soobsheniya.size(), 3u);
    EXPECT_EQ(itog.soobsheniya[0],
              "Строка 1: имя содержит знак вне кодировки Windows-1251, строка не принята");
    EXPECT_EQ(itog.soobsheniya[2],
              "Имя вычисляемой переменной содержит знак вне кодировки Windows-1251");
}

} // namespace

namespace {

// A long line of distinct warnings keeps the first thousand and says so; the
// same warning again in one line is kept once.
TEST(Preduprezhdeniya, ManyAreBoundedAndRepeatsKeptOnce) {
    std::string stroka = "y = 0";
    for (int i = 1; i <= 3000; ++i) stroka += "+" + std::to_string(i) + "/0";
    const TItogProgona mnogo = Progon({stroka});
    const auto& p = mnogo.ishod.Preduprezhdeniya;
    ASSERT_EQ(p.size(), 1001u);
    EXPECT_EQ(Utf(p[999].Tekst).rfind("«1000 / 0»", 0), 0u) << Utf(p[999].Tekst);
    EXPECT_EQ(Utf(p[1000].Tekst), "предупреждений больше 1000, остальные не показаны");
    EXPECT_EQ(p[1000].Stroka, 0);

    const TItogProgona povtori = Progon({"y = sqrt(-1)+sqrt(-1)+sqrt(-4)+1/0+1/0"});
    EXPECT_EQ(povtori.ishod.Preduprezhdeniya.size(), 3u);
}

} // namespace
