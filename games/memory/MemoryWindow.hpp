// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "games/GameWindow.hpp"
#include "games/memory/MemoryGame.hpp"

#include <memory>

// The memory game's window. Each showing deals a new game.
class MemoryWindow : public GameWindow {
public:
    // Raises FatalError code 1 when its pictures cannot be loaded.
    explicit MemoryWindow(ProgramWindows& windows);
    ~MemoryWindow() override;

    // The current game; null before the first one and after a board that could not be built.
    MemoryGame* game() const { return game_.get(); }

protected:
    void showEvent() override;
    void hideEvent() override;
    void mouseWheelEvent(int delta, platform::ShiftState shift, int x, int y) override;

private:
    void A_StopExecute() override;
    void A_NewGameExecute() override;
    void A_HelpExecute() override;
    void A_ScreenPaintExecute() override;

    std::unique_ptr<MemoryGame> game_;
};
