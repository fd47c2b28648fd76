// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"

#include <optional>

namespace platform {

// Cursors by number, numbered like the framework the windows were designed for; positive numbers are
// the program's own cursors, registered with registerCursor.
using CursorId = int;
inline constexpr CursorId kCursorDefault = 0; // a control's: its form's; a form's: the arrow
inline constexpr CursorId kCursorArrow = -2;
inline constexpr CursorId kCursorIBeam = -4;
inline constexpr CursorId kCursorHelp = -20; // arrow with a question mark
inline constexpr CursorId kCursorHand = -21;

struct CursorImage {
    Bitmap image; // 32-bit BGRA; alpha 0 is transparent
    Point hotSpot;
};

// A colour cursor from a picture. A 32-bit picture keeps its alpha; for other pictures every pixel of
// the transparent colour (when given) is transparent and all others opaque.
void registerCursor(CursorId id, const Bitmap& picture, Point hotSpot, std::optional<Color> transparent = {});
// The picture of a registered cursor, or of the help cursor; nullptr for the system's own cursors.
const CursorImage* cursorImage(CursorId id);

} // namespace platform
