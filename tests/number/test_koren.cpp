// Square root.
#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "funkcii_pomoshch.h"
#include "number/vmfunkcii.h"

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

// A stop request from another thread ends the hundreds of millions of
// halvings that the guess x = 1e500000000 would need.
TEST_F(FunkciiKoren, StopRequestEndsAHugeArgument) {
    ProveritOstanovku("sqrt 1e500000000", std::chrono::milliseconds(200),
                      [] { return vmKoren(Ch("1e500000000")); });
}

} // namespace
