// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/memory/MemoryWindow.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/loop/LoopServices.hpp"
#include "platform/windows/Application.hpp"
#include "widgets/Buttons.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <exception>
#include <stdexcept>
#include <string>

MemoryWindow::MemoryWindow(ProgramWindows& windows)
    : GameWindow(windows, "Memory", "fmMemory", "Data\\Intf\\Spec\\mT_Mem_s.xji",
                 "Data\\Intf\\Spec\\mT_Mem_b.xji") {
    try {
        helpButton_ = std::make_unique<GameButton>(*this, "pomoc", workBitmap_.canvas(), W - W / 10,
                                                   23 * H / 30, &A_Help);
        stopButton_ = std::make_unique<GameButton>(*this, "stop", workBitmap_.canvas(), W - W / 10 + 4,
                                                   H - H / 9, &A_Stop);
    } catch (const std::exception&) {
        stopButton_.reset();
        helpButton_.reset();
        throw FatalError(1);
    }
}

// The board goes first: its click areas are controls of this window.
MemoryWindow::~MemoryWindow() {
    game_.reset();
}

// ---- events

void MemoryWindow::showEvent() {
    buildPictures();
    A_NewGame.execute();
}

// A board left behind by "stop" must not end a game from the main menu when its show runs out.
void MemoryWindow::hideEvent() {
    if (game_) game_->stop();
    releasePictures();
}

void MemoryWindow::mouseWheelEvent(int, platform::ShiftState, int, int) {
    context_.statistics->activity();
}

// ---- actions

void MemoryWindow::A_StopExecute() {
    // A card's timer may end the game while the results of the same game are on screen.
    if (resultsShown()) return;
    saveGame(game_ && game_->allFound());
    if (showResults() == 1)
        A_NewGame.execute();
    else
        close();
}

void MemoryWindow::A_NewGameExecute() {
    buildPictures();
    game_.reset();
    GameSettings& settings = context_.settings.memory;
    const int pairs = settings.level == kQuantitySrednio ? 6 : settings.level == kQuantityDuzo ? 10 : 3;
    std::string error;
    try {
        context_.catalogue->drawRandom(pairs);
        context_.catalogue->loadThumbnails();
        game_ = std::make_unique<MemoryGame>(*this, pairs);
    } catch (const FatalError& missing) {
        // The game's own picture is missing: no game at all, and nothing to count.
        game_.reset();
        missing.showError(this);
        close();
        return;
    } catch (const std::exception& e) {
        // No board: the window still shows and stops, and the game counts as not finished.
        game_.reset();
        error = e.what();
    }
    context_.statistics->start(kGameMemory, settings);
    A_ScreenPaint.execute();
    if (!error.empty()) platform::app().handleException(std::runtime_error(error));
}

void MemoryWindow::A_HelpExecute() {
    context_.statistics->activity();
    if (game_) game_->hint();
}

void MemoryWindow::A_ScreenPaintExecute() {
    buildPictures();
    platform::Canvas& canvas = workBitmap_.canvas();
    canvas.draw(0, 0, background_);
    if (helpButton_) helpButton_->draw();
    if (stopButton_) stopButton_->draw();
    if (game_) game_->draw(canvas);
    repaint();
}
