// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"
#include "platform/graphics/Text.hpp"
#include "platform/windows/Control.hpp"

#include <functional>
#include <string>

namespace platform {
class Form;
}

// A button drawn from its caption alone: a rounded box in one colour with the caption centred, lighter
// while pressed. For the windows made after the picture set, which has no pictures for their buttons.
class TextButton : public platform::Control {
public:
    TextButton(platform::Form& form, std::string controlName, std::string caption, platform::Color fill);
    const char* kind() const override { return "TextButton"; }
    std::string text() const override { return caption_; }

    void setCaption(std::string caption);
    void setColour(platform::Color fill);
    platform::Font font{.family = "DejaVu Sans", .height = 18, .bold = true, .color = platform::kWhite};

protected:
    void windowProc(platform::Message& message) override;
    void paint(platform::Canvas& canvas, const platform::Rect& area) override;

private:
    std::string caption_;
    platform::Color fill_;
    bool pressed_ = false;
};

// A rounded box (corners cut by radius) filled with the canvas's brush colour.
void fillRoundedRect(platform::Canvas& canvas, const platform::Rect& rect, int radius);
// A name in rect on one line, the font made smaller (down to minHeight) until it fits; a name still too
// long is broken over lines at that size. Aligned as given, centred vertically.
void drawFittedText(platform::Canvas& canvas, const platform::Rect& rect, const std::string& text,
                    platform::Font font, int minHeight, platform::TextAlign align);

// The adults' dialogs: a cream panel with a grey edge and its title on top, centred on the screen.
void centreOnScreen(platform::Form& form);
void paintPanel(platform::Form& form, const std::string& title);

// Paging of the adults' lists: the arrows step page and call show.
void wirePageButtons(TextButton& previous, TextButton& next, int& page, std::function<void()> show);
// Clamps page into the pages that total items fill at perPage a page (at least one), shows the arrows that
// lead somewhere, and returns the number of pages.
int settlePage(int& page, int total, int perPage, TextButton& previous, TextButton& next);
