// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Action.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"

#include <cstdint>
#include <memory>
#include <string>

// A two-state picture (N_D off, N_A on) with a click area. A click only runs the action; the window
// decides the new state and sets it. A picture that cannot be loaded raises FatalError code 1.
class TwoStatePicture {
public:
    TwoStatePicture(platform::Form& window, const std::string& name, platform::Canvas& canvas, int left,
                    int top, platform::Action* action);
    ~TwoStatePicture();
    TwoStatePicture(const TwoStatePicture&) = delete;
    TwoStatePicture& operator=(const TwoStatePicture&) = delete;

    // Opaque draw of the state's picture: 0 off, 1 on, any other value nothing.
    void draw();
    std::uint8_t state() const { return state_; }
    void setState(std::uint8_t state);
    // Only the click area; nothing is drawn.
    void show();
    void hide();
    platform::ImageControl& control() { return *control_; }
    // Only coordinates greater than zero move the button.
    void placeAt(int left, int top);
    int left() const { return left_; }
    int top() const { return top_; }

private:
    std::unique_ptr<platform::Bitmap> disabledPicture_;
    std::unique_ptr<platform::Bitmap> enabledPicture_;
    std::unique_ptr<platform::ImageControl> control_;
    platform::Canvas* canvas_;
    int left_ = 0;
    int top_ = 0;
    std::uint8_t state_ = 0;
};
