// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {
class Form;
}

// The program's fatal error: a code with a fixed message text, reported once by start-up.
class FatalError : public std::runtime_error {
public:
    // 1 missing resources, 2 screen too small, 3 statistics file, 4 configuration, 99 own text.
    explicit FatalError(std::int16_t code) : std::runtime_error("Blad"), code(code) {}
    FatalError(std::int16_t code, std::string text)
        : std::runtime_error("Blad"), text(std::move(text)), code(code) {}

    // The text shown for the code; empty for an unknown code.
    std::string message() const;
    // Message box over owner (the application's window when null).
    void showError(platform::Form* owner) const;

    std::string text;
    std::int16_t code = 0;
};
