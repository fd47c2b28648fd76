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
constexpr std::uint16_t kSounds = kSoundSz | kSoundZz | kSoundCz | kSoundDzz;
constexpr std::uint16_t kPositions = kPositionNaglos | kPositionSrodglos | kPositionWyglos;

} // namespace

void ProgramSettings::report(const std::string& text) {
    if (reported_) return;
    reported_ = true;
    message_ = text;
    std::fprintf(stderr, "%s\n", text.c_str());
}

std::string ProgramSettings::text() const {
    std::string t = "[DaneProgramu]\r\nZakladka=" + std::to_string(tab) + "\r\n";
    for (const GameSettings* u : {&labelling, &memory, &completion, &falling})
        t += "\r\n[" + u->section + "]\r\nGloski=" + std::to_string(u->sounds) +
             "\r\nPoziom=" + std::to_string(u->level) + "\r\nPozycja=" + std::to_string(u->positions) +
             "\r\n";
    return t;
}

GameSettings* ProgramSettings::game(int number) {
    switch (number) {
    case kGameLabelling:
        return &labelling;
    case kGameMemory:
        return &memory;
    case kGameCompletion:
        return &completion;
    case kGameFalling:
        return &falling;
    default:
        return nullptr;
    }
}

int tabInRange(int z) {
    // The recorder's tab starts on the first one; any other value goes to the nearest game tab.
    if (z == kTabRecorder) return kGameLabelling;
    return std::clamp(z, kGameLabelling, kGameFalling);
}

void ProgramSettings::loadRemembered() {
    unreadable_ = false;
    reported_ = false;
    message_.clear();
    try {
        // A directory in the file's place is neither read nor written over.
        if (platform::fs::exists(kSettingsFile) || platform::fs::dirExists(kSettingsFile)) {
            const platform::IniFile ini(kSettingsFile);
            if (ini.unreadable() || platform::fs::dirExists(kSettingsFile)) {
                unreadable_ = true;
                report("Nie można odczytać zapamiętanych ustawień z pliku \u201e" + ini.nativePath() +
                       "\u201d, więc zmiany ustawień nie zostaną w nim zapisane.");
            } else {
                tab = tabInRange(ini.readInteger("DaneProgramu", "Zakladka", tab));
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
        platform::fs::writeAtomic(kSettingsFile, t);
    } catch (const std::exception& e) {
        report(std::string("Nie można zapamiętać ustawień. ") + e.what() + ".");
        return false;
    }
    saved_ = t;
    return true;
}

void GameSettings::read(const platform::IniFile& ini) {
    // Values are 16-bit words in the record; wider numbers keep their low 16 bits.
    sounds = static_cast<std::uint16_t>(ini.readInteger(section, "Gloski", sounds));
    level = static_cast<std::int16_t>(ini.readInteger(section, "Poziom", level));
    positions = static_cast<std::uint16_t>(ini.readInteger(section, "Pozycja", positions));

    sounds &= kSounds;
    if (level < kQuantityMalo || level > kQuantityDuzo) level = kQuantityMalo;
    positions &= kPositions;
}

void GameSettings::addContrast() {
    // Each contrast flag sits four bits above its sound.
    sounds |= static_cast<std::uint16_t>((sounds & kSounds) << 4);
}

void GameSettings::setDistractors(const GameSettings& target) {
    const std::uint16_t targetSounds = target.sounds & kSounds;
    if (targetSounds == kSounds) {
        sounds |= kSoundS | kSoundZ | kSoundC | kSoundDz;
        return;
    }
    const std::uint16_t missing = kSounds & static_cast<std::uint16_t>(~targetSounds);
    sounds |= missing;
    if (missing & kSoundDzz) sounds |= kSoundDz;
    sounds |= kSoundS;
}

namespace {
constexpr std::string_view kConfigFile = "Data\\data.ini";
}

bool ProgramSettings::readConfiguration() {
    if (!platform::fs::exists(kConfigFile)) return true;
    try {
        const platform::IniFile ini(kConfigFile);
        tab = tabInRange(ini.readInteger("DaneProgramu", "Zakladka", tab));
        for (GameSettings* u : {&labelling, &memory, &completion, &falling})
            u->read(ini);
    } catch (const std::exception&) {
        // The caller turns this into the "configuration not accessible" error.
        return false;
    }
    return true;
}
