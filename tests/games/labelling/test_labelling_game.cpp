// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The labelling game played by drags on the headless backend with the shipped data set.
#include "labelling_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include <cmath>
#include <set>

using namespace labellingtest;

namespace {

bool jakObraz(const platform::Bitmap& a, const std::string& nazwa) {
    platform::Bitmap b;
    OtworzBMP(nazwa, b);
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

} // namespace

TEST_F(GraPodpisywanie, SzachyHasFourTilesWithTheRedDigraphAndFourFieldsInModeTwo) {
    uruchom();
    idzDo("szachy");
    EXPECT_EQ(gra().odpowiedz(), "szachy");
    EXPECT_EQ(gra().bok(), 44);
    ASSERT_EQ(gra().liczbaLiter(), 4);
    std::multiset<std::string> teksty;
    for (int i = 0; i < 4; ++i)
        teksty.insert(gra().litera(i).tekst());
    EXPECT_EQ(teksty, (std::multiset<std::string>{"sz", "a", "ch", "y"}));
    EXPECT_TRUE(jakObraz(kafelek("sz")->obraz(), "sz_red_s"));
    EXPECT_TRUE(jakObraz(kafelek("a")->obraz(), "a_s"));
    EXPECT_TRUE(jakObraz(kafelek("ch")->obraz(), "ch_s"));
    const int xs[] = {280, 339, 398, 457};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(gra().pole(i).x(), xs[i]) << i;
        EXPECT_EQ(gra().pole(i).y(), 450) << i;
        EXPECT_TRUE(gra().pole(i).pusty());
        // Empty fields: a red 5 px frame, the cell inside untouched.
        const platform::Point p = ekran(xs[i], 450);
        for (int k = 1; k <= 5; ++k) {
            EXPECT_EQ(d->pixel(p.x - k, p.y + 20), platform::kRed) << i << " " << k;
            EXPECT_EQ(d->pixel(p.x + 44 + k - 1, p.y + 20), platform::kRed) << i << " " << k;
        }
        EXPECT_NE(d->pixel(p.x - 6, p.y + 20), platform::kRed);
    }
    // The picture with its mask at (274, 140).
    EXPECT_EQ(gra().maska().size(),
              wvtest::context().catalogue->wybrane()[std::size_t(gra().nrSlowa())].picture->size());
}

TEST_F(GraPodpisywanie, FiveFieldsInModeFourAreCentredWithThePitchOfBigTiles) {
    uruchom({.ekran = {1024, 768}});
    idzDo("szelki");
    EXPECT_EQ(gra().bok(), 55);
    ASSERT_EQ(gra().liczbaLiter(), 5);
    const int xs[] = {362, 432, 502, 572, 642};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(gra().pole(i).x(), xs[i]);
        EXPECT_EQ(gra().pole(i).y(), 576);
    }
    EXPECT_TRUE(jakObraz(kafelek("sz")->obraz(), "sz_red_b"));
    EXPECT_TRUE(jakObraz(kafelek("e")->obraz(), "e_b"));
    EXPECT_EQ(LabellingGame::miejscePola(0, 3, 800, 600, 44).x, 400 - 60 - 30);
}

TEST_F(GraPodpisywanie, ScatteredTilesKeepTheirDistanceAndStayInTheStrips) {
    uruchom();
    for (int runda = 0; runda < 5; ++runda) {
        idzDo("szuflada"); // seven tiles, the most of these words
        ASSERT_EQ(gra().liczbaLiter(), 7);
        for (int i = 0; i < 7; ++i) {
            const LetterTile& a = gra().litera(i);
            EXPECT_GE(a.y(), 10);
            EXPECT_LT(a.y(), 10 + 600 - 75);
            if (a.y() < 600 - 120) {
                EXPECT_LT(a.x(), 10 + 160) << a.tekst();
            }
            EXPECT_EQ(a.pole()->bounds(), a.obszar());
            EXPECT_TRUE(a.pole()->visible());
            for (int j = 0; j < i; ++j) {
                const LetterTile& b = gra().litera(j);
                EXPECT_TRUE(std::abs(a.x() - b.x()) >= 65 || std::abs(a.y() - b.y()) >= 65) << i << " " << j;
            }
        }
        klikNast();
        klikPop();
    }
}

TEST_F(GraPodpisywanie, ADropWithinTwentyFivePixelsSnapsAndOneMoreDoesNot) {
    uruchom();
    idzDo("szopa");
    const LetterTile* o = kafelek("o");
    const LetterField& p1 = gra().pole(1);
    przeciagnij(o, p1.x() + 26, p1.y() - 26);
    EXPECT_EQ(o->x(), p1.x() + 26);
    EXPECT_EQ(o->y(), p1.y() - 26);
    EXPECT_EQ(o->pole()->bounds(), o->obszar());
    EXPECT_TRUE(p1.pusty());
    przeciagnij(o, p1.x() - 25, p1.y() + 25);
    EXPECT_EQ(o->x(), p1.x());
    EXPECT_EQ(o->y(), p1.y());
    EXPECT_EQ(p1.litera(), o);
    EXPECT_EQ(p1.tekst(), "o");
    EXPECT_EQ(o->pole()->bounds(), o->obszar());
    // The field's frame turned yellow, the tile is drawn in it.
    const platform::Point e = ekran(p1.x(), p1.y());
    EXPECT_EQ(d->pixel(e.x - 3, e.y + 10), platform::kYellow);
    EXPECT_EQ(d->pixel(e.x + 20, e.y + 20), o->obraz().pixel(20, 20));
    EXPECT_EQ(wvtest::context().statistics->zle(), "0");
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
}

TEST_F(GraPodpisywanie, ADropByAnOccupiedFieldLandsSixtyPixelsAboveIt) {
    uruchom();
    idzDo("szopa");
    const LetterTile* o = kafelek("o");
    const LetterTile* p = kafelek("p");
    doPola(o, 0);
    ASSERT_EQ(gra().pole(0).litera(), o);
    przeciagnij(p, gra().pole(0).x() + 10, gra().pole(0).y() - 5);
    EXPECT_EQ(p->x(), gra().pole(0).x());
    EXPECT_EQ(p->y(), gra().pole(0).y() - 60);
    EXPECT_EQ(wPolu(p), -1);
    EXPECT_EQ(gra().pole(0).litera(), o);
    EXPECT_EQ(p->pole()->bounds(), p->obszar());
}

TEST_F(GraPodpisywanie, PickingATileOutOfAFieldEmptiesIt) {
    uruchom();
    idzDo("szopa");
    const LetterTile* a = kafelek("a");
    doPola(a, 2);
    const platform::Point e = ekran(gra().pole(2).x(), gra().pole(2).y());
    ASSERT_EQ(d->pixel(e.x - 5, e.y - 5), platform::kYellow);
    przeciagnij(a, 300, 100);
    EXPECT_TRUE(gra().pole(2).pusty());
    EXPECT_EQ(gra().pole(2).tekst(), "");
    EXPECT_EQ(d->pixel(e.x - 5, e.y - 5), platform::kRed);
    // Nothing of the tile is left behind in the field.
    EXPECT_NE(d->pixel(e.x + 20, e.y + 20), a->obraz().pixel(20, 20));
    EXPECT_EQ(a->x(), 300);
    EXPECT_EQ(a->y(), 100);
}

TEST_F(GraPodpisywanie, ADoubleClickOnATileInAFieldEmptiesTheField) {
    uruchom();
    idzDo("szopa");
    const LetterTile* o = kafelek("o");
    doPola(o, 1);
    ASSERT_EQ(gra().pole(1).litera(), o);
    const platform::Point c = ekran(o->x() + 20, o->y() + 20);
    d->dblClick(c.x, c.y);
    EXPECT_TRUE(gra().pole(1).pusty());
    EXPECT_EQ(o->x(), gra().pole(1).x());
    const platform::Point e = ekran(gra().pole(1).x(), gra().pole(1).y());
    EXPECT_EQ(d->pixel(e.x - 2, e.y - 2), platform::kRed);
}

TEST_F(GraPodpisywanie, AWrongFullCaptionCountsOneWrongAndPlaysEncouragement) {
    uruchom();
    idzDo("szopa");
    const LetterTile* sz = kafelek("sz");
    const LetterTile* o = kafelek("o");
    const LetterTile* p = kafelek("p");
    const LetterTile* a = kafelek("a");
    doPola(sz, 0);
    doPola(p, 1);
    doPola(o, 2);
    EXPECT_EQ(wvtest::context().statistics->zle(), "0");
    const auto przed = dzwieki().size();
    doPola(a, 3);
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
    const auto po = dzwieki();
    ASSERT_EQ(po.size(), przed + 1);
    const std::string s = po.back();
    EXPECT_TRUE(s.rfind("Data\\Intf\\Smd\\b0", 0) == 0 && s[16] >= '0' && s[16] <= '4') << s;
    EXPECT_FALSE(gra().rozwiazane());
    // Play goes on: the tiles can be taken out and set right.
    doPola(o, 1);
    EXPECT_EQ(wPolu(o), -1); // field 1 holds "p": the tile lands above it
    przeciagnij(p, 200, 100);
    doPola(o, 1);
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    doPola(p, 2);
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    EXPECT_TRUE(gra().rozwiazane());
}

TEST_F(GraPodpisywanie, ARightCaptionPraisesSpeaksAndFreezesTheWord) {
    uruchom();
    idzDo("szachy");
    EXPECT_TRUE(okno->przyciskPomoc()->kontrolka().visible());
    const auto przed = dzwieki().size();
    rozwiaz();
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    EXPECT_EQ(wvtest::context().statistics->zle(), "0");
    const auto po = dzwieki();
    ASSERT_EQ(po.size(), przed + 2);
    const std::string g = po[przed];
    EXPECT_TRUE(g.rfind("Data\\Intf\\Smd\\g0", 0) == 0 && g[16] >= '0' && g[16] <= '7') << g;
    EXPECT_EQ(po[przed + 1], "Data\\Smd\\szachy.pw");
    EXPECT_TRUE(gra().rozwiazane());
    EXPECT_FALSE(okno->przyciskPomoc()->kontrolka().visible());
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(gra().litera(i).pole()->visible());
        EXPECT_FALSE(gra().pole(i).pusty());
    }
    // Frozen: a drag over a tile moves nothing.
    const LetterTile* y = &gra().litera(0);
    const int x0 = y->x(), y0 = y->y();
    przeciagnij(y, 100, 100);
    EXPECT_EQ(y->x(), x0);
    EXPECT_EQ(y->y(), y0);
    EXPECT_FALSE(gra().timerKonca().enabled()); // other words are open
}

TEST_F(GraPodpisywanie, NextAndPreviousAreHiddenOnTheLastAndFirstWord) {
    uruchom();
    const auto nast = [&] { return okno->przyciskNast()->kontrolka().visible(); };
    const auto pop = [&] { return okno->przyciskPop()->kontrolka().visible(); };
    EXPECT_EQ(gra().nrSlowa(), 0);
    EXPECT_FALSE(pop());
    EXPECT_TRUE(nast());
    for (int k = 1; k <= 4; ++k) {
        klikNast();
        EXPECT_EQ(gra().nrSlowa(), k);
        EXPECT_TRUE(pop());
        EXPECT_EQ(nast(), k < 4);
    }
    EXPECT_TRUE(gra().jestOstatnie());
    EXPECT_FALSE(gra().nastepne());
    EXPECT_EQ(gra().nrSlowa(), 4);
    klikPop();
    EXPECT_EQ(gra().nrSlowa(), 3);
    EXPECT_TRUE(nast());
}

TEST_F(GraPodpisywanie, ASolvedWordShowsItsCaptionAndADoubleClickOnThePictureReopensIt) {
    uruchom();
    idzDo("szopa");
    rozwiaz();
    ASSERT_TRUE(gra().rozwiazane());
    if (gra().jestOstatnie()) {
        klikPop();
        klikNast();
    } else {
        klikNast();
        klikPop();
    }
    ASSERT_EQ(gra().slowo(), "szopa");
    EXPECT_FALSE(okno->przyciskPomoc()->kontrolka().visible());
    const auto g = glosy();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(gra().pole(i).tekst(), g[std::size_t(i)]);
        EXPECT_FALSE(gra().litera(i).pole()->visible());
        EXPECT_EQ(gra().litera(i).x(), gra().pole(i).x());
    }
    // Outside the picture nothing happens; on it the word opens again.
    const platform::Point poza = ekran(274, 140);
    d->dblClick(poza.x, poza.y);
    EXPECT_TRUE(gra().rozwiazane());
    const platform::Point w = ekran(274 + 100, 140 + 100);
    d->dblClick(w.x, w.y);
    EXPECT_FALSE(gra().rozwiazane());
    EXPECT_TRUE(okno->przyciskPomoc()->kontrolka().visible());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(gra().pole(i).pusty());
        EXPECT_TRUE(gra().litera(i).pole()->visible());
    }
}

TEST_F(GraPodpisywanie, HelpSpeaksTheWordCountsAHintAndScattersAgain) {
    uruchom();
    idzDo("szopa");
    doPola(kafelek("o"), 0);
    const auto przed = dzwieki().size();
    klikPomoc();
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "1");
    const auto po = dzwieki();
    ASSERT_EQ(po.size(), przed + 1);
    EXPECT_EQ(po.back(), "Data\\Smd\\szopa.pw");
    EXPECT_FALSE(gra().rozwiazane());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(gra().pole(i).pusty());
        EXPECT_TRUE(gra().litera(i).pole()->visible());
        EXPECT_TRUE(gra().litera(i).y() < 450 - 60 || gra().litera(i).x() < 280 - 44 ||
                    gra().litera(i).y() >= 480)
            << i; // not left in the caption
    }
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
}

TEST_F(GraPodpisywanie, SolvingEveryWordEndsTheGameSixtySecondsLaterWithAWin) {
    uruchom();
    for (int k = 0; k < 5; ++k) {
        rozwiaz();
        ASSERT_TRUE(gra().rozwiazane()) << gra().slowo();
        if (k < 4) klikNast();
    }
    EXPECT_TRUE(gra().wszystkieZnalezione());
    EXPECT_TRUE(gra().timerKonca().enabled());
    EXPECT_EQ(wvtest::context().statistics->dobre(), "5");
    d->wait(59900);
    EXPECT_FALSE(wyniki->visible());
    EXPECT_TRUE(rekordy().empty());
    d->wait(200);
    ASSERT_TRUE(wyniki->visible());
    const auto r = rekordy();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].gameId, 1);
    EXPECT_EQ(r[0].wynik, 1);
    EXPECT_EQ(r[0].dobre, 5);
    EXPECT_EQ(r[0].zle, 0);
    EXPECT_EQ(r[0].poziom, 1);
    EXPECT_EQ(r[0].gloski, GL_SZ);
    // "Again" draws a new game of open words.
    d->click(wyniki->left() + 235 + 20, wyniki->top() + 340 + 20);
    EXPECT_FALSE(wyniki->visible());
    ASSERT_NE(okno->gra(), nullptr);
    EXPECT_FALSE(gra().wszystkieZnalezione());
    EXPECT_EQ(gra().nrSlowa(), 0);
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
}

TEST_F(GraPodpisywanie, NavigationAfterTheLastWordStopsTheEndTimer) {
    uruchom();
    for (int k = 0; k < 5; ++k) {
        rozwiaz();
        if (k < 4) klikNast();
    }
    ASSERT_TRUE(gra().timerKonca().enabled());
    klikPop();
    EXPECT_FALSE(gra().timerKonca().enabled());
    d->wait(61000);
    EXPECT_FALSE(wyniki->visible());
}

TEST_F(GraPodpisywanie, EscapeMidGameSavesAnUnfinishedRecordAndStopReturns) {
    uruchom();
    rozwiaz();
    d->key(27);
    ASSERT_TRUE(wyniki->visible());
    auto r = rekordy();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].gameId, 1);
    EXPECT_EQ(r[0].wynik, 0);
    EXPECT_EQ(r[0].dobre, 1);
    d->click(wyniki->left() + 325 + 20, wyniki->top() + 340 + 20);
    EXPECT_FALSE(wyniki->visible());
    EXPECT_FALSE(okno->visible());
    EXPECT_EQ(wynikOkna, platform::kModalCancel);
}

TEST_F(GraPodpisywanie, ScreensOfPlayAndOfASolvedWordInBothModes) {
    for (platform::Size s : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        uruchom({.ekran = s});
        idzDo("szachy");
        const LetterTile* sz = kafelek("sz");
        doPola(sz, 0);
        przeciagnij(kafelek("y"), gra().pole(3).x() + 40, gra().pole(3).y() - 120);
        const std::string tag = std::to_string(s.width);
        zdjecie("wv-labelling-play-" + tag + ".png");
        // The tile at its field, the other one where it was dropped.
        platform::Point e = ekran(gra().pole(0).x(), gra().pole(0).y());
        EXPECT_EQ(d->pixel(e.x + 5, e.y + 5), sz->obraz().pixel(5, 5));
        rozwiaz();
        ASSERT_TRUE(gra().rozwiazane());
        zdjecie("wv-labelling-solved-" + tag + ".png");
        for (int i = 0; i < 4; ++i) {
            e = ekran(gra().pole(i).x(), gra().pole(i).y());
            EXPECT_EQ(d->pixel(e.x - 1, e.y - 1), platform::kYellow);
            const LetterTile* l = gra().pole(i).litera();
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(d->pixel(e.x + 20, e.y + 20), l->obraz().pixel(20, 20));
        }
        d.reset();
    }
}

TEST_F(GraPodpisywanie, ADroppedTileStaysWhollyInThePlayAreaAndOffTheButtons) {
    for (platform::Size s : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        uruchom({.ekran = s});
        idzDo("szopa");
        const LetterTile* o = kafelek("o");
        const int w = o->obraz().width(), h = o->obraz().height();
        const int kolumna = W() - W() / 10;
        // Past each edge and corner, and onto each button's designed place.
        const std::vector<platform::Point> cele = {
            {840, 640},
            {W() + 50, H() + 50},
            {-300, -200},
            {W() - 10, 100},
            {200, H() - 5},
            {kolumna + 20, H() / 7 + 20},
            {kolumna + 4, H() / 7 + H() / 8},
            {kolumna + 30, H() / 7 + 3 * H() / 8 + 10},
        };
        for (const platform::Point c : cele) {
            przeciagnij(o, c.x, c.y);
            const platform::Rect r = o->obszar();
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= W() && r.bottom <= H())
                << s.width << ": " << c.x << "," << c.y << " -> " << r.left << "," << r.top;
            for (const platform::Rect& b : okno->obszaryPrzyciskow())
                EXPECT_TRUE(r.intersect(b).empty()) << s.width << ": " << c.x << "," << c.y;
            EXPECT_EQ(o->pole()->bounds(), r);
            const platform::Point e = ekran(r.left + w / 2, r.top + h / 2);
            EXPECT_EQ(d->pixel(e.x, e.y), o->obraz().pixel(w / 2, h / 2)) << c.x << "," << c.y;
        }
        // Dropped where "Koniec" stands, the tile does not take that button's clicks.
        przeciagnij(o, kolumna + 4, H() / 7 + H() / 8);
        klikStop();
        EXPECT_TRUE(wyniki->visible()) << s.width;
        d.reset();
    }
}

TEST_F(GraPodpisywanie, ScatteredTilesNeverLieOnAFieldOrAButton) {
    uruchom();
    idzDo("szuflada");
    for (int runda = 0; runda < 25; ++runda) {
        for (int i = 0; i < gra().liczbaLiter(); ++i) {
            const platform::Rect r = gra().litera(i).obszar();
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= W() && r.bottom <= H()) << runda;
            for (int k = 0; k < gra().liczbaLiter(); ++k) {
                const LetterField& p = gra().pole(k);
                const int b = gra().bok(), m = LabellingGame::kRamka;
                EXPECT_TRUE(r.intersect({p.x() - m, p.y() - m, p.x() + b + m, p.y() + b + m}).empty())
                    << runda << ": tile " << i << " on field " << k;
            }
            for (const platform::Rect& b : okno->obszaryPrzyciskow())
                EXPECT_TRUE(r.intersect(b).empty()) << runda << ": tile " << i;
        }
        klikNast();
        klikPop();
    }
}

TEST_F(GraPodpisywanie, AWrongCaptionCountsOnceUntilTheCaptionChanges) {
    uruchom();
    idzDo("szopa");
    const LetterTile* sz = kafelek("sz");
    const LetterTile* o = kafelek("o");
    const LetterTile* p = kafelek("p");
    const LetterTile* a = kafelek("a");
    doPola(sz, 0);
    doPola(p, 1);
    doPola(o, 2);
    doPola(a, 3);
    ASSERT_EQ(wvtest::context().statistics->zle(), "1");
    const int zachety = ileDzwiekow("Data\\Intf\\Smd\\b0");
    // Clicks on the caption's tiles lift and drop them back in place: the same caption, no new answer.
    for (const LetterTile* l : {sz, p, o, a, p}) {
        const platform::Point c = ekran(l->x() + 20, l->y() + 20);
        d->click(c.x, c.y);
        ASSERT_GE(wPolu(l), 0);
    }
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_EQ(ileDzwiekow("Data\\Intf\\Smd\\b0"), zachety);
    // Another wrong caption is another wrong answer.
    przeciagnij(a, 200, 100);
    doPola(p, 3);
    doPola(a, 1);
    EXPECT_EQ(gra().pole(1).tekst() + gra().pole(3).tekst(), "ap");
    EXPECT_EQ(wvtest::context().statistics->zle(), "2");
    EXPECT_EQ(ileDzwiekow("Data\\Intf\\Smd\\b0"), zachety + 1);
}
