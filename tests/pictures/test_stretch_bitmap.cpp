// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/AlphaPicture.hpp"
#include "pictures/StretchBitmap.hpp"

#include "../platform/simd_levels.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

using namespace platform;

namespace {

using Bgr = std::array<std::uint8_t, 3>;

Bgr at(const Bitmap& b, int x, int y) {
    const std::uint8_t* p = b.scanline(y) + x * 3;
    return {p[0], p[1], p[2]};
}

void put(Bitmap& b, int x, int y, Bgr c) {
    std::uint8_t* p = b.scanline(y) + x * 3;
    p[0] = c[0], p[1] = c[1], p[2] = c[2];
}

Bitmap filled(int w, int h, auto colourOf) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            put(b, x, y, colourOf(x, y));
    return b;
}

Bitmap randomPicture(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 3 * w; ++x)
            b.scanline(y)[x] = std::uint8_t(rng());
    return b;
}

// Slow per-pixel reference of the bilinear rule, entries with their own denominators, 64-bit sums.
struct Axis {
    long long i, w1, w2, den;
};

Axis bilinearEntry(long long s, long long n, long long x) {
    const long long q = s * (2 * x + 1), d = (q + n) / (2 * n), i = d - 1;
    if (i < 0) return {0, 1, 0, 1};
    if (d == s) return {s - 2, 0, 1, 1};
    const long long w2 = q - (2 * i + 1) * n;
    return {i, 2 * n - w2, w2, 2 * n};
}

std::uint8_t bilinearRef(const Bitmap& src, int dw, int dh, int x, int y, int k) {
    const Axis c = bilinearEntry(src.width(), dw, x), r = bilinearEntry(src.height(), dh, y);
    const auto p = [&](long long i, long long j) { return (long long)src.scanline(int(j))[3 * i + k]; };
    const long long sum = p(c.i, r.i) * c.w1 * r.w1 + p(c.i + 1, r.i) * c.w2 * r.w1 +
                          p(c.i, r.i + 1) * c.w1 * r.w2 + p(c.i + 1, r.i + 1) * c.w2 * r.w2;
    return std::uint8_t(sum / (c.den * r.den));
}

// Slow reference of the area average: each source pixel's weight along an axis is its overlap with the
// target pixel, in units of 1/n.
long long overlap(long long s, long long n, long long x, long long i) {
    const long long lo = std::max(x * s, i * n), hi = std::min((x + 1) * s, (i + 1) * n);
    return std::max(0LL, hi - lo);
}

std::uint8_t boxRef(const Bitmap& src, int dw, int dh, int x, int y, int k) {
    long long sum = 0;
    for (int j = 0; j < src.height(); ++j)
        for (int i = 0; i < src.width(); ++i)
            sum +=
                overlap(src.width(), dw, x, i) * overlap(src.height(), dh, y, j) * src.scanline(j)[3 * i + k];
    return std::uint8_t(sum / ((long long)src.width() * src.height()));
}

} // namespace

TEST(StretchBitmap, SameSizeIsAnExactCopy) {
    const Bitmap src = randomPicture(7, 5, 1);
    Bitmap dst(7, 5);
    StretchBitmap(&dst, &src);
    EXPECT_EQ(std::memcmp(dst.data(), src.data(), src.byteSize()), 0);
}

TEST(StretchBitmap, EnlargingKeepsTheCorners) {
    const Bitmap src = filled(2, 2, [](int x, int y) {
        return Bgr{std::uint8_t(10 + 200 * x), std::uint8_t(50 * y), 99};
    });
    Bitmap dst(4, 4);
    StretchBitmap(&dst, &src);
    EXPECT_EQ(at(dst, 0, 0), at(src, 0, 0));
    EXPECT_EQ(at(dst, 3, 0), at(src, 1, 0));
    EXPECT_EQ(at(dst, 0, 3), at(src, 0, 1));
    EXPECT_EQ(at(dst, 3, 3), at(src, 1, 1));
    // Column 1 sits a quarter of the way: q = 6, d = 1, i = 0, weights 6 and 2 over 8 -> (10*6 + 210*2) / 8
    // = 60.
    EXPECT_EQ(at(dst, 1, 0)[0], 60);
}

TEST(StretchBitmap, HalvingIsBilinearAveragingPairs) {
    // 4 -> 2: entries (0, 2, 2 | 4) and (2, 2, 2 | 4), so each target pixel is the truncated mean of 2x2.
    const std::uint8_t blue[4][4] = {{10, 21, 30, 40}, {11, 13, 50, 60}, {0, 1, 255, 255}, {2, 0, 255, 254}};
    const Bitmap src = filled(4, 4, [&](int x, int y) { return Bgr{blue[y][x], std::uint8_t(x * y), 7}; });
    Bitmap dst(2, 2);
    StretchBitmap(&dst, &src);
    EXPECT_EQ(at(dst, 0, 0), (Bgr{13, 0, 7})); // (10 + 21 + 11 + 13) / 4 = 13.75
    EXPECT_EQ(at(dst, 1, 0), (Bgr{45, 1, 7})); // (30 + 40 + 50 + 60) / 4; green (0 + 0 + 2 + 3) / 4 = 1.25
    EXPECT_EQ(at(dst, 0, 1), (Bgr{0, 1, 7}));  // (0 + 1 + 2 + 0) / 4 = 0.75; green (0 + 2 + 0 + 3) / 4
    EXPECT_EQ(at(dst, 1, 1),
              (Bgr{254, 6, 7})); // (255*3 + 254) / 4 = 254.75; green (4 + 6 + 6 + 9) / 4 = 6.25
}

TEST(StretchBitmap, StrongShrinkingIsAnAreaAverage) {
    // 5 -> 2: column/row weights (2, 2, 1, 0, 0) and (0, 0, 1, 2, 2), divisor 25.
    const Bitmap src = filled(5, 5, [](int x, int y) {
        return Bgr{std::uint8_t(10 * (x + 5 * y)), std::uint8_t((x * 37 + y * 11) % 256),
                   std::uint8_t(x == 2 ? 255 : 0)};
    });
    Bitmap dst(2, 2);
    StretchBitmap(&dst, &src);
    EXPECT_EQ(at(dst, 0, 0)[0], 48);
    EXPECT_EQ(at(dst, 1, 1)[0], 192);
    const int w[2][5] = {{2, 2, 1, 0, 0}, {0, 0, 1, 2, 2}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            for (int k = 0; k < 3; ++k) {
                int sum = 0;
                for (int j = 0; j < 5; ++j)
                    for (int i = 0; i < 5; ++i)
                        sum += w[y][j] * w[x][i] * src.scanline(j)[3 * i + k];
                EXPECT_EQ(dst.scanline(y)[3 * x + k], sum / 25) << x << "," << y << " byte " << k;
            }
    // Red: only column 2 is 255, with weight 1 of 5 in both target columns: 255 / 5 = 51.
    EXPECT_EQ(at(dst, 0, 0)[2], 51);
    EXPECT_EQ(at(dst, 1, 0)[2], 51);
}

TEST(StretchBitmap, OneAxisShrinkingStronglyIsABlockCopy) {
    const Bitmap src = filled(100, 10, [](int x, int y) { return Bgr{std::uint8_t(x), std::uint8_t(y), 1}; });
    Bitmap dst(10, 10);
    StretchBitmap(&dst, &src);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(at(dst, x, y), (Bgr{std::uint8_t(10 * x), std::uint8_t(y), 1}));
}

TEST(StretchBitmap, UnsuitableArgumentsChangeNothing) {
    const Bitmap src = randomPicture(4, 4, 2);
    Bitmap zeroWide(0, 5);
    StretchBitmap(&zeroWide, &src);
    EXPECT_EQ(zeroWide.size(), (Size{0, 5}));
    Bitmap dst = filled(3, 3, [](int, int) { return Bgr{5, 5, 5}; });
    Bitmap indexed(4, 4, PixelFormat::Indexed8);
    StretchBitmap(&dst, &indexed);
    StretchBitmap(&dst, nullptr);
    StretchBitmap(nullptr, &src);
    EXPECT_EQ(at(dst, 1, 1), (Bgr{5, 5, 5}));
    Bitmap fromEmpty = filled(3, 3, [](int, int) { return Bgr{5, 5, 5}; });
    StretchBitmap(&fromEmpty, &zeroWide);
    EXPECT_EQ(at(fromEmpty, 2, 2), (Bgr{5, 5, 5}));
}

TEST(StretchBitmap, OnePixelSourcesAndTargetsUseTheBlockCopy) {
    const Bitmap src = filled(1, 3, [](int, int y) { return Bgr{std::uint8_t(y * 100), 0, 0}; });
    Bitmap dst(3, 3);
    StretchBitmap(&dst, &src);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(at(dst, x, y)[0], y * 100);
    const Bitmap wide = filled(6, 6, [](int x, int) { return Bgr{std::uint8_t(x * 40), 0, 0}; });
    Bitmap column(1, 6);
    StretchBitmap(&column, &wide);
    EXPECT_EQ(at(column, 0, 5)[0], 0);
}

TEST(StretchBitmap, EveryPathMatchesTheSlowRulesOnManySizes) {
    // Random sizes (odd ones, small and large common factors, so the weights range from a few to
    // hundreds) plus the shapes the program and the benchmark scale, on every vector path.
    struct Sizes {
        int sw, sh, dw, dh;
    };
    std::vector<Sizes> cases{{1280 / 8, 960 / 8, 1024 / 8, 768 / 8},
                             {60, 45, 25, 17},
                             {417, 9, 260, 7},
                             {33, 250, 61, 199},
                             {40, 33, 77, 64}};
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round)
        cases.push_back({2 + int(rng() % 40), 2 + int(rng() % 40), 2 + int(rng() % 60), 2 + int(rng() % 60)});
    forEachSimdLevel([&](const std::string& path) {
        unsigned seed = 0;
        for (const Sizes& c : cases) {
            const Bitmap src = randomPicture(c.sw, c.sh, ++seed);
            Bitmap dst(c.dw, c.dh);
            StretchBitmap(&dst, &src);
            const bool bilinear = c.dw >= (c.sw + 1) / 2 && c.dh >= (c.sh + 1) / 2;
            const bool box = !bilinear && c.dw < c.sw && c.dh < c.sh;
            if (!bilinear && !box) continue;
            for (int y = 0; y < c.dh; ++y)
                for (int x = 0; x < c.dw; ++x)
                    for (int k = 0; k < 3; ++k)
                        ASSERT_EQ(dst.scanline(y)[3 * x + k], bilinear ? bilinearRef(src, c.dw, c.dh, x, y, k)
                                                                       : boxRef(src, c.dw, c.dh, x, y, k))
                            << path << " " << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " at "
                            << x << "," << y;
        }
    });
}

TEST(StretchBitmap, LargeTargetsTakeSixtyFourBitSums) {
    // 2052 x 2053 target pixels are above 4 210 752: 255 * 2dw * 2dh no longer fits 32 bits.
    const Bitmap src = randomPicture(1100, 1100, 3);
    const Bitmap white = filled(1100, 1100, [](int, int) { return Bgr{255, 255, 254}; });
    forEachSimdLevel([&](const std::string& path) {
        Bitmap dst(2052, 2053);
        StretchBitmap(&dst, &src);
        for (auto [x, y] : std::vector<std::pair<int, int>>{
                 {0, 0}, {1, 1}, {2051, 2052}, {1000, 17}, {1377, 2001}, {5, 1999}})
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(dst.scanline(y)[3 * x + k], bilinearRef(src, 2052, 2053, x, y, k)) << path;
        // A bright picture is where a 32-bit sum would wrap.
        StretchBitmap(&dst, &white);
        EXPECT_EQ(at(dst, 1234, 1234), (Bgr{255, 255, 254})) << path;
    });
}

TEST(BleedColour, SpreadsIntoTransparentPixelsOnly) {
    // 3x3, centre and right column transparent; the centre takes the mean of its five opaque neighbours.
    Bitmap colour = filled(3, 3, [](int x, int y) { return Bgr{std::uint8_t(10 * (x + 3 * y)), 3, 200}; });
    auto alpha = newAlphaBitmap(3, 3, 255);
    for (int y = 0; y < 3; ++y)
        alpha->scanline(y)[2] = 0;
    alpha->scanline(1)[1] = 0;
    bleedColorIntoTransparent(&colour, alpha.get());
    // Centre: neighbours (0,0)=0, (1,0)=10, (0,1)=30, (0,2)=60, (1,2)=70 -> 170 / 5 = 34.
    EXPECT_EQ(at(colour, 1, 1), (Bgr{34, 3, 200}));
    // Corner (2,0): only (1,0) is opaque -> 10.
    EXPECT_EQ(at(colour, 2, 0), (Bgr{10, 3, 200}));
    // (2,1): (1,0) and (1,2) -> (10 + 70) / 2 = 40.
    EXPECT_EQ(at(colour, 2, 1), (Bgr{40, 3, 200}));
    // Opaque pixels never change.
    EXPECT_EQ(at(colour, 0, 1), (Bgr{30, 3, 200}));
    EXPECT_EQ(alpha->scanline(1)[1], 0);
}

TEST(BleedColour, LeavesNarrowBitmapsAndIsolatedPixelsAlone) {
    Bitmap narrow = filled(1, 3, [](int, int y) { return Bgr{std::uint8_t(y), 0, 0}; });
    auto narrowAlpha = newAlphaBitmap(1, 3, 255);
    narrowAlpha->scanline(1)[0] = 0;
    bleedColorIntoTransparent(&narrow, narrowAlpha.get());
    EXPECT_EQ(at(narrow, 0, 1), (Bgr{1, 0, 0}));

    Bitmap colour = filled(5, 5, [](int, int) { return Bgr{255, 255, 255}; });
    put(colour, 2, 2, {1, 2, 3});
    auto alpha = newAlphaBitmap(5, 5, 255);
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x)
            alpha->scanline(y)[x] = 0;
    bleedColorIntoTransparent(&colour, alpha.get());
    EXPECT_EQ(at(colour, 2, 2), (Bgr{1, 2, 3}));
    EXPECT_EQ(at(colour, 1, 1), (Bgr{255, 255, 255})); // neighbours on the rim are white
}

TEST(Rescale, ScalesColourAndAlphaAndKeepsAlphaGrey) {
    AlphaPicture source;
    source.setColor(std::make_unique<Bitmap>(filled(8, 8, [](int x, int) {
        return Bgr{std::uint8_t(x * 30), 0, 0};
    })));
    auto alpha = newAlphaBitmap(8, 8, 77);
    alpha->scanline(0)[0] = 0;
    source.setAlpha(std::move(alpha));

    AlphaPicture scaled;
    scaled.scaleFrom(source, 5, 5, true);
    ASSERT_NE(scaled.color(), nullptr);
    ASSERT_NE(scaled.alpha(), nullptr);
    EXPECT_EQ(scaled.color()->size(), (Size{5, 5}));
    EXPECT_EQ(scaled.alpha()->size(), (Size{5, 5}));
    EXPECT_EQ(scaled.alpha()->format(), PixelFormat::Indexed8);
    EXPECT_EQ(scaled.alpha()->palette(), grayPalette());
    EXPECT_EQ(scaled.alpha()->scanline(4)[4], 77);
    // Bleeding changed the source: its transparent corner took the mean of (30, 0, 30): 20.
    EXPECT_EQ(at(*source.color(), 0, 0)[0], 20);
    // The colour is the bilinear picture of the bled source.
    const Bitmap bled = *source.color();
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(scaled.color()->scanline(2)[3 * x], bilinearRef(bled, 5, 5, x, 2, 0));

    // Taking over the scaled pictures leaves the other object without them.
    source.takeOver(scaled);
    EXPECT_EQ(source.width(), 5);
    EXPECT_EQ(scaled.color(), nullptr);
    EXPECT_EQ(scaled.alpha(), nullptr);
}

TEST(Rescale, MissingPartsAndReuse) {
    AlphaPicture colourOnly;
    colourOnly.setColor(newBitmap24(4, 4));
    AlphaPicture t;
    t.setAlpha(newAlphaBitmap(9, 9, 1));
    t.scaleFrom(colourOnly, 2, 2, true);
    EXPECT_EQ(t.alpha(), nullptr);
    ASSERT_NE(t.color(), nullptr);
    EXPECT_EQ(t.color()->size(), (Size{2, 2}));

    AlphaPicture nothing;
    t.scaleFrom(nothing, 3, 2, false);
    EXPECT_EQ(t.color(), nullptr);
    ASSERT_NE(t.alpha(), nullptr);
    EXPECT_EQ(t.alpha()->scanline(1)[2], 255);

    // A target whose colour already has the size keeps it, and still ends with an alpha of that size.
    AlphaPicture full;
    full.setColor(newBitmap24(6, 6));
    full.setAlpha(newAlphaBitmap(6, 6, 200));
    AlphaPicture reuse;
    reuse.setColor(newBitmap24(3, 3));
    const Bitmap* kept = reuse.color();
    reuse.scaleFrom(full, 3, 3, false);
    EXPECT_EQ(reuse.color(), kept);
    ASSERT_NE(reuse.alpha(), nullptr);
    EXPECT_EQ(reuse.alpha()->size(), (Size{3, 3}));
    EXPECT_EQ(reuse.alpha()->scanline(2)[2], 200);

    // Scaling an object onto itself works on its own pictures.
    full.scaleFrom(full, 2, 4, false);
    ASSERT_NE(full.alpha(), nullptr);
    EXPECT_EQ(full.color()->size(), (Size{2, 4}));
    EXPECT_EQ(full.alpha()->scanline(3)[1], 200);
}
