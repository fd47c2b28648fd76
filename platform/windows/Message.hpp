// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"
#include "platform/windows/Input.hpp"

#include <cstdint>

namespace platform {

// What a control's message procedure sees before the default handling turns it into events.
enum class MessageKind : std::uint8_t {
    Paint,      // paint yourself on the form's canvas; rect is the part being painted (form coordinates)
    MouseEnter, // the pointer came over the control (only while its form is the active form)
    MouseLeave,
    LButtonDown,
    LButtonUp,
    LButtonDblClk, // second press of a double click, for controls that accept double clicks
    RButtonDown,
    RButtonUp,
    MButtonDown,
    MButtonUp,
    MouseMove,
    MouseWheel,
    VisibleChanged, // visible() already has the new value
    EnabledChanged,
    FocusChanged, // focused: whether the control now has the focus
};

struct Message {
    MessageKind kind = MessageKind::Paint;
    int x = 0; // control coordinates for mouse messages
    int y = 0;
    ShiftState shift = 0;
    int wheelDelta = 0;
    bool focused = false;
    Rect rect{}; // Paint: the area being painted, form coordinates
};

const char* messageName(MessageKind kind);

} // namespace platform
