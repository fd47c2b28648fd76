// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Canvas.hpp"

#include <memory>
#include <string>

// A positioned resource picture (a caption) that can save the background under it and put it back.
// A picture that cannot be loaded, or a background that cannot be saved, raises FatalError code 1.
class Caption {
public:
    // The resource name is used as it stands, without a state suffix.
    explicit Caption(const std::string& name);
    Caption(const Caption&) = delete;
    Caption& operator=(const Caption&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    int x() const { return x_; }
    int y() const { return y_; }
    void placeAt(int x, int y);

    // Plain draw of the picture at (x, y).
    void draw(platform::Canvas& canvas);
    // Keeps the canvas area the picture covers (its size at (x, y)).
    void saveBackground(platform::Canvas& canvas);
    // Puts the kept area back, erasing the picture; nothing before a background was saved.
    void drawBackground(platform::Canvas& canvas);

private:
    int x_ = 0;
    int y_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<platform::Bitmap> picture_;
    std::unique_ptr<platform::Bitmap> background_;
};
