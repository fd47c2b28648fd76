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

struct Uklad {
    platform::Size ekran;
    platform::Point raport, zakladka5;
};
// The button stands one step left of "O programie": (W/2 − 255, H − H/7).
const Uklad kUklady[] = {{{800, 600}, {145, 515}, {601, 474}}, {{1024, 768}, {257, 659}, {755, 595}}};

std::vector<std::string> wierszeCsv(const stdfs::path& p) {
    const std::string s = readFile(p);
    std::vector<std::string> w;
    for (std::size_t i = 0, j; (j = s.find("\r\n", i)) != std::string::npos; i = j + 2)
        w.push_back(s.substr(i, j - i));
    return w;
}

} // namespace

TEST(RaportZMenu, theButtonInBothLayoutsWritesTheReportAndOpensItOrSaysWhatFailed) {
    for (const Uklad& u : kUklady) {
        SCOPED_TRACE(u.ekran.width);
        Installation inst;
        Outcome out;
        auto d = startProgram(out, u.ekran);
        d->wait(2000);
        platform::Control* c = d->control("raport");
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->bounds(), platform::Rect::fromSize(u.raport.x, u.raport.y, 84, 64));
        platform::Bitmap normalny;
        OtworzBMP("raport_D", normalny);
        EXPECT_EQ(d->pixel(u.raport.x + 42, u.raport.y + 22), normalny.pixel(42, 22));

        // A directory in the page's place: the user hears why nothing opens.
        const stdfs::path html = inst.user() / "Raport postępów.html";
        stdfs::create_directories(html);
        d->click(u.raport.x + 42, u.raport.y + 32);
        EXPECT_TRUE(
            d->logged("message-box Wirowanki Cz.I Demo - Raport postępów | Nie udało się zapisać raportu "
                      "postępów w pliku:\\n" +
                      html.string() +
                      "\\n\\nSprawdź, czy na dysku jest miejsce i czy katalog nie jest tylko do odczytu."));
        stdfs::remove(html);

        d->click(u.zakladka5.x, u.zakladka5.y); // the recorder's tab keeps the button
        EXPECT_TRUE(c->visible());
        d->click(u.raport.x + 42, u.raport.y + 32);
        EXPECT_TRUE(d->logged("open-url " + raport::adresPliku(html.string())));
        EXPECT_NE(readFile(html).find("Nie ma jeszcze zapisanych gier"), std::string::npos);
        EXPECT_EQ(wierszeCsv(inst.user() / "Raport postępów.csv").size(), 1u);
        d->key(27);
        EXPECT_TRUE(d->finished());
        EXPECT_TRUE(d->error().empty()) << d->error();
    }
}

TEST(RaportZMenu, gamesPlayedByClicksAppearWithTheFiguresAndRatingOfTheirResultsScreen) {
    Installation inst(Installation::Data::Linked);
    inst.writeIni("[DaneProgramu]\r\nZakladka=4\r\n[Spadajace]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    d->wait(2000);
    std::vector<std::string> oczekiwane;
    auto zakonczGre = [&](bool ukonczona) {
        d->key(27);
        ASSERT_TRUE(wvtest::resultsWindow() && wvtest::resultsWindow()->visible());
        // The figures the results screen shows, as the report should repeat them.
        oczekiwane.push_back(std::string("Spadające,SZ,nagłos,mało,") +
                             std::to_string(wvtest::context().statistics->czasSek()) + "," +
                             (ukonczona ? "tak," : "nie,") + wvtest::context().statistics->dobre() + "," +
                             wvtest::context().statistics->zle() + "," +
                             wvtest::context().statistics->podpowiedzi() + "," +
                             raport::tekstOceny(wvtest::context().statistics->ocena()));
        d->click("koniec");
    };

    // A whole game: every target shot as it comes into view.
    d->click("start");
    ASSERT_TRUE(wvtest::gameWindow<FallingWindow>(ZAK_SPADAJACE)->visible());
    FallingGame& gra = *wvtest::gameWindow<FallingWindow>(ZAK_SPADAJACE)->gra();
    for (int t = 0; t < 2400 && !gra.wszystkieZnalezione(); ++t) {
        for (int i = 0; i < gra.liczbaObrazkow(); ++i) {
            const FallingPicture& o = gra.obrazek(i);
            if (o.aktywny && gra.cel(o) && o.y >= 0 && o.y + o.obraz.height() + 10 < gra.dno()) {
                d->click(o.x + o.obraz.width() / 2, o.y + o.obraz.height() / 2);
                break;
            }
        }
        d->wait(25);
    }
    ASSERT_TRUE(gra.koncowa());
    zakonczGre(true);
    // A game left after a few seconds without an answer.
    d->click("start");
    d->wait(4000);
    zakonczGre(false);

    d->click("raport");
    const std::vector<std::string> wiersze = wierszeCsv(inst.user() / "Raport postępów.csv");
    ASSERT_EQ(wiersze.size(), 3u);
    ASSERT_EQ(oczekiwane.size(), 2u);
    EXPECT_NE(oczekiwane[0].find(",tak,5,0,0,Brawo!"), std::string::npos) << oczekiwane[0];
    EXPECT_NE(oczekiwane[1].find(",nie,0,0,0,Spróbuj jeszcze raz!"), std::string::npos) << oczekiwane[1];
    for (int i = 0; i < 2; ++i) {
        // Date and time first (as the local clock showed them), then the figures.
        const std::string& w = wiersze[i + 1];
        ASSERT_GE(w.size(), 17u);
        EXPECT_EQ(w[4], '-');
        EXPECT_EQ(w[13], ':');
        EXPECT_EQ(w.substr(17), oczekiwane[i]);
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

struct Zrzut {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgb;
    bool ma(std::uint32_t kolor) const {
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            if (std::abs(rgb[i] - int(kolor >> 16)) <= 8 &&
                std::abs(rgb[i + 1] - int(kolor >> 8 & 255)) <= 8 &&
                std::abs(rgb[i + 2] - int(kolor & 255)) <= 8)
                return true;
        return false;
    }
    // Share of pixels that are not paper: text, lines, bars.
    double tusz() const {
        std::size_t n = 0;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            n += rgb[i] < 200 || rgb[i + 1] < 200 || rgb[i + 2] < 200;
        return double(n) / double(w * h);
    }
};

Zrzut zrzut(const std::string& przegladarka, const stdfs::path& html, const stdfs::path& katalog) {
    const stdfs::path png = katalog / (html.stem().string() + ".png");
    const std::string polecenie = "timeout 120 " + przegladarka +
                                  " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                                  "--disable-background-networking --disable-component-update --disable-sync "
                                  "--hide-scrollbars --user-data-dir='" +
                                  (katalog / "profil").string() + "' --window-size=1000,1400 --screenshot='" +
                                  png.string() + "' '" + raport::adresPliku(html.string()) +
                                  "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(polecenie.c_str()), 0) << polecenie;
    Zrzut z;
    png_image obraz{};
    obraz.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&obraz, png.c_str())) return z;
    obraz.format = PNG_FORMAT_RGB;
    z.rgb.resize(PNG_IMAGE_SIZE(obraz));
    if (png_image_finish_read(&obraz, nullptr, z.rgb.data(), 0, nullptr))
        z.w = int(obraz.width), z.h = int(obraz.height);
    return z;
}

} // namespace

TEST(RaportWPrzegladarce, thePageOfThreeWeeksAndTheEmptyPageAreDrawnByAHeadlessBrowser) {
    const std::string przegladarka = chromium();
    if (przegladarka.empty()) GTEST_SKIP() << "chromium is not installed";
    reporttest::Strefa strefa{reporttest::kWarszawa};
    coretest::TempRoots roots;
    coretest::ManualClock zegar;
    zegar.setUtc(coretest::utc(2026, 11, 16, 8, 0, 0, 0));
    const stdfs::path pusty = roots.user() / "pusty.html";
    raport::zapiszRaport(pusty.string());
    {
        StatisticsFile stat(1);
        const std::uint16_t gloski[] = {1, 1, 2, 4, 8, 3};
        const std::uint16_t pozycje[] = {0x4000, 0x1000, 0x7000, 0x3000};
        for (int i = 0; i < 30; ++i)
            reporttest::zapisz(stat, zegar,
                               {coretest::utc(2026, 11, 16 + i * 21 / 30, 15 + i % 3, 10, 0, 0), 1 + i % 4, 2,
                                gloski[i % 6], pozycje[i % 4], 120 + i * 37 % 240, i % 5 ? 1 : 0,
                                (30 - i) / 8, 3 + i / 4, std::max(0, 8 - i / 4)});
    }
    zegar.setUtc(coretest::utc(2026, 12, 8, 12, 0, 0, 0));
    const stdfs::path pelny = roots.user() / "trzy_tygodnie.html";
    ASSERT_EQ(raport::zapiszRaport(pelny.string()).gier, 30);

    const Zrzut z = zrzut(przegladarka, pelny, roots.user());
    ASSERT_EQ(z.w, 1000);
    ASSERT_EQ(z.h, 1400);
    EXPECT_GT(z.tusz(), 0.04);
    EXPECT_TRUE(z.ma(0xe8830c)) << "the weekly bars of the labelling game";
    EXPECT_TRUE(z.ma(0x1f6fb4)) << "the heading's rule";

    const Zrzut e = zrzut(przegladarka, pusty, roots.user());
    ASSERT_EQ(e.w, 1000);
    EXPECT_GT(e.tusz(), 0.005);
    EXPECT_TRUE(e.ma(0xffcc4d)) << "the friendly face";
    EXPECT_FALSE(e.ma(0xe8830c));
}
