// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The memory window in the game fixture, the catalogue filtered with the Memory settings.
#include "../game_fixture.hpp"
#include "games/memory/MemoryWindow.hpp"

#include <map>

namespace memorytest {

using gametest::GraWOknie;
using gametest::KatalogTymczasowy;
using gametest::Rekord;

struct Ustawienia {
    int poziom = POZIOM_MALO;
    platform::Size ekran{800, 600};
    std::uint16_t gloski = GL_SZ | GL_S; // all ten words, so that every quantity can be dealt
    std::uint16_t pozycja = POZ_NAGLOS;
};

class GraMemory : public gametest::GraWOknie<MemoryWindow> {
protected:
    void uruchom(Ustawienia u = {}) {
        ust = u;
        uruchomOkno(u.ekran, ZAK_MEMORY, [this](Catalogue& katalogSlow) {
            wvtest::context().settings.memory.level = std::int16_t(ust.poziom);
            wvtest::context().settings.memory.sounds = ust.gloski;
            wvtest::context().settings.memory.positions = ust.pozycja;
            katalogSlow.filtruj(wvtest::context().settings.memory);
        });
        ASSERT_NE(okno, nullptr) << d->error();
        t0 = d->now();
    }

    MemoryGame& gra() { return *okno->gra(); }
    int n() { return gra().liczbaKart(); }
    const MemoryCard& karta(int k) { return *gra().karta(k); }

    // The middle of cell k on the screen.
    platform::Point srodek(int k) {
        const platform::Point p = gra().komorka(k);
        return {okno->left() + p.x + 35, okno->top() + p.y + 47};
    }
    void klikKarte(int k) {
        const platform::Point p = srodek(k);
        d->click(p.x, p.y);
    }

    // The pairs still on the board, as cell numbers.
    std::vector<std::pair<int, int>> pary() {
        std::map<std::string, std::vector<int>> wg;
        for (int k = 0; k < n(); ++k)
            if (karta(k).naPlanszy()) wg[karta(k).slowo()].push_back(k);
        std::vector<std::pair<int, int>> wynik;
        for (auto& [slowo, komorki] : wg)
            if (komorki.size() == 2) wynik.emplace_back(komorki[0], komorki[1]);
        return wynik;
    }
    // A card on the board whose word differs from card k's.
    int inna(int k) {
        for (int j = 0; j < n(); ++j)
            if (karta(j).naPlanszy() && karta(j).slowo() != karta(k).slowo()) return j;
        return -1;
    }
    // The cell of k's partner.
    int partner(int k) {
        for (int j = 0; j < n(); ++j)
            if (j != k && karta(j).slowo() == karta(k).slowo()) return j;
        return -1;
    }

    // What the screen shows at the middle and near the corner of cell k, against a picture file.
    bool pokazuje(int k, const std::string& plik) {
        platform::Bitmap b;
        wczytajJpeg(b, plik);
        const platform::Point p = gra().komorka(k);
        for (platform::Point o : {platform::Point{35, 47}, platform::Point{8, 9}, platform::Point{60, 80}})
            if (d->pixel(okno->left() + p.x + o.x, okno->top() + p.y + o.y) != b.pixel(o.x, o.y))
                return false;
        return true;
    }
    bool rewers(int k) { return pokazuje(k, "Data\\Sio\\blkcard0.xji"); }
    bool awers(int k) { return pokazuje(k, "Data\\Sio\\s" + karta(k).slowo() + ".xji"); }

    int pokazaniaWynikow() {
        int k = 0;
        for (const auto& l : d->log())
            if (l == "form-shown " + wyniki->caption()) ++k;
        return k;
    }

    Ustawienia ust;
    std::int64_t t0 = 0;
};

} // namespace memorytest
