#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/potok.h"

namespace {

struct TNablyudenie {
    std::atomic<int> zapuskov{0};
    std::uintptr_t adres = 0;
};

void Zadacha(void* kontekst) {
    auto* n = static_cast<TNablyudenie*>(kontekst);
    volatile char lokalnaya = 0;
    n->adres = reinterpret_cast<std::uintptr_t>(&lokalnaya);
    n->zapuskov.fetch_add(1);
}

// Touches about `glubina` KiB of stack below the caller.
int Spusk(int glubina) {
    volatile char bufer[1024];
    bufer[0] = static_cast<char>(glubina);
    return glubina == 0 ? bufer[0] : Spusk(glubina - 1) + bufer[0];
}

void GlubokayaZadacha(void* kontekst) {
    // 64 MiB: far beyond a thread library's default stack of 8 MiB.
    static_cast<TNablyudenie*>(kontekst)->adres = static_cast<std::uintptr_t>(Spusk(64 * 1024));
    static_cast<TNablyudenie*>(kontekst)->zapuskov.fetch_add(1);
}

TEST(PotokSoStekom, RunsOnceAndRefusesASecondStartUntilJoined) {
    TNablyudenie n;
    TPotokSoStekom potok;
    ASSERT_TRUE(potok.Zapustit(std::size_t(16) << 20, &Zadacha, &n));
    EXPECT_TRUE(potok.Zapushen());
    EXPECT_FALSE(potok.Zapustit(std::size_t(16) << 20, &Zadacha, &n));
    potok.Dozhdatsya();
    EXPECT_FALSE(potok.Zapushen());
    EXPECT_EQ(n.zapuskov.load(), 1);
    volatile char zdes = 0;
    EXPECT_NE(n.adres, reinterpret_cast<std::uintptr_t>(&zdes));
    // Joined, the object takes a new task.
    ASSERT_TRUE(potok.Zapustit(std::size_t(16) << 20, &Zadacha, &n));
    potok.Dozhdatsya();
    EXPECT_EQ(n.zapuskov.load(), 2);
}

TEST(PotokSoStekom, TheStackHoldsADeepRecursion) {
    TNablyudenie n;
    {
        TPotokSoStekom potok;
        ASSERT_TRUE(potok.Zapustit(std::size_t(256) << 20, &GlubokayaZadacha, &n));
    } // the destructor joins
    EXPECT_EQ(n.zapuskov.load(), 1);
}

} // namespace
