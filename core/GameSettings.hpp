// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "words/Catalogue.hpp"

#include <cstdint>
#include <string>

namespace platform {
class IniFile;
}

// Quantity of material.
inline constexpr std::int16_t kQuantityMalo = 1;
inline constexpr std::int16_t kQuantitySrednio = 2;
inline constexpr std::int16_t kQuantityDuzo = 3;

// Game numbers: the main menu's tabs and the game identifiers of statistics records.
inline constexpr int kGameLabelling = 1;
inline constexpr int kGameMemory = 2;
inline constexpr int kGameCompletion = 3;
inline constexpr int kGameFalling = 4;
inline constexpr int kTabRecorder = 5;

// One game's settings: sounds, positions and quantity.
class GameSettings : public WordFilter {
public:
    GameSettings() = default;
    explicit GameSettings(std::string section) : section(std::move(section)) {}

    // Reads the record's section and keeps only meaningful values.
    void read(const platform::IniFile& ini);

    bool hasLevel(int n) const { return level == n; }
    bool hasPosition(std::uint16_t bits) const { return (positions & bits) != 0; }
    bool hasSound(std::uint16_t bits) const { return (sounds & bits) != 0; }

    // Adds the contrast sound of every chosen sound.
    void addContrast();
    // Adds the sounds of the distractor words for a falling-pictures game aimed at target.
    void setDistractors(const GameSettings& target);

    std::string section;
    std::int16_t level = kQuantitySrednio;
};

// A tab number as the menu can show it: 1..4, the recorder's 5 and anything else to the nearest game tab.
int tabInRange(int z);

// Where the last tab and the four games' settings are remembered between runs, in the user directory
// (data.ini stays as shipped and only gives the first run's values).
inline constexpr const char* kSettingsFile = "ustawienia.ini";

// The main menu's tab and the four games' settings: the configuration's values, then what the user
// directory remembers over them, saved back there when they change.
class ProgramSettings {
public:
    // Reads "Data\data.ini". A missing file keeps the defaults; false when it exists but cannot be read.
    bool readConfiguration();
    // Applies what the file remembers over the configuration's values, cleaned as the configuration's are;
    // a missing, unreadable or damaged file (or key) leaves the values as they are.
    void loadRemembered();
    // Saves the tab and the settings, atomically, when they differ from what the file holds. False when
    // the file could not be written, or exists but could not be read (then it is never replaced); the
    // program goes on with the settings in memory.
    bool remember();
    // The Polish text of the first failure to read or save the settings, once (empty afterwards).
    std::string takeMessage();

    // The settings of game number kGameLabelling ... kGameFalling, null for any other number.
    GameSettings* game(int number);

    GameSettings labelling{"Podpisywanie"};
    GameSettings memory{"Memory"};
    GameSettings completion{"Uzupelnianie"};
    GameSettings falling{"Spadajace"};
    // The main menu's current tab (ZAK_*).
    int tab = kGameLabelling;

private:
    std::string text() const;
    void report(const std::string& message);

    // What the file holds (or held when it was read), so that only real changes are written.
    std::string saved_;
    bool reported_ = false;
    // The file exists but could not be read: it is never replaced by values it may not hold.
    bool unreadable_ = false;
    std::string message_;
};
