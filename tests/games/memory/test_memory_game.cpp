// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The memory game played by clicks on the headless backend with the shipped data set.
#include "memory_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/FatalError.hpp"
#include "core/WordVoices.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/audio/Wav.hpp"

#include <set>

using namespace memorytest;

namespace {

struct Scenario {
    int level;
    platform::Size screen;
    int pairs;
    platform::Point first; // first cell
    int stepX, stepY, columns;
};

class MemoryFullGame : public MemoryGameTest, public ::testing::WithParamInterface<Scenario> {};

} // namespace

TEST_P(MemoryFullGame, EndsByItselfAfterTheLastPairAndStoresOneRecord) {
    const Scenario p = GetParam();
    run({.level = p.level, .screen = p.screen});
    ASSERT_EQ(n(), 2 * p.pairs);
    EXPECT_EQ(window->bounds(), platform::Rect::fromSize(0, 0, p.screen.width, p.screen.height));
    for (int k = 0; k < n(); ++k) {
        const platform::Point c = game().cell(k);
        EXPECT_EQ(c.x, p.first.x + (k % p.columns) * p.stepX) << k;
        EXPECT_EQ(c.y, p.first.y + (k / p.columns) * p.stepY) << k;
        EXPECT_EQ(card(k).area(), platform::Rect::fromSize(c.x, c.y, 70, 94)) << k;
        EXPECT_TRUE(showsBack(k)) << k;
    }
    // Every selected word lies on exactly two cards.
    std::multiset<std::string> wordsOnBoard;
    for (int k = 0; k < n(); ++k)
        wordsOnBoard.insert(card(k).word());
    for (const Word& s : wvtest::context().catalogue->chosenWords())
        EXPECT_EQ(wordsOnBoard.count(s.stem), 2u) << s.stem;

    // One failed turn, one hint, then every pair.
    const int a = 0, b = other(0);
    clickCard(a);
    clickCard(b);
    d->wait(1200);
    clickHelp();
    auto all = pairs();
    ASSERT_EQ(int(all.size()), p.pairs);
    for (std::size_t i = 0; i < all.size(); ++i) {
        clickCard(all[i].first);
        clickCard(all[i].second);
        if (i + 1 < all.size()) {
            d->wait(2000);
            EXPECT_FALSE(card(all[i].first).onBoard());
            EXPECT_FALSE(card(all[i].second).onBoard());
        }
    }
    // The last pair: its sound has played inside the click; 2000 ms later the game ends by itself.
    const std::string word = card(all.back().first).word();
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + word + ".pw"));
    d->wait(1999);
    EXPECT_FALSE(results->visible());
    EXPECT_TRUE(records().empty());
    d->wait(1);
    EXPECT_TRUE(results->visible());
    EXPECT_EQ(game().remaining(), 0);
    EXPECT_TRUE(game().allFound());
    for (int k = 0; k < n(); ++k)
        EXPECT_FALSE(card(k).onBoard());

    const auto file = statsFile();
    ASSERT_EQ(file.size(), 20u + 44u);
    const ParsedRecord r = records().at(0);
    EXPECT_EQ(r.gameId, 2);
    EXPECT_EQ(r.level, p.level);
    EXPECT_EQ(r.sounds, kSoundSz | kSoundS);
    EXPECT_EQ(r.position, kPositionNaglos);
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.correct, p.pairs);
    EXPECT_EQ(r.wrong, 1);
    EXPECT_EQ(r.hints, 1);
    EXPECT_EQ(r.timeSeconds, int((d->now() - t0) / 1000));
    EXPECT_GT(r.timeSeconds, 2 * p.pairs);
    EXPECT_EQ(wvtest::context().statistics->correct(), std::to_string(p.pairs));

    // "stop" on the results goes back to the main menu.
    clickResultsStop();
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(windowResult, platform::kModalCancel);
    d->wait(5000);
    EXPECT_EQ(resultsShownCount(), 1);
    EXPECT_EQ(records().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Levels, MemoryFullGame,
                         ::testing::Values(Scenario{1, {800, 600}, 3, {170, 175}, 100, 120, 3},
                                           Scenario{2, {800, 600}, 6, {130, 135}, 90, 110, 4},
                                           Scenario{3, {800, 600}, 10, {100, 95}, 85, 105, 5},
                                           Scenario{1, {1024, 768}, 3, {260, 260}, 100, 120, 3},
                                           Scenario{2, {1024, 768}, 6, {230, 220}, 90, 110, 4},
                                           Scenario{3, {1024, 768}, 10, {190, 190}, 85, 105, 5}),
                         [](const auto& info) {
                             return "Poziom" + std::to_string(info.param.level) + "_" +
                                    std::to_string(info.param.screen.width);
                         });

TEST_F(MemoryGameTest, TheWindowCoversTheCentredContentArea) {
    run({.screen = {1280, 1024}});
    EXPECT_EQ(window->bounds(), platform::Rect::fromSize(128, 128, 1024, 768));
    EXPECT_TRUE(showsBack(0));
    EXPECT_EQ(d->pixel(10, 10), platform::kBlack); // the menu below shows around it
    // The buttons: "pomoc" at (W - W/10, 23H/30), "stop" at (W - W/10 + 4, H - H/9), drawn with their masks.
    platform::Bitmap windowBackground, d1, m1;
    loadJpeg(windowBackground, "Data\\Intf\\Spec\\mT_Mem_b.xji");
    EXPECT_NE(d->pixel(128 + 922 + 35, 128 + 588 + 30), windowBackground.pixel(922 + 35, 588 + 30));
    EXPECT_NE(d->pixel(128 + 926 + 35, 128 + 683 + 30), windowBackground.pixel(926 + 35, 683 + 30));
}

TEST_F(MemoryGameTest, AFailedTurnCountsOneWrongAndTurnsBothBackAfter1200Ms) {
    run({.level = 2});
    const int a = 0, b = other(0);
    const int c = other(b) == a ? partner(b) : other(b);
    ASSERT_NE(c, a);
    ASSERT_NE(c, b);
    clickCard(a);
    EXPECT_TRUE(front(a));
    clickCard(a); // the turned card again: nothing
    EXPECT_TRUE(front(a));
    EXPECT_EQ(game().first(), &card(a));
    EXPECT_EQ(wvtest::context().statistics->wrong(), "0");
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
    clickCard(b);
    EXPECT_TRUE(front(b));
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_FALSE(game().acceptsInput());
    d->wait(600);
    clickCard(c); // during the show: ignored
    EXPECT_TRUE(showsBack(c));
    EXPECT_TRUE(front(a));
    d->wait(599);
    EXPECT_TRUE(front(a));
    EXPECT_TRUE(front(b));
    d->wait(1);
    EXPECT_TRUE(showsBack(a));
    EXPECT_TRUE(showsBack(b));
    EXPECT_TRUE(game().acceptsInput());
    EXPECT_EQ(game().first(), nullptr);
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
    // The refused click did not turn a card: the next click starts a turn.
    clickCard(c);
    EXPECT_EQ(game().first(), &card(c));
}

TEST_F(MemoryGameTest, APairShowsTheBigPictureSaysTheWordAndLeavesAfter2000Ms) {
    run({.level = 2});
    const auto [a, b] = pairs().at(0);
    const std::string word = card(a).word();
    clickCard(a);
    clickCard(a); // second click on the turned card: nothing counted
    const std::int64_t before = d->now();
    clickCard(b);
    // The word's sound played to its end inside the click.
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + word + ".pw"));
    EXPECT_EQ(d->now() - before, platform::sound::wavLengthMs("Data\\Smd\\" + word + ".pw"));
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "0");
    EXPECT_EQ(game().remaining(), n() - 2);
    EXPECT_TRUE(front(a));
    EXPECT_TRUE(front(b));
    // The big picture at (583, 188): mask OR'ed, picture AND'ed onto the background.
    platform::Bitmap windowBackground, mask, large;
    loadJpeg(windowBackground, "Data\\Intf\\Spec\\mT_Mem_s.xji");
    loadJpeg(mask, "Data\\Bio\\_matr_ms.xji");
    loadJpeg(large, "Data\\Bio\\" + word + "_ms.xji");
    for (platform::Point o : {platform::Point{mask.width() / 2, mask.height() / 2}, platform::Point{3, 3}}) {
        const platform::Color expectedValue =
            (windowBackground.pixel(583 + o.x, 188 + o.y) | mask.pixel(o.x, o.y)) & large.pixel(o.x, o.y);
        EXPECT_EQ(d->pixel(583 + o.x, 188 + o.y), expectedValue) << o.x << "," << o.y;
    }
    // Clicks during the show are ignored.
    const int c = other(a);
    clickCard(c);
    EXPECT_EQ(game().first(), &card(a));
    EXPECT_TRUE(showsBack(c));
    d->wait(1999);
    EXPECT_TRUE(card(a).onBoard());
    d->wait(1);
    EXPECT_FALSE(card(a).onBoard());
    EXPECT_FALSE(card(b).onBoard());
    // Removed: the background shows through, the big picture is painted over.
    const platform::Point ka = game().cell(a);
    EXPECT_EQ(d->pixel(ka.x + 35, ka.y + 47), windowBackground.pixel(ka.x + 35, ka.y + 47));
    EXPECT_EQ(d->pixel(583 + mask.width() / 2, 188 + mask.height() / 2),
              windowBackground.pixel(583 + mask.width() / 2, 188 + mask.height() / 2));
    // Clicking where a removed card was does nothing.
    clickCard(a);
    EXPECT_EQ(game().first(), nullptr);
    clickCard(c);
    EXPECT_EQ(game().first(), &card(c));
}

TEST_F(MemoryGameTest, AHintShowsTwoCardsOfOneWordFor500MsUnlessACardIsTurned) {
    run({.level = 3});
    clickCard(0);
    auto& mode = d->backend();
    const std::int64_t now = d->now();
    clickHelp(); // a card is turned: nothing happens, nothing counted
    EXPECT_EQ(wvtest::context().statistics->hints(), "0");
    EXPECT_EQ(d->now(), now); // no 500 ms show
    EXPECT_TRUE(front(0));
    clickCard(partner(0));
    d->wait(2000);

    for (int i = 1; i <= 3; ++i) {
        const std::int64_t before = d->now();
        clickHelp();
        EXPECT_EQ(d->now() - before, 500);
        EXPECT_EQ(wvtest::context().statistics->hints(), std::to_string(i));
        // What reached the screen last: the two shown cards, turned back again.
        std::vector<int> shown;
        for (const platform::Rect& r : mode.lastPresented())
            for (int k = 0; k < n(); ++k) {
                const platform::Point c = game().cell(k);
                if (r.intersect(platform::Rect::fromSize(c.x, c.y, 70, 94)) ==
                    platform::Rect::fromSize(c.x, c.y, 70, 94))
                    shown.push_back(k);
            }
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(card(shown[0]).word(), card(shown[1]).word());
        EXPECT_TRUE(card(shown[0]).onBoard());
        EXPECT_TRUE(card(shown[1]).onBoard());
        EXPECT_TRUE(showsBack(shown[0]));
        EXPECT_TRUE(showsBack(shown[1]));
        EXPECT_EQ(game().first(), nullptr);
        EXPECT_EQ(game().remaining(), n() - 2);
    }
}

TEST_F(MemoryGameTest, EscWithOneCardTurnedShowsTheCountsSoFarAndStoresAnUnfinishedGame) {
    run({.level = 1});
    const auto [a, b] = pairs().at(0);
    clickCard(a);
    clickCard(b);
    d->wait(2000);
    clickCard(other(a));
    d->wait(3000);
    d->key(27);
    EXPECT_TRUE(results->visible());
    EXPECT_FALSE(game().allFound());
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "0");
    const ParsedRecord r = records().at(0);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.correct, 1);
    EXPECT_EQ(r.wrong, 0);
    EXPECT_EQ(r.hints, 0);
    EXPECT_EQ(r.level, 1);
    EXPECT_EQ(r.timeSeconds, int((d->now() - t0) / 1000));
    clickResultsStop();
    EXPECT_FALSE(window->visible());
}

TEST_F(MemoryGameTest, TheStopButtonEndsTheGameLikeEsc) {
    run({.level = 2});
    clickStop();
    EXPECT_TRUE(results->visible());
    EXPECT_EQ(records().at(0).result, 0);
    d->key(27); // Esc on the results: back to the menu
    EXPECT_FALSE(window->visible());
}

TEST_F(MemoryGameTest, TheLastPairEndingWhileTheResultsAreOpenOpensNoSecondResults) {
    run({.level = 1});
    auto p = pairs();
    for (int i = 0; i < 2; ++i) {
        clickCard(p[std::size_t(i)].first);
        clickCard(p[std::size_t(i)].second);
        d->wait(2000);
    }
    clickCard(p[2].first);
    clickCard(p[2].second);
    d->key(27); // during the last pair's show
    EXPECT_TRUE(results->visible());
    EXPECT_EQ(resultsShownCount(), 1);
    d->wait(2500); // the pair's timer ends the game again: guarded
    EXPECT_EQ(resultsShownCount(), 1);
    EXPECT_EQ(game().remaining(), 0);
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].result, 1); // Esc came after the last pair was found
    clickResultsStop();
    EXPECT_FALSE(window->visible());
}

TEST_F(MemoryGameTest, StoppingDuringAPairsShowLeavesNoTimerBehindInTheMenu) {
    run({.level = 1});
    auto p = pairs();
    for (int i = 0; i < 3; ++i) {
        clickCard(p[std::size_t(i)].first);
        clickCard(p[std::size_t(i)].second);
        if (i < 2) d->wait(2000);
    }
    d->key(27);
    d->wait(100);
    clickResultsStop(); // back to the menu before the last pair's 2000 ms ran out
    EXPECT_FALSE(window->visible());
    d->wait(5000);
    EXPECT_FALSE(results->visible());
    EXPECT_EQ(resultsShownCount(), 1);
    EXPECT_EQ(records().size(), 1u);
}

TEST_F(MemoryGameTest, AgainDealsANewBoardWithNewWordsAndANewRecord) {
    run({.level = 2});
    std::vector<std::string> layout1;
    for (int k = 0; k < n(); ++k)
        layout1.push_back(card(k).word());
    const auto [a, b] = pairs().at(0);
    clickCard(a);
    clickCard(b);
    d->wait(2000);
    d->wait(3000);
    d->key(27);
    ASSERT_TRUE(results->visible());
    clickResultsStart();
    EXPECT_FALSE(results->visible());
    EXPECT_TRUE(window->visible());
    ASSERT_NE(window->game(), nullptr);
    std::vector<std::string> layout2;
    for (int k = 0; k < n(); ++k) {
        layout2.push_back(card(k).word());
        EXPECT_TRUE(card(k).onBoard());
        EXPECT_TRUE(showsBack(k)) << k;
    }
    EXPECT_EQ(n(), 12);
    EXPECT_NE(layout1, layout2);
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
    // The second game is recorded on its own.
    clickStop();
    ASSERT_EQ(records().size(), 2u);
    EXPECT_EQ(records()[0].correct, 1);
    EXPECT_EQ(records()[1].correct, 0);
    EXPECT_EQ(records()[1].timeSeconds, 0);
}

TEST_F(MemoryGameTest, AgainAfterTheLastPairReplacesTheBoardFromInsideItsTimer) {
    run({.level = 1});
    for (auto [a, b] : pairs()) {
        clickCard(a);
        clickCard(b);
        d->wait(2000);
    }
    ASSERT_TRUE(results->visible());
    clickResultsStart();
    ASSERT_NE(window->game(), nullptr);
    EXPECT_EQ(game().remaining(), 6);
    // The new board plays on.
    const auto [a, b] = pairs().at(0);
    clickCard(a);
    clickCard(b);
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    d->wait(2000);
    EXPECT_FALSE(card(a).onBoard());
    EXPECT_TRUE(d->error().empty());
}

TEST_F(MemoryGameTest, TwoMinutesWithoutAnyInputWriteNoRecord) {
    run({.level = 1});
    d->wait(121000);
    clickStop();
    EXPECT_TRUE(results->visible());
    EXPECT_TRUE(records().empty());
    EXPECT_EQ(statsFile().size(), 20u);
}

TEST_F(MemoryGameTest, KeysAndTheWheelKeepTheGameActive) {
    run({.level = 1});
    d->wait(100000);
    d->key('a');
    d->wait(100000);
    d->wheel(1);
    d->wait(100000);
    clickStop();
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].timeSeconds, 300);
}

TEST_F(MemoryGameTest, AGameOfCardClicksLongerThanTwoMinutesIsRecorded) {
    run({.level = 2});
    const auto p = pairs();
    for (int i = 0; i < 4; ++i) {
        d->wait(59000);
        clickCard(p[std::size_t(i)].first);
        clickCard(p[std::size_t(i)].second);
    }
    d->wait(10000);
    clickStop();
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].correct, 4);
    EXPECT_EQ(records()[0].result, 0);
    EXPECT_GT(records()[0].timeSeconds, 240);
}

namespace {

// A program directory like the shipped one, with some card pictures missing.
class MissingCards : public MemoryGameTest, public ::testing::WithParamInterface<const char*> {
protected:
    void prepare(const std::string& missing) {
        namespace fs = std::filesystem;
        const fs::path source = WV_SOURCE_DIR, prog = catalogue.base() / "prog";
        fs::create_directories(prog / "Data" / "Sio");
        for (const char* k : {"Data/Bio", "Data/Intf", "Data/Smd", "Resource"})
            fs::create_directory_symlink(source / k, prog / k);
        for (const auto& file : fs::directory_iterator(source / "Data" / "Sio"))
            if (!platform::fs::matchMask(file.path().filename().string(), missing))
                fs::create_symlink(file.path(), prog / "Data" / "Sio" / file.path().filename());
        platform::fs::setRoots(prog.string(), catalogue.userDir().string());
    }
};

int messageCount(const std::vector<std::string>& log) {
    int k = 0;
    for (const auto& l : log)
        if (l.starts_with("message-box ")) ++k;
    return k;
}

} // namespace

TEST_P(MissingCards, WithoutABoardTheWindowStillPaintsHintsAndStopsAsAnUnfinishedGame) {
    prepare(GetParam());
    run({.level = 1});
    EXPECT_EQ(window->game(), nullptr);
    EXPECT_EQ(messageCount(d->log()), 1);
    if (GetParam()[0] == 'b') {
        // Without the game's own card back there is no game: missing resources, the window closes at
        // once and nothing is recorded.
        std::string text = FatalError(1).message();
        for (std::size_t k; (k = text.find('\n')) != std::string::npos;)
            text.replace(k, 1, "\\n");
        EXPECT_TRUE(d->logged("message-box Wirowanki Cz.I Demo - Błąd | " + text));
        EXPECT_FALSE(window->visible());
        EXPECT_EQ(windowResult, platform::kModalCancel);
        d->key(27);
        EXPECT_TRUE(records().empty());
        EXPECT_FALSE(results->visible());
        return;
    }
    // The message names the missing file.
    const std::string file = GetParam()[0] == 'b' ? "blkcard0.xji" : "Data/Sio/ss";
    bool named = false;
    for (const auto& l : d->log())
        named = named || (l.starts_with("message-box ") && l.find(file) != std::string::npos);
    EXPECT_TRUE(named);
    // Background and buttons are on screen; no card is.
    platform::Bitmap windowBackground;
    loadJpeg(windowBackground, "Data\\Intf\\Spec\\mT_Mem_s.xji");
    EXPECT_EQ(d->pixel(170 + 35, 175 + 47), windowBackground.pixel(170 + 35, 175 + 47));
    EXPECT_NE(d->pixel(720 + 35, 460 + 30), windowBackground.pixel(720 + 35, 460 + 30));
    d->click(170 + 35, 175 + 47);
    clickHelp();
    d->wheel(1);
    d->key('x');
    EXPECT_EQ(wvtest::context().statistics->hints(), "0");
    clickStop();
    EXPECT_TRUE(results->visible());
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].result, 0);
    EXPECT_EQ(records()[0].correct, 0);
    EXPECT_EQ(records()[0].hints, 0);
    // "Again" tries a new board, fails the same way, and the window still works.
    clickResultsStart();
    EXPECT_EQ(window->game(), nullptr);
    EXPECT_EQ(messageCount(d->log()), 2);
    d->key(27);
    clickResultsStop();
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(records().size(), 2u);
    EXPECT_TRUE(d->error().empty()) << d->error();
}

INSTANTIATE_TEST_SUITE_P(CardFiles, MissingCards, ::testing::Values("blkcard0.xji", "ss*.xji"),
                         [](const auto& info) {
                             return std::string(info.param[0] == 'b' ? "BezRewersu" : "BezMiniatur");
                         });

// A word's own voice is what the pair says; once the word is back on the program's voice, that one speaks.
TEST_F(MemoryGameTest, AFoundPairSaysTheWordsOwnVoiceWhileItHasOne) {
    run({.level = 2});
    const auto found = pairs();
    ASSERT_GE(found.size(), 2u);
    const std::string first = card(found[0].first).word(), second = card(found[1].first).word();
    // A 300 ms tone in the recording format stands for the adult's recording.
    std::vector<std::uint8_t> samples(std::size_t(platform::wav::recordingFramesFor(300)) * 2);
    for (std::size_t i = 0; i + 1 < samples.size(); i += 2)
        samples[i + 1] = (i / 2) % 50 < 25 ? 0x20 : 0xE0;
    const auto wav = platform::wav::build(platform::wav::kRecordingFormat, samples);
    for (const std::string& word : {first, second})
        ASSERT_EQ(keepOwnVoice(word, wav), "");
    ASSERT_EQ(removeOwnVoice(second), "");
    EXPECT_FALSE(hasOwnVoice(second));

    clickCard(found[0].first);
    const std::int64_t before = d->now();
    clickCard(found[0].second);
    EXPECT_TRUE(d->logged("sound " + ownVoicePath(first)));
    EXPECT_EQ(d->now() - before, 300);
    d->wait(2000);
    clickCard(found[1].first);
    clickCard(found[1].second);
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + second + ".pw"));
    EXPECT_FALSE(d->logged("sound " + ownVoicePath(second)));
}
