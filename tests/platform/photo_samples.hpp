// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/graphics/Photo.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <jpeglib.h>
#include <png.h>
#include <vector>

// Photos for the photo reader's tests: a recognisable, asymmetric picture and Exif blocks.
namespace photo_samples {

using Bytes = std::vector<std::uint8_t>;

inline constexpr platform::Color kBlue = platform::rgb(0, 0, 255);

// Equal within what JPEG's rounding and smoothing move a flat colour.
inline bool near(platform::Color a, platform::Color b, int tolerance = 16) {
    const auto off = [&](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return off(platform::redOf(a), platform::redOf(b)) && off(platform::greenOf(a), platform::greenOf(b)) &&
           off(platform::blueOf(a), platform::blueOf(b));
}

// Blue, the top-left quadrant red and a yellow square of a fifth of the short side in the middle.
inline platform::Bitmap quadrantPicture(int w, int h) {
    platform::Bitmap b(w, h, platform::PixelFormat::Bgr24);
    const int s = std::min(w, h) / 5, x0 = (w - s) / 2, y0 = (h - s) / 2;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = b.scanline(y);
        for (int x = 0; x < w; ++x, row += 3) {
            const bool red = x < w / 2 && y < h / 2;
            const bool yellow = x >= x0 && x < x0 + s && y >= y0 && y < y0 + s;
            row[0] = yellow || red ? 0 : 255;
            row[1] = yellow ? 255 : 0;
            row[2] = yellow || red ? 255 : 0;
        }
    }
    return b;
}

inline void put16be(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v >> 8));
    b.push_back(std::uint8_t(v));
}

inline void put32be(Bytes& b, std::uint32_t v) {
    put16be(b, v >> 16);
    put16be(b, v & 0xFFFF);
}

// A big-endian TIFF block whose first directory holds one orientation entry.
inline Bytes orientationTiff(unsigned orientation) {
    Bytes t = {'M', 'M', 0, 42};
    put32be(t, 8);
    put16be(t, 1);
    put16be(t, 0x0112);
    put16be(t, 3);
    put32be(t, 1);
    put16be(t, orientation);
    put16be(t, 0);
    put32be(t, 0);
    return t;
}

// The JPEG with an APP1 Exif segment holding tiff, right after its start marker.
inline Bytes withExif(const Bytes& jpeg, const Bytes& tiff) {
    Bytes out;
    out.reserve(jpeg.size() + tiff.size() + 10);
    out.push_back(jpeg[0]);
    out.push_back(jpeg[1]);
    out.push_back(0xFF);
    out.push_back(0xE1);
    put16be(out, unsigned(2 + 6 + tiff.size()));
    for (char c : {'E', 'x', 'i', 'f', '\0', '\0'})
        out.push_back(std::uint8_t(c));
    for (std::uint8_t b : tiff)
        out.push_back(b);
    for (std::size_t i = 2; i < jpeg.size(); ++i)
        out.push_back(jpeg[i]);
    return out;
}

// A PNG written by libpng a row at a time (so a big one costs one row): samples(x, y, out) fills one
// pixel's samples (bytes, or 16-bit big-endian ones).
struct PngLayout {
    int width, height, colorType, depth;
    bool interlaced = false;
    std::function<void(int x, int y, std::uint8_t* out)> samples;
    Bytes palette = {}; // RGB triples
    Bytes exif = {};
};

inline void pngAppend(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

inline Bytes makePng(const PngLayout& s) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, pngAppend, nullptr);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), s.depth, s.colorType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    for (std::size_t i = 0; i + 2 < s.palette.size(); i += 3)
        colours.push_back({s.palette[i], s.palette[i + 1], s.palette[i + 2]});
    if (!colours.empty()) png_set_PLTE(png, info, colours.data(), int(colours.size()));
    if (!s.exif.empty())
        png_set_eXIf_1(png, info, png_uint_32(s.exif.size()), const_cast<png_bytep>(s.exif.data()));
    png_write_info(png, info);
    if (s.depth < 8) png_set_packing(png);
    const int passes = png_set_interlace_handling(png);
    const int channels = png_get_channels(png, info);
    const int bytes = s.depth == 16 ? 2 : 1;
    Bytes row(std::size_t(s.width * channels * bytes));
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x)
                s.samples(x, y, row.data() + x * channels * bytes);
            png_write_row(png, row.data());
        }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A progressive JPEG of the quadrant picture, written by libjpeg a row at a time; fullChroma: 4:4:4.
inline Bytes progressiveJpeg(int w, int h, bool fullChroma) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 80, TRUE);
    if (fullChroma)
        for (int i = 0; i < c.num_components; ++i)
            c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> row(std::size_t(w) * 3);
    while (c.next_scanline < c.image_height) {
        const int y = int(c.next_scanline);
        for (int x = 0; x < w; ++x) {
            const bool red = x < w / 2 && y < h / 2;
            row[std::size_t(x) * 3] = red ? 255 : 0;
            row[std::size_t(x) * 3 + 1] = 0;
            row[std::size_t(x) * 3 + 2] = red ? 0 : 255;
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// The 8000 × 6000 camera picture stored sideways (orientation 6), made once per test process.
inline const Bytes& bigSidewaysJpeg() {
    static const Bytes jpeg = [] {
        Bytes plain = platform::image::encodeJpeg(quadrantPicture(8000, 6000), 85);
        return withExif(plain, orientationTiff(6));
    }();
    return jpeg;
}

// A PNG's signature, IHDR (with its CRC) and an empty IDAT: enough for any header the test wants.
inline Bytes pngHeaderOnly(std::uint32_t w, std::uint32_t h, int interlace) {
    const auto crc = [](const Bytes& b, std::size_t from) {
        std::uint32_t c = 0xFFFFFFFF;
        for (std::size_t i = from; i < b.size(); ++i) {
            c ^= b[i];
            for (int k = 0; k < 8; ++k)
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
        }
        return ~c;
    };
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    put32be(b, 13);
    std::size_t start = b.size();
    for (char c : {'I', 'H', 'D', 'R'})
        b.push_back(std::uint8_t(c));
    put32be(b, w);
    put32be(b, h);
    for (int v : {8, 2, 0, 0, interlace})
        b.push_back(std::uint8_t(v));
    put32be(b, crc(b, start));
    put32be(b, 0);
    start = b.size();
    for (char c : {'I', 'D', 'A', 'T'})
        b.push_back(std::uint8_t(c));
    put32be(b, crc(b, start));
    return b;
}

// The JPEG with its frame header's sides replaced.
inline Bytes withJpegSides(Bytes jpeg, unsigned w, unsigned h) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = std::uint8_t(h >> 8), jpeg[i + 6] = std::uint8_t(h);
            jpeg[i + 7] = std::uint8_t(w >> 8), jpeg[i + 8] = std::uint8_t(w);
            break;
        }
    return jpeg;
}

// Photos the reader refuses, one of each kind, with the reason it gives.
struct BadPhoto {
    const char* name;
    Bytes data;
    platform::image::PhotoError error;
};

inline std::vector<BadPhoto> badPhotos() {
    using platform::image::PhotoError;
    Bytes random(5000);
    std::uint32_t seed = 12345;
    for (auto& byte : random)
        byte = std::uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    const Bytes jpeg = platform::image::encodeJpeg(quadrantPicture(640, 480), 90);
    const Bytes truncatedJpeg(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() / 2));
    const auto rgb = [](int, int, std::uint8_t* o) { o[0] = 10, o[1] = 20, o[2] = 30; };
    const Bytes png = makePng({640, 480, PNG_COLOR_TYPE_RGB, 8, false, rgb});
    const Bytes truncatedPng(png.begin(), png.begin() + std::ptrdiff_t(png.size() / 2));
    Bytes signatureOnly(png.begin(), png.begin() + 8);
    signatureOnly.insert(signatureOnly.end(), random.begin(), random.end());
    Bytes hostileExif = orientationTiff(6);
    hostileExif[8] = hostileExif[9] = 0xFF; // 65535 entries in a 26-byte block
    return {
        {"random bytes", random, PhotoError::NotAPicture},
        {"empty", {}, PhotoError::NotAPicture},
        {"truncated JPEG", truncatedJpeg, PhotoError::Damaged},
        {"truncated PNG", truncatedPng, PhotoError::Damaged},
        {"PNG signature, then noise", signatureOnly, PhotoError::Damaged},
        {"PNG 100000 x 100000", pngHeaderOnly(100000, 100000, 0), PhotoError::TooLarge},
        {"PNG of 60 megapixels", pngHeaderOnly(10000, 6000, 0), PhotoError::TooLarge},
        {"JPEG of 60 megapixels", withJpegSides(jpeg, 10000, 6000), PhotoError::TooLarge},
        {"interlaced PNG above its limit", pngHeaderOnly(4000, 3001, 1), PhotoError::InterlacedTooLarge},
        {"JPEG 200 x 150", platform::image::encodeJpeg(quadrantPicture(200, 150)), PhotoError::TooSmall},
        {"PNG 150 x 200", makePng({150, 200, PNG_COLOR_TYPE_RGB, 8, false, rgb}), PhotoError::TooSmall},
        {"JPEG 255 x 4000", withJpegSides(jpeg, 255, 4000), PhotoError::TooSmall},
        {"hostile Exif", withExif(jpeg, hostileExif), PhotoError::BadExif},
        {"Exif orientation 9", withExif(jpeg, orientationTiff(9)), PhotoError::BadExif},
    };
}

} // namespace photo_samples
