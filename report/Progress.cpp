// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report/Progress.hpp"

#include <algorithm>
#include <ctime>
#include <unordered_set>

namespace report {

namespace {

constexpr std::uint16_t kSoundBits[kSoundCount] = {0x0001, 0x0002, 0x0004, 0x0008};
constexpr std::uint16_t kPositionBits[kPositionCount] = {0x1000, 0x2000, 0x4000};
constexpr std::uint16_t kAllPositions = 0x7000;

// Monday of the week holding a local day (day 0, 1 January 1970, was a Thursday).
std::int64_t monday(std::int64_t day) {
    const std::int64_t sinceMonday = ((day + 3) % 7 + 7) % 7;
    return day - sinceMonday;
}

std::optional<double> share(std::int64_t correct, std::int64_t wrong) {
    if (correct + wrong <= 0) return std::nullopt;
    return 100.0 * double(correct) / double(correct + wrong);
}

// Shares of the earlier and later half of a sound's games with answers, weighted by answers.
void trend(SoundStats& s, const std::vector<const PlayedGame*>& games) {
    const std::size_t n = games.size();
    if (n < 4) return;
    std::int64_t d1 = 0, z1 = 0, d2 = 0, z2 = 0;
    for (std::size_t i = 0; i < n / 2; ++i) {
        d1 += games[i]->correct, z1 += games[i]->wrong;
        d2 += games[n - 1 - i]->correct, z2 += games[n - 1 - i]->wrong;
    }
    s.earlier = share(d1, z1);
    s.later = share(d2, z2);
}

} // namespace

LocalTime toLocalTime(std::int64_t utcSeconds) {
    LocalTime c;
    const std::time_t t = static_cast<std::time_t>(utcSeconds);
    std::tm tm{};
    if (!::localtime_r(&t, &tm)) ::gmtime_r(&t, &tm);
    c.seconds = utcSeconds + tm.tm_gmtoff;
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.dayOfWeek = tm.tm_wday;
    return c;
}

void Counter::add(const PlayedGame& g) {
    ++gameCount;
    correct += g.correct;
    wrong += g.wrong;
}

std::optional<double> Counter::share() const {
    return report::share(correct, wrong);
}

int rating(std::int64_t correct, std::int64_t wrong) {
    // correct ≤ 0.4 × wrong, and wrong > 0.6 × correct, in whole numbers so the thresholds are exact.
    if (5 * correct <= 2 * wrong) return 1;
    if (5 * wrong > 3 * correct) return 2;
    return 4;
}

int taskCount(int game, int level) {
    if (game == 2) return level == 1 ? 3 : level == 2 ? 6 : 10;
    return level * 5;
}

ProgressTest calculate(const std::vector<PlayedGame>& games) {
    ProgressTest p;
    p.rows.reserve(games.size());
    for (const PlayedGame& g : games)
        p.rows.push_back({&g, toLocalTime(g.startSeconds), rating(g.correct, g.wrong)});
    // Records are appended in time order, but a clock set back can disorder them.
    std::stable_sort(p.rows.begin(), p.rows.end(), [](const TableRow& a, const TableRow& b) {
        return a.game->startSeconds < b.game->startSeconds;
    });
    if (p.rows.empty()) return p;

    p.gameCount = static_cast<int>(p.rows.size());
    p.first = p.rows.front().time;
    p.last = p.rows.back().time;
    const std::int64_t firstWeek = monday(p.first->epochDay());
    for (std::int64_t t = firstWeek; t <= p.last->epochDay(); t += 7)
        p.weeks.push_back({t, {}});

    std::unordered_set<std::int64_t> days;
    std::array<std::vector<const PlayedGame*>, kSoundCount> soundGames;
    std::array<std::uint16_t, kSoundCount> firstPositions{};
    for (const TableRow& w : p.rows) {
        const PlayedGame& g = *w.game;
        const std::int64_t x = w.time.seconds;
        p.timeSeconds += g.timeSeconds;
        days.insert(w.time.epochDay());
        p.weeks[(monday(w.time.epochDay()) - firstWeek) / 7].gameSeconds[g.game - 1] += g.timeSeconds;

        GameStats& s = p.games[g.game - 1];
        ++s.gameCount;
        s.completedCount += g.completed;
        s.timeSeconds += g.timeSeconds;
        s.correct += g.correct;
        s.wrong += g.wrong;
        s.hints += g.hints;
        const int tasks = taskCount(g.game, g.level);
        s.tasks += tasks;
        s.hintsPerTask.push_back({x, double(g.hints) / tasks});
        s.minutes.push_back({x, g.timeSeconds / 60.0});
        const std::optional<double> u = share(g.correct, g.wrong);

        for (int i = 0; i < kSoundCount; ++i) {
            if (!(g.sounds & kSoundBits[i])) continue;
            if (u) s.successRate[i].push_back({x, *u});
            SoundStats& gl = p.sounds[i];
            const std::uint16_t positions = g.position & kAllPositions;
            if (gl.total.gameCount == 0)
                firstPositions[i] = positions;
            else if (positions != firstPositions[i])
                gl.positionsDiffer = true;
            gl.total.add(g);
            for (int k = 0; k < kPositionCount; ++k)
                if (positions & kPositionBits[k]) gl.positions[k].add(g);
            if (u) soundGames[i].push_back(&g);
        }
    }
    p.days = static_cast<int>(days.size());
    for (int i = 0; i < kSoundCount; ++i)
        trend(p.sounds[i], soundGames[i]);
    return p;
}

} // namespace report
