// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/Progress.hpp"

#include <algorithm>
#include <ctime>
#include <unordered_set>

namespace raport {

namespace {

constexpr std::uint16_t kBityGlosek[kGlosek] = {0x0001, 0x0002, 0x0004, 0x0008};
constexpr std::uint16_t kBityPozycji[kPozycji] = {0x1000, 0x2000, 0x4000};
constexpr std::uint16_t kWszystkiePozycje = 0x7000;

// Monday of the week holding a local day (day 0, 1 January 1970, was a Thursday).
std::int64_t poniedzialek(std::int64_t dzien) {
    const std::int64_t odPoniedzialku = ((dzien + 3) % 7 + 7) % 7;
    return dzien - odPoniedzialku;
}

std::optional<double> udzial(std::int64_t dobre, std::int64_t zle) {
    if (dobre + zle <= 0) return std::nullopt;
    return 100.0 * double(dobre) / double(dobre + zle);
}

// Shares of the earlier and later half of a sound's games with answers, weighted by answers.
void trend(StatGloski& s, const std::vector<const Gra*>& gry) {
    const std::size_t n = gry.size();
    if (n < 4) return;
    std::int64_t d1 = 0, z1 = 0, d2 = 0, z2 = 0;
    for (std::size_t i = 0; i < n / 2; ++i) {
        d1 += gry[i]->dobre, z1 += gry[i]->zle;
        d2 += gry[n - 1 - i]->dobre, z2 += gry[n - 1 - i]->zle;
    }
    s.wczesniej = udzial(d1, z1);
    s.pozniej = udzial(d2, z2);
}

} // namespace

CzasLokalny czasLokalny(std::int64_t utcSek) {
    CzasLokalny c;
    const std::time_t t = static_cast<std::time_t>(utcSek);
    std::tm tm{};
    if (!::localtime_r(&t, &tm)) ::gmtime_r(&t, &tm);
    c.sek = utcSek + tm.tm_gmtoff;
    c.rok = tm.tm_year + 1900;
    c.miesiac = tm.tm_mon + 1;
    c.dzien = tm.tm_mday;
    c.godzina = tm.tm_hour;
    c.minuta = tm.tm_min;
    c.dzienTygodnia = tm.tm_wday;
    return c;
}

void Licznik::dodaj(const Gra& g) {
    ++gier;
    dobre += g.dobre;
    zle += g.zle;
}

std::optional<double> Licznik::udzial() const {
    return raport::udzial(dobre, zle);
}

int ocena(std::int64_t dobre, std::int64_t zle) {
    // correct ≤ 0.4 × wrong, and wrong > 0.6 × correct, in whole numbers so the thresholds are exact.
    if (5 * dobre <= 2 * zle) return 1;
    if (5 * zle > 3 * dobre) return 2;
    return 4;
}

int liczbaZadan(int gra, int poziom) {
    if (gra == 2) return poziom == 1 ? 3 : poziom == 2 ? 6 : 10;
    return poziom * 5;
}

Postepy policz(const std::vector<Gra>& gry) {
    Postepy p;
    p.wiersze.reserve(gry.size());
    for (const Gra& g : gry)
        p.wiersze.push_back({&g, czasLokalny(g.startSek), ocena(g.dobre, g.zle)});
    // Records are appended in time order, but a clock set back can disorder them.
    std::stable_sort(p.wiersze.begin(), p.wiersze.end(),
                     [](const Wiersz& a, const Wiersz& b) { return a.gra->startSek < b.gra->startSek; });
    if (p.wiersze.empty()) return p;

    p.gier = static_cast<int>(p.wiersze.size());
    p.pierwsza = p.wiersze.front().czas;
    p.ostatnia = p.wiersze.back().czas;
    const std::int64_t pierwszyTydzien = poniedzialek(p.pierwsza->dzienEpoki());
    for (std::int64_t t = pierwszyTydzien; t <= p.ostatnia->dzienEpoki(); t += 7)
        p.tygodnie.push_back({t, {}});

    std::unordered_set<std::int64_t> dni;
    std::array<std::vector<const Gra*>, kGlosek> gryGloski;
    std::array<std::uint16_t, kGlosek> pierwszePozycje{};
    for (const Wiersz& w : p.wiersze) {
        const Gra& g = *w.gra;
        const std::int64_t x = w.czas.sek;
        p.czasSek += g.czasSek;
        dni.insert(w.czas.dzienEpoki());
        p.tygodnie[(poniedzialek(w.czas.dzienEpoki()) - pierwszyTydzien) / 7].sekundy[g.gra - 1] += g.czasSek;

        StatGry& s = p.gry[g.gra - 1];
        ++s.gier;
        s.ukonczonych += g.ukonczona;
        s.czasSek += g.czasSek;
        s.dobre += g.dobre;
        s.zle += g.zle;
        s.podpowiedzi += g.podpowiedzi;
        const int zadan = liczbaZadan(g.gra, g.poziom);
        s.zadan += zadan;
        s.podpowiedziNaZadanie.push_back({x, double(g.podpowiedzi) / zadan});
        s.minuty.push_back({x, g.czasSek / 60.0});
        const std::optional<double> u = udzial(g.dobre, g.zle);

        for (int i = 0; i < kGlosek; ++i) {
            if (!(g.gloski & kBityGlosek[i])) continue;
            if (u) s.skutecznosc[i].push_back({x, *u});
            StatGloski& gl = p.gloski[i];
            const std::uint16_t pozycje = g.pozycja & kWszystkiePozycje;
            if (gl.razem.gier == 0)
                pierwszePozycje[i] = pozycje;
            else if (pozycje != pierwszePozycje[i])
                gl.pozycjeRozne = true;
            gl.razem.dodaj(g);
            for (int k = 0; k < kPozycji; ++k)
                if (pozycje & kBityPozycji[k]) gl.pozycje[k].dodaj(g);
            if (u) gryGloski[i].push_back(&g);
        }
    }
    p.dni = static_cast<int>(dni.size());
    for (int i = 0; i < kGlosek; ++i)
        trend(p.gloski[i], gryGloski[i]);
    return p;
}

} // namespace raport
