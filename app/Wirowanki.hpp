// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class Form;
}

class CSlowa;
class CStatRec;
class TFormMain;
class TFormKomunikat;
class TFormSplashScreen;
class TfmKoniecGry;
class TFormOProgramie;
class TfmMemory;
class TfmPodpisywanie;
class TfmUzupelnianie;
class TfmSpadajace;

// Runs the program on the already initialised platform: the resource check when the first argument is
// exactly "z", otherwise start-up, the event loop and teardown. Returns 0 in every case.
int uruchomProgram(const std::vector<std::string>& args);

// A signal ends the program: the game in progress is ended as its stop button would end it (its record
// appended, once), without the results screen. Safe from the signal thread while the loop is parked.
void zakonczGreWToku();

// The resource check on its own: compares Data\Sio, Data\Bio and Data\Smd with the word catalogue,
// writes "Raport zasobów.txt" when something is missing or redundant and tells the user.
void sprawdzZasoby();

// Removes the temporaries that writes of the program's own files leave when killed (".NAME.XXXXXX" beside
// each file it replaces atomically), in the user directory and its recordings folder; nothing else.
// Returns how many went. Called once the single-instance lock is held, so no running copy loses one.
int usunTymczasowe();
// The report lines without the heading (empty when every file is there and nothing else is). Raises
// EKatalog when the catalogue file is unusable.
std::vector<std::string> raportZasobow();

// Destroys the splash window if it is still there (the main menu does it 2 s after its first showing).
void usunSplash();

// Program-wide objects, set while they exist (from their creation at start-up until teardown).
extern CSlowa* slowa;
extern CStatRec* statRec;
extern TFormSplashScreen* FormSplashScreen;

// The windows, each set when start-up has created it. A window whose unit is not part of the program yet
// stays null, and whoever shows it checks first.
extern TFormMain* FormMain;
extern TFormKomunikat* FormKomunikat;
extern TfmMemory* fmMemory;
extern TfmPodpisywanie* fmPodpisywanie;
extern TfmUzupelnianie* fmUzupelnianie;
extern TfmSpadajace* fmSpadajace;
extern TfmKoniecGry* fmKoniecGry;
extern TFormOProgramie* FormOProgramie;

// The window of a game (ZAK_PODPISYWANIE ... ZAK_SPADAJACE) as a form, or null when it was not created.
platform::Form* oknoGry(int zakladka);
// The about window as a form, or null.
platform::Form* oknoOProgramie();

// Owns the windows start-up creates, in creation order, and destroys them in reverse order.
class OknaProgramu {
public:
    // Key of the about window (game windows are keyed by their game number, other windows by 0).
    static constexpr int O_PROGRAMIE = 100;

    OknaProgramu() = default;
    ~OknaProgramu();
    OknaProgramu(const OknaProgramu&) = delete;
    OknaProgramu& operator=(const OknaProgramu&) = delete;

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
