// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/GameSettings.hpp"

#include "platform/system/Fs.hpp"
#include "platform/system/Ini.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string_view>
#include <utility>

namespace {
constexpr std::uint16_t kGloski = GL_SZ | GL_ZZ | GL_CZ | GL_DZZ;
constexpr std::uint16_t kPozycje = POZ_NAGLOS | POZ_SRODGLOS | POZ_WYGLOS;

} // namespace

void ProgramSettings::report(const std::string& tekst) {
    if (reported_) return;
    reported_ = true;
    message_ = tekst;
    std::fprintf(stderr, "%s\n", tekst.c_str());
}

std::string ProgramSettings::text() const {
    std::string t = "[DaneProgramu]\r\nZakladka=" + std::to_string(tab) + "\r\n";
    for (const GameSettings* u : {&labelling, &memory, &completion, &falling})
        t += "\r\n[" + u->sekcja + "]\r\nGloski=" + std::to_string(u->sounds) +
             "\r\nPoziom=" + std::to_string(u->level) + "\r\nPozycja=" + std::to_string(u->positions) +
             "\r\n";
    return t;
}

GameSettings* ProgramSettings::game(int number) {
    switch (number) {
    case ZAK_PODPISYWANIE:
        return &labelling;
    case ZAK_MEMORY:
        return &memory;
    case ZAK_UZUPELNIANIE:
        return &completion;
    case ZAK_SPADAJACE:
        return &falling;
    default:
        return nullptr;
    }
}

int zakladkaWZakresie(int z) {
    // The recorder's tab starts on the first one; any other value goes to the nearest game tab.
    if (z == ZAK_NAGRYWANIE) return ZAK_PODPISYWANIE;
    return std::clamp(z, ZAK_PODPISYWANIE, ZAK_SPADAJACE);
}

void ProgramSettings::loadRemembered() {
    unreadable_ = false;
    reported_ = false;
    message_.clear();
    try {
        // A directory in the file's place is neither read nor written over.
        if (platform::fs::exists(kPlikUstawien) || platform::fs::dirExists(kPlikUstawien)) {
            const platform::IniFile ini(kPlikUstawien);
            if (ini.unreadable() || platform::fs::dirExists(kPlikUstawien)) {
                unreadable_ = true;
                report("Nie można odczytać zapamiętanych ustawień z pliku \u201e" + ini.nativePath() +
                       "\u201d, więc zmiany ustawień nie zostaną w nim zapisane.");
            } else {
                tab = zakladkaWZakresie(ini.readInteger("DaneProgramu", "Zakladka", tab));
                for (GameSettings* u : {&labelling, &memory, &completion, &falling})
                    u->read(ini);
            }
        }
    } catch (const std::exception&) {
        // A file that cannot be read is as good as none: the configuration's values stay.
    }
    saved_ = text();
}

std::string ProgramSettings::takeMessage() {
    return std::exchange(message_, std::string());
}

bool ProgramSettings::remember() {
    const std::string t = text();
    if (t == saved_) return true;
    if (unreadable_) return false;
    try {
        platform::fs::writeAtomic(kPlikUstawien, t);
    } catch (const std::exception& e) {
        report(std::string("Nie można zapamiętać ustawień. ") + e.what() + ".");
        return false;
    }
    saved_ = t;
    return true;
}

void GameSettings::read(const platform::IniFile& ini) {
    // Values are 16-bit words in the record; wider numbers keep their low 16 bits.
    sounds = static_cast<std::uint16_t>(ini.readInteger(sekcja, "Gloski", sounds));
    level = static_cast<std::int16_t>(ini.readInteger(sekcja, "Poziom", level));
    positions = static_cast<std::uint16_t>(ini.readInteger(sekcja, "Pozycja", positions));

    sounds &= kGloski;
    if (level < POZIOM_MALO || level > POZIOM_DUZO) level = POZIOM_MALO;
    positions &= kPozycje;
}

void GameSettings::dodajKontrast() {
    // Each contrast flag sits four bits above its sound.
    sounds |= static_cast<std::uint16_t>((sounds & kGloski) << 4);
}

void GameSettings::ustawDystraktory(const GameSettings& target) {
    const std::uint16_t docelowe = target.sounds & kGloski;
    if (docelowe == kGloski) {
        sounds |= GL_S | GL_Z | GL_C | GL_DZ;
        return;
    }
    const std::uint16_t brak = kGloski & static_cast<std::uint16_t>(~cel);
    sounds |= brak;
    if (brak & GL_DZZ) sounds |= GL_DZ;
    sounds |= GL_S;
}

namespace {
constexpr std::string_view kPlikKonfiguracji = "Data\\data.ini";
}

bool ProgramSettings::readConfiguration() {
    if (!platform::fs::exists(kPlikKonfiguracji)) return true;
    try {
        const platform::IniFile ini(kPlikKonfiguracji);
        tab = zakladkaWZakresie(ini.readInteger("DaneProgramu", "Zakladka", tab));
        for (GameSettings* u : {&labelling, &memory, &completion, &falling})
            u->read(ini);
    } catch (const std::exception&) {
        // The caller turns this into the "configuration not accessible" error.
        return false;
    }
    return true;
}
