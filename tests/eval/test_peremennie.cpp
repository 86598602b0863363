// Definitions, lookup by name, caching, cycles and the run body.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "eval/peremennie.h"
#include "eval/progon.h"
#include "number/vm_mashinnye.h"
#include "platform/platforma.h"

namespace {

const std::string kNeVichislit = "Не удаётся вычислить значение переменной y";

TEST(RazobratStroku, NameAndExpressionAroundTheFirstEquals) {
    struct {
        const char* stroka;
        const char* imya;
        const char* virazhenie;
    } sluchai[] = {
        {" x = 2 ", "x", "2"},   {"5+3", "y", "5+3"}, {"a = b = 1", "a", "b = 1"},
        {"\tЙ=1,5", "Й", "1.5"}, {"X=1", "X", "1"},
    };
    for (const auto& s : sluchai) {
        TPeremennaya p;
        p.Vichislena = 1;
        EXPECT_TRUE(RazobratStroku(p, Cp(s.stroka))) << s.stroka;
        EXPECT_EQ(Utf(p.Imya), s.imya) << s.stroka;
        EXPECT_EQ(Utf(p.Virazhenie), s.virazhenie) << s.stroka;
        EXPECT_EQ(p.Vichislena, 0);
    }
}

TEST(RazobratStroku, RefusedLinesAndTheirMessages) {
    const std::pair<const char*, const char*> sluchai[] = {
        {" = 5", "Неправильное имя переменной"},
        {"x =", "Неправильное значение переменной"},
        {"", "Неправильное значение переменной"},
        {" \t ", "Неправильное значение переменной"},
    };
    for (const auto& [stroka, soobshenie] : sluchai) {
        SborSoobsheniy sbor;
        TPeremennaya p;
        EXPECT_FALSE(RazobratStroku(p, Cp(stroka))) << stroka;
        EXPECT_EQ(p.Otvergnuta, 1);
        EXPECT_EQ(sbor.Soobsheniya(), std::vector<std::string>{soobshenie}) << stroka;
    }
}

TEST(Progon, RefusedLinesAreReportedAndSkipped) {
    const TItogProgona itog = Progon({"x = 1", "= 5", "", "y = x+1"});
    EXPECT_EQ(itog.rezultat, "2");
    EXPECT_EQ(itog.soobsheniya, (std::vector<std::string>{"Неправильное имя переменной",
                                                          "Неправильное значение переменной"}));
}

TEST(Progon, ARefusedLineThatKeptItsNameIsNeverFound) {
    // "x =" is refused but keeps the name x; the lookups must land on the
    // accepted definition below it, from the run body and from expressions.
    EXPECT_EQ(Progon({"x =", "x = 3", "y = x*2"}).rezultat, "6");
    TNastroyki cel;
    cel.imya = "x";
    EXPECT_EQ(Progon({"x =", "x = 3"}, cel).rezultat, "3");
    const TItogProgona tolkoOtvergnutaya = Progon({"x =", "y = 1"}, cel);
    EXPECT_FALSE(tolkoOtvergnutaya.gotovo);
    EXPECT_EQ(tolkoOtvergnutaya.soobsheniya.back(), "Не задана переменная x");
    const TItogProgona ssilka = Progon({"x =", "y = x"});
    EXPECT_EQ(ssilka.soobsheniya,
              (std::vector<std::string>{"Неправильное значение переменной",
                                        "Не удаётся найти переменную x", kNeVichislit}));
}

TEST(Progon, LookupWithoutIndexFindsTheSameRecords) {
    // The run body builds a name index; a table filled by hand is scanned.
    SbrositIndeksImen();
    const char* stroki[] = {"a = 1", "x =", "x = 2", "x = 3"};
    for (std::uint32_t i = 0; i < 4; ++i) RazobratStroku(VariableTable[i], Cp(stroki[i]));
    VariableCount = 4;
    EXPECT_EQ(NaitiPeremennuyu(Cp("x")), 2);
    PostroitIndeksImen();
    EXPECT_EQ(NaitiPeremennuyu(Cp("x")), 2);
    EXPECT_EQ(NaitiPeremennuyu(Cp("a")), 0);
    EXPECT_EQ(NaitiPeremennuyu(Cp("b")), -1);
    VariableCount = 2; // an index built for another count is not used
    EXPECT_EQ(NaitiPeremennuyu(Cp("x")), -1);
    SbrositIndeksImen();
}

TEST(Progon, TargetNameAndItsMessages) {
    TNastroyki probeli;
    probeli.imya = "  y \t";
    EXPECT_EQ(Progon({"y = 1"}, probeli).rezultat, "1");
    probeli.imya = "   ";
    EXPECT_EQ(Progon({"y = 1"}, probeli).soobsheniya,
              std::vector<std::string>{"Неправильное имя вычисляемой переменной"});
    TNastroyki z;
    z.imya = "z";
    EXPECT_EQ(Progon({"y = 1"}, z).soobsheniya, std::vector<std::string>{"Не задана переменная z"});
    TNastroyki bolshaya;
    bolshaya.imya = "Y";
    EXPECT_EQ(Progon({"y = 1"}, bolshaya).soobsheniya.back(), "Не задана переменная Y");
}

TEST(Progon, FirstDefinitionWinsAndValuesAreCached) {
    EXPECT_EQ(Progon({"x = 1", "x = 2", "y = x"}).rezultat, "1");
    const TItogProgona itog = Progon({"x = 2", "y = x+x*x"});
    EXPECT_EQ(itog.rezultat, "6");
    // x's own entry appears once: the later references use its value.
    std::size_t vhozhdeniy = 0;
    for (std::size_t i = itog.zhurnal.find("\r\n2 = "); i != std::string::npos;
         i = itog.zhurnal.find("\r\n2 = ", i + 1))
        ++vhozhdeniy;
    EXPECT_EQ(vhozhdeniy, 1u);
    // A computed record holds its value text.
    EXPECT_EQ(Utf(VariableTable[0].Virazhenie), "2r10");
    EXPECT_EQ(Utf(VariableTable[1].Virazhenie), "6r10");
}

TEST(Progon, Cycles) {
    const std::vector<std::vector<std::string>> sluchai = {
        {"y = y+1"}, {"y = a", "a = b", "b = y*2"}, {"a = b", "b = a", "y = sin(a)"}};
    for (const auto& stroki : sluchai) {
        const TItogProgona itog = Progon(stroki);
        EXPECT_FALSE(itog.gotovo);
        ASSERT_FALSE(itog.soobsheniya.empty());
        EXPECT_EQ(itog.soobsheniya.front(), "Обнаружена циклическая связь") << stroki[0];
        EXPECT_EQ(itog.soobsheniya.back(), kNeVichislit);
    }
}

TEST(Progon, GroupsWithoutAFunctionName) {
    EXPECT_EQ(Vichislit("(2;3)").soobsheniya,
              (std::vector<std::string>{"Отсутствует имя функции", kNeVichislit}));
    EXPECT_EQ(Vichislit("(1+2))").soobsheniya,
              (std::vector<std::string>{"Не найдена открывающая скобка", kNeVichislit}));
    EXPECT_EQ(Vichislit("(1+2").soobsheniya,
              (std::vector<std::string>{"Не найдена закрывающая скобка", kNeVichislit}));
    EXPECT_EQ(
        Vichislit(")1+2(").soobsheniya,
        (std::vector<std::string>{"Закрывающая скобка идёт перед открывающей", kNeVichislit}));
}

TEST(Progon, NamesOutsideTheNameAlphabet) {
    TNastroyki cel;
    cel.imya = "Й";
    EXPECT_EQ(Progon({"Й = 5"}, cel).rezultat, "5");
    // "Й" is no name character: the expression fails without a lookup.
    EXPECT_EQ(Progon({"Й = 5", "y = Й+1"}).soobsheniya, std::vector<std::string>{kNeVichislit});
    // "X" is a literal digit, invalid in radix 10, so it reads as zero.
    EXPECT_EQ(Progon({"X = 5", "y = X+1"}).rezultat, "1");
    EXPECT_EQ(Progon({"ёлка = 2", "y = ёлка^2"}).rezultat, "4");
}

TEST(Progon, ExpressionAfterASecondEquals) {
    const TItogProgona itog = Progon({"a = b = 1", "b = 1"}, [] {
        TNastroyki n;
        n.imya = "a";
        return n;
    }());
    EXPECT_FALSE(itog.gotovo);
    EXPECT_EQ(itog.soobsheniya,
              std::vector<std::string>{"Не удаётся вычислить значение переменной a"});
}

TEST(Progon, CommaAndPointSeparators) {
    for (const char* s : {"1.5", "1,5"}) EXPECT_EQ(Vichislit(s).rezultat, "1.5") << s;
    PostroitTabliciSimvolov(',');
    for (const char* s : {"1.5", "1,5"}) EXPECT_EQ(Vichislit(s).rezultat, "1,5") << s;
    EXPECT_EQ(Vichislit("int(2.5;1)+1").rezultat, "4");
    EXPECT_EQ(Vichislit("1,").soobsheniya.front(), "Не удаётся найти переменную 1");
    PostroitTabliciSimvolov('.');
}

TEST(Progon, DisplayRadixAndDigitCount) {
    TNastroyki n;
    n.razryadi = 2;
    EXPECT_EQ(Vichislit("2/3", n).rezultat, "0.67");
    n.razryadi = 0;
    EXPECT_EQ(Vichislit("2/3", n).rezultat, "1");
    n.razryadi = 100;
    EXPECT_EQ(Vichislit("10^11").rezultat, "1e11");
    EXPECT_EQ(Vichislit("10^10").rezultat, "10000000000");
    n.osnovanie = 36;
    EXPECT_EQ(Vichislit("ZZr36+1r36", n).rezultat, "100r36");
}

// A literal in a radix above 36 computes in that radix, but such a number
// has no digit characters: its value text is written in the run's radix, so
// it goes on as its own value instead of the formatter's error text (which
// reads back as zero).
TEST(Progon, RadixesAbove36TravelInTheRunsRadix) {
    const TItogProgona ln = Vichislit("ln(11r100)");
    ASSERT_TRUE(ln.gotovo);
    EXPECT_EQ(ln.rezultat, Vichislit("ln(101)").rezultat);
    EXPECT_EQ(ln.zhurnal.find("Ошибка"), std::string::npos) << ln.zhurnal;
    TNastroyki n;
    n.osnovanie = 16;
    const TItogProgona summa = Vichislit("11r100 + 1", n);
    EXPECT_TRUE(summa.gotovo);
    EXPECT_EQ(summa.rezultat, "66r16");
    EXPECT_EQ(summa.zhurnal.find("Ошибка"), std::string::npos) << summa.zhurnal;
}

TEST(Progon, TooManyLines) {
    std::vector<std::string> stroki(65537, "y = 1");
    const TItogProgona itog = Progon(stroki);
    EXPECT_FALSE(itog.gotovo);
    EXPECT_EQ(itog.soobsheniya, std::vector<std::string>{
                                    "Слишком много строк определений: допускается не более 65536"});
    stroki.pop_back();
    EXPECT_EQ(Progon(stroki).rezultat, "1");
}

TEST(Progon, ALineWithANulByteIsRefusedNotCut) {
    // Cut at the NUL, line 2 would define y as 1; refused, the y of line 3
    // is the one computed.
    const std::vector<std::string> stroki = {"x = 2",
                                             std::string("y = 1\0"
                                                         "2+3",
                                                         9),
                                             "y = x*5"};
    const TItogProgona itog = Progon(stroki);
    EXPECT_EQ(itog.rezultat, "10");
    EXPECT_EQ(itog.soobsheniya,
              std::vector<std::string>{"Строка 2 содержит нулевой байт и не принята"});
}

TEST(Progon, AnExceptionOnTheCalculationThreadEndsItWithAMessage) {
    SborSoobsheniy sbor;
    bool doshlo = false;
    EXPECT_TRUE(VipolnitNaPotokeVichisleniy([&] {
        doshlo = true;
        throw std::bad_alloc();
    }));
    EXPECT_TRUE(doshlo);
    EXPECT_TRUE(VipolnitNaPotokeVichisleniy([] { throw std::runtime_error("x"); }));
    EXPECT_EQ(sbor.Soobsheniya(), (std::vector<std::string>{"Недостаточно памяти для вычисления",
                                                            "Внутренняя ошибка вычисления"}));
}

TEST(Progon, ChainOfAllRecords) {
    // 65536 variables, each referring to the next: the deepest nesting the
    // table allows, on the calculation thread's stack.
    std::vector<std::string> stroki;
    stroki.reserve(65536);
    stroki.push_back("y = a1+1");
    for (int i = 1; i < 65535; ++i)
        stroki.push_back("a" + std::to_string(i) + " = a" + std::to_string(i + 1) + "+1");
    stroki.push_back("a65535 = 7");
    const TItogProgona itog = Progon(stroki);
    EXPECT_TRUE(itog.soobsheniya.empty());
    EXPECT_EQ(itog.rezultat, std::to_string(65535 + 7));
}

TEST(Progon, StopRequestEndsTheRun) {
    // The stop flag is raised while the k-th log text is written; whatever
    // the phase, the run ends without a result and the log says so. The run
    // writes 14 texts before the nameless group with ";" would be reported,
    // among them the ends of group arguments (6, 11, 14) and of a function
    // call (8), after which only the bracket reduction looks at the flag.
    const std::vector<std::string> stroki = {"x = 2", "y = sqr(x+1)*3+(x;1)"};
    for (int k = 1; k <= 14; ++k) {
        TNastroyki n;
        n.otmenaNaZapisi = k;
        const TItogProgona itog = Progon(stroki, n);
        EXPECT_FALSE(itog.gotovo) << k;
        EXPECT_EQ(itog.soobsheniya, std::vector<std::string>{kNeVichislit}) << k;
        EXPECT_NE(itog.zhurnal.find(" отмена вычислений"), std::string::npos) << k;
        EXPECT_EQ(itog.zhurnal.find(" ошибка вычислений"), std::string::npos) << k;
    }
}

// A window whose radix changes between the start and the end of the run, and
// whose end-of-run radix read is where the user presses "Стоп".
class TOknoSOstanovkoyVKonce : public IOknoVichisleniya {
  public:
    int chteniyOsnovaniya = 0;
    bool pokazano = false;
    std::string rezultat;
    std::vector<TAnsiString> StrokiOpredeleniy() override { return {Cp("y = 1/3")}; }
    TAnsiString ImyaPeremennoy() override { return Cp("y"); }
    std::int32_t PoluchitOsnovanie() override {
        if (++chteniyOsnovaniya == 1) return 10;
        CalcCancelled.store(1);
        return 16;
    }
    std::int32_t PoluchitRazryadi() override { return 100; }
    void UstanovitZnachenie(const TAnsiString& t) override {
        pokazano = true;
        rezultat = Utf(t);
    }
};

TEST(Progon, StopDuringTheConversionOfTheResultShowsNoResult) {
    // The radix conversion gives up on a stop request and returns zero; that
    // zero must not be shown as the value of y.
    TOknoSOstanovkoyVKonce okno;
    CalcCancelled.store(0);
    SborSoobsheniy sbor;
    EXPECT_FALSE(VichislitPeremennuyu(okno));
    CalcCancelled.store(0);
    EXPECT_EQ(okno.chteniyOsnovaniya, 2);
    EXPECT_FALSE(okno.pokazano) << okno.rezultat;
    EXPECT_EQ(sbor.Soobsheniya(), std::vector<std::string>{kNeVichislit});
}

// The line to show after a failed run: the innermost definition still
// under evaluation, not the last one computed nor the target.
TEST(Progon, TheFailedDefinitionIsTheInnermostStillEvaluating) {
    struct {
        std::vector<std::string> stroki;
        std::int32_t indeks;
    } sluchai[] = {
        {{"a = 1", "b = q+1", "y = a+b"}, 1},         // unknown name in b
        {{"y = x", "z = 1", "x = y"}, 2},             // cycle closed in x
        {{"y = a", "a = b*2", "b = c+", "c = 1"}, 2}, // syntax error in b, c computed
        {{"f = 1", "y = f+sin(1;2)"}, 1},             // wrong argument count
        {{"y = (1+2", "x = 1"}, 0},                   // bracket error
        {{"x = 2", "y = x*(x+1)"}, -1},               // no failure
        {{"x = 1"}, -1},                              // target not defined
    };
    for (const auto& s : sluchai) {
        const TItogProgona itog = Progon(s.stroki);
        EXPECT_EQ(IndeksNeudachnoyZapisi(), s.indeks) << s.stroki.back();
        EXPECT_EQ(itog.gotovo, s.indeks < 0 && s.stroki.size() > 1) << s.stroki.back();
    }
}

} // namespace
