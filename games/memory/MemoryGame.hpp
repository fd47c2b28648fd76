// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/ImageControl.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Canvas;
}
class MemoryGame;
class MemoryWindow;

// One card of the board; both cards of a pair carry the same word. The card owns its pictures, its
// timers and its click area, which is visible exactly while the card is on the board.
class MemoryCard {
public:
    // Card for entry i of the catalogue's selection. Raises when the back or the small picture is missing.
    MemoryCard(MemoryWindow& okno, MemoryGame& gra, int i);
    MemoryCard(const MemoryCard&) = delete;
    MemoryCard& operator=(const MemoryCard&) = delete;

    const std::string& slowo() const { return slowo_; }
    bool naPlanszy() const { return pole_.visible(); }
    platform::Rect obszar() const { return pole_.bounds(); }

    void klik();
    void rysujRewers(platform::Canvas& canvas) const;
    void rysujAwers(platform::Canvas& canvas) const;
    void przesun(int x, int y);
    void zdejmij();
    // The big picture with its mask at (x, y).
    void pokazDuzy(platform::Canvas& canvas, int x, int y) const;
    void powiedz() const;

    platform::Timer timerZnikania{2000};
    platform::Timer timerZakrycia{1200};

private:
    MemoryGame& gra_;
    std::string slowo_;
    platform::Bitmap awers_, rewers_, maska_, duzy_;
    platform::ImageControl pole_;
};

// The pairs game on the current selection of the word catalogue.
class MemoryGame {
public:
    // Builds the board from the catalogue's selection (the window has drawn the words before).
    MemoryGame(MemoryWindow& okno, int pary);
    ~MemoryGame();
    MemoryGame(const MemoryGame&) = delete;
    MemoryGame& operator=(const MemoryGame&) = delete;

    // Places the click areas of the cards on the board and draws their backs.
    void rysuj(platform::Canvas& canvas);
    void podpowiedz();
    bool wszystkieZnalezione() const { return odkryte_ == pozostalo_; }
    // Switches every card's timer off (the window is leaving the screen).
    void zatrzymaj();

    // The board as the window and tests see it.
    int liczbaKart() const { return int(karty_.size()); }
    const MemoryCard* karta(int k) const { return karty_[std::size_t(k)].get(); }
    // Top-left corner of cell k in window coordinates.
    platform::Point komorka(int k) const;
    int pozostalo() const { return pozostalo_; }
    bool przyjmuje() const { return przyjmuje_; }
    const MemoryCard* pierwsza() const { return pierwsza_; }

    // Layout of a board with the given number of pairs in a display mode.
    struct Uklad {
        int wiersze, kolumny;
        platform::Point start;
        int krokX, krokY;
    };
    static Uklad uklad(int pary, int tryb);
    static platform::Point miejsceDuzego(int tryb);

private:
    friend class MemoryCard;
    void klik(MemoryCard& karta);
    void znikniecie(MemoryCard& karta);
    void zakrycie(MemoryCard& karta);
    bool para(int a, int b) const;
    bool para(const MemoryCard* a, const MemoryCard* b) const;

    std::vector<std::unique_ptr<MemoryCard>> karty_;
    MemoryWindow& okno_;
    MemoryCard* pierwsza_ = nullptr;
    std::int16_t pozostalo_ = 0;
    std::int16_t odkryte_ = 0;
    bool przyjmuje_ = true;
    Uklad uklad_{};
    int tryb_ = 0;
};
