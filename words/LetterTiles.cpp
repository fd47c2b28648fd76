// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "words/LetterTiles.hpp"

#include <string_view>

std::string tileCode(const std::string& unit) {
    struct CodeEntry {
        std::string_view tile;
        const char* code;
    };
    static constexpr CodeEntry kCodes[] = {
        {"dż", "dzz"}, {"dź", "dzzz"}, {"ż", "zz"}, {"ź", "zzz"}, {"ó", "oo"}, {"ł", "ll"},
        {"ć", "cc"},   {"ś", "ss"},    {"ń", "nn"}, {"ę", "ee"},  {"ą", "aa"},
    };
    for (const CodeEntry& k : kCodes)
        if (unit == k.tile) return k.code;
    return unit;
}

bool hasTile(const std::string& unit) {
    static constexpr std::string_view kTiles[] = {
        "a", "ą", "b", "c", "ć", "d", "e", "ę",  "f",  "g",  "h",  "i",  "j",  "k",
        "l", "ł", "m", "n", "ń", "o", "ó", "p",  "r",  "s",  "ś",  "t",  "u",  "w",
        "y", "z", "ź", "ż", "q", "v", "x", "ch", "cz", "dz", "dź", "dż", "rz", "sz",
    };
    for (std::string_view k : kTiles)
        if (unit == k) return true;
    return false;
}
