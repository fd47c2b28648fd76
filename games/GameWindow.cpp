// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/GameWindow.hpp"

#include "core/FatalError.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/loop/LoopServices.hpp"
#include "widgets/Buttons.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"

#include <exception>
#include <utility>

GameWindow::GameWindow(ProgramWindows& windows, const char* title, const char* windowName,
                       std::string background800, std::string background1024)
    : Form(title), windows_(windows), context_(windows.context()) {
    name = windowName;
    A_Stop.name = "A_Stop";
    A_NewGame.name = "A_NowaGra";
    A_Help.name = "A_Pomoc";
    A_ScreenPaint.name = "A_EkranPaint";
    A_Stop.onExecute = [this] { A_StopExecute(); };
    A_NewGame.onExecute = [this] { A_NewGameExecute(); };
    A_Help.onExecute = [this] { A_HelpExecute(); };
    A_ScreenPaint.onExecute = [this] { A_ScreenPaintExecute(); };

    mode_ = context_.layout.mode();
    W = context_.layout.areaWidth();
    H = context_.layout.areaHeight();
    backgroundFile_ = std::move(mode_ == kMode800 ? background800 : background1024);
    try {
        // Read once here so a missing picture stops the window now; kept only while shown.
        platform::Bitmap backgroundPicture;
        if (backgroundFile_.ends_with(".xbi"))
            loadBmp(backgroundPicture, backgroundFile_);
        else
            loadJpeg(backgroundPicture, backgroundFile_);
    } catch (const std::exception&) {
        throw FatalError(1);
    }
    setBounds(context_.layout.offsetX(), context_.layout.offsetY(), W, H);
    prostokat = {0, 0, W, H};
}

GameWindow::~GameWindow() = default;

void GameWindow::wait(int ms) {
    platform::loop::blockFor(ms);
}

std::size_t GameWindow::pictureBytes() const {
    return background_.byteSize() + workBitmap_.byteSize();
}

void GameWindow::buildPictures() {
    if (!workBitmap_.empty()) return;
    background_ = windowBackground(backgroundFile_, W, H);
    workBitmap_ = platform::Bitmap(W, H);
}

void GameWindow::releasePictures() {
    background_ = platform::Bitmap();
    workBitmap_ = platform::Bitmap();
}

void GameWindow::paintEvent() {
    canvas().draw(0, 0, workBitmap_);
}

void GameWindow::keyPressEvent(int charCode) {
    context_.statistics->activity();
    if (charCode == 27) A_Stop.execute();
}

bool GameWindow::resultsShown() const {
    return windows_.results() && windows_.results()->visible();
}

void GameWindow::saveGame(bool completed) {
    context_.statistics->finish();
    context_.statistics->save(completed ? 1 : 0);
}

int GameWindow::showResults() {
    return windows_.results() ? windows_.results()->showModal() : platform::kModalCancel;
}

void GameWindow::createButtonColumn(platform::Action* next, platform::Action* previous) {
    try {
        platform::Canvas& k = workBitmap_.canvas();
        const int x = W - W / 10;
        helpButton_ = std::make_unique<GameButton>(*this, "pomoc", k, x, H / 7, &A_Help);
        stopButton_ = std::make_unique<GameButton>(*this, "stop", k, x + 4, H / 7 + H / 8, &A_Stop);
        if (next) nextButton_ = std::make_unique<GameButton>(*this, "nast", k, x, H / 7 + 2 * H / 8, next);
        if (previous)
            previousButton_ = std::make_unique<GameButton>(*this, "pop", k, x, H / 7 + 3 * H / 8, previous);
    } catch (const std::exception&) {
        previousButton_.reset();
        nextButton_.reset();
        stopButton_.reset();
        helpButton_.reset();
        throw FatalError(1);
    }
}
