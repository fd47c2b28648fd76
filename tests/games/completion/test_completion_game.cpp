// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The word-completion game played by clicks on the headless backend with the shipped data set.
#include "completion_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "platform/audio/Sound.hpp"

#include <set>

using namespace completiontest;

TEST_F(CompletionGameTest, SankiOffersSzAndSAndFillsTheGapOnlyWithTheRightOne) {
    run();
    ASSERT_TRUE(goToWord("sanki"));
    EXPECT_EQ(game().correctAnswer(), "s");
    ASSERT_EQ(game().gap(), 0);
    EXPECT_EQ(game().blocks()[0]->text, "question");
    ASSERT_NE(choice("sz"), nullptr);
    ASSERT_NE(choice("s"), nullptr);
    EXPECT_EQ(game().choice(0)->text, "sz");
    EXPECT_EQ(game().choice(1)->text, "s");
    EXPECT_TRUE(gapShows("question_s"));
    EXPECT_TRUE(shows(choice("sz")->x, choice("sz")->y, "sz_s"));
    EXPECT_TRUE(shows(choice("s")->x, choice("s")->y, "s_s"));
    EXPECT_EQ(choice("s")->hitArea->bounds().width(), choice("s")->picture.width());

    // Wrong: the sz picture stands in the gap for a moment, then the question mark is back.
    trackGap({"question_s", "sz_s", "s_red_s"});
    const std::int64_t before = d->now();
    clickChoice("sz");
    if (!seen.empty() && seen.front() == "question_s") seen.erase(seen.begin());
    EXPECT_EQ(seen, (std::vector<std::string>{"sz_s", "question_s"}));
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
    EXPECT_GE(d->now() - before, 400);
    EXPECT_TRUE(gapShows("question_s"));
    EXPECT_TRUE(choice("sz")->hitArea->visible());
    EXPECT_FALSE(game().solved());

    // Right: red s, choices gone, word spoken, one correct.
    seen.clear();
    clickChoice("s");
    EXPECT_EQ(seen, (std::vector<std::string>{"s_red_s"}));
    EXPECT_TRUE(gapShows("s_red_s"));
    EXPECT_TRUE(d->logged("sound Data\\Smd\\sanki.pw"));
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_TRUE(game().solved());
    EXPECT_FALSE(choice("s")->hitArea->visible());
    EXPECT_FALSE(choice("sz")->hitArea->visible());
    // The choices' places show the background again.
    platform::Bitmap background;
    loadJpeg(background, "Data\\Intf\\Spec\\mT_Uzu_s.xji");
    for (const SoundBlock* w : {choice("s"), choice("sz")})
        EXPECT_EQ(d->pixel(w->x + 20, w->y + 20), background.pixel(w->x + 20, w->y + 20));
    // "pomoc" is hidden and its place cleared.
    EXPECT_EQ(d->pixel(W() - W() / 10 + 35, H() / 7 + 30),
              background.pixel(W() - W() / 10 + 35, H() / 7 + 30));
    // A click where a choice was counts nothing.
    clickChoice("sz");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    screenshot("uzu_800_solved.png");
}

TEST_F(CompletionGameTest, RowAndSlotsInTheSmallMode) {
    run();
    ASSERT_TRUE(goToWord("sanki"));
    const auto& k = game().blocks();
    ASSERT_EQ(k.size(), 5u);
    const int xs[] = {278, 327, 376, 425, 474};
    const char* names[] = {"question_s", "a_s", "n_s", "k_s", "i_s"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(k[i]->x, xs[i]) << i;
        EXPECT_EQ(k[i]->y, 60) << i;
        EXPECT_TRUE(shows(xs[i], 60, names[i])) << names[i];
    }
    const std::set<std::pair<int, int>> places{{choice("sz")->x, choice("sz")->y},
                                               {choice("s")->x, choice("s")->y}};
    EXPECT_EQ(places, (std::set<std::pair<int, int>>{{600, 300}, {160, 300}}));
    EXPECT_EQ(choice("s")->hitArea->left(), choice("s")->x);
    EXPECT_EQ(choice("s")->hitArea->top(), choice("s")->y);
    // The picture with its mask at (266, 310).
    platform::Bitmap background, mask, picture;
    loadJpeg(background, "Data\\Intf\\Spec\\mT_Uzu_s.xji");
    loadJpeg(mask, "Data\\Bio\\_matr_ups.xji");
    loadJpeg(picture, "Data\\Bio\\sanki_ups.xji");
    for (platform::Point o : {platform::Point{mask.width() / 2, mask.height() / 2}, platform::Point{2, 2}})
        EXPECT_EQ(d->pixel(266 + o.x, 310 + o.y),
                  (background.pixel(266 + o.x, 310 + o.y) | mask.pixel(o.x, o.y)) & picture.pixel(o.x, o.y));
    screenshot("uzu_800_open.png");
}

TEST_F(CompletionGameTest, RowAndSlotsInTheLargeMode) {
    run({.screen = {1024, 768}});
    std::string fourTileWord;
    for (const char* s : {"szopa", "szachy"})
        if (goToWord(s)) {
            fourTileWord = s;
            break;
        }
    ASSERT_FALSE(fourTileWord.empty());
    const auto& k = game().blocks();
    ASSERT_EQ(k.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(k[i]->x, 392 + 60 * int(i)) << i;
        EXPECT_EQ(k[i]->y, 76) << i;
    }
    EXPECT_TRUE(gapShows("question_b"));
    const std::set<std::pair<int, int>> places{{choice("sz")->x, choice("sz")->y},
                                               {choice("s")->x, choice("s")->y}};
    EXPECT_EQ(places, (std::set<std::pair<int, int>>{{768, 384}, {216, 384}}));
    EXPECT_EQ(game().picturePosition(), (platform::Point{338, 388}));
    screenshot("uzu_1024_open.png");
    solve();
    EXPECT_TRUE(gapShows("sz_red_b"));
    screenshot("uzu_1024_solved.png");
}

TEST_F(CompletionGameTest, ChoiceSlotsFollowTheDraw) {
    // Both orders occur over the words of a game, and each pair keeps its first unit in choice1.
    run();
    std::set<int> firstX;
    do {
        ASSERT_NE(game().choice(0), nullptr);
        EXPECT_EQ(game().choice(0)->text, "sz");
        firstX.insert(game().choice(0)->x);
        if (game().isLast()) break;
        clickNext();
    } while (true);
    EXPECT_EQ(firstX, (std::set<int>{160, 600}));
}

TEST_F(CompletionGameTest, NavigationButtonsAndTheFirstWordMessage) {
    run();
    EXPECT_EQ(game().number(), 0);
    // "pop" is hidden on the first word: its click reaches nothing, the action itself says so.
    clickPrevious();
    EXPECT_FALSE(d->logged("message-box Info | Pierwsze słowo"));
    execute(window->A_Previous);
    EXPECT_TRUE(d->logged("message-box Info | Pierwsze słowo"));
    EXPECT_EQ(game().number(), 0);
    clickNext();
    EXPECT_EQ(game().number(), 1);
    clickPrevious();
    EXPECT_EQ(game().number(), 0);
    while (!game().isLast())
        clickNext();
    EXPECT_EQ(game().number(), 9);
    EXPECT_FALSE(results->visible());
    clickNext(); // hidden on the last word
    EXPECT_FALSE(results->visible());
    execute(window->A_Next); // "next" on the last word ends the game
    EXPECT_TRUE(results->visible());
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].gameId, 3);
    EXPECT_EQ(records()[0].result, 0);
}

TEST_F(CompletionGameTest, HelpCountsAHintSaysTheWordAndIsHiddenOnASolvedWord) {
    run();
    const std::string word = game().word();
    const std::int64_t before = d->now();
    clickHelp();
    EXPECT_EQ(wvtest::context().statistics->hints(), "1");
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + word + ".pw"));
    EXPECT_EQ(d->now() - before, platform::sound::wavLengthMs("Data\\Smd\\" + word + ".pw"));
    clickHelp();
    EXPECT_EQ(wvtest::context().statistics->hints(), "2");
    solve();
    clickHelp(); // hidden now
    EXPECT_EQ(wvtest::context().statistics->hints(), "2");
    // Back on the word after moving away: still solved, red, no choices, no help.
    clickNext();
    clickPrevious();
    EXPECT_TRUE(game().solved());
    EXPECT_TRUE(gapShows(tileCode(game().correctAnswer()) + "_red_s"));
    EXPECT_FALSE(game().choice(0)->hitArea->visible());
    clickChoice(game().correctAnswer());
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    clickHelp();
    EXPECT_EQ(wvtest::context().statistics->hints(), "2");
}

TEST_F(CompletionGameTest, ADoubleClickOnASolvedWordsPictureReopensIt) {
    run();
    solve();
    ASSERT_TRUE(game().solved());
    const platform::Bitmap& m = game().mask();
    ASSERT_FALSE(m.empty());
    d->dblClick(266 - 5, 310 + 5); // beside the picture: nothing
    EXPECT_TRUE(game().solved());
    d->dblClick(266 + m.width() / 2, 310 + m.height() / 2);
    EXPECT_FALSE(game().solved());
    EXPECT_TRUE(gapShows("question_s"));
    EXPECT_TRUE(game().choice(0)->hitArea->visible());
    EXPECT_TRUE(game().choice(1)->hitArea->visible());
    EXPECT_TRUE(shows(game().choice(0)->x, game().choice(0)->y, tileCode(game().choice(0)->text) + "_s"));
    // Help is back too.
    clickHelp();
    EXPECT_EQ(wvtest::context().statistics->hints(), "1");
    solve();
    EXPECT_EQ(wvtest::context().statistics->correct(), "2");
}

TEST_F(CompletionGameTest, SolvingEveryWordEndsTheGame60sLaterWithResultOne) {
    run({.level = kQuantityMalo});
    ASSERT_EQ(game().wordCount(), 5);
    while (true) {
        solve();
        if (game().isLast()) break;
        EXPECT_FALSE(game().timerEnabled());
        clickNext();
    }
    EXPECT_TRUE(game().allFound());
    EXPECT_TRUE(game().timerEnabled());
    d->wait(59990);
    EXPECT_FALSE(results->visible());
    d->wait(20);
    EXPECT_TRUE(results->visible());
    ASSERT_EQ(records().size(), 1u);
    const ParsedRecord r = records()[0];
    EXPECT_EQ(r.gameId, 3);
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.correct, 5);
    EXPECT_EQ(r.wrong, 0);
    EXPECT_EQ(r.level, kQuantityMalo);
    EXPECT_EQ(r.sounds, kSoundSz);
    // "stop" goes back.
    clickResultsStop();
    EXPECT_FALSE(window->visible());
}

TEST_F(CompletionGameTest, NavigationStopsTheEndTimer) {
    run({.level = kQuantityMalo});
    while (!game().isLast())
        clickNext();
    for (int i = 0; i < 5; ++i) {
        solve();
        if (i < 4) clickPrevious();
    }
    ASSERT_TRUE(game().allFound());
    ASSERT_TRUE(game().timerEnabled());
    clickNext();
    EXPECT_FALSE(game().timerEnabled());
    d->wait(61000);
    EXPECT_FALSE(results->visible());
}

TEST_F(CompletionGameTest, EscEndsMidGameWithResultZeroAndAgainDrawsANewGame) {
    run();
    solve();
    clickNext();
    d->key(27);
    EXPECT_TRUE(results->visible());
    ASSERT_EQ(records().size(), 1u);
    EXPECT_EQ(records()[0].result, 0);
    EXPECT_EQ(records()[0].correct, 1);
    clickResultsStart();
    EXPECT_FALSE(results->visible());
    EXPECT_TRUE(window->visible());
    ASSERT_NE(window->game(), nullptr);
    EXPECT_EQ(game().number(), 0);
    EXPECT_FALSE(game().solved());
    EXPECT_FALSE(game().allFound());
    EXPECT_TRUE(gapShows("question_s"));
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
    clickStop();
    EXPECT_TRUE(results->visible());
    EXPECT_EQ(records().size(), 2u);
    clickResultsStop();
    EXPECT_FALSE(window->visible());
}

namespace {

// A program directory like the shipped one, with some files left out.
void programWithout(const std::filesystem::path& target, const std::vector<std::string>& skipped) {
    namespace fs = std::filesystem;
    const fs::path source = WV_SOURCE_DIR;
    fs::create_directories(target / "Data");
    fs::create_directory_symlink(source / "Resource", target / "Resource");
    for (const auto& e : fs::recursive_directory_iterator(source / "Data")) {
        const fs::path relative = fs::relative(e.path(), source);
        if (e.is_directory()) {
            fs::create_directories(target / relative);
            continue;
        }
        bool skip = false;
        for (const std::string& p : skipped)
            skip = skip || relative.generic_string() == p;
        if (!skip) fs::create_symlink(e.path(), target / relative);
    }
}

} // namespace

TEST_F(CompletionGameTest, MissingMaskAndWordSoundKeepTheGamePlayable) {
    const std::filesystem::path prog = catalogue.base() / "prog";
    programWithout(prog, {"Data/Bio/_matr_ups.xji", "Data/Smd/sanki.pw"});
    platform::fs::setRoots(prog.string(), catalogue.userDir().string());
    run();
    ASSERT_TRUE(game().mask().empty());
    ASSERT_TRUE(goToWord("sanki"));
    // The picture is ANDed onto the background alone.
    platform::Bitmap background, picture;
    loadJpeg(background, "Data\\Intf\\Spec\\mT_Uzu_s.xji");
    loadJpeg(picture, "Data\\Bio\\sanki_ups.xji");
    for (platform::Point o :
         {platform::Point{picture.width() / 2, picture.height() / 2}, platform::Point{2, 2}})
        EXPECT_EQ(d->pixel(266 + o.x, 310 + o.y),
                  background.pixel(266 + o.x, 310 + o.y) & picture.pixel(o.x, o.y));
    // Help without a word sound: 1500 ms of silence.
    const std::int64_t before = d->now();
    clickHelp();
    EXPECT_EQ(d->now() - before, 1500);
    EXPECT_EQ(wvtest::context().statistics->hints(), "1");
    clickChoice("s");
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    EXPECT_FALSE(d->logged("sound Data\\Smd\\sanki.pw"));
    EXPECT_TRUE(gapShows("s_red_s"));
    // No mask, no picture area: a double click never reopens.
    d->dblClick(266 + picture.width() / 2, 310 + picture.height() / 2);
    EXPECT_TRUE(game().solved());
}

TEST_F(CompletionGameTest, ADoubleClickOnAWrongChoiceIsOneWrongAnswerAndOneTryAgain) {
    run();
    ASSERT_TRUE(goToWord("sanki"));
    auto encouragements = [&] {
        return std::count_if(d->log().begin(), d->log().end(), [](const std::string& l) {
            return l.rfind("sound Data\\Intf\\Smd\\b0", 0) == 0;
        });
    };
    const auto before = encouragements();
    const platform::Rect r = choice("sz")->hitArea->bounds();
    const int x = window->left() + (r.left + r.right) / 2, y = window->top() + (r.top + r.bottom) / 2;
    d->dblClick(x, y);
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_EQ(encouragements(), before + 1);
    // A later click of its own is another try.
    d->wait(1000);
    d->click(x, y);
    EXPECT_EQ(wvtest::context().statistics->wrong(), "2");
    EXPECT_EQ(encouragements(), before + 2);
    EXPECT_FALSE(game().solved());
}
