// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures/PhotoWordPictures.hpp"

#include "pictures/StretchBitmap.hpp"
#include "platform/core/Error.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/graphics/Photo.hpp"
#include "platform/system/Fs.hpp"

#include <algorithm>
#include <cstring>

using platform::Bitmap;
using platform::PixelFormat;

namespace {

// The shipped pictures' geometry and JPEG settings (tools/gen_data.py).
constexpr int kSmallWidth = 70, kSmallHeight = 94, kSmallPicture = 62;
constexpr int kMemorySmall = 200, kMemoryBig = 256, kLabelSmall = 252, kLabelBig = 320;
constexpr int kDiscInset = 4;
constexpr int kSmallQuality = 95, kBigQuality = 92;

// Coverage is sampled 4 × 4 per pixel, the supersampling the shipped masks are drawn with; shapes are
// given in eighths of a pixel so every sample point (8x + 2i + 1) is an integer.
constexpr int kSamples = 4, kAll = kSamples * kSamples;

// Lays the picture on white by coverage: inside(x8, y8) tells whether a sample point is in the shape.
template <class Inside> void whiteOutside(Bitmap& picture, Inside inside) {
    const int w = picture.width(), h = picture.height();
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = picture.scanline(y);
        for (int x = 0; x < w; ++x) {
            int k = 0;
            for (int j = 0; j < kSamples; ++j)
                for (int i = 0; i < kSamples; ++i)
                    k += inside(8 * x + 2 * i + 1, 8 * y + 2 * j + 1) ? 1 : 0;
            if (k == kAll) continue;
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = std::uint8_t((row[x * 3 + c] * k + 255 * (kAll - k) + kAll / 2) / kAll);
        }
    }
}

void discMask(Bitmap& picture) {
    const std::int64_t d = picture.width();
    const std::int64_t centre = 4 * d, radius = 4 * d - 8 * kDiscInset;
    whiteOutside(picture, [&](std::int64_t x, std::int64_t y) {
        return (x - centre) * (x - centre) + (y - centre) * (y - centre) <= radius * radius;
    });
}

void roundedSquareMask(Bitmap& picture) {
    const std::int64_t d = picture.width();
    // Pillow's radius in quarter pixels, round(0.12 d * 4), here in eighths.
    const std::int64_t r = 2 * ((48 * d + 50) / 100), far = 8 * d - r;
    whiteOutside(picture, [&](std::int64_t x, std::int64_t y) {
        const std::int64_t cx = x < r ? r : (x > far ? far : x);
        const std::int64_t cy = y < r ? r : (y > far ? far : y);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    });
}

Bitmap scaled(const Bitmap& square, int w, int h) {
    Bitmap out(w, h, PixelFormat::Bgr24);
    StretchBitmap(&out, &square);
    return out;
}

bool validStem(std::string_view stem) {
    if (stem.empty() || stem.size() > 40) return false;
    return std::all_of(stem.begin(), stem.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

std::string join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    // A native path (the user directory itself, whatever child plays) takes the native separator.
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += path.front() == '/' ? '/' : '\\';
    return path + std::string(name);
}

} // namespace

SquareCrop defaultCrop(platform::Size photo) {
    return clampCrop({photo.width / 2, photo.height / 2, std::min(photo.width, photo.height)}, photo);
}

SquareCrop clampCrop(SquareCrop crop, platform::Size photo) {
    const int most = std::max(1, std::min(photo.width, photo.height));
    crop.side = std::clamp(crop.side, 1, most);
    // The centre of an even side lies between pixels: the square starts at centre - side / 2.
    const int half = crop.side / 2;
    crop.centerX = std::clamp(crop.centerX, half, std::max(half, photo.width - (crop.side - half)));
    crop.centerY = std::clamp(crop.centerY, half, std::max(half, photo.height - (crop.side - half)));
    return crop;
}

WordPictures makeWordPictures(const Bitmap& photo, SquareCrop crop) {
    if (photo.empty() || photo.format() != PixelFormat::Bgr24)
        throw WordPicturesError("Zdjęcie nie nadaje się na obrazek słowa.");
    crop = clampCrop(crop, photo.size());
    const int left = crop.centerX - crop.side / 2, top = crop.centerY - crop.side / 2;
    Bitmap square(crop.side, crop.side, PixelFormat::Bgr24);
    for (int y = 0; y < crop.side; ++y)
        std::memcpy(square.scanline(y), photo.scanline(top + y) + std::size_t(left) * 3,
                    std::size_t(crop.side) * 3);

    WordPictures p;
    const Bitmap inner = scaled(square, kSmallPicture, kSmallPicture);
    p.small = Bitmap(kSmallWidth, kSmallHeight, PixelFormat::Bgr24);
    p.small.fill(255);
    const int x0 = (kSmallWidth - kSmallPicture) / 2, y0 = (kSmallHeight - kSmallPicture) / 2;
    for (int y = 0; y < kSmallPicture; ++y)
        std::memcpy(p.small.scanline(y0 + y) + x0 * 3, inner.scanline(y), std::size_t(kSmallPicture) * 3);

    p.memorySmall = scaled(square, kMemorySmall, kMemorySmall);
    p.memoryBig = scaled(square, kMemoryBig, kMemoryBig);
    p.labelSmall = scaled(square, kLabelSmall, kLabelSmall);
    p.labelBig = scaled(square, kLabelBig, kLabelBig);
    discMask(p.memorySmall);
    discMask(p.memoryBig);
    roundedSquareMask(p.labelSmall);
    roundedSquareMask(p.labelBig);
    return p;
}

WordPictures wordPicturesFromPhoto(const std::string& photoPath) {
    const Bitmap photo = platform::image::loadPhotoFile(photoPath, kPhotoWorkingSide);
    return makeWordPictures(photo, defaultCrop(photo.size()));
}

std::array<std::string, 5> wordPictureNames(std::string_view stem) {
    const std::string s(stem);
    return {"s" + s + ".xji", s + "_ms.xji", s + "_mb.xji", s + "_ups.xji", s + "_upb.xji"};
}

void writeWordPictures(const WordPictures& pictures, std::string_view folder, std::string_view stem,
                       const std::function<void(int)>& afterFile) {
    namespace fs = platform::fs;
    if (!validStem(stem)) throw WordPicturesError("Nazwa słowa może mieć tylko małe litery a-z i cyfry.");
    const std::string failed = "Nie można zapisać obrazków słowa „" + std::string(stem) + "”";
    const std::string target = join(folder, stem);
    const std::string fresh = join(folder, "." + std::string(stem) + ".nowe");
    const std::string old = join(folder, "." + std::string(stem) + ".stare");
    if (!fs::createDir(folder)) throw WordPicturesError(failed + ": nie można utworzyć folderu.");
    // A replacement stopped between its two renames left the earlier set aside: it is the word's again.
    if (!fs::dirExists(target) && fs::dirExists(old)) fs::renameNew(old, target);
    fs::removeTree(fresh);
    fs::removeTree(old);
    if (!fs::createDir(fresh)) throw WordPicturesError(failed + ": nie można utworzyć folderu.");

    const std::array<std::string, 5> names = wordPictureNames(stem);
    const std::array<const Bitmap*, 5> bitmaps = {&pictures.small, &pictures.memorySmall, &pictures.memoryBig,
                                                  &pictures.labelSmall, &pictures.labelBig};
    try {
        for (std::size_t i = 0; i < names.size(); ++i) {
            const int quality = i == 0 ? kSmallQuality : kBigQuality;
            fs::writeAtomic(join(fresh, names[i]), platform::image::encodeJpeg(*bitmaps[i], quality, true));
            if (afterFile) afterFile(int(i) + 1);
        }
    } catch (const platform::Error& e) {
        fs::removeTree(fresh);
        throw WordPicturesError(failed + ": " + e.what());
    } catch (...) {
        fs::removeTree(fresh);
        throw;
    }

    const bool replacing = fs::dirExists(target);
    int cause = 0;
    if (replacing && !fs::renameNew(target, old, &cause)) {
        fs::removeTree(fresh);
        throw WordPicturesError(failed + ": " + platform::polishReason(cause, true));
    }
    if (!fs::renameNew(fresh, target, &cause)) {
        if (replacing) fs::renameNew(old, target);
        fs::removeTree(fresh);
        throw WordPicturesError(failed + ": " + platform::polishReason(cause, true));
    }
    if (replacing) fs::removeTree(old);
}

void writePhotoWordPictures(const std::string& photoPath, std::string_view folder, std::string_view stem) {
    writeWordPictures(wordPicturesFromPhoto(photoPath), folder, stem);
}
