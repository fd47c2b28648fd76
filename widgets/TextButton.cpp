// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/TextButton.hpp"

#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/Message.hpp"

#include <algorithm>
#include <utility>

namespace {

platform::Color lighter(platform::Color c) {
    auto up = [](std::uint8_t v) { return std::uint8_t(v + (255 - v) / 3); };
    return platform::rgb(up(platform::redOf(c)), up(platform::greenOf(c)), up(platform::blueOf(c)));
}

} // namespace

void fillRoundedRect(platform::Canvas& canvas, const platform::Rect& r, int radius) {
    radius = std::min({radius, r.width() / 2, r.height() / 2});
    for (int y = 0; y < r.height(); ++y) {
        // The inset of this row on a quarter circle, in whole pixels.
        int inset = 0;
        const int dy =
            y < radius ? radius - y : (y >= r.height() - radius ? y - (r.height() - radius) + 1 : 0);
        if (dy > 0)
            while (inset < radius && (radius - inset) * (radius - inset) + dy * dy > radius * radius)
                ++inset;
        canvas.fillRect({r.left + inset, r.top + y, r.right - inset, r.top + y + 1});
    }
}

void drawFittedText(platform::Canvas& canvas, const platform::Rect& rect, const std::string& text,
                    platform::Font font, int minHeight, platform::TextAlign align) {
    while (font.height > minHeight && platform::text::measure(font, text).width > rect.width())
        --font.height;
    canvas.setFont(font);
    const bool fits = platform::text::measure(font, text).width <= rect.width();
    const int lines = fits ? 1 : int(platform::text::wrap(font, text, rect.width()).size());
    const int height = lines * platform::text::lineHeight(font);
    const int top = rect.top + std::max(0, (rect.height() - height) / 2);
    canvas.textRect({rect.left, top, rect.right, rect.bottom}, text, align, !fits);
}

TextButton::TextButton(platform::Form& form, std::string controlName, std::string caption,
                       platform::Color fill)
    : Control(form), caption_(std::move(caption)), fill_(fill) {
    name = std::move(controlName);
    setCursor(platform::kCursorHand);
}

void TextButton::setCaption(std::string caption) {
    caption_ = std::move(caption);
    invalidate();
}

void TextButton::setColour(platform::Color fill) {
    if (fill_ == fill) return;
    fill_ = fill;
    invalidate();
}

void TextButton::windowProc(platform::Message& m) {
    const auto life = lifeToken();
    const bool wasPressed = pressed_;
    if (m.kind == platform::MessageKind::LButtonDown) pressed_ = true;
    if (m.kind == platform::MessageKind::LButtonUp || m.kind == platform::MessageKind::MouseLeave)
        pressed_ = false;
    Control::windowProc(m);
    if (!life.expired() && pressed_ != wasPressed) invalidate();
}

void TextButton::paint(platform::Canvas& canvas, const platform::Rect&) {
    const platform::Rect r = bounds();
    canvas.setBrushColor(platform::rgb(90, 90, 90));
    fillRoundedRect(canvas, r, 14);
    canvas.setBrushColor(!enabled() ? platform::rgb(170, 170, 170) : pressed_ ? lighter(fill_) : fill_);
    fillRoundedRect(canvas, {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, 12);
    canvas.setFont(font);
    const int top = r.top + (r.height() - platform::text::lineHeight(font)) / 2;
    canvas.textRect({r.left + 4, top, r.right - 4, r.bottom}, caption_, platform::TextAlign::Center, false);
}

void centreOnScreen(platform::Form& form) {
    const platform::Size screen = platform::app().screenSize();
    form.setPosition((screen.width - form.width()) / 2, (screen.height - form.height()) / 2);
}

void paintPanel(platform::Form& form, const std::string& title) {
    platform::Canvas& c = form.canvas();
    c.setBrushColor(platform::rgb(120, 120, 120));
    c.fillRect(form.clientRect());
    c.setBrushColor(platform::rgb(255, 250, 230));
    c.fillRect({2, 2, form.width() - 2, form.height() - 2});
    c.setFont({.family = "DejaVu Sans", .height = 22, .bold = true, .color = platform::rgb(120, 60, 20)});
    c.textRect({16, 14, form.width() - 16, 48}, title, platform::TextAlign::Center, false);
}

void wirePageButtons(TextButton& previous, TextButton& next, int& page, std::function<void()> show) {
    previous.onClick = [&page, show] {
        page = std::max(0, page - 1);
        show();
    };
    next.onClick = [&page, show] {
        ++page;
        show();
    };
}

int settlePage(int& page, int total, int perPage, TextButton& previous, TextButton& next) {
    const int pages = std::max(1, (total + perPage - 1) / perPage);
    page = std::clamp(page, 0, pages - 1);
    previous.setVisible(page > 0);
    next.setVisible(page + 1 < pages);
    return pages;
}
