// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/memory/MemoryGame.hpp"

#include "core/FatalError.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "games/memory/MemoryWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Error.hpp"
#include "platform/core/Random.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "words/Catalogue.hpp"

namespace {

std::string rozmiar(int tryb) {
    return tryb == TRYB_1024 ? "b" : "s";
}

} // namespace

// ---- the card

MemoryCard::MemoryCard(MemoryWindow& okno, MemoryGame& gra, int i) : gra_(gra), pole_(okno) {
    pole_.hide();
    const Word& s = okno.context().catalogue->wybrane()[std::size_t(i)];
    slowo_ = s.stem;
    if (!s.thumbnail || s.thumbnail->empty())
        throw platform::FileError("Brak pliku Data/Sio/s" + slowo_ + ".xji");
    awers_ = *s.thumbnail;
    // The card back belongs to the game, not to a word: without it there is no game at all.
    try {
        wczytajJpeg(rewers_, "Data\\Sio\\blkcard0.xji");
    } catch (const platform::Error&) {
        throw FatalError(1);
    }
    // Missing optional pictures fall back to the one loaded before: the mask to the back, the big
    // picture to the mask.
    const std::string r = rozmiar(okno.tryb());
    maska_ = rewers_;
    const std::string plikMaski = "Data\\Bio\\_matr_m" + r + ".xji";
    if (platform::fs::exists(plikMaski)) wczytajJpeg(maska_, plikMaski);
    duzy_ = maska_;
    const std::string plikDuzego = "Data\\Bio\\" + slowo_ + "_m" + r + ".xji";
    // Drawn at the mask's size: a larger photo is decoded down to it.
    if (platform::fs::exists(plikDuzego)) wczytajJpeg(duzy_, plikDuzego, maska_.width(), maska_.height());

    pole_.name = "karta";
    pole_.acceptsDoubleClicks = false; // a quick second click is one more click, not a double click
    pole_.setBounds(0, 0, awers_.width(), awers_.height());
    pole_.onClick = [this] { klik(); };
    pole_.show();
}

// A child may play by card clicks alone; they must keep the game from counting as idle.
void MemoryCard::klik() {
    gra_.okno_.context().statistics->aktywnosc();
    gra_.klik(*this);
}

void MemoryCard::rysujRewers(platform::Canvas& canvas) const {
    canvas.draw(pole_.left(), pole_.top(), rewers_);
}

void MemoryCard::rysujAwers(platform::Canvas& canvas) const {
    canvas.draw(pole_.left(), pole_.top(), awers_);
}

void MemoryCard::przesun(int x, int y) {
    pole_.setPosition(x, y);
}

void MemoryCard::zdejmij() {
    pole_.hide();
}

void MemoryCard::pokazDuzy(platform::Canvas& canvas, int x, int y) const {
    rysujZMaska(canvas, x, y, maska_, duzy_);
}

void MemoryCard::powiedz() const {
    odtworzSlowo(slowo_);
}

// ---- the board

MemoryGame::Uklad MemoryGame::uklad(int pary, int tryb) {
    const bool duzy = tryb == TRYB_1024;
    if (pary <= 3) return {2, 3, duzy ? platform::Point{260, 260} : platform::Point{170, 175}, 100, 120};
    if (pary <= 6) return {3, 4, duzy ? platform::Point{230, 220} : platform::Point{130, 135}, 90, 110};
    return {4, 5, duzy ? platform::Point{190, 190} : platform::Point{100, 95}, 85, 105};
}

platform::Point MemoryGame::miejsceDuzego(int tryb) {
    return tryb == TRYB_1024 ? platform::Point{743, 235} : platform::Point{583, 188};
}

MemoryGame::MemoryGame(MemoryWindow& okno, int pary) : okno_(okno), tryb_(okno.tryb()) {
    if (pary < 1 || pary > 10 || std::size_t(pary) > okno_.context().catalogue->wybrane().size())
        throw platform::Error("Za mało wylosowanych słów do gry");
    uklad_ = uklad(pary, tryb_);
    const int n = 2 * pary;
    karty_.resize(std::size_t(n));
    for (int i = 0; i < pary; ++i) {
        for (int j = 0; j < 2; ++j) {
            int s = platform::random::below(n);
            while (karty_[std::size_t(s)])
                s = (s + 1) % n;
            karty_[std::size_t(s)] = std::make_unique<MemoryCard>(okno, *this, i);
        }
    }
    // Timers belong to the cards; wire them once the board stands.
    for (auto& k : karty_) {
        MemoryCard* karta = k.get();
        karta->timerZnikania.onTimer = [this, karta] { znikniecie(*karta); };
        karta->timerZakrycia.onTimer = [this, karta] { zakrycie(*karta); };
    }
    pierwsza_ = nullptr;
    odkryte_ = 0;
    pozostalo_ = std::int16_t(n);
    przyjmuje_ = true;
}

MemoryGame::~MemoryGame() = default;

platform::Point MemoryGame::komorka(int k) const {
    const int r = k / uklad_.kolumny, q = k % uklad_.kolumny;
    return {uklad_.start.x + q * uklad_.krokX, uklad_.start.y + r * uklad_.krokY};
}

void MemoryGame::rysuj(platform::Canvas& canvas) {
    for (int k = 0; k < liczbaKart(); ++k) {
        MemoryCard& karta = *karty_[std::size_t(k)];
        if (!karta.naPlanszy()) continue;
        const platform::Point p = komorka(k);
        karta.przesun(p.x, p.y);
        karta.rysujRewers(canvas);
    }
}

void MemoryGame::zatrzymaj() {
    for (auto& k : karty_) {
        k->timerZnikania.stop();
        k->timerZakrycia.stop();
    }
}

bool MemoryGame::para(const MemoryCard* a, const MemoryCard* b) const {
    return a && b && a != b && a->naPlanszy() && b->naPlanszy() && a->slowo() == b->slowo();
}

bool MemoryGame::para(int a, int b) const {
    return para(karty_[std::size_t(a)].get(), karty_[std::size_t(b)].get());
}

void MemoryGame::klik(MemoryCard& karta) {
    if (!przyjmuje_) return;
    platform::Canvas& kanwa = okno_.kanwaRobocza();
    if (odkryte_ == 0) {
        pierwsza_ = &karta;
        odkryte_ = 1;
        karta.rysujAwers(kanwa);
        okno_.odswiez();
        return;
    }
    if (&karta == pierwsza_) return;
    karta.rysujAwers(kanwa);
    przyjmuje_ = false;
    odkryte_ = 2;
    if (para(&karta, pierwsza_)) {
        okno_.context().statistics->dodajDobre();
        pozostalo_ -= 2;
        const platform::Point p = miejsceDuzego(tryb_);
        karta.pokazDuzy(kanwa, p.x, p.y);
        okno_.odswiez();
        karta.powiedz();
        karta.timerZnikania.start();
    } else {
        okno_.context().statistics->dodajZle();
        karta.timerZakrycia.start();
    }
    odkryte_ = 0;
    okno_.odswiez();
}

void MemoryGame::znikniecie(MemoryCard& karta) {
    karta.timerZnikania.stop();
    karta.zdejmij();
    if (pierwsza_) pierwsza_->zdejmij();
    pierwsza_ = nullptr;
    okno_.A_EkranPaint.execute();
    przyjmuje_ = true;
    // Ending the game may deal a new board ("again"), which destroys this one: nothing may follow.
    if (pozostalo_ == 0) okno_.A_Stop.execute();
}

void MemoryGame::zakrycie(MemoryCard& karta) {
    karta.timerZakrycia.stop();
    platform::Canvas& kanwa = okno_.kanwaRobocza();
    karta.rysujRewers(kanwa);
    if (pierwsza_) pierwsza_->rysujRewers(kanwa);
    okno_.odswiez();
    pierwsza_ = nullptr;
    przyjmuje_ = true;
}

void MemoryGame::podpowiedz() {
    // Nothing to show while a card is turned, or once the board is empty.
    if (pierwsza_ || pozostalo_ <= 0) return;
    okno_.context().statistics->dodajPodpowiedz();
    const int n = liczbaKart();
    int b = n == 1 ? 0 : platform::random::below(n - 1);
    for (int i = 0; i < n && !karty_[std::size_t(b)]->naPlanszy(); ++i)
        b = (b + 1) % n;
    int m = (b + 1) % n;
    for (int i = 0; i < n && !para(b, m); ++i)
        m = (m + 1) % n;
    if (!para(b, m)) return;

    // Straight onto the window, past the composition: the show is gone again after the pause.
    platform::Canvas& ekran = okno_.canvas();
    karty_[std::size_t(b)]->rysujAwers(ekran);
    karty_[std::size_t(m)]->rysujAwers(ekran);
    okno_.czekaj(500);
    karty_[std::size_t(b)]->rysujRewers(ekran);
    karty_[std::size_t(m)]->rysujRewers(ekran);
}
