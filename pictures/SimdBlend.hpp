// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// The blend's row kernel with a plain loop (the reference, and the path on other processors), an SSE2
// path and an AVX2 path; platform::simdLevel() picks one. Every path gives the same bytes.
namespace simd {

// n pixels of 24-bit rows: t = background g blended towards colour s by the alpha bytes a (one per
// pixel) at opacity 1..255, with the exact arithmetic of blendByte. t may be g itself; otherwise the
// rows must not overlap.
void blendRow24(std::uint8_t* t, const std::uint8_t* g, const std::uint8_t* s, const std::uint8_t* a, int n,
                int opacity);

} // namespace simd
