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
        przyciskPomoc_ = std::make_unique<GameButton>(*this, "pomoc", robocza_.canvas(), W - W / 10,
                                                      23 * H / 30, &A_Pomoc);
        przyciskStop_ = std::make_unique<GameButton>(*this, "stop", robocza_.canvas(), W - W / 10 + 4,
                                                     H - H / 9, &A_Stop);
    } catch (const std::exception&) {
        przyciskStop_.reset();
        przyciskPomoc_.reset();
        throw FatalError(1);
    }
}

// The board goes first: its click areas are controls of this window.
MemoryWindow::~MemoryWindow() {
    gra_.reset();
}

// ---- events

void MemoryWindow::showEvent() {
    zbudujObrazy();
    A_NowaGra.execute();
}

// A board left behind by "stop" must not end a game from the main menu when its show runs out.
void MemoryWindow::hideEvent() {
    if (gra_) gra_->zatrzymaj();
    zwolnijObrazy();
}

void MemoryWindow::mouseWheelEvent(int, platform::ShiftState, int, int) {
    context_.statistics->aktywnosc();
}

// ---- actions

void MemoryWindow::A_StopExecute() {
    // A card's timer may end the game while the results of the same game are on screen.
    if (wynikiNaEkranie()) return;
    zapiszGre(gra_ && gra_->wszystkieZnalezione());
    if (pokazWyniki() == 1)
        A_NowaGra.execute();
    else
        close();
}

void MemoryWindow::A_NowaGraExecute() {
    zbudujObrazy();
    gra_.reset();
    GameSettings& ust = context_.settings.memory;
    const int pary = ust.level == POZIOM_SREDNIO ? 6 : ust.level == POZIOM_DUZO ? 10 : 3;
    std::string blad;
    try {
        context_.catalogue->losuj(pary);
        context_.catalogue->wczytajMiniatury();
        gra_ = std::make_unique<MemoryGame>(*this, pary);
    } catch (const FatalError& brak) {
        // The game's own picture is missing: no game at all, and nothing to count.
        gra_.reset();
        brak.pokazBlad(this);
        close();
        return;
    } catch (const std::exception& e) {
        // No board: the window still shows and stops, and the game counts as not finished.
        gra_.reset();
        blad = e.what();
    }
    context_.statistics->start(ZAK_MEMORY, ust);
    A_EkranPaint.execute();
    if (!blad.empty()) platform::app().handleException(std::runtime_error(blad));
}

void MemoryWindow::A_PomocExecute() {
    context_.statistics->aktywnosc();
    if (gra_) gra_->podpowiedz();
}

void MemoryWindow::A_EkranPaintExecute() {
    zbudujObrazy();
    platform::Canvas& kanwa = robocza_.canvas();
    kanwa.draw(0, 0, tlo_);
    if (przyciskPomoc_) przyciskPomoc_->rysuj();
    if (przyciskStop_) przyciskStop_->rysuj();
    if (gra_) gra_->rysuj(kanwa);
    repaint();
}
