// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/completion/CompletionWindow.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/loop/LoopServices.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Dialogs.hpp"
#include "widgets/Buttons.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <exception>

CompletionWindow::CompletionWindow(ProgramWindows& windows)
    : GameWindow(windows, "Uzupełnianie", "fmUzupelnianie", "Data\\Intf\\Spec\\mT_Uzu_s.xji",
                 "Data\\Intf\\Spec\\mT_Uzu_b.xji") {
    A_Next.name = "A_Nastepny";
    A_Previous.name = "A_Poprzedni";
    A_Next.onExecute = [this] { A_NextExecute(); };
    A_Previous.onExecute = [this] { A_PreviousExecute(); };
    createButtonColumn(&A_Next, &A_Previous);
}

// The game goes first: its choice areas are controls of this window.
CompletionWindow::~CompletionWindow() {
    game_.reset();
}

void CompletionWindow::hideHelp() {
    if (!helpButton_) return;
    helpButton_->hide();
    const platform::Rect r = helpButton_->control().bounds();
    workCanvas().copyRect(r, background_.canvas(), r);
}

// ---- events

void CompletionWindow::showEvent() {
    buildPictures();
    A_NewGame.execute();
    A_ScreenPaint.execute();
}

// A game left behind must not end itself from the main menu.
void CompletionWindow::hideEvent() {
    if (game_) game_->stopTimer();
    releasePictures();
}

void CompletionWindow::dblClickEvent() {
    context_.statistics->activity();
    if (!game_) return;
    game_->stopTimer();
    if (!game_->solved()) return;
    const platform::Point p = screenToClient(platform::app().cursorPos());
    if (game_->reopen(p.x, p.y)) {
        if (helpButton_) helpButton_->show();
        repaint();
    }
}

// ---- actions

void CompletionWindow::A_StopExecute() {
    if (game_) game_->stopTimer();
    // The end timer may not end the same game twice while its results are on screen.
    if (resultsShown()) return;
    saveGame(game_ && game_->allFound());
    const int result = showResults();
    if (result == 1) {
        A_NewGame.execute();
        A_ScreenPaint.execute();
    } else if (result == platform::kModalCancel) {
        close();
    }
}

void CompletionWindow::A_NewGameExecute() {
    buildPictures();
    game_.reset();
    GameSettings& settings = context_.settings.completion;
    context_.catalogue->drawRandomGroups(settings.level * 5, settings);
    game_ = std::make_unique<CompletionGame>(*this, workBitmap_.canvas(), background_.canvas());
    if (context_.layout.mode() == kMode800) {
        game_->placePicture(266, 310);
        context_.catalogue->loadLargePictures("_ups.xji");
    } else {
        game_->placePicture(338, 388);
        context_.catalogue->loadLargePictures("_upb.xji");
    }
    context_.statistics->start(kGameCompletion, settings);
}

void CompletionWindow::A_HelpExecute() {
    context_.statistics->activity();
    if (game_) game_->hint();
}

void CompletionWindow::A_NextExecute() {
    context_.statistics->activity();
    if (!game_) return;
    if (game_->next())
        A_ScreenPaint.execute();
    else
        A_Stop.execute();
}

void CompletionWindow::A_PreviousExecute() {
    context_.statistics->activity();
    if (!game_) return;
    if (game_->previous())
        A_ScreenPaint.execute();
    else
        platform::messageBox(this, "Pierwsze słowo", "Info", platform::MessageIcon::None);
}

void CompletionWindow::A_ScreenPaintExecute() {
    buildPictures();
    workBitmap_.canvas().copyRect(prostokat, background_.canvas(), prostokat);
    if (stopButton_) stopButton_->draw();
    if (game_) {
        if (game_->isLast())
            nextButton_->hide();
        else
            nextButton_->show();
        if (game_->isFirst())
            previousButton_->hide();
        else
            previousButton_->show();
        if (game_->solved())
            helpButton_->hide();
        else
            helpButton_->show();
        game_->prepareTask();
        game_->draw();
    }
    repaint();
}
