// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The memory game reached the way a user reaches it: the main menu's second tab and its start button.
#include "../../windows/program_fixture.hpp"

#include "core/GameSettings.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "games/memory/MemoryWindow.hpp"
#include "windows/MainMenu.hpp"
#include "windows/ResultsWindow.hpp"

#include <map>

using namespace wvtest;

namespace {

std::vector<std::pair<int, int>> paryNaPlanszy(const MemoryGame& gra) {
    std::map<std::string, std::vector<int>> wg;
    for (int k = 0; k < gra.liczbaKart(); ++k)
        if (gra.karta(k)->naPlanszy()) wg[gra.karta(k)->slowo()].push_back(k);
    std::vector<std::pair<int, int>> wynik;
    for (auto& [slowo, komorki] : wg)
        wynik.emplace_back(komorki.at(0), komorki.at(1));
    return wynik;
}

} // namespace

TEST(MemoryZMenu, TabTwoStartPlaysAGameToTheResultsAndBackToTheMenu) {
    Installation inst(Installation::Data::Linked);
    inst.writeIni("[DaneProgramu]\r\nZakladka=1\r\n[Memory]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    d->wait(2000); // the splash goes
    ASSERT_NE(fmMemory, nullptr);
    EXPECT_FALSE(fmMemory->visible());

    d->click(551 + 30, 74 + 150); // tab 2 of the strip
    EXPECT_EQ(Zakladka, ZAK_MEMORY);
    d->click("start"); // start
    ASSERT_TRUE(fmMemory->visible());
    EXPECT_TRUE(d->logged("form-shown Memory"));
    EXPECT_EQ(platform::app().modalForm(), fmMemory);
    ASSERT_NE(fmMemory->gra(), nullptr);
    const MemoryGame& gra = *fmMemory->gra();
    ASSERT_EQ(gra.liczbaKart(), 6);
    // Only the five SZ words at the start of the word match these settings.
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(gra.karta(k)->slowo().rfind("sz", 0), 0u) << gra.karta(k)->slowo();

    for (auto [a, b] : paryNaPlanszy(gra)) {
        for (int k : {a, b}) {
            const platform::Point p = gra.komorka(k);
            d->click(p.x + 35, p.y + 47);
        }
        d->wait(2000);
    }
    ASSERT_NE(fmKoniecGry, nullptr);
    EXPECT_TRUE(fmKoniecGry->visible());
    EXPECT_EQ(statRec->dobre(), "3");
    EXPECT_EQ(statRec->zle(), "0");

    const std::string plik = readFile(inst.user() / "prgst1.stt");
    ASSERT_EQ(plik.size(), 64u);
    const auto bajt = [&](std::size_t i) { return static_cast<unsigned char>(plik[20 + i]); };
    EXPECT_EQ(bajt(0), 2);                           // the memory game
    EXPECT_EQ(bajt(20) | bajt(21) << 8, 1);          // Poziom
    EXPECT_EQ(bajt(22) | bajt(23) << 8, GL_SZ);      // Gloski
    EXPECT_EQ(bajt(24) | bajt(25) << 8, POZ_NAGLOS); // Pozycja
    EXPECT_EQ(bajt(30) | bajt(31) << 8, 1);          // finished
    EXPECT_EQ(bajt(36), 3);                          // pairs found

    // "Again" deals a new game in the same window; Esc ends it, "stop" goes back to the menu.
    d->click("graj");
    EXPECT_FALSE(fmKoniecGry->visible());
    EXPECT_TRUE(fmMemory->visible());
    EXPECT_EQ(fmMemory->gra()->pozostalo(), 6);
    d->key(27);
    EXPECT_TRUE(fmKoniecGry->visible());
    d->click("koniec");
    EXPECT_FALSE(fmMemory->visible());
    EXPECT_EQ(platform::app().modalForm(), nullptr);
    EXPECT_EQ(platform::app().activeForm(), static_cast<platform::Form*>(FormMain));
    EXPECT_EQ(readFile(inst.user() / "prgst1.stt").size(), 20u + 2 * 44u);

    d->key(27); // the main menu's Esc ends the program
    EXPECT_TRUE(d->finished());
    EXPECT_TRUE(out.returned);
    EXPECT_TRUE(d->error().empty()) << d->error();
}
