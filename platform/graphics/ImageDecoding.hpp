// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The decoders' shared machinery inside the graphics folder: the data set's loaders and the photo reader
// decode JPEG the same way and differ only in their limits.

#include "platform/core/Bitmap.hpp"
#include "platform/core/Error.hpp"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace platform::image {

// The picture memory limit was reached (a plain ImageError otherwise means a broken file).
class PictureMemoryError : public ImageError {
public:
    using ImageError::ImageError;
};

// Raises PictureMemoryError when a w × h picture would take the bitmaps past the picture memory limit.
void checkPictureMemory(std::int64_t w, std::int64_t h, PixelFormat format, const std::string& name);

// Bytes in memory, or an open file read as a stream (data empty); size is the file's size either way.
struct JpegSource {
    std::span<const std::uint8_t> data;
    std::FILE* file = nullptr;
    std::size_t size = 0;
};

struct JpegLimits {
    std::int64_t maxSide;
    std::int64_t maxPixels;
    long libjpegMemory; // what libjpeg itself may allocate (a progressive file's coefficients)
};

// The full-size header and the TIFF part of the APP1 Exif segment (empty without one).
struct JpegHeader {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> exif;
};

// Decodes at the smallest of libjpeg's scales that still gives at least minWidth × minHeight (both 0:
// full size). checkHeader, when given, sees the header before anything is allocated and may throw to
// refuse the picture. Raises ImageError (PictureMemoryError for the memory limit).
Bitmap decodeJpegScaled(const JpegSource& source, const std::string& nameForErrors, int minWidth,
                        int minHeight, const JpegLimits& limits,
                        const std::function<void(const JpegHeader&)>& checkHeader);

} // namespace platform::image
