// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ScrollBar.hpp"

#include "core/ResourcePictures.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/windows/Application.hpp"

using platform::Bitmap;
using platform::Canvas;
using platform::CopyMode;
using platform::Message;
using platform::MessageKind;
using platform::Rect;

namespace {

std::unique_ptr<Bitmap> resource(const std::string& name) {
    auto b = std::make_unique<Bitmap>();
    openBmp(name, *b);
    return b;
}

// The number of list rows the thumb's travel is divided into.
constexpr int kRowCount = 22;

} // namespace

// ---- ScrollThumb ----

// A failure anywhere leaves the members and the control to their destructors and lets the original
// exception through.
ScrollThumb::ScrollThumb(platform::Form& window, const std::string& name, Canvas& screen, Canvas& background,
                         int left, int top, platform::Action* action)
    : platform::ImageControl(window), picture_(resource(name + "_D")), mask_(resource(name + "_M")),
      screen_(&screen), background_(&background) {
    setBounds(left, top, mask_->width(), mask_->height());
    if (action) onClick = [action] { action->execute(); };
    buffer_ = std::make_unique<Bitmap>(width(), height(), screen.bitmap().format());
    buffer_->palette() = screen.bitmap().palette();
    recomputeBounds();
    ready_ = true;
}

ScrollThumb::~ScrollThumb() {
    ready_ = false;
}

void ScrollThumb::recomputeBounds() {
    frame_ = Rect::fromSize(left(), top(), width(), height());
    localRect_ = Rect{0, 0, width(), height()};
}

void ScrollThumb::placeAt(int left, int top) {
    setPosition(left >= 0 ? left : this->left(), top >= 0 ? top : this->top());
    recomputeBounds();
}

void ScrollThumb::redraw() {
    recomputeBounds(); // the window may have moved the control without placeAt
    Canvas& buffer = buffer_->canvas();
    buffer.setCopyMode(CopyMode::SrcCopy);
    buffer.copyRect(localRect_, *background_, frame_);
    drawWithMask(buffer, 0, 0, *mask_, *picture_);
    screen_->setCopyMode(CopyMode::SrcCopy);
    screen_->copyRect(frame_, buffer, localRect_);
}

void ScrollThumb::windowProc(Message& m) {
    if (m.kind == MessageKind::MouseEnter && platform::app().activeForm() != &form()) return;
    if (!ready_) return;
    if (visible()) {
        switch (m.kind) {
        case MessageKind::LButtonDown:
            pressed_ = 1;
            redraw();
            break;
        case MessageKind::LButtonUp:
            pressed_ = 0;
            redraw();
            break;
        case MessageKind::MouseMove:
            if (pressed_) redraw();
            break;
        case MessageKind::Paint:
        case MessageKind::MouseEnter:
        case MessageKind::MouseLeave:
            redraw();
            break;
        default:
            break;
        }
    }
    if (m.kind == MessageKind::VisibleChanged) {
        if (visible()) {
            redraw();
        } else {
            recomputeBounds();
            screen_->setCopyMode(CopyMode::SrcCopy);
            screen_->copyRect(frame_, *background_, frame_);
        }
        return;
    }
    platform::ImageControl::windowProc(m);
}

// ---- ScrollBar ----

ScrollBar::ScrollBar(platform::Form& window, int x, int y, Canvas& screen, Canvas& background)
    : x_(x), y_(y), screen_(&screen) {
    // The thumb's click does nothing; the temporary action only lives through the construction.
    auto action = std::make_unique<platform::Action>([] {});
    thumb_ = std::make_unique<ScrollThumb>(window, "scroll", screen, background, x, y, action.get());
    thumb_->onClick = [] {};
}

ScrollBar::~ScrollBar() {
    screen_ = nullptr;
}

void ScrollBar::show() {
    thumb_->show();
}

void ScrollBar::hide() {
    thumb_->hide();
}

void ScrollBar::setRange(int x, int top, int bottom) {
    x_ = x;
    y_ = top;
    thumb_->placeAt(x_, y_);
    step_ = (bottom - top) / kRowCount;
}

void ScrollBar::stepDown() {
    y_ += step_;
    thumb_->placeAt(x_, y_);
    show();
}

void ScrollBar::stepUp() {
    y_ -= step_;
    thumb_->placeAt(x_, y_);
    show();
}
