// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Buttons.hpp"

#include "core/FatalError.hpp"
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

// Hover is for the window the user works in, not for one lying under a modal message.
bool foreignHover(const Message& m, const platform::Form& window) {
    return m.kind == MessageKind::MouseEnter && platform::app().activeForm() != &window;
}

} // namespace

// ---- MenuButton ----

MenuButton::MenuButton(platform::Form& window, const std::string& name, Canvas& screen, Canvas& background,
                       int left, int top, platform::Action* action)
    : platform::ImageControl(window), screen_(&screen), background_(&background) {
    try {
        active_ = resource(name + "_A");
        normal_ = resource(name + "_D");
        mask_ = resource(name + "_M");
        pressed_ = resource(name + "_");
        setBounds(left, top, mask_->width(), mask_->height());
        if (action) onClick = [action] { action->execute(); };
        buffer_ = std::make_unique<Bitmap>(width(), height(), screen.bitmap().format());
        buffer_->palette() = screen.bitmap().palette();
        recomputeBounds();
    } catch (...) {
        // Members and the control itself are released on the way out.
        throw FatalError(1);
    }
    ready_ = true;
}

MenuButton::~MenuButton() {
    // No drawing from here on: the control is going away.
    ready_ = false;
}

void MenuButton::recomputeBounds() {
    frame_ = Rect::fromSize(left(), top(), width(), height());
    localRect_ = Rect{0, 0, width(), height()};
}

void MenuButton::placeAt(int left, int top) {
    setPosition(left >= 0 ? left : this->left(), top >= 0 ? top : this->top());
    recomputeBounds();
}

void MenuButton::drawOn(Canvas& canvas, int left, int top) {
    if (left == -999 && top == -999) {
        left = this->left();
        top = this->top();
    }
    drawWithMask(canvas, left, top, *mask_, *normal_);
}

void MenuButton::compose(const Bitmap& picture) {
    recomputeBounds(); // the window may have moved the control without placeAt
    Canvas& buffer = buffer_->canvas();
    buffer.setCopyMode(CopyMode::SrcCopy);
    buffer.copyRect(localRect_, *background_, frame_);
    drawWithMask(buffer, 0, 0, *mask_, picture);
    screen_->setCopyMode(CopyMode::SrcCopy);
    screen_->copyRect(frame_, buffer, localRect_);
}

void MenuButton::windowProc(Message& m) {
    if (foreignHover(m, form())) return;
    if (!ready_) return;
    if (visible()) {
        switch (m.kind) {
        case MessageKind::Paint:
        case MessageKind::MouseLeave:
            compose(*normal_);
            break;
        case MessageKind::LButtonDown:
            compose(*pressed_);
            break;
        case MessageKind::LButtonUp:
        case MessageKind::MouseEnter:
            compose(*active_);
            break;
        default:
            break;
        }
    }
    if (m.kind == MessageKind::VisibleChanged) {
        // Not passed on: the button shows or erases itself instead of having the window repaint.
        if (visible()) {
            compose(*normal_);
        } else {
            recomputeBounds();
            screen_->setCopyMode(CopyMode::SrcCopy);
            screen_->copyRect(frame_, *background_, frame_);
        }
        return;
    }
    platform::ImageControl::windowProc(m);
}

// ---- GameButton ----

GameButton::GameButton(platform::Form& window, const std::string& name, Canvas& canvas, int left, int top,
                       platform::Action* action)
    : canvas_(&canvas), window_(&window) {
    try {
        normal_ = resource(name + "_D");
        active_ = resource(name + "_A");
        mask_ = resource(name + "_M");
        pressed_ = resource(name + "_");
        biezacy_ = normal_.get();
        control_ = std::make_unique<platform::ImageControl>(window);
        // Named after its picture, so that scripts and tests click it by name.
        control_->name = name;
        control_->setBounds(left, top, kButtonWidth, kButtonHeight);
        if (action) control_->onClick = [action] { action->execute(); };
        previous_ = control_->windowProcedure();
        control_->setWindowProcedure([this](Message& m) { messageProcedure(m); });
    } catch (...) {
        throw FatalError(1);
    }
}

GameButton::~GameButton() {
    control_->setWindowProcedure(previous_);
    control_->onClick = nullptr;
}

void GameButton::draw() {
    drawWithMask(*canvas_, control_->left(), control_->top(), *mask_, *biezacy_);
}

void GameButton::show() {
    control_->show();
    draw();
}

void GameButton::hide() {
    control_->hide();
}

void GameButton::messageProcedure(Message& m) {
    if (foreignHover(m, *window_)) return;
    // A quick second click must not become a double click: its press is dropped, so its release
    // does not click either.
    if (m.kind == MessageKind::LButtonDblClk) return;
    if (control_->visible()) {
        const Bitmap* newBitmap = nullptr;
        switch (m.kind) {
        case MessageKind::LButtonUp:
        case MessageKind::MouseEnter:
            newBitmap = active_.get();
            break;
        case MessageKind::Paint:
        case MessageKind::MouseLeave:
            newBitmap = normal_.get();
            break;
        case MessageKind::LButtonDown:
            newBitmap = pressed_.get();
            break;
        default:
            break;
        }
        if (newBitmap) {
            biezacy_ = newBitmap;
            draw();
            const Rect r = control_->bounds();
            Canvas& screen = window_->canvas();
            screen.setCopyMode(CopyMode::SrcCopy);
            screen.copyRect(r, *canvas_, r);
        }
    }
    // A copy: the saved procedure must survive a handler that destroys this button.
    auto passOn = previous_;
    passOn(m);
}
