// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A transparent picture from a pair (on black, on white), then scaled and blended as the games do.
// Input: one byte of mode (bit 0: JPEG pair, else corrected BMP pair; the rest: drawing offsets), two
// bytes giving the length of the first file, the first file, the second file.
#include "pictures/AlphaPicture.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"

#include <cstdint>
#include <vector>

namespace {

bool decode(platform::Bitmap& b, const std::uint8_t* p, std::size_t n, bool jpeg) {
    try {
        if (jpeg) {
            b = platform::image::decodeJpeg({p, n});
        } else {
            std::vector<std::uint8_t> bytes(p, p + n);
            fixBmpSize(bytes);
            b = platform::image::decodeBmp(bytes);
        }
        return true;
    } catch (const platform::Error&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t mode = data[0];
    const std::size_t first = std::size_t(data[1]) | std::size_t(data[2]) << 8;
    data += 3, size -= 3;
    if (first > size) return 0;
    const bool jpeg = mode & 1;
    platform::Bitmap black, onWhite;
    if (!decode(black, data, first, jpeg) || !decode(onWhite, data + first, size - first, jpeg)) return 0;
    if (jpeg) black.setFormat(platform::PixelFormat::Bgr24), onWhite.setFormat(platform::PixelFormat::Bgr24);
    // The pair is checked as the loader checks it before extracting.
    if (black.size() != onWhite.size() || black.format() != platform::PixelFormat::Bgr24 ||
        onWhite.format() != platform::PixelFormat::Bgr24)
        return 0;
    auto color = std::make_unique<platform::Bitmap>();
    auto alpha = std::make_unique<platform::Bitmap>(0, 0, platform::PixelFormat::Indexed8);
    if (!extractColorAndAlpha(black, onWhite, *color, *alpha)) return 0;
    AlphaPicture t;
    t.setColor(std::move(color));
    t.setAlpha(std::move(alpha));
    platform::Bitmap target(64, 48);
    const int dx = (mode >> 1) % 8 * 12 - 40, dy = (mode >> 4) % 8 * 10 - 30;
    t.drawOnBitmap(&target, dx, dy, mode, &target, 0, 0, platform::Rect{0, 0, t.width(), t.height()});
    AlphaPicture small;
    small.scaleFrom(t, 1 + mode % 40, 1 + mode / 7, (mode & 2) != 0);
    small.drawOnCanvas(target.canvas(), dy, dx, 255 - mode, true);
    return 0;
}
