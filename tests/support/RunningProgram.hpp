// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a test sees of the program it runs in-process: the windows and shared objects of the run in
// progress, as the program's observer (or a fixture that builds windows itself) hands them over.
#include "app/Program.hpp"
#include "core/ProgramContext.hpp"
#include "platform/windows/Form.hpp"
#include "windows/AboutWindow.hpp"
#include "windows/MainMenu.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "windows/SplashWindow.hpp"

namespace wvtest {

// The run in progress, or null between runs.
inline ProgramWindows*& running() {
    static ProgramWindows* windows = nullptr;
    return windows;
}
// Hands the run's windows to running(); give it to runProgram.
inline ProgramObserver observeProgram() {
    return [](ProgramWindows* windows) { running() = windows; };
}

inline ProgramContext& context() {
    return running()->context();
}
inline MainMenu* mainMenu() {
    return running() ? running()->mainMenu() : nullptr;
}
inline MessageWindow* messageWindow() {
    return running() ? running()->message() : nullptr;
}
inline ResultsWindow* resultsWindow() {
    return running() ? running()->results() : nullptr;
}
inline AboutWindow* aboutWindow() {
    return running() ? running()->about() : nullptr;
}
inline SplashWindow* splash() {
    return running() ? running()->splash() : nullptr;
}
// The window of game number game, as its type.
template <class Window> Window* gameWindow(int game) {
    return running() ? dynamic_cast<Window*>(running()->game(game)) : nullptr;
}

} // namespace wvtest
