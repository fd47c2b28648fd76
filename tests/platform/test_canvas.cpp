// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"

#include "simd_levels.hpp"

#include <gtest/gtest.h>

#include <random>

using namespace platform;

namespace {

Bitmap solid(int w, int h, Color c, PixelFormat f = PixelFormat::Bgr24) {
    Bitmap b(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, c);
    return b;
}

} // namespace

TEST(BitmapLayout, RowsArePaddedToFourBytes) {
    EXPECT_EQ(Bitmap(1, 1).stride(), 4);
    EXPECT_EQ(Bitmap(2, 1).stride(), 8);
    EXPECT_EQ(Bitmap(3, 1).stride(), 12);
    EXPECT_EQ(Bitmap(4, 1).stride(), 12);
    EXPECT_EQ(Bitmap(5, 1, PixelFormat::Indexed8).stride(), 8);
    EXPECT_EQ(Bitmap(3, 2, PixelFormat::Bgra32).stride(), 12);
    Bitmap b(3, 2);
    EXPECT_EQ(b.byteSize(), 24u);
    EXPECT_EQ(b.scanline(1) - b.scanline(0), 12);
}

TEST(BitmapLayout, PixelsAreBlueGreenRedTopDown) {
    Bitmap b(2, 2);
    b.setPixel(1, 0, rgb(10, 20, 30));
    EXPECT_EQ(b.scanline(0)[3], 30);
    EXPECT_EQ(b.scanline(0)[4], 20);
    EXPECT_EQ(b.scanline(0)[5], 10);
    EXPECT_EQ(b.pixel(1, 0), rgb(10, 20, 30));
    EXPECT_EQ(b.pixel(5, 5), kBlack); // outside reads black
    b.setPixel(-1, 0, kWhite);        // outside is ignored
}

TEST(BitmapLayout, ResizeKeepsTheOverlapAndFormatChangeConverts) {
    Bitmap b = solid(2, 2, rgb(1, 2, 3));
    b.resize(3, 1);
    EXPECT_EQ(b.pixel(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(b.pixel(1, 0), rgb(1, 2, 3));
    EXPECT_EQ(b.pixel(2, 0), kBlack);
    b.setFormat(PixelFormat::Bgra32);
    EXPECT_EQ(b.stride(), 12);
    EXPECT_EQ(b.pixel(1, 0), rgb(1, 2, 3));
    EXPECT_EQ(b.scanline(0)[3], 255);

    Bitmap grey(2, 1, PixelFormat::Indexed8);
    grey.scanline(0)[0] = 7;
    grey.scanline(0)[1] = 200;
    grey.setFormat(PixelFormat::Bgr24);
    EXPECT_EQ(grey.pixel(0, 0), rgb(7, 7, 7));
    EXPECT_EQ(grey.pixel(1, 0), rgb(200, 200, 200));
    grey.setFormat(PixelFormat::Indexed8);
    EXPECT_EQ(grey.scanline(0)[1], 200);
}

TEST(CanvasCopyModes, OrAndAndPlainAreBytewise) {
    Bitmap dst = solid(2, 1, rgb(0x0F, 0xF0, 0x33));
    Bitmap src = solid(2, 1, rgb(0x31, 0x0F, 0xCC));
    Canvas& c = dst.canvas();

    c.setCopyMode(CopyMode::SrcPaint);
    c.draw(0, 0, src);
    EXPECT_EQ(dst.pixel(0, 0), rgb(0x3F, 0xFF, 0xFF));

    dst = solid(2, 1, rgb(0x0F, 0xF0, 0x33));
    c.setCopyMode(CopyMode::SrcAnd);
    c.draw(0, 0, src);
    EXPECT_EQ(dst.pixel(1, 0), rgb(0x01, 0x00, 0x00));

    c.setCopyMode(CopyMode::SrcCopy);
    c.draw(0, 0, src);
    EXPECT_EQ(dst.pixel(0, 0), rgb(0x31, 0x0F, 0xCC));
}

TEST(CanvasCopyModes, MaskThenPictureShowsPictureInsideAndBackgroundOutside) {
    // White-outside picture with a white-inside mask over a coloured background.
    Bitmap bg = solid(2, 1, rgb(10, 100, 200));
    Bitmap mask(2, 1), pic(2, 1);
    mask.setPixel(0, 0, kWhite), mask.setPixel(1, 0, kBlack);
    pic.setPixel(0, 0, rgb(1, 2, 3)), pic.setPixel(1, 0, kWhite);
    Canvas& c = bg.canvas();
    c.setCopyMode(CopyMode::SrcPaint);
    c.draw(0, 0, mask);
    c.setCopyMode(CopyMode::SrcAnd);
    c.draw(0, 0, pic);
    EXPECT_EQ(bg.pixel(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(bg.pixel(1, 0), rgb(10, 100, 200));
}

TEST(CanvasClipping, DrawingPastEveryEdgeTouchesOnlyTheOverlap) {
    const Color bgc = rgb(9, 9, 9), fg = rgb(200, 100, 50);
    const Bitmap src = solid(3, 3, fg);
    struct Case {
        int x, y, expectedPainted;
    } cases[] = {{-2, 1, 3}, {3, 1, 3}, {1, -2, 3}, {1, 3, 3}, {-3, 0, 0}, {4, 4, 0}, {-1, -1, 4}};
    for (const auto& k : cases) {
        Bitmap dst = solid(4, 4, bgc);
        dst.canvas().draw(k.x, k.y, src);
        int painted = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const bool inside = x >= k.x && x < k.x + 3 && y >= k.y && y < k.y + 3;
                EXPECT_EQ(dst.pixel(x, y), inside ? fg : bgc) << k.x << "," << k.y << " at " << x << "," << y;
                painted += inside;
            }
        EXPECT_EQ(painted, k.expectedPainted);
    }
}

TEST(CanvasClipping, ClipRectLimitsEveryOperation) {
    Bitmap dst = solid(6, 6, kBlack);
    Canvas& c = dst.canvas();
    c.setClipRect({2, 2, 4, 4});
    c.setBrushColor(kWhite);
    c.fillRect({0, 0, 6, 6});
    c.setPixel(0, 0, kRed);
    EXPECT_EQ(dst.pixel(1, 1), kBlack);
    EXPECT_EQ(dst.pixel(2, 2), kWhite);
    EXPECT_EQ(dst.pixel(3, 3), kWhite);
    EXPECT_EQ(dst.pixel(4, 4), kBlack);
    EXPECT_EQ(dst.pixel(0, 0), kBlack);
    c.resetClip();
    EXPECT_EQ(c.clipRect(), (Rect{0, 0, 6, 6}));
}

TEST(CanvasClipping, EmptyBitmapsDrawNothing) {
    Bitmap dst = solid(2, 2, kRed);
    Bitmap none;
    dst.canvas().draw(0, 0, none);
    dst.canvas().copyRect({0, 0, 2, 2}, none, {0, 0, 5, 5});
    EXPECT_EQ(dst.pixel(1, 1), kRed);
    Bitmap emptyTarget;
    emptyTarget.canvas().draw(0, 0, dst);
    emptyTarget.canvas().fillRect({0, 0, 3, 3});
    EXPECT_TRUE(emptyTarget.empty());
}

TEST(CanvasStretch, DoublingRepeatsEachPixelAndHalvingTakesEveryOther) {
    Bitmap src(2, 2);
    src.setPixel(0, 0, rgb(1, 0, 0)), src.setPixel(1, 0, rgb(2, 0, 0));
    src.setPixel(0, 1, rgb(3, 0, 0)), src.setPixel(1, 1, rgb(4, 0, 0));
    Bitmap big(4, 4);
    big.canvas().copyRect({0, 0, 4, 4}, src.canvas(), {0, 0, 2, 2});
    const int expected[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(redOf(big.pixel(x, y)), expected[y][x]);

    Bitmap half(2, 2);
    Bitmap grid(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            grid.setPixel(x, y, rgb(std::uint8_t(y * 4 + x), 0, 0));
    half.canvas().copyRect({0, 0, 2, 2}, grid.canvas(), {0, 0, 4, 4});
    EXPECT_EQ(redOf(half.pixel(0, 0)), 0);
    EXPECT_EQ(redOf(half.pixel(1, 0)), 2);
    EXPECT_EQ(redOf(half.pixel(0, 1)), 8);
    EXPECT_EQ(redOf(half.pixel(1, 1)), 10);
}

TEST(CanvasStretch, OverlappingSelfCopySqueezesOneRowDown) {
    // The squeeze at the falling game's bottom line: rows 0..3 copied onto rows 1..3 of the same bitmap.
    Bitmap b(1, 4);
    for (int y = 0; y < 4; ++y)
        b.setPixel(0, y, rgb(std::uint8_t(10 * (y + 1)), 0, 0));
    b.canvas().copyRect({0, 1, 1, 4}, b.canvas(), {0, 0, 1, 4});
    EXPECT_EQ(redOf(b.pixel(0, 0)), 10);
    EXPECT_EQ(redOf(b.pixel(0, 1)), 10);
    EXPECT_EQ(redOf(b.pixel(0, 2)), 20);
    EXPECT_EQ(redOf(b.pixel(0, 3)), 30);

    Bitmap s(4, 1);
    for (int x = 0; x < 4; ++x)
        s.setPixel(x, 0, rgb(std::uint8_t(x + 1), 0, 0));
    s.canvas().copyRect({1, 0, 4, 1}, s.canvas(), {0, 0, 3, 1}); // unscaled overlap to the right
    EXPECT_EQ(redOf(s.pixel(1, 0)), 1);
    EXPECT_EQ(redOf(s.pixel(2, 0)), 2);
    EXPECT_EQ(redOf(s.pixel(3, 0)), 3);
}

TEST(CanvasMixedFormats, PalettedSourcesExpandAndChangesAreReported) {
    Bitmap idx(2, 1, PixelFormat::Indexed8);
    idx.palette()[5] = {30, 20, 10, 0};
    idx.scanline(0)[0] = 5;
    idx.scanline(0)[1] = 255;
    Bitmap dst(3, 1, PixelFormat::Bgra32);
    Rect reported{};
    dst.canvas().setChangeListener([&](const Rect& r) { reported = reported.unite(r); });
    dst.canvas().draw(1, 0, idx);
    EXPECT_EQ(dst.pixel(1, 0), rgb(10, 20, 30));
    EXPECT_EQ(dst.pixel(2, 0), rgb(255, 255, 255));
    EXPECT_EQ(reported, (Rect{1, 0, 3, 1}));
    dst.canvas().setBrushColor(kRed);
    dst.canvas().frameRect({0, 0, 3, 1});
    EXPECT_EQ(dst.pixel(0, 0), kRed);
}

TEST(CanvasCopyModes, EveryPathMatchesThePixelRuleOnRandomCopies) {
    // Plain and stretched copies in every mode, 24- and 32-bit, with odd sizes, rectangles past every
    // edge and a clip rectangle; each destination byte checked against the per-pixel rule.
    std::mt19937 rng(11);
    auto rnd = [&](int lo, int hi) { return lo + int(rng() % unsigned(hi - lo + 1)); };
    auto noise = [&](int w, int h, PixelFormat f) {
        Bitmap b(w, h, f);
        for (std::size_t i = 0; i < b.byteSize(); ++i)
            b.data()[i] = std::uint8_t(rng());
        return b;
    };
    forEachSimdLevel([&](const std::string& path) {
        for (int round = 0; round < 150; ++round) {
            const PixelFormat f = round % 2 ? PixelFormat::Bgra32 : PixelFormat::Bgr24;
            const CopyMode mode = round % 3 == 0   ? CopyMode::SrcCopy
                                  : round % 3 == 1 ? CopyMode::SrcPaint
                                                   : CopyMode::SrcAnd;
            const Bitmap src = noise(rnd(1, 90), rnd(1, 6), f);
            // Every tenth round copies whole rows between bitmaps of one width.
            const Bitmap before =
                round % 10 == 0 ? noise(src.width(), rnd(1, 6), f) : noise(rnd(1, 90), rnd(1, 6), f);
            const bool stretch = round % 5 != 0;
            Rect sr =
                Rect::fromSize(rnd(-3, src.width() - 1), rnd(-2, src.height() - 1), rnd(1, 70), rnd(1, 5));
            Rect dst = stretch ? Rect::fromSize(rnd(-5, before.width()), rnd(-2, before.height()),
                                                rnd(1, 100), rnd(1, 8))
                               : Rect::fromSize(rnd(-5, before.width()), rnd(-2, before.height()), sr.width(),
                                                sr.height());
            Rect clip = Rect::fromSize(rnd(-2, 20), rnd(-1, 2), rnd(1, 120), rnd(1, 8));
            if (round % 10 == 0) {
                sr = Rect{0, 0, src.width(), src.height()};
                dst = sr.offset(0, rnd(-1, 2));
                clip = Rect{0, rnd(-1, 1), 1000, 1000};
            }
            Bitmap got = before;
            got.canvas().setCopyMode(mode);
            got.canvas().setClipRect(clip);
            got.canvas().copyRect(dst, src, sr);
            const int bpp = got.bytesPerPixel();
            for (int y = 0; y < got.height(); ++y)
                for (int x = 0; x < got.width(); ++x) {
                    const std::uint8_t* was = before.scanline(y) + x * bpp;
                    const std::uint8_t* is = got.scanline(y) + x * bpp;
                    bool drawn = dst.contains(x, y) && clip.contains(x, y);
                    const int sx = sr.left + (x - dst.left) * sr.width() / std::max(1, dst.width());
                    const int sy = sr.top + (y - dst.top) * sr.height() / std::max(1, dst.height());
                    drawn = drawn && sx >= 0 && sx < src.width() && sy >= 0 && sy < src.height();
                    for (int k = 0; k < bpp; ++k) {
                        std::uint8_t want = was[k];
                        if (drawn) {
                            const std::uint8_t s = src.scanline(sy)[sx * bpp + k];
                            want = mode == CopyMode::SrcCopy    ? s
                                   : mode == CopyMode::SrcPaint ? was[k] | s
                                                                : was[k] & s;
                            if (k == 3 && stretch &&
                                (dst.width() != sr.width() || dst.height() != sr.height()))
                                want = 255; // stretched pixels come out opaque
                        }
                        ASSERT_EQ(is[k], want)
                            << path << " round " << round << " pixel " << x << "," << y << " byte " << k;
                    }
                }
        }
    });
}
