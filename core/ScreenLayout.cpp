// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/ScreenLayout.hpp"

#include "pictures/PictureFiles.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"

#include <cstdint>

void ScreenLayout::init(int screenWidth, int screenHeight) {
    screenWidth_ = screenWidth;
    screenHeight_ = screenHeight;
    const bool small = screenWidth < 1024 || screenHeight < 768;
    mode_ = small ? kMode800 : kMode1024;
    areaWidth_ = small ? 800 : 1024;
    areaHeight_ = small ? 600 : 768;
    offsetX_ = (screenWidth_ - areaWidth_) / 2;
    offsetY_ = (screenHeight_ - areaHeight_) / 2;
    prefix_ = small ? "R2" : "R3";
}

int ScreenLayout::scale(int fromMode, int value) const {
    // Multiply before dividing, in 64 bits so large lengths cannot overflow.
    const std::int64_t v = value;
    if (mode_ == kMode800) {
        if (fromMode == kMode1024) return static_cast<int>(v * 25 / 32);
        if (fromMode == kMode1280) return static_cast<int>(v * 5 / 8);
    } else if (mode_ == kMode1024) {
        if (fromMode == kMode800) return static_cast<int>(v * 32 / 25);
        if (fromMode == kMode1280) return static_cast<int>(v * 8 / 10);
    }
    return value;
}

void ScreenLayout::scale(int fromMode, int& width, int& height) const {
    width = scale(fromMode, width);
    height = scale(fromMode, height);
}

void ScreenLayout::drawBackground(platform::Bitmap& bitmap, const std::string& fileName) const {
    bitmap = platform::Bitmap(screenWidth_, screenHeight_, platform::PixelFormat::Bgr24);
    bitmap.fill(0);
    if (!platform::fs::exists(fileName)) return;
    platform::Bitmap picture;
    loadJpeg(picture, fileName);
    platform::Canvas& canvas = bitmap.canvas();
    canvas.setCopyMode(platform::CopyMode::SrcCopy);
    canvas.resetClip();
    canvas.draw(offsetX_, offsetY_, picture);
}
