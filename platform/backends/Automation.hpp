// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Error.hpp"
#include "platform/windows/Input.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// "answer wait": the next message box stays open until the program is ended from outside.
constexpr int kAnswerWait = -1;

// One automation command, as a script line or a test driver call gives it.
struct Command {
    enum class Verb : std::uint8_t {
        Wait,
        Click,
        DblClick,
        Press,
        Release,
        Move,
        Drag,
        Wheel,
        Key,
        KeyDown,
        Text,
        Answer,
        Screenshot,
        Dump,
        Quit,
        Drop, // a file dropped at a point: drop X Y PATH
        Hold, // from here on the program waits in real time, like one nobody uses, until ended from outside
    };
    Verb verb = Verb::Wait;
    int a = 0, b = 0, c = 0, d = 0;
    Key key = Key::None;
    std::string text;
};

class ScriptError : public Error {
public:
    using Error::Error;
};

// Parses one script line: nullopt for a blank line or a '#' comment; ScriptError for anything else
// that is not a command with valid arguments.
std::optional<Command> parseCommand(std::string_view line);
// Key names a script may use with "key" besides character codes: left, right, up, down, home, end,
// delete, insert, pageup, pagedown, f1.
std::optional<Key> keyByName(std::string_view name);

} // namespace platform
