// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/graphics/Text.hpp"

#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace platform;
using ::testing::ElementsAre;

namespace {

Bitmap white(int w, int h, PixelFormat f = PixelFormat::Bgr24) {
    Bitmap b(w, h, f);
    if (f == PixelFormat::Indexed8) {
        b.palette() = Bitmap::greyPalette();
        b.fill(255);
    } else {
        b.fill(255);
    }
    return b;
}

// Smallest rectangle holding every pixel that is no longer white.
Rect inked(const Bitmap& b) {
    Rect r{};
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.pixel(x, y) != kWhite) r = r.unite({x, y, x + 1, y + 1});
    return r;
}

int inkedCount(const Bitmap& b) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += b.pixel(x, y) != kWhite;
    return n;
}

const Font kTitle{"Arial Black", 19, false, kBlack};
const Font kLabel{"Arial", 16, false, kBlack};

} // namespace

TEST(TextMeasure, PolishWordsInWindowsFontNamesHavePlausibleSizes) {
    const Size s = text::measure(kTitle, "Żółć");
    EXPECT_GT(s.width, 19 * 2);
    EXPECT_LT(s.width, 19 * 5);
    EXPECT_GE(s.height, 19);         // a line is at least the character height ...
    EXPECT_LE(s.height, 19 * 3 / 2); // ... plus ascender and descender room
    EXPECT_EQ(s.height, text::lineHeight(kTitle));
    EXPECT_EQ(text::measure(kTitle, "").width, 0);

    // "Arial Black" is heavier and so wider than "Arial"; the misspelt name used by one window works too.
    EXPECT_GT(s.width, text::measure({"Arial", 19, false, kBlack}, "Żółć").width);
    EXPECT_EQ(text::measure({"Araial", 19, false, kBlack}, "Żółć"),
              text::measure({"Arial", 19, false, kBlack}, "Żółć"));
    EXPECT_GT(text::measure({"MS Sans Serif", 13, false, kBlack}, "Imię").width, 0);
    EXPECT_GT(text::measure({"No Such Family", 13, false, kBlack}, "Imię").width, 0);
    // Twice the height, about twice the width.
    const int w20 = text::measure(kLabel, "Spróbuj jeszcze raz").width;
    const int w40 = text::measure({"Arial", 32, false, kBlack}, "Spróbuj jeszcze raz").width;
    EXPECT_NEAR(double(w40) / w20, 2.0, 0.15);
}

TEST(TextDraw, PolishLettersHaveTheirOwnGlyphs) {
    auto render = [](const char* s) {
        Bitmap b = white(40, 40);
        text::draw(b, {0, 0, 40, 40}, 4, 4, s, {"Arial", 24, false, kBlack});
        return b;
    };
    // A missing glyph would show the same box for both of a pair, or for the letter and an unknown code.
    for (auto [polish, plain] : {std::pair{"ż", "z"}, {"ł", "l"}, {"ó", "o"}, {"Ś", "S"}, {"ę", "e"}}) {
        const Bitmap a = render(polish), b = render(plain);
        EXPECT_NE(0, std::memcmp(a.data(), b.data(), a.byteSize())) << polish;
        EXPECT_GT(inkedCount(a), inkedCount(b)) << polish; // the extra dot, stroke, accent or tail
    }
    const Bitmap box = render("\xEE\x80\x80"); // a private-use code no font draws
    EXPECT_NE(0, std::memcmp(render("ż").data(), box.data(), box.byteSize()));
}

TEST(TextDraw, BlendsInTheFontColourAndNeverTouchesPixelsOutsideTheClip) {
    Bitmap b = white(80, 40);
    const Rect clip{10, 5, 50, 30};
    const Rect changed = text::draw(b, clip, 2, 2, "WWWWWW", {"Arial", 30, true, kRed});
    EXPECT_FALSE(changed.empty());
    EXPECT_EQ(changed.intersect(clip), changed);
    bool fullRed = false, partial = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) {
            const Color c = b.pixel(x, y);
            if (!clip.contains(x, y)) {
                ASSERT_EQ(c, kWhite) << x << "," << y;
                continue;
            }
            if (c == kRed) fullRed = true;
            // Red over white keeps red at 255 and lowers green and blue together.
            if (c != kRed && c != kWhite) {
                partial = true;
                EXPECT_EQ(redOf(c), 255);
                EXPECT_EQ(greenOf(c), blueOf(c));
            }
        }
    EXPECT_TRUE(fullRed);
    EXPECT_TRUE(partial);

    // Drawing wholly outside the bitmap changes nothing.
    EXPECT_TRUE(text::draw(b, {0, 0, 80, 40}, 200, 200, "Ala", kLabel).empty());
    EXPECT_TRUE(text::draw(b, {0, 0, 80, 40}, -500, 0, "Ala", kLabel).empty());
}

TEST(TextDraw, PaletteTargetsGetTheNearestPaletteEntries) {
    Bitmap b = white(60, 30, PixelFormat::Indexed8);
    text::draw(b, {0, 0, 60, 30}, 2, 2, "Ala", {"Arial", 20, true, kBlack});
    bool black = false, grey = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            const std::uint8_t i = b.scanline(y)[x];
            black |= i == 0;
            grey |= i > 0 && i < 255;
        }
    EXPECT_TRUE(black);
    EXPECT_TRUE(grey);
}

TEST(TextLayout, LinesAreAlignedLeftCentredOrRightInTheirRectangle) {
    const Rect rect{20, 10, 220, 60};
    Rect boxes[3];
    int i = 0;
    for (TextAlign align : {TextAlign::Left, TextAlign::Center, TextAlign::Right}) {
        Bitmap b = white(240, 70);
        text::drawInRect(b, {0, 0, 240, 70}, rect, "Ola", kLabel, align, false);
        boxes[i++] = inked(b);
    }
    const int w = text::measure(kLabel, "Ola").width;
    EXPECT_NEAR(boxes[0].left, rect.left, 2);
    EXPECT_NEAR((boxes[1].left + boxes[1].right) / 2.0, (rect.left + rect.right) / 2.0, 2.5);
    EXPECT_NEAR(boxes[2].right, rect.right, 2);
    EXPECT_LE(boxes[2].right, rect.right);
    EXPECT_NEAR(boxes[1].left - boxes[0].left, (rect.width() - w) / 2, 1);
    for (const Rect& r : boxes) {
        EXPECT_GE(r.top, rect.top);
        EXPECT_LT(r.top, rect.top + text::lineHeight(kLabel) / 2);
    }
}

TEST(TextLayout, WrapsAtSpacesBreaksOverlongWordsAndHonoursLineBreaks) {
    const int width = text::measure(kLabel, "Ala ma").width + 1;
    EXPECT_THAT(text::wrap(kLabel, "Ala ma kota", width), ElementsAre("Ala ma", "kota"));
    EXPECT_THAT(text::wrap(kLabel, "Ala ma kota", 1000), ElementsAre("Ala ma kota"));
    EXPECT_THAT(text::wrap(kLabel, "Brawo!\nŚwietnie!", 1000), ElementsAre("Brawo!", "Świetnie!"));
    EXPECT_THAT(text::wrap(kLabel, "a\r\n\nb", 1000), ElementsAre("a", "", "b"));

    const int narrow = text::measure(kLabel, "Wiro").width;
    const auto pieces = text::wrap(kLabel, "Wirowanki", narrow);
    ASSERT_GE(pieces.size(), 2u);
    std::string joined;
    for (const auto& p : pieces) {
        EXPECT_LE(text::measure(kLabel, p).width, narrow) << p;
        joined += p;
    }
    EXPECT_EQ(joined, "Wirowanki");
    // Letters are never split inside their UTF-8 bytes.
    for (const auto& p : text::wrap(kLabel, "żżżżżżżżżż", text::measure(kLabel, "żż").width))
        EXPECT_EQ(p.size() % 2, 0u) << p;

    // Wrapped text is drawn line under line inside the rectangle, nothing below it.
    Bitmap b = white(200, 100);
    const Rect rect{0, 0, width, text::lineHeight(kLabel) * 2};
    text::drawInRect(b, {0, 0, 200, 100}, rect, "Ala ma kota i psa", kLabel, TextAlign::Left, true);
    const Rect ink = inked(b);
    EXPECT_GT(ink.bottom, text::lineHeight(kLabel)); // a second line was drawn
    EXPECT_LE(ink.bottom, rect.bottom);
    EXPECT_LE(ink.right, rect.right);
}

TEST(TextOnCanvas, CanvasTextUsesItsFontAndClipAndReportsWhatChanged) {
    Bitmap b = white(100, 40);
    Canvas& canvas = b.canvas();
    canvas.setFont({"Arial", 20, false, rgb(0, 0, 255)});
    canvas.setClipRect({0, 0, 30, 40});
    Rect reported{};
    canvas.setChangeListener([&](const Rect& r) { reported = reported.unite(r); });
    canvas.textOut(5, 5, "Wirowanki");
    const Rect ink = inked(b);
    EXPECT_FALSE(ink.empty());
    EXPECT_LE(ink.right, 30);
    EXPECT_EQ(reported.intersect(ink), ink);
    EXPECT_LE(reported.right, 30);
    EXPECT_EQ(canvas.textExtent("Wirowanki"), text::measure(canvas.font(), "Wirowanki"));

    reported = {};
    canvas.resetClip();
    canvas.textRect({0, 0, 100, 40}, "Ola", TextAlign::Right, false);
    EXPECT_GT(reported.left, 50);
}
