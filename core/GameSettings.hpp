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
inline constexpr std::int16_t POZIOM_MALO = 1;
inline constexpr std::int16_t POZIOM_SREDNIO = 2;
inline constexpr std::int16_t POZIOM_DUZO = 3;

// Game numbers: the main menu's tabs and the game identifiers of statistics records.
inline constexpr int ZAK_PODPISYWANIE = 1;
inline constexpr int ZAK_MEMORY = 2;
inline constexpr int ZAK_UZUPELNIANIE = 3;
inline constexpr int ZAK_SPADAJACE = 4;
inline constexpr int ZAK_NAGRYWANIE = 5;

// One game's settings: sounds, positions and quantity.
class GameSettings : public WordFilter {
public:
    GameSettings() = default;
    explicit GameSettings(std::string sekcja) : sekcja(std::move(sekcja)) {}

    // Reads the record's section and keeps only meaningful values.
    void read(const platform::IniFile& ini);

    bool maPoziom(int n) const { return level == n; }
    bool maPozycje(std::uint16_t bits) const { return (positions & bits) != 0; }
    bool maGloske(std::uint16_t bits) const { return (sounds & bits) != 0; }

    // Adds the contrast sound of every chosen sound.
    void dodajKontrast();
    // Adds the sounds of the distractor words for a falling-pictures game aimed at target.
    void ustawDystraktory(const GameSettings& target);

    std::string sekcja;
    std::int16_t level = POZIOM_SREDNIO;
};

// The four games' settings, filled from the configuration at start-up.
extern GameSettings ustPodpisywanie;
extern GameSettings ustMemory;
extern GameSettings ustUzupelnianie;
extern GameSettings ustSpadajace;

// The main menu's current tab (ZAK_*).
extern int Zakladka;

// The last tab and the four games' settings, remembered between runs in the user directory (data.ini
// stays as shipped and only gives the first run's values).
inline constexpr const char* kPlikUstawien = "ustawienia.ini";
// Applies what the file remembers over the configuration's values, cleaned as the configuration's are;
// a missing, unreadable or damaged file (or key) leaves the values as they are.
void wczytajZapamietane();
// Saves the tab and the settings, atomically, when they differ from what the file holds. False when the
// file could not be written, or exists but could not be read (then it is never replaced); the program goes
// on with the settings in memory.
bool zapamietajUstawienia();
// The Polish text of the first failure to read or save the settings, once (empty afterwards).
std::string komunikatUstawien();
// A tab number as the menu can show it: 1..4, the recorder's 5 and anything else to the nearest game tab.
int zakladkaWZakresie(int z);

// Reads "Data\data.ini" into Zakladka and the four games' settings. A missing file keeps the defaults.
bool readConfiguration();
