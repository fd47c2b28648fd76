// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/graphics/Text.hpp"
#include "platform/windows/Control.hpp"

#include <string>

namespace platform {

// Static text on a form: transparent or on its own background colour, aligned, optionally wrapped, and
// by default sized to its text (a right-aligned label keeps its right edge when it resizes).
class Label : public Control {
public:
    explicit Label(Form& form, std::string caption = {});
    const char* kind() const override { return "Label"; }
    std::string text() const override { return caption_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    TextAlign alignment() const { return alignment_; }
    void setAlignment(TextAlign alignment);
    bool transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    Color color() const { return color_; }
    void setColor(Color color);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool wordWrap);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);

protected:
    void paint(Canvas& canvas, const Rect& area) override;

private:
    void adjustSize();

    std::string caption_;
    Font font_;
    TextAlign alignment_ = TextAlign::Left;
    bool transparent_ = false;
    Color color_ = rgb(212, 208, 200);
    bool wordWrap_ = false;
    bool autoSize_ = true;
};

} // namespace platform
