// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pictures/AlphaPicture.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"

#include <cstdint>
#include <memory>
#include <string>

// A two-state button drawn either from resource pictures (N_D off, N_A on) or, with an empty N, from
// soft-edged picture pairs P_DB/P_DW.xbi (off) and P_AB/P_AW.xbi (on) blended over the canvas.
// Its click area starts hidden and counts every click (no double clicks). Construction failures raise
// FatalError code 1.
class ToggleButton {
public:
    ToggleButton(platform::Form& window, const std::string& name, platform::Canvas& canvas, int left, int top,
                 platform::Action* action, const std::string& path = {});
    ~ToggleButton();
    ToggleButton(const ToggleButton&) = delete;
    ToggleButton& operator=(const ToggleButton&) = delete;

    // Draws the current state, only while the click area is visible.
    void draw();
    // Flips the state and draws it whether or not the click area is visible.
    void toggle();
    std::uint8_t state() const { return state_; }
    platform::ImageControl& control() { return *control_; }
    // Only coordinates greater than zero move the button.
    void placeAt(int left, int top);
    int left() const { return left_; }
    int top() const { return top_; }

private:
    void drawState();

    std::unique_ptr<platform::Bitmap> disabledPicture_;
    std::unique_ptr<platform::Bitmap> enabledPicture_;
    std::unique_ptr<platform::ImageControl> control_;
    std::unique_ptr<AlphaPicture> offPair_;
    std::unique_ptr<AlphaPicture> onPair_;
    platform::Canvas* canvas_;
    int left_ = 0;
    int top_ = 0;
    std::uint8_t state_ = 0;
};
