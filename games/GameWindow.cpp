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
    A_NowaGra.name = "A_NowaGra";
    A_Pomoc.name = "A_Pomoc";
    A_EkranPaint.name = "A_EkranPaint";
    A_Stop.onExecute = [this] { A_StopExecute(); };
    A_NowaGra.onExecute = [this] { A_NowaGraExecute(); };
    A_Pomoc.onExecute = [this] { A_PomocExecute(); };
    A_EkranPaint.onExecute = [this] { A_EkranPaintExecute(); };

    tryb_ = context_.layout.mode();
    W = context_.layout.areaWidth();
    H = context_.layout.areaHeight();
    plikTla_ = std::move(tryb_ == TRYB_800 ? background800 : background1024);
    try {
        // Read once here so a missing picture stops the window now; kept only while shown.
        platform::Bitmap obrazTla;
        if (plikTla_.ends_with(".xbi"))
            wczytajBmp(obrazTla, plikTla_);
        else
            wczytajJpeg(obrazTla, plikTla_);
    } catch (const std::exception&) {
        throw FatalError(1);
    }
    setBounds(context_.layout.offsetX(), context_.layout.offsetY(), W, H);
    prostokat = {0, 0, W, H};
}

GameWindow::~GameWindow() = default;

void GameWindow::czekaj(int ms) {
    platform::loop::blockFor(ms);
}

std::size_t GameWindow::bajtyObrazow() const {
    return tlo_.byteSize() + robocza_.byteSize();
}

void GameWindow::zbudujObrazy() {
    if (!robocza_.empty()) return;
    tlo_ = tloOkna(plikTla_, W, H);
    robocza_ = platform::Bitmap(W, H);
}

void GameWindow::zwolnijObrazy() {
    tlo_ = platform::Bitmap();
    robocza_ = platform::Bitmap();
}

void GameWindow::paintEvent() {
    canvas().draw(0, 0, robocza_);
}

void GameWindow::keyPressEvent(int charCode) {
    context_.statistics->aktywnosc();
    if (charCode == 27) A_Stop.execute();
}

bool GameWindow::wynikiNaEkranie() const {
    return windows_.results() && windows_.results()->visible();
}

void GameWindow::zapiszGre(bool ukonczona) {
    context_.statistics->zakoncz();
    context_.statistics->zapisz(ukonczona ? 1 : 0);
}

int GameWindow::pokazWyniki() {
    return windows_.results() ? windows_.results()->showModal() : platform::kModalCancel;
}
