// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Rows widened to the screen's 32-bit pixels: every vector path gives the plain loop's bytes.
#include "platform/core/RowOps.hpp"
#include "simd_levels.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace rows = platform::rows;

TEST(RowOps, PixelsWidenedOrCopiedToTheScreenAreOpaqueAndNothingPastTheRowIsWritten) {
    std::uint32_t seed = 99;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u, std::uint8_t(seed >> 24); };
    forEachSimdLevel([&](const std::string& path) {
        for (std::size_t n : {0u, 1u, 7u, 9u, 10u, 11u, 17u, 18u, 33u, 100u}) {
            for (int bpp : {3, 4}) {
                std::vector<std::uint8_t> src(n * std::size_t(bpp) + 5), dst(n * 4 + 8, 0xAB);
                for (auto& b : src)
                    b = next();
                if (bpp == 3)
                    rows::widenOpaque(dst.data(), src.data(), n);
                else
                    rows::copyOpaque(dst.data(), src.data(), n);
                for (std::size_t i = 0; i < n; ++i)
                    for (int k = 0; k < 4; ++k)
                        ASSERT_EQ(dst[4 * i + std::size_t(k)],
                                  k == 3 ? 255 : src[i * std::size_t(bpp) + std::size_t(k)])
                            << path << " n=" << n << " bpp=" << bpp << " pixel " << i;
                for (std::size_t i = n * 4; i < dst.size(); ++i)
                    ASSERT_EQ(dst[i], 0xAB) << path << " n=" << n << " bpp=" << bpp;
            }
        }
    });
}
