// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace platform {
class Bitmap;
}

// The scaling's row kernels with a plain loop (the reference, and the path on other processors), an SSE2
// path and an AVX2 path; platform::simdLevel() picks one. Every path gives the same bytes.
namespace simd {

// One column's (or row's) bilinear entry: source index, the weights of pixels i and i + 1, and their
// denominator (the same for every entry of an axis).
struct BilinearTap {
    std::int32_t i, w1, w2, den;
};

// Bilinear scaling of 24-bit src onto the whole of dst with the given entries (dst width columns, dst
// height rows): each byte is the weighted sum of its four source bytes divided by the product of the
// denominators, truncating. False, with nothing written, when the current path has no vector code or the
// weights are too large for it; the caller then runs its plain loops.
bool bilinear24(platform::Bitmap& dst, const platform::Bitmap& src, const BilinearTap* cols,
                const BilinearTap* rows);

// One column's (or row's) area entry: first source index and its weight, last source index and its
// weight; the pixels between weigh the target size along that axis.
struct BoxTap {
    std::int32_t first, wFirst, last, wLast;
};

// Area average of 24-bit src onto the whole of dst: each byte is the weighted sum of its source area
// divided by the source's pixel count, truncating. False, with nothing written, when the current path has
// no vector code or the sums do not fit 32 bits.
bool box24(platform::Bitmap& dst, const platform::Bitmap& src, const BoxTap* cols, const BoxTap* rows);

} // namespace simd
