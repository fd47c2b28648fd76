// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Cpu.hpp"

#include <algorithm>
#include <atomic>

namespace platform {

namespace {

SimdLevel detect() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return SimdLevel::Avx2;
    if (__builtin_cpu_supports("sse2")) return SimdLevel::Sse2;
#endif
    return SimdLevel::Scalar;
}

std::atomic<SimdLevel>& current() {
    static std::atomic<SimdLevel> level{bestSimdLevel()};
    return level;
}

} // namespace

SimdLevel bestSimdLevel() {
    static const SimdLevel best = detect();
    return best;
}

SimdLevel simdLevel() {
    return current().load(std::memory_order_relaxed);
}

SimdLevel forceSimdLevel(SimdLevel level) {
    const SimdLevel l = std::min(level, bestSimdLevel());
    current().store(l, std::memory_order_relaxed);
    return l;
}

} // namespace platform
