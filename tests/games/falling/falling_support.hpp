// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Plays the falling-pictures window on the headless backend with the shipped data set: program-wide
// objects as start-up makes them, the window shown modally over a black background window.
#include "../game_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "games/falling/FallingWindow.hpp"
#include "widgets/Buttons.hpp"

namespace fallingtest {

using gametest::KatalogTymczasowy;
using gametest::Rekord;

struct Ustawienia {
    int poziom = POZIOM_MALO;
    platform::Size ekran{800, 600};
    std::uint16_t gloski = GL_SZ; // five SZ targets; the five S words fall as distractors
    std::uint16_t pozycja = POZ_NAGLOS;
};

class GraSpadajace : public gametest::GraWOknie<FallingWindow> {
protected:
    void uruchom(Ustawienia u = {}) {
        ust = u;
        uruchomOkno(u.ekran, ZAK_SPADAJACE, [this](Catalogue&) {
            wvtest::context().settings.falling.level = std::int16_t(ust.poziom);
            wvtest::context().settings.falling.sounds = ust.gloski;
            wvtest::context().settings.falling.positions = ust.pozycja;
        });
        ASSERT_NE(okno, nullptr) << d->error();
        ASSERT_NE(okno->gra(), nullptr);
    }

    FallingGame& gra() { return *okno->gra(); }
    int W() { return okno->width(); }
    int H() { return okno->height(); }

    // A falling picture of the wanted kind wholly on screen and clear of the bottom line, waiting for one
    // tick at a time until there is one; -1 when none comes within the time given.
    int widoczny(bool celu, int maksMs = 30000) {
        for (int t = 0; t <= maksMs; t += 25) {
            for (int i = 0; i < gra().liczbaObrazkow(); ++i) {
                const FallingPicture& o = gra().obrazek(i);
                if (!o.aktywny || !o.pole.visible() || gra().cel(o) != celu) continue;
                if (o.y >= 0 && o.y + o.obraz.height() + 10 < gra().dno()) return i;
            }
            d->wait(25);
        }
        return -1;
    }
    // Clicks the middle of picture i where the game has it now.
    void klikObrazek(int i) {
        const FallingPicture& o = gra().obrazek(i);
        d->click(okno->left() + o.x + o.obraz.width() / 2, okno->top() + o.y + o.obraz.height() / 2);
    }
    void traf() {
        const int i = widoczny(true);
        ASSERT_GE(i, 0);
        klikObrazek(i);
    }
    void pudluj() {
        const int i = widoczny(false);
        ASSERT_GE(i, 0);
        klikObrazek(i);
    }

    // What the screen shows in the middle of place k, against what the picture stretched there gives.
    bool miejscePokazuje(int k, const platform::Bitmap& b) {
        const PictureField& p = gra().pole(k);
        for (platform::Point o : {platform::Point{p.szer / 2, p.wys / 2}, platform::Point{3, 4}}) {
            const int sx = o.x * b.width() / p.szer, sy = o.y * b.height() / p.wys;
            if (d->pixel(okno->left() + p.x + o.x, okno->top() + p.y + o.y) != b.pixel(sx, sy)) return false;
        }
        return true;
    }

    Ustawienia ust;
};

} // namespace fallingtest
