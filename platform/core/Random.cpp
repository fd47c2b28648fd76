// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Random.hpp"

namespace platform::random {

namespace {

// xorshift64*: small, fast, and its high bits are uniform enough for picking words and sounds.
std::uint64_t g_state = 0x9E3779B97F4A7C15ull;

std::uint64_t splitmix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

} // namespace

void seed(std::uint32_t value) {
    g_state = splitmix(value);
    if (g_state == 0) g_state = 0x9E3779B97F4A7C15ull;
}

std::int32_t next() {
    g_state ^= g_state >> 12;
    g_state ^= g_state << 25;
    g_state ^= g_state >> 27;
    return std::int32_t((g_state * 0x2545F4914F6CDD1Dull) >> 33);
}

int below(int m) {
    return m <= 0 ? 0 : next() % m;
}

} // namespace platform::random
