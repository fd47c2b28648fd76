// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Formbordersize.hpp"

namespace {

// Fixed frame metrics: our forms are drawn by us, so there is no window manager to ask. These are the
// classic desktop values.
constexpr int kCxFrame = 4;
constexpr int kCyFrame = 4;
constexpr int kCxDlgFrame = 3;
constexpr int kCyDlgFrame = 3;
constexpr int kCyCaption = 19;
constexpr int kCySmCaption = 15;

} // namespace

std::int32_t szerokoscRamki(int borderStyle)
{
    switch (borderStyle) {
    case bsNone: return 0;
    case bsSizeable:
    case bsSizeToolWin: return kCxFrame;
    default: return kCxDlgFrame;
    }
}

std::int16_t wysokoscRamki(int borderStyle)
{
    switch (borderStyle) {
    case bsNone: return 0;
    case bsSizeable: return std::int16_t(kCyFrame + kCyCaption);
    case bsToolWindow: return std::int16_t(kCyDlgFrame + kCySmCaption);
    case bsSizeToolWin: return std::int16_t(kCyFrame + kCySmCaption);
    default: return std::int16_t(kCyDlgFrame + kCyCaption);
    }
}
