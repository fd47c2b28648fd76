// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Error.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Photos a therapist brings from a phone or a camera (PNG or JPEG), read upright at the size they are
// needed. The data set's own pictures never come through here and keep their own limits.
namespace platform::image {

enum class PhotoError : std::uint8_t {
    NotAPicture,        // neither PNG nor JPEG
    Unreadable,         // the file cannot be opened or read
    Damaged,            // broken or cut short
    TooLarge,           // more than kPhotoMaxPixels
    InterlacedTooLarge, // an interlaced PNG above kPhotoInterlacedMaxPixels
    TooSmall,           // the short side under kPhotoMinShortSide
    BadExif,            // an Exif block whose structure or orientation is broken
    NoMemory,           // the picture memory limit, or libjpeg's own
};

// One Polish sentence for the user per error.
const char* photoErrorText(PhotoError error);

// Raised by the photo reader; what() is photoErrorText.
class PhotoFailure : public ImageError {
public:
    explicit PhotoFailure(PhotoError error) : ImageError(photoErrorText(error)), error_(error) {}
    PhotoError error() const { return error_; }

private:
    PhotoError error_;
};

inline constexpr std::int64_t kPhotoMaxPixels = 50'000'000;
inline constexpr int kPhotoMinShortSide = 256;
// Adam7 needs the whole picture in memory before any row is final, so interlaced PNG (which phones and
// cameras do not make) is taken only while that full picture stays far within the memory budget.
inline constexpr std::int64_t kPhotoInterlacedMaxPixels = 12'000'000;

// The photo upright (Exif orientation applied), as a 24-bit bitmap shrunk while decoding: its short side is
// at least minShortSide (the whole photo when that is smaller), and no more than about twice that for PNG;
// JPEG shrinks by libjpeg's eighths. Alpha is composited on white. Raises PhotoFailure.
Bitmap decodePhoto(std::span<const std::uint8_t> data, int minShortSide);
// The same streamed from a file (native path), so a large photo is never held whole in memory.
Bitmap loadPhotoFile(const std::string& nativePath, int minShortSide);

// The orientation (1-8) a TIFF-structured Exif block gives, with or without its "Exif\0\0" prefix; 1 when
// the block is empty or has no orientation; nothing when its structure or value is broken.
std::optional<int> exifOrientation(std::span<const std::uint8_t> exif);

// A 24-bit picture turned as Exif orientation 1-8 says, so it stands upright.
Bitmap applyOrientation(const Bitmap& picture, int orientation);

} // namespace platform::image
