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
inline constexpr const char* kWarsaw = "CET-1CEST,M3.5.0,M10.5.0/3";

// Sets TZ for the lifetime of the object.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) old_ = old, hadOld_ = true;
        ::setenv("TZ", tz, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
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
struct GameRecord {
    platform::SystemTime start; // UTC
    int game, level;
    std::uint16_t sounds, position;
    int gameSeconds, result, hints, correct, wrong;
};

// Plays the game's figures into the program's own statistics record, so the file holds what a real game
// with these figures would have left.
inline void save(StatisticsFile& stat, coretest::ManualClock& clock, const GameRecord& p) {
    static GameSettings settings; // the record keeps a reference until the next start
    settings.level = static_cast<std::int16_t>(p.level);
    settings.sounds = p.sounds;
    settings.positions = p.position;
    clock.setUtc(p.start);
    stat.start(p.game, settings);
    for (int i = 0; i < p.hints; ++i)
        stat.addHint();
    for (int i = 0; i < p.correct; ++i)
        stat.addCorrect();
    for (int i = 0; i < p.wrong; ++i)
        stat.addWrong();
    clock.advanceMs(p.gameSeconds * 1000LL + 400);
    stat.finish();
    stat.save(p.result);
}

// A hand-made record for the damaged cases: the 44 bytes in the file's layout.
inline std::string record(int game, int year, int month, int day, int gameSeconds = 60, int result = 1,
                          int correct = 3, int wrong = 1, int hints = 0, int level = 1) {
    std::string r;
    auto u16 = [&](int v) {
        r += char(v & 0xFF);
        r += char((v >> 8) & 0xFF);
    };
    auto u32 = [&](int v) {
        u16(v & 0xFFFF);
        u16((v >> 16) & 0xFFFF);
    };
    u32(game);
    for (int v : {year, month, 0, day, 12, 0, 0, 0})
        u16(v);
    u16(level), u16(1), u16(0x1000);
    u32(gameSeconds), u16(result), u32(hints), u32(correct), u32(wrong);
    return r;
}

inline std::string header(int program = 1, int year = 2026) {
    std::string h;
    for (int v : {program & 0xFFFF, (program >> 16) & 0xFFFF, year, 11, 1, 2, 10, 0, 0, 0})
        h += char(v & 0xFF), h += char((v >> 8) & 0xFF);
    return h;
}

} // namespace reporttest
