// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/GameSettings.hpp"
#include "core/Profiles.hpp"
#include "core/ScreenLayout.hpp"

class Catalogue;
class StatisticsFile;

// What the windows and games of one run share. The program builds it at start-up and hands it to every
// window it creates; nothing reaches these through globals.
struct ProgramContext {
    ScreenLayout layout;
    ProgramSettings settings;
    // The speaker switch; only the main menu's (hidden) speaker toggle changes it.
    bool speaker = false;
    // Set while they exist, from their creation at start-up until teardown.
    Catalogue* catalogue = nullptr;
    StatisticsFile* statistics = nullptr;
    // The children's profiles, and the one who plays now (0: none, the files lie in the user directory).
    Profiles profiles;
    int child = 0;
    // The main menu was closed to let another child choose.
    bool changeChild = false;
    const Profile* currentChild() const { return profiles.find(child); }
};
