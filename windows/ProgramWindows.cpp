// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/ProgramWindows.hpp"

#include "core/GameSettings.hpp"
#include "platform/windows/Application.hpp"
#include "windows/SplashWindow.hpp"

#include <array>

MainMenu* FormMain = nullptr;
MessageWindow* FormKomunikat = nullptr;
ResultsWindow* fmKoniecGry = nullptr;
AboutWindow* FormOProgramie = nullptr;

namespace {

std::array<platform::Form*, 5> g_oknaGier{};
platform::Form* g_oknoOProgramie = nullptr;
std::unique_ptr<SplashWindow> g_splash;

} // namespace

SplashWindow* pokazSplash() {
    g_splash = std::make_unique<SplashWindow>();
    g_splash->show();
    return g_splash.get();
}

SplashWindow* splashWindow() {
    return g_splash.get();
}

void usunSplash() {
    if (g_splash) g_splash->hide();
    g_splash.reset();
}

ProgramWindows::~ProgramWindows() {
    g_oknaGier.fill(nullptr);
    g_oknoOProgramie = nullptr;
    if (platform::hasApp()) platform::app().setMainForm(nullptr);
    while (!okna_.empty())
        okna_.pop_back();
}

void ProgramWindows::dodaj(std::unique_ptr<platform::Form> okno, int klucz) {
    if (klucz >= ZAK_PODPISYWANIE && klucz <= ZAK_SPADAJACE) g_oknaGier[klucz] = okno.get();
    if (klucz == O_PROGRAMIE) g_oknoOProgramie = okno.get();
    okna_.push_back(std::move(okno));
}

platform::Form* oknoGry(int zakladka) {
    if (zakladka < ZAK_PODPISYWANIE || zakladka > ZAK_SPADAJACE) return nullptr;
    return g_oknaGier[zakladka];
}

platform::Form* oknoOProgramie() {
    return g_oknoOProgramie;
}
