// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../core/CoreTestSupport.hpp"
#include "core/GameSettings.hpp"
#include "core/StatisticsFile.hpp"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace reporttest {

// Warsaw's zone written out (no tz database needed): CET, CEST from the last Sunday of March.
inline constexpr const char* kWarszawa = "CET-1CEST,M3.5.0,M10.5.0/3";

// Sets TZ for the lifetime of the object.
class Strefa {
public:
    explicit Strefa(const char* tz) {
        if (const char* old = std::getenv("TZ")) old_ = old, hadOld_ = true;
        ::setenv("TZ", tz, 1);
        ::tzset();
    }
    ~Strefa() {
        if (hadOld_)
            ::setenv("TZ", old_.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

// One game as the tests describe it.
struct Partia {
    platform::SystemTime start; // UTC
    int gra, poziom;
    std::uint16_t gloski, pozycja;
    int sekundy, wynik, podpowiedzi, dobre, zle;
};

// Plays the game's figures into the program's own statistics record, so the file holds what a real game
// with these figures would have left.
inline void zapisz(StatisticsFile& stat, coretest::ManualClock& zegar, const Partia& p) {
    static GameSettings ustawienia; // the record keeps a reference until the next start
    ustawienia.level = static_cast<std::int16_t>(p.poziom);
    ustawienia.sounds = p.gloski;
    ustawienia.positions = p.pozycja;
    zegar.setUtc(p.start);
    stat.start(p.gra, ustawienia);
    for (int i = 0; i < p.podpowiedzi; ++i)
        stat.dodajPodpowiedz();
    for (int i = 0; i < p.dobre; ++i)
        stat.dodajDobre();
    for (int i = 0; i < p.zle; ++i)
        stat.dodajZle();
    zegar.advanceMs(p.sekundy * 1000LL + 400);
    stat.zakoncz();
    stat.zapisz(p.wynik);
}

// A hand-made record for the damaged cases: the 44 bytes in the file's layout.
inline std::string rekord(int gra, int rok, int miesiac, int dzien, int sekundy = 60, int wynik = 1,
                          int dobre = 3, int zle = 1, int podpowiedzi = 0, int poziom = 1) {
    std::string r;
    auto u16 = [&](int v) {
        r += char(v & 0xFF);
        r += char((v >> 8) & 0xFF);
    };
    auto u32 = [&](int v) {
        u16(v & 0xFFFF);
        u16((v >> 16) & 0xFFFF);
    };
    u32(gra);
    for (int v : {rok, miesiac, 0, dzien, 12, 0, 0, 0})
        u16(v);
    u16(poziom), u16(1), u16(0x1000);
    u32(sekundy), u16(wynik), u32(podpowiedzi), u32(dobre), u32(zle);
    return r;
}

inline std::string naglowek(int program = 1, int rok = 2026) {
    std::string h;
    for (int v : {program & 0xFFFF, (program >> 16) & 0xFFFF, rok, 11, 1, 2, 10, 0, 0, 0})
        h += char(v & 0xFF), h += char((v >> 8) & 0xFF);
    return h;
}

} // namespace reporttest
