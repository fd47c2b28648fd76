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
    A_Nastepny.name = "A_Nastepny";
    A_Poprzedni.name = "A_Poprzedni";
    A_Nastepny.onExecute = [this] { A_NastepnyExecute(); };
    A_Poprzedni.onExecute = [this] { A_PoprzedniExecute(); };
    try {
        platform::Canvas& k = robocza_.canvas();
        przyciskPomoc_ = std::make_unique<GameButton>(*this, "pomoc", k, W - W / 10, H / 7, &A_Pomoc);
        przyciskStop_ =
            std::make_unique<GameButton>(*this, "stop", k, W - W / 10 + 4, H / 7 + H / 8, &A_Stop);
        przyciskNast_ =
            std::make_unique<GameButton>(*this, "nast", k, W - W / 10, H / 7 + 2 * H / 8, &A_Nastepny);
        przyciskPop_ =
            std::make_unique<GameButton>(*this, "pop", k, W - W / 10, H / 7 + 3 * H / 8, &A_Poprzedni);
    } catch (const std::exception&) {
        przyciskPop_.reset();
        przyciskNast_.reset();
        przyciskStop_.reset();
        przyciskPomoc_.reset();
        throw FatalError(1);
    }
}

// The game goes first: its choice areas are controls of this window.
CompletionWindow::~CompletionWindow() {
    gra_.reset();
}

void CompletionWindow::ukryjPomoc() {
    if (!przyciskPomoc_) return;
    przyciskPomoc_->ukryj();
    const platform::Rect r = przyciskPomoc_->kontrolka().bounds();
    kanwaRobocza().copyRect(r, tlo_.canvas(), r);
}

// ---- events

void CompletionWindow::showEvent() {
    zbudujObrazy();
    A_NowaGra.execute();
    A_EkranPaint.execute();
}

// A game left behind must not end itself from the main menu.
void CompletionWindow::hideEvent() {
    if (gra_) gra_->zatrzymajTimer();
    zwolnijObrazy();
}

void CompletionWindow::dblClickEvent() {
    context_.statistics->aktywnosc();
    if (!gra_) return;
    gra_->zatrzymajTimer();
    if (!gra_->rozwiazane()) return;
    const platform::Point p = screenToClient(platform::app().cursorPos());
    if (gra_->otworzPonownie(p.x, p.y)) {
        if (przyciskPomoc_) przyciskPomoc_->pokaz();
        repaint();
    }
}

// ---- actions

void CompletionWindow::A_StopExecute() {
    if (gra_) gra_->zatrzymajTimer();
    // The end timer may not end the same game twice while its results are on screen.
    if (wynikiNaEkranie()) return;
    zapiszGre(gra_ && gra_->wszystkieZnalezione());
    const int wynik = pokazWyniki();
    if (wynik == 1) {
        A_NowaGra.execute();
        A_EkranPaint.execute();
    } else if (wynik == platform::kModalCancel) {
        close();
    }
}

void CompletionWindow::A_NowaGraExecute() {
    zbudujObrazy();
    gra_.reset();
    GameSettings& ust = context_.settings.completion;
    context_.catalogue->losujGrupami(ust.level * 5, ust);
    gra_ = std::make_unique<CompletionGame>(*this, robocza_.canvas(), tlo_.canvas());
    if (context_.layout.mode() == TRYB_800) {
        gra_->ustawObrazek(266, 310);
        context_.catalogue->wczytajObrazkiDuze("_ups.xji");
    } else {
        gra_->ustawObrazek(338, 388);
        context_.catalogue->wczytajObrazkiDuze("_upb.xji");
    }
    context_.statistics->start(ZAK_UZUPELNIANIE, ust);
}

void CompletionWindow::A_PomocExecute() {
    context_.statistics->aktywnosc();
    if (gra_) gra_->podpowiedz();
}

void CompletionWindow::A_NastepnyExecute() {
    context_.statistics->aktywnosc();
    if (!gra_) return;
    if (gra_->nastepne())
        A_EkranPaint.execute();
    else
        A_Stop.execute();
}

void CompletionWindow::A_PoprzedniExecute() {
    context_.statistics->aktywnosc();
    if (!gra_) return;
    if (gra_->poprzednie())
        A_EkranPaint.execute();
    else
        platform::messageBox(this, "Pierwsze słowo", "Info", platform::MessageIcon::None);
}

void CompletionWindow::A_EkranPaintExecute() {
    zbudujObrazy();
    robocza_.canvas().copyRect(prostokat, tlo_.canvas(), prostokat);
    if (przyciskStop_) przyciskStop_->rysuj();
    if (gra_) {
        if (gra_->jestOstatnie())
            przyciskNast_->ukryj();
        else
            przyciskNast_->pokaz();
        if (gra_->jestPierwsze())
            przyciskPop_->ukryj();
        else
            przyciskPop_->pokaz();
        if (gra_->rozwiazane())
            przyciskPomoc_->ukryj();
        else
            przyciskPomoc_->pokaz();
        gra_->przygotujZadanie();
        gra_->rysuj();
    }
    repaint();
}
