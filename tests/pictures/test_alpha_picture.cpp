// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/AlphaPicture.hpp"
#include "pictures/SimdBlend.hpp"

#include "../platform/simd_levels.hpp"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

using namespace platform;

namespace {

using Bgr = std::array<std::uint8_t, 3>;

Bgr at(const Bitmap& b, int x, int y) {
    const std::uint8_t* p = b.scanline(y) + x * b.bytesPerPixel();
    return {p[0], p[1], p[2]};
}

void put(Bitmap& b, int x, int y, Bgr c) {
    std::uint8_t* p = b.scanline(y) + x * b.bytesPerPixel();
    p[0] = c[0], p[1] = c[1], p[2] = c[2];
}

Bitmap pixel24(Bgr c) {
    Bitmap b(1, 1);
    put(b, 0, 0, c);
    return b;
}

struct Extracted {
    Bgr colour;
    int alpha;
};

Extracted extract(Bgr onBlack, Bgr onWhite) {
    Bitmap colour, alpha;
    EXPECT_TRUE(extractColorAndAlpha(pixel24(onBlack), pixel24(onWhite), colour, alpha));
    EXPECT_EQ(colour.format(), PixelFormat::Bgr24);
    EXPECT_EQ(alpha.format(), PixelFormat::Indexed8);
    return {at(colour, 0, 0), alpha.scanline(0)[0]};
}

// A picture whose colour and alpha are set pixel by pixel.
AlphaPicture picture(int w, int h, auto colourOf, auto alphaOf) {
    auto colour = newBitmap24(w, h);
    auto alpha = newAlphaBitmap(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            put(*colour, x, y, colourOf(x, y));
            alpha->scanline(y)[x] = std::uint8_t(alphaOf(x, y));
        }
    AlphaPicture t;
    t.setColor(std::move(colour));
    t.setAlpha(std::move(alpha));
    return t;
}

Bitmap filled(int w, int h, auto colourOf, PixelFormat f = PixelFormat::Bgr24) {
    Bitmap b(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            put(b, x, y, colourOf(x, y));
    return b;
}

Bgr blendRef(Bgr g, Bgr s, int a, int o) {
    // Straight from the rule: weight from alpha and opacity, then move from g towards s.
    if (o == 0) return g;
    const int w = o == 255 ? a + 1 : ((a * (o + 1)) >> 8) + 1;
    Bgr r{};
    for (int k = 0; k < 3; ++k)
        r[k] =
            std::uint8_t(g[k] < s[k] ? g[k] + (((s[k] - g[k]) * w) >> 8) : g[k] - (((g[k] - s[k]) * w) >> 8));
    return r;
}

constexpr Rect kNoClip{-100000, -100000, 100000, 100000};

} // namespace

TEST(TransBitmapErrors, MessagesFollowTheTableExactly) {
    // Every code of the table by its number; the first five have a colon after "Błąd".
    const char* const names[] = {
        "berrUnknown",  "berrFileOpen",    "berrFileCreate",    "berrBroken", "berrUnknownType",
        "berrLoad",     "berrSave",        "berrSize",          "berrRead",   "berrWrite",
        "berrClose",    "berrWidth",       "berrHeight",        "berrFormat", "berrEmpty",
        "berrBadIndex", "berrPixelFormat", "berrDifferentType",
    };
    for (int code = 1; code <= 18; ++code)
        EXPECT_EQ(AlphaPictureError(code).what(),
                  std::string(code <= 5 ? "CTransBitmap, Błąd: " : "CTransBitmap, Błąd ") + names[code - 1])
            << code;
    EXPECT_EQ(kBitmapErrorLast, 18);
    EXPECT_EQ(kBitmapErrorLoad, 6);
    EXPECT_EQ(kBitmapErrorSize, 8);
    EXPECT_EQ(kBitmapErrorFormat, 14);
    EXPECT_EQ(kBitmapErrorPixelFormat, 17);
}

TEST(TransBitmapErrors, UnknownCodesAndFileNames) {
    EXPECT_STREQ(AlphaPictureError(0).what(), "CTransBitmap, Błąd: NIEZNANY!");
    EXPECT_STREQ(AlphaPictureError(19).what(), "CTransBitmap, Błąd: NIEZNANY!");
    EXPECT_STREQ(AlphaPictureError(-5, "x").what(), "CTransBitmap, Błąd: NIEZNANY!, Plik: x");
    const AlphaPictureError e(kBitmapErrorLoad, "Data\\Intf\\Spec\\R2_glos_DB.xbi");
    EXPECT_STREQ(e.what(), "CTransBitmap, Błąd berrLoad, Plik: Data\\Intf\\Spec\\R2_glos_DB.xbi");
    EXPECT_EQ(e.code(), kBitmapErrorLoad);
    const AlphaPictureError noFileName(kBitmapErrorSize, "");
    EXPECT_STREQ(noFileName.what(), "CTransBitmap, Błąd berrSize");
    EXPECT_EQ(noFileName.code(), kBitmapErrorSize);
    const std::runtime_error& base = e; // callers catch it as a plain exception
    EXPECT_NE(std::string(base.what()).find("berrLoad"), std::string::npos);
}

TEST(TransBitmapExtraction, OpaqueWhereBothRenderingsAgree) {
    const auto same = extract({10, 20, 30}, {10, 20, 30});
    EXPECT_EQ(same.alpha, 255);
    EXPECT_EQ(same.colour, (Bgr{10, 20, 30}));
    // Red alone equal is enough, and so are blue and green together.
    const auto redEqual = extract({10, 20, 30}, {200, 210, 30});
    EXPECT_EQ(redEqual.alpha, 255);
    EXPECT_EQ(redEqual.colour, (Bgr{10, 20, 30}));
    const auto blueGreenEqual = extract({5, 6, 7}, {5, 6, 200});
    EXPECT_EQ(blueGreenEqual.alpha, 255);
    EXPECT_EQ(blueGreenEqual.colour, (Bgr{5, 6, 7}));
}

TEST(TransBitmapExtraction, BackgroundShowingThroughIsTransparent) {
    const auto clear = extract({0, 0, 0}, {255, 255, 255});
    EXPECT_EQ(clear.alpha, 0);
    EXPECT_EQ(clear.colour, (Bgr{0, 0, 0}));
    // Other channels differing does not matter once d is 0.
    const auto clear2 = extract({0, 90, 10}, {255, 40, 250});
    EXPECT_EQ(clear2.alpha, 0);
    EXPECT_EQ(clear2.colour, (Bgr{0, 0, 0}));
}

TEST(TransBitmapExtraction, HalfTransparentPixelIsUnpremultiplied) {
    // d = 64 + 255 - 191 = 128; 64*255/128 = 127, 32*255/128 = 63, 100*255/128 = 199.
    const auto half = extract({64, 32, 100}, {191, 160, 227});
    EXPECT_EQ(half.alpha, 128);
    EXPECT_EQ(half.colour, (Bgr{127, 63, 199}));
    // d = 55: 50*255/55 = 231, 200*255/55 = 927 clamps to 255.
    const auto clamped = extract({50, 200, 0}, {250, 0, 255});
    EXPECT_EQ(clamped.alpha, 55);
    EXPECT_EQ(clamped.colour, (Bgr{231, 255, 0}));
}

TEST(TransBitmapExtraction, WhiteDarkerThanBlackGivesOpaqueDarkenedColour) {
    // d = 200 + 255 - 100 = 355: 51000/355 = 143, 25500/355 = 71, 12750/355 = 35.
    const auto dark = extract({200, 100, 50}, {100, 150, 60});
    EXPECT_EQ(dark.alpha, 255);
    EXPECT_EQ(dark.colour, (Bgr{143, 71, 35}));
}

TEST(TransBitmapExtraction, RefusesUnsuitablePairsAndAcceptsEmptyOnes) {
    Bitmap colour, alpha;
    EXPECT_FALSE(extractColorAndAlpha(Bitmap(2, 2), Bitmap(2, 3), colour, alpha));
    EXPECT_FALSE(extractColorAndAlpha(Bitmap(2, 2, PixelFormat::Indexed8), Bitmap(2, 2), colour, alpha));
    EXPECT_TRUE(extractColorAndAlpha(Bitmap(0, 3), Bitmap(0, 3), colour, alpha));
    EXPECT_EQ(alpha.format(), PixelFormat::Indexed8);
    EXPECT_EQ(alpha.palette(), grayPalette());
}

TEST(TransBitmapHelpers, NewBitmapsHaveTheirFormats) {
    const auto c = newBitmap24(3, 2);
    EXPECT_EQ(c->format(), PixelFormat::Bgr24);
    EXPECT_EQ(c->size(), (Size{3, 2}));
    const auto a = newAlphaBitmap(3, 2, 77);
    EXPECT_EQ(a->format(), PixelFormat::Indexed8);
    EXPECT_EQ(a->palette()[200], (PaletteEntry{200, 200, 200, 0}));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(a->scanline(y)[x], 77);
    const auto none = newAlphaBitmap(0, 5, 9);
    EXPECT_TRUE(none->empty());
    EXPECT_EQ(none->format(), PixelFormat::Indexed8);
}

TEST(TransBitmapBlend, ExactBytesForMidAlphaAndOpacity) {
    // a = 128, o = 200: w = ((128*201) >> 8) + 1 = 101.
    // 100 -> 200: 100 + (100*101 >> 8) = 139; 200 -> 100: 200 - 39 = 161; 50 -> 50 stays.
    auto t = picture(
        1, 1,
        [](int, int) {
            return Bgr{200, 100, 50};
        },
        [](int, int) { return 128; });
    Bitmap bg = pixel24({100, 200, 50});
    t.drawOnBitmap(&bg, 0, 0, 200, &bg, 0, 0, kNoClip);
    EXPECT_EQ(at(bg, 0, 0), (Bgr{139, 161, 50}));

    // a = 64 at full opacity: w = 65. 0 -> 255: 64; 255 -> 0: 191; 10 -> 20: 10 + (650 >> 8) = 12.
    auto u = picture(
        1, 1,
        [](int, int) {
            return Bgr{255, 0, 20};
        },
        [](int, int) { return 64; });
    Bitmap bg2 = pixel24({0, 255, 10});
    u.drawOnBitmap(&bg2, 0, 0, 255, &bg2, 0, 0, kNoClip);
    EXPECT_EQ(at(bg2, 0, 0), (Bgr{64, 191, 12}));
}

TEST(TransBitmapBlend, OpacityAndAlphaExtremes) {
    const Bgr g{10, 120, 250}, s{240, 60, 5};
    auto opaque = picture(
        1, 1, [&](int, int) { return s; }, [](int, int) { return 255; });
    auto clear = picture(
        1, 1, [&](int, int) { return s; }, [](int, int) { return 0; });
    for (int o : {0, 1, 128, 254, 255, 300, -20}) {
        Bitmap bg = pixel24(g);
        clear.drawOnBitmap(&bg, 0, 0, o, &bg, 0, 0, kNoClip);
        EXPECT_EQ(at(bg, 0, 0), g) << "alpha 0, opacity " << o;
    }
    Bitmap bg = pixel24(g);
    opaque.drawOnBitmap(&bg, 0, 0, 0, &bg, 0, 0, kNoClip);
    EXPECT_EQ(at(bg, 0, 0), g);
    opaque.drawOnBitmap(&bg, 0, 0, 255, &bg, 0, 0, kNoClip);
    EXPECT_EQ(at(bg, 0, 0), s);
    opaque.drawOnBitmap(&bg, 0, 0, 1000, &bg, 0, 0, kNoClip); // clamped to 255
    EXPECT_EQ(at(bg, 0, 0), s);
    // Opacity 254 is not quite full: w = 255, so 0 -> 255 stops at 254.
    auto white = picture(
        1, 1,
        [](int, int) {
            return Bgr{255, 255, 255};
        },
        [](int, int) { return 255; });
    Bitmap black = pixel24({0, 0, 0});
    white.drawOnBitmap(&black, 0, 0, 254, &black, 0, 0, kNoClip);
    EXPECT_EQ(at(black, 0, 0), (Bgr{254, 254, 254}));
}

TEST(TransBitmapBlend, EveryAlphaAndOpacityMatchesTheRule) {
    // 256 alphas in one row, drawn at a spread of opacities onto a separate target.
    const Bgr s{200, 30, 128};
    auto t = picture(
        256, 1, [&](int, int) { return s; }, [](int x, int) { return x; });
    const Bitmap bg = filled(256, 1, [](int x, int) { return Bgr{std::uint8_t(x), 77, 128}; });
    for (int o : {1, 2, 64, 127, 128, 129, 200, 254, 255}) {
        Bitmap target(256, 1);
        t.drawOnBitmap(&target, 0, 0, o, &bg, 0, 0, kNoClip);
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(at(target, x, 0), blendRef(at(bg, x, 0), s, x, o)) << x << " " << o;
    }
}

TEST(TransBitmapBlend, WhollyClearAndWhollyOpaqueStretchesMatchTheRule) {
    // Runs of clear and opaque pixels long enough to be copied wholesale, then a soft tail; also in place.
    const auto alphaOf = [](int x, int y) { return x < 16 + y ? 0 : x < 36 ? 255 : (x * 37) % 256; };
    const auto colourOf = [](int x, int y) { return Bgr{std::uint8_t(x * 5), std::uint8_t(250 - y), 31}; };
    auto t = picture(45, 3, colourOf, alphaOf);
    const auto bgOf = [](int x, int y) { return Bgr{std::uint8_t(x + y), 200, std::uint8_t(255 - x)}; };
    for (int o : {255, 200}) {
        Bitmap separate(45, 3);
        Bitmap inPlace = filled(45, 3, bgOf);
        const Bitmap bg = filled(45, 3, bgOf);
        t.drawOnBitmap(&separate, 0, 0, o, &bg, 0, 0, kNoClip);
        t.drawOnBitmap(&inPlace, 0, 0, o, &inPlace, 0, 0, kNoClip);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 45; ++x) {
                const Bgr want = blendRef(bgOf(x, y), colourOf(x, y), alphaOf(x, y), o);
                ASSERT_EQ(at(separate, x, y), want) << x << "," << y << " opacity " << o;
                ASSERT_EQ(at(inPlace, x, y), want) << x << "," << y << " opacity " << o;
            }
    }
}

TEST(TransBitmapDraw, PartlyOutsideOnEverySideDrawsOnlyTheOverlap) {
    const auto colourOf = [](int x, int y) {
        return Bgr{std::uint8_t(10 * x + y), std::uint8_t(100 + x), 7};
    };
    const auto alphaOf = [](int x, int y) { return (x * 50 + y * 30) % 256; };
    auto t = picture(4, 3, colourOf, alphaOf);
    const auto bgOf = [](int x, int y) { return Bgr{std::uint8_t(x * 30), std::uint8_t(y * 40), 200}; };
    const Bitmap bg = filled(6, 5, bgOf);
    struct Case {
        int x, y;
    };
    for (Case c : {Case{-2, 1}, Case{4, 1}, Case{1, -2}, Case{1, 3}, Case{-3, -2}, Case{5, 4}, Case{-4, 0},
                   Case{6, 0}, Case{1, 1}}) {
        Bitmap target = filled(6, 5, [](int, int) { return Bgr{1, 2, 3}; });
        t.drawOnBitmap(&target, c.x, c.y, 170, &bg, c.x, c.y, kNoClip);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                const int i = x - c.x, j = y - c.y;
                const bool inside = i >= 0 && i < 4 && j >= 0 && j < 3;
                const Bgr want =
                    inside ? blendRef(bgOf(x, y), colourOf(i, j), alphaOf(i, j), 170) : Bgr{1, 2, 3};
                ASSERT_EQ(at(target, x, y), want) << "at " << c.x << "," << c.y << " pixel " << x << "," << y;
            }
    }
    // Hand check of one case: drawn at x = -2 the target's first column shows picture column 2.
    Bitmap target = filled(6, 5, [](int, int) { return Bgr{1, 2, 3}; });
    auto opaque = picture(4, 3, colourOf, [](int, int) { return 255; });
    opaque.drawOnBitmap(&target, -2, 0, 255, &bg, -2, 0, kNoClip);
    EXPECT_EQ(at(target, 0, 0), (Bgr{20, 102, 7}));
    EXPECT_EQ(at(target, 1, 2), (Bgr{32, 103, 7}));
    EXPECT_EQ(at(target, 2, 0), (Bgr{1, 2, 3}));
}

TEST(TransBitmapDraw, BackgroundOffsetsIncludingNegativeOnes) {
    // Picture 4x1 at x = 2 over a background read from column bgX - 1: its column 0 has no background
    // pixel and is skipped, column 1 reads background column 0.
    auto t = picture(
        4, 1,
        [](int, int) {
            return Bgr{250, 250, 250};
        },
        [](int, int) { return 127; });
    const Bitmap bg = filled(8, 1, [](int x, int) { return Bgr{std::uint8_t(10 * x), 0, 0}; });
    Bitmap target = filled(8, 1, [](int, int) { return Bgr{9, 9, 9}; });
    t.drawOnBitmap(&target, 2, 0, 255, &bg, -1, 0, kNoClip);
    // w = 128: 0 -> 250 gives 125; 10 -> 250 gives 10 + 120 = 130; 0 -> 250 gives 125 in the other bytes.
    EXPECT_EQ(at(target, 2, 0), (Bgr{9, 9, 9}));
    EXPECT_EQ(at(target, 3, 0), (Bgr{125, 125, 125}));
    EXPECT_EQ(at(target, 4, 0), (Bgr{130, 125, 125}));
    EXPECT_EQ(at(target, 5, 0), (Bgr{135, 125, 125}));
    EXPECT_EQ(at(target, 6, 0), (Bgr{9, 9, 9}));

    // Negative bgX and negative x together, and a negative bgY: everything maps by the same offsets.
    const auto bgOf = [](int x, int y) { return Bgr{std::uint8_t(x), std::uint8_t(y), 99}; };
    const Bitmap bg2 = filled(5, 5, bgOf);
    auto u = picture(
        4, 4,
        [](int, int) {
            return Bgr{0, 0, 0};
        },
        [](int, int) { return 0; });
    for (auto [x, y, bx, by] :
         std::vector<std::array<int, 4>>{{-1, 0, -2, 0}, {-3, 1, -1, -2}, {2, -1, -1, 3}}) {
        Bitmap target2 = filled(5, 5, [](int, int) { return Bgr{200, 200, 200}; });
        u.drawOnBitmap(&target2, x, y, 255, &bg2, bx, by, kNoClip);
        for (int ty = 0; ty < 5; ++ty)
            for (int tx = 0; tx < 5; ++tx) {
                const int i = tx - x, j = ty - y, gx = i + bx, gy = j + by;
                const bool drawn =
                    i >= 0 && i < 4 && j >= 0 && j < 4 && gx >= 0 && gx < 5 && gy >= 0 && gy < 5;
                ASSERT_EQ(at(target2, tx, ty), (drawn ? bgOf(gx, gy) : Bgr{200, 200, 200}))
                    << x << "," << y << " bg " << bx << "," << by << " pixel " << tx << "," << ty;
            }
    }
}

TEST(TransBitmapDraw, ClipRectangleLimitsThePictureArea) {
    auto t = picture(
        4, 4,
        [](int x, int y) {
            return Bgr{std::uint8_t(x), std::uint8_t(y), 255};
        },
        [](int, int) { return 255; });
    Bitmap target = filled(8, 8, [](int, int) { return Bgr{0, 0, 0}; });
    t.drawOnBitmap(&target, 2, 3, 255, &target, 2, 3, Rect{1, 1, 3, 3});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inClip = x >= 3 && x < 5 && y >= 4 && y < 6;
            EXPECT_EQ(at(target, x, y),
                      (inClip ? Bgr{std::uint8_t(x - 2), std::uint8_t(y - 3), 255} : Bgr{0, 0, 0}))
                << x << "," << y;
        }
    // A clip outside the picture draws nothing.
    Bitmap untouched = filled(8, 8, [](int, int) { return Bgr{4, 4, 4}; });
    t.drawOnBitmap(&untouched, 0, 0, 255, &untouched, 0, 0, Rect{5, 0, 9, 9});
    EXPECT_EQ(at(untouched, 0, 0), (Bgr{4, 4, 4}));
    EXPECT_EQ(at(untouched, 3, 3), (Bgr{4, 4, 4}));
}

TEST(TransBitmapDraw, UnsuitableArgumentsDrawNothing) {
    auto t = picture(
        2, 2,
        [](int, int) {
            return Bgr{255, 255, 255};
        },
        [](int, int) { return 255; });
    Bitmap target = filled(2, 2, [](int, int) { return Bgr{1, 1, 1}; });
    Bitmap indexed(2, 2, PixelFormat::Indexed8);
    t.drawOnBitmap(nullptr, 0, 0, 255, &target, 0, 0, kNoClip);
    t.drawOnBitmap(&target, 0, 0, 255, nullptr, 0, 0, kNoClip);
    t.drawOnBitmap(&target, 0, 0, 255, &indexed, 0, 0, kNoClip);
    t.drawOnBitmap(&indexed, 0, 0, 255, &target, 0, 0, kNoClip);
    t.drawOnBitmap(&target, INT32_MIN, INT32_MAX, 255, &target, INT32_MAX, INT32_MIN, kNoClip);
    EXPECT_EQ(at(target, 0, 0), (Bgr{1, 1, 1}));
    AlphaPicture empty;
    empty.drawOnBitmap(&target, 0, 0, 255, &target, 0, 0, kNoClip);
    t.setAlpha(newAlphaBitmap(3, 2, 255)); // sizes disagree
    t.drawOnBitmap(&target, 0, 0, 255, &target, 0, 0, kNoClip);
    EXPECT_EQ(at(target, 1, 1), (Bgr{1, 1, 1}));
}

TEST(TransBitmapDraw, ThirtyTwoBitTargetAndAlphaInFirstByte) {
    auto t = picture(
        1, 1,
        [](int, int) {
            return Bgr{200, 100, 50};
        },
        [](int, int) { return 0; });
    auto alpha24 = newBitmap24(1, 1);
    put(*alpha24, 0, 0, {128, 0, 0}); // the first byte is the alpha
    t.setAlpha(std::move(alpha24));
    Bitmap target(1, 1, PixelFormat::Bgra32);
    put(target, 0, 0, {100, 200, 50});
    target.scanline(0)[3] = 42;
    t.drawOnBitmap(&target, 0, 0, 200, &target, 0, 0, kNoClip);
    EXPECT_EQ(at(target, 0, 0), (Bgr{139, 161, 50}));
    EXPECT_EQ(target.scanline(0)[3], 42); // only colour bytes are written
}

TEST(TransBitmapCanvas, BlendsThroughAKeptWorkBitmap) {
    const auto colourOf = [](int x, int y) { return Bgr{std::uint8_t(40 * x), std::uint8_t(60 * y), 90}; };
    const auto alphaOf = [](int x, int y) { return 60 * x + 20 * y; };
    auto t = picture(4, 3, colourOf, alphaOf);
    const auto screenOf = [](int x, int y) { return Bgr{std::uint8_t(x * 25), 255, std::uint8_t(y * 30)}; };
    Bitmap screen = filled(8, 6, screenOf);
    std::vector<Rect> reported;
    screen.canvas().setChangeListener([&](const Rect& r) { reported.push_back(r); });

    t.drawOnCanvas(screen.canvas(), 3, 2, 150, false);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const int i = x - 3, j = y - 2;
            const bool inside = i >= 0 && i < 4 && j >= 0 && j < 3;
            ASSERT_EQ(at(screen, x, y),
                      inside ? blendRef(screenOf(x, y), colourOf(i, j), alphaOf(i, j), 150) : screenOf(x, y));
        }
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], (Rect{3, 2, 7, 5}));
    ASSERT_NE(t.workBitmap(), nullptr);
    EXPECT_EQ(t.workBitmap()->format(), PixelFormat::Bgr24);

    // The same draw again neither reallocates the work bitmap nor its pixels.
    const Bitmap* work = t.workBitmap();
    const std::uint8_t* pixels = work->data();
    t.drawOnCanvas(screen.canvas(), 0, 0, 255, false);
    EXPECT_EQ(t.workBitmap(), work);
    EXPECT_EQ(t.workBitmap()->data(), pixels);

    t.drawOnCanvas(screen.canvas(), 0, 0, 255, true);
    EXPECT_EQ(t.workBitmap(), nullptr);
}

TEST(TransBitmapCanvas, PartlyOutsideTheCanvasAndOnPaletteCanvases) {
    auto t = picture(
        3, 3,
        [](int, int) {
            return Bgr{255, 255, 255};
        },
        [](int x, int) { return x == 0 ? 0 : 255; });
    Bitmap screen = filled(4, 4, [](int, int) { return Bgr{10, 10, 10}; });
    t.drawOnCanvas(screen.canvas(), -1, 2, 255, false);
    EXPECT_EQ(at(screen, 0, 2), (Bgr{255, 255, 255})); // picture column 1
    EXPECT_EQ(at(screen, 1, 3), (Bgr{255, 255, 255}));
    EXPECT_EQ(at(screen, 2, 3), (Bgr{10, 10, 10}));
    EXPECT_EQ(at(screen, 0, 1), (Bgr{10, 10, 10}));

    // A grey palette canvas: the area is captured through its palette; column 0 keeps the background.
    Bitmap grey(4, 4, PixelFormat::Indexed8);
    grey.fill(40);
    t.drawOnCanvas(grey.canvas(), 1, 1, 255, false);
    EXPECT_EQ(grey.scanline(1)[1], 40);
    EXPECT_EQ(grey.scanline(1)[2], 255);
    EXPECT_EQ(grey.scanline(3)[3], 255);
    EXPECT_EQ(grey.scanline(0)[2], 40);
}

TEST(TransBitmapCanvas, WithoutPicturesOnlyTheLastWorkBitmapIsDrawn) {
    auto t = picture(
        2, 2,
        [](int, int) {
            return Bgr{255, 0, 0};
        },
        [](int, int) { return 255; });
    Bitmap screen = filled(4, 4, [](int, int) { return Bgr{0, 0, 0}; });
    t.drawOnCanvas(screen.canvas(), 0, 0, 255, false);
    AlphaPicture other;
    other.takeOver(t); // t keeps its work bitmap, loses colour and alpha
    EXPECT_EQ(t.color(), nullptr);
    EXPECT_NE(t.workBitmap(), nullptr);
    ASSERT_NE(other.color(), nullptr);
    EXPECT_EQ(other.workBitmap(), nullptr);
    t.drawOnCanvas(screen.canvas(), 2, 2, 255, true);
    EXPECT_EQ(at(screen, 3, 3), (Bgr{255, 0, 0}));
    EXPECT_EQ(t.workBitmap(), nullptr);
    AlphaPicture nothing;
    nothing.drawOnCanvas(screen.canvas(), 0, 0, 255, false); // nothing at all to draw
    EXPECT_EQ(at(screen, 0, 0), (Bgr{255, 0, 0}));
}

TEST(TransBitmapBlend, EveryVectorPathMatchesTheRuleOnRandomPictures) {
    // Widths around the 16- and 32-pixel blocks, alpha in runs (wholly clear, wholly opaque, soft) so
    // blocks take every branch, drawn partly outside the target, separately and in place.
    std::mt19937 rng(5);
    auto rnd = [&](int n) { return int(rng() % unsigned(n)); };
    forEachSimdLevel([&](const std::string& path) {
        for (int round = 0; round < 40; ++round) {
            const int w = 1 + rnd(100), h = 1 + rnd(4);
            std::vector<int> alpha(std::size_t(w) * h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w;) {
                    const int mode = rnd(3), run = 1 + rnd(40);
                    for (int k = 0; k < run && x < w; ++k, ++x)
                        alpha[std::size_t(y) * w + x] = mode == 0 ? 0 : mode == 1 ? 255 : rnd(256);
                }
            const auto colourOf = [&](int x, int y) {
                return Bgr{std::uint8_t(x * 7 + y), std::uint8_t(x * y * 13), std::uint8_t(255 - x)};
            };
            const auto alphaOf = [&](int x, int y) { return alpha[std::size_t(y) * w + x]; };
            auto t = picture(w, h, colourOf, alphaOf);
            const int tw = w + 3, th = h + 2, x0 = rnd(7) - 3, y0 = rnd(5) - 2;
            const std::uint8_t seed = std::uint8_t(rng());
            const auto bgOf = [&](int x, int y) {
                return Bgr{std::uint8_t(seed + x * 31), std::uint8_t(x ^ (y * 77)),
                           std::uint8_t(seed * y + x)};
            };
            const Bitmap bg = filled(tw, th, bgOf);
            for (int o : {255, 254, 128, 1}) {
                Bitmap separate = filled(tw, th, [](int, int) { return Bgr{1, 2, 3}; });
                Bitmap inPlace = bg;
                t.drawOnBitmap(&separate, x0, y0, o, &bg, x0, y0, kNoClip);
                t.drawOnBitmap(&inPlace, x0, y0, o, &inPlace, x0, y0, kNoClip);
                for (int y = 0; y < th; ++y)
                    for (int x = 0; x < tw; ++x) {
                        const int i = x - x0, j = y - y0;
                        const bool inside = i >= 0 && i < w && j >= 0 && j < h;
                        const Bgr want =
                            inside ? blendRef(bgOf(x, y), colourOf(i, j), alphaOf(i, j), o) : bgOf(x, y);
                        ASSERT_EQ(at(inPlace, x, y), want) << path << " " << w << "x" << h << " o " << o;
                        ASSERT_EQ(at(separate, x, y), (inside ? want : Bgr{1, 2, 3})) << path << " o " << o;
                    }
            }
        }
    });
}

TEST(TransBitmapBlend, EveryBytePairWithAlphasSpreadOnEveryPath) {
    // One row per background byte: all 256 colour bytes against it, the alphas a different permutation
    // of 0..255 in every row, at several opacities on each path.
    std::vector<std::uint8_t> g(256 * 3), s(256 * 3), a(256), out(256 * 3);
    forEachSimdLevel([&](const std::string& path) {
        for (int o : {255, 254, 129, 2}) {
            for (int gb = 0; gb < 256; ++gb) {
                for (int i = 0; i < 256; ++i) {
                    g[3 * i] = g[3 * i + 1] = g[3 * i + 2] = std::uint8_t(gb);
                    s[3 * i] = std::uint8_t(i), s[3 * i + 1] = std::uint8_t(255 - i),
                          s[3 * i + 2] = std::uint8_t(i * 7);
                    a[i] = std::uint8_t(i * 37 + gb);
                }
                simd::blendRow24(out.data(), g.data(), s.data(), a.data(), 256, o);
                for (int i = 0; i < 256; ++i)
                    ASSERT_EQ((Bgr{out[3 * i], out[3 * i + 1], out[3 * i + 2]}),
                              blendRef({g[3 * i], g[3 * i + 1], g[3 * i + 2]},
                                       {s[3 * i], s[3 * i + 1], s[3 * i + 2]}, a[i], o))
                        << path << " background " << gb << " pixel " << i << " opacity " << o;
            }
        }
    });
}
