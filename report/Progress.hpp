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
namespace report {

inline constexpr int kGameCount = 4;     // game numbers 1 … 4
inline constexpr int kSoundCount = 4;    // SZ, Ż/RZ, CZ, DŻ
inline constexpr int kPositionCount = 3; // initial, medial, final

// A moment as the local calendar shows it.
struct LocalTime {
    std::int64_t seconds =
        0; // local wall-clock seconds since 1970-01-01 (UTC seconds plus the zone's offset)
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    int dayOfWeek = 0; // 0 Sunday … 6 Saturday

    std::int64_t epochDay() const { return seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400; }
};
LocalTime toLocalTime(std::int64_t utcSeconds);

// Correct and wrong answers together; the share is that of correct ones among all answers.
struct Counter {
    int gameCount = 0;
    std::int64_t correct = 0, wrong = 0;
    void add(const PlayedGame& g);
    std::optional<double> share() const;
};

// A point of a time chart: x in local seconds, y in the chart's unit.
struct DataPoint {
    std::int64_t x = 0;
    double y = 0;
};

struct GameStats {
    int gameCount = 0, completedCount = 0;
    std::int64_t timeSeconds = 0, correct = 0, wrong = 0, hints = 0, tasks = 0;
    // Per sound, one point per game that had answers: the share of correct answers in percent.
    std::array<std::vector<DataPoint>, kSoundCount> successRate;
    std::vector<DataPoint> hintsPerTask; // one point per game
    std::vector<DataPoint> minutes;      // playing time of each game
};

struct SoundStats {
    Counter total;
    std::array<Counter, kPositionCount> positions; // games in which the position was among those chosen
    // The games practised the sound with different positions, so the per-position shares differ in what
    // they measure; with one set of positions throughout they would all repeat the total.
    bool positionsDiffer = false;
    // Shares of the earlier and the later half of the sound's games (with at least 4 games that had answers).
    std::optional<double> earlier, later;
};

struct Week {
    std::int64_t monday = 0; // local day number (days since 1970-01-01) of its Monday
    std::array<std::int64_t, kGameCount> gameSeconds{};
};

struct TableRow {
    const PlayedGame* game = nullptr;
    LocalTime time;
    int rating = 1;
};

struct ProgressTest {
    int gameCount = 0, days = 0;
    std::int64_t timeSeconds = 0;
    std::optional<LocalTime> first, last;
    std::array<GameStats, kGameCount> games; // index = game number − 1
    std::array<SoundStats, kSoundCount> sounds;
    std::vector<Week> weeks;    // every week from the first game's to the last game's, empty ones too
    std::vector<TableRow> rows; // every game, oldest first
};

// The games must outlive the result (rows point at them).
ProgressTest calculate(const std::vector<PlayedGame>& games);

// The results screen's rating: 1 poor, 2 middling, 4 good.
int rating(std::int64_t correct, std::int64_t wrong);
// Tasks in a game of the given number and quantity: pairs in memory, words in the others.
int taskCount(int game, int level);

} // namespace report
