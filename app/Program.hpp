// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class ProgramWindows;

// Sees the program's windows, and through them everything they share, from their creation at start-up
// until just before teardown (then it is called with null): for tests that drive the program in-process.
using ProgramObserver = std::function<void(ProgramWindows*)>;

// Runs the program on the already initialised platform: the resource check when the first argument is
// exactly "z", otherwise start-up, the event loop and teardown. Returns 0 in every case.
int runProgram(const std::vector<std::string>& args, const ProgramObserver& observer = {});

// "raport [--dziecko NAME] [FILE.html]": the report of one child, or with several children every child's
// and an overview; reads the children without changing anything. The exit code of report::runCommand.
int reportCommand(const std::vector<std::string>& args, const std::optional<std::string>& child);

// A signal ends the program: the game in progress is ended as its stop button would end it (its record
// appended, once), without the results screen. Safe from the signal thread while the loop is parked.
void finishGameInProgress(ProgramWindows& windows);

// The resource check on its own: compares Data\Sio, Data\Bio and Data\Smd with the word catalogue,
// writes "Raport zasobów.txt" when something is missing or redundant and tells the user.
void checkResources();

// Removes the temporaries that writes of the program's own files leave when killed (".NAME.XXXXXX" beside
// each file it replaces atomically), in the user directory and its recordings folder; nothing else.
// Returns how many went. Called once the single-instance lock is held, so no running copy loses one.
int removeTemporaries();
// The report lines without the heading (empty when every file is there and nothing else is). Raises
// CatalogueError when the catalogue file is unusable.
std::vector<std::string> resourceReport();
