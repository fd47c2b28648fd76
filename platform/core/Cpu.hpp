// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace platform {

// Which vector instructions the pixel kernels may use. Each level includes the ones before it.
enum class SimdLevel { Scalar, Sse2, Avx2 };

// The best level this processor runs (asked once).
SimdLevel bestSimdLevel();

// The level the kernels use now: the best one, unless a lower one was forced.
SimdLevel simdLevel();

// Makes the kernels use at most level (never more than the processor has), so every path can be
// compared with the others on one machine. Returns the level now in use.
SimdLevel forceSimdLevel(SimdLevel level);

} // namespace platform
