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
const std::int64_t kTeraz = raport::dniOdEpoki(2026, 12, 8) * 86400 + 12 * 3600;

void check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool naglowek = size % 2 == 0;
    const raport::Odczyt o = raport::odczytaj(std::span(data, size), kTeraz, naglowek);
    // Every record is either kept or counted as skipped, and what is kept passed the checks.
    const std::size_t rekordow =
        size < kStatisticsHeaderSize
            ? 0
            : (size - kStatisticsHeaderSize + kStatisticsRecordSize - 1) / kStatisticsRecordSize;
    check(o.gry.size() + std::size_t(o.pominiete) == rekordow);
    int poprzedni = 0;
    for (const raport::Gra& g : o.gry) {
        check(g.gra >= 1 && g.gra <= 4 && g.poziom >= 1 && g.poziom <= 3 && g.czasSek >= 0);
        check(g.dobre >= 0 && g.zle >= 0 && g.podpowiedzi >= 0);
        check(g.startSek <= kTeraz + raport::kTolerancjaSek);
        check(g.numer > poprzedni);
        poprzedni = g.numer;
    }
    check(o.naprzod <= int(o.gry.size()));
    const raport::Postepy p = raport::policz(o.gry);
    check(p.gier == int(o.gry.size()) && p.wiersze.size() == o.gry.size());
    return 0;
}
