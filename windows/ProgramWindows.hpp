// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <utility>
#include <vector>

namespace platform {
class Form;
}

class MainMenu;
class MessageWindow;
class SplashWindow;
class ResultsWindow;
class AboutWindow;

// Shows the splash window (owned here until it is removed).
SplashWindow* pokazSplash();
// The splash while it is there, else null.
SplashWindow* splashWindow();
// Destroys the splash window if it is still there (the main menu does it 2 s after its first showing).
void usunSplash();

// The windows, each set when start-up has created it. A window whose unit is not part of the program yet
// stays null, and whoever shows it checks first.
extern MainMenu* FormMain;
extern MessageWindow* FormKomunikat;
extern ResultsWindow* fmKoniecGry;
extern AboutWindow* FormOProgramie;

// The window of a game (ZAK_PODPISYWANIE ... ZAK_SPADAJACE) as a form, or null when it was not created.
platform::Form* oknoGry(int zakladka);
// The about window as a form, or null.
platform::Form* oknoOProgramie();

// Owns the windows start-up creates, in creation order, and destroys them in reverse order.
class ProgramWindows {
public:
    // Key of the about window (game windows are keyed by their game number, other windows by 0).
    static constexpr int O_PROGRAMIE = 100;

    ProgramWindows() = default;
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Creates a window of type T and keeps it; a game number (ZAK_PODPISYWANIE ... ZAK_SPADAJACE) or
    // O_PROGRAMIE as klucz makes the main menu find it through oknoGry / oknoOProgramie.
    template <class T, class... Args> T* utworz(int klucz, Args&&... args) {
        auto okno = std::make_unique<T>(std::forward<Args>(args)...);
        T* wynik = okno.get();
        dodaj(std::move(okno), klucz);
        return wynik;
    }

private:
    void dodaj(std::unique_ptr<platform::Form> okno, int klucz);
    std::vector<std::unique_ptr<platform::Form>> okna_;
};
