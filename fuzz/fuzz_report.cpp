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

struct Wejscie {
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

std::size_t ile(const std::string& s, const std::string& co) {
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
    Wejscie w{data, size};
    raport::Odczyt o;
    o.plikIstnieje = true;
    // The first bytes up to a zero are a note, as a damaged file's name might bring one in.
    const std::size_t dl = std::min<std::size_t>(w.n, 64);
    std::string uwaga;
    for (std::size_t i = 0; i < dl && data[i]; ++i)
        uwaga += char(data[i]);
    if (!uwaga.empty()) o.uwagi.push_back(uwaga);
    w.p += uwaga.size(), w.n -= uwaga.size();
    const std::int64_t od = raport::dniOdEpoki(2000, 1, 1) * 86400;
    const std::int64_t rozpietosc = (raport::dniOdEpoki(2030, 1, 1) - raport::dniOdEpoki(2000, 1, 1)) * 86400;
    // A span chosen by the input: games within an hour, a day, weeks or decades.
    const std::int64_t okno = std::int64_t(1) << (12 + w.u16() % 19);
    const std::int64_t poczatek = od + std::int64_t(w.u32()) % rozpietosc;
    int numer = 0;
    while (w.n >= 12 && numer < 20000) {
        raport::Gra g;
        g.numer = ++numer;
        g.gra = 1 + w.u16() % 4;
        g.poziom = 1 + w.u16() % 3;
        g.gloski = w.u16();
        g.pozycja = w.u16();
        g.startSek = poczatek + std::int64_t(w.u32()) % okno;
        g.czasSek = int(w.u32() & 0x7fffffff);
        g.ukonczona = g.czasSek & 1;
        g.podpowiedzi = int(w.u16());
        g.dobre = int(w.u16()) * (numer % 7 == 0 ? 30000 : 1);
        g.zle = int(w.u16());
        o.gry.push_back(g);
    }
    std::stable_sort(o.gry.begin(), o.gry.end(),
                     [](const raport::Gra& a, const raport::Gra& b) { return a.startSek < b.startSek; });
    const raport::Postepy p = raport::policz(o.gry);
    const raport::Opis opis{"/tmp/prgst1.stt", "Raport <postępów>.csv", poczatek + okno};
    const std::string html = raport::html(o, p, opis);
    const std::string csv = raport::csv(p);
    const std::string koniec = "</body>\n</html>\n";
    check(html.size() > koniec.size() &&
          html.compare(html.size() - koniec.size(), koniec.size(), koniec) == 0);
    // Nothing from the input opens an element of its own.
    check(ile(html, "<script") == 0 && ile(html, "<svg") == ile(html, "</svg>"));
    check(csv.compare(0, 3, "\xEF\xBB\xBF") == 0);
    check(ile(csv, "\r\n") == o.gry.size() + 1);
    return 0;
}
