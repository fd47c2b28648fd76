// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Automation script parser: every line is a command, nothing, or ScriptError; numbers stay in range.
#include "platform/backends/Automation.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        try {
            const auto c = platform::parseCommand(line);
            if (!c) continue;
            using V = platform::Command::Verb;
            const int lim = 1'000'000;
            if (c->verb == V::Drag && (c->c < -lim || c->c > lim || c->d < -lim || c->d > lim)) std::abort();
            if ((c->verb == V::Click || c->verb == V::Drag || c->verb == V::Move) &&
                (c->a < -lim || c->a > lim || c->b < -lim || c->b > lim))
                std::abort();
            if (c->verb == V::Wait && c->a < 0) std::abort();
        } catch (const platform::ScriptError&) {
        }
    }
    return 0;
}
