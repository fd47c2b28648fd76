#pragma once

#include <cstddef>
#include <cstdint>

// Byte rows under the canvas copy modes, with SSE2 and AVX2 paths picked by simdLevel(); the rows must
// not overlap.
namespace platform::rows {

void orBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n);
void andBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n);
void copyBytes(std::uint8_t* d, const std::uint8_t* s, std::size_t n);

// n pixels of bpp bytes (1, 3 or 4): pixel i of d takes the pixel at byte offset from[i] of s, a row of
// which rowBytes bytes may be read.
void gatherPixels(std::uint8_t* d, const std::uint8_t* s, std::size_t rowBytes, const std::int32_t* from,
                  int n, int bpp);

} // namespace platform::rows
