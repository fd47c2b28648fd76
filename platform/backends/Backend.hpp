// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Types.hpp"
#include "platform/windows/Cursor.hpp"
#include "platform/windows/Dialogs.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

class Application;
class Bitmap;

// What the application needs from the machine it runs on: the real SDL window or the headless one.
class Backend {
public:
    virtual ~Backend() = default;
    virtual bool headless() const = 0;
    virtual Size screenSize() const = 0;
    // Moves pending input into the application's queue without waiting.
    virtual void pollEvents(Application& app) = 0;
    // Waits until input arrives or timeoutMs passes (negative: no limit), queueing what arrived.
    virtual void waitEvents(Application& app, std::int64_t timeoutMs) = 0;
    // Brings these rectangles of the composed screen to the display.
    virtual void present(const Bitmap& screen, std::span<const Rect> dirty) = 0;
    virtual void blockFor(int ms) = 0;
    virtual MessageResult messageBox(std::string_view text, std::string_view title, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    virtual void setCursor(CursorId cursor) = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void minimize() = 0;
    virtual void raise() = 0;
    virtual void warpMouse(Point p) = 0;
    virtual void log(std::string_view line) = 0;
    // Any thread: makes a waiting waitEvents return.
    virtual void wake() {}
    // True while nothing of the window can be seen (minimised or hidden by the system).
    virtual bool minimised() const { return false; }
};

} // namespace platform
