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

TEST_F(GraSpadajace, HitMovesThePictureIntoPlaceZeroAndCountsOneCorrect) {
    uruchom();
    ASSERT_EQ(gra().liczbaCelow(), 5);
    ASSERT_EQ(gra().liczbaObrazkow(), 10);
    const int i = widoczny(true);
    ASSERT_GE(i, 0);
    const std::string slowo = gra().obrazek(i).slowo;
    klikObrazek(i);
    EXPECT_EQ(gra().znalezione(), 1);
    EXPECT_EQ(gra().pole(0).slowo, slowo);
    EXPECT_FALSE(gra().obrazek(i).aktywny);
    EXPECT_FALSE(gra().obrazek(i).pole.visible());
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    EXPECT_EQ(wvtest::context().statistics->zle(), "0");
    EXPECT_TRUE(miejscePokazuje(0, gra().obrazek(i).obraz));
}

TEST_F(GraSpadajace, MissWithNoPlaceFilledFlashesPlaceZeroRedFor300Ms) {
    uruchom();
    platform::Bitmap czerwony, pytajnik;
    wczytajJpeg(czerwony, "Data\\Sio\\allred.xji");
    wczytajJpeg(pytajnik, "Data\\Sio\\squest.xji");
    EXPECT_TRUE(miejscePokazuje(0, pytajnik));
    const int i = widoczny(false);
    ASSERT_GE(i, 0);
    klikObrazek(i);
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
    EXPECT_EQ(gra().znalezione(), 0);
    EXPECT_TRUE(gra().obrazek(i).aktywny); // a distractor keeps falling
    EXPECT_TRUE(miejscePokazuje(0, czerwony));
    EXPECT_TRUE(miejscePokazuje(1, pytajnik));
    d->wait(250);
    EXPECT_TRUE(miejscePokazuje(0, czerwony));
    d->wait(100);
    EXPECT_TRUE(miejscePokazuje(0, pytajnik));
    // No target went back to the top.
    for (int k = 0; k < gra().liczbaCelow(); ++k)
        EXPECT_TRUE(gra().obrazek(k).aktywny);
}

TEST_F(GraSpadajace, MissAfterThreeHitsSendsTheLastPlacesPictureFallingAgain) {
    uruchom();
    for (int k = 0; k < 3; ++k)
        traf();
    ASSERT_EQ(gra().znalezione(), 3);
    const std::string trzecie = gra().pole(2).slowo;
    ASSERT_FALSE(trzecie.empty());
    pudluj();
    EXPECT_EQ(gra().znalezione(), 2);
    EXPECT_EQ(wvtest::context().statistics->dobre(), "3");
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_TRUE(gra().pole(2).slowo.empty());
    EXPECT_FALSE(gra().pole(1).slowo.empty());
    EXPECT_TRUE(miejscePokazuje(2, gra().pole(2).czerwony));
    int wraca = -1;
    for (int k = 0; k < gra().liczbaObrazkow(); ++k)
        if (gra().obrazek(k).slowo == trzecie) wraca = k;
    ASSERT_GE(wraca, 0);
    const FallingPicture& o = gra().obrazek(wraca);
    EXPECT_TRUE(o.aktywny);
    EXPECT_TRUE(o.pole.visible());
    EXPECT_LT(o.y + o.obraz.height(), 1); // starts above the window
    EXPECT_EQ(o.pole.height(), o.obraz.height());
    d->wait(350);
    EXPECT_TRUE(miejscePokazuje(2, gra().pole(2).pytajnik));
}

class GraSpadajacePoziom : public GraSpadajace, public ::testing::WithParamInterface<int> {};

TEST_P(GraSpadajacePoziom, PicturesFallTheLevelsPixelsPerTick) {
    Ustawienia u;
    // The shipped words fill the middle level with ten targets; the top level's fifteen are more than
    // they hold, so its speed is checked on a smaller game switched to it.
    u.poziom = std::min(GetParam(), 2);
    u.gloski = GL_SZ | GL_S;
    uruchom(u);
    ASSERT_EQ(gra().liczbaCelow(), GetParam() >= 2 ? 10 : 5);
    wvtest::context().settings.falling.level = std::int16_t(GetParam());
    d->wait(25);
    for (int tick = 0; tick < 8; ++tick) {
        std::vector<int> przed;
        for (int i = 0; i < gra().liczbaObrazkow(); ++i)
            przed.push_back(gra().obrazek(i).y);
        d->wait(25);
        for (int i = 0; i < gra().liczbaObrazkow(); ++i) {
            const FallingPicture& o = gra().obrazek(i);
            if (przed[std::size_t(i)] + o.obraz.height() + 3 < gra().dno()) {
                EXPECT_EQ(o.y - przed[std::size_t(i)], GetParam()) << "picture " << i << " tick " << tick;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Poziomy, GraSpadajacePoziom, ::testing::Values(1, 2, 3));

TEST_F(GraSpadajace, FifteenPlacesAreCentredOnTheBottomRowInBothModes) {
    for (platform::Size ekran : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        Ustawienia u;
        u.ekran = ekran;
        uruchom(u);
        // Fifteen targets: the shipped words over again.
        wvtest::context().catalogue->filtruj(wvtest::context().settings.falling);
        wvtest::context().catalogue->losuj(5);
        wvtest::context().catalogue->wczytajMiniatury();
        std::vector<Word> wybor;
        for (int k = 0; k < 15; ++k)
            wybor.push_back(wvtest::context().catalogue->wybrane()[std::size_t(k % 5)]);
        // Its click areas belong to the window: the game goes before the program ends.
        auto gra15 = std::make_unique<FallingGame>(*okno, okno->kanwaRobocza(), okno->kanwaTla(), wybor);
        FallingGame& g = *gra15;
        g.ulozPola();
        ASSERT_EQ(g.liczbaCelow(), 15);
        const bool duzy = ekran.width == 1024;
        const int krok = duzy ? 39 : 30;
        EXPECT_EQ(g.pole(0).x, W() / 2 - krok * 8);
        if (!duzy) {
            EXPECT_EQ(g.pole(0).x, 160);
        }
        for (int k = 0; k < 15; ++k) {
            EXPECT_EQ(g.pole(k).x, g.pole(0).x + k * krok);
            EXPECT_EQ(g.pole(k).y, H() - (duzy ? 50 : 35));
            EXPECT_EQ(g.pole(k).szer, duzy ? 32 : 23);
            EXPECT_EQ(g.pole(k).wys, duzy ? 42 : 31);
            EXPECT_FALSE(g.pole(k).pole.visible());
        }
        EXPECT_EQ(g.dno(), duzy ? 708 : 552);
        // Drawn on the composition, stretched to the place's size.
        const PictureField& p = g.pole(14);
        EXPECT_EQ(okno->obrazRoboczy().pixel(p.x + p.szer / 2, p.y + p.wys / 2),
                  p.pytajnik.pixel(p.szer / 2 * p.pytajnik.width() / p.szer,
                                   p.wys / 2 * p.pytajnik.height() / p.wys));
        gra15.reset();
        d.reset();
    }
}

TEST_F(GraSpadajace, HintFramesTheNearestTargetRedAndCounts) {
    uruchom();
    d->wait(500);
    int oczekiwany = -1;
    for (int i = 0; i < gra().liczbaObrazkow(); ++i) {
        const FallingPicture& o = gra().obrazek(i);
        if (!o.aktywny || !gra().cel(o) || o.y >= H()) continue;
        if (oczekiwany < 0 || std::abs(o.y) < std::abs(gra().obrazek(oczekiwany).y)) oczekiwany = i;
    }
    ASSERT_GE(oczekiwany, 0);
    klikPomoc();
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "1");
    const FallingPicture& o = gra().obrazek(oczekiwany);
    for (int dd = 0; dd < 4; ++dd) {
        EXPECT_EQ(o.obraz.pixel(dd, o.obraz.height() / 2), platform::kRed);
        EXPECT_EQ(o.obraz.pixel(o.obraz.width() - 1 - dd, 10), platform::kRed);
    }
    EXPECT_NE(o.obraz.pixel(o.obraz.width() / 2, o.obraz.height() / 2), platform::kRed);
    // Other pictures stay unframed.
    for (int i = 0; i < gra().liczbaObrazkow(); ++i)
        if (i != oczekiwany) {
            EXPECT_NE(gra().obrazek(i).obraz.pixel(0, 0), platform::kRed) << i;
        }
    // On screen once it is wholly visible.
    ASSERT_EQ(widoczny(true) >= 0, true);
    while (o.y < 0)
        d->wait(25);
    EXPECT_EQ(d->pixel(okno->left() + o.x + 1, okno->top() + o.y + 5), platform::kRed);
    EXPECT_EQ(d->pixel(okno->left() + o.x + 3, okno->top() + o.y + 5), platform::kRed);
}

TEST_F(GraSpadajace, AllHitsLeadToTheEndPhaseWithRingAndSpeakingPlaces) {
    uruchom();
    for (int k = 0; k < 5; ++k)
        traf();
    ASSERT_TRUE(gra().wszystkieZnalezione());
    EXPECT_FALSE(gra().koncowa()); // at the next tick
    d->wait(30);
    ASSERT_TRUE(gra().koncowa());
    EXPECT_FALSE(okno->t_Game.enabled());
    EXPECT_TRUE(gra().timerKonca.enabled());
    EXPECT_TRUE(okno->przyciskStop().kontrolka().visible());
    EXPECT_FALSE(okno->przyciskPomoc().kontrolka().visible());
    EXPECT_EQ(okno->vpSzukaj.caption(), "Wybierz obrazek,");
    EXPECT_EQ(okno->vpSzukGloski.caption(), "aby go powiększyć.");
    EXPECT_EQ(okno->vpSzukGloski.left(), okno->vpSzukaj.left());
    for (int i = 0; i < gra().liczbaObrazkow(); ++i)
        EXPECT_FALSE(gra().obrazek(i).pole.visible());

    // The ring: (background OR mask) AND ring, at its position.
    platform::Bitmap pierscien, maska, tlo;
    wczytajJpeg(pierscien, "Data\\Intf\\Spec\\Ring_s.xji");
    wczytajJpeg(maska, "Data\\Intf\\Spec\\RingM_s.xji");
    wczytajBmp(tlo, "Data\\Intf\\Spec\\mT_Spa_s.xbi");
    const int rx = gra().okrag().pierscienX(), ry = gra().okrag().pierscienY();
    int roznych = 0;
    for (int y = 0; y < pierscien.height(); y += 7)
        for (int x = 0; x < pierscien.width(); x += 7) {
            const platform::Color want =
                (tlo.pixel(rx + x, ry + y) | maska.pixel(x, y)) & pierscien.pixel(x, y);
            EXPECT_EQ(d->pixel(okno->left() + rx + x, okno->top() + ry + y), want) << x << "," << y;
            if (want != tlo.pixel(rx + x, ry + y)) ++roznych;
        }
    EXPECT_GT(roznych, 10);

    // A place speaks its word and stops the end timer.
    const PictureField& p = gra().pole(3);
    EXPECT_TRUE(p.pole.visible());
    EXPECT_EQ(p.pole.cursor(), platform::kCursorHand);
    d->click(okno->left() + p.x + p.szer / 2, okno->top() + p.y + p.wys / 2);
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + p.slowo + ".pw"));
    EXPECT_FALSE(gra().timerKonca.enabled());
    zdjecie("falling-end-800.png");
    // The game now waits for stop.
    d->wait(61000);
    EXPECT_FALSE(wyniki->visible());
}

TEST_F(GraSpadajace, EndTimerStopsTheGameAfterAMinute) {
    uruchom();
    for (int k = 0; k < 5; ++k)
        traf();
    d->wait(30);
    ASSERT_TRUE(gra().koncowa());
    d->wait(59000);
    EXPECT_FALSE(wyniki->visible());
    d->wait(1100);
    EXPECT_TRUE(wyniki->visible());
    EXPECT_EQ(okno->gra(), nullptr);
    const auto r = rekordy();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].wynik, 1);
    EXPECT_EQ(r[0].dobre, 5);
}

TEST_F(GraSpadajace, EscWritesARecordOfGameFourNotFinishedAndShowsTheResults) {
    uruchom();
    traf();
    pudluj();
    klikPomoc();
    d->key(27);
    EXPECT_EQ(okno->gra(), nullptr);
    ASSERT_TRUE(wyniki->visible());
    const auto r = rekordy();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].gameId, 4);
    EXPECT_EQ(r[0].wynik, 0);
    EXPECT_EQ(r[0].dobre, 1);
    EXPECT_EQ(r[0].zle, 1);
    EXPECT_EQ(r[0].podpowiedzi, 1);
    EXPECT_EQ(r[0].poziom, 1);
    EXPECT_EQ(r[0].gloski, GL_SZ);
    // "Again" deals new words and the sight rule again.
    d->click(wyniki->left() + 235 + 20, wyniki->top() + 340 + 20);
    ASSERT_NE(okno->gra(), nullptr);
    EXPECT_EQ(gra().znalezione(), 0);
    EXPECT_TRUE(okno->t_Game.enabled());
    EXPECT_EQ(okno->vpSzukaj.caption(), "Wybierz obrazki z:");
    d->key(27);
    d->click(wyniki->left() + 325 + 20, wyniki->top() + 340 + 20);
    EXPECT_FALSE(okno->visible());
}

TEST_F(GraSpadajace, LabelsNameTheChosenSoundsCentredUnderTheFirstLine) {
    Ustawienia u;
    u.gloski = GL_SZ | GL_CZ;
    uruchom(u);
    EXPECT_EQ(okno->vpSzukaj.caption(), "Wybierz obrazki z:");
    EXPECT_EQ(okno->vpSzukGloski.caption(), "SZ, CZ");
    EXPECT_EQ(okno->vpSzukaj.left(), 620);
    EXPECT_EQ(okno->vpSzukaj.top(), 539);
    EXPECT_EQ(okno->vpSzukaj.font().family, "Arial Black");
    EXPECT_EQ(okno->vpSzukaj.font().height, 17);
    EXPECT_TRUE(okno->vpSzukaj.transparent());
    EXPECT_EQ(okno->vpSzukGloski.left(),
              okno->vpSzukaj.left() + okno->vpSzukaj.width() / 2 - okno->vpSzukGloski.width() / 2);
    EXPECT_EQ(okno->vpSzukGloski.top(), okno->vpSzukaj.top() + okno->vpSzukaj.height() + 2);
}

TEST_F(GraSpadajace, SightCursorOverThePlayingAreaDefaultInTheRightQuarter) {
    uruchom();
    const platform::CursorImage* c = platform::cursorImage(FallingWindow::kKursorCelownik);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->image.width(), 32);
    EXPECT_EQ(c->image.height(), 32);
    EXPECT_EQ(c->hotSpot.x, 16);
    EXPECT_EQ(c->hotSpot.y, 16);
    const platform::Bitmap b = FallingWindow::rysujCelownik();
    EXPECT_EQ(b.scanline(16)[4 * 16 + 3], 0); // open centre
    EXPECT_EQ(b.pixel(16 + 12, 16), platform::kRed);
    EXPECT_EQ(b.pixel(16 - 7, 16 - 7), platform::kRed);

    EXPECT_EQ(okno->cursor(), FallingWindow::kKursorCelownik);
    d->move(okno->left() + 790, okno->top() + 400);
    EXPECT_EQ(okno->cursor(), platform::kCursorDefault);
    // A spot of the playing area with no picture over it.
    int x = 20, y = 300;
    while (okno->controlAt(x, y) && x < 500)
        x += 10;
    d->move(okno->left() + x, okno->top() + y);
    EXPECT_EQ(okno->cursor(), FallingWindow::kKursorCelownik);
    d->move(okno->left() + 100, okno->top() + 37 * 600 / 40 + 2); // bottom band
    EXPECT_EQ(okno->cursor(), platform::kCursorDefault);
    d->wheel(1);
    EXPECT_TRUE(gra().liczbaObrazkow() > 0);
}

TEST_F(GraSpadajace, ScreenshotsMidGameInBothModes) {
    for (platform::Size ekran : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        Ustawienia u;
        u.ekran = ekran;
        uruchom(u);
        d->wait(3000);
        // The screen shows the composition everywhere.
        for (int y = 0; y < H(); y += 37)
            for (int x = 0; x < W() * 3 / 4; x += 41)
                if (!okno->controlAt(x, y) || okno->controlAt(x, y)->kind() == std::string("ImageControl")) {
                    ASSERT_EQ(d->pixel(okno->left() + x, okno->top() + y), okno->obrazRoboczy().pixel(x, y))
                        << x << "," << y;
                }
        zdjecie("falling-mid-" + std::to_string(ekran.width) + ".png");
        if (ekran.width == 1024) {
            for (int k = 0; k < 5; ++k)
                traf();
            d->wait(30);
            EXPECT_TRUE(gra().koncowa());
            zdjecie("falling-end-1024.png");
        }
        d.reset();
    }
}

TEST_F(GraSpadajace, TicksBringOnlyTheMovedPicturesToTheScreen) {
    uruchom();
    d->wait(2000);
    for (int tick = 0; tick < 20; ++tick) {
        const long long przed = okno->pomalowano();
        long long ruchome = 0;
        for (int i = 0; i < gra().liczbaObrazkow(); ++i) {
            const FallingPicture& o = gra().obrazek(i);
            if (o.aktywny && o.y + o.obraz.height() >= 0 && o.y < H())
                ruchome += (long long)o.obraz.width() * (o.obraz.height() + 1);
        }
        d->wait(25);
        const long long tyle = okno->pomalowano() - przed;
        EXPECT_GT(tyle, 0);
        EXPECT_LE(tyle, ruchome) << "tick " << tick;
    }
}

TEST_F(GraSpadajace, APictureSinksIntoTheBottomLineRowByRowAndFallsAgain) {
    uruchom();
    // The lowest picture, left alone until it reaches the line.
    int i = 0;
    for (int k = 1; k < gra().liczbaObrazkow(); ++k)
        if (gra().obrazek(k).y > gra().obrazek(i).y) i = k;
    const FallingPicture& o = gra().obrazek(i);
    const int h = o.obraz.height();
    while (o.y + h <= gra().dno())
        d->wait(25);
    zdjecie("falling-squeeze-800.png");
    const int dolnaKrawedz = o.y + o.pole.height();
    const int kolumna = o.x;
    EXPECT_EQ(dolnaKrawedz, gra().dno() + 1);
    int ostatnie = o.pole.height();
    for (int t = 0; t < 200 && o.y > 0; ++t) {
        d->wait(25);
        if (o.y < 0) break;
        EXPECT_EQ(o.pole.height(), std::max(0, ostatnie - 1));
        // Its last step below the line has nothing left to keep on it.
        if (ostatnie > 0) {
            EXPECT_EQ(o.y + o.pole.height(), dolnaKrawedz);
        }
        ostatnie = o.pole.height();
    }
    // Back above the window with its full height, still falling.
    EXPECT_LT(o.y, 0);
    EXPECT_TRUE(o.aktywny);
    EXPECT_EQ(o.pole.height(), h);
    // Nothing of it is left at the line.
    const platform::Bitmap& tlo = okno->kanwaTla().bitmap();
    const int y = gra().dno() - 2;
    for (int x = kolumna; x < kolumna + o.obraz.width(); x += 5) {
        // A picture following close behind may already cover the row.
        bool zakryte = false;
        for (int k = 0; k < gra().liczbaObrazkow(); ++k) {
            const FallingPicture& p = gra().obrazek(k);
            if (p.aktywny && x >= p.x && x < p.x + p.obraz.width() && y >= p.y && y < p.y + p.pole.height())
                zakryte = true;
        }
        if (!zakryte) {
            EXPECT_EQ(d->pixel(okno->left() + x, okno->top() + y), tlo.pixel(x, y)) << x;
        }
    }
}

// With S among the chosen sounds the S distractors are targets too: ten pictures for five places.
TEST_F(GraSpadajace, AHitAfterTheLastPlaceWasFilledIsIgnoredUntilTheEndPhase) {
    Ustawienia u;
    u.gloski = GL_SZ | GL_S;
    uruchom(u);
    ASSERT_EQ(gra().liczbaCelow(), 5);
    for (int i = 0; i < gra().liczbaObrazkow(); ++i)
        ASSERT_TRUE(gra().cel(gra().obrazek(i)));
    for (int k = 0; k < 4; ++k)
        traf();
    ASSERT_EQ(gra().znalezione(), 4);
    // Two pictures on screen at once: both are shot before the next tick.
    std::vector<int> naEkranie;
    for (int t = 0; t < 2000 && naEkranie.size() < 2; ++t) {
        naEkranie.clear();
        for (int i = 0; i < gra().liczbaObrazkow(); ++i) {
            const FallingPicture& o = gra().obrazek(i);
            if (o.aktywny && o.pole.visible() && o.y >= 0 && o.y + o.obraz.height() + 10 < gra().dno())
                naEkranie.push_back(i);
        }
        if (naEkranie.size() < 2) d->wait(25);
    }
    ASSERT_GE(naEkranie.size(), 2u);
    klikObrazek(naEkranie[0]);
    ASSERT_TRUE(gra().wszystkieZnalezione());
    const int y = gra().obrazek(naEkranie[1]).y;
    klikObrazek(naEkranie[1]);
    EXPECT_EQ(gra().znalezione(), 5);
    EXPECT_EQ(wvtest::context().statistics->dobre(), "5");
    EXPECT_EQ(wvtest::context().statistics->zle(), "0");
    EXPECT_TRUE(gra().obrazek(naEkranie[1]).aktywny);
    EXPECT_EQ(gra().obrazek(naEkranie[1]).y, y);
    EXPECT_FALSE(gra().koncowa());
    d->wait(30);
    EXPECT_TRUE(gra().koncowa());
    EXPECT_FALSE(gra().obrazek(naEkranie[1]).pole.visible());
}

TEST_F(GraSpadajace, OverSeedsOneToThreeHundredStartPositionsKeepTheirSpacing) {
    for (platform::Size ekran : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        uruchom({.ekran = ekran});
        for (std::uint32_t ziarno = 1; ziarno <= 300; ++ziarno) {
            platform::random::seed(ziarno);
            gra().rozmiesc();
            for (int i = 0; i < gra().liczbaObrazkow(); ++i)
                for (int j = 0; j < i; ++j) {
                    const FallingPicture &a = gra().obrazek(i), &b = gra().obrazek(j);
                    ASSERT_TRUE(std::abs(a.x - b.x) >= 80 || std::abs(a.y - b.y) >= 95)
                        << ekran.width << " seed " << ziarno << ": " << i << " at " << a.x << "," << a.y
                        << ", " << j << " at " << b.x << "," << b.y;
                }
        }
        d.reset();
    }
}

TEST_F(GraSpadajace, MissingOrBrokenPicturesAreReportedInPolishAndAGameWithoutItsOwnDoesNotOpen) {
    namespace stdfs = std::filesystem;
    const stdfs::path zrodlo = WV_SOURCE_DIR;
    std::string brakZasobow = FatalError(1).komunikat();
    for (std::size_t k; (k = brakZasobow.find('\n')) != std::string::npos;)
        brakZasobow.replace(k, 1, "\\n");
    const struct {
        std::string plik;
        bool zepsuty; // else missing
        std::string komunikat;
        bool gra; // the window stays open (a game that cannot be won, as with any broken word picture)
    } przypadki[] = {
        {"squest.xji", false, "Wirowanki Cz.I Demo - Błąd | " + brakZasobow, false},
        {"allred.xji", true, "Wirowanki Cz.I Demo - Błąd | " + brakZasobow, false},
        {"sszachy.xji", true, "| Uszkodzony plik obrazka Data/Sio/sszachy.xji", true},
    };
    for (const auto& p : przypadki) {
        // The shipped data through links, less one picture or with one broken.
        const stdfs::path prog = katalog.baza() / ("prog-" + p.plik);
        stdfs::create_directories(prog / "Data" / "Sio");
        stdfs::create_directory_symlink(zrodlo / "Resource", prog / "Resource");
        for (const auto& e : stdfs::directory_iterator(zrodlo / "Data"))
            if (e.path().filename() != "Sio")
                stdfs::create_symlink(e.path(), prog / "Data" / e.path().filename());
        for (const auto& e : stdfs::directory_iterator(zrodlo / "Data" / "Sio"))
            if (e.path().filename() != p.plik)
                stdfs::create_symlink(e.path(), prog / "Data" / "Sio" / e.path().filename());
        if (p.zepsuty) std::ofstream(prog / "Data" / "Sio" / p.plik) << "to nie jest obrazek";
        platform::fs::setRoots(prog.string(), katalog.uzytkownik().string());

        uruchomOkno({800, 600}, ZAK_SPADAJACE, [](Catalogue&) {
            wvtest::context().settings.falling.level = POZIOM_MALO;
            wvtest::context().settings.falling.sounds = GL_SZ;
            wvtest::context().settings.falling.positions = POZ_NAGLOS;
        });
        ASSERT_NE(okno, nullptr) << d->error();
        std::vector<std::string> komunikaty;
        for (const std::string& l : d->log())
            if (l.rfind("message-box ", 0) == 0) komunikaty.push_back(l);
        ASSERT_EQ(komunikaty.size(), 1u) << p.plik;
        EXPECT_TRUE(komunikaty[0].ends_with(p.komunikat)) << komunikaty[0];
        EXPECT_EQ(okno->gra(), nullptr) << p.plik;
        EXPECT_EQ(okno->visible(), p.gra) << p.plik;
        if (!p.gra) {
            // Closed at once: Esc has nothing to end, and nothing is recorded.
            EXPECT_EQ(wynikOkna, platform::kModalCancel) << p.plik;
            d->key(27);
            EXPECT_TRUE(rekordy().empty()) << p.plik;
            EXPECT_FALSE(wyniki->visible()) << p.plik;
        }
        d.reset();
    }
}

TEST_F(GraSpadajace, NothingFallsAndNothingIsShownWhileTheWindowIsMinimised) {
    uruchom();
    d->wait(200);
    auto heights = [&] {
        std::vector<int> y;
        for (int i = 0; i < gra().liczbaObrazkow(); ++i)
            y.push_back(gra().obrazek(i).y);
        return y;
    };
    const std::vector<int> before = heights();
    const int presents = d->backend().presentCount();
    d->backend().setMinimised(true);
    d->wait(1000);
    EXPECT_EQ(heights(), before);
    EXPECT_EQ(d->backend().presentCount(), presents);
    EXPECT_EQ(okno->t_Game.interval(), 250); // a hidden game only looks four times a second
    d->backend().setMinimised(false);
    d->wait(300);
    EXPECT_EQ(okno->t_Game.interval(), 25);
    EXPECT_NE(heights(), before);
    EXPECT_GT(d->backend().presentCount(), presents);
}
