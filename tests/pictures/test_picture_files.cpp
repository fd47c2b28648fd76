// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ResourcePictures.hpp"
#include "pictures/AlphaPicture.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/system/Fs.hpp"

#include "tests/support/TempDir.hpp"

#include <gtest/gtest.h>
#include <memory>

#include <filesystem>
#include <fstream>
#include <random>

using namespace platform;
namespace stdfs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

void le16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = std::uint8_t(v), b[at + 1] = std::uint8_t(v >> 8);
}

void le32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        b[at + k] = std::uint8_t(v >> (8 * k));
}

// A Windows BMP written byte by byte: file header, 40-byte info header, palette for 8 bits, rows bottom-up
// padded to 4 bytes. pixel(x, y) gives (b, g, r) for 24 bits, or the palette index in byte 0 for 8 bits.
Bytes bmpFile(int w, int h, int bits, std::uint32_t imageSizeField, auto pixel) {
    const int row = ((w * bits + 31) / 32) * 4;
    const int paletteBytes = bits == 8 ? 1024 : 0;
    const std::size_t offset = 14 + 40 + paletteBytes;
    Bytes b(offset + std::size_t(row) * h, 0);
    b[0] = 'B', b[1] = 'M';
    le32(b, 2, std::uint32_t(b.size()));
    le32(b, 10, std::uint32_t(offset));
    le32(b, 14, 40);
    le32(b, 18, std::uint32_t(w));
    le32(b, 22, std::uint32_t(h));
    le16(b, 26, 1);
    le16(b, 28, unsigned(bits));
    le32(b, 34, imageSizeField);
    if (bits == 8) {
        le32(b, 46, 256);
        for (int i = 0; i < 256; ++i)
            b[54 + 4 * i] = std::uint8_t(i), b[55 + 4 * i] = std::uint8_t(255 - i);
    }
    for (int y = 0; y < h; ++y) {
        std::uint8_t* r = b.data() + offset + std::size_t(h - 1 - y) * row;
        for (int x = 0; x < w; ++x) {
            const std::array<std::uint8_t, 3> c = pixel(x, y);
            if (bits == 8)
                r[x] = c[0];
            else
                r[3 * x] = c[0], r[3 * x + 1] = c[1], r[3 * x + 2] = c[2];
        }
    }
    return b;
}

std::array<std::uint8_t, 3> at(const Bitmap& b, int x, int y) {
    const std::uint8_t* p = b.scanline(y) + x * b.bytesPerPixel();
    return {p[0], p[1], p[2]};
}

// A program directory of its own for each test; the game's relative paths resolve inside it.
class Loaders : public ::testing::Test {
protected:
    void SetUp() override {
        temp_ = std::make_unique<wvtest::TempDir>("gfx");
        dir_ = temp_->dir();
        stdfs::create_directories(dir_ / "Data/Intf/Spec");
        stdfs::create_directories(dir_ / "Resource");
        oldProgramDir_ = fs::programDir();
        fs::setRoots(dir_.string(), dir_.string());
    }
    void TearDown() override {
        fs::setRoots(oldProgramDir_, "");
        temp_.reset();
    }
    void write(const std::string& nativeRelative, const Bytes& bytes) {
        std::ofstream(dir_ / nativeRelative, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    std::unique_ptr<wvtest::TempDir> temp_;
    stdfs::path dir_;
    std::string oldProgramDir_;
};

const auto kPattern = [](int x, int y) {
    return std::array<std::uint8_t, 3>{std::uint8_t(10 * x + y), std::uint8_t(100 + y),
                                       std::uint8_t(200 - x)};
};

} // namespace

TEST_F(Loaders, CorrectedBmpLoadsWhateverTheImageSizeField) {
    for (int w : {1, 2, 3, 5}) {
        for (std::uint32_t field : {0u, 1u, 999999u}) {
            write("Data/Intf/Spec/p.xbi", bmpFile(w, 3, 24, field, kPattern));
            Bitmap b;
            loadCorrectedBmp(b, "Data\\Intf\\Spec\\p.xbi");
            ASSERT_EQ(b.format(), PixelFormat::Bgr24);
            ASSERT_EQ(b.size(), (Size{w, 3}));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x)
                    EXPECT_EQ(at(b, x, y), kPattern(x, y)) << w << " " << field;
        }
    }
    // Widths 1, 2 and 3 have rows of 4, 8 and 12 bytes: the field is (w * 3 + w mod 4) * h.
    EXPECT_EQ(1 * 3 + 1 % 4, 4);
    EXPECT_EQ(2 * 3 + 2 % 4, 8);
    EXPECT_EQ(3 * 3 + 3 % 4, 12);
}

TEST_F(Loaders, OtherDepthsPassThroughUnchanged) {
    const auto index = [](int x, int y) {
        return std::array<std::uint8_t, 3>{std::uint8_t(x + 4 * y), 0, 0};
    };
    write("Data/Intf/Spec/i.xbi", bmpFile(4, 2, 8, 0, index));
    Bitmap corrected, plain;
    loadCorrectedBmp(corrected, "Data\\Intf\\Spec\\i.xbi");
    loadBmp(plain, "Data\\Intf\\Spec\\i.xbi");
    ASSERT_EQ(corrected.format(), PixelFormat::Indexed8);
    EXPECT_EQ(corrected.size(), (Size{4, 2}));
    EXPECT_EQ(corrected.scanline(1)[3], 7);
    EXPECT_EQ(corrected.palette()[7], (PaletteEntry{7, 248, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(corrected.data(), corrected.data() + corrected.byteSize()),
              std::vector<std::uint8_t>(plain.data(), plain.data() + plain.byteSize()));
}

TEST_F(Loaders, JpegLoadsWhateverTheExtension) {
    Bitmap grey(16, 8);
    grey.fill(128);
    write("Data/Intf/Spec/g.xji", image::encodeJpeg(grey, 95));
    Bitmap b(1, 1, PixelFormat::Indexed8);
    loadJpeg(b, "Data\\Intf\\Spec\\g.xji");
    EXPECT_EQ(b.format(), PixelFormat::Bgr24);
    EXPECT_EQ(b.size(), (Size{16, 8}));
    EXPECT_NEAR(b.scanline(4)[7], 128, 2);
}

TEST_F(Loaders, BrokenFilesRaiseFromEveryLoader) {
    std::mt19937 rng(5);
    Bytes garbage(3000);
    for (auto& c : garbage)
        c = std::uint8_t(rng());
    write("garbage.bin", garbage);
    Bytes bmp = bmpFile(40, 30, 24, 0, kPattern);
    write("truncated.xbi", Bytes(bmp.begin(), bmp.begin() + 14 + 40 + 500));
    write("header.xbi", Bytes(bmp.begin(), bmp.begin() + 20));
    // Claims 100000 x 100000 pixels with a few bytes behind it: refused before allocating.
    Bytes huge = bmpFile(2, 2, 24, 0, kPattern);
    le32(huge, 18, 100000);
    le32(huge, 22, 100000);
    write("huge.xbi", huge);
    Bitmap jpegSource(64, 64);
    jpegSource.fill(90);
    Bytes jpeg = image::encodeJpeg(jpegSource, 90);
    write("truncated.xji", Bytes(jpeg.begin(), jpeg.begin() + 40));
    write("empty.xji", {});

    for (const char* name : {"garbage.bin", "truncated.xbi", "header.xbi", "huge.xbi", "truncated.xji",
                             "empty.xji", "missing.xbi"}) {
        Bitmap b(3, 3);
        EXPECT_ANY_THROW(loadJpeg(b, name)) << name;
        EXPECT_ANY_THROW(loadBmp(b, name)) << name;
        EXPECT_ANY_THROW(loadCorrectedBmp(b, name)) << name;
        EXPECT_EQ(b.size(), (Size{3, 3})) << "a failed load leaves the bitmap as it was: " << name;
    }
}

TEST_F(Loaders, BmpPairGivesColourAndAlpha) {
    // Pixel (0,0) opaque, (1,0) half transparent, (2,0) fully transparent.
    const auto black = [](int x, int) {
        return x == 0   ? std::array<std::uint8_t, 3>{10, 20, 30}
               : x == 1 ? std::array<std::uint8_t, 3>{64, 32, 100}
                        : std::array<std::uint8_t, 3>{0, 0, 0};
    };
    const auto white = [](int x, int) {
        return x == 0   ? std::array<std::uint8_t, 3>{10, 20, 30}
               : x == 1 ? std::array<std::uint8_t, 3>{191, 160, 227}
                        : std::array<std::uint8_t, 3>{255, 255, 255};
    };
    write("Data/Intf/Spec/R2_glos_DB.xbi", bmpFile(3, 1, 24, 0, black));
    write("Data/Intf/Spec/R2_glos_DW.xbi", bmpFile(3, 1, 24, 12345, white));
    AlphaPicture t;
    t.loadFromPairBmp("Data\\Intf\\Spec\\R2_glos_DB.xbi", "Data\\Intf\\Spec\\R2_glos_DW.xbi");
    ASSERT_NE(t.color(), nullptr);
    ASSERT_NE(t.alpha(), nullptr);
    EXPECT_EQ(at(*t.color(), 0, 0), (std::array<std::uint8_t, 3>{10, 20, 30}));
    EXPECT_EQ(at(*t.color(), 1, 0), (std::array<std::uint8_t, 3>{127, 63, 199}));
    EXPECT_EQ(t.alpha()->scanline(0)[0], 255);
    EXPECT_EQ(t.alpha()->scanline(0)[1], 128);
    EXPECT_EQ(t.alpha()->scanline(0)[2], 0);
}

TEST_F(Loaders, PairFailuresCarryTheirCodes) {
    write("Data/Intf/Spec/a_DB.xbi", bmpFile(3, 2, 24, 0, kPattern));
    write("Data/Intf/Spec/a_DW.xbi", bmpFile(3, 3, 24, 0, kPattern));
    write("Data/Intf/Spec/p_DB.xbi", bmpFile(3, 2, 8, 0, kPattern));
    write("Data/Intf/Spec/p_DW.xbi", bmpFile(3, 2, 8, 0, kPattern));
    write("Data/Intf/Spec/junk.xbi", Bytes(100, 0x42));
    const auto code = [](auto f) {
        try {
            f();
        } catch (const AlphaPictureError& e) {
            return std::pair<int, std::string>(e.code(), e.what());
        }
        return std::pair<int, std::string>(0, "");
    };
    AlphaPicture t;
    EXPECT_EQ(code([&] { t.loadFromPairBmp("Data\\Intf\\Spec\\a_DB.xbi", "Data\\Intf\\Spec\\a_DW.xbi"); }),
              (std::pair<int, std::string>(kBitmapErrorSize, "CTransBitmap, Błąd berrSize")));
    EXPECT_EQ(
        code([&] { t.loadFromPairBmp("Data\\Intf\\Spec\\p_DB.xbi", "Data\\Intf\\Spec\\p_DW.xbi"); }).first,
        kBitmapErrorPixelFormat);
    EXPECT_EQ(code([&] { t.loadFromPairBmp("Data\\Intf\\Spec\\brak_DB.xbi", "Data\\Intf\\Spec\\a_DW.xbi"); }),
              (std::pair<int, std::string>(
                  kBitmapErrorLoad, "CTransBitmap, Błąd berrLoad, Plik: Data\\Intf\\Spec\\brak_DB.xbi")));
    EXPECT_EQ(code([&] { t.loadFromPairBmp("Data\\Intf\\Spec\\a_DB.xbi", "Data\\Intf\\Spec\\junk.xbi"); }),
              (std::pair<int, std::string>(kBitmapErrorLoad,
                                           "CTransBitmap, Błąd berrLoad, Plik: Data\\Intf\\Spec\\junk.xbi")));
    EXPECT_EQ(
        code([&] { t.loadFromPairJpeg("Data\\Intf\\Spec\\junk.xbi", "Data\\Intf\\Spec\\a_DW.xbi"); }).first,
        kBitmapErrorLoad);
    EXPECT_EQ(t.color(), nullptr); // the BMP loader released everything before failing
}

TEST_F(Loaders, JpegPairReusesItsBitmaps) {
    Bitmap black(8, 8), white(8, 8);
    black.fill(0);
    white.fill(255);
    write("Data/Intf/Spec/RU_mnlz1B.xji", image::encodeJpeg(black, 100));
    write("Data/Intf/Spec/RU_mnlz1W.xji", image::encodeJpeg(white, 100));
    AlphaPicture t;
    t.setColor(newBitmap24(2, 2));
    const Bitmap* colour = t.color();
    t.loadFromPairJpeg("Data\\Intf\\Spec\\RU_mnlz1B.xji", "Data\\Intf\\Spec\\RU_mnlz1W.xji");
    EXPECT_EQ(t.color(), colour);
    EXPECT_EQ(t.color()->size(), (Size{8, 8}));
    ASSERT_NE(t.alpha(), nullptr);
    EXPECT_LE(t.alpha()->scanline(3)[3], 2); // black on black, white on white: transparent
}

TEST_F(Loaders, ResourcePicturesByName) {
    write("Resource/b_malo.bmp", bmpFile(5, 4, 24, 0, kPattern));
    Bitmap b;
    openBmp("b_malo", b);
    EXPECT_EQ(b.size(), (Size{5, 4}));
    EXPECT_EQ(at(b, 4, 3), kPattern(4, 3));
    Bitmap c;
    openBmp("B_Malo", c); // a data set copied from a case-insensitive disk
    EXPECT_EQ(c.size(), (Size{5, 4}));
    Bitmap d;
    EXPECT_ANY_THROW(openBmp("b_duzo", d));
    EXPECT_ANY_THROW(openBmp("../Resource/b_malo", d));
    EXPECT_ANY_THROW(openBmp("", d));
    write("Resource/zepsuty.bmp", Bytes(60, 1));
    EXPECT_ANY_THROW(openBmp("zepsuty", d));
}

TEST(MaskDrawing, MaskThenPictureLeavesTheBackgroundOutsideTheShape) {
    Bitmap screen(3, 1);
    for (int x = 0; x < 3; ++x)
        screen.setPixel(x, 0, rgb(10, 20, 30));
    Bitmap mask(2, 1), picture(2, 1);
    mask.setPixel(0, 0, kWhite); // shape
    mask.setPixel(1, 0, kBlack); // background stays
    picture.setPixel(0, 0, rgb(200, 100, 50));
    picture.setPixel(1, 0, kWhite);
    screen.canvas().setCopyMode(CopyMode::SrcAnd);
    drawWithMask(screen.canvas(), 1, 0, mask, picture);
    EXPECT_EQ(screen.pixel(0, 0), rgb(10, 20, 30));
    EXPECT_EQ(screen.pixel(1, 0), rgb(200, 100, 50));
    EXPECT_EQ(screen.pixel(2, 0), rgb(10, 20, 30));
    EXPECT_EQ(screen.canvas().copyMode(), CopyMode::SrcCopy);
}

namespace {

// A noisy picture: its JPEG is large enough (about 70 KB) for a hostile header to claim 64 megapixels
// within the plausible bytes-per-pixel bound.
Bytes noisyJpeg() {
    Bitmap b(256, 256);
    std::mt19937 rng(3);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            b.setPixel(x, y, platform::rgb(std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())));
    return image::encodeJpeg(b, 95);
}

// The frame header's sides replaced (baseline or progressive start of frame).
Bytes withSides(Bytes jpeg, int w, int h) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = std::uint8_t(h >> 8), jpeg[i + 6] = std::uint8_t(h);
            jpeg[i + 7] = std::uint8_t(w >> 8), jpeg[i + 8] = std::uint8_t(w);
            break;
        }
    return jpeg;
}

// Cut in the middle of its scan and closed with an end-of-image marker, as a broken copy looks.
Bytes cutScan(const Bytes& jpeg) {
    std::size_t scan = 0;
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) scan = i;
    Bytes cut(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(scan + (jpeg.size() - scan) / 2));
    cut.insert(cut.end(), {0xFF, 0xD9});
    return cut;
}

// A 1-bit BMP of w x h (small on disk, many pixels).
Bytes bmp1(int w, int h) {
    const int row = ((w + 31) / 32) * 4;
    Bytes b(14 + 40 + 8 + std::size_t(row) * h, 0);
    b[0] = 'B', b[1] = 'M';
    le32(b, 2, std::uint32_t(b.size()));
    le32(b, 10, 14 + 40 + 8);
    le32(b, 14, 40);
    le32(b, 18, std::uint32_t(w));
    le32(b, 22, std::uint32_t(h));
    le16(b, 26, 1);
    le16(b, 28, 1);
    le32(b, 46, 2);
    b[58] = b[59] = b[60] = 0xFF; // palette entry 1: white
    return b;
}

} // namespace

TEST_F(Loaders, HostileAndBrokenPicturesAreRefusedWithPolishMessagesNamingTheFile) {
    // Header sides whose image-size arithmetic overflows 64 bits when done naively.
    Bytes overflow = bmpFile(2, 2, 24, 0, kPattern);
    le32(overflow, 18, 0x7FFFFFFF);
    le32(overflow, 22, 0x7FFFFFFF);
    Bytes negative = overflow;
    le32(negative, 18, 0x80000000u);
    le32(negative, 22, 0x80000001u);
    const Bytes noisy = noisyJpeg();
    ASSERT_GT(noisy.size(), 64000u);
    write("overflow.xbi", overflow);
    write("negative.xbi", negative);
    write("huge.xji", withSides(noisy, 16000, 4000));
    write("cut.xji", cutScan(noisy));
    write("text.xji", {'t', 'e', 'k', 's', 't'});
    write("tall.xbi", bmp1(8192, 2049));

    enum Loader { Jpeg, Bmp, Corrected };
    const struct {
        const char* file;
        Loader loader;
        std::string message;
    } cases[] = {
        {"overflow.xbi", Corrected, "Uszkodzony plik obrazka overflow.xbi"},
        {"negative.xbi", Corrected, "Uszkodzony plik obrazka negative.xbi"},
        {"overflow.xbi", Bmp, "Uszkodzony plik obrazka overflow.xbi"},
        {"huge.xji", Jpeg, "Uszkodzony plik obrazka huge.xji"},
        {"cut.xji", Jpeg, "Uszkodzony plik obrazka cut.xji"},
        {"text.xji", Jpeg, "Uszkodzony plik obrazka text.xji"},
        {"tall.xbi", Bmp, "Uszkodzony plik obrazka tall.xbi"},
        {"missing.xji", Jpeg, "Brak pliku missing.xji"},
        {"missing.xbi", Corrected, "Brak pliku missing.xbi"},
    };
    for (const auto& c : cases) {
        Bitmap b(3, 3);
        try {
            if (c.loader == Jpeg) loadJpeg(b, c.file);
            if (c.loader == Bmp) loadBmp(b, c.file);
            if (c.loader == Corrected) loadCorrectedBmp(b, c.file);
            ADD_FAILURE() << "accepted " << c.file;
        } catch (const platform::Error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(b.size(), (Size{3, 3})) << c.file;
    }

    // At the limits: 16 megapixels load, and so does the whole picture that was cut above.
    write("limit.xbi", bmp1(8192, 2048));
    Bitmap b;
    loadBmp(b, "limit.xbi");
    EXPECT_EQ(b.size(), (Size{8192, 2048}));
    EXPECT_EQ(b.pixel(8191, 2047), platform::kBlack);
    write("whole.xji", noisy);
    loadJpeg(b, "whole.xji");
    EXPECT_EQ(b.size(), (Size{256, 256}));
}
