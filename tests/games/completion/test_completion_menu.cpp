// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The completion game reached the way a user reaches it: the main menu's third tab and its start button.
#include "../../windows/program_fixture.hpp"

#include "core/GameSettings.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "games/completion/CompletionWindow.hpp"
#include "windows/MainMenu.hpp"
#include "windows/ResultsWindow.hpp"

using namespace wvtest;

TEST(UzupelnianieZMenu, TabThreeStartPlaysAGameToTheResultsAndBackToTheMenu) {
    Installation inst(Installation::Data::Linked);
    inst.writeIni(
        "[DaneProgramu]\r\nZakladka=1\r\n[Uzupelnianie]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    d->wait(2000); // the splash goes
    ASSERT_NE(fmUzupelnianie, nullptr);
    EXPECT_FALSE(fmUzupelnianie->visible());

    d->click(551 + 30, 74 + 230); // tab 3 of the strip
    EXPECT_EQ(Zakladka, ZAK_UZUPELNIANIE);
    d->click("start"); // start
    ASSERT_TRUE(fmUzupelnianie->visible());
    EXPECT_TRUE(d->logged("form-shown Uzupełnianie"));
    EXPECT_EQ(platform::app().modalForm(), fmUzupelnianie);
    ASSERT_NE(fmUzupelnianie->gra(), nullptr);
    const CompletionGame& gra = *fmUzupelnianie->gra();
    ASSERT_EQ(gra.liczbaSlow(), 5);
    // The partner sound's words come up too: both groups are drawn from.
    bool s = false, sz = false;
    for (const Word& w : slowa->wybrane()) {
        (w.stem.rfind("sz", 0) == 0 ? sz : s) = true;
        EXPECT_TRUE(w.picture && !w.picture->empty()) << w.stem;
    }
    EXPECT_TRUE(s);
    EXPECT_TRUE(sz);

    // Solve the first word, then Esc.
    const SoundBlock* w = gra.wybor(0)->tekst == gra.odpowiedz() ? gra.wybor(0) : gra.wybor(1);
    d->click(w->x + 10, w->y + 10);
    EXPECT_EQ(statRec->dobre(), "1");
    d->key(27);
    ASSERT_NE(fmKoniecGry, nullptr);
    EXPECT_TRUE(fmKoniecGry->visible());
    const std::string plik = readFile(inst.user() / "prgst1.stt");
    ASSERT_EQ(plik.size(), 64u);
    const auto bajt = [&](std::size_t i) { return static_cast<unsigned char>(plik[20 + i]); };
    EXPECT_EQ(bajt(0), 3);                      // the completion game
    EXPECT_EQ(bajt(22) | bajt(23) << 8, GL_SZ); // its own settings, without the partner sound
    EXPECT_EQ(bajt(30) | bajt(31) << 8, 0);     // not finished
    EXPECT_EQ(bajt(36), 1);
    d->click("koniec"); // "stop"
    EXPECT_FALSE(fmUzupelnianie->visible());
    EXPECT_NE(platform::app().modalForm(), fmUzupelnianie);
    EXPECT_TRUE(FormMain->visible());
}
