// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class MouseButton : std::uint8_t { None, Left, Right, Middle };

// Keys and mouse buttons held while an event happened.
enum ShiftFlag : unsigned {
    kShift = 1u << 0,
    kCtrl = 1u << 1,
    kAlt = 1u << 2,
    kLeftButton = 1u << 3,
    kRightButton = 1u << 4,
    kMiddleButton = 1u << 5,
    kDouble = 1u << 6, // the press was the second of a double click
};
using ShiftState = unsigned;

// Keys that type no character; printable keys, Esc (27), Backspace (8), Tab (9) and Enter (13) arrive as
// character codes instead.
enum class Key : std::uint8_t {
    None,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    Delete,
    Insert,
    PageUp,
    PageDown,
    F1
};

// One input event on the virtual screen, as a backend reports it.
struct InputEvent {
    enum class Type : std::uint8_t {
        MouseMove,
        MouseDown,
        MouseUp,
        Wheel,
        Char,
        KeyDown,
        Text,
        Quit,
        Expose,
        DropFile // a file dropped onto the window: text is its path, x and y where the pointer was
    };
    Type type = Type::MouseMove;
    int x = 0;
    int y = 0;
    MouseButton button = MouseButton::None;
    int clicks = 1; // 2 for the second press of a double click
    int value = 0;  // wheel notches (positive = away from the user) or character code
    Key key = Key::None;
    ShiftState keys = 0; // modifier keys (mouse buttons are tracked by the application)
    std::string text;    // typed UTF-8 text
};

} // namespace platform
