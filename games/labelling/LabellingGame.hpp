// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/core/Types.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Input.hpp"
#include "words/Catalogue.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Canvas;
}
class LabellingGame;
class LabellingWindow;

// A letter tile: its picture and the picture-less hit area that carries the drag. Fields derive from it
// and have neither.
class LetterTile {
public:
    // A field: no picture, no hit area.
    LetterTile() = default;
    // A tile of unit tekst; czerwona picks the picture of the practised sound.
    LetterTile(LabellingWindow& okno, LabellingGame& gra, const std::string& tekst, bool czerwona, int tryb);
    virtual ~LetterTile();
    LetterTile(const LetterTile&) = delete;
    LetterTile& operator=(const LetterTile&) = delete;

    const std::string& tekst() const { return tekst_; }
    int x() const { return x_; }
    int y() const { return y_; }
    // Moves the tile and its hit area.
    void ustaw(int x, int y);
    const platform::Bitmap& obraz() const { return obraz_; }
    platform::Rect obszar() const {
        return platform::Rect::fromSize(x_, y_, obraz_.width(), obraz_.height());
    }
    platform::ImageControl* pole() const { return pole_.get(); }
    void rysuj(platform::Canvas& kanwa) const;

protected:
    friend class LabellingGame;
    platform::Bitmap obraz_;
    std::unique_ptr<platform::ImageControl> pole_;
    std::string tekst_;
    std::int16_t x_ = 0, y_ = 0;
};

// One field of the caption; tekst is the text of the tile lying in it.
class LetterField : public LetterTile {
public:
    LetterTile* litera() const { return litera_; }
    bool pusty() const { return litera_ == nullptr; }
    void oproznij() {
        litera_ = nullptr;
        tekst_.clear();
    }
    void przyjmij(LetterTile& l) {
        litera_ = &l;
        tekst_ = l.tekst();
    }

private:
    friend class LabellingGame;
    LetterTile* litera_ = nullptr;
};

// One labelling game on the catalogue's selection: the current word's tiles and fields and the end timer.
class LabellingGame {
public:
    static constexpr int kZasiegPola = 25;  // a drop this close to a field snaps into it
    static constexpr int kNadPolem = 60;    // a drop by an occupied field lands this far above it
    static constexpr int kOdstep = 65;      // scattered tiles keep this distance on one axis at least
    static constexpr int kRamka = 5;        // width of a field's frame
    static constexpr int kKoniecMs = 60000; // the game ends this long after the last word is solved

    explicit LabellingGame(LabellingWindow& okno);
    ~LabellingGame();
    LabellingGame(const LabellingGame&) = delete;
    LabellingGame& operator=(const LabellingGame&) = delete;

    void ustawObrazek(int x, int y) {
        xObrazka_ = x;
        yObrazka_ = y;
    }
    void ustawKanwy(platform::Canvas& robocza, platform::Canvas& przeciagania) {
        kanwaRobocza_ = &robocza;
        kanwaPrzeciagania_ = &przeciagania;
    }
    void przygotujZadanie();
    void rysujObrazek();
    void rysujPola(platform::Canvas& kanwa);
    void rysujLitery();
    void ukryjLitery();
    void rozrzuc();
    void pokazRozwiazanie();
    void podpowiedz();
    void powiedz();
    bool nastepne();
    bool poprzednie();
    bool jestOstatnie() const { return nrSlowa_ == nrOstatniego_; }
    bool jestPierwsze() const { return nrSlowa_ == 0; }
    bool rozwiazane() const;
    bool wszystkieZnalezione() const;
    bool trafionoObrazek(int x, int y);

    platform::Timer& timerKonca() { return timerKonca_; }

    // State as the window and tests see it.
    int nrSlowa() const { return nrSlowa_; }
    const std::string& odpowiedz() const { return odpowiedz_; }
    const std::string& slowo() const { return slowo_; }
    int bok() const { return bok_; }
    int liczbaLiter() const { return int(litery_.size()); }
    const LetterTile& litera(int i) const { return *litery_[std::size_t(i)]; }
    const LetterField& pole(int i) const { return *pola_[std::size_t(i)]; }
    const LetterTile* przeciagana() const { return przeciagana_; }
    const platform::Bitmap& maska() const { return maska_; }
    // Where field i of n stands for a content area of w x h and tile side bok.
    static platform::Point miejscePola(int i, int n, int w, int h, int bok);
    // The nearest place to (x, y) for a tile of size w x h that lies fully inside the play area and
    // off every button.
    platform::Point miejsceNaKafelek(int x, int y, int w, int h) const;

private:
    friend class LetterTile;
    // Tile events.
    void wcisnieta(LetterTile& l, platform::MouseButton b, platform::ShiftState s, int mx, int my);
    void przesuwana(LetterTile& l, platform::ShiftState s);
    void puszczona(LetterTile& l, platform::MouseButton b);
    void dwuklik(LetterTile& l);
    void sprawdz();
    void ustawPola();
    void przerysujPola();
    int losowa(int m) const;
    // A scattered tile there would lie on a field (frame included) or on a button, or leave the area.
    bool zajete(const platform::Rect& r) const;
    Word* biezace() const;

    LabellingWindow& okno_;
    std::int16_t nrSlowa_ = 0;
    std::string odpowiedz_;
    std::string slowo_;
    std::int32_t nrOstatniego_ = -1;
    platform::Bitmap maska_;
    std::int32_t xObrazka_ = 0, yObrazka_ = 0;
    std::int16_t bok_ = 44;
    int tryb_ = 0;
    int W_ = 800, H_ = 600;
    platform::Timer timerKonca_{kKoniecMs};
    std::vector<std::unique_ptr<LetterTile>> litery_;
    std::vector<std::unique_ptr<LetterField>> pola_;
    LetterTile* przeciagana_ = nullptr;
    platform::Canvas* kanwaRobocza_ = nullptr;
    platform::Canvas* kanwaPrzeciagania_ = nullptr;
    // The tile under the mouse since its press, and where in it the press was (screen offset).
    LetterTile* chwycona_ = nullptr;
    platform::Point chwyt_{};
    bool poDwukliku_ = false;
    // The last wrong caption counted: the same caption again (a tile taken out and put back) is not
    // another wrong answer.
    std::string ostatniZly_;
    std::shared_ptr<char> zycie_ = std::make_shared<char>();
};
