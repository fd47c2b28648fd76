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
    A_Nastepny.name = "A_Nastepny";
    A_Poprzedni.name = "A_Poprzedni";
    A_Powiedz.name = "A_Powiedz";
    A_Nastepny.onExecute = [this] { A_NastepnyExecute(); };
    A_Poprzedni.onExecute = [this] { A_PoprzedniExecute(); };
    A_Powiedz.onExecute = [this] { A_PowiedzExecute(); };
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
        gra_.reset();
        throw FatalError(1);
    }
    tloBiezace_ = &obrazTla_;
}

// The game goes first: its tiles' hit areas are controls of this window.
LabellingWindow::~LabellingWindow() {
    gra_.reset();
}

// A picture that went missing since start-up leaves the background black rather than no window.
void LabellingWindow::zbudujObrazy() {
    if (!robocza_.empty()) return;
    try {
        wczytajJpeg(obrazTla_, plikTla());
    } catch (const std::exception&) {
        obrazTla_ = platform::Bitmap();
    }
    tlo_ = platform::Bitmap(W, H);
    tlo_.canvas().draw(0, 0, obrazTla_);
    robocza_ = platform::Bitmap(W, H);
    przeciagania_ = platform::Bitmap(W, H);
}

void LabellingWindow::zwolnijObrazy() {
    for (platform::Bitmap* b : {&obrazTla_, &tlo_, &robocza_, &przeciagania_})
        *b = platform::Bitmap();
}

std::size_t LabellingWindow::bajtyObrazow() const {
    return obrazTla_.byteSize() + tlo_.byteSize() + robocza_.byteSize() + przeciagania_.byteSize();
}

// ---- what the game asks of the window

void LabellingWindow::scenaBez(LetterTile&) {
    platform::Canvas& k = robocza_.canvas();
    k.copyRect(prostokat, tlo_, prostokat);
    przyciskPomoc_->rysuj();
    przyciskStop_->rysuj();
    odswiezPrzyciski();
    if (gra_) {
        gra_->rysujObrazek();
        gra_->rysujPola(k);
        gra_->rysujLitery();
    }
    przeciagania_.canvas().copyRect(prostokat, robocza_, prostokat);
    if (gra_) gra_->ustawKanwy(k, przeciagania_.canvas());
}

std::vector<platform::Rect> LabellingWindow::obszaryPrzyciskow() const {
    std::vector<platform::Rect> r;
    for (GameButton* p : {przyciskPomoc_.get(), przyciskStop_.get(), przyciskNast_.get(), przyciskPop_.get()})
        if (p) r.push_back(p->kontrolka().bounds());
    return r;
}

// Once the word is solved the button must not stay on screen looking usable.
void LabellingWindow::ukryjPomoc() {
    przyciskPomoc_->ukryj();
    const platform::Rect r = przyciskPomoc_->kontrolka().bounds();
    robocza_.canvas().copyRect(r, tlo_, r);
    invalidate(r);
}

// ---- events

void LabellingWindow::paintEvent() {
    if (gra_) gra_->rysujLitery();
    canvas().draw(0, 0, robocza_);
}

void LabellingWindow::showEvent() {
    zbudujObrazy();
    A_NowaGra.execute();
}

// A game left for the main menu must not end by its timer there.
void LabellingWindow::hideEvent() {
    if (gra_) gra_->timerKonca().stop();
    zwolnijObrazy();
}

void LabellingWindow::mouseDownEvent(platform::MouseButton, platform::ShiftState, int, int) {
    context_.statistics->aktywnosc();
}

void LabellingWindow::mouseWheelEvent(int, platform::ShiftState, int, int) {
    context_.statistics->aktywnosc();
}

void LabellingWindow::dblClickEvent() {
    context_.statistics->aktywnosc();
    if (!gra_) return;
    gra_->timerKonca().stop();
    if (!gra_->rozwiazane()) return;
    const platform::Point p = screenToClient(platform::app().cursorPos());
    if (gra_->trafionoObrazek(p.x, p.y)) {
        gra_->przygotujZadanie();
        pelneRysowanie();
    }
}

// ---- drawing

void LabellingWindow::rysujTlo() {
    if (tloBiezace_) tlo_.canvas().draw(0, 0, *tloBiezace_);
    robocza_.canvas().copyRect(prostokat, tlo_, prostokat);
}

void LabellingWindow::odswiezPrzyciski() {
    if (!gra_ || gra_->jestOstatnie())
        przyciskNast_->ukryj();
    else
        przyciskNast_->pokaz();
    if (!gra_ || gra_->jestPierwsze())
        przyciskPop_->ukryj();
    else
        przyciskPop_->pokaz();
}

void LabellingWindow::pelneRysowanie() {
    rysujTlo();
    platform::Canvas& k = robocza_.canvas();
    przeciagania_.canvas().copyRect(prostokat, robocza_, prostokat);
    if (gra_) gra_->ustawKanwy(k, przeciagania_.canvas());
    przyciskStop_->rysuj();
    odswiezPrzyciski();
    if (!gra_ || gra_->rozwiazane())
        przyciskPomoc_->ukryj();
    else
        przyciskPomoc_->pokaz();
    if (gra_) {
        gra_->rysujObrazek();
        gra_->rozrzuc();
    }
    repaint();
}

// ---- actions

void LabellingWindow::A_StopExecute() {
    if (gra_) gra_->timerKonca().stop();
    if (wynikiNaEkranie()) return;
    zapiszGre(gra_ && gra_->wszystkieZnalezione());
    const int wynik = pokazWyniki();
    if (wynik == 1)
        A_NowaGra.execute();
    else if (wynik == platform::kModalCancel)
        close();
}

void LabellingWindow::A_NowaGraExecute() {
    zbudujObrazy();
    gra_.reset();
    GameSettings& ust = context_.settings.labelling;
    const int ile = ust.level * 5;
    std::string blad;
    try {
        context_.catalogue->losuj(ile);
        if (context_.catalogue->wybrane().empty()) throw std::runtime_error("Za mało słów do gry");
        gra_ = std::make_unique<LabellingGame>(*this);
        if (tryb_ == TRYB_800) {
            gra_->ustawObrazek(274, 140);
            context_.catalogue->wczytajObrazki("_ups.xji");
        } else {
            gra_->ustawObrazek(348, 172);
            context_.catalogue->wczytajObrazki("_upb.xji");
        }
        gra_->przygotujZadanie();
    } catch (const std::exception& e) {
        // No game: the window still shows and stops, and the game counts as not finished.
        gra_.reset();
        blad = e.what();
    }
    context_.statistics->start(ZAK_PODPISYWANIE, ust);
    A_EkranPaint.execute();
    if (!blad.empty()) platform::app().handleException(std::runtime_error(blad));
}

void LabellingWindow::A_EkranPaintExecute() {
    zbudujObrazy();
    tloBiezace_ = &obrazTla_;
    pelneRysowanie();
}

void LabellingWindow::przejdz(bool naprzod) {
    context_.statistics->aktywnosc();
    if (!gra_) return;
    gra_->timerKonca().stop();
    if (!(naprzod ? gra_->nastepne() : gra_->poprzednie())) return;
    if (!gra_->rozwiazane()) {
        gra_->przygotujZadanie();
        A_EkranPaint.execute();
        return;
    }
    rysujTlo();
    gra_->ustawKanwy(robocza_.canvas(), przeciagania_.canvas());
    gra_->przygotujZadanie();
    przyciskStop_->rysuj();
    odswiezPrzyciski();
    przyciskPomoc_->ukryj();
    gra_->rysujObrazek();
    gra_->pokazRozwiazanie();
    repaint();
}

void LabellingWindow::A_NastepnyExecute() {
    przejdz(true);
}

void LabellingWindow::A_PoprzedniExecute() {
    przejdz(false);
}

void LabellingWindow::A_PomocExecute() {
    context_.statistics->aktywnosc();
    if (!gra_) return;
    gra_->timerKonca().stop();
    rysujTlo();
    gra_->ustawKanwy(robocza_.canvas(), przeciagania_.canvas());
    gra_->przygotujZadanie();
    przyciskPomoc_->rysuj();
    przyciskStop_->rysuj();
    odswiezPrzyciski();
    gra_->podpowiedz();
    pelneRysowanie();
}

void LabellingWindow::A_PowiedzExecute() {
    context_.statistics->aktywnosc();
    if (!gra_) return;
    gra_->timerKonca().stop();
    gra_->powiedz();
}
