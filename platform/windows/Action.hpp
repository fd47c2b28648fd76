// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string>

namespace platform {

// A named command that buttons, keys and timers execute.
class Action {
public:
    Action() = default;
    explicit Action(std::function<void()> handler) : onExecute(std::move(handler)) {}

    // Runs the handler (a copy of it, so the handler may replace or destroy the action); false when
    // there is none.
    bool execute() const {
        if (!onExecute) return false;
        auto handler = onExecute;
        handler();
        return true;
    }

    std::function<void()> onExecute;
    std::string name;
    std::string category;
    int tag = 0;
};

} // namespace platform
