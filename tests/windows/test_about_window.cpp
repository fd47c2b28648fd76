// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/ScreenLayout.hpp"
#include "platform/windows/Control.hpp"
#include "windows/AboutWindow.hpp"

#include <algorithm>

using namespace wvtest;

namespace {

struct Geometry {
    platform::Size screen;
    const char* picture;
    int aboutX, aboutY;
};

std::size_t indexOf(const std::vector<std::string>& log, const std::string& line) {
    const auto it = std::find(log.begin(), log.end(), line);
    return it == log.end() ? std::string::npos : std::size_t(it - log.begin());
}

} // namespace

TEST(AboutWindow, OpensFromTheMenuFullScreenWithItsPictureVersionStopAndHotAreas) {
    for (const Geometry g : {Geometry{{800, 600}, "Data\\Intf\\Spec\\R2_oprogT.xji", 245, 515},
                             Geometry{{1024, 768}, "Data\\Intf\\Spec\\R3_oprogT.xji", 357, 659}}) {
        Installation inst;
        Outcome out;
        auto d = startProgram(out, g.screen);
        d->wait(2000);
        ASSERT_NE(wvtest::aboutWindow(), nullptr);
        EXPECT_EQ(wvtest::aboutWindow(), wvtest::aboutWindow());
        EXPECT_FALSE(wvtest::aboutWindow()->visible());
        d->click(g.aboutX + 40, g.aboutY + 30);
        ASSERT_TRUE(wvtest::aboutWindow()->visible());
        EXPECT_TRUE(wvtest::aboutWindow()->modal());
        EXPECT_EQ(wvtest::aboutWindow()->bounds(),
                  platform::Rect::fromSize(0, 0, g.screen.width, g.screen.height));
        EXPECT_EQ(wvtest::aboutWindow()->caption(), "Wesołe Wirowanki Cz.I Demo");

        const bool large = g.screen.width == 1024;
        // Design (645, 870) and (645, 296) of the 1280 space, (817, 477/497) and (817, 1024-space).
        const int cx = large ? 516 : 403;
        platform::Control* stop = d->control("stop");
        ASSERT_NE(stop, nullptr);
        EXPECT_EQ(stop->left(), cx - stop->width() / 2);
        EXPECT_EQ(stop->top(), (large ? 696 : 543) - stop->height());
        EXPECT_EQ(wvtest::aboutWindow()->lbVersion.caption(), "Wersja 1.7 Demonstracyjna");
        EXPECT_EQ(wvtest::aboutWindow()->lbVersion.top(), large ? 236 : 185);
        EXPECT_EQ(wvtest::aboutWindow()->lbVersion.left(), cx - wvtest::aboutWindow()->lbVersion.width() / 2);
        const int lx = large ? 653 : 510;
        EXPECT_EQ(wvtest::aboutWindow()->lbLinkWWW.bounds(),
                  platform::Rect::fromSize(lx, large ? 477 : 372, 154, 18));
        EXPECT_EQ(wvtest::aboutWindow()->lbLinkEMail.bounds(),
                  platform::Rect::fromSize(lx, large ? 497 : 388, 154, 18));
        EXPECT_EQ(wvtest::aboutWindow()->lbLinkWWW.caption(), "");
        EXPECT_EQ(wvtest::aboutWindow()->lbLinkWWW.cursor(), platform::kCursorHand);

        // The background is the picture at the content offsets (here the whole screen).
        const platform::Bitmap bg = jpeg(g.picture);
        ASSERT_EQ(bg.width(), g.screen.width);
        for (const platform::Point pt : {platform::Point{20, 20}, platform::Point{g.screen.width - 30, 100},
                                         platform::Point{lx + 70, large ? 486 : 380}})
            EXPECT_EQ(d->pixel(pt.x, pt.y), bg.pixel(pt.x, pt.y)) << pt.x << "," << pt.y;

        d->click(stop->left() + stop->width() / 2, stop->top() + stop->height() / 2);
        EXPECT_FALSE(wvtest::aboutWindow()->visible());
        EXPECT_FALSE(out.returned);
        d->key(27);
        EXPECT_TRUE(out.returned);
    }
}

TEST(AboutWindow, EscapeClosesLikeStopAndTheLinksMinimiseThenOpenTheAddresses) {
    Installation inst;
    Outcome out;
    auto d = startProgram(out, {800, 600});
    d->wait(2000);
    d->click("oprogramie");
    ASSERT_TRUE(wvtest::aboutWindow()->visible());
    d->key(27);
    EXPECT_FALSE(wvtest::aboutWindow()->visible());
    EXPECT_FALSE(out.returned) << "Escape closes only the about window";

    d->click("oprogramie");
    ASSERT_TRUE(wvtest::aboutWindow()->visible());
    d->takeLog();
    d->click("lbLinkWWW");
    d->click("lbLinkEMail");
    const std::vector<std::string> log = d->log();
    const std::size_t www = indexOf(log, "open-url http://www.wirowanki.pl");
    const std::size_t mail =
        indexOf(log, "open-url mailto:kontakt@wirowanki.pl?subject=Wiadomosc%20z%20Wirowanki%20"
                     "Cz.I%20Demo%20(Wersja%201.7%20Demonstracyjna)");
    ASSERT_NE(www, std::string::npos);
    ASSERT_NE(mail, std::string::npos);
    ASSERT_GT(www, 0u);
    EXPECT_EQ(log[www - 1], "minimize");
    EXPECT_EQ(log[mail - 1], "minimize");
    EXPECT_LT(www, mail);
    // Outside the hot areas nothing opens.
    d->click(100, 100);
    EXPECT_EQ(std::count_if(d->log().begin(), d->log().end(),
                            [](const std::string& l) { return l.rfind("open-url", 0) == 0; }),
              2);
    d->key(27);
    d->key(27);
    EXPECT_TRUE(out.returned);
}

TEST(AboutWindow, ALinkThatCannotBeOpenedBringsTheProgramBackAndSaysSo) {
    Installation inst;
    Outcome out;
    // No browser at all; a mail program that starts but fails (reported later, on the loop).
    const AboutWindow::OpenerFunction systemOpener = AboutWindow::urlOpener;
    AboutWindow::urlOpener = [](std::string_view address, std::function<void()> error) {
        if (address.rfind("http", 0) == 0) return false;
        platform::app().post(std::move(error));
        return true;
    };
    auto d = startProgram(out, {800, 600});
    d->wait(2000);
    d->click("oprogramie");
    ASSERT_TRUE(wvtest::aboutWindow()->visible());
    const struct {
        int y;
        std::string message;
    } links[] = {
        {372, "message-box Wirowanki Cz.I Demo | Nie udało się otworzyć strony http://www.wirowanki.pl.\\n\\n"
              "Brak przeglądarki internetowej lub nie działa ona poprawnie."},
        {388,
         "message-box Wirowanki Cz.I Demo | Nie udało się otworzyć programu pocztowego.\\n\\nNapisz do nas "
         "na adres: kontakt@wirowanki.pl"},
    };
    for (const auto& l : links) {
        d->takeLog();
        d->click(510 + 77, l.y + 9);
        d->wait(10);
        const std::vector<std::string> log = d->log();
        const std::size_t m = indexOf(log, "minimize"), r = indexOf(log, "raise-main-window"),
                          box = indexOf(log, l.message);
        ASSERT_NE(box, std::string::npos) << l.message;
        EXPECT_LT(m, r);
        EXPECT_LT(r, box);
        EXPECT_TRUE(wvtest::aboutWindow()->visible());
    }
    AboutWindow::urlOpener = systemOpener;
    d->key(27);
    d->key(27);
    EXPECT_TRUE(out.returned);
}
