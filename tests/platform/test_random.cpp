// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Random.hpp"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace platform;

TEST(RandomGenerator, IsReproducibleFromItsSeedAndStaysWithin31Bits) {
    random::seed(1234);
    std::array<std::int32_t, 20> first{};
    for (auto& v : first)
        v = random::next();
    random::seed(1234);
    for (auto v : first)
        EXPECT_EQ(random::next(), v);
    random::seed(1235);
    int same = 0;
    for (auto v : first)
        same += random::next() == v;
    EXPECT_LT(same, 3);

    random::seed(0);
    for (int i = 0; i < 10000; ++i)
        ASSERT_GE(random::next(), 0);
    EXPECT_EQ(random::below(0), 0);
    EXPECT_EQ(random::below(-3), 0);
}

TEST(RandomGenerator, LowBitsAndRemaindersAreEvenlySpread) {
    // Praise sounds use the low three bits, encouragement the remainder modulo 5.
    random::seed(42);
    std::array<int, 8> low{};
    std::array<int, 5> mod5{};
    for (int i = 0; i < 8000; ++i)
        ++low[std::size_t(random::next() & 7)];
    for (int i = 0; i < 5000; ++i) {
        const int v = random::below(5);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 5);
        ++mod5[std::size_t(v)];
    }
    for (int n : low)
        EXPECT_NEAR(n, 1000, 150);
    for (int n : mod5)
        EXPECT_NEAR(n, 1000, 150);
}

TEST(RandomGenerator, TheSameSeedGivesTheSameGame) {
    auto draws = [] {
        std::array<int, 3> v{};
        for (int& x : v)
            x = random::next();
        return v;
    };
    random::seed(1700000000);
    const auto first = draws();
    random::seed(1700000000);
    EXPECT_EQ(draws(), first); // the same second, the same game
    random::seed(1700000001);
    EXPECT_NE(draws()[0], first[0]);
}
