// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The ring overlay and the caption pictures: positions in both display modes, clipping, saved
// backgrounds, missing pictures.
#include "widgets/Caption.hpp"
#include "widgets/RingOverlay.hpp"

#include "core/FatalError.hpp"
#include "core/ScreenLayout.hpp"
#include "tests/widgets/widget_fixture.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace platform;
using namespace wt;

namespace {

constexpr Color kBackground = rgb(0, 200, 100);

// The display geometry of one test.
using Mode = ScreenLayout;

// JPEG round trips may move a channel a little even in flat areas.
bool isNear(Color a, Color b, int tol = 6) {
    return std::abs(redOf(a) - redOf(b)) <= tol && std::abs(greenOf(a) - greenOf(b)) <= tol &&
           std::abs(blueOf(a) - blueOf(b)) <= tol;
}

std::string intfPath(const Resources& z, const std::string& name) {
    return z.prog() + "/Data/Intf/Spec/" + name;
}
std::string bio(const Resources& z, const std::string& name) {
    return z.prog() + "/Data/Bio/" + name;
}

// Ring pictures of the given sizes for both modes; the ring itself is invisible (black mask, white
// picture), the word mask lets everything through.
void saveRings(const Resources& z, Size small, Size large, Size smallMask, Size largeMask) {
    saveJpeg(intfPath(z, "Ring_s.xji"), solidBitmap(small.width, small.height, kWhite));
    saveJpeg(intfPath(z, "RingM_s.xji"), solidBitmap(small.width, small.height, kBlack));
    saveJpeg(intfPath(z, "Ring_b.xji"), solidBitmap(large.width, large.height, kWhite));
    saveJpeg(intfPath(z, "RingM_b.xji"), solidBitmap(large.width, large.height, kBlack));
    saveJpeg(bio(z, "_matr_ms.xji"), solidBitmap(smallMask.width, smallMask.height, kWhite));
    saveJpeg(bio(z, "_matr_mb.xji"), solidBitmap(largeMask.width, largeMask.height, kWhite));
}

} // namespace

TEST(RingOverlay, IsCentredInTheContentAreaOfEachMode) {
    Resources z;
    saveRings(z, {301, 201}, {401, 301}, {101, 75}, {151, 101});
    {
        Mode t(800, 600);
        Bitmap canvas = solidBitmap(800, 600, kBackground);
        RingOverlay o(canvas.canvas(), t);
        // 400 - 301 / 2, 300 - 201 / 2; 400 - 101 / 2, 300 - 75 / 2.
        EXPECT_EQ(o.ringX(), 250);
        EXPECT_EQ(o.ringY(), 200);
        EXPECT_EQ(o.innerPictureX(), 350);
        EXPECT_EQ(o.innerPictureY(), 263);
        o.drawWithPicture(solidBitmap(101, 75, rgb(255, 0, 0)));
        EXPECT_TRUE(isNear(canvas.pixel(400, 300), rgb(255, 0, 0))) << std::hex << canvas.pixel(400, 300);
        EXPECT_TRUE(isNear(canvas.pixel(360, 270), rgb(255, 0, 0)));
        EXPECT_EQ(canvas.pixel(340, 300), kBackground); // the invisible ring left its area alone
        EXPECT_EQ(canvas.pixel(400, 340), kBackground);
        EXPECT_EQ(canvas.canvas().copyMode(), CopyMode::SrcCopy);
    }
    {
        // A screen larger than the area: positions stay within the area (the window sits at the offsets).
        Mode t(1280, 1024);
        Bitmap canvas = solidBitmap(1024, 768, kBackground);
        RingOverlay o(canvas.canvas(), t);
        // 512 - 401 / 2, 384 - 301 / 2; 512 - 151 / 2, 384 - 101 / 2.
        EXPECT_EQ(o.ringX(), 312);
        EXPECT_EQ(o.ringY(), 234);
        EXPECT_EQ(o.innerPictureX(), 437);
        EXPECT_EQ(o.innerPictureY(), 334);
    }
}

TEST(RingOverlay, ARingLargerThanTheAreaGetsNegativeCoordinatesAndIsDrawnClipped) {
    Resources z;
    saveRings(z, {1001, 701}, {10, 10}, {101, 75}, {10, 10});
    // Left of column 160 the ring is transparent, from it on opaque black.
    Bitmap mask(1001, 701), ring(1001, 701);
    for (int y = 0; y < 701; ++y)
        for (int x = 0; x < 1001; ++x) {
            mask.setPixel(x, y, x < 160 ? kBlack : kWhite);
            ring.setPixel(x, y, x < 160 ? kWhite : kBlack);
        }
    saveJpeg(intfPath(z, "RingM_s.xji"), mask);
    saveJpeg(intfPath(z, "Ring_s.xji"), ring);

    Mode t(800, 600);
    Bitmap canvas = solidBitmap(800, 600, kBackground);
    RingOverlay o(canvas.canvas(), t);
    EXPECT_EQ(o.ringX(), -100); // 400 - 500
    EXPECT_EQ(o.ringY(), -50);  // 300 - 350
    o.drawRing();
    // Column 160 of the ring lands on column 60 of the canvas.
    EXPECT_TRUE(isNear(canvas.pixel(20, 10), kBackground));
    EXPECT_TRUE(isNear(canvas.pixel(40, 590), kBackground));
    EXPECT_TRUE(isNear(canvas.pixel(80, 10), kBlack));
    EXPECT_TRUE(isNear(canvas.pixel(799, 599), kBlack));
    EXPECT_TRUE(isNear(canvas.pixel(400, 0), kBlack));
}

TEST(RingOverlay, AMissingPictureRaisesMissingResources) {
    Resources z;
    saveRings(z, {31, 21}, {41, 31}, {11, 7}, {15, 11});
    Mode t(1024, 768);
    Bitmap canvas(100, 100);
    EXPECT_NO_THROW((RingOverlay{canvas.canvas(), t}));
    std::filesystem::remove(bio(z, "_matr_mb.xji")); // the last one loaded
    try {
        RingOverlay o(canvas.canvas(), t);
        ADD_FAILURE() << "no error";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.code, 1);
    }
    // Not a JPEG under the ring's name: the same report.
    saveBmp(intfPath(z, "Ring_b.xji"), solidBitmap(41, 31, kWhite));
    try {
        RingOverlay o(canvas.canvas(), t);
        ADD_FAILURE() << "no error";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.code, 1);
    }
}

TEST(Caption, DrawsItsPictureAndPutsTheSavedBackgroundBack) {
    Resources z;
    z.save("nap_test_s", solidBitmap(kWidth, kHeight, kEnabled));
    Bitmap canvas(80, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            canvas.setPixel(x, y, pattern(x, y));
    const Bitmap before = canvas;

    Caption caption("nap_test_s");
    EXPECT_EQ(caption.width(), kWidth);
    EXPECT_EQ(caption.height(), kHeight);
    caption.drawBackground(canvas.canvas()); // nothing saved yet: nothing drawn
    EXPECT_EQ(std::vector<std::uint8_t>(canvas.data(), canvas.data() + canvas.byteSize()),
              std::vector<std::uint8_t>(before.data(), before.data() + before.byteSize()));

    caption.placeAt(30, 40);
    caption.saveBackground(canvas.canvas());
    caption.draw(canvas.canvas());
    EXPECT_EQ(canvas.pixel(30, 40), kEnabled);
    EXPECT_EQ(canvas.pixel(49, 49), kEnabled);
    EXPECT_EQ(canvas.pixel(50, 49), pattern(50, 49));
    caption.drawBackground(canvas.canvas());
    EXPECT_EQ(std::vector<std::uint8_t>(canvas.data(), canvas.data() + canvas.byteSize()),
              std::vector<std::uint8_t>(before.data(), before.data() + before.byteSize()));

    // Partly off the canvas: only the part on it is drawn and restored.
    caption.placeAt(-5, 55);
    caption.saveBackground(canvas.canvas());
    caption.draw(canvas.canvas());
    EXPECT_EQ(canvas.pixel(0, 55), kEnabled);
    EXPECT_EQ(canvas.pixel(14, 59), kEnabled);
    EXPECT_EQ(canvas.pixel(15, 59), pattern(15, 59));
    caption.drawBackground(canvas.canvas());
    EXPECT_EQ(std::vector<std::uint8_t>(canvas.data(), canvas.data() + canvas.byteSize()),
              std::vector<std::uint8_t>(before.data(), before.data() + before.byteSize()));
}

TEST(Caption, AMissingPictureRaisesMissingResources) {
    Resources z;
    try {
        Caption caption("nap_brak_s");
        ADD_FAILURE() << "no error";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.code, 1);
    }
    // A resource name never climbs out of the resource directory.
    z.save("nap_test_s", solidBitmap(kWidth, kHeight, kEnabled));
    EXPECT_THROW(Caption("../Resource/nap_test_s"), FatalError);
}
