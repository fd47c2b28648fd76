// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/graphics/Text.hpp"
#include "platform/windows/Control.hpp"

#include <functional>
#include <string>

namespace platform {

// A one-line text field: white background, a caret while focused, typed UTF-8 text (Polish letters
// through text input), Backspace, Delete, Left, Right, Home and End working on whole characters.
class Edit : public Control {
public:
    explicit Edit(Form& form);
    const char* kind() const override { return "Edit"; }
    std::string text() const override { return text_; }

    // Replaces the text; the caret goes to the start.
    void setText(std::string utf8);
    // Number of characters.
    int length() const;
    // Caret position in characters (0 = before the first); out-of-range values are clamped.
    int caretPos() const;
    void setCaretPos(int chars);
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    // Longest text in characters; 0 = no limit.
    int maxLength = 0;

    bool canFocus() const override { return true; }
    void keyPress(int charCode) override;
    void keyDown(Key key, ShiftState shift) override;
    void textInput(const std::string& utf8) override;

    std::function<void()> onChange;

protected:
    void windowProc(Message& message) override;
    void paint(Canvas& canvas, const Rect& area) override;

private:
    void changed();
    Rect inner() const;
    int caretX() const; // caret offset from the text's start, in pixels

    std::string text_;
    std::size_t caret_ = 0; // byte offset, always at a character boundary
    int scroll_ = 0;
    Font font_;
};

} // namespace platform
