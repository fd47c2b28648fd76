// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The progress report's page and CSV over games made from the input: any figures a record can hold, dates
// from 2000 to 2030, and a note of arbitrary text.
#include "report/Progress.hpp"
#include "report/ReportPage.hpp"
#include "report/StatisticsReader.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Input {
    const std::uint8_t* p;
    std::size_t n;
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | (n ? (--n, *p++) : 0);
        return v;
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(u32() >> 16); }
};

void check(bool ok) {
    if (!ok) std::abort();
}

std::size_t count(const std::string& s, const std::string& co) {
    std::size_t n = 0;
    for (std::size_t at = s.find(co); at != std::string::npos; at = s.find(co, at + co.size()))
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input w{data, size};
    report::ReadResult o;
    o.fileExists = true;
    // The first bytes up to a zero are a note, as a damaged file's name might bring one in.
    const std::size_t dl = std::min<std::size_t>(w.n, 64);
    std::string note;
    for (std::size_t i = 0; i < dl && data[i]; ++i)
        note += char(data[i]);
    if (!note.empty()) o.notes.push_back(note);
    w.p += note.size(), w.n -= note.size();
    const std::int64_t from = report::daysSinceEpoch(2000, 1, 1) * 86400;
    const std::int64_t span =
        (report::daysSinceEpoch(2030, 1, 1) - report::daysSinceEpoch(2000, 1, 1)) * 86400;
    // A span chosen by the input: games within an hour, a day, weeks or decades.
    const std::int64_t window = std::int64_t(1) << (12 + w.u16() % 19);
    const std::int64_t start = from + std::int64_t(w.u32()) % span;
    int number = 0;
    while (w.n >= 12 && number < 20000) {
        report::PlayedGame g;
        g.number = ++number;
        g.game = 1 + w.u16() % 4;
        g.level = 1 + w.u16() % 3;
        g.sounds = w.u16();
        g.position = w.u16();
        g.startSeconds = start + std::int64_t(w.u32()) % window;
        g.timeSeconds = int(w.u32() & 0x7fffffff);
        g.completed = g.timeSeconds & 1;
        g.hints = int(w.u16());
        g.correct = int(w.u16()) * (number % 7 == 0 ? 30000 : 1);
        g.wrong = int(w.u16());
        o.games.push_back(g);
    }
    std::stable_sort(o.games.begin(), o.games.end(),
                     [](const report::PlayedGame& a, const report::PlayedGame& b) {
                         return a.startSeconds < b.startSeconds;
                     });
    const report::ProgressTest p = report::calculate(o.games);
    const report::Descriptor description{"/tmp/prgst1.stt", "Raport <postępów>.csv", start + window};
    const std::string html = report::html(o, p, description);
    const std::string csv = report::csv(p);
    const std::string end = "</body>\n</html>\n";
    check(html.size() > end.size() && html.compare(html.size() - end.size(), end.size(), end) == 0);
    // Nothing from the input opens an element of its own.
    check(count(html, "<script") == 0 && count(html, "<svg") == count(html, "</svg>"));
    check(csv.compare(0, 3, "\xEF\xBB\xBF") == 0);
    check(count(csv, "\r\n") == o.games.size() + 1);
    return 0;
}
