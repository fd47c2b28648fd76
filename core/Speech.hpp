// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

// Plays the word's own voice, else "Data\Smd\" + word + ".pw", to its end; false (and silence) when the file
// is missing.
bool playWord(const std::string& word);

inline constexpr int kPraise = 0;        // praise
inline constexpr int kEncouragement = 1; // encouragement after a mistake
inline constexpr int kShortPraise = 3;   // short praise

// Plays a random praise or encouragement sound of the given kind, then pauses 500 ms.
bool playPraise(int kind);
