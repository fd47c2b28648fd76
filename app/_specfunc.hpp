// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/_custgry.hpp"

#include <string>

// Reads "Data\data.ini" into Zakladka and the four games' settings. A missing file keeps the defaults.
bool readConfiguration();

// Plays "Data\Smd\" + word + ".pw" to its end; false (and silence) when the file is missing.
bool odtworzSlowo(const std::string& word);

inline constexpr int POCHWALA = 0;        // praise
inline constexpr int ZACHETA = 1;         // encouragement after a mistake
inline constexpr int KROTKA_POCHWALA = 3; // short praise

// Plays a random praise or encouragement sound of the given kind, then pauses 500 ms.
bool odtworzPochwale(int kind);

// "2 min 5 s".
std::string formatujCzas(int seconds);

// Code of a Polish letter or sound unit in picture names ("ż" -> "zz"); other text comes back unchanged.
std::string kodLitery(const std::string& unit);

// True for the units there are letter tiles for: the Polish letters, q, v, x and the digraphs.
bool maKafelek(const std::string& unit);
