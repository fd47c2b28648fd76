// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace platform {
class Bitmap;
}

// Display modes: the 800 x 600 and the 1024 x 768 content area. 16 names the 1280-wide design space.
inline constexpr int kMode800 = 2;
inline constexpr int kMode1024 = 4;
inline constexpr int kMode1280 = 16;

// Screen geometry: the mode chosen from the screen size and the centred content area.
class ScreenLayout {
public:
    ScreenLayout() : ScreenLayout(800, 600) {}
    ScreenLayout(int screenWidth, int screenHeight) { init(screenWidth, screenHeight); }

    // The start-up code passes the virtual screen size.
    void init(int screenWidth, int screenHeight);

    // A length designed for fromMode converted to the current mode (integer arithmetic).
    int scale(int fromMode, int value) const;
    void scale(int fromMode, int& width, int& height) const;

    // bitmap becomes a black screen-sized picture with fileName (a JPEG) drawn at the content offsets;
    // a missing file leaves it black.
    void drawBackground(platform::Bitmap& bitmap, const std::string& fileName) const;

    bool screenTooSmall() const { return screenWidth_ < 800 || screenHeight_ < 600; }

    int screenWidth() const { return screenWidth_; }
    int screenHeight() const { return screenHeight_; }
    int mode() const { return mode_; }
    int offsetX() const { return offsetX_; }
    int offsetY() const { return offsetY_; }
    int areaWidth() const { return areaWidth_; }
    int areaHeight() const { return areaHeight_; }
    // "R2" in mode 2, "R3" in mode 4; picture names of mode-dependent pictures start with it.
    const std::string& prefix1() const { return prefix_; }
    const std::string& prefix2() const { return prefix_; }
    const std::string& prefix3() const { return prefix_; }
    // "_s" in mode 2, "_b" in mode 4.
    const char* suffix() const { return mode_ == kMode800 ? "_s" : "_b"; }

private:
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    int mode_ = kMode800;
    int offsetX_ = 0;
    int offsetY_ = 0;
    int areaWidth_ = 800;
    int areaHeight_ = 600;
    std::string prefix_ = "R2";
};
