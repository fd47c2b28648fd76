// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/falling/FallingGame.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "games/falling/FallingWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Random.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Cursor.hpp"
#include "widgets/Buttons.hpp"
#include "widgets/RingOverlay.hpp"
#include "words/Catalogue.hpp"

#include <cstdlib>
#include <exception>

namespace {

const char* const kPlikCzerwony = "Data\\Sio\\allred.xji";
const char* const kPlikPytajnik = "Data\\Sio\\squest.xji";

// Two positions this close would overlap on screen; the same numbers serve both display modes.
bool zaBlisko(int x, int y, int ox, int oy) {
    return std::abs(x - ox) < 80 && std::abs(y - oy) < 95;
}

// A crowded top band could otherwise keep rejecting candidates for ever.
constexpr int kMaksProb = 100000;

} // namespace

// ---- falling picture

FallingPicture::FallingPicture(FallingWindow& okno, FallingGame& gra, const Word& s)
    : slowo(s.stem), flags(s.flags), obraz(*s.thumbnail), pole(okno) {
    pole.name = "obrazek";
    pole.acceptsDoubleClicks = false; // quick clicks are all shots
    pole.setBounds(0, 0, obraz.width(), obraz.height());
    wys = std::int16_t(obraz.height());
    pole.onClick = [this, &gra] { gra.klikObrazka(*this); };
}

// ---- place

PictureField::PictureField(FallingWindow& okno, FallingGame& gra, int tryb) : pole(okno) {
    szer = tryb == TRYB_1024 ? 32 : 23;
    wys = tryb == TRYB_1024 ? 42 : 31;
    wczytajJpeg(czerwony, kPlikCzerwony);
    wczytajJpeg(pytajnik, kPlikPytajnik);
    biezacy = pytajnik;
    pole.name = "miejsce";
    pole.hide();
    pole.setBounds(okno.context().layout.areaWidth() + 100, okno.context().layout.areaHeight() + 100, szer,
                   wys);
    pole.setCursor(platform::kCursorHand);
    pole.onClick = [this, &gra] { gra.klikPola(*this); };
}

void PictureField::rysuj(platform::Canvas& kanwa) const {
    kanwa.stretchDraw(platform::Rect::fromSize(x, y, szer, wys), biezacy);
}

// ---- game

FallingGame::FallingGame(FallingWindow& okno, platform::Canvas& kanwaRobocza, platform::Canvas& kanwaTla,
                         const std::vector<Word>& cele)
    : okno_(okno), robocza_(kanwaRobocza), tla_(kanwaTla), tryb_(okno.tryb()),
      W(okno_.context().layout.areaWidth()), H(okno_.context().layout.areaHeight()) {
    try {
        for (const Word& s : cele) {
            // A word without its small picture could never be hit.
            if (!s.thumbnail || s.thumbnail->empty()) continue;
            obrazki_.push_back(std::make_unique<FallingPicture>(okno, *this, s));
            pola_.push_back(std::make_unique<PictureField>(okno, *this, tryb_));
        }
        okrag_ = std::make_unique<RingOverlay>(robocza_, okno_.context().layout);
    } catch (const std::exception&) {
        obrazki_.clear();
        pola_.clear();
        throw FatalError(1);
    }
    liczbaCelow_ = std::int16_t(pola_.size());
    timerCzerwony.onTimer = [this] { koniecCzerwonego(); };
    timerKonca.onTimer = [this] {
        timerKonca.stop();
        // Destroys this game: nothing may follow.
        okno_.A_Stop.execute();
    };
    dno_ = tryb_ == TRYB_1024 ? 708 : 552;
    znalezione_ = 0;
}

// Click areas are controls of the window: they go with their objects, before the window.
FallingGame::~FallingGame() = default;

void FallingGame::dodajRozpraszacze(const std::vector<Word>& wybor) {
    for (const Word& s : wybor) {
        if (!s.thumbnail || s.thumbnail->empty()) continue;
        obrazki_.push_back(std::make_unique<FallingPicture>(okno_, *this, s));
    }
}

bool FallingGame::cel(const FallingPicture& o) const {
    return (o.flags & okno_.context().settings.falling.sounds) != 0;
}

void FallingGame::ulozPola() {
    if (!platform::fs::exists(kPlikPytajnik)) return;
    const int krok = tryb_ == TRYB_1024 ? 39 : 30;
    const int y = H - (tryb_ == TRYB_1024 ? 50 : 35);
    const int x0 = W / 2 - krok * (liczbaCelow_ / 2 + liczbaCelow_ % 2);
    for (int i = 0; i < liczbaCelow_; ++i) {
        PictureField& p = *pola_[std::size_t(i)];
        p.x = std::int16_t(x0 + i * krok);
        p.y = std::int16_t(y);
        p.rysuj(robocza_);
    }
}

int FallingGame::losujX() const {
    const int zakres = W - W / 3;
    return zakres == 0 ? 10 : platform::random::below(zakres) + 10;
}

bool FallingGame::blisko(int x, int y) const {
    for (const auto& o : obrazki_)
        if (zaBlisko(x, y, o->x, o->y)) return true;
    return false;
}

void FallingGame::rozmiesc() {
    const int zakres = W - W / 3;
    for (std::size_t i = 0; i < obrazki_.size(); ++i) {
        FallingPicture& o = *obrazki_[i];
        const int h = o.obraz.height();
        int x = 10, y = -h;
        for (int proba = 0; proba < kMaksProb; ++proba) {
            const int r = platform::random::next();
            x = (zakres == 0 ? 0 : r % zakres) + 10;
            const int f = h == 0 ? 0 : r % h;
            y = -h - int(i) * f;
            if (!blisko(x, y)) break;
        }
        o.x = std::int16_t(x);
        o.y = std::int16_t(y);
        o.wys = std::int16_t(h);
        o.pole.setBounds(x, y, o.obraz.width(), h);
        o.aktywny = true;
    }
}

void FallingGame::wypuscPonownie(FallingPicture& o) {
    const int h = std::max(1, o.obraz.height());
    int y = -h;
    int x = losujX();
    for (int proba = 0; proba < kMaksProb && blisko(x, y); ++proba) {
        y -= h;
        x = losujX();
    }
    o.x = std::int16_t(x);
    o.y = std::int16_t(y);
    o.wys = std::int16_t(o.obraz.height());
    o.pole.setBounds(x, y, o.obraz.width(), o.obraz.height());
    o.aktywny = true;
}

void FallingGame::krok() {
    for (const auto& wsk : obrazki_) {
        FallingPicture& o = *wsk;
        if (!o.aktywny || !o.pole.visible()) continue;
        const int w = o.obraz.width();
        const int h = o.wys;
        const int x = o.x, y = o.y;
        const platform::Rect wierszTla{x, y, x + w, y + 1};
        if (y + h <= dno_) {
            robocza_.copyRect(wierszTla, tla_, wierszTla);
            o.y = std::int16_t(y + 1);
            o.pole.setPosition(x, y + 1);
            robocza_.draw(x, y + 1, o.obraz);
            continue;
        }
        // Sinking: squeeze what shows by one row, keeping its bottom edge on the line.
        if (h > 1) robocza_.copyRect({x, y + 1, x + w, y + h}, robocza_, {x, y, x + w, y + h});
        robocza_.copyRect(wierszTla, tla_, wierszTla);
        o.y = std::int16_t(y + 1);
        if (o.y > 0) {
            if (h < 0) {
                wypuscPonownie(o);
                continue;
            }
            o.wys = std::int16_t(h - 1);
        }
        o.pole.setBounds(x, o.y, w, std::max<int>(0, o.wys));
    }
}

void FallingGame::klikObrazka(FallingPicture& o) {
    okno_.context().statistics->aktywnosc();
    if (koncowa_ || !o.aktywny) return;
    if (cel(o)) {
        // Every place is taken; the end phase starts at the next tick.
        if (znalezione_ >= liczbaCelow_) return;
        o.aktywny = false;
        trafienie(o);
    } else {
        pudlo();
    }
}

void FallingGame::trafienie(FallingPicture& o) {
    okno_.context().statistics->dodajDobre();
    const platform::Rect r{o.x, o.y, o.x + o.pole.width(), o.y + o.pole.height() + 1};
    o.pole.hide();
    robocza_.copyRect(r, tla_, r);
    PictureField& p = *pola_[std::size_t(znalezione_)];
    p.slowo = o.slowo;
    p.biezacy = o.obraz;
    p.rysuj(robocza_);
    okno_.repaint();
    ++znalezione_;
}

void FallingGame::pudlo() {
    okno_.context().statistics->dodajZle();
    if (liczbaCelow_ == 0) return;
    if (znalezione_ > 0) {
        --znalezione_;
        const std::string& slowo = pola_[std::size_t(znalezione_)]->slowo;
        // The picture that filled the place, not a falling namesake.
        FallingPicture* wraca = nullptr;
        for (const auto& o : obrazki_)
            if (o->slowo == slowo && !o->aktywny) {
                wraca = o.get();
                break;
            }
        if (wraca) {
            wraca->pole.show();
            wypuscPonownie(*wraca);
        }
    }
    PictureField& p = *pola_[std::size_t(znalezione_)];
    p.slowo.clear();
    p.biezacy = p.czerwony;
    p.rysuj(robocza_);
    for (int i = znalezione_ + 1; i < liczbaCelow_; ++i) {
        PictureField& q = *pola_[std::size_t(i)];
        q.slowo.clear();
        q.biezacy = q.pytajnik;
        q.rysuj(robocza_);
    }
    timerCzerwony.start();
    okno_.repaint();
}

void FallingGame::koniecCzerwonego() {
    timerCzerwony.stop();
    if (znalezione_ >= liczbaCelow_) return;
    PictureField& p = *pola_[std::size_t(znalezione_)];
    p.slowo.clear();
    p.biezacy = p.pytajnik;
    p.rysuj(robocza_);
    okno_.repaint();
}

void FallingGame::podpowiedz() {
    okno_.context().statistics->dodajPodpowiedz();
    FallingPicture* najblizszy = nullptr;
    for (const auto& o : obrazki_) {
        if (!o->aktywny || !cel(*o) || o->y >= H) continue;
        if (!najblizszy || std::abs(o->y) < std::abs(najblizszy->y)) najblizszy = o.get();
    }
    if (!najblizszy) return;
    if (najblizszy->y + najblizszy->obraz.height() < 0) wypuscPonownie(*najblizszy);
    platform::Bitmap& b = najblizszy->obraz;
    platform::Canvas& k = b.canvas();
    k.setBrushColor(platform::kRed);
    for (int d = 0; d < 4; ++d)
        k.frameRect({d, d, b.width() - d, b.height() - d});
}

void FallingGame::koniec() {
    koncowa_ = true;
    timerCzerwony.stop();
    robocza_.draw(0, 0, tla_.bitmap());
    for (const auto& o : obrazki_)
        o->pole.hide();
    for (const auto& p : pola_) {
        if (platform::fs::exists(kPlikPytajnik)) {
            p->pole.setBounds(p->x, p->y, p->szer, p->wys);
            p->pole.show();
        }
        p->rysuj(robocza_);
    }
    okrag_->rysujPierscien();
    okno_.przyciskStop().pokaz();
    okno_.przyciskPomoc().ukryj();
    okno_.repaint();
    timerKonca.start();
}

void FallingGame::klikPola(PictureField& p) {
    okno_.context().statistics->aktywnosc();
    timerKonca.stop();
    platform::Bitmap duzy;
    const std::string plik = "Data\\Bio\\" + p.slowo + (tryb_ == TRYB_1024 ? "_mb.xji" : "_ms.xji");
    if (!p.slowo.empty() && platform::fs::exists(plik)) {
        try {
            wczytajJpeg(duzy, plik);
        } catch (const std::exception&) {
            duzy.clear(); // a broken picture leaves the ring empty
        }
    }
    okrag_->rysujZObrazkiem(duzy);
    okno_.repaint();
    if (!p.slowo.empty()) odtworzSlowo(p.slowo);
}
