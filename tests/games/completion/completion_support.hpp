// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Plays the completion window on the headless backend with the shipped data set: program-wide objects as
// start-up makes them, the catalogue filtered as the main menu does (the chosen sounds plus their
// partners), the window shown modally.
#include "../game_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/ResourcePictures.hpp"
#include "games/completion/CompletionWindow.hpp"
#include "words/LetterTiles.hpp"

namespace completiontest {

using gametest::KatalogTymczasowy;
using gametest::Rekord;
using gametest::Tlo;

struct Ustawienia {
    int poziom = POZIOM_SREDNIO; // ten words: every SZ and S word of the catalogue
    platform::Size ekran{800, 600};
    std::uint16_t gloski = GL_SZ;
    std::uint16_t pozycja = POZ_NAGLOS;
};

class GraUzupelnianie : public gametest::GraWOknie<CompletionWindow> {
protected:
    void uruchom(Ustawienia u = {}) {
        ust = u;
        uruchomOkno(u.ekran, ZAK_UZUPELNIANIE, [this](Catalogue& katalogSlow) {
            wvtest::context().settings.completion.level = std::int16_t(ust.poziom);
            wvtest::context().settings.completion.sounds = ust.gloski;
            wvtest::context().settings.completion.positions = ust.pozycja;
            GameSettings filtr = wvtest::context().settings.completion;
            filtr.dodajKontrast();
            katalogSlow.filtruj(filtr);
        });
        ASSERT_NE(okno, nullptr) << d->error();
        ASSERT_NE(okno->gra(), nullptr);
        t0 = d->now();
    }

    CompletionGame& gra() { return *okno->gra(); }
    int W() { return okno->width(); }
    int H() { return okno->height(); }

    // Runs an action on the program's side, as a key or button would.
    void wykonaj(platform::Action& a) {
        d->application().post([&a] { a.execute(); });
        d->wait(1);
    }

    // The choice offering unit u, or null.
    const SoundBlock* wybor(const std::string& u) {
        for (int i = 0; i < 2; ++i)
            if (gra().wybor(i) && gra().wybor(i)->tekst == u) return gra().wybor(i);
        return nullptr;
    }
    void klikWybor(const std::string& u) {
        const SoundBlock* w = wybor(u);
        ASSERT_NE(w, nullptr) << u;
        const platform::Rect r = w->pole->bounds();
        d->click(okno->left() + (r.left + r.right) / 2, okno->top() + (r.top + r.bottom) / 2);
    }
    void rozwiaz() { klikWybor(gra().odpowiedz()); }

    // Moves with "nast" to the given word; false when it is not in the game.
    bool idzDo(const std::string& slowo) {
        for (int i = 0; i < 20 && gra().slowo() != slowo; ++i) {
            if (gra().jestOstatnie()) return false;
            klikNast();
        }
        return gra().slowo() == slowo;
    }

    // The screen over a resource picture placed at window position (x, y): every pixel equal.
    bool pokazuje(int x, int y, const std::string& zasob) {
        platform::Bitmap b;
        OtworzBMP(zasob, b);
        const platform::Bitmap& ekran = d->screen();
        for (int j = 0; j < b.height(); ++j)
            for (int i = 0; i < b.width(); ++i)
                if (ekran.pixel(okno->left() + x + i, okno->top() + y + j) != b.pixel(i, j)) return false;
        return true;
    }
    bool lukaPokazuje(const std::string& zasob) {
        const SoundBlock& l = *gra().klocki().at(std::size_t(gra().luka()));
        return pokazuje(l.x, l.y, zasob);
    }
    // What the window showed in the gap, whenever the composition changed, by picture name.
    void sledzLuke(std::vector<std::string> nazwy) {
        obrazy_.clear();
        for (const std::string& n : nazwy) {
            platform::Bitmap b;
            OtworzBMP(n, b);
            obrazy_.emplace_back(n, b);
        }
        widziane.clear();
        okno->kanwaRobocza().setChangeListener([this](const platform::Rect&) {
            if (!okno->gra() || gra().luka() < 0) return;
            const SoundBlock& l = *gra().klocki().at(std::size_t(gra().luka()));
            const platform::Canvas& k = okno->kanwaRobocza();
            for (const auto& [n, b] : obrazy_) {
                bool rowne = true;
                for (int j = 0; j < b.height() && rowne; j += 3)
                    for (int i = 0; i < b.width() && rowne; i += 3)
                        rowne = k.pixel(l.x + i, l.y + j) == b.pixel(i, j);
                if (rowne && (widziane.empty() || widziane.back() != n)) widziane.push_back(n);
            }
        });
    }

    Ustawienia ust;
    std::int64_t t0 = 0;
    std::vector<std::string> widziane;

private:
    std::vector<std::pair<std::string, platform::Bitmap>> obrazy_;
};

} // namespace completiontest
