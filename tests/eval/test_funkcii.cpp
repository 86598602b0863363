// Function calls: the table, argument counts, angle units, the factorial's
// limits, and stopping inside a function.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "eval/funkcii.h"
#include "eval/progon.h"
#include "platform/platforma.h"

namespace {

const std::string kNeVichislit = "Не удаётся вычислить значение переменной y";

struct TSluchay {
    const char* virazhenie;
    std::uint8_t ugol;
    const char* rezultat;
};

TEST(Funkcii, ValuesRoundedTo90Digits) {
    const TSluchay sluchai[] = {
        {"sin(30)", 1, "0.5"},      {"arctg(1)", 1, "45"},       {"cos(200)", 2, "-1"},
        {"arcsin(1)", 2, "100"},    {"arctg2(0;1)", 1, "90"},    {"arctg2(-1;0)", 1, "180"},
        {"arccos(0)", 1, "90"},     {"tg(45)", 1, "1"},          {"sin(90)", 1, "1"},
        {"log(2;8)", 1, "3"},       {"lg(1000)", 1, "3"},        {"int(2.5;-1)", 1, "2"},
        {"int(2.5;1)", 1, "3"},     {"int(-2.5;0)", 1, "-3"},    {"int(-2.7;5)", 1, "-2"},
        {"frac(-2.25)", 1, "0.75"}, {"sqr(-3)", 1, "9"},         {"sqrt(16)", 1, "4"},
        {"exp(0)", 1, "1"},         {"ln(1)", 1, "0"},           {"fact(5)", 1, "120"},
        {"fact(0)", 1, "1"},        {"fact(1)", 1, "1"},         {"fact(-3)", 1, "1"},
        {"fact(1.9)", 1, "1"},      {"fact(5.9)", 1, "120"},     {"sin()", 1, "0"},
        {"sin(x)", 1, "0.5"},       {"2*sin(x*(x-29))", 1, "1"}, {"sqr(sqr(2))", 0, "16"},
    };
    for (const auto& s : sluchai) {
        TNastroyki n;
        n.ugol = s.ugol;
        n.razryadi = 90;
        const TItogProgona itog = Progon({"x = 30", std::string("y = ") + s.virazhenie}, n);
        EXPECT_EQ(itog.rezultat, s.rezultat) << s.virazhenie;
        EXPECT_TRUE(itog.soobsheniya.empty()) << s.virazhenie;
    }
}

TEST(Funkcii, RightAngleInGradsIsZeroToThePrecision) {
    TNastroyki grad;
    grad.ugol = 2;
    const TItogProgona itog = Vichislit("cos(100)", grad);
    EXPECT_TRUE(itog.gotovo);
    EXPECT_TRUE(PochtiNol(itog.rezultat, 90)) << itog.rezultat;
}

TEST(Funkcii, RadiansAreNotConverted) {
    TNastroyki rad;
    rad.ugol = 0;
    const TItogProgona pi4 = Vichislit("arctg(1)*4", rad);
    EXPECT_TRUE(BlizkieChisla(pi4.rezultat,
                              "3.14159265358979323846264338327950288419716939937510582097494459230"
                              "78164062862089986280348253421170679",
                              95))
        << pi4.rezultat;
    const TItogProgona sin30 = Vichislit("sin(30)", rad);
    EXPECT_TRUE(BlizkieChisla(sin30.rezultat, "-0.98803162409286178998774890729446", 30))
        << sin30.rezultat;
}

TEST(Funkcii, UnknownNamesAndArgumentCounts) {
    const std::pair<const char*, const char*> sluchai[] = {
        {"abs(1)", "Неизвестная функция abs"},
        {"Sin(1)", "Неизвестная функция in"},
        {"2sin(1)", "Неизвестная функция 2sin"},
        {"f(1;2;3)", "Неизвестная функция f"},
        {"sin(1;2)", "Неправильное количество аргументов функции sin - 2"},
        {"sin(1;2;3)", "Неправильное количество аргументов функции sin - 3"},
        {"log(8)", "Неправильное количество аргументов функции log - 1"},
        {"int(2.5)", "Неправильное количество аргументов функции int - 1"},
    };
    for (const auto& [v, soobshenie] : sluchai) {
        const TItogProgona itog = Vichislit(v);
        EXPECT_FALSE(itog.gotovo) << v;
        EXPECT_EQ(itog.soobsheniya, (std::vector<std::string>{soobshenie, kNeVichislit})) << v;
        EXPECT_TRUE(itog.zhurnal.ends_with(" ошибка вычислений")) << v;
    }
}

TEST(Funkcii, EmptySecondArgumentIsZero) {
    // log to base 2 of zero: whatever the logarithm gives, the call is made.
    const TItogProgona itog = Vichislit("log(2;)");
    EXPECT_TRUE(itog.soobsheniya.empty());
    EXPECT_NE(itog.zhurnal.find("log(2r10;) = "), std::string::npos) << itog.zhurnal;
}

TEST(Funkcii, LogEntryOfACall) {
    const TItogProgona itog = Vichislit("sqr(3)");
    EXPECT_EQ(itog.zhurnal, "\r\n3 = 3r10 = 3r10;\r\nsqr(3r10) = 9r10;\r\n9r10 = 9r10 = 9r10;");
}

// A clock that advances one second at every reading.
std::atomic<std::int64_t> sekundi{0};
long double TikayushieChasi() {
    return static_cast<long double>(++sekundi);
}

TEST(Faktorial, TimeLimitCountsOnlyAfter500Multiplications) {
    UstanovitIstochnikVremeni(&TikayushieChasi);
    // 518 multiplications: the clock is read for the 501st..518th only, so
    // it shows 18 seconds and the limit is not reached.
    sekundi = 0;
    TItogProgona itog = Vichislit("fact(519)");
    EXPECT_TRUE(itog.gotovo);
    EXPECT_TRUE(itog.soobsheniya.empty());
    sekundi = 0;
    itog = Vichislit("fact(600)");
    UstanovitIstochnikVremeni(nullptr);
    EXPECT_FALSE(itog.gotovo);
    EXPECT_EQ(itog.soobsheniya,
              (std::vector<std::string>{"На вычисление функции требуется слишком много времени",
                                        kNeVichislit}));
    EXPECT_TRUE(itog.zhurnal.ends_with(" ошибка вычислений"));
}

TEST(Faktorial, StopRequestInsideTheProductLoop) {
    // Without polling, this factorial would run into the 30-second limit and
    // report it; a stop must end it with the stop's log text instead.
    std::atomic<bool> gotovo{false};
    std::thread stop([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        CalcCancelled.store(1);
        while (!gotovo) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    TItogProgona itog;
    // Progon clears the flag before the run; the thread raises it during it.
    itog = Vichislit("fact(2000000000)");
    gotovo = true;
    stop.join();
    EXPECT_FALSE(itog.gotovo);
    EXPECT_EQ(itog.soobsheniya, std::vector<std::string>{kNeVichislit});
    EXPECT_TRUE(itog.zhurnal.ends_with(" отмена вычислений")) << itog.zhurnal;
}

} // namespace
