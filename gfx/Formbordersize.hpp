// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

// Window border styles, numbered as the forms store them.
enum : int {
    bsNone = 0,
    bsSingle = 1,
    bsSizeable = 2,
    bsDialog = 3,
    bsToolWindow = 4,
    bsSizeToolWin = 5,
};

// Width of a window's left frame for its border style.
std::int32_t szerokoscRamki(int borderStyle);
// Height of the top frame plus the caption, summed in 16 bits.
std::int16_t wysokoscRamki(int borderStyle);
