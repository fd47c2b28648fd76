// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"

#include <cstdint>
#include <span>
#include <string>

namespace platform::image {

// All decoders check the header's sizes against the data before allocating and raise ImageError
// (never exit, never read past the data) on anything they cannot decode.

// JPEG (JFIF) into a 24-bit bitmap.
Bitmap decodeJpeg(std::span<const std::uint8_t> data, const std::string& nameForErrors = "");
// The same at the smallest of libjpeg's scales (1/8 .. 8/8) that still gives at least minWidth × minHeight,
// so a photo far larger than where it is drawn costs little time and memory.
Bitmap decodeJpeg(std::span<const std::uint8_t> data, const std::string& nameForErrors, int minWidth,
                  int minHeight);
// Windows BMP (uncompressed; 1, 4, 8, 24 or 32 bits) keeping the file's depth: 8-bit files stay 8-bit
// with their palette (1- and 4-bit files become 8-bit with their palette), 24 stays 24, 32 stays 32.
Bitmap decodeBmp(std::span<const std::uint8_t> data, const std::string& nameForErrors = "");
// Reads and decodes a file given by native path.
Bitmap loadJpegFile(const std::string& nativePath);
Bitmap loadBmpFile(const std::string& nativePath);
// PNG of any bitmap (as 24-bit RGB). Raises ImageError or FileError.
void savePng(const Bitmap& bitmap, const std::string& nativePath);
// Encoders used by tests and tools: a baseline JPEG (quality 1-100) and a BMP in the bitmap's own depth.
// fullChroma keeps colour at every pixel (4:4:4) instead of halving it both ways, as the data set's
// pictures are stored, so thin edges keep their colour.
std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap, int quality = 90, bool fullChroma = false);
std::vector<std::uint8_t> encodeBmp(const Bitmap& bitmap);

// Pictures are decoded only while every bitmap alive plus the new one stays within this many bytes;
// beyond it the loaders raise an ImageError saying so in Polish. 1 GiB by default, far above what the
// shipped data set needs at any screen size; tests lower it.
void setPictureMemoryLimit(std::size_t bytes);
std::size_t pictureMemoryLimit();

} // namespace platform::image
