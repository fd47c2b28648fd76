// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Each game reached the way a user reaches it: the main menu's tab and start button, a game played, its
// record appended, the results, a second game, and back to the menu.
#include "../windows/program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/GameSettings.hpp"
#include "core/StatisticsFile.hpp"
#include "games/completion/CompletionWindow.hpp"
#include "games/falling/FallingWindow.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "games/memory/MemoryWindow.hpp"
#include "windows/MainMenu.hpp"
#include "windows/ResultsWindow.hpp"
#include "words/Catalogue.hpp"

#include <functional>
#include <map>

using namespace wvtest;
using platform::testing::Driver;

namespace {

bool startsWithSz(const std::string& stem) {
    return stem.rfind("sz", 0) == 0;
}

// Clicks every pair of the board, waiting for each pair to go.
void playMemory(Driver& d) {
    const MemoryGame& game = *gameWindow<MemoryWindow>(kGameMemory)->game();
    ASSERT_EQ(game.cardCount(), 6);
    // Only the five SZ words at the start of the word match these settings.
    std::map<std::string, std::vector<int>> pairs;
    for (int k = 0; k < 6; ++k) {
        EXPECT_TRUE(startsWithSz(game.card(k)->word())) << game.card(k)->word();
        pairs[game.card(k)->word()].push_back(k);
    }
    for (const auto& [word, cells] : pairs) {
        ASSERT_EQ(cells.size(), 2u) << word;
        for (int k : cells) {
            const platform::Point p = game.cell(k);
            d.click(p.x + 35, p.y + 47);
        }
        d.wait(2000);
    }
}

// Spells the first word by dragging each unit's tile to its field.
void playLabelling(Driver& d) {
    LabellingGame& game = *gameWindow<LabellingWindow>(kGameLabelling)->game();
    const auto& drawn = context().catalogue->chosenWords();
    EXPECT_EQ(drawn.size(), 5u);
    for (const Word& s : drawn)
        EXPECT_TRUE(startsWithSz(s.stem)) << s.stem;
    std::vector<std::string> units;
    std::string u;
    for (char c : drawn[0].spelling)
        if (c == ',') {
            units.push_back(u);
            u.clear();
        } else if (c != '_') {
            u += c;
        }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const LetterTile* l = nullptr;
        for (int k = 0; k < game.tileCount() && !l; ++k) {
            const LetterTile& c = game.tile(k);
            bool used = false;
            for (int p = 0; p < game.tileCount(); ++p)
                used = used || game.hitArea(p).tile() == &c;
            if (c.text() == units[i] && !used) l = &c;
        }
        ASSERT_NE(l, nullptr) << units[i];
        d.drag(l->x() + 5, l->y() + 5, game.hitArea(int(i)).x() + 5, game.hitArea(int(i)).y() + 5);
    }
    EXPECT_TRUE(game.solved());
}

// Solves the first word; the partner sound's words come up too, as both groups are drawn from.
void playCompletion(Driver& d) {
    const CompletionGame& game = *gameWindow<CompletionWindow>(kGameCompletion)->game();
    ASSERT_EQ(game.wordCount(), 5);
    bool s = false, sz = false;
    for (const Word& w : context().catalogue->chosenWords()) {
        (startsWithSz(w.stem) ? sz : s) = true;
        EXPECT_TRUE(w.picture && !w.picture->empty()) << w.stem;
    }
    EXPECT_TRUE(s);
    EXPECT_TRUE(sz);
    const SoundBlock* w = game.choice(0)->text == game.correctAnswer() ? game.choice(0) : game.choice(1);
    d.click(w->x + 10, w->y + 10);
}

// Shoots every target as it comes into view.
void playFalling(Driver& d) {
    FallingGame& game = *gameWindow<FallingWindow>(kGameFalling)->game();
    ASSERT_EQ(game.targetCount(), 5);
    ASSERT_EQ(game.pictureCount(), 10);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(startsWithSz(game.pictureAt(i).word)) << game.pictureAt(i).word;
    for (int t = 0; t < 2400 && !game.allFound(); ++t) {
        for (int i = 0; i < game.pictureCount(); ++i) {
            const FallingPicture& o = game.pictureAt(i);
            if (o.active && game.target(o) && o.y >= 0 && o.y + o.picture.height() + 10 < game.bottom()) {
                d.click(o.x + o.picture.width() / 2, o.y + o.picture.height() / 2);
                break;
            }
        }
        d.wait(25);
    }
    EXPECT_TRUE(game.finalStage());
}

struct MenuRun {
    const char* name;
    int game;
    const char* section; // of data.ini
    int startTab;        // the tab data.ini opens on; the test clicks the game's own when they differ
    const char* caption;
    std::function<void(Driver&)> play;
    const char* good; // the statistics' count of good answers after play
    int finished;     // the record's "finished" word
    int goodByte;     // the record's count of good answers
    std::function<void()> checkNewGame = [] {};
};

const MenuRun kRuns[] = {
    {"Labelling", kGameLabelling, "Podpisywanie", 1, "Podpisywanie", playLabelling, "1", 0, 1},
    {"Memory", kGameMemory, "Memory", 1, "Memory", playMemory, "3", 1, 3,
     [] { EXPECT_EQ(gameWindow<MemoryWindow>(kGameMemory)->game()->remaining(), 6); }},
    {"Completion", kGameCompletion, "Uzupelnianie", 1, "Uzupełnianie", playCompletion, "1", 0, 1},
    {"Falling", kGameFalling, "Spadajace", 4, "Spadające", playFalling, "5", 1, 5},
};

class MenuToResults : public ::testing::TestWithParam<MenuRun> {};

// The tab strip's bands at 800 x 600, from the top of the strip.
constexpr int kTabY[] = {0, 50, 150, 230, 310};

} // namespace

TEST_P(MenuToResults, StartPlaysAGameThatIsRecordedThenAgainAndBackToTheMenu) {
    const MenuRun& r = GetParam();
    Installation inst(Installation::Data::Linked);
    inst.writeIni("[DaneProgramu]\r\nZakladka=" + std::to_string(r.startTab) + "\r\n[" + r.section +
                  "]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
    Outcome out;
    auto d = startProgram(out, {800, 600});
    d->wait(2000); // the splash goes
    platform::Form* window = running()->game(r.game);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->visible());
    if (r.startTab != r.game) d->click(551 + 30, 74 + kTabY[r.game]);
    EXPECT_EQ(context().settings.tab, r.game);

    d->click("start");
    ASSERT_TRUE(window->visible());
    EXPECT_TRUE(d->logged(std::string("form-shown ") + r.caption));
    EXPECT_EQ(platform::app().modalForm(), window);
    r.play(*d);
    if (!resultsWindow()->visible()) d->key(27);
    ASSERT_TRUE(resultsWindow()->visible());
    EXPECT_EQ(context().statistics->correct(), r.good);
    EXPECT_EQ(context().statistics->wrong(), "0");

    const std::string file = readFile(inst.child() / "prgst1.stt");
    ASSERT_EQ(file.size(), 64u);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(file[20 + i]); };
    EXPECT_EQ(byte(0), r.game);
    EXPECT_EQ(byte(20) | byte(21) << 8, 1);               // Poziom
    EXPECT_EQ(byte(22) | byte(23) << 8, kSoundSz);        // Gloski: the game's own, without a partner sound
    EXPECT_EQ(byte(24) | byte(25) << 8, kPositionNaglos); // PositionEntry
    EXPECT_EQ(byte(30) | byte(31) << 8, r.finished);
    EXPECT_EQ(byte(36), r.goodByte);

    // "Again" deals a new game in the same window; Esc ends it, "stop" goes back to the menu.
    d->click("graj");
    EXPECT_FALSE(resultsWindow()->visible());
    EXPECT_TRUE(window->visible());
    EXPECT_EQ(context().statistics->correct(), "0");
    r.checkNewGame();
    d->key(27);
    EXPECT_TRUE(resultsWindow()->visible());
    d->click("koniec");
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(platform::app().modalForm(), nullptr);
    EXPECT_EQ(platform::app().activeForm(), static_cast<platform::Form*>(mainMenu()));
    EXPECT_EQ(readFile(inst.child() / "prgst1.stt").size(), 20u + 2 * 44u);

    d->key(27); // the main menu's Esc ends the program
    EXPECT_TRUE(d->finished());
    EXPECT_TRUE(out.returned);
    EXPECT_TRUE(d->error().empty()) << d->error();
}

INSTANTIATE_TEST_SUITE_P(EveryGame, MenuToResults, ::testing::ValuesIn(kRuns),
                         [](const ::testing::TestParamInfo<MenuRun>& info) { return info.param.name; });
