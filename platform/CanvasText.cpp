// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Bitmap.hpp"
#include "Canvas.hpp"
#include "Text.hpp"

namespace platform {

void Canvas::textOut(int x, int y, std::string_view utf8)
{
    changed(text::draw(*target_, clipRect(), x, y, utf8, font_));
}

Size Canvas::textExtent(std::string_view utf8) const
{
    return text::measure(font_, utf8);
}

void Canvas::textRect(const Rect& rect, std::string_view utf8, TextAlign align, bool wordWrap)
{
    changed(text::drawInRect(*target_, clipRect(), rect, utf8, font_, align, wordWrap));
}

} // namespace platform
