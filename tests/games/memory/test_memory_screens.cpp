// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The board at every quantity in both sizes, each checked for what it shows; screenshots for looking at
// are written only when asked (WV_SCREENSHOT_DIR).
#include "memory_support.hpp"

using namespace memorytest;

namespace {

class MemoryScreens : public MemoryGameTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

} // namespace

TEST_P(MemoryScreens, MidGameAndWithAFoundPairsBigPicture) {
    const auto [level, width] = GetParam();
    const platform::Size screen = width == 800 ? platform::Size{800, 600} : platform::Size{1024, 768};
    run({.level = level, .screen = screen});
    const std::string name = "memory_" + std::to_string(width) + "_p" + std::to_string(level);

    // One pair gone, one card turned.
    const auto [a, b] = pairs().at(0);
    clickCard(a);
    clickCard(b);
    d->wait(2000);
    const int c = pairs().at(0).first;
    clickCard(c);
    screenshot(name + "_mid.png");
    EXPECT_TRUE(front(c));
    EXPECT_FALSE(card(a).onBoard());

    // Its partner: the big picture is up while the word is said.
    clickCard(partner(c));
    screenshot(name + "_para.png");
    const platform::Point spot = MemoryGame::largeCardPlace(width == 800 ? kMode800 : kMode1024);
    platform::Bitmap large;
    loadJpeg(large, "Data\\Bio\\" + card(c).word() + (width == 800 ? "_ms.xji" : "_mb.xji"));
    // The picture's middle is opaque in the mask, so the picture shows as it is.
    const int sx = large.width() / 2, sy = large.height() / 2;
    EXPECT_EQ(d->pixel(spot.x + sx, spot.y + sy), large.pixel(sx, sy));
    // No card lies under the big picture.
    for (int k = 0; k < n(); ++k) {
        const platform::Point p = game().cell(k);
        EXPECT_TRUE(platform::Rect::fromSize(p.x, p.y, 70, 94)
                        .intersect(platform::Rect::fromSize(spot.x, spot.y, large.width(), large.height()))
                        .empty())
            << k;
    }
}

INSTANTIATE_TEST_SUITE_P(AllScreens, MemoryScreens,
                         ::testing::Values(std::pair{1, 800}, std::pair{2, 800}, std::pair{3, 800},
                                           std::pair{1, 1024}, std::pair{2, 1024}, std::pair{3, 1024}),
                         [](const auto& info) {
                             return "Poziom" + std::to_string(info.param.first) + "_" +
                                    std::to_string(info.param.second);
                         });
