// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/windows/Label.hpp"

#include "platform/graphics/Canvas.hpp"

#include <algorithm>

namespace platform {

Label::Label(Form& form, std::string caption) : Control(form), caption_(std::move(caption)) {
    adjustSize();
}

void Label::setCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    invalidate();
    adjustSize();
}

void Label::setFont(const Font& font) {
    font_ = font;
    invalidate();
    adjustSize();
}

void Label::setAlignment(TextAlign alignment) {
    alignment_ = alignment;
    invalidate();
    adjustSize();
}

void Label::setTransparent(bool transparent) {
    transparent_ = transparent;
    invalidate();
}

void Label::setColor(Color color) {
    color_ = color;
    invalidate();
}

void Label::setWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    invalidate();
    adjustSize();
}

void Label::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    adjustSize();
}

void Label::adjustSize() {
    if (!autoSize_) return;
    // An empty caption still measures as one blank, so the label keeps a line's height.
    const std::string s = caption_.empty() ? std::string(" ") : caption_;
    const int step = text::lineHeight(font_);
    int w = 0, h = 0;
    if (wordWrap_) {
        w = width();
        h = int(text::wrap(font_, s, std::max(w, 1)).size()) * step;
    } else {
        std::size_t start = 0;
        while (true) {
            const std::size_t nl = s.find('\n', start);
            const std::string_view line =
                std::string_view(s).substr(start, nl == std::string::npos ? nl : nl - start);
            w = std::max(w, text::measure(font_, line).width);
            h += step;
            if (nl == std::string::npos) break;
            start = nl + 1;
        }
    }
    int x = left();
    if (alignment_ == TextAlign::Right) x = left() + width() - w;
    setBounds(x, top(), w, h);
}

void Label::paint(Canvas& canvas, const Rect&) {
    if (!transparent_) {
        const Color saved = canvas.brushColor();
        canvas.setBrushColor(color_);
        canvas.fillRect(bounds());
        canvas.setBrushColor(saved);
    }
    const Font saved = canvas.font();
    canvas.setFont(font_);
    canvas.textRect(bounds(), caption_, alignment_, wordWrap_);
    canvas.setFont(saved);
}

} // namespace platform
