// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <set>
#include <string>

// The words switched off for one child (a child who names a picture otherwise, or does not know the
// word), kept in the child's folder; a new child has every word.
inline constexpr const char* kSwitchedOffFile = "wylaczone_slowa.txt";

struct WordChoice {
    std::set<std::string> switchedOff; // catalogue stems
    std::string message;               // what went wrong reading, in Polish, to be said once
};

// Reads the file of the child who plays. A missing file switches nothing off; a damaged one is set aside
// (".bad") and switches nothing off either, with a message.
WordChoice loadWordChoice();
// Replaces the file atomically; false with the Polish reason in error when it cannot be written.
bool saveWordChoice(const std::set<std::string>& switchedOff, std::string* error);
