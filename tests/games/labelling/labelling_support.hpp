// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Plays the labelling window on the headless backend with the shipped data set: program-wide objects as
// start-up makes them, the catalogue filtered with the labelling settings, the window shown modally.
// Tiles are found through the game object and moved by real drags.
#include "../game_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/ResourcePictures.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "widgets/Buttons.hpp"

#include <algorithm>

namespace labellingtest {

using gametest::KatalogTymczasowy;
using gametest::Rekord;
using gametest::Tlo;

struct Ustawienia {
    int poziom = POZIOM_MALO;
    platform::Size ekran{800, 600};
    std::uint16_t gloski = GL_SZ; // the five SZ words: every draw holds all of them
    std::uint16_t pozycja = POZ_NAGLOS;
};

class GraPodpisywanie : public gametest::GraWOknie<LabellingWindow> {
protected:
    void uruchom(Ustawienia u = {}) {
        ust = u;
        uruchomOkno(u.ekran, ZAK_PODPISYWANIE, [this](Catalogue& katalogSlow) {
            wvtest::context().settings.labelling.level = std::int16_t(ust.poziom);
            wvtest::context().settings.labelling.sounds = ust.gloski;
            wvtest::context().settings.labelling.positions = ust.pozycja;
            katalogSlow.filtruj(wvtest::context().settings.labelling);
        });
        ASSERT_NE(okno, nullptr) << d->error();
        ASSERT_NE(okno->gra(), nullptr) << d->error();
    }

    LabellingGame& gra() { return *okno->gra(); }
    int W() { return okno->width(); }
    int H() { return okno->height(); }
    platform::Point ekran(int x, int y) { return {okno->left() + x, okno->top() + y}; }

    const LetterTile* kafelek(const std::string& tekst, bool wolny = true) {
        for (int i = 0; i < gra().liczbaLiter(); ++i) {
            const LetterTile* l = &gra().litera(i);
            if (l->tekst() != tekst) continue;
            if (wolny && wPolu(l) >= 0) continue;
            return l;
        }
        return nullptr;
    }
    // The field the tile lies in, or -1.
    int wPolu(const LetterTile* l) {
        for (int i = 0; i < gra().liczbaLiter(); ++i)
            if (gra().pole(i).litera() == l) return i;
        return -1;
    }

    // Drags a tile, held 10 px inside its corner, so that its corner lands at (x, y) in window coordinates.
    void przeciagnij(const LetterTile* l, int x, int y) {
        const platform::Point a = ekran(l->x() + 10, l->y() + 10), b = ekran(x + 10, y + 10);
        d->drag(a.x, a.y, b.x, b.y);
    }
    void doPola(const LetterTile* l, int pole) { przeciagnij(l, gra().pole(pole).x(), gra().pole(pole).y()); }

    // The word's units in order, read from the catalogue entry.
    std::vector<std::string> glosy() {
        std::vector<std::string> w;
        std::string g = wvtest::context().catalogue->wybrane().at(std::size_t(gra().nrSlowa())).spelling, u;
        for (char c : g) {
            if (c == ',') {
                if (!u.empty()) w.push_back(u);
                u.clear();
            } else if (c != '_') {
                u += c;
            }
        }
        return w;
    }
    void rozwiaz() {
        const auto g = glosy();
        for (std::size_t i = 0; i < g.size(); ++i) {
            if (gra().pole(int(i)).tekst() == g[i]) continue;
            if (const LetterTile* zly = gra().pole(int(i)).litera()) przeciagnij(zly, 200, 60);
            doPola(kafelek(g[i]), int(i));
        }
    }

    void idzDo(const std::string& slowo) {
        while (gra().nrSlowa() > 0)
            klikPop();
        for (int k = 0; k < 20 && gra().slowo() != slowo; ++k)
            klikNast();
        ASSERT_EQ(gra().slowo(), slowo);
    }

    int ileDzwiekow(const std::string& prefiks) {
        return int(std::count_if(d->log().begin(), d->log().end(),
                                 [&](const std::string& l) { return l.rfind("sound " + prefiks, 0) == 0; }));
    }
    std::vector<std::string> dzwieki() {
        std::vector<std::string> w;
        for (const auto& l : d->log())
            if (l.rfind("sound ", 0) == 0) w.push_back(l.substr(6));
        return w;
    }

    Ustawienia ust;
};

} // namespace labellingtest
