// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/GameWindow.hpp"
#include "games/completion/CompletionGame.hpp"

#include "platform/windows/Action.hpp"

#include <memory>

// The word-completion game's window: covers the content area, composes background, buttons, the word's
// picture, its unit row and the two choices off screen and shows the composition. Each showing starts a
// new game.
class CompletionWindow : public GameWindow {
public:
    // Raises FatalError code 1 when its pictures cannot be loaded.
    explicit CompletionWindow(ProgramWindows& windows);
    ~CompletionWindow() override;

    platform::Action A_Next, A_Previous;

    // Hides "pomoc" and takes its picture off the composition.
    void hideHelp();

    // The current game; null before the first one.
    CompletionGame* game() const { return game_.get(); }

protected:
    void showEvent() override;
    void hideEvent() override;
    void dblClickEvent() override;

private:
    void A_StopExecute() override;
    void A_NewGameExecute() override;
    void A_HelpExecute() override;
    void A_NextExecute();
    void A_PreviousExecute();
    void A_ScreenPaintExecute() override;

    std::unique_ptr<CompletionGame> game_;
};
