// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/TwoStatePicture.hpp"

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

TwoStatePicture::TwoStatePicture(platform::Form& window, const std::string& name, platform::Canvas& canvas,
                                 int left, int top, platform::Action* action)
    : canvas_(&canvas), left_(left), top_(top) {
    try {
        enabledPicture_ = resource(name + "_A");
        disabledPicture_ = resource(name + "_D");
        control_ = std::make_unique<platform::ImageControl>(window);
        control_->setBounds(left, top, disabledPicture_->width(), disabledPicture_->height());
        if (action) control_->onClick = [action] { action->execute(); };
    } catch (...) {
        throw FatalError(1);
    }
}

TwoStatePicture::~TwoStatePicture() = default;

void TwoStatePicture::draw() {
    const Bitmap* picture = state_ == 0   ? disabledPicture_.get()
                            : state_ == 1 ? enabledPicture_.get()
                                          : nullptr;
    if (!picture) return;
    canvas_->setCopyMode(CopyMode::SrcCopy);
    canvas_->draw(left_, top_, *picture);
}

void TwoStatePicture::setState(std::uint8_t state) {
    state_ = state;
    draw();
}

void TwoStatePicture::show() {
    control_->show();
}

void TwoStatePicture::hide() {
    control_->hide();
}

void TwoStatePicture::placeAt(int left, int top) {
    control_->setPosition(left > 0 ? left : control_->left(), top > 0 ? top : control_->top());
    left_ = control_->left();
    top_ = control_->top();
}
