// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/windows/Edit.hpp"

#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Form.hpp"

#include <algorithm>

namespace platform {

namespace {

bool continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t prevChar(const std::string& s, std::size_t i) {
    if (i == 0) return 0;
    --i;
    while (i > 0 && continuation(s[i]))
        --i;
    return i;
}

std::size_t nextChar(const std::string& s, std::size_t i) {
    if (i >= s.size()) return s.size();
    ++i;
    while (i < s.size() && continuation(s[i]))
        ++i;
    return i;
}

int countChars(std::string_view s) {
    return int(std::count_if(s.begin(), s.end(), [](char c) { return !continuation(c); }));
}

constexpr int kPad = 3;

} // namespace

Edit::Edit(Form& form) : Control(form) {
    setCursor(kCursorIBeam);
    setSize(121, 21);
}

void Edit::setText(std::string utf8) {
    text_ = std::move(utf8);
    caret_ = 0;
    scroll_ = 0;
    changed();
}

int Edit::length() const {
    return countChars(text_);
}

int Edit::caretPos() const {
    return countChars(std::string_view(text_).substr(0, caret_));
}

void Edit::setCaretPos(int chars) {
    std::size_t i = 0;
    for (int n = 0; n < chars && i < text_.size(); ++n)
        i = nextChar(text_, i);
    caret_ = i;
    invalidate();
}

void Edit::setFont(const Font& font) {
    font_ = font;
    invalidate();
}

void Edit::changed() {
    invalidate();
    if (onChange) {
        auto handler = onChange;
        handler();
    }
}

void Edit::keyPress(int charCode) {
    if (charCode == 8 && caret_ > 0) {
        const std::size_t p = prevChar(text_, caret_);
        text_.erase(p, caret_ - p);
        caret_ = p;
        changed();
    }
}

void Edit::keyDown(Key key, ShiftState) {
    switch (key) {
    case Key::Left:
        caret_ = prevChar(text_, caret_);
        break;
    case Key::Right:
        caret_ = nextChar(text_, caret_);
        break;
    case Key::Home:
        caret_ = 0;
        break;
    case Key::End:
        caret_ = text_.size();
        break;
    case Key::Delete:
        if (caret_ < text_.size()) {
            text_.erase(caret_, nextChar(text_, caret_) - caret_);
            changed();
        }
        return;
    default:
        return;
    }
    invalidate();
}

void Edit::textInput(const std::string& utf8) {
    std::string add;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) add += c;
    if (maxLength > 0) {
        const int room = maxLength - length();
        if (room <= 0) return;
        std::size_t i = 0;
        for (int n = 0; n < room && i < add.size(); ++n)
            i = nextChar(add, i);
        add.resize(i);
    }
    if (add.empty()) return;
    text_.insert(caret_, add);
    caret_ += add.size();
    changed();
}

Rect Edit::inner() const {
    const Rect b = bounds();
    return {b.left + 1, b.top + 1, b.right - 1, b.bottom - 1};
}

int Edit::caretX() const {
    return text::measure(font_, std::string_view(text_).substr(0, caret_)).width;
}

void Edit::windowProc(Message& m) {
    if (m.kind == MessageKind::LButtonDown) {
        // The caret goes to the character boundary nearest the press.
        const int x = m.x - kPad + scroll_;
        std::size_t best = 0;
        int bestDist = std::abs(x);
        for (std::size_t i = nextChar(text_, 0); i <= text_.size(); i = nextChar(text_, i)) {
            const int d = std::abs(text::measure(font_, std::string_view(text_).substr(0, i)).width - x);
            if (d < bestDist) bestDist = d, best = i;
            if (i == text_.size()) break;
        }
        caret_ = best;
        invalidate();
    }
    Control::windowProc(m);
}

void Edit::paint(Canvas& canvas, const Rect& area) {
    const Rect b = bounds();
    const Color savedBrush = canvas.brushColor();
    canvas.setBrushColor(rgb(128, 128, 128));
    canvas.frameRect(b);
    canvas.setBrushColor(kWhite);
    const Rect in = inner();
    canvas.fillRect(in);

    // Keep the caret in view by scrolling the text sideways.
    const int room = std::max(in.width() - 2 * kPad, 1);
    const int cx = caretX();
    if (cx - scroll_ > room) scroll_ = cx - room;
    if (cx < scroll_) scroll_ = cx;

    const int lh = text::lineHeight(font_);
    const int ty = b.top + (b.height() - lh) / 2;
    const Rect clip = area.intersect(in);
    canvas.changed(text::draw(canvas.bitmap(), clip, b.left + kPad - scroll_, ty, text_, font_));
    if (focused() && form().active()) {
        canvas.setBrushColor(font_.color);
        const int x = b.left + kPad + cx - scroll_;
        canvas.fillRect(Rect{x, ty, x + 1, ty + lh}.intersect(clip));
    }
    canvas.setBrushColor(savedBrush);
}

} // namespace platform
