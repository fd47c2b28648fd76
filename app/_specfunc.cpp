// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/_specfunc.hpp"

#include "platform/Fs.hpp"
#include "platform/Ini.hpp"
#include "platform/LoopServices.hpp"
#include "platform/Random.hpp"
#include "platform/Sound.hpp"

#include <exception>
#include <string_view>

namespace {
constexpr std::string_view kPlikKonfiguracji = "Data\\data.ini";

std::string numer(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}
} // namespace

bool readConfiguration() {
    if (!platform::fs::exists(kPlikKonfiguracji)) return true;
    try {
        const platform::IniFile ini(kPlikKonfiguracji);
        Zakladka = zakladkaWZakresie(ini.readInteger("DaneProgramu", "Zakladka", Zakladka));
        ustMemory.read(ini);
        ustUzupelnianie.read(ini);
        ustPodpisywanie.read(ini);
        ustSpadajace.read(ini);
    } catch (const std::exception&) {
        // The caller turns this into the "configuration not accessible" error.
        return false;
    }
    return true;
}

bool odtworzSlowo(const std::string& word) {
    const std::string path = "Data\\Smd\\" + word + ".pw";
    if (!platform::fs::exists(path)) return false;
    platform::sound::playSync(path);
    return true;
}

bool odtworzPochwale(int kind) {
    std::string path;
    switch (kind) {
    case POCHWALA:
        path = "Data\\Intf\\Smd\\g" + numer(platform::random::next() & 7) + ".pw";
        break;
    case ZACHETA:
        path = "Data\\Intf\\Smd\\b" + numer(platform::random::next() % 5) + ".pw";
        break;
    case KROTKA_POCHWALA:
        path = "Data\\Intf\\Smd\\g" + numer(platform::random::next() % 5) + ".pw";
        break;
    default:
        path = "00.pw";
        break;
    }
    if (!platform::fs::exists(path)) return false;
    platform::sound::playSync(path);
    platform::loop::blockFor(500);
    return true;
}

std::string formatujCzas(int seconds) {
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
}

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
