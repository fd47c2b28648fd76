// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report_support.hpp"

#include "report/Progress.hpp"
#include "report/Report.hpp"
#include "report/ReportPage.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using coretest::utc;
using reporttest::GameRecord;

namespace {

std::string text(const std::filesystem::path& p) {
    const auto b = coretest::TempRoots::read(p);
    return std::string(b.begin(), b.end());
}

std::size_t count(const std::string& s, const std::string& co) {
    std::size_t n = 0;
    for (std::size_t i = s.find(co); i != std::string::npos; i = s.find(co, i + 1))
        ++n;
    return n;
}

// Five games over three weeks, written by the program's statistics record in Warsaw's winter time. The
// second and the fourth start just before midnight UTC, so they fall on the next local day (the fourth
// into the next week); the last two are written out of order, as after the clock was set back.
class ReportFromGames : public ::testing::Test {
protected:
    void SetUp() override {
        clock.setUtc(utc(2026, 11, 16, 14, 0, 0, 0));
        StatisticsFile stat(1);
        for (const GameRecord& p : {
                 GameRecord{utc(2026, 11, 16, 14, 30, 0, 0), 1, 2, 0x0001, 0x4000, 125, 1, 2, 8, 2},
                 GameRecord{utc(2026, 11, 16, 23, 30, 0, 0), 2, 1, 0x0005, 0x1000, 60, 0, 3, 2, 5},
                 GameRecord{utc(2026, 11, 23, 9, 0, 0, 0), 1, 2, 0x0001, 0x5000, 200, 1, 0, 10, 0},
                 GameRecord{utc(2026, 12, 1, 10, 0, 0, 0), 1, 2, 0x0001, 0x4000, 100, 1, 1, 9, 1},
                 GameRecord{utc(2026, 11, 29, 23, 30, 0, 0), 4, 3, 0x0002, 0x7000, 30, 1, 0, 0, 0},
             })
            reporttest::save(stat, clock, p);
        clock.setUtc(utc(2026, 12, 8, 12, 0, 0, 0));
    }

    reporttest::ScopedTimeZone zone{reporttest::kWarsaw};
    coretest::TempRoots roots;
    coretest::ManualClock clock;
};

} // namespace

TEST_F(ReportFromGames, theFiguresCountEveryGameInLocalDaysAndWeeks) {
    const report::ReadResult o = report::readFile("prgst1.stt", 1796731200);
    ASSERT_EQ(o.games.size(), 5u);
    const report::ProgressTest p = report::calculate(o.games);
    EXPECT_EQ(p.gameCount, 5);
    EXPECT_EQ(p.days, 5);
    EXPECT_EQ(p.timeSeconds, 515);
    EXPECT_EQ((std::vector<int>{p.last->day, p.last->month, p.last->hour, p.last->dayOfWeek}),
              (std::vector<int>{1, 12, 11, 2}));
    ASSERT_EQ(p.weeks.size(), 3u);
    EXPECT_EQ(p.weeks[0].monday, report::daysSinceEpoch(2026, 11, 16));
    EXPECT_EQ(p.weeks[0].gameSeconds, (std::array<std::int64_t, 4>{125, 60, 0, 0}));
    EXPECT_EQ(p.weeks[1].gameSeconds, (std::array<std::int64_t, 4>{200, 0, 0, 0}));
    EXPECT_EQ(p.weeks[2].gameSeconds, (std::array<std::int64_t, 4>{100, 0, 0, 30}));

    const report::SoundStats& sz = p.sounds[0];
    EXPECT_EQ((std::vector<std::int64_t>{sz.total.gameCount, sz.total.correct, sz.total.wrong}),
              (std::vector<std::int64_t>{4, 29, 8}));
    EXPECT_TRUE(sz.positionsDiffer);
    EXPECT_EQ(
        (std::vector<int>{sz.positions[0].gameCount, sz.positions[1].gameCount, sz.positions[2].gameCount}),
        (std::vector<int>{2, 0, 3}));
    EXPECT_EQ(sz.positions[2].correct, 27);
    EXPECT_NEAR(*sz.earlier, 1000.0 / 17, 1e-9);
    EXPECT_NEAR(*sz.later, 95.0, 1e-9);
    EXPECT_FALSE(p.sounds[1].total.share().has_value()) << "the falling game without answers";
    EXPECT_FALSE(p.sounds[2].positionsDiffer);
    EXPECT_FALSE(p.sounds[2].earlier.has_value());

    const report::GameStats& labelling = p.games[0];
    EXPECT_EQ((std::vector<std::int64_t>{labelling.gameCount, labelling.completedCount, labelling.timeSeconds,
                                         labelling.hints, labelling.tasks}),
              (std::vector<std::int64_t>{3, 3, 425, 3, 30}));
    std::vector<double> y;
    for (const report::DataPoint& pt : labelling.successRate[0])
        y.push_back(pt.y);
    for (const report::DataPoint& pt : labelling.hintsPerTask)
        y.push_back(pt.y);
    EXPECT_EQ(y, (std::vector<double>{80, 100, 90, 0.2, 0, 0.1}));
    EXPECT_EQ(p.games[1].hintsPerTask[0].y, 1.0) << "three hints in a memory game of three pairs";
    EXPECT_EQ(p.games[0].successRate[0][0].x,
              report::daysSinceEpoch(2026, 11, 16) * 86400 + 15 * 3600 + 30 * 60);

    struct RatingCase {
        int correct, wrong, rating;
    };
    for (const RatingCase& c : {RatingCase{0, 0, 1}, RatingCase{2, 5, 1}, RatingCase{5, 0, 4},
                                RatingCase{5, 3, 4}, RatingCase{5, 4, 2}, RatingCase{3, 2, 2}})
        EXPECT_EQ(report::rating(c.correct, c.wrong), c.rating) << c.correct << "/" << c.wrong;
}

TEST_F(ReportFromGames, theCommandWritesThePageAndTheSameTableAsCsv) {
    const std::filesystem::path html = roots.user() / "wyniki" / "Ola.HTML";
    std::filesystem::create_directories(html.parent_path());
    const auto statistics = coretest::TempRoots::read(roots.user() / "prgst1.stt");
    std::ostringstream out, err;
    ASSERT_EQ(report::runCommand({"raport", html.string()}, out, err), 0) << err.str();
    const std::filesystem::path csv = roots.user() / "wyniki" / "Ola.csv";
    EXPECT_EQ(out.str(),
              "Raport postępów (5 gier): " + html.string() + "\nTabela CSV: " + csv.string() + "\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(coretest::TempRoots::read(roots.user() / "prgst1.stt"), statistics);

    EXPECT_EQ(
        text(csv),
        "\xEF\xBB\xBF"
        "Dziecko,Data,Godzina,Gra,Głoski,Pozycje,Ilość,Czas gry (s),Ukończona,Poprawne,Błędne,Podpowiedzi,"
        "Ocena\r\n"
        ",2026-11-16,15:30,Podpisywanie,SZ,wygłos,średnio,125,tak,8,2,2,Brawo!\r\n"
        ",2026-11-17,00:30,Memory,\"SZ, CZ\",nagłos,mało,60,nie,2,5,3,Spróbuj jeszcze raz!\r\n"
        ",2026-11-23,10:00,Podpisywanie,SZ,\"nagłos, wygłos\",średnio,200,tak,10,0,0,Brawo!\r\n"
        ",2026-11-30,00:30,Spadające,Ż/RZ,\"nagłos, śródgłos, wygłos\",dużo,30,tak,0,0,0,Spróbuj jeszcze "
        "raz!\r\n"
        ",2026-12-01,11:00,Podpisywanie,SZ,wygłos,średnio,100,tak,9,1,1,Brawo!\r\n");

    const std::string h = text(html);
    for (const char* fragment : {
             "Stan na <b>8 grudnia 2026, 13:00</b><br>Okres: 16.11.2026 – 01.12.2026",
             "<span class=\"wartosc\">5</span><span class=\"opis\">dni ćwiczeń</span>",
             "<span class=\"wartosc\">8 min</span><span class=\"opis\">łączny czas gry</span>",
             "<span class=\"wartosc\">01.12.2026</span><span class=\"opis\">ostatnia sesja: wtorek, "
             "11:00</span>",
             "<td class=\"l\">4</td><td class=\"udzial\"><span class=\"pasek\"><i "
             "style=\"width:78.4%\"></i></span><b>78%</b>",
             "<td class=\"zmiana wzrost\">59% → 95% ▲</td>",
             "<td colspan=\"3\" class=\"brak\">zawsze: nagłos</td>",
             ">16.11</text>",
             ">23.11</text>",
             ">30.11</text>",
             "Jeszcze nie grano: Uzupełnianie.",
             "<td class=\"kiedy\">17.11.2026 00:30</td><td>Memory</td><td>SZ, "
             "CZ</td><td>nagłos</td><td>mało</td><td "
             "class=\"l\">1 min 0 s</td><td>nie</td><td class=\"l\">2</td><td class=\"l\">5</td><td "
             "class=\"l\">3</td><td><span class=\"ocena o1\">Spróbuj jeszcze raz!</span>",
             "„Ola.csv”",
         })
        EXPECT_NE(h.find(fragment), std::string::npos) << fragment;
    EXPECT_EQ(count(h, "<section class=\"gra\""), 3u);
    EXPECT_EQ(count(h, "<td class=\"kiedy\">"), 5u);
    EXPECT_EQ(h.find("<td class=\"kiedy\">01.12.2026"), h.find("<td class=\"kiedy\">")) << "newest first";
    EXPECT_EQ(h.find("<script"), std::string::npos);
    EXPECT_EQ(h.find("http"), std::string::npos) << "nothing is fetched from anywhere";
    EXPECT_EQ(h.find("<aside"), std::string::npos) << "a sound file brings no notes";
}

TEST_F(ReportFromGames, theCommandLineWithoutAFileWritesIntoTheUserDirectoryAndReportsFailures) {
    std::ostringstream out, err;
    ASSERT_EQ(report::runCommand({"raport"}, out, err), 0);
    EXPECT_TRUE(std::filesystem::exists(roots.user() / "Raport postępów.html"));
    EXPECT_TRUE(std::filesystem::exists(roots.user() / "Raport postępów.csv"));
    EXPECT_EQ(report::fileUrl("/tmp/a b/Raport postępów.html"),
              "file:///tmp/a%20b/Raport%20post%C4%99p%C3%B3w.html");

    std::ostringstream out2, err2;
    EXPECT_EQ(report::runCommand({"raport", "a.html", "b.html"}, out2, err2), 2);
    EXPECT_EQ(err2.str(), "Użycie: wirowanki raport [--dziecko IMIĘ] [PLIK.html]\n");

    // A directory where the page should go: nothing is written and the user is told.
    std::filesystem::create_directories(roots.user() / "zajete.html");
    std::ostringstream out3, err3;
    EXPECT_EQ(report::runCommand({"raport", (roots.user() / "zajete.html").string()}, out3, err3), 1);
    EXPECT_EQ(out3.str(), "");
    EXPECT_EQ(err3.str().rfind("Nie udało się zapisać raportu postępów: ", 0), 0u) << err3.str();
}

TEST(ReportHtml, theEmptyPageIsFriendlyNotesAreVisibleAndTextIsEscaped) {
    reporttest::ScopedTimeZone zone{reporttest::kWarsaw};
    EXPECT_EQ(report::htmlText("<b class=\"x\">Ola & 'Ela'</b>"),
              "&lt;b class=&quot;x&quot;&gt;Ola &amp; &#39;Ela&#39;&lt;/b&gt;");
    report::ReadResult o;
    o.fileExists = true;
    o.notes = {"Plik <script>alert(1)</script> jest pusty."};
    const std::string h = report::html(o, report::calculate({}), {"/dane/<prgst1>.stt", "", 1796731200});
    EXPECT_NE(h.find("<h2>Nie ma jeszcze zapisanych gier</h2>"), std::string::npos);
    EXPECT_NE(h.find("<li>Plik &lt;script&gt;alert(1)&lt;/script&gt; jest pusty.</li>"), std::string::npos);
    EXPECT_NE(h.find("Źródło: /dane/&lt;prgst1&gt;.stt"), std::string::npos);
    EXPECT_EQ(h.find("<script"), std::string::npos);
    EXPECT_EQ(h.find("class=\"wykres\""), std::string::npos);
    EXPECT_EQ(h.find("jeszcze nie istnieje"), std::string::npos);
    EXPECT_EQ(
        report::csv(report::calculate({})),
        "\xEF\xBB\xBF"
        "Dziecko,Data,Godzina,Gra,Głoski,Pozycje,Ilość,Czas gry (s),Ukończona,Poprawne,Błędne,Podpowiedzi,"
        "Ocena\r\n");
}

TEST(ReportHtml, aLongHistoryKeepsThePageShortAndTheCsvComplete) {
    reporttest::ScopedTimeZone zone{reporttest::kWarsaw};
    std::string file = reporttest::header();
    const std::int64_t start = report::daysSinceEpoch(2025, 1, 1);
    for (int i = 0; i < 1005; ++i) {
        int r, m, d;
        report::dateFromDays(start + i % 400, r, m, d);
        file += reporttest::record(1, r, m, d);
    }
    const std::vector<std::uint8_t> b(file.begin(), file.end());
    const report::ReadResult o = report::readBytes(b, 1796731200);
    const report::ProgressTest p = report::calculate(o.games);
    const std::string h = report::html(o, p, {"prgst1.stt", "r.csv", 1796731200});
    EXPECT_NE(
        h.find("Tabela pokazuje 1\u00a0000 ostatnich gier z 1\u00a0005; wszystkie są w pliku CSV „r.csv”."),
        std::string::npos);
    EXPECT_EQ(count(h, "<td class=\"kiedy\">"), 1000u);
    EXPECT_NE(h.find("Wykres pokazuje ostatnie 52 tygodnie."), std::string::npos);
    EXPECT_EQ(count(report::csv(p), "\r\n"), 1006u);

    // Over two months: weekly means; many games in fewer days: daily means; one day: the games as points.
    struct History {
        int days, gameCount;
        const char* footnote;
        std::size_t circleCount, lineCount;
    } const histories[] = {
        {400, 1005, "punkty pokazują średnie z kolejnych tygodni", 3 * 58,
         3}, // Mondays 30.12.2024 … 27.01.2026
        {30, 400, "punkty pokazują średnie z kolejnych dni", 3 * 30, 3},
        {1, 5, nullptr, 3 * 5, 0},
    };
    for (const History& hi : histories) {
        SCOPED_TRACE(hi.days);
        std::string f = reporttest::header();
        for (int i = 0; i < hi.gameCount; ++i) {
            int r, m, d;
            report::dateFromDays(start + i % hi.days, r, m, d);
            f += reporttest::record(1, r, m, d);
        }
        const std::vector<std::uint8_t> fb(f.begin(), f.end());
        const report::ReadResult fo = report::readBytes(fb, 1796731200);
        const report::ProgressTest fp = report::calculate(fo.games);
        const std::string s = report::html(fo, fp, {"prgst1.stt", "r.csv", 1796731200});
        if (hi.footnote) {
            EXPECT_NE(s.find(hi.footnote), std::string::npos);
        }
        EXPECT_EQ(s.find("punkty pokazują średnie") == std::string::npos, hi.footnote == nullptr);
        EXPECT_EQ(count(s, "<circle"), hi.circleCount);
        EXPECT_EQ(count(s, "class=\"linia\""), hi.lineCount);
    }
}
