// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The labelling game reached the way a user reaches it: the main menu's first tab and its start button.
#include "../../windows/program_fixture.hpp"

#include "core/GameSettings.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "windows/MainMenu.hpp"
#include "windows/ResultsWindow.hpp"

using namespace wvtest;

TEST(PodpisywanieZMenu, TabOneStartPlaysAWordToTheResultsAndBackToTheMenu) {
    Installation inst(Installation::Data::Linked);
    inst.writeIni(
        "[DaneProgramu]\r\nZakladka=1\r\n[Podpisywanie]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    d->wait(2000); // the splash goes
    ASSERT_NE(fmPodpisywanie, nullptr);
    EXPECT_FALSE(fmPodpisywanie->visible());
    EXPECT_EQ(Zakladka, ZAK_PODPISYWANIE);
    d->click("start"); // start
    ASSERT_TRUE(fmPodpisywanie->visible());
    EXPECT_TRUE(d->logged("form-shown Podpisywanie"));
    EXPECT_EQ(platform::app().modalForm(), fmPodpisywanie);
    ASSERT_NE(fmPodpisywanie->gra(), nullptr);
    LabellingGame& gra = *fmPodpisywanie->gra();
    EXPECT_EQ(slowa->wybrane().size(), 5u);
    for (const Word& s : slowa->wybrane())
        EXPECT_EQ(s.stem.rfind("sz", 0), 0u) << s.stem;

    // The first word, spelt by dragging each unit's tile to its field.
    const std::string g = slowa->wybrane()[0].spelling;
    std::vector<std::string> jednostki;
    std::string u;
    for (char c : g)
        if (c == ',') {
            jednostki.push_back(u);
            u.clear();
        } else if (c != '_') {
            u += c;
        }
    for (std::size_t i = 0; i < jednostki.size(); ++i) {
        const LetterTile* l = nullptr;
        for (int k = 0; k < gra.liczbaLiter() && !l; ++k) {
            const LetterTile& c = gra.litera(k);
            bool zajety = false;
            for (int p = 0; p < gra.liczbaLiter(); ++p)
                zajety = zajety || gra.pole(p).litera() == &c;
            if (c.tekst() == jednostki[i] && !zajety) l = &c;
        }
        ASSERT_NE(l, nullptr) << jednostki[i];
        d->drag(l->x() + 5, l->y() + 5, gra.pole(int(i)).x() + 5, gra.pole(int(i)).y() + 5);
    }
    EXPECT_TRUE(gra.rozwiazane());
    EXPECT_EQ(statRec->dobre(), "1");

    d->key(27);
    ASSERT_NE(fmKoniecGry, nullptr);
    EXPECT_TRUE(fmKoniecGry->visible());
    const std::string plik = readFile(inst.user() / "prgst1.stt");
    ASSERT_EQ(plik.size(), 64u);
    const auto bajt = [&](std::size_t i) { return static_cast<unsigned char>(plik[20 + i]); };
    EXPECT_EQ(bajt(0), 1);                  // the labelling game
    EXPECT_EQ(bajt(30) | bajt(31) << 8, 0); // not every word solved
    EXPECT_EQ(bajt(36), 1);
    d->click("koniec"); // stop
    EXPECT_FALSE(fmPodpisywanie->visible());
    EXPECT_EQ(platform::app().modalForm(), nullptr);
    EXPECT_EQ(platform::app().activeForm(), static_cast<platform::Form*>(FormMain));

    d->key(27);
    EXPECT_TRUE(d->finished());
    EXPECT_TRUE(out.returned);
    EXPECT_TRUE(d->error().empty()) << d->error();
}
