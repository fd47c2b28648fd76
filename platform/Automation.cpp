#include "Automation.hpp"

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

int number(std::string_view w, std::string_view line) {
    int v = 0;
    const auto [p, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (ec != std::errc() || p != w.data() + w.size())
        throw ScriptError("not a number: \"" + std::string(w) + "\" in \"" + std::string(line) + "\"");
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
    auto need = [&](std::size_t n) {
        if (w.size() != n + 1)
            throw ScriptError("\"" + verb + "\" takes " + std::to_string(n) + " argument(s): \"" +
                              std::string(line) + "\"");
    };
    auto rest = [&]() {
        std::string_view r = line.substr(w[0].size());
        if (!r.empty() && r.front() == ' ') r.remove_prefix(1);
        return std::string(r);
    };
    if (verb == "wait") {
        need(1), c.verb = V::Wait, c.a = number(w[1], line);
        if (c.a < 0) throw ScriptError("negative wait: \"" + std::string(line) + "\"");
    } else if (verb == "click" || verb == "dblclick" || verb == "press" || verb == "release" ||
               verb == "move") {
        need(2);
        c.verb = verb == "click"      ? V::Click
                 : verb == "dblclick" ? V::DblClick
                 : verb == "press"    ? V::Press
                 : verb == "release"  ? V::Release
                                      : V::Move;
        c.a = number(w[1], line), c.b = number(w[2], line);
    } else if (verb == "drag") {
        need(4), c.verb = V::Drag;
        c.a = number(w[1], line), c.b = number(w[2], line), c.c = number(w[3], line),
        c.d = number(w[4], line);
    } else if (verb == "wheel") {
        need(1), c.verb = V::Wheel, c.a = number(w[1], line);
    } else if (verb == "key") {
        need(1);
        if (auto k = keyByName(w[1])) {
            c.verb = V::KeyDown, c.key = *k;
        } else {
            c.verb = V::Key, c.a = number(w[1], line);
            if (c.a <= 0 || c.a > 0x10FFFF)
                throw ScriptError("no such character code: \"" + std::string(line) + "\"");
        }
    } else if (verb == "text") {
        c.verb = V::Text, c.text = rest();
    } else if (verb == "answer") {
        need(1), c.verb = V::Answer, c.a = number(w[1], line);
    } else if (verb == "screenshot") {
        c.verb = V::Screenshot, c.text = std::string(trim(rest()));
        if (c.text.empty()) throw ScriptError("screenshot needs a file name");
    } else if (verb == "dump") {
        need(0), c.verb = V::Dump;
    } else if (verb == "quit") {
        need(0), c.verb = V::Quit;
    } else {
        throw ScriptError("unknown command: \"" + std::string(line) + "\"");
    }
    return c;
}

} // namespace platform
