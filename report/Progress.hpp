// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "report/StatisticsReader.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What the recorded games say about the child's practice: totals, effectiveness per game, sound and
// position over time, practice per week. Times are in the local time zone.
namespace raport {

inline constexpr int kGier = 4;    // game numbers 1 … 4
inline constexpr int kGlosek = 4;  // SZ, Ż/RZ, CZ, DŻ
inline constexpr int kPozycji = 3; // initial, medial, final

// A moment as the local calendar shows it.
struct CzasLokalny {
    std::int64_t sek = 0; // local wall-clock seconds since 1970-01-01 (UTC seconds plus the zone's offset)
    int rok = 0, miesiac = 0, dzien = 0, godzina = 0, minuta = 0;
    int dzienTygodnia = 0; // 0 Sunday … 6 Saturday

    std::int64_t dzienEpoki() const { return sek >= 0 ? sek / 86400 : (sek - 86399) / 86400; }
};
CzasLokalny czasLokalny(std::int64_t utcSek);

// Correct and wrong answers together; the share is that of correct ones among all answers.
struct Licznik {
    int gier = 0;
    std::int64_t dobre = 0, zle = 0;
    void dodaj(const Gra& g);
    std::optional<double> udzial() const;
};

// A point of a time chart: x in local seconds, y in the chart's unit.
struct Punkt {
    std::int64_t x = 0;
    double y = 0;
};

struct StatGry {
    int gier = 0, ukonczonych = 0;
    std::int64_t czasSek = 0, dobre = 0, zle = 0, podpowiedzi = 0, zadan = 0;
    // Per sound, one point per game that had answers: the share of correct answers in percent.
    std::array<std::vector<Punkt>, kGlosek> skutecznosc;
    std::vector<Punkt> podpowiedziNaZadanie; // one point per game
    std::vector<Punkt> minuty;               // playing time of each game
};

struct StatGloski {
    Licznik razem;
    std::array<Licznik, kPozycji> pozycje; // games in which the position was among those chosen
    // The games practised the sound with different positions, so the per-position shares differ in what
    // they measure; with one set of positions throughout they would all repeat the total.
    bool pozycjeRozne = false;
    // Shares of the earlier and the later half of the sound's games (with at least 4 games that had answers).
    std::optional<double> wczesniej, pozniej;
};

struct Tydzien {
    std::int64_t poniedzialek = 0; // local day number (days since 1970-01-01) of its Monday
    std::array<std::int64_t, kGier> sekundy{};
};

struct Wiersz {
    const Gra* gra = nullptr;
    CzasLokalny czas;
    int ocena = 1;
};

struct Postepy {
    int gier = 0, dni = 0;
    std::int64_t czasSek = 0;
    std::optional<CzasLokalny> pierwsza, ostatnia;
    std::array<StatGry, kGier> gry; // index = game number − 1
    std::array<StatGloski, kGlosek> gloski;
    std::vector<Tydzien> tygodnie; // every week from the first game's to the last game's, empty ones too
    std::vector<Wiersz> wiersze;   // every game, oldest first
};

// The games must outlive the result (rows point at them).
Postepy policz(const std::vector<Gra>& gry);

// The results screen's rating: 1 poor, 2 middling, 4 good.
int ocena(std::int64_t dobre, std::int64_t zle);
// Tasks in a game of the given number and quantity: pairs in memory, words in the others.
int liczbaZadan(int gra, int poziom);

} // namespace raport
