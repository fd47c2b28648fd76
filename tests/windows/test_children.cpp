// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Several children on one computer: the choice at start, each child's own files, the adults' gate and
// the list of children.
#include "program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/StatisticsRecord.hpp"
#include "platform/windows/Dialogs.hpp"
#include "windows/ChildChooser.hpp"
#include "windows/MainMenu.hpp"
#include "windows/MessageWindow.hpp"
#include "words/Catalogue.hpp"

#include <algorithm>
#include <cstdlib>

using namespace wvtest;
using platform::testing::Driver;

namespace {

void addChild(const Installation& inst, int number, const std::string& name) {
    writeFile(inst.user() / "Dzieci" / std::to_string(number) / "dziecko.ini",
              "[Dziecko]\r\nImie=" + name + "\r\nObrazek=zaba\r\n");
}

// The games recorded in a child's statistics file, by game number.
std::vector<int> recordedGames(const stdfs::path& file) {
    const std::string bytes = readFile(file);
    std::vector<int> games;
    for (std::size_t at = kStatisticsHeaderSize; at + kStatisticsRecordSize <= bytes.size();
         at += kStatisticsRecordSize)
        games.push_back(decodeRecord(reinterpret_cast<const std::uint8_t*>(bytes.data() + at)).game);
    return games;
}

// Starts a game from its tab (1024 × 768 layout), stops it at once and goes back to the menu.
void playBriefly(Driver& d, int tabY) {
    d.click(765, tabY);
    d.click("start");
    d.wait(800);
    d.key(27);
    d.wait(600);
    d.key(27);
    d.wait(300);
}

} // namespace

TEST(Children, EachChildPlaysIntoTheirOwnFilesAndGetsTheirOwnSettingsBack) {
    Installation inst;
    addChild(inst, 1, "Ola");
    addChild(inst, 2, "Ela");
    {
        Outcome out;
        auto d = startProgram(out, {1024, 768});
        d->wait(300);
        ASSERT_NE(running()->chooser(), nullptr); // two children: the choice comes first
        EXPECT_EQ(mainMenu(), nullptr);
        d->click("dziecko1");
        d->wait(2500);
        ASSERT_NE(mainMenu(), nullptr);
        EXPECT_EQ(context().currentChild()->name, "Ola");
        playBriefly(*d, 295); // memory
        d->click("dzieci");   // "Zmień dziecko"
        d->wait(300);
        ASSERT_NE(running()->chooser(), nullptr);
        d->click("dziecko2");
        d->wait(500);
        EXPECT_EQ(context().currentChild()->name, "Ela");
        playBriefly(*d, 495); // falling pictures
        d->key(27);
        ASSERT_TRUE(out.returned);
    }
    const stdfs::path ola = inst.user() / "Dzieci" / "1", ela = inst.user() / "Dzieci" / "2";
    EXPECT_EQ(recordedGames(ola / "prgst1.stt"), std::vector<int>{kGameMemory});
    EXPECT_EQ(recordedGames(ela / "prgst1.stt"), std::vector<int>{kGameFalling});
    EXPECT_FALSE(stdfs::exists(inst.user() / "prgst1.stt"));

    Outcome out;
    auto d = startProgram(out, {1024, 768});
    d->wait(300);
    d->key('1'); // the first card from the keyboard
    d->wait(300);
    EXPECT_EQ(context().settings.tab, kGameMemory);
    d->click("dzieci");
    d->wait(300);
    d->key('2');
    d->wait(300);
    EXPECT_EQ(context().settings.tab, kGameFalling);
    d->key(27);
    ASSERT_TRUE(out.returned);
}

// A single child (or none) starts in the main menu as before; the list of children is reached from the
// choice of child and only through the gate; adding, removing and saving for the parents work there.
TEST(Children, TheAdultsListIsBehindTheGateAndChangesOnlyWhatItSays) {
    Installation inst;
    const stdfs::path home = inst.base() / "home";
    stdfs::create_directories(home);
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.c_str(), 1);
    writeFile(inst.user() / "prgst1.stt", ""); // an old single-user directory, moved in at the start
    Outcome out;
    auto d = startProgram(out, {1024, 768});
    d->wait(2500);
    ASSERT_NE(mainMenu(), nullptr);
    EXPECT_EQ(context().currentChild()->name, "Dziecko 1");
    EXPECT_TRUE(stdfs::exists(inst.user() / "Dzieci" / "1" / "prgst1.stt"));
    d->click("dzieci");
    d->wait(300);
    d->click("dorosli");
    d->wait(100);
    ASSERT_TRUE(shown(*d, "FormDorosli"));
    // Let go after one second: the gate stays shut.
    holdAdultGate(*d, 1000);
    d->wait(100);
    EXPECT_TRUE(shown(*d, "FormDorosli"));
    EXPECT_FALSE(shown(*d, "FormProfile"));
    holdAdultGate(*d);
    d->wait(100);
    ASSERT_TRUE(shown(*d, "FormProfile"));

    d->click("dodaj");
    d->text("  Zosia ");
    d->click("ok");
    d->click("dodaj");
    d->text("ZOSIA");
    d->click("ok");
    EXPECT_TRUE(shown(*d, "FormImie")); // refused: the name exists
    d->click("anuluj");
    ASSERT_EQ(context().profiles.all().size(), 2u);
    EXPECT_EQ(context().profiles.all()[1].name, "Zosia");

    // Saved for the parents: a copy of the folder and a fresh report.
    d->click("eksportuj");
    std::vector<stdfs::path> exported;
    for (const auto& e : stdfs::directory_iterator(home))
        exported.push_back(e.path());
    ASSERT_EQ(exported.size(), 1u);
    EXPECT_EQ(exported[0].filename().string().rfind("Wirowanki - Zosia - ", 0), 0u);
    EXPECT_TRUE(stdfs::exists(exported[0] / "Raport postępów.html"));
    EXPECT_TRUE(stdfs::exists(exported[0] / "dziecko.ini"));

    // Removing Zosia takes her folder and leaves the first child's files as they were.
    const std::string firstStatistics = readFile(inst.user() / "Dzieci" / "1" / "prgst1.stt");
    d->answer(static_cast<int>(platform::MessageResult::Yes));
    d->click("usun");
    EXPECT_FALSE(stdfs::exists(inst.user() / "Dzieci" / "2"));
    EXPECT_EQ(readFile(inst.user() / "Dzieci" / "1" / "prgst1.stt"), firstStatistics);
    ASSERT_EQ(context().profiles.all().size(), 1u);
    d->click("gotowe");
    d->key(27);
    d->wait(100);
    ASSERT_TRUE(out.returned);
    if (oldHome.empty())
        ::unsetenv("HOME");
    else
        ::setenv("HOME", oldHome.c_str(), 1);
}

// A word switched off for one child is never drawn for that child, is drawn for another, and the menu's
// refusal counts the switched-off words; the browser switches a word off and on again behind the gate.
TEST(Children, AWordSwitchedOffForOneChildIsDrawnOnlyForTheOther) {
    Installation inst;
    addChild(inst, 1, "Ola");
    addChild(inst, 2, "Ela");
    writeFile(inst.user() / "Dzieci" / "1" / "wylaczone_slowa.txt", "# Ola\nmysz\nkosz\ngrosz\ntusz\n");
    // Memory, SZ at the end of the word, many: twelve words needed.
    const std::string settings =
        "[DaneProgramu]\r\nZakladka=2\r\n\r\n[Memory]\r\nGloski=1\r\nPoziom=3\r\nPozycja=16384\r\n";
    for (const char* child : {"1", "2"})
        writeFile(inst.user() / "Dzieci" / child / "ustawienia.ini", settings);
    Outcome out;
    auto d = startProgram(out, {1024, 768});
    d->wait(300);
    auto drawsOfMysz = [&d] {
        int drawn = 0;
        WordFilter filter;
        filter.sounds = kSoundSz;
        filter.positions = kPositionWyglos;
        for (int i = 0; i < 50; ++i) {
            d->wait(1000); // each draw is seeded by the clock's second
            context().catalogue->filter(filter);
            if (!context().catalogue->drawRandom(10)) return -1;
            for (const Word& w : context().catalogue->chosenWords())
                drawn += w.stem == "mysz";
        }
        return drawn;
    };
    d->key('1');
    d->wait(2500);
    EXPECT_EQ(drawsOfMysz(), 0);
    d->click("start");
    ASSERT_NE(messageWindow(), nullptr);
    EXPECT_EQ(
        messageWindow()->vL_Message.caption(),
        "Słów z głoską SZ w wygłosie jest 11, a ta gra potrzebuje 12; 4 słowa wyłączono dla tego dziecka.");
    d->click(302 + 180 + 35, 259 + 150 + 30); // the message's stop button

    // Behind the gate, the browser switches "mysz" on again for Ola.
    browseSzAtTheEnd(*d);
    ASSERT_TRUE(shown(*d, "FormSlowa"));
    d->click("slowo1");
    d->key(' ');
    d->key(27);
    EXPECT_EQ(readFile(inst.user() / "Dzieci" / "1" / "wylaczone_slowa.txt"),
              "# Słowa wyłączone dla tego dziecka, jedno w wierszu.\ngrosz\nkosz\ntusz\n");
    EXPECT_GT(drawsOfMysz(), 0);

    d->click("dzieci");
    d->wait(300);
    d->key('2');
    d->wait(300);
    EXPECT_GT(drawsOfMysz(), 0);
    EXPECT_TRUE(context().catalogue->switchedOff().empty());
    d->key(27);
    ASSERT_TRUE(out.returned);
}
