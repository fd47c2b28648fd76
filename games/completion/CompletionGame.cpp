// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "games/completion/CompletionGame.hpp"

#include "core/ProgramContext.hpp"
#include "core/ResourcePictures.hpp"
#include "core/ScreenLayout.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "games/completion/CompletionWindow.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/core/Random.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Cursor.hpp"
#include "words/Catalogue.hpp"
#include "words/LetterTiles.hpp"

#include <array>
#include <exception>
#include <utility>

namespace {

// The practised sound and its look-alike; the first pair holding the answer wins, so "z" gets "rz".
constexpr std::array<std::pair<const char*, const char*>, 5> kPary{{
    {"sz", "s"},
    {"cz", "c"},
    {"rz", "z"},
    {"ż", "z"},
    {"dż", "dz"},
}};

} // namespace

// ---- the piece

SoundBlock::SoundBlock(const std::string& tekst_, const std::string& nazwaObrazu, CompletionWindow* okno,
                       CompletionGame* gra)
    : tekst(tekst_) {
    zmienObraz(nazwaObrazu);
    if (!okno) return;
    pole = std::make_unique<platform::ImageControl>(*okno);
    pole->name = "wybor_" + tekst;
    // The second press of a double click is no second try: one wrong choice counts once.
    pole->acceptsDoubleClicks = true;
    pole->setBounds(0, 0, obraz.width(), obraz.height());
    pole->onClick = [this, gra] {
        if (klikalny && gra) gra->wybierz(tekst);
    };
    pole->show();
}

void SoundBlock::zmienObraz(const std::string& nazwa) {
    try {
        OtworzBMP(nazwa, obraz);
    } catch (const std::exception&) {
        obraz = platform::Bitmap();
    }
}

void SoundBlock::ustaw(int nx, int ny) {
    x = std::int16_t(nx);
    y = std::int16_t(ny);
    if (pole) pole->setPosition(x, y);
}

void SoundBlock::rysuj(platform::Canvas& kanwa) const {
    if (!obraz.empty()) kanwa.draw(x, y, obraz);
}

void SoundBlock::ustawKlikalny(bool k) {
    klikalny = k ? 1 : 0;
    if (pole) pole->setCursor(k ? platform::kCursorHelp : platform::kCursorDefault);
}

platform::Rect SoundBlock::obszar() const {
    return platform::Rect::fromSize(x, y, obraz.width(), obraz.height());
}

// ---- the game

int CompletionGame::poczatekRzedu(int n, int bok, int W) {
    const int p = bok + 5;
    return W / 2 - (n / 2) * p - ((n % 2) * p) / 2;
}

platform::Point CompletionGame::miejsceWyboru(int slot, int W, int H) {
    return slot == 0 ? platform::Point{3 * W / 4, H / 2} : platform::Point{W / 4 - 40, H / 2};
}

CompletionGame::CompletionGame(CompletionWindow& okno, platform::Canvas& robocza, platform::Canvas& tla)
    : okno_(okno), kanwaRobocza(robocza), kanwaTla(tla) {
    nrOstatniego =
        std::int16_t(int(okno_.context().catalogue ? okno_.context().catalogue->wybrane().size() : 0) - 1);
    tryb_ = okno_.context().layout.mode();
    W = okno_.context().layout.areaWidth();
    H = okno_.context().layout.areaHeight();
    bok_ = tryb_ == TRYB_800 ? 44 : 55;
    timerKonca.onTimer = [this] {
        timerKonca.stop();
        // Ending may start a new game, which destroys this one: nothing may follow.
        okno_.A_Stop.execute();
    };
    try {
        const std::string plik = tryb_ == TRYB_800 ? "Data\\Bio\\_matr_ups.xji" : "Data\\Bio\\_matr_upb.xji";
        if (platform::fs::exists(plik)) wczytajJpeg(maska_, plik);
    } catch (const std::exception&) {
        // Without a mask the picture is still drawn, only reopening by double click is lost.
        maska_ = platform::Bitmap();
    }
}

CompletionGame::~CompletionGame() = default;

void CompletionGame::ustawObrazek(int x, int y) {
    xObrazka = x;
    yObrazka = y;
}

bool CompletionGame::jestSlowo() const {
    return okno_.context().catalogue && nrSlowa >= 0 && nrSlowa <= nrOstatniego &&
           std::size_t(nrSlowa) < okno_.context().catalogue->wybrane().size();
}

std::string CompletionGame::przyrostek() const {
    return tryb_ == TRYB_800 ? "_s" : "_b";
}

bool CompletionGame::rozwiazane() const {
    return jestSlowo() && !(okno_.context().catalogue->wybrane()[std::size_t(nrSlowa)].flags & SLOWO_WYBRANE);
}

bool CompletionGame::wszystkieZnalezione() const {
    if (!okno_.context().catalogue) return false;
    for (const Word& s : okno_.context().catalogue->wybrane())
        if (s.flags & SLOWO_WYBRANE) return false;
    return true;
}

void CompletionGame::ustawOtwarte(bool otwarte) {
    if (!jestSlowo()) return;
    Word& s = okno_.context().catalogue->wybrane()[std::size_t(nrSlowa)];
    if (otwarte)
        s.flags |= SLOWO_WYBRANE;
    else
        s.flags &= std::uint16_t(~SLOWO_WYBRANE);
}

void CompletionGame::przygotujZadanie() {
    klocki_.clear();
    wybor1.reset();
    wybor2.reset();
    nrLuki = -1;
    odpowiedz_.clear();
    wybrana.clear();
    if (!jestSlowo()) return;
    const Word& s = okno_.context().catalogue->wybrane()[std::size_t(nrSlowa)];
    slowo_ = s.stem;
    const std::string r = przyrostek();
    for (const SoundUnit& j : podzielGlosy(s.spelling)) {
        if (j.oznaczona && nrLuki < 0) {
            odpowiedz_ = j.tekst;
            nrLuki = std::int16_t(klocki_.size());
            klocki_.push_back(std::make_unique<SoundBlock>("question", "question" + r, nullptr));
            for (const auto& [a, b] : kPary) {
                if (odpowiedz_ != a && odpowiedz_ != b) continue;
                const int los = platform::random::below(2);
                wybor1 = std::make_unique<SoundBlock>(a, kodLitery(a) + r, &okno_, this);
                wybor2 = std::make_unique<SoundBlock>(b, kodLitery(b) + r, &okno_, this);
                const platform::Point s1 = miejsceWyboru(los, W, H), s2 = miejsceWyboru(1 - los, W, H);
                wybor1->ustaw(s1.x, s1.y);
                wybor2->ustaw(s2.x, s2.y);
                wybor1->ustawKlikalny(true);
                wybor2->ustawKlikalny(true);
                break;
            }
        } else {
            // A second marked unit (not in the catalogue) is shown as an ordinary unit.
            klocki_.push_back(std::make_unique<SoundBlock>(j.tekst, kodLitery(j.tekst) + r, nullptr));
        }
    }
    uloz();
    if (rozwiazane()) {
        for (SoundBlock* w : {wybor1.get(), wybor2.get()}) {
            if (!w) continue;
            w->ustawKlikalny(false);
            w->pole->hide();
        }
        if (nrLuki >= 0) klocki_[std::size_t(nrLuki)]->zmienObraz(kodLitery(odpowiedz_) + "_red" + r);
    }
}

void CompletionGame::uloz() {
    const int n = int(klocki_.size());
    const int x0 = poczatekRzedu(n, bok_, W);
    for (int i = 0; i < n; ++i)
        klocki_[std::size_t(i)]->ustaw(x0 + i * (bok_ + 5), H / 10);
}

void CompletionGame::rysuj() {
    if (!jestSlowo()) return;
    const Word& s = okno_.context().catalogue->wybrane()[std::size_t(nrSlowa)];
    if (s.picture && !s.picture->empty()) {
        if (!maska_.empty()) {
            rysujZMaska(kanwaRobocza, xObrazka, yObrazka, maska_, *s.picture);
        } else {
            kanwaRobocza.setCopyMode(platform::CopyMode::SrcAnd);
            kanwaRobocza.draw(xObrazka, yObrazka, *s.picture);
            kanwaRobocza.setCopyMode(platform::CopyMode::SrcCopy);
        }
    }
    uloz();
    for (const auto& k : klocki_)
        k->rysuj(kanwaRobocza);
    if (rozwiazane()) return;
    for (SoundBlock* w : {wybor1.get(), wybor2.get()}) {
        if (!w) continue;
        w->pole->show();
        w->rysuj(kanwaRobocza);
    }
}

void CompletionGame::rysujLuke() {
    if (nrLuki < 0) return;
    const SoundBlock& l = *klocki_[std::size_t(nrLuki)];
    // The gap's old picture may be larger than the new one: clear its cell first.
    const platform::Rect r = platform::Rect::fromSize(l.x, l.y, bok_, bok_);
    kanwaRobocza.copyRect(r, kanwaTla, r);
    l.rysuj(kanwaRobocza);
}

void CompletionGame::wybierz(const std::string& jednostka) {
    okno_.context().statistics->aktywnosc();
    if (nrLuki < 0 || rozwiazane()) return;
    wybrana = jednostka;
    const std::string r = przyrostek();
    SoundBlock& l = *klocki_[std::size_t(nrLuki)];
    if (wybrana == odpowiedz_) {
        l.zmienObraz(kodLitery(odpowiedz_) + "_red" + r);
        rysujLuke();
        for (SoundBlock* w : {wybor1.get(), wybor2.get()}) {
            if (!w) continue;
            w->ustawKlikalny(false);
            w->pole->hide();
            const platform::Rect o = w->obszar();
            kanwaRobocza.copyRect(o, kanwaTla, o);
        }
        okno_.ukryjPomoc();
        okno_.odswiez();
        odtworzPochwale(POCHWALA);
        odtworzSlowo(slowo_);
        ustawOtwarte(false);
        okno_.czekaj(400);
        okno_.context().statistics->dodajDobre();
        if (wszystkieZnalezione()) timerKonca.start();
    } else {
        l.zmienObraz(kodLitery(wybrana) + r);
        rysujLuke();
        okno_.odswiez();
        odtworzPochwale(ZACHETA);
        okno_.context().statistics->dodajZle();
        okno_.czekaj(400);
        l.zmienObraz("question" + r);
        rysujLuke();
        okno_.odswiez();
    }
}

void CompletionGame::podpowiedz() {
    timerKonca.stop();
    okno_.context().statistics->dodajPodpowiedz();
    if (!odtworzSlowo(slowo_)) okno_.czekaj(1500);
}

bool CompletionGame::nastepne() {
    timerKonca.stop();
    if (jestOstatnie()) return false;
    ++nrSlowa;
    return true;
}

bool CompletionGame::poprzednie() {
    timerKonca.stop();
    if (jestPierwsze()) return false;
    --nrSlowa;
    return true;
}

bool CompletionGame::otworzPonownie(int x, int y) {
    if (!jestSlowo() || maska_.empty()) return false;
    if (!(xObrazka < x && x < xObrazka + maska_.width() && yObrazka < y && y < yObrazka + maska_.height()))
        return false;
    ustawOtwarte(true);
    for (SoundBlock* w : {wybor1.get(), wybor2.get()}) {
        if (!w) continue;
        w->ustawKlikalny(true);
        w->pole->show();
        w->rysuj(kanwaRobocza);
    }
    if (nrLuki >= 0) {
        klocki_[std::size_t(nrLuki)]->zmienObraz("question" + przyrostek());
        rysujLuke();
    }
    return true;
}
