// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/RingOverlay.hpp"

#include "core/FatalError.hpp"
#include "core/ScreenLayout.hpp"
#include "pictures/PictureFiles.hpp"

#include <string>

using platform::Bitmap;

namespace {

std::unique_ptr<Bitmap> jpeg(const std::string& path) {
    auto b = std::make_unique<Bitmap>();
    loadJpeg(*b, path);
    return b;
}

} // namespace

RingOverlay::RingOverlay(platform::Canvas& canvas, const ScreenLayout& layout) : canvas_(&canvas) {
    const bool small = layout.mode() == kMode800;
    try {
        ring_ = jpeg(small ? "Data\\Intf\\Spec\\Ring_s.xji" : "Data\\Intf\\Spec\\Ring_b.xji");
        ringMask_ = jpeg(small ? "Data\\Intf\\Spec\\RingM_s.xji" : "Data\\Intf\\Spec\\RingM_b.xji");
        pictureMask_ = jpeg(small ? "Data\\Bio\\_matr_ms.xji" : "Data\\Bio\\_matr_mb.xji");
    } catch (...) {
        throw FatalError(1);
    }
    const int w = layout.areaWidth(), h = layout.areaHeight();
    ringX_ = std::int16_t(w / 2 - ring_->width() / 2);
    ringY_ = std::int16_t(h / 2 - ring_->height() / 2);
    innerPictureX_ = std::int16_t(w / 2 - pictureMask_->width() / 2);
    innerPictureY_ = std::int16_t(h / 2 - pictureMask_->height() / 2);
}

RingOverlay::~RingOverlay() = default;

void RingOverlay::drawRing() {
    drawWithMask(*canvas_, ringX_, ringY_, *ringMask_, *ring_);
}

void RingOverlay::drawWithPicture(const Bitmap& pictureAt) {
    drawRing();
    drawWithMask(*canvas_, innerPictureX_, innerPictureY_, *pictureMask_, pictureAt);
}
