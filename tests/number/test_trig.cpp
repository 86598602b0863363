// Trigonometric functions and pi.
#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "funkcii_pomoshch.h"
#include "number/vm_pi.h"
#include "number/vm_yadra.h"
#include "number/vm_funkcii.h"

using namespace funkcii_test;

namespace {

class FunkciiTrig : public FunkciiOsnova {};
class FunkciiPi : public FunkciiOsnova {};

// k pi / m from this module's pi in radix R (the quadrant and end-point
// logic is checked here; the accuracy of pi itself separately).
vmChislo DolyaPi(int k, int m, std::uint8_t R) {
    vmChislo p = vmPi(R);
    vmChislo kk, mm;
    vmIzCelogo32(&kk, &p, k);
    vmIzCelogo32(&mm, &p, m);
    vmUmnogit(&p, kk);
    vmRazdelit(&p, mm);
    return p;
}

class FunkciiPiTochnost : public FunkciiOsnova, public ::testing::WithParamInterface<int> {};

TEST_P(FunkciiPiTochnost, AgreesWithBc) {
    const auto R = static_cast<std::uint8_t>(GetParam());
    const vmChislo p = vmPi(R);
    EXPECT_EQ(p.Osnovanie, R);
    EXPECT_GE(ZapisatSoglasie("pi", p, Ssylka("pi", R)), 90);
}

INSTANTIATE_TEST_SUITE_P(Funkcii, FunkciiPiTochnost, ::testing::Values(2, 10, 16));

TEST_F(FunkciiPi, ComputedOncePerRadix) {
    const vmChislo p3 = vmPi(3);
    vmChislo v;
    ASSERT_TRUE(KeshNayti(VidKonstanti::Pi, 3, 0, &v));
    EXPECT_TRUE(OdinakovyeBayty(v, p3));
    EXPECT_TRUE(OdinakovyeBayty(vmPi(3), p3));
    EXPECT_EQ(p3.Osnovanie, 3);
    EXPECT_GE(ZapisatSoglasie("pi", p3, Ssylka("pi", 3)), 90);
    // A known entry is used as it is: nothing is recomputed.
    const vmChislo metka = Ch("3r5");
    KeshZapolnit(VidKonstanti::Pi, 5, 0, metka);
    EXPECT_TRUE(OdinakovyeBayty(vmPi(5), metka));
}

// A stop request from another thread ends the full bisection in radix 36
// (hundreds of long sine sums) mid-way, and a cold pi asked under a stop
// request ends at once and leaves its cache slot empty.
TEST_F(FunkciiPi, StopRequestEndsAColdPiAndStoresNothing) {
    // The plain kernels keep the full bisection running for seconds, well
    // past the moment of the stop request.
    vm_detail::BistrieYadra = false;
    ProveritOstanovku("full bisection radix 36", std::chrono::milliseconds(300),
                      [] { return vmPiBisekciya(36); });
    vm_detail::BistrieYadra = true;
    OchistitKesh();
    CalcCancelled.store(1);
    auto zadacha = std::async(std::launch::async, [] { return vmPi(36); });
    EXPECT_EQ(zadacha.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    zadacha.wait();
    CalcCancelled.store(0);
    vmChislo v;
    EXPECT_FALSE(KeshNayti(VidKonstanti::Pi, 36, 0, &v));
}

struct TrigSluchay {
    const char* imya;
    vmChislo (*f)(const vmChislo&);
    const char* x;
    int R;
    const char* ssylka;
};

vmChislo Sin(const vmChislo& x) {
    return vmSin(x, true);
}
vmChislo Cos(const vmChislo& x) {
    return vmCos(x, true);
}
vmChislo SinBezPrivedeniya(const vmChislo& x) {
    return vmSin(x, false);
}
vmChislo CosBezPrivedeniya(const vmChislo& x) {
    return vmCos(x, false);
}

TEST_F(FunkciiTrig, AgreesWithBc) {
    const TrigSluchay sluchai[] = {
        {"sin 1", Sin, "1", 10, "sin1"},
        {"cos 1", Cos, "1", 10, "cos1"},
        {"sin 10", Sin, "10", 10, "sin10"},
        {"cos -7", Cos, "-7", 10, "cos_7"},
        {"tg 1", vmTg, "1", 10, "tg1"},
        {"arctg 1", vmArctg, "1", 10, "arctg1"},
        {"arctg 0.3", vmArctg, "0.3", 10, "arctg0.3"},
        {"arctg -5", vmArctg, "-5", 10, "arctg_5"},
        {"arcsin 0.6", vmArcsin, "0.6", 10, "arcsin0.6"},
        {"arccos 0.6", vmArccos, "0.6", 10, "arccos0.6"},
        {"sin 1 unreduced", SinBezPrivedeniya, "1r16", 16, "sin1"},
        {"sin 1 unreduced", SinBezPrivedeniya, "1r2", 2, "sin1"},
        {"cos 1 unreduced", CosBezPrivedeniya, "1r2", 2, "cos1"},
        {"arctg 1", vmArctg, "1r2", 2, "arctg1"},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = s.f(Ch(s.x));
        EXPECT_EQ(r.Osnovanie, s.R) << s.imya;
        EXPECT_GE(ZapisatSoglasie(s.imya, r, Ssylka(s.ssylka, s.R)), 90);
    }
}

TEST_F(FunkciiTrig, OddAndEvenSymmetryIsExact) {
    for (const char* x : {"1", "0.3", "10", "-7.25", "100"}) {
        const vmChislo a = Ch(x);
        vmChislo minusA = a;
        minusA.Znak ^= 1;
        vmChislo sinMinus = vmSin(minusA, true);
        sinMinus.Znak ^= 1;
        EXPECT_TRUE(OdinakovyeBayty(sinMinus, vmSin(a, true))) << x;
        EXPECT_TRUE(OdinakovyeBayty(vmCos(minusA, true), vmCos(a, true))) << x;
        vmChislo tgMinus = vmTg(minusA);
        tgMinus.Znak ^= 1;
        EXPECT_TRUE(OdinakovyeBayty(tgMinus, vmTg(a))) << x;
    }
}

// An argument that reduces to exactly pi stays pi (x > pi is false) and its
// cosine is -1; sin of whole periods is zero to the working width.
TEST_F(FunkciiTrig, PeriodReduction) {
    for (std::uint8_t R : {2, 10}) {
        const vmChislo p = vmPi(R);
        vmChislo minusOdin = Konst(1, R);
        minusOdin.Znak = 1;
        EXPECT_GE(ZapisatSoglasie("cos pi", vmCos(p, true), minusOdin), 95);
        vmChislo triPi = p;
        vmUmnogitNaCifru(&triPi, 3);
        EXPECT_GE(Soglasie(vmCos(triPi, true), minusOdin), 95) << int(R);
        const vmChislo s = vmSin(vmSumma(&p, p), true);
        EXPECT_LT(s.Poryadok, -92) << int(R);
    }
}

struct UgolSluchay {
    const char* y;
    const char* x;
    int k, m; // expected k pi / m
};

// arctg2 answers in (-pi/2, 3pi/2): x < 0 adds pi, x = 0 gives +-pi/2.
TEST_F(FunkciiTrig, Arctg2Quadrants) {
    const UgolSluchay sluchai[] = {
        {"0", "-1", 1, 1},  {"-1", "-1", 5, 4}, {"1", "0", 1, 2},
        {"-1", "0", -1, 2}, {"1", "1", 1, 4},   {"1", "-1", 3, 4},
        {"-1", "1", -1, 4}, {"-3", "-3", 5, 4}, {"5", "-5", 3, 4},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = vmArctg2(Ch(s.y), Ch(s.x));
        EXPECT_GE(Soglasie(r, DolyaPi(s.k, s.m, 10)), 90) << "arctg2(" << s.y << ", " << s.x << ")";
    }
    const vmChislo nol = vmArctg2(Ch("0"), Ch("1"));
    EXPECT_EQ(vmZnak(&nol), 0);
}

// No domain error: |x| >= 1 gives the end points.
TEST_F(FunkciiTrig, InverseFunctionsOutsideTheirDomain) {
    EXPECT_GE(Soglasie(vmArcsin(Ch("2")), DolyaPi(1, 2, 10)), 90);
    EXPECT_GE(Soglasie(vmArcsin(Ch("-2")), DolyaPi(-1, 2, 10)), 90);
    EXPECT_GE(Soglasie(vmArcsin(Ch("1")), DolyaPi(1, 2, 10)), 90);
    EXPECT_GE(Soglasie(vmArccos(Ch("-3")), DolyaPi(1, 1, 10)), 90);
    const vmChislo c = vmArccos(Ch("1"));
    EXPECT_EQ(vmZnak(&c), 0);
}

} // namespace

namespace {

// An infinite angle has no remainder by the period: the functions answer at
// once with the infinity value (sin and tg keep the argument's sign) instead
// of summing a series of infinite terms until a stop request.
TEST_F(FunkciiTrig, InfiniteAngleEndsAtOnce) {
    struct Sluchay {
        const char* imya;
        vmChislo (*f)(const vmChislo&);
        int znakPlus, znakMinus;
    };
    const Sluchay sluchai[] = {
        {"sin", [](const vmChislo& x) { return vmSin(x, true); }, 1, -1},
        {"cos", [](const vmChislo& x) { return vmCos(x, true); }, 1, 1},
        {"tg", [](const vmChislo& x) { return vmTg(x); }, 1, -1},
    };
    for (const auto& s : sluchai) {
        for (int vid : {2, 3}) {
            auto zadacha =
                std::async(std::launch::async, [&s, vid] { return s.f(Konst(vid, 10)); });
            if (zadacha.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
                CalcCancelled.store(1);
                zadacha.wait();
                CalcCancelled.store(0);
                ADD_FAILURE() << s.imya << " of infinity does not end";
                continue;
            }
            EXPECT_TRUE(Beskonechnost(zadacha.get(), vid == 2 ? s.znakPlus : s.znakMinus))
                << s.imya << (vid == 2 ? "(+inf)" : "(-inf)");
        }
    }
}

} // namespace

namespace {

// Arguments that need no conversion: whole numbers and powers of the radix
// are made in radix R directly, pi/6 and 89 degrees from this module's pi
// the way the evaluator makes them (pi / 180 times 89).
vmChislo CeloeV(int n, std::uint8_t R) {
    const vmChislo obrazec = Konst(1, R);
    vmChislo x;
    vmIzCelogo32(&x, &obrazec, n);
    return x;
}

struct BcSluchay {
    const char* ssylka;
    vmChislo (*f)(std::uint8_t R);
    int minimum; // least agreement in digits of radix R
};

// exp(-20) through the power, ln R^-30 through vmLog, arcsin 1/2 = pi/6,
// tg 89 degrees and sqrt 7 in radixes 10, 16 and 2 against bc. tg 89 degrees
// inherits the error of pi (R^-92) times 89/180, enlarged about 57 times by
// tg near 90 degrees: six binary digits, one or two decimal ones.
TEST_F(FunkciiTrig, MoreValuesAgreeWithBc) {
    const BcSluchay sluchai[] = {
        {"exp_20", [](std::uint8_t R) { return vmExp(CeloeV(-20, R), false); }, 95},
        {"lnR_30",
         [](std::uint8_t R) {
             vmChislo x = Konst(1, R);
             vmRazdelitNaStepen(&x, 30);
             return vmLn(x, false);
         },
         90},
        {"pi_6",
         [](std::uint8_t R) {
             const vmChislo odin = Konst(1, R), dva = CeloeV(2, R);
             return vmArcsin(vmChastnoe(&odin, &dva));
         },
         95},
        {"tg89deg",
         [](std::uint8_t R) {
             const vmChislo p = vmPi(R), sto80 = CeloeV(180, R);
             vmChislo x = vmChastnoe(&p, &sto80);
             const vmChislo g89 = CeloeV(89, R);
             x = vmProizvedenie(&x, &g89);
             return vmTg(x);
         },
         84},
        {"sqrt7", [](std::uint8_t R) { return vmKoren(CeloeV(7, R)); }, 99},
    };
    for (const std::uint8_t R : {10, 16, 2}) {
        for (const auto& s : sluchai) {
            const vmChislo r = s.f(R);
            EXPECT_EQ(r.Osnovanie, R) << s.ssylka;
            EXPECT_GE(ZapisatSoglasie(s.ssylka, r, Ssylka(s.ssylka, R)), s.minimum)
                << s.ssylka << " radix " << int(R);
        }
    }
}

} // namespace
