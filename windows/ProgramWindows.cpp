// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/ProgramWindows.hpp"

#include "core/GameSettings.hpp"
#include "platform/windows/Application.hpp"
#include "windows/SplashWindow.hpp"

ProgramWindows::ProgramWindows(ProgramContext& context) : context_(context) {}

ProgramWindows::~ProgramWindows() {
    destroyWindows();
    removeSplash();
}

void ProgramWindows::destroyWindows() {
    games_.fill(nullptr);
    mainMenu_ = nullptr;
    message_ = nullptr;
    results_ = nullptr;
    about_ = nullptr;
    if (platform::hasApp()) platform::app().setMainForm(nullptr);
    while (!windows_.empty())
        windows_.pop_back();
}

void ProgramWindows::keep(std::unique_ptr<platform::Form> window, platform::Form* form, int game) {
    if (game >= kGameLabelling && game <= kGameFalling) games_[game] = form;
    windows_.push_back(std::move(window));
}

platform::Form* ProgramWindows::game(int number) const {
    if (number < kGameLabelling || number > kGameFalling) return nullptr;
    return games_[number];
}

SplashWindow* ProgramWindows::showSplash() {
    splash_ = std::make_unique<SplashWindow>();
    splash_->show();
    return splash_.get();
}

void ProgramWindows::removeSplash() {
    if (splash_) splash_->hide();
    splash_.reset();
}
