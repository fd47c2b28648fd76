// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"

#include <cstdint>
#include <memory>

class ScreenLayout;

// The ring overlay of the falling-pictures game, centred in the content area, optionally with a word
// picture centred inside it. Missing pictures raise FatalError code 1.
class RingOverlay {
public:
    RingOverlay(platform::Canvas& canvas, const ScreenLayout& layout);
    ~RingOverlay();
    RingOverlay(const RingOverlay&) = delete;
    RingOverlay& operator=(const RingOverlay&) = delete;

    void drawRing();
    // The ring, then pictureAt through the word-picture mask at the word position.
    void drawWithPicture(const platform::Bitmap& pictureAt);

    int ringX() const { return ringX_; }
    int ringY() const { return ringY_; }
    int innerPictureX() const { return innerPictureX_; }
    int innerPictureY() const { return innerPictureY_; }

private:
    std::unique_ptr<platform::Bitmap> ring_;
    std::unique_ptr<platform::Bitmap> ringMask_;
    std::unique_ptr<platform::Bitmap> pictureMask_;
    platform::Canvas* canvas_;
    std::int16_t ringX_ = 0;
    std::int16_t ringY_ = 0;
    std::int16_t innerPictureX_ = 0;
    std::int16_t innerPictureY_ = 0;
};
