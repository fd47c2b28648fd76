// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "words/LetterTiles.hpp"

#include <string_view>

std::string kodLitery(const std::string& unit) {
    struct Kod {
        std::string_view litera;
        const char* kod;
    };
    static constexpr Kod kKody[] = {
        {"dż", "dzz"}, {"dź", "dzzz"}, {"ż", "zz"}, {"ź", "zzz"}, {"ó", "oo"}, {"ł", "ll"},
        {"ć", "cc"},   {"ś", "ss"},    {"ń", "nn"}, {"ę", "ee"},  {"ą", "aa"},
    };
    for (const Kod& k : kKody)
        if (unit == k.litera) return k.kod;
    return unit;
}

bool maKafelek(const std::string& unit) {
    static constexpr std::string_view kKafelki[] = {
        "a", "ą", "b", "c", "ć", "d", "e", "ę",  "f",  "g",  "h",  "i",  "j",  "k",
        "l", "ł", "m", "n", "ń", "o", "ó", "p",  "r",  "s",  "ś",  "t",  "u",  "w",
        "y", "z", "ź", "ż", "q", "v", "x", "ch", "cz", "dz", "dź", "dż", "rz", "sz",
    };
    for (std::string_view k : kKafelki)
        if (unit == k) return true;
    return false;
}
