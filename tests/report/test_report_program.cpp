// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The report reached the way a user reaches it: the main menu's button after games played by clicks, and
// the page as a browser draws it.
#include "../windows/program_fixture.hpp"
#include "report_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/ResourcePictures.hpp"
#include "core/StatisticsFile.hpp"
#include "games/falling/FallingWindow.hpp"
#include "platform/windows/Control.hpp"
#include "report/Report.hpp"
#include "report/ReportPage.hpp"
#include "windows/ResultsWindow.hpp"

#include <png.h>

#include <cstdlib>
#include <unistd.h>

using namespace wvtest;

namespace {

struct Layout {
    platform::Size screen;
    platform::Point report, tab5;
};
// The button stands one step left of "O programie": (W/2 − 255, H − H/7).
const Layout kLayouts[] = {{{800, 600}, {145, 515}, {601, 474}}, {{1024, 768}, {257, 659}, {755, 595}}};

std::vector<std::string> csvRows(const stdfs::path& p) {
    const std::string s = readFile(p);
    std::vector<std::string> w;
    for (std::size_t i = 0, j; (j = s.find("\r\n", i)) != std::string::npos; i = j + 2)
        w.push_back(s.substr(i, j - i));
    return w;
}

} // namespace

TEST(ReportFromMenu, theButtonInBothLayoutsWritesTheReportAndOpensItOrSaysWhatFailed) {
    for (const Layout& u : kLayouts) {
        SCOPED_TRACE(u.screen.width);
        Installation inst;
        Outcome out;
        auto d = startProgram(out, u.screen);
        d->wait(2000);
        platform::Control* c = d->control("raport");
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->bounds(), platform::Rect::fromSize(u.report.x, u.report.y, 84, 64));
        platform::Bitmap normal;
        openBmp("raport_D", normal);
        EXPECT_EQ(d->pixel(u.report.x + 42, u.report.y + 22), normal.pixel(42, 22));

        // A directory in the page's place: the user hears why nothing opens.
        const stdfs::path html = inst.child() / "Raport postępów.html";
        stdfs::create_directories(html);
        d->click(u.report.x + 42, u.report.y + 32);
        EXPECT_TRUE(
            d->logged("message-box Wirowanki Cz.I Demo - Raport postępów | Nie udało się zapisać raportu "
                      "postępów w pliku:\\n" +
                      html.string() +
                      "\\n\\nSprawdź, czy na dysku jest miejsce i czy katalog nie jest tylko do odczytu."));
        stdfs::remove(html);

        d->click(u.tab5.x, u.tab5.y); // the recorder's tab keeps the button
        EXPECT_TRUE(c->visible());
        d->click(u.report.x + 42, u.report.y + 32);
        EXPECT_TRUE(d->logged("open-url " + report::fileUrl(html.string())));
        EXPECT_NE(readFile(html).find("Nie ma jeszcze zapisanych gier"), std::string::npos);
        EXPECT_EQ(csvRows(inst.child() / "Raport postępów.csv").size(), 1u);
        d->key(27);
        EXPECT_TRUE(d->finished());
        EXPECT_TRUE(d->error().empty()) << d->error();
    }
}

TEST(ReportFromMenu, gamesPlayedByClicksAppearWithTheFiguresAndRatingOfTheirResultsScreen) {
    Installation inst(Installation::Data::Linked);
    inst.writeIni("[DaneProgramu]\r\nZakladka=4\r\n[Spadajace]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    d->wait(2000);
    std::vector<std::string> expected;
    auto finishGame = [&](bool completed) {
        d->key(27);
        ASSERT_TRUE(wvtest::resultsWindow() && wvtest::resultsWindow()->visible());
        // The figures the results screen shows, as the report should repeat them.
        expected.push_back(std::string("Spadające,SZ,nagłos,mało,") +
                           std::to_string(wvtest::context().statistics->timeSeconds()) + "," +
                           (completed ? "tak," : "nie,") + wvtest::context().statistics->correct() + "," +
                           wvtest::context().statistics->wrong() + "," +
                           wvtest::context().statistics->hints() + "," +
                           report::gradeText(wvtest::context().statistics->rating()));
        d->click("koniec");
    };

    // A whole game: every target shot as it comes into view.
    d->click("start");
    ASSERT_TRUE(wvtest::gameWindow<FallingWindow>(kGameFalling)->visible());
    FallingGame& game = *wvtest::gameWindow<FallingWindow>(kGameFalling)->game();
    for (int t = 0; t < 2400 && !game.allFound(); ++t) {
        for (int i = 0; i < game.pictureCount(); ++i) {
            const FallingPicture& o = game.pictureAt(i);
            if (o.active && game.target(o) && o.y >= 0 && o.y + o.picture.height() + 10 < game.bottom()) {
                d->click(o.x + o.picture.width() / 2, o.y + o.picture.height() / 2);
                break;
            }
        }
        d->wait(25);
    }
    ASSERT_TRUE(game.finalStage());
    finishGame(true);
    // A game left after a few seconds without an answer.
    d->click("start");
    d->wait(4000);
    finishGame(false);

    d->click("raport");
    const std::vector<std::string> rows = csvRows(inst.child() / "Raport postępów.csv");
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_NE(expected[0].find(",tak,5,0,0,Brawo!"), std::string::npos) << expected[0];
    EXPECT_NE(expected[1].find(",nie,0,0,0,Spróbuj jeszcze raz!"), std::string::npos) << expected[1];
    for (int i = 0; i < 2; ++i) {
        // The child's name, date and time (as the local clock showed them), then the figures.
        const std::string child = "Dziecko 1,";
        ASSERT_EQ(rows[i + 1].substr(0, child.size()), child);
        const std::string w = rows[i + 1].substr(child.size() - 1);
        ASSERT_GE(w.size(), 18u);
        EXPECT_EQ(w[5], '-');
        EXPECT_EQ(w[14], ':');
        EXPECT_EQ(w.substr(18), expected[i]);
    }
    d->key(27);
    EXPECT_TRUE(d->error().empty()) << d->error();
}

namespace {

std::string chromium() {
    for (const char* p : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (::access(p, X_OK) == 0) return p;
    return {};
}

struct PageCapture {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgb;
    bool has(std::uint32_t color) const {
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            if (std::abs(rgb[i] - int(color >> 16)) <= 8 &&
                std::abs(rgb[i + 1] - int(color >> 8 & 255)) <= 8 &&
                std::abs(rgb[i + 2] - int(color & 255)) <= 8)
                return true;
        return false;
    }
    // Share of pixels that are not paper: text, lines, bars.
    double ink() const {
        std::size_t n = 0;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            n += rgb[i] < 200 || rgb[i + 1] < 200 || rgb[i + 2] < 200;
        return double(n) / double(w * h);
    }
};

PageCapture capturePage(const std::string& browser, const stdfs::path& html, const stdfs::path& catalogue) {
    const stdfs::path png = catalogue / (html.stem().string() + ".png");
    const std::string runCommand =
        "timeout 120 " + browser +
        " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
        "--disable-background-networking --disable-component-update --disable-sync "
        "--hide-scrollbars --user-data-dir='" +
        (catalogue / "profil").string() + "' --window-size=1000,1400 --screenshot='" + png.string() + "' '" +
        report::fileUrl(html.string()) + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(runCommand.c_str()), 0) << runCommand;
    PageCapture z;
    png_image picture{};
    picture.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&picture, png.c_str())) return z;
    picture.format = PNG_FORMAT_RGB;
    z.rgb.resize(PNG_IMAGE_SIZE(picture));
    if (png_image_finish_read(&picture, nullptr, z.rgb.data(), 0, nullptr))
        z.w = int(picture.width), z.h = int(picture.height);
    return z;
}

} // namespace

TEST(ReportInBrowser, thePageOfThreeWeeksAndTheEmptyPageAreDrawnByAHeadlessBrowser) {
    const std::string browser = chromium();
    if (browser.empty()) GTEST_SKIP() << "chromium is not installed";
    reporttest::ScopedTimeZone zone{reporttest::kWarsaw};
    coretest::TempRoots roots;
    coretest::ManualClock clock;
    clock.setUtc(coretest::utc(2026, 11, 16, 8, 0, 0, 0));
    const stdfs::path isEmpty = roots.user() / "pusty.html";
    report::saveReport(isEmpty.string());
    {
        StatisticsFile stat(1);
        const std::uint16_t sounds[] = {1, 1, 2, 4, 8, 3};
        const std::uint16_t positions[] = {0x4000, 0x1000, 0x7000, 0x3000};
        for (int i = 0; i < 30; ++i)
            reporttest::save(stat, clock,
                             {coretest::utc(2026, 11, 16 + i * 21 / 30, 15 + i % 3, 10, 0, 0), 1 + i % 4, 2,
                              sounds[i % 6], positions[i % 4], 120 + i * 37 % 240, i % 5 ? 1 : 0,
                              (30 - i) / 8, 3 + i / 4, std::max(0, 8 - i / 4)});
    }
    clock.setUtc(coretest::utc(2026, 12, 8, 12, 0, 0, 0));
    const stdfs::path full = roots.user() / "trzy_tygodnie.html";
    ASSERT_EQ(report::saveReport(full.string()).gameCount, 30);

    const PageCapture z = capturePage(browser, full, roots.user());
    ASSERT_EQ(z.w, 1000);
    ASSERT_EQ(z.h, 1400);
    EXPECT_GT(z.ink(), 0.04);
    EXPECT_TRUE(z.has(0xe8830c)) << "the weekly bars of the labelling game";
    EXPECT_TRUE(z.has(0x1f6fb4)) << "the heading's rule";

    const PageCapture e = capturePage(browser, isEmpty, roots.user());
    ASSERT_EQ(e.w, 1000);
    EXPECT_GT(e.ink(), 0.005);
    EXPECT_TRUE(e.has(0xffcc4d)) << "the friendly face";
    EXPECT_FALSE(e.has(0xe8830c));
}
