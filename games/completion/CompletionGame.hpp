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
class CompletionWindow;
class CompletionGame;

// One unit picture of the word row, or a choice button (then it has a click area on the window).
class SoundBlock {
public:
    // okno given: a choice button with its click area; otherwise a row piece.
    // A choice block (okno given) passes its clicks to gra.
    SoundBlock(const std::string& tekst, const std::string& nazwaObrazu, CompletionWindow* okno,
               CompletionGame* gra = nullptr);
    SoundBlock(const SoundBlock&) = delete;
    SoundBlock& operator=(const SoundBlock&) = delete;

    // A picture the resource library cannot supply leaves the piece empty (nothing drawn, no click area).
    void zmienObraz(const std::string& nazwa);
    void ustaw(int x, int y);
    void rysuj(platform::Canvas& kanwa) const;
    void ustawKlikalny(bool klikalny);
    platform::Rect obszar() const;

    std::uint8_t klikalny = 0;
    platform::Bitmap obraz;
    std::unique_ptr<platform::ImageControl> pole;
    std::int16_t x = 0, y = 0;
    std::string tekst;
};

// One word-completion game on the catalogue's selection (drawn by the window before).
class CompletionGame {
public:
    CompletionGame(CompletionWindow& okno, platform::Canvas& kanwaRobocza, platform::Canvas& kanwaTla);
    ~CompletionGame();
    CompletionGame(const CompletionGame&) = delete;
    CompletionGame& operator=(const CompletionGame&) = delete;

    void ustawObrazek(int x, int y);
    void przygotujZadanie();
    void rysuj();
    void wybierz(const std::string& jednostka);
    void podpowiedz();
    bool nastepne();
    bool poprzednie();
    bool jestOstatnie() const { return nrSlowa >= nrOstatniego; }
    bool jestPierwsze() const { return nrSlowa == 0; }
    bool rozwiazane() const;
    bool wszystkieZnalezione() const;
    bool otworzPonownie(int x, int y);
    void zatrzymajTimer() { timerKonca.stop(); }

    // What the window and tests look at.
    const std::string& slowo() const { return slowo_; }
    int numer() const { return nrSlowa; }
    int liczbaSlow() const { return nrOstatniego + 1; }
    const std::vector<std::unique_ptr<SoundBlock>>& klocki() const { return klocki_; }
    int luka() const { return nrLuki; }
    const SoundBlock* wybor(int i) const { return i == 0 ? wybor1.get() : wybor2.get(); }
    const std::string& odpowiedz() const { return odpowiedz_; }
    bool timerWlaczony() const { return timerKonca.enabled(); }
    int bok() const { return bok_; }
    platform::Point pozycjaObrazka() const { return {xObrazka, yObrazka}; }
    const platform::Bitmap& maska() const { return maska_; }

    // Layout: x of the first row piece, the row's y, and the two choice slots.
    static int poczatekRzedu(int n, int bok, int W);
    static platform::Point miejsceWyboru(int slot, int W, int H);

private:
    bool jestSlowo() const;
    std::string przyrostek() const;
    void uloz();
    void rysujLuke();
    void ustawOtwarte(bool otwarte);

    std::string slowo_;
    std::int16_t nrSlowa = 0;
    std::int16_t nrOstatniego = -1;
    CompletionWindow& okno_;
    platform::Canvas& kanwaRobocza;
    platform::Canvas& kanwaTla;
    platform::Timer timerKonca{60000};
    std::int16_t bok_ = 44;
    std::vector<std::unique_ptr<SoundBlock>> klocki_;
    std::int16_t nrLuki = -1;
    std::unique_ptr<SoundBlock> wybor1, wybor2;
    std::string wybrana;
    std::string odpowiedz_;
    platform::Bitmap maska_;
    int xObrazka = 0, yObrazka = 0;
    int W = 0, H = 0;
    int tryb_ = 0;
};
