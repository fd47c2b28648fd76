// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/backends/Automation.hpp"

#include <cctype>
#include <charconv>
#include <string>
#include <vector>

namespace platform {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> words(std::string_view s) {
    std::vector<std::string_view> out;
    while (true) {
        s = trim(s);
        if (s.empty()) break;
        std::size_t n = 0;
        while (n < s.size() && !std::isspace(static_cast<unsigned char>(s[n])))
            ++n;
        out.push_back(s.substr(0, n));
        s.remove_prefix(n);
    }
    return out;
}

// A junk line may be megabytes long; messages quote only its start.
std::string quoted(std::string_view s) {
    constexpr std::size_t kMax = 60;
    return "\"" + std::string(s.substr(0, kMax)) + (s.size() > kMax ? "...\"" : "\"");
}

int number(std::string_view w, std::string_view line, int lo, int hi) {
    int v = 0;
    const auto [p, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (ec != std::errc() || p != w.data() + w.size())
        throw ScriptError("not a number: " + quoted(w) + " in " + quoted(line));
    if (v < lo || v > hi)
        throw ScriptError("number out of range " + std::to_string(lo) + ".." + std::to_string(hi) + ": " +
                          quoted(w) + " in " + quoted(line));
    return v;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::optional<Key> keyByName(std::string_view name) {
    static const std::pair<const char*, Key> table[] = {
        {"left", Key::Left},         {"right", Key::Right},   {"up", Key::Up},
        {"down", Key::Down},         {"home", Key::Home},     {"end", Key::End},
        {"delete", Key::Delete},     {"insert", Key::Insert}, {"pageup", Key::PageUp},
        {"pagedown", Key::PageDown}, {"f1", Key::F1},
    };
    const std::string n = lower(name);
    for (const auto& [k, v] : table)
        if (n == k) return v;
    return std::nullopt;
}

std::optional<Command> parseCommand(std::string_view rawLine) {
    const std::string_view line = trim(rawLine);
    if (line.empty() || line.front() == '#') return std::nullopt;
    const auto w = words(line);
    const std::string verb = lower(w[0]);
    using V = Command::Verb;
    Command c;
    // Screen coordinates may lie off the window, but not so far that arithmetic on them could overflow.
    constexpr int kCoord = 1'000'000;
    auto coord = [&](std::size_t i) { return number(w[i], line, -kCoord, kCoord); };
    auto need = [&](std::size_t n) {
        if (w.size() != n + 1)
            throw ScriptError(quoted(verb) + " takes " + std::to_string(n) + " argument(s): " + quoted(line));
    };
    auto rest = [&]() {
        std::string_view r = line.substr(w[0].size());
        if (!r.empty() && r.front() == ' ') r.remove_prefix(1);
        return std::string(r);
    };
    if (verb == "wait") {
        // Up to a day of virtual time per line.
        need(1), c.verb = V::Wait, c.a = number(w[1], line, 0, 86'400'000);
    } else if (verb == "click" || verb == "dblclick" || verb == "press" || verb == "release" ||
               verb == "move") {
        need(2);
        c.verb = verb == "click"      ? V::Click
                 : verb == "dblclick" ? V::DblClick
                 : verb == "press"    ? V::Press
                 : verb == "release"  ? V::Release
                                      : V::Move;
        c.a = coord(1), c.b = coord(2);
    } else if (verb == "drag") {
        need(4), c.verb = V::Drag;
        c.a = coord(1), c.b = coord(2), c.c = coord(3), c.d = coord(4);
    } else if (verb == "wheel") {
        need(1), c.verb = V::Wheel, c.a = number(w[1], line, -10'000, 10'000);
    } else if (verb == "key") {
        need(1);
        if (auto k = keyByName(w[1])) {
            c.verb = V::KeyDown, c.key = *k;
        } else {
            c.verb = V::Key, c.a = number(w[1], line, 1, 0x10FFFF);
            if (c.a >= 0xD800 && c.a <= 0xDFFF) throw ScriptError("no such character code: " + quoted(line));
        }
    } else if (verb == "drop") {
        if (w.size() < 4) throw ScriptError("\"drop\" takes X, Y and a file's path: " + quoted(line));
        c.verb = V::Drop, c.a = coord(1), c.b = coord(2);
        // The path is the rest of the line, spaces and all.
        c.text = std::string(trim(line.substr(std::size_t(w[2].data() + w[2].size() - line.data()))));
    } else if (verb == "text") {
        c.verb = V::Text, c.text = rest();
    } else if (verb == "answer") {
        need(1), c.verb = V::Answer, c.a = w[1] == "wait" ? kAnswerWait : number(w[1], line, 0, 100);
    } else if (verb == "screenshot") {
        c.verb = V::Screenshot, c.text = std::string(trim(rest()));
        if (c.text.empty()) throw ScriptError("screenshot needs a file name");
    } else if (verb == "dump") {
        need(0), c.verb = V::Dump;
    } else if (verb == "quit") {
        need(0), c.verb = V::Quit;
    } else if (verb == "hold") {
        need(0), c.verb = V::Hold;
    } else {
        throw ScriptError("unknown command: " + quoted(line));
    }
    return c;
}

} // namespace platform
