// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The falling-pictures game played through its window with the shipped words.
#include "falling_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/FatalError.hpp"
#include "platform/backends/HeadlessBackend.hpp"
#include "platform/core/Random.hpp"
#include "platform/windows/Cursor.hpp"
#include "widgets/RingOverlay.hpp"

using namespace fallingtest;

TEST_F(FallingGameTest, HitMovesThePictureIntoPlaceZeroAndCountsOneCorrect) {
    run();
    ASSERT_EQ(game().targetCount(), 5);
    ASSERT_EQ(game().pictureCount(), 10);
    const int i = visiblePicture(true);
    ASSERT_GE(i, 0);
    const std::string word = game().pictureAt(i).word;
    clickPicture(i);
    EXPECT_EQ(game().found(), 1);
    EXPECT_EQ(game().hitArea(0).word, word);
    EXPECT_FALSE(game().pictureAt(i).active);
    EXPECT_FALSE(game().pictureAt(i).hitArea.visible());
    EXPECT_EQ(wvtest::context().statistics->correct(), "1");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "0");
    EXPECT_TRUE(placeShows(0, game().pictureAt(i).picture));
}

TEST_F(FallingGameTest, MissWithNoPlaceFilledFlashesPlaceZeroRedFor300Ms) {
    run();
    platform::Bitmap red, questionMark;
    loadJpeg(red, "Data\\Sio\\allred.xji");
    loadJpeg(questionMark, "Data\\Sio\\squest.xji");
    EXPECT_TRUE(placeShows(0, questionMark));
    const int i = visiblePicture(false);
    ASSERT_GE(i, 0);
    clickPicture(i);
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_EQ(wvtest::context().statistics->correct(), "0");
    EXPECT_EQ(game().found(), 0);
    EXPECT_TRUE(game().pictureAt(i).active); // a distractor keeps falling
    EXPECT_TRUE(placeShows(0, red));
    EXPECT_TRUE(placeShows(1, questionMark));
    d->wait(250);
    EXPECT_TRUE(placeShows(0, red));
    d->wait(100);
    EXPECT_TRUE(placeShows(0, questionMark));
    // No target went back to the top.
    for (int k = 0; k < game().targetCount(); ++k)
        EXPECT_TRUE(game().pictureAt(k).active);
}

TEST_F(FallingGameTest, MissAfterThreeHitsSendsTheLastPlacesPictureFallingAgain) {
    run();
    for (int k = 0; k < 3; ++k)
        hit();
    ASSERT_EQ(game().found(), 3);
    const std::string third = game().hitArea(2).word;
    ASSERT_FALSE(third.empty());
    shootMiss();
    EXPECT_EQ(game().found(), 2);
    EXPECT_EQ(wvtest::context().statistics->correct(), "3");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "1");
    EXPECT_TRUE(game().hitArea(2).word.empty());
    EXPECT_FALSE(game().hitArea(1).word.empty());
    EXPECT_TRUE(placeShows(2, game().hitArea(2).red));
    int returning = -1;
    for (int k = 0; k < game().pictureCount(); ++k)
        if (game().pictureAt(k).word == third) returning = k;
    ASSERT_GE(returning, 0);
    const FallingPicture& o = game().pictureAt(returning);
    EXPECT_TRUE(o.active);
    EXPECT_TRUE(o.hitArea.visible());
    EXPECT_LT(o.y + o.picture.height(), 1); // starts above the window
    EXPECT_EQ(o.hitArea.height(), o.picture.height());
    d->wait(350);
    EXPECT_TRUE(placeShows(2, game().hitArea(2).questionMark));
}

class FallingGameLevelTest : public FallingGameTest, public ::testing::WithParamInterface<int> {};

TEST_P(FallingGameLevelTest, PicturesFallTheLevelsPixelsPerTick) {
    TestSettings u;
    // The shipped words fill the middle level with ten targets; the top level's fifteen are more than
    // they hold, so its speed is checked on a smaller game switched to it.
    u.level = std::min(GetParam(), 2);
    u.sounds = kSoundSz | kSoundS;
    run(u);
    ASSERT_EQ(game().targetCount(), GetParam() >= 2 ? 10 : 5);
    wvtest::context().settings.falling.level = std::int16_t(GetParam());
    d->wait(25);
    for (int tick = 0; tick < 8; ++tick) {
        std::vector<int> before;
        for (int i = 0; i < game().pictureCount(); ++i)
            before.push_back(game().pictureAt(i).y);
        d->wait(25);
        for (int i = 0; i < game().pictureCount(); ++i) {
            const FallingPicture& o = game().pictureAt(i);
            if (before[std::size_t(i)] + o.picture.height() + 3 < game().bottom()) {
                EXPECT_EQ(o.y - before[std::size_t(i)], GetParam()) << "picture " << i << " tick " << tick;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, FallingGameLevelTest, ::testing::Values(1, 2, 3));

TEST_F(FallingGameTest, FifteenPlacesAreCentredOnTheBottomRowInBothModes) {
    for (platform::Size screen : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        TestSettings u;
        u.screen = screen;
        run(u);
        // Fifteen targets: the shipped words over again.
        wvtest::context().catalogue->filter(wvtest::context().settings.falling);
        wvtest::context().catalogue->drawRandom(5);
        wvtest::context().catalogue->loadThumbnails();
        std::vector<Word> choice;
        for (int k = 0; k < 15; ++k)
            choice.push_back(wvtest::context().catalogue->chosenWords()[std::size_t(k % 5)]);
        // Its click areas belong to the window: the game goes before the program ends.
        auto game15 =
            std::make_unique<FallingGame>(*window, window->workCanvas(), window->backgroundCanvas(), choice);
        FallingGame& g = *game15;
        g.layOutFields();
        ASSERT_EQ(g.targetCount(), 15);
        const bool large = screen.width == 1024;
        const int step = large ? 39 : 30;
        EXPECT_EQ(g.hitArea(0).x, W() / 2 - step * 8);
        if (!large) {
            EXPECT_EQ(g.hitArea(0).x, 160);
        }
        for (int k = 0; k < 15; ++k) {
            EXPECT_EQ(g.hitArea(k).x, g.hitArea(0).x + k * step);
            EXPECT_EQ(g.hitArea(k).y, H() - (large ? 50 : 35));
            EXPECT_EQ(g.hitArea(k).width, large ? 32 : 23);
            EXPECT_EQ(g.hitArea(k).height, large ? 42 : 31);
            EXPECT_FALSE(g.hitArea(k).hitArea.visible());
        }
        EXPECT_EQ(g.bottom(), large ? 708 : 552);
        // Drawn on the composition, stretched to the place's size.
        const PictureField& p = g.hitArea(14);
        EXPECT_EQ(window->workPicture().pixel(p.x + p.width / 2, p.y + p.height / 2),
                  p.questionMark.pixel(p.width / 2 * p.questionMark.width() / p.width,
                                       p.height / 2 * p.questionMark.height() / p.height));
        game15.reset();
        d.reset();
    }
}

TEST_F(FallingGameTest, HintFramesTheNearestTargetRedAndCounts) {
    run();
    d->wait(500);
    int expectedValue = -1;
    for (int i = 0; i < game().pictureCount(); ++i) {
        const FallingPicture& o = game().pictureAt(i);
        if (!o.active || !game().target(o) || o.y >= H()) continue;
        if (expectedValue < 0 || std::abs(o.y) < std::abs(game().pictureAt(expectedValue).y))
            expectedValue = i;
    }
    ASSERT_GE(expectedValue, 0);
    clickHelp();
    EXPECT_EQ(wvtest::context().statistics->hints(), "1");
    const FallingPicture& o = game().pictureAt(expectedValue);
    for (int dd = 0; dd < 4; ++dd) {
        EXPECT_EQ(o.picture.pixel(dd, o.picture.height() / 2), platform::kRed);
        EXPECT_EQ(o.picture.pixel(o.picture.width() - 1 - dd, 10), platform::kRed);
    }
    EXPECT_NE(o.picture.pixel(o.picture.width() / 2, o.picture.height() / 2), platform::kRed);
    // Other pictures stay unframed.
    for (int i = 0; i < game().pictureCount(); ++i)
        if (i != expectedValue) {
            EXPECT_NE(game().pictureAt(i).picture.pixel(0, 0), platform::kRed) << i;
        }
    // On screen once it is wholly visible.
    ASSERT_EQ(visiblePicture(true) >= 0, true);
    while (o.y < 0)
        d->wait(25);
    EXPECT_EQ(d->pixel(window->left() + o.x + 1, window->top() + o.y + 5), platform::kRed);
    EXPECT_EQ(d->pixel(window->left() + o.x + 3, window->top() + o.y + 5), platform::kRed);
}

TEST_F(FallingGameTest, AllHitsLeadToTheEndPhaseWithRingAndSpeakingPlaces) {
    run();
    for (int k = 0; k < 5; ++k)
        hit();
    ASSERT_TRUE(game().allFound());
    EXPECT_FALSE(game().finalStage()); // at the next tick
    d->wait(30);
    ASSERT_TRUE(game().finalStage());
    EXPECT_FALSE(window->t_Game.enabled());
    EXPECT_TRUE(game().endTimer.enabled());
    EXPECT_TRUE(window->stopButton().control().visible());
    EXPECT_FALSE(window->helpButton().control().visible());
    EXPECT_EQ(window->vpSearch.caption(), "Wybierz obrazek,");
    EXPECT_EQ(window->vpSearchSound.caption(), "aby go powiększyć.");
    EXPECT_EQ(window->vpSearchSound.left(), window->vpSearch.left());
    for (int i = 0; i < game().pictureCount(); ++i)
        EXPECT_FALSE(game().pictureAt(i).hitArea.visible());

    // The ring: (background OR mask) AND ring, at its position.
    platform::Bitmap ring, mask, background;
    loadJpeg(ring, "Data\\Intf\\Spec\\Ring_s.xji");
    loadJpeg(mask, "Data\\Intf\\Spec\\RingM_s.xji");
    loadBmp(background, "Data\\Intf\\Spec\\mT_Spa_s.xbi");
    const int rx = game().ring().ringX(), ry = game().ring().ringY();
    int distinct = 0;
    for (int y = 0; y < ring.height(); y += 7)
        for (int x = 0; x < ring.width(); x += 7) {
            const platform::Color want =
                (background.pixel(rx + x, ry + y) | mask.pixel(x, y)) & ring.pixel(x, y);
            EXPECT_EQ(d->pixel(window->left() + rx + x, window->top() + ry + y), want) << x << "," << y;
            if (want != background.pixel(rx + x, ry + y)) ++distinct;
        }
    EXPECT_GT(distinct, 10);

    // A place speaks its word and stops the end timer.
    const PictureField& p = game().hitArea(3);
    EXPECT_TRUE(p.hitArea.visible());
    EXPECT_EQ(p.hitArea.cursor(), platform::kCursorHand);
    d->click(window->left() + p.x + p.width / 2, window->top() + p.y + p.height / 2);
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + p.word + ".pw"));
    EXPECT_FALSE(game().endTimer.enabled());
    screenshot("falling-end-800.png");
    // The game now waits for stop.
    d->wait(61000);
    EXPECT_FALSE(results->visible());
}

TEST_F(FallingGameTest, EndTimerStopsTheGameAfterAMinute) {
    run();
    for (int k = 0; k < 5; ++k)
        hit();
    d->wait(30);
    ASSERT_TRUE(game().finalStage());
    d->wait(59000);
    EXPECT_FALSE(results->visible());
    d->wait(1100);
    EXPECT_TRUE(results->visible());
    EXPECT_EQ(window->game(), nullptr);
    const auto r = records();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].result, 1);
    EXPECT_EQ(r[0].correct, 5);
}

TEST_F(FallingGameTest, EscWritesARecordOfGameFourNotFinishedAndShowsTheResults) {
    run();
    hit();
    shootMiss();
    clickHelp();
    d->key(27);
    EXPECT_EQ(window->game(), nullptr);
    ASSERT_TRUE(results->visible());
    const auto r = records();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].gameId, 4);
    EXPECT_EQ(r[0].result, 0);
    EXPECT_EQ(r[0].correct, 1);
    EXPECT_EQ(r[0].wrong, 1);
    EXPECT_EQ(r[0].hints, 1);
    EXPECT_EQ(r[0].level, 1);
    EXPECT_EQ(r[0].sounds, kSoundSz);
    // "Again" deals new words and the sight rule again.
    d->click(results->left() + 235 + 20, results->top() + 340 + 20);
    ASSERT_NE(window->game(), nullptr);
    EXPECT_EQ(game().found(), 0);
    EXPECT_TRUE(window->t_Game.enabled());
    EXPECT_EQ(window->vpSearch.caption(), "Wybierz obrazki z:");
    d->key(27);
    d->click(results->left() + 325 + 20, results->top() + 340 + 20);
    EXPECT_FALSE(window->visible());
}

TEST_F(FallingGameTest, LabelsNameTheChosenSoundsCentredUnderTheFirstLine) {
    TestSettings u;
    u.sounds = kSoundSz | kSoundCz;
    run(u);
    EXPECT_EQ(window->vpSearch.caption(), "Wybierz obrazki z:");
    EXPECT_EQ(window->vpSearchSound.caption(), "SZ, CZ");
    EXPECT_EQ(window->vpSearch.left(), 620);
    EXPECT_EQ(window->vpSearch.top(), 539);
    EXPECT_EQ(window->vpSearch.font().family, "Arial Black");
    EXPECT_EQ(window->vpSearch.font().height, 17);
    EXPECT_TRUE(window->vpSearch.transparent());
    EXPECT_EQ(window->vpSearchSound.left(),
              window->vpSearch.left() + window->vpSearch.width() / 2 - window->vpSearchSound.width() / 2);
    EXPECT_EQ(window->vpSearchSound.top(), window->vpSearch.top() + window->vpSearch.height() + 2);
}

TEST_F(FallingGameTest, SightCursorOverThePlayingAreaDefaultInTheRightQuarter) {
    run();
    const platform::CursorImage* c = platform::cursorImage(FallingWindow::kCrosshairCursor);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->image.width(), 32);
    EXPECT_EQ(c->image.height(), 32);
    EXPECT_EQ(c->hotSpot.x, 16);
    EXPECT_EQ(c->hotSpot.y, 16);
    const platform::Bitmap b = FallingWindow::drawCrosshair();
    EXPECT_EQ(b.scanline(16)[4 * 16 + 3], 0); // open centre
    EXPECT_EQ(b.pixel(16 + 12, 16), platform::kRed);
    EXPECT_EQ(b.pixel(16 - 7, 16 - 7), platform::kRed);

    EXPECT_EQ(window->cursor(), FallingWindow::kCrosshairCursor);
    d->move(window->left() + 790, window->top() + 400);
    EXPECT_EQ(window->cursor(), platform::kCursorDefault);
    // A spot of the playing area with no picture over it.
    int x = 20, y = 300;
    while (window->controlAt(x, y) && x < 500)
        x += 10;
    d->move(window->left() + x, window->top() + y);
    EXPECT_EQ(window->cursor(), FallingWindow::kCrosshairCursor);
    d->move(window->left() + 100, window->top() + 37 * 600 / 40 + 2); // bottom band
    EXPECT_EQ(window->cursor(), platform::kCursorDefault);
    d->wheel(1);
    EXPECT_TRUE(game().pictureCount() > 0);
}

TEST_F(FallingGameTest, ScreenshotsMidGameInBothModes) {
    for (platform::Size screen : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        TestSettings u;
        u.screen = screen;
        run(u);
        d->wait(3000);
        // The screen shows the composition everywhere.
        for (int y = 0; y < H(); y += 37)
            for (int x = 0; x < W() * 3 / 4; x += 41)
                if (!window->controlAt(x, y) ||
                    window->controlAt(x, y)->kind() == std::string("ImageControl")) {
                    ASSERT_EQ(d->pixel(window->left() + x, window->top() + y),
                              window->workPicture().pixel(x, y))
                        << x << "," << y;
                }
        screenshot("falling-mid-" + std::to_string(screen.width) + ".png");
        if (screen.width == 1024) {
            for (int k = 0; k < 5; ++k)
                hit();
            d->wait(30);
            EXPECT_TRUE(game().finalStage());
            screenshot("falling-end-1024.png");
        }
        d.reset();
    }
}

TEST_F(FallingGameTest, TicksBringOnlyTheMovedPicturesToTheScreen) {
    run();
    d->wait(2000);
    for (int tick = 0; tick < 20; ++tick) {
        const long long before = window->paintedArea();
        long long movingArea = 0;
        for (int i = 0; i < game().pictureCount(); ++i) {
            const FallingPicture& o = game().pictureAt(i);
            if (o.active && o.y + o.picture.height() >= 0 && o.y < H())
                movingArea += (long long)o.picture.width() * (o.picture.height() + 1);
        }
        d->wait(25);
        const long long painted = window->paintedArea() - before;
        EXPECT_GT(painted, 0);
        EXPECT_LE(painted, movingArea) << "tick " << tick;
    }
}

TEST_F(FallingGameTest, APictureSinksIntoTheBottomLineRowByRowAndFallsAgain) {
    run();
    // The lowest picture, left alone until it reaches the line.
    int i = 0;
    for (int k = 1; k < game().pictureCount(); ++k)
        if (game().pictureAt(k).y > game().pictureAt(i).y) i = k;
    const FallingPicture& o = game().pictureAt(i);
    const int h = o.picture.height();
    while (o.y + h <= game().bottom())
        d->wait(25);
    screenshot("falling-squeeze-800.png");
    const int bottomEdge = o.y + o.hitArea.height();
    const int column = o.x;
    EXPECT_EQ(bottomEdge, game().bottom() + 1);
    int lastPlace = o.hitArea.height();
    for (int t = 0; t < 200 && o.y > 0; ++t) {
        d->wait(25);
        if (o.y < 0) break;
        EXPECT_EQ(o.hitArea.height(), std::max(0, lastPlace - 1));
        // Its last step below the line has nothing left to keep on it.
        if (lastPlace > 0) {
            EXPECT_EQ(o.y + o.hitArea.height(), bottomEdge);
        }
        lastPlace = o.hitArea.height();
    }
    // Back above the window with its full height, still falling.
    EXPECT_LT(o.y, 0);
    EXPECT_TRUE(o.active);
    EXPECT_EQ(o.hitArea.height(), h);
    // Nothing of it is left at the line.
    const platform::Bitmap& background = window->backgroundCanvas().bitmap();
    const int y = game().bottom() - 2;
    for (int x = column; x < column + o.picture.width(); x += 5) {
        // A picture following close behind may already cover the row.
        bool covered = false;
        for (int k = 0; k < game().pictureCount(); ++k) {
            const FallingPicture& p = game().pictureAt(k);
            if (p.active && x >= p.x && x < p.x + p.picture.width() && y >= p.y &&
                y < p.y + p.hitArea.height())
                covered = true;
        }
        if (!covered) {
            EXPECT_EQ(d->pixel(window->left() + x, window->top() + y), background.pixel(x, y)) << x;
        }
    }
}

// With S among the chosen sounds the S distractors are targets too: ten pictures for five places.
TEST_F(FallingGameTest, AHitAfterTheLastPlaceWasFilledIsIgnoredUntilTheEndPhase) {
    TestSettings u;
    u.sounds = kSoundSz | kSoundS;
    run(u);
    ASSERT_EQ(game().targetCount(), 5);
    for (int i = 0; i < game().pictureCount(); ++i)
        ASSERT_TRUE(game().target(game().pictureAt(i)));
    for (int k = 0; k < 4; ++k)
        hit();
    ASSERT_EQ(game().found(), 4);
    // Two pictures on screen at once: both are shot before the next tick.
    std::vector<int> onScreen;
    for (int t = 0; t < 2000 && onScreen.size() < 2; ++t) {
        onScreen.clear();
        for (int i = 0; i < game().pictureCount(); ++i) {
            const FallingPicture& o = game().pictureAt(i);
            if (o.active && o.hitArea.visible() && o.y >= 0 &&
                o.y + o.picture.height() + 10 < game().bottom())
                onScreen.push_back(i);
        }
        if (onScreen.size() < 2) d->wait(25);
    }
    ASSERT_GE(onScreen.size(), 2u);
    clickPicture(onScreen[0]);
    ASSERT_TRUE(game().allFound());
    const int y = game().pictureAt(onScreen[1]).y;
    clickPicture(onScreen[1]);
    EXPECT_EQ(game().found(), 5);
    EXPECT_EQ(wvtest::context().statistics->correct(), "5");
    EXPECT_EQ(wvtest::context().statistics->wrong(), "0");
    EXPECT_TRUE(game().pictureAt(onScreen[1]).active);
    EXPECT_EQ(game().pictureAt(onScreen[1]).y, y);
    EXPECT_FALSE(game().finalStage());
    d->wait(30);
    EXPECT_TRUE(game().finalStage());
    EXPECT_FALSE(game().pictureAt(onScreen[1]).hitArea.visible());
}

TEST_F(FallingGameTest, OverSeedsOneToThreeHundredStartPositionsKeepTheirSpacing) {
    for (platform::Size screen : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        run({.screen = screen});
        for (std::uint32_t seed = 1; seed <= 300; ++seed) {
            platform::random::seed(seed);
            game().scatter();
            for (int i = 0; i < game().pictureCount(); ++i)
                for (int j = 0; j < i; ++j) {
                    const FallingPicture &a = game().pictureAt(i), &b = game().pictureAt(j);
                    ASSERT_TRUE(std::abs(a.x - b.x) >= 80 || std::abs(a.y - b.y) >= 95)
                        << screen.width << " seed " << seed << ": " << i << " at " << a.x << "," << a.y
                        << ", " << j << " at " << b.x << "," << b.y;
                }
        }
        d.reset();
    }
}

TEST_F(FallingGameTest, MissingOrBrokenPicturesAreReportedInPolishAndAGameWithoutItsOwnDoesNotOpen) {
    namespace stdfs = std::filesystem;
    const stdfs::path source = WV_SOURCE_DIR;
    std::string missingResources = FatalError(1).message();
    for (std::size_t k; (k = missingResources.find('\n')) != std::string::npos;)
        missingResources.replace(k, 1, "\\n");
    const struct {
        std::string file;
        bool broken; // else missing
        std::string message;
        bool game; // the window stays open (a game that cannot be won, as with any broken word picture)
    } scenarios[] = {
        {"squest.xji", false, "Wirowanki Cz.I Demo - Błąd | " + missingResources, false},
        {"allred.xji", true, "Wirowanki Cz.I Demo - Błąd | " + missingResources, false},
        {"sszachy.xji", true, "| Uszkodzony plik obrazka Data/Sio/sszachy.xji", true},
    };
    for (const auto& p : scenarios) {
        // The shipped data through links, less one picture or with one broken.
        const stdfs::path prog = catalogue.base() / ("prog-" + p.file);
        stdfs::create_directories(prog / "Data" / "Sio");
        stdfs::create_directory_symlink(source / "Resource", prog / "Resource");
        for (const auto& e : stdfs::directory_iterator(source / "Data"))
            if (e.path().filename() != "Sio")
                stdfs::create_symlink(e.path(), prog / "Data" / e.path().filename());
        for (const auto& e : stdfs::directory_iterator(source / "Data" / "Sio"))
            if (e.path().filename() != p.file)
                stdfs::create_symlink(e.path(), prog / "Data" / "Sio" / e.path().filename());
        if (p.broken) std::ofstream(prog / "Data" / "Sio" / p.file) << "to nie jest obrazek";
        platform::fs::setRoots(prog.string(), catalogue.userDir().string());

        launchWindow({800, 600}, kGameFalling, [](Catalogue&) {
            wvtest::context().settings.falling.level = kQuantityMalo;
            wvtest::context().settings.falling.sounds = kSoundSz;
            wvtest::context().settings.falling.positions = kPositionNaglos;
        });
        ASSERT_NE(window, nullptr) << d->error();
        std::vector<std::string> messages;
        for (const std::string& l : d->log())
            if (l.rfind("message-box ", 0) == 0) messages.push_back(l);
        ASSERT_EQ(messages.size(), 1u) << p.file;
        EXPECT_TRUE(messages[0].ends_with(p.message)) << messages[0];
        EXPECT_EQ(window->game(), nullptr) << p.file;
        EXPECT_EQ(window->visible(), p.game) << p.file;
        if (!p.game) {
            // Closed at once: Esc has nothing to end, and nothing is recorded.
            EXPECT_EQ(windowResult, platform::kModalCancel) << p.file;
            d->key(27);
            EXPECT_TRUE(records().empty()) << p.file;
            EXPECT_FALSE(results->visible()) << p.file;
        }
        d.reset();
    }
}

TEST_F(FallingGameTest, NothingFallsAndNothingIsShownWhileTheWindowIsMinimised) {
    run();
    d->wait(200);
    auto heights = [&] {
        std::vector<int> y;
        for (int i = 0; i < game().pictureCount(); ++i)
            y.push_back(game().pictureAt(i).y);
        return y;
    };
    const std::vector<int> before = heights();
    const int presents = d->backend().presentCount();
    d->backend().setMinimised(true);
    d->wait(1000);
    EXPECT_EQ(heights(), before);
    EXPECT_EQ(d->backend().presentCount(), presents);
    EXPECT_EQ(window->t_Game.interval(), 250); // a hidden game only looks four times a second
    d->backend().setMinimised(false);
    d->wait(300);
    EXPECT_EQ(window->t_Game.interval(), 25);
    EXPECT_NE(heights(), before);
    EXPECT_GT(d->backend().presentCount(), presents);
}
