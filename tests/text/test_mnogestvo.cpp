#include <gtest/gtest.h>

#include <cstring>

#include "text/mnogestvo.h"

namespace {
TEST(Mnogestvo, CapacityIsAMultipleOfTheStepAndShrinksBelowHalf) {
    TOdnomernoeMnogestvoElementov<char> m(16);
    EXPECT_EQ(m.data, nullptr);
    ASSERT_TRUE(m.SetSize(5, false, true, false));
    EXPECT_EQ(m.capacity, 16u);
    EXPECT_EQ(m.count, 5u);
    std::memcpy(m.data, "abcde", 5);
    char* prezhniy = m.data;
    ASSERT_TRUE(m.SetSize(16, false, true, false));
    EXPECT_EQ(m.data, prezhniy); // fits: reused
    EXPECT_EQ(std::memcmp(m.data, "abcde\0\0\0\0\0\0\0\0\0\0\0", 16), 0);
    ASSERT_TRUE(m.SetSize(17, false, true, false));
    EXPECT_EQ(m.capacity, 32u);
    EXPECT_EQ(std::memcmp(m.data, "abcde", 5), 0);
    ASSERT_TRUE(m.SetSize(16, false, true, false));
    EXPECT_EQ(m.capacity, 32u); // exactly half: kept
    ASSERT_TRUE(m.SetSize(3, false, true, true));
    EXPECT_EQ(m.capacity, 32u); // no-shrink
    ASSERT_TRUE(m.SetSize(3, false, true, false));
    EXPECT_EQ(m.capacity, 16u);
    EXPECT_EQ(std::memcmp(m.data, "abc", 3), 0);
    ASSERT_TRUE(m.SetSize(0, false, true, false));
    EXPECT_EQ(m.data, nullptr);
    EXPECT_EQ(m.capacity, 0u);
}

TEST(Mnogestvo, KeepEndGrowsAndShrinksAtTheFront) {
    TOdnomernoeMnogestvoElementov<char> m(4);
    ASSERT_TRUE(m.SetSize(3, false, false, false));
    std::memcpy(m.data, "abc", 3);
    ASSERT_TRUE(m.SetSize(4, true, true, false)); // in place
    EXPECT_EQ(std::memcmp(m.data, "\0abc", 4), 0);
    ASSERT_TRUE(m.SetSize(6, true, true, false)); // new buffer
    EXPECT_EQ(std::memcmp(m.data, "\0\0\0abc", 6), 0);
    ASSERT_TRUE(m.SetSize(2, true, false, false));
    EXPECT_EQ(std::memcmp(m.data, "bc", 2), 0);
}

TEST(Mnogestvo, CopyTakesExactlyTheCount) {
    TOdnomernoeMnogestvoElementov<char> m(16);
    ASSERT_TRUE(m.SetSize(40, false, true, false));
    ASSERT_TRUE(m.SetSize(30, false, true, false));
    EXPECT_EQ(m.capacity, 48u);
    m.data[29] = 'z';
    TOdnomernoeMnogestvoElementov<char> k(m);
    EXPECT_EQ(k.count, 30u);
    EXPECT_EQ(k.capacity, 32u);
    EXPECT_NE(k.data, m.data);
    EXPECT_EQ(k.data[29], 'z');
}
} // namespace
