// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// The program's one pseudo-random generator.
namespace platform::random {

void seed(std::uint32_t value);
// Next value in 0 .. 2^31 - 1.
std::int32_t next();
// next() modulo m; 0 when m <= 0.
int below(int m);

} // namespace platform::random
