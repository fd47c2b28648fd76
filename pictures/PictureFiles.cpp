// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/PictureFiles.hpp"

#include "pictures/StretchBitmap.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/system/Fs.hpp"

#include <cstdint>
#include <vector>

using platform::Bitmap;

namespace {

std::int32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::int32_t(std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 |
                        std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24);
}

// The user reads these: in Polish, naming the file, whatever the decoder or the file system said.
std::vector<std::uint8_t> loadFile(const std::string& path) {
    if (!platform::fs::exists(path)) throw platform::FileError("Brak pliku " + platform::fs::toNative(path));
    try {
        return platform::fs::readAll(path);
    } catch (const platform::FileError& e) {
        throw platform::FileError(std::string(e.what()), e.code());
    }
}

template <class DecodeFn>
Bitmap decode(const std::vector<std::uint8_t>& buffer, const std::string& path, DecodeFn decoder) {
    try {
        return decoder(buffer, path);
    } catch (const platform::ImageError&) {
        throw platform::ImageError("Uszkodzony plik obrazka " + platform::fs::toNative(path));
    }
}

} // namespace

void loadJpeg(Bitmap& bitmap, const std::string& path) {
    // Decoded into a temporary so that a failure leaves the caller's bitmap as it was.
    Bitmap picture =
        decode(loadFile(path), path, [](const std::vector<std::uint8_t>& b, const std::string& n) {
            return platform::image::decodeJpeg(b, n);
        });
    picture.setFormat(platform::PixelFormat::Bgr24);
    bitmap = std::move(picture);
}

void loadJpeg(Bitmap& bitmap, const std::string& path, int w, int h) {
    Bitmap picture =
        decode(loadFile(path), path, [w, h](const std::vector<std::uint8_t>& b, const std::string& n) {
            return platform::image::decodeJpeg(b, n, w, h);
        });
    picture.setFormat(platform::PixelFormat::Bgr24);
    if (picture.width() > w || picture.height() > h) {
        Bitmap exact(w, h, platform::PixelFormat::Bgr24);
        StretchBitmap(&exact, &picture);
        picture = std::move(exact);
    }
    bitmap = std::move(picture);
}

Bitmap windowBackground(const std::string& path, int w, int h) {
    Bitmap picture;
    try {
        loadJpeg(picture, path);
    } catch (const std::exception&) {
    }
    Bitmap background(w, h);
    background.canvas().draw(0, 0, picture);
    return background;
}

void loadBmp(Bitmap& bitmap, const std::string& path) {
    bitmap = decode(loadFile(path), path, platform::image::decodeBmp);
}

void fixBmpSize(std::vector<std::uint8_t>& buffer) {
    // Some tools write a wrong or zero image size into 24-bit files; recompute it from the header.
    // A file too short to hold the field goes to the decoder as it is and fails there.
    constexpr std::size_t kSizeField = 34;
    if (buffer.size() < kSizeField + 4 || (buffer[28] | buffer[29] << 8) != 24) return;
    const std::int64_t width = le32(buffer, 18), height = le32(buffer, 22);
    // Absurd sides are left for the decoder to refuse; within these bounds the product fits easily.
    constexpr std::int64_t kLimit = 1 << 20;
    if (width < -kLimit || width > kLimit || height < -kLimit || height > kLimit) return;
    // 32-bit wrap-around as the header field holds it.
    const std::uint32_t sizeBytes = std::uint32_t(std::uint64_t((width * 3 + width % 4) * height));
    for (int k = 0; k < 4; ++k)
        buffer[kSizeField + k] = std::uint8_t(sizeBytes >> (8 * k));
}

void loadCorrectedBmp(Bitmap& bitmap, const std::string& path) {
    std::vector<std::uint8_t> buffer = loadFile(path);
    fixBmpSize(buffer);
    bitmap = decode(buffer, path, platform::image::decodeBmp);
}

void drawWithMask(platform::Canvas& canvas, int x, int y, const Bitmap& mask, const Bitmap& picture) {
    canvas.setCopyMode(platform::CopyMode::SrcPaint);
    canvas.draw(x, y, mask);
    canvas.setCopyMode(platform::CopyMode::SrcAnd);
    canvas.draw(x, y, picture);
    canvas.setCopyMode(platform::CopyMode::SrcCopy);
}
