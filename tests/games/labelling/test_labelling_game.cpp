// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The labelling game played by drags on the headless backend with the shipped data set.
#include "labelling_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include <cmath>
#include <set>

using namespace labellingtest;

namespace {

bool looksLike(const platform::Bitmap& a, const std::string& name) {
    platform::Bitmap b;
    openBmp(name, b);
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

} // namespace

TEST_F(LabellingGameTest, SzachyHasFourTilesWithTheRedDigraphAndFourFieldsInModeTwo) {
    run();
    goToWord("szachy");
    EXPECT_EQ(game().correctAnswer(), "szachy");
    EXPECT_EQ(game().side(), 44);
    ASSERT_EQ(game().tileCount(), 4);
    std::multiset<std::string> texts;
    for (int i = 0; i < 4; ++i)
        texts.insert(game().tile(i).text());
    EXPECT_EQ(texts, (std::multiset<std::string>{"sz", "a", "ch", "y"}));
    EXPECT_TRUE(looksLike(tileByText("sz")->picture(), "sz_red_s"));
    EXPECT_TRUE(looksLike(tileByText("a")->picture(), "a_s"));
    EXPECT_TRUE(looksLike(tileByText("ch")->picture(), "ch_s"));
    const int xs[] = {280, 339, 398, 457};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(game().hitArea(i).x(), xs[i]) << i;
        EXPECT_EQ(game().hitArea(i).y(), 450) << i;
        EXPECT_TRUE(game().hitArea(i).isEmpty());
        // Empty fields: a red 5 px frame, the cell inside untouched.
        const platform::Point p = screen(xs[i], 450);
        for (int k = 1; k <= 5; ++k) {
            EXPECT_EQ(d->pixel(p.x - k, p.y + 20), platform::kRed) << i << " " << k;
            EXPECT_EQ(d->pixel(p.x + 44 + k - 1, p.y + 20), platform::kRed) << i << " " << k;
        }
        EXPECT_NE(d->pixel(p.x - 6, p.y + 20), platform::kRed);
    }
    // The picture with its mask at (274, 140).
    EXPECT_EQ(game().mask().size(),
              wvtest::context().catalogue->chosenWords()[std::size_t(game().wordIndex())].picture->size());
}

TEST_F(LabellingGameTest, FiveFieldsInModeFourAreCentredWithThePitchOfBigTiles) {
    run({.screen = {1024, 768}});
    goToWord("szelki");
    EXPECT_EQ(game().side(), 55);
    ASSERT_EQ(game().tileCount(), 5);
    const int xs[] = {362, 432, 502, 572, 642};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(game().hitArea(i).x(), xs[i]);
        EXPECT_EQ(game().hitArea(i).y(), 576);
    }
    EXPECT_TRUE(looksLike(tileByText("sz")->picture(), "sz_red_b"));
    EXPECT_TRUE(looksLike(tileByText("e")->picture(), "e_b"));
    EXPECT_EQ(LabellingGame::fieldPlace(0, 3, 800, 600, 44).x, 400 - 60 - 30);
}

TEST_F(LabellingGameTest, ScatteredTilesKeepTheirDistanceAndStayInTheStrips) {
    run();
    for (int turn = 0; turn < 5; ++turn) {
        goToWord("szuflada"); // seven tiles, the most of these words
        ASSERT_EQ(game().tileCount(), 7);
        for (int i = 0; i < 7; ++i) {
            const LetterTile& a = game().tile(i);
            EXPECT_GE(a.y(), 10);
            EXPECT_LT(a.y(), 10 + 600 - 75);
            if (a.y() < 600 - 120) {
                EXPECT_LT(a.x(), 10 + 160) << a.text();
            }
            EXPECT_EQ(a.hitArea()->bounds(), a.area());
            EXPECT_TRUE(a.hitArea()->visible());
            for (int j = 0; j < i; ++j) {
                const LetterTile& b = game().tile(j);
                EXPECT_TRUE(std::abs(a.x() - b.x()) >= 65 || std::abs(a.y() - b.y()) >= 65) << i << " " << j;
            }
        }
        clickNext();
        clickPrevious();
    }
}

TEST_F(LabellingGameTest, ADropWithinTwentyFivePixelsSnapsAndOneMoreDoesNot) {
    run();
    goToWord("szopa");
    const LetterTile* o = tileByText("o");
    const LetterField& p1 = game().hitArea(1);
    drag(o, p1.x() + 26, p1.y() - 26);
    EXPECT_EQ(o->x(), p1.x() + 26);
    EXPECT_EQ(o->y(), p1.y() - 26);
    EXPECT_EQ(o->hitArea()->bounds(), o->area());
    EXPECT_TRUE(p1.isEmpty());
    drag(o, p1.x() - 25, p1.y() + 25);
    EXPECT_EQ(o->x(), p1.x());
    EXPECT_EQ(o->y(), p1.y());
    EXPECT_EQ(p1.tile(), o);
    EXPECT_EQ(p1.text(), "o");
    EXPECT_EQ(o->hitArea()->bounds(), o->area());
    // The field's frame turned yellow, the tile is drawn in it.
    const platform::Point e = screen(p1.x(), p1.y());
    EXPECT_EQ(d->pixel(e.x - 3, e.y + 10), platform::kYellow);
    EXPECT_EQ(d->pixel(e.x + 20, e.y + 20), o->picture().pixel(20, 20));
    EXPECT_EQ(wvtest::context().statistics->wrong(), "0");
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
}

TEST_F(LabellingGameTest, ADropByAnOccupiedFieldLandsSixtyPixelsAboveIt) {
    run();
    goToWord("szopa");
    const LetterTile* o = tileByText("o");
    const LetterTile* p = tileByText("p");
    dragToField(o, 0);
    ASSERT_EQ(game().hitArea(0).tile(), o);
    drag(p, game().hitArea(0).x() + 10, game().hitArea(0).y() - 5);
    EXPECT_EQ(p->x(), game().hitArea(0).x());
    EXPECT_EQ(p->y(), game().hitArea(0).y() - 60);
    EXPECT_EQ(fieldOf(p), -1);
    EXPECT_EQ(game().hitArea(0).tile(), o);
    EXPECT_EQ(p->hitArea()->bounds(), p->area());
}

TEST_F(LabellingGameTest, PickingATileOutOfAFieldEmptiesIt) {
    run();
    goToWord("szopa");
    const LetterTile* a = tileByText("a");
    dragToField(a, 2);
    const platform::Point e = screen(game().hitArea(2).x(), game().hitArea(2).y());
    ASSERT_EQ(d->pixel(e.x - 5, e.y - 5), platform::kYellow);
    drag(a, 300, 100);
    EXPECT_TRUE(game().hitArea(2).isEmpty());
    EXPECT_EQ(game().hitArea(2).text(), "");
    EXPECT_EQ(d->pixel(e.x - 5, e.y - 5), platform::kRed);
    // Nothing of the tile is left behind in the field.
    EXPECT_NE(d->pixel(e.x + 20, e.y + 20), a->picture().pixel(20, 20));
    EXPECT_EQ(a->x(), 300);
    EXPECT_EQ(a->y(), 100);
}

TEST_F(LabellingGameTest, ADoubleClickOnATileInAFieldEmptiesTheField) {
    run();
    goToWord("szopa");
    const LetterTile* o = tileByText("o");
    dragToField(o, 1);
    ASSERT_EQ(game().hitArea(1).tile(), o);
    const platform::Point c = screen(o->x() + 20, o->y() + 20);
    d->dblClick(c.x, c.y);
    EXPECT_TRUE(game().hitArea(1).isEmpty());
    EXPECT_EQ(o->x(), game().hitArea(1).x());
    const platform::Point e = screen(game().hitArea(1).x(), game().hitArea(1).y());
    EXPECT_EQ(d->pixel(e.x - 2, e.y - 2), platform::kRed);
}

TEST_F(LabellingGameTest, AWrongFullCaptionCountsOneWrongAndPlaysEncouragement) {
    run();
    goToWord("szopa");
    const LetterTile* sz = tileByText("sz");
    const LetterTile* o = tileByText("o");
    const LetterTile* p = tileByText("p");
    const LetterTile* a = tileByText("a");
    dragToField(sz, 0);
    dragToField(p, 1);
    dragToField(o, 2);
    EXPECT_EQ(wvtest::context().statistics->wrong(), "0");
    const auto before = sounds().size();
    dragToField(a, 3);
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
    const auto po = sounds();
    ASSERT_EQ(po.size(), before + 1);
    const std::string s = po.back();
    EXPECT_TRUE(s.rfind("Data\\Intf\\Smd\\b0", 0) == 0 && s[16] >= '0' && s[16] <= '4') << s;
    EXPECT_FALSE(game().solved());
    // Play goes on: the tiles can be taken out and set right.
    dragToField(o, 1);
    EXPECT_EQ(fieldOf(o), -1); // field 1 holds "p": the tile lands above it
    drag(p, 200, 100);
    dragToField(o, 1);
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    dragToField(p, 2);
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    EXPECT_TRUE(game().solved());
}

TEST_F(LabellingGameTest, ARightCaptionPraisesSpeaksAndFreezesTheWord) {
    run();
    goToWord("szachy");
    EXPECT_TRUE(window->helpButton()->control().visible());
    const auto before = sounds().size();
    solve();
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "0");
    const auto po = sounds();
    ASSERT_EQ(po.size(), before + 2);
    const std::string g = po[before];
    EXPECT_TRUE(g.rfind("Data\\Intf\\Smd\\g0", 0) == 0 && g[16] >= '0' && g[16] <= '7') << g;
    EXPECT_EQ(po[before + 1], "Data\\Smd\\szachy.pw");
    EXPECT_TRUE(game().solved());
    EXPECT_FALSE(window->helpButton()->control().visible());
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(game().tile(i).hitArea()->visible());
        EXPECT_FALSE(game().hitArea(i).isEmpty());
    }
    // Frozen: a drag over a tile moves nothing.
    const LetterTile* y = &game().tile(0);
    const int x0 = y->x(), y0 = y->y();
    drag(y, 100, 100);
    EXPECT_EQ(y->x(), x0);
    EXPECT_EQ(y->y(), y0);
    EXPECT_FALSE(game().endTimer().enabled()); // other words are open
}

TEST_F(LabellingGameTest, NextAndPreviousAreHiddenOnTheLastAndFirstWord) {
    run();
    const auto next = [&] { return window->nextButton()->control().visible(); };
    const auto pop = [&] { return window->previousButton()->control().visible(); };
    EXPECT_EQ(game().wordIndex(), 0);
    EXPECT_FALSE(pop());
    EXPECT_TRUE(next());
    for (int k = 1; k <= 4; ++k) {
        clickNext();
        EXPECT_EQ(game().wordIndex(), k);
        EXPECT_TRUE(pop());
        EXPECT_EQ(next(), k < 4);
    }
    EXPECT_TRUE(game().isLast());
    EXPECT_FALSE(game().next());
    EXPECT_EQ(game().wordIndex(), 4);
    clickPrevious();
    EXPECT_EQ(game().wordIndex(), 3);
    EXPECT_TRUE(next());
}

TEST_F(LabellingGameTest, ASolvedWordShowsItsCaptionAndADoubleClickOnThePictureReopensIt) {
    run();
    goToWord("szopa");
    solve();
    ASSERT_TRUE(game().solved());
    if (game().isLast()) {
        clickPrevious();
        clickNext();
    } else {
        clickNext();
        clickPrevious();
    }
    ASSERT_EQ(game().word(), "szopa");
    EXPECT_FALSE(window->helpButton()->control().visible());
    const auto g = voices();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(game().hitArea(i).text(), g[std::size_t(i)]);
        EXPECT_FALSE(game().tile(i).hitArea()->visible());
        EXPECT_EQ(game().tile(i).x(), game().hitArea(i).x());
    }
    // Outside the picture nothing happens; on it the word opens again.
    const platform::Point outsidePoint = screen(274, 140);
    d->dblClick(outsidePoint.x, outsidePoint.y);
    EXPECT_TRUE(game().solved());
    const platform::Point w = screen(274 + 100, 140 + 100);
    d->dblClick(w.x, w.y);
    EXPECT_FALSE(game().solved());
    EXPECT_TRUE(window->helpButton()->control().visible());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(game().hitArea(i).isEmpty());
        EXPECT_TRUE(game().tile(i).hitArea()->visible());
    }
}

TEST_F(LabellingGameTest, HelpSpeaksTheWordCountsAHintAndScattersAgain) {
    run();
    goToWord("szopa");
    dragToField(tileByText("o"), 0);
    const auto before = sounds().size();
    clickHelp();
    EXPECT_EQ(wvtest::context().statistics->hints(), "1");
    const auto po = sounds();
    ASSERT_EQ(po.size(), before + 1);
    EXPECT_EQ(po.back(), "Data\\Smd\\szopa.pw");
    EXPECT_FALSE(game().solved());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(game().hitArea(i).isEmpty());
        EXPECT_TRUE(game().tile(i).hitArea()->visible());
        EXPECT_TRUE(game().tile(i).y() < 450 - 60 || game().tile(i).x() < 280 - 44 ||
                    game().tile(i).y() >= 480)
            << i; // not left in the caption
    }
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
}

TEST_F(LabellingGameTest, SolvingEveryWordEndsTheGameSixtySecondsLaterWithAWin) {
    run();
    for (int k = 0; k < 5; ++k) {
        solve();
        ASSERT_TRUE(game().solved()) << game().word();
        if (k < 4) clickNext();
    }
    EXPECT_TRUE(game().allFound());
    EXPECT_TRUE(game().endTimer().enabled());
    EXPECT_EQ(wvtest::context().statistics->correct(), "5");
    d->wait(59900);
    EXPECT_FALSE(results->visible());
    EXPECT_TRUE(records().empty());
    d->wait(200);
    ASSERT_TRUE(results->visible());
    const auto r = records();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].gameId, 1);
    EXPECT_EQ(r[0].result, 1);
    EXPECT_EQ(r[0].correct, 5);
    EXPECT_EQ(r[0].wrong, 0);
    EXPECT_EQ(r[0].level, 1);
    EXPECT_EQ(r[0].sounds, kSoundSz);
    // "Again" draws a new game of open words.
    d->click(results->left() + 235 + 20, results->top() + 340 + 20);
    EXPECT_FALSE(results->visible());
    ASSERT_NE(window->game(), nullptr);
    EXPECT_FALSE(game().allFound());
    EXPECT_EQ(game().wordIndex(), 0);
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
}

TEST_F(LabellingGameTest, NavigationAfterTheLastWordStopsTheEndTimer) {
    run();
    for (int k = 0; k < 5; ++k) {
        solve();
        if (k < 4) clickNext();
    }
    ASSERT_TRUE(game().endTimer().enabled());
    clickPrevious();
    EXPECT_FALSE(game().endTimer().enabled());
    d->wait(61000);
    EXPECT_FALSE(results->visible());
}

TEST_F(LabellingGameTest, EscapeMidGameSavesAnUnfinishedRecordAndStopReturns) {
    run();
    solve();
    d->key(27);
    ASSERT_TRUE(results->visible());
    auto r = records();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].gameId, 1);
    EXPECT_EQ(r[0].result, 0);
    EXPECT_EQ(r[0].correct, 1);
    d->click(results->left() + 325 + 20, results->top() + 340 + 20);
    EXPECT_FALSE(results->visible());
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(windowResult, platform::kModalCancel);
}

TEST_F(LabellingGameTest, ScreensOfPlayAndOfASolvedWordInBothModes) {
    for (platform::Size s : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        run({.screen = s});
        goToWord("szachy");
        const LetterTile* sz = tileByText("sz");
        dragToField(sz, 0);
        drag(tileByText("y"), game().hitArea(3).x() + 40, game().hitArea(3).y() - 120);
        const std::string tag = std::to_string(s.width);
        screenshot("wv-labelling-play-" + tag + ".png");
        // The tile at its field, the other one where it was dropped.
        platform::Point e = screen(game().hitArea(0).x(), game().hitArea(0).y());
        EXPECT_EQ(d->pixel(e.x + 5, e.y + 5), sz->picture().pixel(5, 5));
        solve();
        ASSERT_TRUE(game().solved());
        screenshot("wv-labelling-solved-" + tag + ".png");
        for (int i = 0; i < 4; ++i) {
            e = screen(game().hitArea(i).x(), game().hitArea(i).y());
            EXPECT_EQ(d->pixel(e.x - 1, e.y - 1), platform::kYellow);
            const LetterTile* l = game().hitArea(i).tile();
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(d->pixel(e.x + 20, e.y + 20), l->picture().pixel(20, 20));
        }
        d.reset();
    }
}

TEST_F(LabellingGameTest, ADroppedTileStaysWhollyInThePlayAreaAndOffTheButtons) {
    for (platform::Size s : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        run({.screen = s});
        goToWord("szopa");
        const LetterTile* o = tileByText("o");
        const int w = o->picture().width(), h = o->picture().height();
        const int column = W() - W() / 10;
        // Past each edge and corner, and onto each button's designed place.
        const std::vector<platform::Point> targets = {
            {840, 640},
            {W() + 50, H() + 50},
            {-300, -200},
            {W() - 10, 100},
            {200, H() - 5},
            {column + 20, H() / 7 + 20},
            {column + 4, H() / 7 + H() / 8},
            {column + 30, H() / 7 + 3 * H() / 8 + 10},
        };
        for (const platform::Point c : targets) {
            drag(o, c.x, c.y);
            const platform::Rect r = o->area();
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= W() && r.bottom <= H())
                << s.width << ": " << c.x << "," << c.y << " -> " << r.left << "," << r.top;
            for (const platform::Rect& b : window->buttonAreas())
                EXPECT_TRUE(r.intersect(b).empty()) << s.width << ": " << c.x << "," << c.y;
            EXPECT_EQ(o->hitArea()->bounds(), r);
            const platform::Point e = screen(r.left + w / 2, r.top + h / 2);
            EXPECT_EQ(d->pixel(e.x, e.y), o->picture().pixel(w / 2, h / 2)) << c.x << "," << c.y;
        }
        // Dropped where "Koniec" stands, the tile does not take that button's clicks.
        drag(o, column + 4, H() / 7 + H() / 8);
        clickStop();
        EXPECT_TRUE(results->visible()) << s.width;
        d.reset();
    }
}

TEST_F(LabellingGameTest, ScatteredTilesNeverLieOnAFieldOrAButton) {
    run();
    goToWord("szuflada");
    for (int turn = 0; turn < 25; ++turn) {
        for (int i = 0; i < game().tileCount(); ++i) {
            const platform::Rect r = game().tile(i).area();
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= W() && r.bottom <= H()) << turn;
            for (int k = 0; k < game().tileCount(); ++k) {
                const LetterField& p = game().hitArea(k);
                const int b = game().side(), m = LabellingGame::kFrame;
                EXPECT_TRUE(r.intersect({p.x() - m, p.y() - m, p.x() + b + m, p.y() + b + m}).empty())
                    << turn << ": tile " << i << " on field " << k;
            }
            for (const platform::Rect& b : window->buttonAreas())
                EXPECT_TRUE(r.intersect(b).empty()) << turn << ": tile " << i;
        }
        clickNext();
        clickPrevious();
    }
}

TEST_F(LabellingGameTest, AWrongCaptionCountsOnceUntilTheCaptionChanges) {
    run();
    goToWord("szopa");
    const LetterTile* sz = tileByText("sz");
    const LetterTile* o = tileByText("o");
    const LetterTile* p = tileByText("p");
    const LetterTile* a = tileByText("a");
    dragToField(sz, 0);
    dragToField(p, 1);
    dragToField(o, 2);
    dragToField(a, 3);
    ASSERT_EQ(wvtest::context().statistics->wrong(), "1");
    const int encouragements = soundCount("Data\\Intf\\Smd\\b0");
    // Clicks on the caption's tiles lift and drop them back in place: the same caption, no new answer.
    for (const LetterTile* l : {sz, p, o, a, p}) {
        const platform::Point c = screen(l->x() + 20, l->y() + 20);
        d->click(c.x, c.y);
        ASSERT_GE(fieldOf(l), 0);
    }
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_EQ(soundCount("Data\\Intf\\Smd\\b0"), encouragements);
    // Another wrong caption is another wrong answer.
    drag(a, 200, 100);
    dragToField(p, 3);
    dragToField(a, 1);
    EXPECT_EQ(game().hitArea(1).text() + game().hitArea(3).text(), "ap");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "2");
    EXPECT_EQ(soundCount("Data\\Intf\\Smd\\b0"), encouragements + 1);
}
