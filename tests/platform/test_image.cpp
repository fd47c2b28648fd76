// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Bitmap.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"
#include "temp_dir.hpp"

#include <cstring>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <stdio.h>

using namespace platform;
using Bytes = std::vector<std::uint8_t>;

namespace {

void put16(Bytes& v, std::size_t at, std::uint16_t x) {
    v[at] = std::uint8_t(x);
    v[at + 1] = std::uint8_t(x >> 8);
}

void put32(Bytes& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v[at + std::size_t(i)] = std::uint8_t(x >> (8 * i));
}

// A BMP file written byte by byte: 14-byte file header, 40-byte info header, palette, rows as given.
Bytes bmpFile(int width, int height, int bpp, const Bytes& palette, const Bytes& rows) {
    Bytes f(54 + palette.size() + rows.size(), 0);
    f[0] = 'B';
    f[1] = 'M';
    put32(f, 2, std::uint32_t(f.size()));
    put32(f, 10, std::uint32_t(54 + palette.size()));
    put32(f, 14, 40);
    put32(f, 18, std::uint32_t(width));
    put32(f, 22, std::uint32_t(height));
    put16(f, 26, 1);
    put16(f, 28, std::uint16_t(bpp));
    put32(f, 46, std::uint32_t(palette.size() / 4));
    std::copy(palette.begin(), palette.end(), f.begin() + 54);
    std::copy(rows.begin(), rows.end(), f.begin() + 54 + std::ptrdiff_t(palette.size()));
    return f;
}

// Blue, green, red of pixel (x, y) of a w x 2 test picture.
std::array<std::uint8_t, 3> testColour(int x, int y) {
    return {std::uint8_t(10 + x * 40), std::uint8_t(200 - y * 90), std::uint8_t(x * 30 + y * 7)};
}

// A 24-bit BMP of width w and two rows, stored bottom-up (or top-down when topDown), rows padded to 4 bytes.
Bytes bmp24(int w, bool topDown = false) {
    const int row = (w * 3 + 3) / 4 * 4;
    Bytes rows(std::size_t(row) * 2, 0xEE); // padding bytes are junk on purpose
    for (int y = 0; y < 2; ++y) {
        const int fileRow = topDown ? y : 1 - y;
        for (int x = 0; x < w; ++x) {
            const auto c = testColour(x, y);
            std::memcpy(rows.data() + fileRow * row + x * 3, c.data(), 3);
        }
    }
    return bmpFile(w, topDown ? -2 : 2, 24, {}, rows);
}

Bitmap gradient(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y, rgb(std::uint8_t(x * 8), std::uint8_t(y * 10), 128));
    return b;
}

} // namespace

TEST(BmpDecoding, TwentyFourBitRowsOfOneTwoAndThreePixelsDecodeExactly) {
    for (int w : {1, 2, 3}) {
        for (bool topDown : {false, true}) {
            const Bytes file = bmp24(w, topDown);
            ASSERT_EQ(file.size(), 54u + 2u * std::size_t(4 * w)); // rows of 4, 8 and 12 bytes
            const Bitmap b = image::decodeBmp(file);
            ASSERT_EQ(b.size(), (Size{w, 2}));
            EXPECT_EQ(b.format(), PixelFormat::Bgr24);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < w; ++x) {
                    const auto c = testColour(x, y);
                    EXPECT_EQ(b.pixel(x, y), rgb(c[2], c[1], c[0]))
                        << w << " " << x << "," << y << " " << topDown;
                }
            if (!topDown) {
                // Our own writer produces the very same bytes apart from the padding and the size fields.
                Bytes again = image::encodeBmp(b);
                ASSERT_EQ(again.size(), file.size());
                const int row = 4 * w;
                for (int r = 0; r < 2; ++r)
                    EXPECT_EQ(0, std::memcmp(again.data() + 54 + r * row, file.data() + 54 + r * row,
                                             std::size_t(w * 3)));
            }
        }
    }
}

TEST(BmpDecoding, PalettePicturesStayEightBitWithTheirPalette) {
    // Four colours, 5 x 2 pixels: rows of 8 bytes.
    const Bytes palette = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 10, 20, 30, 0};
    Bytes rows(16, 0);
    const std::uint8_t top[5] = {0, 1, 2, 3, 2}, bottom[5] = {3, 3, 1, 0, 1};
    std::memcpy(rows.data(), bottom, 5); // bottom-up: the last row first
    std::memcpy(rows.data() + 8, top, 5);
    const Bitmap b = image::decodeBmp(bmpFile(5, 2, 8, palette, rows));
    ASSERT_EQ(b.format(), PixelFormat::Indexed8);
    ASSERT_EQ(b.size(), (Size{5, 2}));
    EXPECT_EQ(0, std::memcmp(b.scanline(0), top, 5));
    EXPECT_EQ(0, std::memcmp(b.scanline(1), bottom, 5));
    EXPECT_EQ(b.palette()[1], (PaletteEntry{255, 255, 255, 0}));
    EXPECT_EQ(b.palette()[2], (PaletteEntry{0, 0, 255, 0}));
    EXPECT_EQ(b.palette()[3], (PaletteEntry{10, 20, 30, 0}));
    EXPECT_EQ(b.pixel(2, 0), rgb(255, 0, 0));
    EXPECT_EQ(b.pixel(0, 1), rgb(30, 20, 10));

    // Written and read again, palette and indices survive.
    const Bitmap again = image::decodeBmp(image::encodeBmp(b));
    ASSERT_EQ(again.format(), PixelFormat::Indexed8);
    EXPECT_EQ(0, std::memcmp(again.scanline(0), top, 5));
    EXPECT_EQ(again.palette()[3], (PaletteEntry{10, 20, 30, 0}));
}

TEST(BmpDecoding, FourBitAndThirtyTwoBitPicturesKeepTheirColours) {
    // 4-bit, 3 x 1: indices 1, 0, 1 in the high and low nibbles.
    const Bytes palette = {0, 0, 0, 0, 0, 128, 255, 0};
    const Bitmap four = image::decodeBmp(bmpFile(3, 1, 4, palette, {0x10, 0x10, 0, 0}));
    ASSERT_EQ(four.format(), PixelFormat::Indexed8);
    EXPECT_EQ(four.scanline(0)[0], 1);
    EXPECT_EQ(four.scanline(0)[1], 0);
    EXPECT_EQ(four.pixel(2, 0), rgb(255, 128, 0));

    Bitmap argb(2, 2, PixelFormat::Bgra32);
    argb.setPixel(0, 0, rgb(1, 2, 3));
    argb.setPixel(1, 1, rgb(250, 251, 252));
    const Bitmap back = image::decodeBmp(image::encodeBmp(argb));
    EXPECT_EQ(back.format(), PixelFormat::Bgra32);
    EXPECT_EQ(back.pixel(0, 0), rgb(1, 2, 3));
    EXPECT_EQ(back.pixel(1, 1), rgb(250, 251, 252));
}

TEST(BmpDecoding, BrokenAndHostileHeadersAreRefused) {
    const Bytes good = bmp24(3);
    auto with = [&](auto change) {
        Bytes f = good;
        change(f);
        return f;
    };
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"magic only", {'B', 'M'}},
        {"not a BMP", with([](Bytes& f) { f[0] = 'P'; })},
        {"huge width", with([](Bytes& f) { put32(f, 18, 0x7FFFFFFF); })},
        {"negative width", with([](Bytes& f) { put32(f, 18, std::uint32_t(-3)); })},
        {"zero width", with([](Bytes& f) { put32(f, 18, 0); })},
        {"zero height", with([](Bytes& f) { put32(f, 22, 0); })},
        {"most negative height", with([](Bytes& f) { put32(f, 22, 0x80000000u); })},
        {"tall for its data", with([](Bytes& f) { put32(f, 22, 4000); })},
        {"wide for its data", with([](Bytes& f) { put32(f, 18, 16000); })},
        {"pixels past the end", with([](Bytes& f) { put32(f, 10, std::uint32_t(f.size())); })},
        {"pixels inside the header", with([](Bytes& f) { put32(f, 10, 20); })},
        {"absurd offset", with([](Bytes& f) { put32(f, 10, 0xFFFFFFF0u); })},
        {"header size too big", with([](Bytes& f) { put32(f, 14, 0xFFFFFFFFu); })},
        {"unknown header size", with([](Bytes& f) { put32(f, 14, 41); })},
        {"odd depth", with([](Bytes& f) { put16(f, 28, 7); })},
        {"run-length compressed", with([](Bytes& f) { put32(f, 30, 1); })},
        {"truncated", Bytes(good.begin(), good.end() - 3)},
        {"header only", Bytes(good.begin(), good.begin() + 30)},
    };
    for (const auto& [name, file] : cases)
        EXPECT_THROW(image::decodeBmp(file, name), ImageError) << name;

    // A palette with more colours than the depth allows, or running past the end.
    const Bytes palette(16, 7);
    Bytes eight = bmpFile(4, 1, 8, palette, {0, 1, 2, 3});
    put32(eight, 46, 300);
    EXPECT_THROW(image::decodeBmp(eight), ImageError);
    put32(eight, 46, 200);
    EXPECT_THROW(image::decodeBmp(eight), ImageError);
}

TEST(JpegDecoding, APictureEncodedAtTestTimeDecodesWithinJpegTolerance) {
    const Bitmap original = gradient(24, 16);
    const Bytes jpeg = image::encodeJpeg(original, 95);
    ASSERT_GT(jpeg.size(), 100u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    const Bitmap b = image::decodeJpeg(jpeg, "gradient.xji");
    ASSERT_EQ(b.size(), original.size());
    EXPECT_EQ(b.format(), PixelFormat::Bgr24);
    int worst = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) {
            const Color a = original.pixel(x, y), c = b.pixel(x, y);
            worst = std::max({worst, std::abs(redOf(a) - redOf(c)), std::abs(greenOf(a) - greenOf(c)),
                              std::abs(blueOf(a) - blueOf(c))});
        }
    EXPECT_LE(worst, 12);

    // A palette bitmap is encoded through its colours.
    Bitmap grey(8, 8, PixelFormat::Indexed8);
    grey.palette() = Bitmap::greyPalette();
    grey.fill(200);
    const Bitmap g = image::decodeJpeg(image::encodeJpeg(grey));
    EXPECT_NEAR(redOf(g.pixel(4, 4)), 200, 3);
}

TEST(JpegDecoding, GarbageTruncatedAndOversizedFilesRaiseImageErrors) {
    const Bytes good = image::encodeJpeg(gradient(64, 48), 90);
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a', 0, 0}},
        {"start marker only", {0xFF, 0xD8, 0xFF}},
        {"garbage after the start marker", {0xFF, 0xD8, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}},
        {"truncated in the header", Bytes(good.begin(), good.begin() + 100)},
        {"truncated in the pixels", Bytes(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2))},
    };
    for (const auto& [name, file] : cases)
        EXPECT_THROW(image::decodeJpeg(file, name), ImageError) << name;

    // The frame header claims 65535 x 65535 pixels for a file of a few hundred bytes.
    Bytes huge = good;
    bool patched = false;
    for (std::size_t i = 2; i + 9 < huge.size(); ++i)
        if (huge[i] == 0xFF && (huge[i + 1] == 0xC0 || huge[i + 1] == 0xC2)) {
            huge[i + 5] = huge[i + 6] = huge[i + 7] = huge[i + 8] = 0xFF;
            patched = true;
            break;
        }
    ASSERT_TRUE(patched);
    EXPECT_THROW(image::decodeJpeg(huge, "huge"), ImageError);

    TempRoots roots;
    EXPECT_THROW(image::loadJpegFile(roots.prog() + "/missing.xji"), FileError);
    TempRoots::write(roots.prog() + "/text.xji", "to nie jest obrazek");
    try {
        image::loadJpegFile(roots.prog() + "/text.xji");
        ADD_FAILURE() << "no error";
    } catch (const ImageError& e) {
        EXPECT_NE(std::string(e.what()).find("text.xji"), std::string::npos);
    }
}

namespace {

// A progressive grey JPEG written with libjpeg directly (our own encoder writes baseline files only).
Bytes progressiveJpeg(int w, int h) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(w));
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < w; ++x)
            row[std::size_t(x)] = std::uint8_t(x * 255 / w);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes result(out, out + size);
    std::free(out);
    return result;
}

} // namespace

TEST(JpegDecoding, GreyProgressiveFilesDecodeButEndlessScansAreCutShort) {
    const Bytes file = progressiveJpeg(32, 16);
    const Bitmap b = image::decodeJpeg(file);
    ASSERT_EQ(b.size(), (Size{32, 16}));
    EXPECT_NEAR(redOf(b.pixel(16, 8)), 127, 8);
    EXPECT_EQ(redOf(b.pixel(16, 8)), blueOf(b.pixel(16, 8)));

    // The same refinement scan repeated over and over would keep the decoder busy for nothing.
    std::size_t lastScan = 0;
    for (std::size_t i = 2; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xDA) lastScan = i;
    ASSERT_GT(lastScan, 0u);
    const std::size_t end = file.size() - 2; // before the end-of-image marker
    Bytes hostile(file.begin(), file.begin() + std::ptrdiff_t(end));
    for (int k = 0; k < 1000; ++k)
        hostile.insert(hostile.end(), file.begin() + std::ptrdiff_t(lastScan),
                       file.begin() + std::ptrdiff_t(end));
    hostile.insert(hostile.end(), {0xFF, 0xD9});
    EXPECT_THROW(image::decodeJpeg(hostile, "scans"), ImageError);
}

TEST(PngWriting, AScreenshotReadsBackWithTheSamePixels) {
    TempRoots roots;
    Bitmap shot(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            shot.setPixel(x, y, rgb(std::uint8_t(x * 50), std::uint8_t(y * 100), 7));
    const std::string path = roots.user() + "/shot.png";
    image::savePng(shot, path);

    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&img, path.c_str()));
    img.format = PNG_FORMAT_RGB;
    ASSERT_EQ(img.width, 5u);
    ASSERT_EQ(img.height, 3u);
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(img));
    ASSERT_TRUE(png_image_finish_read(&img, nullptr, pixels.data(), 0, nullptr));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const std::uint8_t* p = pixels.data() + (y * 5 + x) * 3;
            EXPECT_EQ(rgb(p[0], p[1], p[2]), shot.pixel(x, y)) << x << "," << y;
        }

    EXPECT_THROW(image::savePng(shot, roots.user() + "/no/such/dir/shot.png"), FileError);
    EXPECT_THROW(image::savePng(Bitmap(), path), ImageError);
}
