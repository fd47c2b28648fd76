// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Statistics reader behind the progress report, over arbitrary file contents, then the figures made of it.
#include "core/StatisticsRecord.hpp"
#include "report/Progress.hpp"
#include "report/StatisticsReader.hpp"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

// 2026-12-08 12:00 UTC: some records of a random file lie after it, most before.
const std::int64_t kNow = report::daysSinceEpoch(2026, 12, 8) * 86400 + 12 * 3600;

void check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool header = size % 2 == 0;
    const report::ReadResult o = report::readBytes(std::span(data, size), kNow, header);
    // Every record is either kept or counted as skipped, and what is kept passed the checks.
    const std::size_t recordCount =
        size < kStatisticsHeaderSize
            ? 0
            : (size - kStatisticsHeaderSize + kStatisticsRecordSize - 1) / kStatisticsRecordSize;
    check(o.games.size() + std::size_t(o.skipped) == recordCount);
    int previousNumber = 0;
    for (const report::PlayedGame& g : o.games) {
        check(g.game >= 1 && g.game <= 4 && g.level >= 1 && g.level <= 3 && g.timeSeconds >= 0);
        check(g.correct >= 0 && g.wrong >= 0 && g.hints >= 0);
        check(g.startSeconds <= kNow + report::kToleranceSeconds);
        check(g.number > previousNumber);
        previousNumber = g.number;
    }
    check(o.ahead <= int(o.games.size()));
    const report::ProgressTest p = report::calculate(o.games);
    check(p.gameCount == int(o.games.size()) && p.rows.size() == o.games.size());
    return 0;
}
