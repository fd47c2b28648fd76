// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/falling/FallingWindow.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Cursor.hpp"
#include "widgets/Buttons.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <exception>
#include <stdexcept>
#include <string>

namespace {

platform::Font czcionkaNapisow() {
    platform::Font f;
    f.family = "Arial Black";
    f.height = 17;
    return f;
}

std::string nazwyGlosek(std::uint16_t gloski) {
    static const std::pair<std::uint16_t, const char*> nazwy[] = {
        {GL_SZ, "SZ"}, {GL_ZZ, "Ż/RZ"}, {GL_CZ, "CZ"}, {GL_DZZ, "DŻ"}};
    std::string wynik;
    for (const auto& [bit, nazwa] : nazwy) {
        if (!(gloski & bit)) continue;
        if (!wynik.empty()) wynik += ", ";
        wynik += nazwa;
    }
    return wynik;
}

} // namespace

platform::Bitmap FallingWindow::rysujCelownik() {
    platform::Bitmap b(32, 32, platform::PixelFormat::Bgra32);
    b.fill(0);
    const auto punkt = [&b](int x, int y) {
        if (x < 0 || y < 0 || x >= 32 || y >= 32) return;
        std::uint8_t* p = b.scanline(y) + 4 * x;
        p[0] = 0;
        p[1] = 0;
        p[2] = 255;
        p[3] = 255;
    };
    // Circle of radius about 12, two pixels thick, measured from the hot spot (16, 16).
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int dx = x - 16, dy = y - 16;
            const int r2 = dx * dx + dy * dy;
            if (r2 >= 11 * 11 && r2 <= 13 * 13) punkt(x, y);
            // The diagonals, left open around the centre so the target stays visible.
            if ((dx == dy || dx == -dy) && r2 > 4 * 4 * 2 && r2 <= 15 * 15) punkt(x, y);
        }
    return b;
}

FallingWindow::FallingWindow(ProgramWindows& windows)
    : GameWindow(windows, "Spadające", "fmSpadajace", "Data\\Intf\\Spec\\mT_Spa_s.xbi",
                 "Data\\Intf\\Spec\\mT_Spa_b.xbi"),
      vpSzukaj(*this), vpSzukGloski(*this) {
    t_Game.onTimer = [this] { tick(); };

    for (platform::Label* l : {&vpSzukaj, &vpSzukGloski}) {
        l->setFont(czcionkaNapisow());
        l->setTransparent(true);
        l->setAutoSize(true);
    }
    vpSzukaj.name = "vpSzukaj";
    vpSzukGloski.name = "vpSzukGloski";

    try {
        vpSzukaj.setPosition((W / 80) * (tryb_ == TRYB_1024 ? 68 : 62), (H / 80) * 77);
        przyciskPomoc_ =
            std::make_unique<GameButton>(*this, "pomoc", robocza_.canvas(), W - W / 10, H / 7, &A_Pomoc);
        przyciskStop_ = std::make_unique<GameButton>(*this, "stop", robocza_.canvas(), W - W / 10 + 4,
                                                     H / 7 + H / 8, &A_Stop);
        platform::registerCursor(kKursorCelownik, rysujCelownik(), {16, 16});
        setCursor(kKursorCelownik);
    } catch (const std::exception&) {
        setCursor(platform::kCursorDefault);
        gra_.reset();
        przyciskStop_.reset();
        przyciskPomoc_.reset();
        throw FatalError(1);
    }
}

// A picture that went missing since start-up leaves the background black rather than no window.
void FallingWindow::zbudujObrazy() {
    if (!robocza_.empty()) return;
    try {
        wczytajBmp(obrazTla_, plikTla());
    } catch (const std::exception&) {
        obrazTla_ = platform::Bitmap();
    }
    tlo_ = platform::Bitmap(W, H);
    tlo_.canvas().draw(0, 0, obrazTla_);
    robocza_ = platform::Bitmap(W, H);
    robocza_.palette() = obrazTla_.palette();
    obrazTla_ = platform::Bitmap();
}

std::size_t FallingWindow::bajtyObrazow() const {
    return obrazTla_.byteSize() + tlo_.byteSize() + robocza_.byteSize();
}

// The game goes first: its click areas are controls of this window.
FallingWindow::~FallingWindow() {
    t_Game.stop();
    gra_.reset();
}

// ---- events

// Clipped to what needs repainting: during play only the rectangles of moved pictures.
void FallingWindow::paintEvent() {
    const platform::Rect r = paintArea();
    pomalowano_ += (long long)r.width() * r.height();
    canvas().draw(0, 0, robocza_);
}

void FallingWindow::showEvent() {
    zbudujObrazy();
    A_NowaGra.execute();
}

// Leaving the screen by any way stops the motion and the game's timers.
void FallingWindow::hideEvent() {
    t_Game.stop();
    if (gra_) {
        gra_->timerKonca.stop();
        gra_->timerCzerwony.stop();
    }
    zwolnijObrazy();
}

void FallingWindow::mouseDownEvent(platform::MouseButton, platform::ShiftState, int, int) {
    context_.statistics->aktywnosc();
}

void FallingWindow::mouseWheelEvent(int, platform::ShiftState, int, int) {
    context_.statistics->aktywnosc();
}

void FallingWindow::mouseMoveEvent(platform::ShiftState, int x, int y) {
    if (!sledzKursor_) return;
    const bool wPolu = x > 0 && x < 3 * W / 4 && y < 37 * H / 40;
    setCursor(wPolu ? kKursorCelownik : platform::kCursorDefault);
}

// ---- actions

void FallingWindow::A_StopExecute() {
    // The end timer may fire while the results of the same game are on screen.
    if (wynikiNaEkranie()) return;
    t_Game.stop();
    zapiszGre(gra_ && gra_->wszystkieZnalezione());
    gra_.reset();
    if (pokazWyniki() == 1)
        A_NowaGra.execute();
    else
        close();
}

void FallingWindow::A_NowaGraExecute() {
    zbudujObrazy();
    sledzKursor_ = true;
    const GameSettings& S = context_.settings.falling;
    GameSettings D;
    D.level = S.level;
    D.positions = 0x7000;
    D.ustawDystraktory(S);
    gra_.reset();
    const int n = S.level == POZIOM_MALO      ? 5
                  : S.level == POZIOM_SREDNIO ? 10
                  : S.level == POZIOM_DUZO    ? 15
                                              : 0;
    std::string blad;
    bool brakZasobow = false;
    try {
        context_.catalogue->filtruj(S);
        context_.catalogue->losuj(n);
        context_.catalogue->wczytajMiniatury();
        gra_ = std::make_unique<FallingGame>(*this, robocza_.canvas(), tlo_.canvas(),
                                             context_.catalogue->wybrane());
        context_.catalogue->filtruj(D);
        context_.catalogue->losuj(n);
        context_.catalogue->wczytajMiniatury();
        gra_->dodajRozpraszacze(context_.catalogue->wybrane());
    } catch (const FatalError&) {
        // The game's own pictures are missing: no game at all, and nothing to count.
        gra_.reset();
        brakZasobow = true;
    } catch (const std::exception& e) {
        // No game: the window still shows and stops, and the game counts as not finished.
        gra_.reset();
        blad = e.what();
    }
    if (brakZasobow) {
        sledzKursor_ = false;
        setCursor(platform::kCursorDefault);
        FatalError(1).pokazBlad(this);
        close();
        return;
    }
    A_EkranPaint.execute();
    if (gra_) gra_->ulozPola();
    t_Game.start();
    if (gra_) gra_->rozmiesc();

    vpSzukaj.setCaption("Wybierz obrazki z:");
    vpSzukGloski.setCaption(nazwyGlosek(S.sounds));
    vpSzukGloski.setPosition(vpSzukaj.left() + vpSzukaj.width() / 2 - vpSzukGloski.width() / 2,
                             vpSzukaj.top() + vpSzukaj.height() + 2);
    context_.statistics->start(ZAK_SPADAJACE, S);
    repaint();
    if (!blad.empty()) platform::app().handleException(std::runtime_error(blad));
}

void FallingWindow::A_PomocExecute() {
    context_.statistics->aktywnosc();
    if (gra_) gra_->podpowiedz();
}

void FallingWindow::A_EkranPaintExecute() {
    zbudujObrazy();
    robocza_.canvas().draw(0, 0, tlo_);
    przyciskPomoc_->pokaz();
    przyciskPomoc_->rysuj();
    przyciskStop_->rysuj();
}

void FallingWindow::tick() {
    // Nothing falls while nobody can see it.
    const bool ukryty = platform::app().minimised();
    if (const int takt = ukryty ? kTaktUkrytegoMs : kTaktMs; t_Game.interval() != takt)
        t_Game.setInterval(takt);
    if (!gra_ || ukryty) return;
    if (!gra_->wszystkieZnalezione()) {
        const int kroki = context_.settings.falling.level;
        if (kroki < 1 || kroki > 3) return;
        for (int k = 0; k < kroki; ++k)
            gra_->krok();
        return;
    }
    t_Game.stop();
    sledzKursor_ = false;
    setCursor(platform::kCursorDefault);
    vpSzukaj.setCaption("Wybierz obrazek,");
    vpSzukGloski.setCaption("aby go powiększyć.");
    vpSzukGloski.setLeft(vpSzukaj.left());
    gra_->koniec();
}
