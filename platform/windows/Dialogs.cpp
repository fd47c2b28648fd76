// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/windows/Dialogs.hpp"
#include "platform/backends/Backend.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Form.hpp"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

namespace {

std::size_t codePoints(std::string_view t) {
    std::size_t n = 0;
    for (unsigned char c : t)
        n += (c & 0xC0) != 0x80;
    return n;
}

// Byte length of the first n code points of t.
std::size_t prefixBytes(std::string_view t, std::size_t n) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < n && i < t.size(); ++k) {
        ++i;
        while (i < t.size() && (static_cast<unsigned char>(t[i]) & 0xC0) == 0x80)
            ++i;
    }
    return i;
}

} // namespace

std::string fitMessageText(std::string_view text, std::size_t width, std::size_t maxLines) {
    std::vector<std::string> lines;
    bool cut = false;
    auto add = [&](std::string line) {
        if (lines.size() == maxLines) {
            cut = true;
            return false;
        }
        lines.push_back(std::move(line));
        return true;
    };
    std::size_t start = 0;
    while (start <= text.size() && !cut) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view rest = text.substr(start, end - start);
        if (rest.empty() && !add({})) break;
        while (!rest.empty()) {
            if (codePoints(rest) <= width) {
                add(std::string(rest));
                break;
            }
            const std::size_t limit = prefixBytes(rest, width);
            std::size_t space = rest.substr(0, limit + 1).rfind(' ');
            std::size_t take = space != std::string_view::npos && space > 0 ? space : limit;
            if (!add(std::string(rest.substr(0, take)))) break;
            rest.remove_prefix(take);
            while (!rest.empty() && rest.front() == ' ')
                rest.remove_prefix(1);
        }
        if (end == text.size()) break;
        start = end + 1;
    }
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out += (i ? "\n" : "") + lines[i];
    if (cut) {
        // The cut marker takes the last line's end, so the box still holds at most maxLines lines.
        if (!lines.empty() && codePoints(lines.back()) >= width)
            out.resize(out.size() - lines.back().size() + prefixBytes(lines.back(), width - 1));
        out += "…";
    }
    return out;
}

MessageResult messageBox(Form*, std::string_view text, std::string_view title, MessageIcon icon,
                         MessageButtons buttons) {
    if (!hasApp()) {
        std::fprintf(stderr, "%.*s: %.*s\n", int(title.size()), title.data(), int(text.size()), text.data());
        return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageResult::Yes
                                                                                          : MessageResult::Ok;
    }
    Application& a = app();
    // With no form on screen (the resource check, a second copy) nothing is presented, so the box comes
    // without an empty window behind it.
    const auto& forms = a.forms();
    if (std::any_of(forms.begin(), forms.end(), [](const Form* f) { return f->visible(); }))
        a.presentScreen();
    const MessageResult r = a.backend().messageBox(text, title, icon, buttons);
    // The box took the mouse: whatever was pressed before gets no release.
    a.resetMouse();
    return r;
}

} // namespace platform
