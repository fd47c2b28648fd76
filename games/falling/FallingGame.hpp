// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/ImageControl.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Canvas;
}
struct Word;
class RingOverlay;
class FallingGame;
class FallingWindow;

// A word picture falling from above the window; its click area follows it.
class FallingPicture {
public:
    FallingPicture(FallingWindow& okno, FallingGame& gra, const Word& s);
    FallingPicture(const FallingPicture&) = delete;
    FallingPicture& operator=(const FallingPicture&) = delete;

    std::string slowo;
    std::uint16_t flags = 0;
    platform::Bitmap obraz;
    platform::ImageControl pole;
    std::int16_t x = 0, y = 0;
    // Rows of the picture still above the bottom line; below zero it has sunk completely.
    std::int16_t wys = 0;
    bool aktywny = false;
};

// One place of the bottom row; filled by a hit, clickable in the end phase.
class PictureField {
public:
    // Raises when the red or the question-mark picture cannot be loaded.
    PictureField(FallingWindow& okno, FallingGame& gra, int tryb);
    PictureField(const PictureField&) = delete;
    PictureField& operator=(const PictureField&) = delete;

    void rysuj(platform::Canvas& kanwa) const;

    std::string slowo;
    std::int16_t x = 0, y = 0, szer = 0, wys = 0;
    platform::Bitmap czerwony, pytajnik, biezacy;
    platform::ImageControl pole;
};

// The falling-pictures game: targets, distractors, the bottom row of places and the end phase.
class FallingGame {
public:
    // The targets are the given selection (entries without a small picture are left out).
    // Raises FatalError code 1 when the place pictures or the ring cannot be loaded.
    FallingGame(FallingWindow& okno, platform::Canvas& kanwaRobocza, platform::Canvas& kanwaTla,
                const std::vector<Word>& cele);
    ~FallingGame();
    FallingGame(const FallingGame&) = delete;
    FallingGame& operator=(const FallingGame&) = delete;

    void dodajRozpraszacze(const std::vector<Word>& wybor);
    void ulozPola();
    void rozmiesc();
    void krok();
    void podpowiedz();
    void koniec();
    bool wszystkieZnalezione() const { return znalezione_ == liczbaCelow_; }

    void klikObrazka(FallingPicture& o);
    void klikPola(PictureField& p);

    // The game as the window and tests see it.
    int liczbaCelow() const { return liczbaCelow_; }
    int znalezione() const { return znalezione_; }
    int dno() const { return dno_; }
    bool koncowa() const { return koncowa_; }
    int liczbaObrazkow() const { return int(obrazki_.size()); }
    FallingPicture& obrazek(int i) { return *obrazki_[std::size_t(i)]; }
    PictureField& pole(int i) { return *pola_[std::size_t(i)]; }
    bool cel(const FallingPicture& o) const;
    const RingOverlay& okrag() const { return *okrag_; }

    platform::Timer timerCzerwony{300};
    platform::Timer timerKonca{60000};

private:
    void wypuscPonownie(FallingPicture& o);
    bool blisko(int x, int y) const;
    int losujX() const;
    void trafienie(FallingPicture& o);
    void pudlo();
    void koniecCzerwonego();

    FallingWindow& okno_;
    platform::Canvas& robocza_;
    platform::Canvas& tla_;
    std::vector<std::unique_ptr<FallingPicture>> obrazki_;
    std::vector<std::unique_ptr<PictureField>> pola_;
    std::unique_ptr<RingOverlay> okrag_;
    std::int16_t liczbaCelow_ = 0;
    std::int16_t znalezione_ = 0;
    int tryb_ = 0;
    int W = 0, H = 0;
    int dno_ = 0;
    bool koncowa_ = false;
};
