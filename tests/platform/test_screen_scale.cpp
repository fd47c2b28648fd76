#include "platform/Bitmap.hpp"
#include "platform/ScreenScale.hpp"
#include "platform/SdlBackend.hpp"

#include <gtest/gtest.h>

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
