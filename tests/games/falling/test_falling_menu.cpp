// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The falling-pictures game reached the way a user reaches it: the main menu on tab 4 and its start button.
#include "../../windows/program_fixture.hpp"

#include "core/GameSettings.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "games/falling/FallingWindow.hpp"
#include "windows/MainMenu.hpp"
#include "windows/ResultsWindow.hpp"

using namespace wvtest;

TEST(SpadajaceZMenu, TabFourStartPlaysToTheResultsAndBackToTheMenu) {
    Installation inst(Installation::Data::Linked);
    inst.writeIni("[DaneProgramu]\r\nZakladka=4\r\n[Spadajace]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    d->wait(2000); // the splash goes
    ASSERT_NE(fmSpadajace, nullptr);
    EXPECT_FALSE(fmSpadajace->visible());
    EXPECT_EQ(Zakladka, ZAK_SPADAJACE);
    d->click("start"); // start
    ASSERT_TRUE(fmSpadajace->visible());
    EXPECT_TRUE(d->logged("form-shown Spadające"));
    EXPECT_EQ(platform::app().modalForm(), fmSpadajace);
    ASSERT_NE(fmSpadajace->gra(), nullptr);
    FallingGame& gra = *fmSpadajace->gra();
    ASSERT_EQ(gra.liczbaCelow(), 5);
    ASSERT_EQ(gra.liczbaObrazkow(), 10);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(gra.obrazek(i).slowo.rfind("sz", 0), 0u) << gra.obrazek(i).slowo;

    // Shoot every target as it comes into view.
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
    d->key(27);
    ASSERT_NE(fmKoniecGry, nullptr);
    EXPECT_TRUE(fmKoniecGry->visible());
    EXPECT_EQ(statRec->dobre(), "5");
    EXPECT_EQ(statRec->zle(), "0");

    const std::string plik = readFile(inst.user() / "prgst1.stt");
    ASSERT_EQ(plik.size(), 64u);
    const auto bajt = [&](std::size_t i) { return static_cast<unsigned char>(plik[20 + i]); };
    EXPECT_EQ(bajt(0), 4);                      // the falling-pictures game
    EXPECT_EQ(bajt(22) | bajt(23) << 8, GL_SZ); // Gloski
    EXPECT_EQ(bajt(30) | bajt(31) << 8, 1);     // finished
    d->click("koniec");
    EXPECT_FALSE(fmSpadajace->visible());
    EXPECT_EQ(platform::app().modalForm(), nullptr);
    EXPECT_EQ(platform::app().activeForm(), static_cast<platform::Form*>(FormMain));

    d->key(27); // the main menu's Esc ends the program
    EXPECT_TRUE(d->finished());
    EXPECT_TRUE(d->error().empty()) << d->error();
}
