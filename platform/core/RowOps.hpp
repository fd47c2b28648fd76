// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Byte rows under the canvas copy modes, with vector paths picked by simdLevel() (OR and AND on SSE2 and
// AVX2, copies and 24-bit gathers on AVX2); the rows must not overlap.
namespace platform::rows {

void orBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n);
void andBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n);
void copyBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n);
// n pixels of 24-bit BGR, or of 32-bit BGRA, to 32-bit BGRA with the fourth byte 255 (the screen's).
void widenOpaque(std::uint8_t* d, const std::uint8_t* s, std::size_t n);
void copyOpaque(std::uint8_t* d, const std::uint8_t* s, std::size_t n);

// A nearest-pixel row map, made once per stretch and applied to every row: pixel i of a target row takes
// the pixel at byte offset from[i] of a source row (pixels of bpp = 3 or 4 bytes, offsets not
// decreasing), of which rowBytes bytes may be read.
class Gather {
public:
    void prepare(const std::int32_t* from, int n, int bpp, std::size_t rowBytes);
    void apply(std::uint8_t* d, const std::uint8_t* s) const;

private:
    std::vector<std::int32_t> from_;
    // Per block of eight 24-bit pixels: a shuffle of two 16-byte windows, or nothing when the block's
    // pixels lie too far apart for them.
    std::vector<std::uint8_t> shuffles_;
    std::vector<std::uint8_t> windowed_;
    int n_ = 0, bpp_ = 3;
    std::size_t rowBytes_ = 0;
};

} // namespace platform::rows
