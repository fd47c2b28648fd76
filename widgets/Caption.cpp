// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Caption.hpp"

#include "core/FatalError.hpp"
#include "core/ResourcePictures.hpp"

using platform::Bitmap;
using platform::Canvas;
using platform::CopyMode;
using platform::Rect;

Caption::Caption(const std::string& name) {
    try {
        picture_ = std::make_unique<Bitmap>();
        openBmp(name, *picture_);
    } catch (...) {
        throw FatalError(1);
    }
    width_ = picture_->width();
    height_ = picture_->height();
}

void Caption::placeAt(int x, int y) {
    x_ = x;
    y_ = y;
}

void Caption::draw(Canvas& canvas) {
    canvas.setCopyMode(CopyMode::SrcCopy);
    canvas.draw(x_, y_, *picture_);
}

void Caption::saveBackground(Canvas& canvas) {
    try {
        // Built aside, so a failure keeps the background saved before.
        auto background = std::make_unique<Bitmap>(width_, height_, canvas.bitmap().format());
        background->palette() = canvas.bitmap().palette();
        Canvas& c = background->canvas();
        c.setCopyMode(CopyMode::SrcCopy);
        c.copyRect(Rect{0, 0, width_, height_}, canvas, Rect::fromSize(x_, y_, width_, height_));
        background_ = std::move(background);
    } catch (...) {
        throw FatalError(1);
    }
}

void Caption::drawBackground(Canvas& canvas) {
    if (!background_) return;
    canvas.setCopyMode(CopyMode::SrcCopy);
    canvas.draw(x_, y_, *background_);
}
