// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/labelling/LabellingGame.hpp"

#include "core/ProgramContext.hpp"
#include "core/ResourcePictures.hpp"
#include "core/ScreenLayout.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Random.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/loop/LoopServices.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Cursor.hpp"
#include "words/LetterTiles.hpp"

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace {

constexpr int kPrzerwaPoPochwale = 300;
constexpr int kZamiastSlowa = 1000;
// Scattering gives up searching for a free place after this many draws (never with real words).
constexpr int kProbRozrzutu = 20000;

} // namespace

// ---- the tile

LetterTile::LetterTile(LabellingWindow& okno, LabellingGame& gra, const std::string& tekst, bool czerwona,
                       int tryb)
    : tekst_(tekst) {
    const std::string nazwa = kodLitery(tekst) + (czerwona ? (tryb == TRYB_800 ? "_red_s" : "_red_b")
                                                           : (tryb == TRYB_800 ? "_s" : "_b"));
    try {
        OtworzBMP(nazwa, obraz_);
    } catch (const std::exception&) {
        obraz_.clear();
    }
    // A tile without a picture still has to be draggable: a blank square of the tile size.
    if (obraz_.empty()) {
        const int bok = gra.bok();
        obraz_ = platform::Bitmap(bok, bok);
        obraz_.fill(0xFF);
    }
    pole_ = std::make_unique<platform::ImageControl>(okno);
    pole_->name = "litera";
    pole_->setBounds(0, 0, obraz_.width(), obraz_.height());
    pole_->setCursor(platform::kCursorHand);
    pole_->onMouseDown = [&gra, this](platform::MouseButton b, platform::ShiftState s, int mx, int my) {
        gra.wcisnieta(*this, b, s, mx, my);
    };
    pole_->onMouseMove = [&gra, this](platform::MouseButton, platform::ShiftState s, int, int) {
        gra.przesuwana(*this, s);
    };
    pole_->onMouseUp = [&gra, this](platform::MouseButton b, platform::ShiftState, int, int) {
        gra.puszczona(*this, b);
    };
    pole_->onDblClick = [&gra, this] { gra.dwuklik(*this); };
    pole_->show();
}

LetterTile::~LetterTile() = default;

void LetterTile::ustaw(int x, int y) {
    x_ = std::int16_t(x);
    y_ = std::int16_t(y);
    if (pole_) pole_->setPosition(x, y);
}

void LetterTile::rysuj(platform::Canvas& kanwa) const {
    if (!obraz_.empty()) kanwa.draw(x_, y_, obraz_);
}

// ---- the game

LabellingGame::LabellingGame(LabellingWindow& okno) : okno_(okno) {
    tryb_ = okno.tryb();
    W_ = okno_.context().layout.areaWidth();
    H_ = okno_.context().layout.areaHeight();
    bok_ = tryb_ == TRYB_800 ? 44 : 55;
    nrOstatniego_ = std::int32_t(okno_.context().catalogue->wybrane().size()) - 1;
    timerKonca_.onTimer = [this] {
        timerKonca_.stop();
        okno_.A_Stop.execute();
    };
    try {
        const std::string plik = tryb_ == TRYB_800 ? "Data\\Bio\\_matr_ups.xji" : "Data\\Bio\\_matr_upb.xji";
        if (platform::fs::exists(plik)) wczytajJpeg(maska_, plik);
    } catch (const std::exception&) {
        maska_.clear();
    }
}

// The tiles' hit areas are controls of the window: they go before the window does.
LabellingGame::~LabellingGame() {
    timerKonca_.stop();
}

Word* LabellingGame::biezace() const {
    auto& w = okno_.context().catalogue->wybrane();
    if (nrSlowa_ < 0 || std::size_t(nrSlowa_) >= w.size()) return nullptr;
    return &w[std::size_t(nrSlowa_)];
}

int LabellingGame::losowa(int m) const {
    return m <= 0 ? 0 : platform::random::below(m);
}

platform::Point LabellingGame::miejscePola(int i, int n, int w, int h, int bok) {
    const int x0 = w / 2 - (n / 2) * 60 - (n % 2) * 30;
    return {x0 + i * (bok + 15), h - h / 4};
}

platform::Point LabellingGame::miejsceNaKafelek(int x, int y, int w, int h) const {
    x = std::clamp(x, 0, std::max(0, W_ - w));
    y = std::clamp(y, 0, std::max(0, H_ - h));
    // The buttons stand in a column at the right: a tile over one moves left of it.
    const std::vector<platform::Rect> przyciski = okno_.obszaryPrzyciskow();
    for (std::size_t runda = 0; runda < przyciski.size(); ++runda) {
        bool przesuniety = false;
        for (const platform::Rect& r : przyciski)
            if (!platform::Rect::fromSize(x, y, w, h).intersect(r).empty()) {
                x = std::max(0, r.left - w);
                przesuniety = true;
            }
        if (!przesuniety) break;
    }
    return {x, y};
}

bool LabellingGame::zajete(const platform::Rect& r) const {
    if (r.left < 0 || r.top < 0 || r.right > W_ || r.bottom > H_) return true;
    for (const auto& p : pola_) {
        const platform::Rect ramka{p->x() - kRamka, p->y() - kRamka, p->x() + bok_ + kRamka,
                                   p->y() + bok_ + kRamka};
        if (!r.intersect(ramka).empty()) return true;
    }
    for (const platform::Rect& b : okno_.obszaryPrzyciskow())
        if (!r.intersect(b).empty()) return true;
    return false;
}

void LabellingGame::przygotujZadanie() {
    ostatniZly_.clear();
    przeciagana_ = nullptr;
    chwycona_ = nullptr;
    poDwukliku_ = false;
    pola_.clear();
    litery_.clear();
    odpowiedz_.clear();
    slowo_.clear();
    const Word* s = biezace();
    if (!s) return;
    slowo_ = s->stem;
    for (const SoundUnit& j : podzielGlosy(s->spelling)) {
        litery_.push_back(std::make_unique<LetterTile>(okno_, *this, j.tekst, j.oznaczona, tryb_));
        odpowiedz_ += j.tekst;
    }
    for (std::size_t i = 0; i < litery_.size(); ++i)
        pola_.push_back(std::make_unique<LetterField>());
    ustawPola();
}

void LabellingGame::rysujObrazek() {
    if (!kanwaRobocza_) return;
    const Word* s = biezace();
    if (!maska_.empty()) {
        kanwaRobocza_->setCopyMode(platform::CopyMode::SrcPaint);
        kanwaRobocza_->draw(xObrazka_, yObrazka_, maska_);
    }
    if (s && s->picture && !s->picture->empty()) {
        kanwaRobocza_->setCopyMode(platform::CopyMode::SrcAnd);
        kanwaRobocza_->draw(xObrazka_, yObrazka_, *s->picture);
    }
    kanwaRobocza_->setCopyMode(platform::CopyMode::SrcCopy);
}

void LabellingGame::ustawPola() {
    const int n = int(pola_.size());
    for (int i = 0; i < n; ++i) {
        const platform::Point p = miejscePola(i, n, W_, H_, bok_);
        pola_[std::size_t(i)]->ustaw(p.x, p.y);
    }
}

void LabellingGame::rysujPola(platform::Canvas& kanwa) {
    ustawPola();
    for (const auto& pole : pola_) {
        kanwa.setBrushColor(pole->pusty() ? platform::kRed : platform::kYellow);
        for (int k = 1; k <= kRamka; ++k)
            kanwa.frameRect({pole->x() - k, pole->y() - k, pole->x() + bok_ + k, pole->y() + bok_ + k});
    }
    kanwa.setBrushColor(platform::kWhite);
}

void LabellingGame::rysujLitery() {
    if (!kanwaRobocza_) return;
    for (const auto& l : litery_)
        if (l.get() != przeciagana_) l->rysuj(*kanwaRobocza_);
}

void LabellingGame::ukryjLitery() {
    przeciagana_ = nullptr;
    chwycona_ = nullptr;
    for (const auto& l : litery_)
        l->pole_->hide();
}

void LabellingGame::rozrzuc() {
    for (std::size_t i = 0; i < litery_.size(); ++i) {
        int x = 0, y = 0;
        for (int proba = 0; proba < kProbRozrzutu; ++proba) {
            y = 10 + losowa(H_ - 75);
            x = y < H_ - H_ / 5 ? 10 + losowa(W_ / 5) : 10 + losowa(W_ - 75);
            bool blisko = zajete(
                platform::Rect::fromSize(x, y, litery_[i]->obraz().width(), litery_[i]->obraz().height()));
            for (std::size_t j = 0; j < i && !blisko; ++j) {
                const auto& l = litery_[j];
                if (std::abs(x - l->x()) < kOdstep && std::abs(y - l->y()) < kOdstep) blisko = true;
            }
            if (!blisko) break;
        }
        litery_[i]->ustaw(x, y);
    }
    przeciagana_ = nullptr;
    chwycona_ = nullptr;
    ostatniZly_.clear();
    for (auto& p : pola_)
        p->oproznij();
    if (kanwaRobocza_) rysujPola(*kanwaRobocza_);
    for (const auto& l : litery_)
        l->pole_->show();
}

void LabellingGame::pokazRozwiazanie() {
    przeciagana_ = nullptr;
    chwycona_ = nullptr;
    ustawPola();
    for (std::size_t i = 0; i < pola_.size() && i < litery_.size(); ++i) {
        LetterField& pole = *pola_[i];
        LetterTile& l = *litery_[i];
        pole.przyjmij(l);
        l.ustaw(pole.x(), pole.y());
        l.pole_->hide();
    }
    if (!kanwaRobocza_) return;
    rysujPola(*kanwaRobocza_);
    for (std::size_t i = 0; i < pola_.size() && i < litery_.size(); ++i)
        litery_[i]->rysuj(*kanwaRobocza_);
}

void LabellingGame::powiedz() {
    if (!odtworzSlowo(slowo_)) platform::loop::blockFor(kZamiastSlowa);
}

void LabellingGame::podpowiedz() {
    rysujObrazek();
    pokazRozwiazanie();
    okno_.odswiez();
    powiedz();
    okno_.context().statistics->dodajPodpowiedz();
}

bool LabellingGame::nastepne() {
    if (jestOstatnie() || nrOstatniego_ < 0) return false;
    ++nrSlowa_;
    return true;
}

bool LabellingGame::poprzednie() {
    if (jestPierwsze()) return false;
    --nrSlowa_;
    return true;
}

bool LabellingGame::rozwiazane() const {
    const Word* s = biezace();
    return s && !(s->flags & SLOWO_WYBRANE);
}

bool LabellingGame::wszystkieZnalezione() const {
    for (const Word& s : okno_.context().catalogue->wybrane())
        if (s.flags & SLOWO_WYBRANE) return false;
    return true;
}

bool LabellingGame::trafionoObrazek(int x, int y) {
    Word* s = biezace();
    if (!s || maska_.empty()) return false;
    if (!(xObrazka_ < x && x < xObrazka_ + maska_.width() && yObrazka_ < y &&
          y < yObrazka_ + maska_.height()))
        return false;
    s->flags |= SLOWO_WYBRANE;
    return true;
}

void LabellingGame::przerysujPola() {
    if (kanwaRobocza_) rysujPola(*kanwaRobocza_);
    okno_.odswiez();
}

// ---- drag and drop

void LabellingGame::wcisnieta(LetterTile& l, platform::MouseButton b, platform::ShiftState s, int mx,
                              int my) {
    if (b != platform::MouseButton::Left) return;
    okno_.context().statistics->aktywnosc();
    // The second press of a double click belongs to the double click: the tile stays where it is.
    if (s & platform::kDouble) {
        poDwukliku_ = true;
        chwycona_ = nullptr;
        return;
    }
    poDwukliku_ = false;
    for (auto& p : pola_)
        if (p->litera_ == &l) p->oproznij();
    przerysujPola();
    // Drawn last from now on, so it stays on top of the others.
    for (auto& u : litery_)
        if (u.get() == &l) {
            std::swap(u, litery_.back());
            break;
        }
    przeciagana_ = &l;
    okno_.scenaBez(l);
    przeciagana_ = nullptr;
    chwycona_ = &l;
    // The window has no frame: its client area starts at its corner.
    chwyt_ = {okno_.left() + mx, okno_.top() + my};
}

void LabellingGame::przesuwana(LetterTile& l, platform::ShiftState s) {
    using namespace platform;
    if (chwycona_ != &l || !kanwaRobocza_ || !kanwaPrzeciagania_) return;
    const ShiftState wazne = kShift | kCtrl | kAlt | kLeftButton | kRightButton | kMiddleButton;
    if ((s & wazne) != kLeftButton) return;
    const Point kursor = app().cursorPos();
    const Rect stary = l.obszar();
    kanwaRobocza_->copyRect(stary, *kanwaPrzeciagania_, stary);
    l.x_ = std::int16_t(kursor.x - chwyt_.x);
    l.y_ = std::int16_t(kursor.y - chwyt_.y);
    l.rysuj(*kanwaRobocza_);
    // The old place with a margin, and the new one, which a fast move may put elsewhere.
    const Rect brzeg{stary.left - 5, stary.top - 5, stary.right + 5, stary.bottom + 5};
    okno_.odswiez(brzeg.unite(l.obszar()));
}

void LabellingGame::puszczona(LetterTile& l, platform::MouseButton b) {
    if (b != platform::MouseButton::Left) return;
    if (poDwukliku_) {
        poDwukliku_ = false;
        return;
    }
    if (chwycona_ != &l) return;
    chwycona_ = nullptr;
    okno_.context().statistics->aktywnosc();
    // The picture at the drop point goes: the tile may be moved on from there.
    if (kanwaRobocza_ && kanwaPrzeciagania_)
        kanwaRobocza_->copyRect(l.obszar(), *kanwaPrzeciagania_, l.obszar());
    l.ustaw(l.x(), l.y());
    for (auto& p : pola_) {
        if (std::abs(l.x() - p->x()) > kZasiegPola || std::abs(l.y() - p->y()) > kZasiegPola) continue;
        if (!p->pusty()) {
            l.ustaw(p->x(), p->y() - kNadPolem);
            przerysujPola();
            return;
        }
        l.ustaw(p->x(), p->y());
        p->przyjmij(l);
        przerysujPola();
        sprawdz();
        return;
    }
    // Off the play area or on a button the tile could be lost or block the button.
    const platform::Point p = miejsceNaKafelek(l.x(), l.y(), l.obraz().width(), l.obraz().height());
    l.ustaw(p.x, p.y);
    okno_.odswiez();
}

void LabellingGame::dwuklik(LetterTile& l) {
    for (auto& p : pola_)
        if (p->tekst() == l.tekst() && p->x() == l.x() && p->y() == l.y()) {
            p->oproznij();
            break;
        }
    przerysujPola();
}

void LabellingGame::sprawdz() {
    std::string napis;
    for (const auto& p : pola_) {
        if (p->pusty()) return;
        napis += p->tekst();
    }
    if (napis != odpowiedz_) {
        if (napis == ostatniZly_) return;
        ostatniZly_ = napis;
        okno_.context().statistics->dodajZle();
        odtworzPochwale(ZACHETA);
        return;
    }
    okno_.context().statistics->dodajDobre();
    odtworzPochwale(POCHWALA);
    platform::loop::blockFor(kPrzerwaPoPochwale);
    odtworzSlowo(slowo_);
    if (Word* s = biezace()) s->flags &= std::uint16_t(~SLOWO_WYBRANE);
    ukryjLitery();
    okno_.ukryjPomoc();
    okno_.odswiez();
    const std::weak_ptr<char> zycie = zycie_;
    platform::app().processMessages();
    // What was pending may have ended this game.
    if (zycie.expired()) return;
    if (wszystkieZnalezione()) timerKonca_.start();
}
