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
    RingOverlay(platform::Canvas& kanwa, const ScreenLayout& layout);
    ~RingOverlay();
    RingOverlay(const RingOverlay&) = delete;
    RingOverlay& operator=(const RingOverlay&) = delete;

    void rysujPierscien();
    // The ring, then obrazek through the word-picture mask at the word position.
    void rysujZObrazkiem(const platform::Bitmap& obrazek);

    int pierscienX() const { return pierscienX_; }
    int pierscienY() const { return pierscienY_; }
    int obrazekX() const { return obrazekX_; }
    int obrazekY() const { return obrazekY_; }

private:
    std::unique_ptr<platform::Bitmap> pierscien_;
    std::unique_ptr<platform::Bitmap> maskaPierscienia_;
    std::unique_ptr<platform::Bitmap> maskaObrazka_;
    platform::Canvas* kanwa_;
    std::int16_t pierscienX_ = 0;
    std::int16_t pierscienY_ = 0;
    std::int16_t obrazekX_ = 0;
    std::int16_t obrazekY_ = 0;
};
