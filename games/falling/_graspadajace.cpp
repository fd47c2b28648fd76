// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "_graspadajace.hpp"

#include "Spadajace.hpp"
#include "app/Cdisplay.hpp"
#include "app/Wirowanki.hpp"
#include "app/_cblad.hpp"
#include "app/_cstatrec.hpp"
#include "app/_custgry.hpp"
#include "app/_specfunc.hpp"
#include "gfx/Loadcorrectbitmap.hpp"
#include "platform/Canvas.hpp"
#include "platform/Cursor.hpp"
#include "platform/Fs.hpp"
#include "platform/Random.hpp"
#include "widgets/_cokrag.hpp"
#include "widgets/_cprzycisk.hpp"
#include "words/_cslowa.hpp"

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

CObrazekSpadajacy::CObrazekSpadajacy(TfmSpadajace& okno, CGraSpadajace& gra, const Slowo& s)
    : slowo(s.word), flags(s.flags), obraz(*s.miniatura), pole(okno) {
    pole.name = "obrazek";
    pole.acceptsDoubleClicks = false; // quick clicks are all shots
    pole.setBounds(0, 0, obraz.width(), obraz.height());
    wys = std::int16_t(obraz.height());
    pole.onClick = [this, &gra] { gra.klikObrazka(*this); };
}

// ---- place

CPoleObrazka::CPoleObrazka(TfmSpadajace& okno, CGraSpadajace& gra, int tryb) : pole(okno) {
    szer = tryb == TRYB_1024 ? 32 : 23;
    wys = tryb == TRYB_1024 ? 42 : 31;
    wczytajJpeg(czerwony, kPlikCzerwony);
    wczytajJpeg(pytajnik, kPlikPytajnik);
    biezacy = pytajnik;
    pole.name = "miejsce";
    pole.hide();
    pole.setBounds(display.areaWidth() + 100, display.areaHeight() + 100, szer, wys);
    pole.setCursor(platform::kCursorHand);
    pole.onClick = [this, &gra] { gra.klikPola(*this); };
}

void CPoleObrazka::rysuj(platform::Canvas& kanwa) const {
    kanwa.stretchDraw(platform::Rect::fromSize(x, y, szer, wys), biezacy);
}

// ---- game

CGraSpadajace::CGraSpadajace(TfmSpadajace& okno, platform::Canvas& kanwaRobocza, platform::Canvas& kanwaTla,
                             const std::vector<Slowo>& cele)
    : okno_(okno), robocza_(kanwaRobocza), tla_(kanwaTla), tryb_(okno.tryb()), W(display.areaWidth()),
      H(display.areaHeight()) {
    try {
        for (const Slowo& s : cele) {
            // A word without its small picture could never be hit.
            if (!s.miniatura || s.miniatura->empty()) continue;
            obrazki_.push_back(std::make_unique<CObrazekSpadajacy>(okno, *this, s));
            pola_.push_back(std::make_unique<CPoleObrazka>(okno, *this, tryb_));
        }
        okrag_ = std::make_unique<COkrag>(robocza_);
    } catch (const std::exception&) {
        obrazki_.clear();
        pola_.clear();
        throw CBlad(1);
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
CGraSpadajace::~CGraSpadajace() = default;

void CGraSpadajace::dodajRozpraszacze(const std::vector<Slowo>& wybor) {
    for (const Slowo& s : wybor) {
        if (!s.miniatura || s.miniatura->empty()) continue;
        obrazki_.push_back(std::make_unique<CObrazekSpadajacy>(okno_, *this, s));
    }
}

bool CGraSpadajace::cel(const CObrazekSpadajacy& o) const {
    return (o.flags & ustSpadajace.Gloski) != 0;
}

void CGraSpadajace::ulozPola() {
    if (!platform::fs::exists(kPlikPytajnik)) return;
    const int krok = tryb_ == TRYB_1024 ? 39 : 30;
    const int y = H - (tryb_ == TRYB_1024 ? 50 : 35);
    const int x0 = W / 2 - krok * (liczbaCelow_ / 2 + liczbaCelow_ % 2);
    for (int i = 0; i < liczbaCelow_; ++i) {
        CPoleObrazka& p = *pola_[std::size_t(i)];
        p.x = std::int16_t(x0 + i * krok);
        p.y = std::int16_t(y);
        p.rysuj(robocza_);
    }
}

int CGraSpadajace::losujX() const {
    const int zakres = W - W / 3;
    return zakres == 0 ? 10 : platform::random::below(zakres) + 10;
}

bool CGraSpadajace::blisko(int x, int y) const {
    for (const auto& o : obrazki_)
        if (zaBlisko(x, y, o->x, o->y)) return true;
    return false;
}

void CGraSpadajace::rozmiesc() {
    const int zakres = W - W / 3;
    for (std::size_t i = 0; i < obrazki_.size(); ++i) {
        CObrazekSpadajacy& o = *obrazki_[i];
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

void CGraSpadajace::wypuscPonownie(CObrazekSpadajacy& o) {
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

void CGraSpadajace::krok() {
    for (const auto& wsk : obrazki_) {
        CObrazekSpadajacy& o = *wsk;
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

void CGraSpadajace::klikObrazka(CObrazekSpadajacy& o) {
    statRec->aktywnosc();
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

void CGraSpadajace::trafienie(CObrazekSpadajacy& o) {
    statRec->dodajDobre();
    const platform::Rect r{o.x, o.y, o.x + o.pole.width(), o.y + o.pole.height() + 1};
    o.pole.hide();
    robocza_.copyRect(r, tla_, r);
    CPoleObrazka& p = *pola_[std::size_t(znalezione_)];
    p.slowo = o.slowo;
    p.biezacy = o.obraz;
    p.rysuj(robocza_);
    okno_.repaint();
    ++znalezione_;
}

void CGraSpadajace::pudlo() {
    statRec->dodajZle();
    if (liczbaCelow_ == 0) return;
    if (znalezione_ > 0) {
        --znalezione_;
        const std::string& slowo = pola_[std::size_t(znalezione_)]->slowo;
        // The picture that filled the place, not a falling namesake.
        CObrazekSpadajacy* wraca = nullptr;
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
    CPoleObrazka& p = *pola_[std::size_t(znalezione_)];
    p.slowo.clear();
    p.biezacy = p.czerwony;
    p.rysuj(robocza_);
    for (int i = znalezione_ + 1; i < liczbaCelow_; ++i) {
        CPoleObrazka& q = *pola_[std::size_t(i)];
        q.slowo.clear();
        q.biezacy = q.pytajnik;
        q.rysuj(robocza_);
    }
    timerCzerwony.start();
    okno_.repaint();
}

void CGraSpadajace::koniecCzerwonego() {
    timerCzerwony.stop();
    if (znalezione_ >= liczbaCelow_) return;
    CPoleObrazka& p = *pola_[std::size_t(znalezione_)];
    p.slowo.clear();
    p.biezacy = p.pytajnik;
    p.rysuj(robocza_);
    okno_.repaint();
}

void CGraSpadajace::podpowiedz() {
    statRec->dodajPodpowiedz();
    CObrazekSpadajacy* najblizszy = nullptr;
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

void CGraSpadajace::koniec() {
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

void CGraSpadajace::klikPola(CPoleObrazka& p) {
    statRec->aktywnosc();
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
