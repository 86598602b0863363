// Square root.
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "funkcii_pomoshch.h"
#include "number/vm_funkcii.h"

using namespace funkcii_test;

namespace {

class FunkciiKoren : public FunkciiOsnova {};

TEST_F(FunkciiKoren, NonPositiveGivesPositiveZero) {
    for (const char* x : {"0", "-4", "-1e-300"}) {
        const vmChislo r = vmKoren(Ch(x));
        EXPECT_EQ(vmZnak(&r), 0) << x;
        EXPECT_EQ(r.Znak, 0) << x;
    }
}

struct KorenSluchay {
    const char* x;
    int R;
    const char* ssylka; // name in funkcii_ref.txt, or an exact literal
    int minimum;        // least agreement in digits
};

TEST_F(FunkciiKoren, AgreesWithReferences) {
    const KorenSluchay sluchai[] = {
        {"2", 10, "sqrt2", 99}, {"2r16", 16, "sqrt2", 99},    {"10r2", 2, "sqrt2", 99},
        {"3", 10, "sqrt3", 99}, {"0.01", 10, "sqrt0.01", 99}, {"1e50", 10, "sqrt1e50", 99},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = vmKoren(Ch(s.x));
        EXPECT_EQ(r.Osnovanie, s.R);
        const std::string chto = std::string("sqrt ") + s.x;
        EXPECT_GE(ZapisatSoglasie(chto.c_str(), r, Ssylka(s.ssylka, s.R)), s.minimum);
    }
    EXPECT_GE(Soglasie(vmKoren(Ch("4")), Ch("2")), 100);
    EXPECT_GE(Soglasie(vmKoren(Ch("1e-200")), Ch("1e-100")), 100);
}

// For x far below one the tolerance |x| R^-100 is finer than the root's last
// digit; the iteration must still end (a repeated or alternating guess, or
// a longer cycle: the last guesses of sqrt 0.002 circle through four values).
TEST_F(FunkciiKoren, TinyArgumentsEnd) {
    for (const char* x :
         {"2e-300", "3e-77", "5e-31", "10.1e-99r2", "2e-40r16", "0.002", "2e-51", "8e-3r36"}) {
        auto zadacha = std::async(std::launch::async, [x] { return vmKoren(Ch(x)); });
        if (zadacha.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            CalcCancelled.store(1); // lets the runaway iteration end
            zadacha.wait();
            FAIL() << "sqrt " << x << " does not end";
        }
        const vmChislo r = zadacha.get();
        const vmChislo kvadrat = vmProizvedenie(&r, &r);
        EXPECT_GE(Soglasie(kvadrat, Ch(x)), 99) << x;
    }
}

TEST_F(FunkciiKoren, InfinityIsItsOwnRoot) {
    auto zadacha = std::async(std::launch::async, [] { return vmKoren(Konst(2, 10)); });
    if (zadacha.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        CalcCancelled.store(1);
        zadacha.wait();
        FAIL() << "sqrt of infinity does not end";
    }
    // The infinity value itself, not some other digit at the exponent limit.
    EXPECT_TRUE(OdinakovyeBayty(zadacha.get(), Konst(2, 10)));
}

// Far from one the root is found on the mantissa and shifted: it must still
// agree with bc to 99 digits, be exact where the root is a power of the
// radix, and take the same few steps at any exponent (the guess x = 1e-300000
// would need some 500000 halvings, which the 5 s wait turns into a failure).
TEST_F(FunkciiKoren, FarFromOneAgreesWithReferences) {
    const KorenSluchay sluchai[] = {
        {"2e300", 10, "sqrt2e300", 99},
        {"3e301", 10, "sqrt3e301", 99},
        {"5e1001", 10, "sqrt5e1001", 99},
        {"7e-301", 10, "sqrt7e_301", 99},
        {"5e-1001", 10, "sqrt5e_1001", 99},
        {"A.BCe333r16", 16, "sqrtA.BCe333", 99},
        {"3.7e-401r16", 16, "sqrt3.7e_401", 99},
        {"1.1e1001r2", 2, "sqrt1.1e1001", 99},
        {"1.011e-999r2", 2, "sqrt1.011e_999", 99},
    };
    for (const auto& s : sluchai) {
        const vmChislo r = vmKoren(Ch(s.x));
        EXPECT_EQ(r.Osnovanie, s.R);
        const std::string chto = std::string("sqrt ") + s.x;
        EXPECT_GE(ZapisatSoglasie(chto.c_str(), r, Ssylka(s.ssylka, s.R)), s.minimum);
    }
    const std::pair<const char*, const char*> tochnye[] = {
        {"1e300", "1e150"},
        {"1e200", "1e100"},
        {"1e-300000", "1e-150000"},
        {"1e-300002r16", "1e-150001r16"},
        {"1e536870910", "1e268435455"},
        {"1e-536870910r36", "1e-268435455r36"},
    };
    for (const auto& [x, koren] : tochnye) {
        auto zadacha = std::async(std::launch::async, [x] { return vmKoren(Ch(x)); });
        if (zadacha.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            CalcCancelled.store(1);
            zadacha.wait();
            FAIL() << "sqrt " << x << " does not end";
        }
        EXPECT_TRUE(OdinakovyeBayty(zadacha.get(), Ch(koren))) << x;
    }
}

// A stop request ends the iteration at its first step, on both roads (x
// itself and the mantissa of an x far from one): what comes back is not the
// root.
TEST_F(FunkciiKoren, PendingStopRequestEndsTheRoot) {
    CalcCancelled.store(1);
    for (const char* x : {"2", "3e300", "2e-300000"}) {
        const vmChislo r = vmKoren(Ch(x));
        const vmChislo kvadrat = vmProizvedenie(&r, &r);
        EXPECT_LT(Soglasie(kvadrat, Ch(x)), 10) << x;
    }
}

} // namespace
