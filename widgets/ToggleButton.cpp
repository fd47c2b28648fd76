// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ToggleButton.hpp"

#include "core/FatalError.hpp"
#include "core/ResourcePictures.hpp"

using platform::Bitmap;
using platform::CopyMode;

namespace {

std::unique_ptr<Bitmap> resource(const std::string& name) {
    auto b = std::make_unique<Bitmap>();
    openBmp(name, *b);
    return b;
}

} // namespace

ToggleButton::ToggleButton(platform::Form& window, const std::string& name, platform::Canvas& canvas,
                           int left, int top, platform::Action* action, const std::string& path)
    : canvas_(&canvas), left_(left), top_(top) {
    try {
        control_ = std::make_unique<platform::ImageControl>(window);
        control_->hide();
        control_->acceptsDoubleClicks = false;
        control_->setPosition(left, top);
        if (action) control_->onClick = [action] { action->execute(); };
        if (name.empty()) {
            offPair_ = std::make_unique<AlphaPicture>();
            offPair_->loadFromPairBmp(path + "_DB.xbi", path + "_DW.xbi");
            onPair_ = std::make_unique<AlphaPicture>();
            onPair_->loadFromPairBmp(path + "_AB.xbi", path + "_AW.xbi");
            control_->setSize(onPair_->width(), onPair_->height());
        } else {
            enabledPicture_ = resource(name + "_A");
            disabledPicture_ = resource(name + "_D");
            control_->setSize(disabledPicture_->width(), disabledPicture_->height());
        }
    } catch (...) {
        throw FatalError(1);
    }
}

ToggleButton::~ToggleButton() = default;

void ToggleButton::drawState() {
    canvas_->setCopyMode(CopyMode::SrcCopy);
    if (onPair_) {
        // Blends over whatever the canvas shows now; the work bitmap is kept for the next draw.
        (state_ ? onPair_ : offPair_)->drawOnCanvas(*canvas_, left_, top_, 255, false);
    } else {
        canvas_->draw(left_, top_, state_ ? *enabledPicture_ : *disabledPicture_);
    }
}

void ToggleButton::draw() {
    if (control_->visible()) drawState();
}

void ToggleButton::toggle() {
    state_ = state_ ? 0 : 1;
    drawState();
    control_->invalidate();
}

void ToggleButton::placeAt(int left, int top) {
    control_->setPosition(left > 0 ? left : control_->left(), top > 0 ? top : control_->top());
    left_ = control_->left();
    top_ = control_->top();
}
