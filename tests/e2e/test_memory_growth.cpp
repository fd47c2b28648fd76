// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Fifty games in a row in the real program on the headless backend: every game opens, and the heap in
// use after the last one is what it was after the first few (nothing kept per game or per frame).
#include "../windows/program_fixture.hpp"

#include <malloc.h>

#include <cstdio>

using namespace wvtest;

namespace {

// Layout points of the 1024 x 768 menu: the four game tabs and the start button.
constexpr int kTabX = 705 + 60, kStartX = 512 + 35 + 20, kStartY = 768 - 109 + 20;
constexpr int kTabY[4] = {95 + 70, 95 + 200, 95 + 300, 95 + 400};
const char* const kGames[4] = {"Podpisywanie", "Memory", "Uzupełnianie", "Spadające"};

std::size_t heapInUse() {
    // Large blocks live in mappings of their own, outside the heap's arena.
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

} // namespace

TEST(MemoryGrowth, FiftyGamesInARowLeaveTheHeapAsItWasAfterTheFirstFew) {
    Installation inst(Installation::Data::Linked);
    Outcome out;
    auto d = startProgram(out, {1024, 768});
    d->wait(2500);
    std::size_t warm = 0;
    int opened = 0;
    for (int game = 0; game < 50; ++game) {
        const int t = game % 4;
        d->takeLog();
        d->click(kTabX, kTabY[t]);
        d->click(kStartX, kStartY);
        d->wait(1500);
        opened += d->logged(std::string("form-shown ") + kGames[t]);
        d->key(27);
        d->wait(100);
        d->key(27);
        d->wait(100);
        if (game == 7) warm = heapInUse();
    }
    EXPECT_EQ(opened, 50);
    ASSERT_FALSE(out.returned);
    const std::size_t last = heapInUse();
    std::printf("heap in use after 8 games %zu, after 50 %zu\n", warm, last);
    EXPECT_LT(last, warm + 512 * 1024) << "after 8 games " << warm << " bytes, after 50 " << last;
    d->key(27);
}
