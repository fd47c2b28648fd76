// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Bitmap;

// A font as the windows ask for it: a family name (resolved through fontconfig, so "Arial Black",
// "Arial" and "MS Sans Serif" find installed fonts with Polish letters), a pixel height and weight.
struct Font {
    std::string family = "MS Sans Serif";
    int height = 13; // character height in pixels
    bool bold = false;
    Color color = kBlack;
    friend bool operator==(const Font&, const Font&) = default;
};

enum class TextAlign { Left, Center, Right };

namespace text {

// Width and height of one line of UTF-8 text.
Size measure(const Font& font, std::string_view utf8);
// Height of one line, the step between wrapped lines.
int lineHeight(const Font& font);
// Breaks text into lines no wider than width (words longer than a line are broken by letters);
// explicit '\n' always breaks.
std::vector<std::string> wrap(const Font& font, std::string_view utf8, int width);
// Draws one line with its top-left corner at (x, y), blending the glyphs' coverage in the font's
// colour over what the target shows; nothing outside clip (and the bitmap) is touched.
// Returns the rectangle that may have changed.
Rect draw(Bitmap& target, const Rect& clip, int x, int y, std::string_view utf8, const Font& font);
// Lays text out inside rect, aligned per line, wrapped when wordWrap is set (else split at '\n'),
// and draws it clipped to rect and clip. Returns the rectangle that may have changed.
Rect drawInRect(Bitmap& target, const Rect& clip, const Rect& rect, std::string_view utf8, const Font& font,
                TextAlign align, bool wordWrap);

} // namespace text
} // namespace platform
