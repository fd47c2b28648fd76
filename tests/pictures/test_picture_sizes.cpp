// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Pictures larger than where they are drawn cost no more than the ones shipped.
#include "../core/CoreTestSupport.hpp"
#include "core/ResourcePictures.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> jpeg(int w, int h) {
    platform::Bitmap b(w, h, platform::PixelFormat::Bgr24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.canvas().setPixel(x, y, platform::rgb(std::uint8_t(x), std::uint8_t(y), 90));
    return platform::image::encodeJpeg(b, 80);
}

} // namespace

TEST(PictureSizes, aJpegIsDecodedAtTheSmallestEighthThatStillCoversItsDrawnSize) {
    struct Case {
        int w, h, minW, minH, outW, outH;
    };
    const Case cases[] = {
        {800, 600, 70, 94, 200, 150},     // 2/8: 1/8 would give 75 rows, fewer than 94
        {2400, 1600, 320, 320, 600, 400}, // 2/8
        {640, 480, 640, 480, 640, 480},   // drawn at its own size: 8/8
        {50, 40, 70, 94, 50, 40},         // smaller than its place: as it is
        {801, 601, 100, 76, 101, 76},     // sides round up
    };
    for (const Case& c : cases) {
        const platform::Bitmap b = platform::image::decodeJpeg(jpeg(c.w, c.h), "t", c.minW, c.minH);
        EXPECT_EQ(b.width(), c.outW) << c.w << "x" << c.h;
        EXPECT_EQ(b.height(), c.outH) << c.w << "x" << c.h;
    }
}

TEST(PictureSizes, aWordPictureLargerThanItsPlaceEndsAtThatSizeAndAHugeResourceIsRefused) {
    coretest::TempRoots roots;
    const auto big = jpeg(1600, 1200);
    coretest::TempRoots::write(roots.program() / "Data/Sio/sbig.xji", big);
    coretest::TempRoots::write(roots.program() / "Data/Sio/ssmall.xji", jpeg(60, 80));
    platform::Bitmap b;
    loadJpeg(b, "Data\\Sio\\sbig.xji", 70, 94);
    EXPECT_EQ(b.width(), 70);
    EXPECT_EQ(b.height(), 94);
    loadJpeg(b, "Data\\Sio\\ssmall.xji", 70, 94);
    EXPECT_EQ(b.width(), 60) << "a smaller picture is taken as it is";
    EXPECT_EQ(b.height(), 80);

    // A header promising 16384 × 1024 pixels: refused from its first bytes, in Polish.
    std::vector<std::uint8_t> bmp(64, 0);
    bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40, bmp[19] = 0x40, bmp[23] = 0x04, bmp[26] = 1, bmp[28] = 24;
    coretest::TempRoots::write(roots.program() / "Resource/wielki.bmp", bmp);
    const std::string path = (roots.program() / "Resource/wielki.bmp").string();
    try {
        openBmp("wielki", b);
        ADD_FAILURE() << "a 16384-pixel-wide resource taken";
    } catch (const platform::ImageError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Obrazek zasobów \u201e" + path +
                      "\u201d jest za duży (16384\u00d71024 punktów, najwyżej 2048\u00d72048)");
    }
}

TEST(PictureSizes, bitmapsCountTheirBytesAndAPictureBeyondTheMemoryLimitIsRefusedInPolish) {
    const std::size_t before = platform::bitmapBytesInUse();
    {
        platform::Bitmap b(101, 10, platform::PixelFormat::Bgr24); // rows of 303 bytes padded to 304
        EXPECT_EQ(platform::bitmapBytesInUse(), before + 3040);
        b.clear();
        EXPECT_EQ(platform::bitmapBytesInUse(), before) << "a cleared bitmap gives its memory back";
    }
    const auto file = jpeg(320, 320);
    struct Restore {
        std::size_t limit = platform::image::pictureMemoryLimit();
        ~Restore() { platform::image::setPictureMemoryLimit(limit); }
    } restore;
    platform::image::setPictureMemoryLimit(platform::bitmapBytesInUse() + 100'000);
    try {
        platform::image::decodeJpeg(file, "duzy.xji");
        ADD_FAILURE() << "320 × 320 × 3 bytes do not fit in 100 000";
    } catch (const platform::ImageError& e) {
        EXPECT_NE(std::string(e.what()).find("Za mało pamięci na obrazek „duzy.xji” (320x320)"),
                  std::string::npos)
            << e.what();
    }
    // The same file decoded at the size it is drawn fits.
    EXPECT_EQ(platform::image::decodeJpeg(file, "duzy.xji", 70, 94).width(), 120);
}
