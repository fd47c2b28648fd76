// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>

// What the sound, recorder and single-instance code needs from the event loop and the backend,
// without knowing which backend runs.
namespace platform::loop {

// True on the headless backend (virtual clock, no devices, events logged).
bool headless();
// Paints what is pending and brings the screen up to date (before anything that blocks).
void presentScreen();
// Blocks the user interface for ms: real time on the real backend, virtual time headless
// (timers do not fire meanwhile; afterwards each due timer fires once).
void blockFor(int ms);
// One line of the headless event log (standard output of a scripted run, the test driver's record);
// ignored on the real backend.
void logEvent(std::string_view line);
// Runs fn on the event loop as soon as it next runs (from the loop's own thread only).
void post(void (*fn)(void*), void* data);
// Brings the main window to the front (a second copy of the program asked for it).
void raiseMainWindow();

} // namespace platform::loop
