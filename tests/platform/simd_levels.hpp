// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Cpu.hpp"

#include <string>
#include <vector>

// Runs a check once per vector path this processor has (plain loops first), restoring the best path
// afterwards, so every path is held to the same expected bytes.
template <typename F> void forEachSimdLevel(F&& check) {
    using platform::SimdLevel;
    struct Restore {
        ~Restore() { platform::forceSimdLevel(platform::bestSimdLevel()); }
    } restore;
    for (SimdLevel l : {SimdLevel::Scalar, SimdLevel::Sse2, SimdLevel::Avx2}) {
        if (platform::forceSimdLevel(l) != l) continue;
        check(std::string(l == SimdLevel::Scalar ? "scalar" : l == SimdLevel::Sse2 ? "sse2" : "avx2"));
    }
}
