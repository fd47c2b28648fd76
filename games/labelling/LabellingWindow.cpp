// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/labelling/LabellingWindow.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "widgets/Buttons.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <exception>
#include <stdexcept>
#include <string>

LabellingWindow::LabellingWindow(ProgramWindows& windows)
    : GameWindow(windows, "Podpisywanie", "fmPodpisywanie", "Data\\Intf\\Spec\\mT_Pod_s1.xji",
                 "Data\\Intf\\Spec\\mT_Pod_b1.xji") {
    A_Next.name = "A_Nastepny";
    A_Previous.name = "A_Poprzedni";
    A_Say.name = "A_Powiedz";
    A_Next.onExecute = [this] { A_NextExecute(); };
    A_Previous.onExecute = [this] { A_PreviousExecute(); };
    A_Say.onExecute = [this] { A_SayExecute(); };
    createButtonColumn(&A_Next, &A_Previous);
    currentBackground_ = &backgroundPicture_;
}

// The game goes first: its tiles' hit areas are controls of this window.
LabellingWindow::~LabellingWindow() {
    game_.reset();
}

// A picture that went missing since start-up leaves the background black rather than no window.
void LabellingWindow::buildPictures() {
    if (!workBitmap_.empty()) return;
    try {
        loadJpeg(backgroundPicture_, backgroundFile());
    } catch (const std::exception&) {
        backgroundPicture_ = platform::Bitmap();
    }
    background_ = platform::Bitmap(W, H);
    background_.canvas().draw(0, 0, backgroundPicture_);
    workBitmap_ = platform::Bitmap(W, H);
    dragBitmap_ = platform::Bitmap(W, H);
}

void LabellingWindow::releasePictures() {
    for (platform::Bitmap* b : {&backgroundPicture_, &background_, &workBitmap_, &dragBitmap_})
        *b = platform::Bitmap();
}

std::size_t LabellingWindow::pictureBytes() const {
    return backgroundPicture_.byteSize() + background_.byteSize() + workBitmap_.byteSize() +
           dragBitmap_.byteSize();
}

// ---- what the game asks of the window

void LabellingWindow::sceneWithout(LetterTile&) {
    platform::Canvas& k = workBitmap_.canvas();
    k.copyRect(prostokat, background_, prostokat);
    helpButton_->draw();
    stopButton_->draw();
    refreshButtons();
    if (game_) {
        game_->drawPicture();
        game_->drawFields(k);
        game_->drawTiles();
    }
    dragBitmap_.canvas().copyRect(prostokat, workBitmap_, prostokat);
    if (game_) game_->setCanvases(k, dragBitmap_.canvas());
}

std::vector<platform::Rect> LabellingWindow::buttonAreas() const {
    std::vector<platform::Rect> r;
    for (GameButton* p : {helpButton_.get(), stopButton_.get(), nextButton_.get(), previousButton_.get()})
        if (p) r.push_back(p->control().bounds());
    return r;
}

// Once the word is solved the button must not stay on screen looking usable.
void LabellingWindow::hideHelp() {
    helpButton_->hide();
    const platform::Rect r = helpButton_->control().bounds();
    workBitmap_.canvas().copyRect(r, background_, r);
    invalidate(r);
}

// ---- events

void LabellingWindow::paintEvent() {
    if (game_) game_->drawTiles();
    canvas().draw(0, 0, workBitmap_);
}

void LabellingWindow::showEvent() {
    buildPictures();
    A_NewGame.execute();
}

// A game left for the main menu must not end by its timer there.
void LabellingWindow::hideEvent() {
    if (game_) game_->endTimer().stop();
    releasePictures();
}

void LabellingWindow::mouseDownEvent(platform::MouseButton, platform::ShiftState, int, int) {
    context_.statistics->activity();
}

void LabellingWindow::mouseWheelEvent(int, platform::ShiftState, int, int) {
    context_.statistics->activity();
}

void LabellingWindow::dblClickEvent() {
    context_.statistics->activity();
    if (!game_) return;
    game_->endTimer().stop();
    if (!game_->solved()) return;
    const platform::Point p = screenToClient(platform::app().cursorPos());
    if (game_->hitsPicture(p.x, p.y)) {
        game_->prepareTask();
        fullRedraw();
    }
}

// ---- drawing

void LabellingWindow::drawBackground() {
    if (currentBackground_) background_.canvas().draw(0, 0, *currentBackground_);
    workBitmap_.canvas().copyRect(prostokat, background_, prostokat);
}

void LabellingWindow::refreshButtons() {
    if (!game_ || game_->isLast())
        nextButton_->hide();
    else
        nextButton_->show();
    if (!game_ || game_->isFirst())
        previousButton_->hide();
    else
        previousButton_->show();
}

void LabellingWindow::fullRedraw() {
    drawBackground();
    platform::Canvas& k = workBitmap_.canvas();
    dragBitmap_.canvas().copyRect(prostokat, workBitmap_, prostokat);
    if (game_) game_->setCanvases(k, dragBitmap_.canvas());
    stopButton_->draw();
    refreshButtons();
    if (!game_ || game_->solved())
        helpButton_->hide();
    else
        helpButton_->show();
    if (game_) {
        game_->drawPicture();
        game_->scatter();
    }
    repaint();
}

// ---- actions

void LabellingWindow::A_StopExecute() {
    if (game_) game_->endTimer().stop();
    if (resultsShown()) return;
    saveGame(game_ && game_->allFound());
    const int result = showResults();
    if (result == 1)
        A_NewGame.execute();
    else if (result == platform::kModalCancel)
        close();
}

void LabellingWindow::A_NewGameExecute() {
    buildPictures();
    game_.reset();
    GameSettings& settings = context_.settings.labelling;
    const int count = settings.level * 5;
    std::string error;
    try {
        context_.catalogue->drawRandom(count);
        if (context_.catalogue->chosenWords().empty()) throw std::runtime_error("Za mało słów do gry");
        game_ = std::make_unique<LabellingGame>(*this);
        if (mode_ == kMode800) {
            game_->placePicture(274, 140);
            context_.catalogue->loadPictures("_ups.xji");
        } else {
            game_->placePicture(348, 172);
            context_.catalogue->loadPictures("_upb.xji");
        }
        game_->prepareTask();
    } catch (const std::exception& e) {
        // No game: the window still shows and stops, and the game counts as not finished.
        game_.reset();
        error = e.what();
    }
    context_.statistics->start(kGameLabelling, settings);
    A_ScreenPaint.execute();
    if (!error.empty()) platform::app().handleException(std::runtime_error(error));
}

void LabellingWindow::A_ScreenPaintExecute() {
    buildPictures();
    currentBackground_ = &backgroundPicture_;
    fullRedraw();
}

void LabellingWindow::navigate(bool ahead) {
    context_.statistics->activity();
    if (!game_) return;
    game_->endTimer().stop();
    if (!(ahead ? game_->next() : game_->previous())) return;
    if (!game_->solved()) {
        game_->prepareTask();
        A_ScreenPaint.execute();
        return;
    }
    drawBackground();
    game_->setCanvases(workBitmap_.canvas(), dragBitmap_.canvas());
    game_->prepareTask();
    stopButton_->draw();
    refreshButtons();
    helpButton_->hide();
    game_->drawPicture();
    game_->showSolution();
    repaint();
}

void LabellingWindow::A_NextExecute() {
    navigate(true);
}

void LabellingWindow::A_PreviousExecute() {
    navigate(false);
}

void LabellingWindow::A_HelpExecute() {
    context_.statistics->activity();
    if (!game_) return;
    game_->endTimer().stop();
    drawBackground();
    game_->setCanvases(workBitmap_.canvas(), dragBitmap_.canvas());
    game_->prepareTask();
    helpButton_->draw();
    stopButton_->draw();
    refreshButtons();
    game_->hint();
    fullRedraw();
}

void LabellingWindow::A_SayExecute() {
    context_.statistics->activity();
    if (!game_) return;
    game_->endTimer().stop();
    game_->say();
}
