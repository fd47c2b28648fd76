// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "photo_samples.hpp"
#include "platform/graphics/Photo.hpp"
#include "tests/support/TempDir.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <png.h>
#include <string>

using namespace platform;
using namespace photo_samples;
using image::PhotoError;

namespace {

// Which quadrant of a picture a colour fills: the pixel a quarter of the way in from that corner.
enum Corner { kTopLeft, kTopRight, kBottomRight, kBottomLeft };

Color at(const Bitmap& b, Corner c) {
    const int x = (c == kTopLeft || c == kBottomLeft) ? b.width() / 4 : b.width() * 3 / 4;
    const int y = (c == kTopLeft || c == kTopRight) ? b.height() / 4 : b.height() * 3 / 4;
    return b.pixel(x, y);
}

PhotoError failureOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const image::PhotoFailure& e) {
        EXPECT_STREQ(e.what(), image::photoErrorText(e.error()));
        return e.error();
    }
    ADD_FAILURE() << "no failure";
    return PhotoError::Unreadable;
}

bool redQuadrant(int x, int y, int w, int h) {
    return x < w / 2 && y < h / 2;
}

} // namespace

TEST(PhotoExif, OrientationOfEachBlock) {
    Bytes little = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0};
    Bytes prefixed = {'E', 'x', 'i', 'f', 0, 0};
    const Bytes six = orientationTiff(6);
    prefixed.insert(prefixed.end(), six.begin(), six.end());
    Bytes noOrientation = orientationTiff(6);
    noOrientation[11] = 0x10; // another tag
    Bytes offsetPastEnd = orientationTiff(3);
    offsetPastEnd[4] = offsetPastEnd[5] = 0xFF;
    Bytes countPastEnd = orientationTiff(3);
    countPastEnd[8] = countPastEnd[9] = 0xFF;
    Bytes wrongType = orientationTiff(3);
    wrongType[13] = 4;
    Bytes cut = orientationTiff(3);
    cut.resize(16);

    const struct {
        const char* name;
        Bytes block;
        std::optional<int> orientation;
    } cases[] = {
        {"empty", {}, 1},
        {"big-endian", orientationTiff(8), 8},
        {"little-endian", little, 8},
        {"with the Exif prefix", prefixed, 6},
        {"without orientation", noOrientation, 1},
        {"orientation 0", orientationTiff(0), std::nullopt},
        {"orientation 9", orientationTiff(9), std::nullopt},
        {"neither II nor MM", {'I', 'M', 0, 42, 0, 0, 0, 8}, std::nullopt},
        {"not 42", {'M', 'M', 0, 43, 0, 0, 0, 8}, std::nullopt},
        {"shorter than a header", {'M', 'M', 0}, std::nullopt},
        {"directory past the end", offsetPastEnd, std::nullopt},
        {"entries past the end", countPastEnd, std::nullopt},
        {"orientation not a short", wrongType, std::nullopt},
        {"cut inside the entry", cut, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(image::exifOrientation(c.block), c.orientation) << c.name;
}

// 640 × 480 stored with its red quadrant top left, shrunk to 400 × 300 (libjpeg's 5/8) for a short side of
// 256, then turned upright.
TEST(PhotoDecoding, JpegTurnedAsItsExifSays) {
    const Bytes plain = image::encodeJpeg(quadrantPicture(640, 480), 95);
    const struct {
        int orientation;
        int width, height;
        Corner red;
    } cases[] = {{1, 400, 300, kTopLeft},     {2, 400, 300, kTopRight},  {3, 400, 300, kBottomRight},
                 {4, 400, 300, kBottomLeft},  {5, 300, 400, kTopLeft},   {6, 300, 400, kTopRight},
                 {7, 300, 400, kBottomRight}, {8, 300, 400, kBottomLeft}};
    for (const auto& c : cases) {
        const Bitmap b = image::decodePhoto(withExif(plain, orientationTiff(unsigned(c.orientation))), 256);
        EXPECT_EQ(b.width(), c.width) << c.orientation;
        EXPECT_EQ(b.height(), c.height) << c.orientation;
        for (Corner corner : {kTopLeft, kTopRight, kBottomRight, kBottomLeft})
            EXPECT_TRUE(near(at(b, corner), corner == c.red ? kRed : kBlue))
                << "orientation " << c.orientation << " corner " << corner;
        EXPECT_TRUE(near(b.pixel(b.width() / 2, b.height() / 2), kYellow)) << c.orientation;
    }
}

// 600 × 400 in every PNG layout, shrunk while reading by boxes of 4 (short side 100): exact averages.
TEST(PhotoDecoding, PngLayoutsShrunkRowByRow) {
    const int w = 600, h = 400;
    const auto rgb8 = [&](int x, int y, std::uint8_t* o) {
        const bool red = redQuadrant(x, y, w, h);
        o[0] = red ? 255 : 0, o[1] = 0, o[2] = red ? 0 : 255;
    };
    const auto rgb16 = [&](int x, int y, std::uint8_t* o) {
        const bool red = redQuadrant(x, y, w, h);
        std::fill(o, o + 6, 0);
        o[red ? 0 : 4] = 0x80, o[red ? 1 : 5] = 0x80; // 0x8080 of 0xFFFF is 128 of 255
    };
    const auto indexed = [&](int x, int y, std::uint8_t* o) { o[0] = redQuadrant(x, y, w, h) ? 0 : 1; };
    const auto grey = [&](int x, int y, std::uint8_t* o) { o[0] = redQuadrant(x, y, w, h) ? 200 : 40; };
    const auto grey1 = [&](int x, int y, std::uint8_t* o) { o[0] = redQuadrant(x, y, w, h) ? 1 : 0; };
    const auto greyAlpha = [&](int x, int y, std::uint8_t* o) {
        o[0] = 0, o[1] = redQuadrant(x, y, w, h) ? 255 : 128; // half-covered black on white: 127
    };
    const auto rgba = [&](int x, int y, std::uint8_t* o) {
        const bool red = redQuadrant(x, y, w, h);
        o[0] = red ? 255 : 0, o[1] = 0, o[2] = red ? 0 : 255, o[3] = red ? 255 : 0;
    };
    const Color halfRed = rgb(128, 0, 0), halfBlue = rgb(0, 0, 128);
    const struct {
        const char* name;
        PngLayout layout;
        Color quadrant, rest;
    } cases[] = {
        {"RGB 8", {w, h, PNG_COLOR_TYPE_RGB, 8, false, rgb8}, kRed, kBlue},
        {"RGB 16", {w, h, PNG_COLOR_TYPE_RGB, 16, false, rgb16}, halfRed, halfBlue},
        {"palette", {w, h, PNG_COLOR_TYPE_PALETTE, 8, false, indexed, {255, 0, 0, 0, 0, 255}}, kRed, kBlue},
        {"grey 8", {w, h, PNG_COLOR_TYPE_GRAY, 8, false, grey}, rgb(200, 200, 200), rgb(40, 40, 40)},
        {"grey 1", {w, h, PNG_COLOR_TYPE_GRAY, 1, false, grey1}, kWhite, kBlack},
        {"grey and alpha",
         {w, h, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, greyAlpha},
         kBlack,
         rgb(127, 127, 127)},
        {"RGBA, clear on white", {w, h, PNG_COLOR_TYPE_RGBA, 8, false, rgba}, kRed, kWhite},
        {"interlaced", {w, h, PNG_COLOR_TYPE_RGB, 8, true, rgb8}, kRed, kBlue},
    };
    for (const auto& c : cases) {
        const Bitmap b = image::decodePhoto(makePng(c.layout), 100);
        EXPECT_EQ(b.width(), 150) << c.name;
        EXPECT_EQ(b.height(), 100) << c.name;
        EXPECT_EQ(b.pixel(0, 0), c.quadrant) << c.name;
        EXPECT_EQ(b.pixel(74, 49), c.quadrant) << c.name;
        EXPECT_EQ(b.pixel(75, 49), c.rest) << c.name;
        EXPECT_EQ(b.pixel(149, 99), c.rest) << c.name;
    }
}

// Boxes the picture does not fill average what they have; an Exif chunk turns a PNG as it turns a JPEG.
TEST(PhotoDecoding, PngEdgesAndOrientation) {
    const auto lastColumnWhite = [](int x, int, std::uint8_t* o) { o[0] = o[1] = o[2] = x == 600 ? 255 : 0; };
    const Bitmap edge =
        image::decodePhoto(makePng({601, 401, PNG_COLOR_TYPE_RGB, 8, false, lastColumnWhite}), 100);
    EXPECT_EQ(edge.width(), 151);
    EXPECT_EQ(edge.height(), 101);
    EXPECT_EQ(edge.pixel(150, 100), kWhite);
    EXPECT_EQ(edge.pixel(149, 100), kBlack);

    const auto rgb8 = [](int x, int y, std::uint8_t* o) {
        const bool red = redQuadrant(x, y, 600, 400);
        o[0] = red ? 255 : 0, o[1] = 0, o[2] = red ? 0 : 255;
    };
    PngLayout sideways{600, 400, PNG_COLOR_TYPE_RGB, 8, false, rgb8, {}, orientationTiff(6)};
    const Bitmap b = image::decodePhoto(makePng(sideways), 100);
    EXPECT_EQ(b.width(), 100);
    EXPECT_EQ(b.height(), 150);
    EXPECT_EQ(at(b, kTopRight), kRed);
    EXPECT_EQ(at(b, kTopLeft), kBlue);
    EXPECT_EQ(at(b, kBottomRight), kBlue);
}

// Every refusal, from memory and streamed from a file alike.
TEST(PhotoDecoding, RefusesBadPhotosWithTheirReason) {
    wvtest::TempDir dir("photo");
    for (const BadPhoto& c : badPhotos()) {
        EXPECT_EQ(failureOf([&] { image::decodePhoto(c.data, 256); }), c.error) << c.name;
        const std::string file = dir.file("photo");
        wvtest::TempDir::write(file, std::string(c.data.begin(), c.data.end()));
        EXPECT_EQ(failureOf([&] { image::loadPhotoFile(file, 256); }), c.error) << c.name << " (file)";
    }
    EXPECT_EQ(failureOf([&] { image::loadPhotoFile(dir.file("missing.jpg"), 256); }), PhotoError::Unreadable);
    EXPECT_EQ(failureOf([&] { image::loadPhotoFile(dir.path(), 256); }), PhotoError::Unreadable);
}

// A progressive file's coefficients are held whole: within libjpeg's allowance it decodes, beyond it the
// photo is refused for memory, not called broken.
TEST(PhotoDecoding, ProgressiveJpegWithinItsAllowance) {
    const Bitmap b = image::decodePhoto(progressiveJpeg(2000, 1500, false), 256);
    EXPECT_EQ(b.width(), 500);
    EXPECT_EQ(b.height(), 375);
    EXPECT_TRUE(near(at(b, kTopLeft), kRed));
    EXPECT_TRUE(near(at(b, kBottomRight), kBlue));
    EXPECT_EQ(failureOf([&] { image::decodePhoto(progressiveJpeg(4500, 3500, true), 256); }),
              PhotoError::NoMemory);
}
