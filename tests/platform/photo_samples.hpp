// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Image.hpp"

#include <cstdint>
#include <vector>

// Photos for the photo reader's tests: a recognisable, asymmetric picture and Exif blocks.
namespace photo_samples {

using Bytes = std::vector<std::uint8_t>;

inline constexpr platform::Color kBlue = platform::rgb(0, 0, 255);

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

// The 8000 × 6000 camera picture stored sideways (orientation 6), made once per test process.
inline const Bytes& bigSidewaysJpeg() {
    static const Bytes jpeg = [] {
        Bytes plain = platform::image::encodeJpeg(quadrantPicture(8000, 6000), 85);
        return withExif(plain, orientationTiff(6));
    }();
    return jpeg;
}

} // namespace photo_samples
