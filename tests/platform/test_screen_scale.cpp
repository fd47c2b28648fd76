// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/backends/SdlBackend.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/graphics/ScreenScale.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace platform;

TEST(ScreenScale, TheLayoutIsWidenedToTheOutputsShapeAndFillsItsHeightOrWidth) {
    struct Case {
        Size output, screen;
        Rect target;
    };
    const Case cases[] = {
        // Layout sizes and smaller screens are shown as they are.
        {{800, 600}, {800, 600}, {0, 0, 800, 600}},
        {{1024, 768}, {1024, 768}, {0, 0, 1024, 768}},
        {{799, 600}, {799, 600}, {0, 0, 799, 600}},
        {{1025, 768}, {1025, 768}, {0, 0, 1025, 768}},
        {{1920, 1080}, {1365, 768}, {0, 0, 1919, 1080}},
        {{1280, 800}, {1229, 768}, {0, 0, 1280, 800}},
        // Tall: full width; below 1024 x 768 the small layout.
        {{1280, 1024}, {1024, 819}, {0, 0, 1280, 1023}},
        {{1000, 700}, {857, 600}, {0, 0, 999, 700}},
    };
    for (const Case& c : cases) {
        const ScreenScale s = ScreenScale::fit(c.output);
        EXPECT_EQ(s.screen, c.screen) << c.output.width << "x" << c.output.height;
        EXPECT_EQ(s.target, c.target) << c.output.width << "x" << c.output.height;
    }
    // The band above a letterboxed target lies above the screen.
    const ScreenScale boxed{{1600, 1600}, {800, 600}, {0, 350, 1600, 1550}};
    EXPECT_EQ(boxed.toScreen({0, 349}), (Point{0, -1}));
    EXPECT_EQ(boxed.toScreen({1599, 1549}), (Point{799, 599}));
}

TEST(ScreenScale, BilinearResamplingWeighsNeighboursAndTouchesOnlyTheTarget) {
    Bitmap src(2, 1, PixelFormat::Bgra32);
    src.fill(0);
    src.setPixel(1, 0, kWhite);
    Bitmap dst(6, 2, PixelFormat::Bgra32);
    dst.fill(7);
    scaleBilinear(src, dst, Rect::fromSize(1, 0, 4, 1));
    const int expected[6] = {7, 0, 64, 191, 255, 7};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(dst.scanline(0)[x * 4], expected[x]) << x;
        EXPECT_EQ(dst.scanline(1)[x * 4], 7) << x;
    }
}

TEST(ScreenScale, AScaledCursorKeepsItsHotSpotAndNoColourKeyBleedsIntoItsEdges) {
    // A 4 x 4 sight: opaque red middle on transparent magenta.
    CursorImage c{Bitmap(4, 4, PixelFormat::Bgra32), {2, 2}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inner = x >= 1 && x <= 2 && y >= 1 && y <= 2;
            std::uint8_t* p = c.image.scanline(y) + x * 4;
            p[0] = inner ? 0 : 255, p[1] = 0, p[2] = 255, p[3] = inner ? 255 : 0;
        }
    const CursorImage big = scaledCursor(c, {{2048, 1536}, {1024, 768}, {0, 0, 2048, 1536}});
    ASSERT_EQ(big.image.size(), (Size{8, 8}));
    EXPECT_EQ(big.hotSpot, (Point{4, 4}));
    int edge = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t* p = big.image.scanline(y) + x * 4;
            if (p[3] == 0) continue;
            EXPECT_EQ(p[0], 0) << x << "," << y; // no blue from the magenta around
            EXPECT_EQ(p[2], 255) << x << "," << y;
            edge += p[3] < 255;
        }
    EXPECT_GT(edge, 0);
}

namespace {

// The resampling one channel at a time, as a plain reference.
std::uint8_t referenceBilinear(const Bitmap& src, Size out, int x, int y, int c) {
    auto at = [](int i, int from, int to, int& w) {
        std::int64_t p = ((std::int64_t(i) * 2 + 1) * from * 65536) / (std::int64_t(to) * 2) - 32768;
        p = std::clamp<std::int64_t>(p, 0, std::int64_t(from - 1) * 65536);
        w = int((p >> 8) & 0xFF);
        return int(p >> 16);
    };
    int wx, wy;
    const int x0 = at(x, src.width(), out.width, wx), y0 = at(y, src.height(), out.height, wy);
    const int x1 = std::min(x0 + 1, src.width() - 1), y1 = std::min(y0 + 1, src.height() - 1);
    auto px = [&](int px, int py) { return int(src.scanline(py)[px * 4 + c]); };
    const int top = px(x0, y0) * (256 - wx) + px(x1, y0) * wx;
    const int bottom = px(x0, y1) * (256 - wx) + px(x1, y1) * wx;
    return std::uint8_t((top * (256 - wy) + bottom * wy + 32768) >> 16);
}

} // namespace

TEST(ScreenScale, RescalingOnlyTheChangedRectanglesGivesTheWholeScaledPictureToTheByte) {
    struct Case {
        Size src, out;
    };
    const Case cases[] = {
        {{37, 23}, {101, 64}}, {{64, 48}, {80, 61}}, {{50, 40}, {50, 40}}, {{1, 1}, {9, 7}}};
    std::uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, std::uint8_t(seed >> 16); };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.src.width) + "x" + std::to_string(c.src.height));
        Bitmap src(c.src.width, c.src.height, PixelFormat::Bgra32);
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width() * 4; ++x)
                src.scanline(y)[x] = next();
        const Rect target = Rect::fromSize(3, 2, c.out.width, c.out.height);
        BilinearMap map;
        map.prepare(c.src, target);
        Bitmap shown(c.out.width + 5, c.out.height + 4, PixelFormat::Bgra32);
        shown.fill(7);
        map.apply(src, shown.scanline(0), shown.stride(), shown.size(), target);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                for (int k = 0; k < 4; ++k) {
                    const bool in = target.contains(x, y);
                    ASSERT_EQ(shown.scanline(y)[x * 4 + k],
                              in ? referenceBilinear(src, c.out, x - 3, y - 2, k) : 7)
                        << x << "," << y << " channel " << k;
                }
        // Repaint small rectangles of the source, rescale only what they reach: same as rescaling all.
        for (int round = 0; round < 20; ++round) {
            const int x = next() % c.src.width, y = next() % c.src.height;
            const Rect r = Rect{x, y, std::min(c.src.width, x + 1 + next() % 5),
                                std::min(c.src.height, y + 1 + next() % 4)};
            for (int yy = r.top; yy < r.bottom; ++yy)
                for (int xx = r.left * 4; xx < r.right * 4; ++xx)
                    src.scanline(yy)[xx] = next();
            map.apply(src, shown.scanline(0), shown.stride(), shown.size(), map.outputOf(r));
        }
        Bitmap whole(shown.width(), shown.height(), PixelFormat::Bgra32);
        whole.fill(7);
        map.apply(src, whole.scanline(0), whole.stride(), whole.size(), target);
        for (int y = 0; y < shown.height(); ++y)
            ASSERT_EQ(std::memcmp(shown.scanline(y), whole.scanline(y), std::size_t(shown.width()) * 4), 0)
                << y;
    }
}

TEST(ScreenScale, AResizedWindowShowsTheScreenAsLargeAsFitsCentred) {
    struct Case {
        Size screen, output;
        Rect target;
    };
    const Case cases[] = {
        {{1365, 768}, {1920, 1080}, {0, 0, 1919, 1080}},
        {{1365, 768}, {1920, 1200}, {0, 60, 1920, 1140}},
        {{1024, 819}, {1600, 819}, {288, 0, 1312, 819}},
        {{800, 600}, {800, 600}, {0, 0, 800, 600}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(placed(c.screen, c.output), c.target) << c.output.width << "x" << c.output.height;
}
