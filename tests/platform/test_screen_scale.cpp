#include "platform/Bitmap.hpp"
#include "platform/Options.hpp"
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
        {{1000, 500}, {1000, 500}, {0, 0, 1000, 500}},
        {{1025, 768}, {1025, 768}, {0, 0, 1025, 768}},
        // Wide screens: full height, the 1024 x 768 layout with side margins.
        {{1920, 1080}, {1365, 768}, {0, 0, 1919, 1080}},
        {{2560, 1440}, {1365, 768}, {0, 0, 2559, 1440}},
        {{1280, 800}, {1229, 768}, {0, 0, 1280, 800}},
        // Tall: full width; below 1024 x 768 the small layout.
        {{1280, 1024}, {1024, 819}, {0, 0, 1280, 1023}},
        {{1000, 700}, {857, 600}, {0, 0, 999, 700}},
    };
    for (const Case& c : cases) {
        const ScreenScale s = ScreenScale::fit(c.output);
        EXPECT_EQ(s.output, c.output);
        EXPECT_EQ(s.screen, c.screen) << c.output.width << "x" << c.output.height;
        EXPECT_EQ(s.target, c.target) << c.output.width << "x" << c.output.height;
        EXPECT_EQ(s.scaled(), c.screen != c.output);
    }
    EXPECT_FALSE(ScreenScale::none({1920, 1080}).scaled());
}

TEST(ScreenScale, OutputPixelsMapToTheVirtualScreenThroughTheTarget) {
    const ScreenScale s = ScreenScale::fit({1920, 1080});
    const std::pair<Point, Point> cases[] = {
        {{0, 0}, {0, 0}},         {{1918, 1079}, {1364, 767}}, {{1919, 540}, {1365, 384}},
        {{960, 540}, {682, 384}}, {{-1, -2}, {-1, -2}},
    };
    for (const auto& [out, in] : cases)
        EXPECT_EQ(s.toScreen(out), in) << out.x << "," << out.y;
    // Letterboxed twice over: the band above the target lies above the screen.
    const ScreenScale boxed{{1600, 1600}, {800, 600}, {0, 350, 1600, 1550}};
    EXPECT_EQ(boxed.toScreen({0, 349}), (Point{0, -1}));
    EXPECT_EQ(boxed.toScreen({1, 350}), (Point{0, 0}));
    EXPECT_EQ(boxed.toScreen({1599, 1549}), (Point{799, 599}));
}

TEST(ScreenScale, BilinearResamplingWeighsNeighboursAndTouchesOnlyTheTarget) {
    Bitmap src(2, 1, PixelFormat::Bgra32);
    src.fill(0);
    for (int c = 0; c < 4; ++c)
        src.scanline(0)[4 + c] = 255;
    Bitmap dst(6, 2, PixelFormat::Bgra32);
    dst.fill(7);
    scaleBilinear(src, dst, Rect::fromSize(1, 0, 4, 1));
    const int expected[6] = {7, 0, 64, 191, 255, 7};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(dst.scanline(0)[x * 4], expected[x]) << x;
        EXPECT_EQ(dst.scanline(0)[x * 4 + 3], expected[x]) << x;
        EXPECT_EQ(dst.scanline(1)[x * 4], 7) << x;
    }
}

TEST(ScreenScale, AScaledCursorKeepsItsHotSpotAndNoColourKeyBleedsIntoItsEdges) {
    // A 4 x 4 sight: opaque red middle on transparent magenta, hot spot in the middle.
    CursorImage c{Bitmap(4, 4, PixelFormat::Bgra32), {2, 2}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* p = c.image.scanline(y) + x * 4;
            const bool inner = x >= 1 && x <= 2 && y >= 1 && y <= 2;
            p[0] = inner ? 0 : 255, p[1] = 0, p[2] = 255, p[3] = inner ? 255 : 0;
        }
    const ScreenScale twice{{2048, 1536}, {1024, 768}, {0, 0, 2048, 1536}};
    const CursorImage big = scaledCursor(c, twice);
    ASSERT_EQ(big.image.size(), (Size{8, 8}));
    EXPECT_EQ(big.hotSpot, (Point{4, 4}));
    int edge = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t* p = big.image.scanline(y) + x * 4;
            if (p[3] == 0) continue;
            EXPECT_EQ(p[0], 0) << x << "," << y; // no blue from the magenta around
            EXPECT_EQ(p[2], 255) << x << "," << y;
            if (p[3] < 255) ++edge;
        }
    EXPECT_GT(edge, 0);
    EXPECT_EQ(big.image.scanline(4)[4 * 4 + 3], 255);
}

TEST(ScreenScale, CommandLineTurnsScalingOffAndChoosesTheScriptsCoordinates) {
    const Options plain = parseOptions(std::vector<std::string>{});
    EXPECT_TRUE(plain.scale);
    EXPECT_FALSE(plain.scriptInLayout);
    EXPECT_FALSE(parseOptions({"--skala", "1"}).scale);
    EXPECT_TRUE(parseOptions({"--skala=auto"}).scale);
    EXPECT_TRUE(parseOptions({"--headless", "--script-coords", "layout"}).scriptInLayout);
    EXPECT_FALSE(parseOptions({"--script-coords=screen"}).scriptInLayout);
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--skala", "2"}, {"--skala"}, {"--script-coords", "pixels"}})
        EXPECT_THROW(parseOptions(bad), OptionsError);
}
