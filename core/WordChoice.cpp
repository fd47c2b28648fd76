// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/WordChoice.hpp"

#include "platform/system/Fs.hpp"

#include <algorithm>
#include <exception>

namespace {

constexpr const char* kHeading = "# Słowa wyłączone dla tego dziecka, jedno w wierszu.\n";

bool validStem(const std::string& s) {
    return !s.empty() && s.size() <= 64 && std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

} // namespace

WordChoice loadWordChoice() {
    WordChoice choice;
    if (!platform::fs::exists(kSwitchedOffFile) && !platform::fs::dirExists(kSwitchedOffFile)) return choice;
    std::string text;
    bool damaged = false;
    try {
        const auto bytes = platform::fs::readAll(kSwitchedOffFile, 1 << 20);
        text.assign(bytes.begin(), bytes.end());
    } catch (const std::exception&) {
        damaged = true;
    }
    std::set<std::string> stems;
    for (std::size_t at = 0; !damaged && at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!validStem(line)) damaged = true;
        stems.insert(line);
    }
    if (!damaged) {
        choice.switchedOff = std::move(stems);
        return choice;
    }
    const std::string aside = platform::fs::moveAside(kSwitchedOffFile);
    choice.message = "Lista słów wyłączonych dla tego dziecka była uszkodzona" +
                     (aside.empty() ? std::string() : " (zachowano ją jako \u201e" + aside + "\u201d)") +
                     "; dziecko dostaje teraz wszystkie słowa.";
    return choice;
}

bool saveWordChoice(const std::set<std::string>& switchedOff, std::string* error) {
    std::string text = kHeading;
    for (const std::string& stem : switchedOff)
        text += stem + "\n";
    try {
        platform::fs::writeAtomic(kSwitchedOffFile, text);
        return true;
    } catch (const std::exception& e) {
        if (error) *error = std::string("Nie udało się zapisać listy słów dziecka: ") + e.what();
        return false;
    }
}
