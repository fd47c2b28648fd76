// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The memory game played by clicks on the headless backend with the shipped data set.
#include "memory_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/FatalError.hpp"

#include "platform/audio/Sound.hpp"

#include <set>

using namespace memorytest;

namespace {

struct Przypadek {
    int poziom;
    platform::Size ekran;
    int pary;
    platform::Point pierwsza; // first cell
    int krokX, krokY, kolumny;
};

class CalaGra : public GraMemory, public ::testing::WithParamInterface<Przypadek> {};

} // namespace

TEST_P(CalaGra, EndsByItselfAfterTheLastPairAndStoresOneRecord) {
    const Przypadek p = GetParam();
    uruchom({.poziom = p.poziom, .ekran = p.ekran});
    ASSERT_EQ(n(), 2 * p.pary);
    EXPECT_EQ(okno->bounds(), platform::Rect::fromSize(0, 0, p.ekran.width, p.ekran.height));
    for (int k = 0; k < n(); ++k) {
        const platform::Point c = gra().komorka(k);
        EXPECT_EQ(c.x, p.pierwsza.x + (k % p.kolumny) * p.krokX) << k;
        EXPECT_EQ(c.y, p.pierwsza.y + (k / p.kolumny) * p.krokY) << k;
        EXPECT_EQ(karta(k).obszar(), platform::Rect::fromSize(c.x, c.y, 70, 94)) << k;
        EXPECT_TRUE(rewers(k)) << k;
    }
    // Every selected word lies on exactly two cards.
    std::multiset<std::string> slowaNaPlanszy;
    for (int k = 0; k < n(); ++k)
        slowaNaPlanszy.insert(karta(k).slowo());
    for (const Word& s : wvtest::context().catalogue->wybrane())
        EXPECT_EQ(slowaNaPlanszy.count(s.stem), 2u) << s.stem;

    // One failed turn, one hint, then every pair.
    const int a = 0, b = inna(0);
    klikKarte(a);
    klikKarte(b);
    d->wait(1200);
    klikPomoc();
    auto wszystkie = pary();
    ASSERT_EQ(int(wszystkie.size()), p.pary);
    for (std::size_t i = 0; i < wszystkie.size(); ++i) {
        klikKarte(wszystkie[i].first);
        klikKarte(wszystkie[i].second);
        if (i + 1 < wszystkie.size()) {
            d->wait(2000);
            EXPECT_FALSE(karta(wszystkie[i].first).naPlanszy());
            EXPECT_FALSE(karta(wszystkie[i].second).naPlanszy());
        }
    }
    // The last pair: its sound has played inside the click; 2000 ms later the game ends by itself.
    const std::string slowo = karta(wszystkie.back().first).slowo();
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + slowo + ".pw"));
    d->wait(1999);
    EXPECT_FALSE(wyniki->visible());
    EXPECT_TRUE(rekordy().empty());
    d->wait(1);
    EXPECT_TRUE(wyniki->visible());
    EXPECT_EQ(gra().pozostalo(), 0);
    EXPECT_TRUE(gra().wszystkieZnalezione());
    for (int k = 0; k < n(); ++k)
        EXPECT_FALSE(karta(k).naPlanszy());

    const auto plik = plikStatystyk();
    ASSERT_EQ(plik.size(), 20u + 44u);
    const Rekord r = rekordy().at(0);
    EXPECT_EQ(r.gameId, 2);
    EXPECT_EQ(r.poziom, p.poziom);
    EXPECT_EQ(r.gloski, GL_SZ | GL_S);
    EXPECT_EQ(r.pozycja, POZ_NAGLOS);
    EXPECT_EQ(r.wynik, 1);
    EXPECT_EQ(r.dobre, p.pary);
    EXPECT_EQ(r.zle, 1);
    EXPECT_EQ(r.podpowiedzi, 1);
    EXPECT_EQ(r.czasSek, int((d->now() - t0) / 1000));
    EXPECT_GT(r.czasSek, 2 * p.pary);
    EXPECT_EQ(wvtest::context().statistics->dobre(), std::to_string(p.pary));

    // "stop" on the results goes back to the main menu.
    klikWynikiStop();
    EXPECT_FALSE(okno->visible());
    EXPECT_EQ(wynikOkna, platform::kModalCancel);
    d->wait(5000);
    EXPECT_EQ(pokazaniaWynikow(), 1);
    EXPECT_EQ(rekordy().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Poziomy, CalaGra,
                         ::testing::Values(Przypadek{1, {800, 600}, 3, {170, 175}, 100, 120, 3},
                                           Przypadek{2, {800, 600}, 6, {130, 135}, 90, 110, 4},
                                           Przypadek{3, {800, 600}, 10, {100, 95}, 85, 105, 5},
                                           Przypadek{1, {1024, 768}, 3, {260, 260}, 100, 120, 3},
                                           Przypadek{2, {1024, 768}, 6, {230, 220}, 90, 110, 4},
                                           Przypadek{3, {1024, 768}, 10, {190, 190}, 85, 105, 5}),
                         [](const auto& info) {
                             return "Poziom" + std::to_string(info.param.poziom) + "_" +
                                    std::to_string(info.param.ekran.width);
                         });

TEST_F(GraMemory, TheWindowCoversTheCentredContentArea) {
    uruchom({.ekran = {1280, 1024}});
    EXPECT_EQ(okno->bounds(), platform::Rect::fromSize(128, 128, 1024, 768));
    EXPECT_TRUE(rewers(0));
    EXPECT_EQ(d->pixel(10, 10), platform::kBlack); // the menu below shows around it
    // The buttons: "pomoc" at (W - W/10, 23H/30), "stop" at (W - W/10 + 4, H - H/9), drawn with their masks.
    platform::Bitmap tloOkna, d1, m1;
    wczytajJpeg(tloOkna, "Data\\Intf\\Spec\\mT_Mem_b.xji");
    EXPECT_NE(d->pixel(128 + 922 + 35, 128 + 588 + 30), tloOkna.pixel(922 + 35, 588 + 30));
    EXPECT_NE(d->pixel(128 + 926 + 35, 128 + 683 + 30), tloOkna.pixel(926 + 35, 683 + 30));
}

TEST_F(GraMemory, AFailedTurnCountsOneWrongAndTurnsBothBackAfter1200Ms) {
    uruchom({.poziom = 2});
    const int a = 0, b = inna(0);
    const int c = inna(b) == a ? partner(b) : inna(b);
    ASSERT_NE(c, a);
    ASSERT_NE(c, b);
    klikKarte(a);
    EXPECT_TRUE(awers(a));
    klikKarte(a); // the turned card again: nothing
    EXPECT_TRUE(awers(a));
    EXPECT_EQ(gra().pierwsza(), &karta(a));
    EXPECT_EQ(wvtest::context().statistics->zle(), "0");
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
    klikKarte(b);
    EXPECT_TRUE(awers(b));
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_FALSE(gra().przyjmuje());
    d->wait(600);
    klikKarte(c); // during the show: ignored
    EXPECT_TRUE(rewers(c));
    EXPECT_TRUE(awers(a));
    d->wait(599);
    EXPECT_TRUE(awers(a));
    EXPECT_TRUE(awers(b));
    d->wait(1);
    EXPECT_TRUE(rewers(a));
    EXPECT_TRUE(rewers(b));
    EXPECT_TRUE(gra().przyjmuje());
    EXPECT_EQ(gra().pierwsza(), nullptr);
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
    // The refused click did not turn a card: the next click starts a turn.
    klikKarte(c);
    EXPECT_EQ(gra().pierwsza(), &karta(c));
}

TEST_F(GraMemory, APairShowsTheBigPictureSaysTheWordAndLeavesAfter2000Ms) {
    uruchom({.poziom = 2});
    const auto [a, b] = pary().at(0);
    const std::string slowo = karta(a).slowo();
    klikKarte(a);
    klikKarte(a); // second click on the turned card: nothing counted
    const std::int64_t przed = d->now();
    klikKarte(b);
    // The word's sound played to its end inside the click.
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + slowo + ".pw"));
    EXPECT_EQ(d->now() - przed, platform::sound::wavLengthMs("Data\\Smd\\" + slowo + ".pw"));
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    EXPECT_EQ(wvtest::context().statistics->zle(), "0");
    EXPECT_EQ(gra().pozostalo(), n() - 2);
    EXPECT_TRUE(awers(a));
    EXPECT_TRUE(awers(b));
    // The big picture at (583, 188): mask OR'ed, picture AND'ed onto the background.
    platform::Bitmap tloOkna, maska, duzy;
    wczytajJpeg(tloOkna, "Data\\Intf\\Spec\\mT_Mem_s.xji");
    wczytajJpeg(maska, "Data\\Bio\\_matr_ms.xji");
    wczytajJpeg(duzy, "Data\\Bio\\" + slowo + "_ms.xji");
    for (platform::Point o :
         {platform::Point{maska.width() / 2, maska.height() / 2}, platform::Point{3, 3}}) {
        const platform::Color oczekiwany =
            (tloOkna.pixel(583 + o.x, 188 + o.y) | maska.pixel(o.x, o.y)) & duzy.pixel(o.x, o.y);
        EXPECT_EQ(d->pixel(583 + o.x, 188 + o.y), oczekiwany) << o.x << "," << o.y;
    }
    // Clicks during the show are ignored.
    const int c = inna(a);
    klikKarte(c);
    EXPECT_EQ(gra().pierwsza(), &karta(a));
    EXPECT_TRUE(rewers(c));
    d->wait(1999);
    EXPECT_TRUE(karta(a).naPlanszy());
    d->wait(1);
    EXPECT_FALSE(karta(a).naPlanszy());
    EXPECT_FALSE(karta(b).naPlanszy());
    // Removed: the background shows through, the big picture is painted over.
    const platform::Point ka = gra().komorka(a);
    EXPECT_EQ(d->pixel(ka.x + 35, ka.y + 47), tloOkna.pixel(ka.x + 35, ka.y + 47));
    EXPECT_EQ(d->pixel(583 + maska.width() / 2, 188 + maska.height() / 2),
              tloOkna.pixel(583 + maska.width() / 2, 188 + maska.height() / 2));
    // Clicking where a removed card was does nothing.
    klikKarte(a);
    EXPECT_EQ(gra().pierwsza(), nullptr);
    klikKarte(c);
    EXPECT_EQ(gra().pierwsza(), &karta(c));
}

TEST_F(GraMemory, AHintShowsTwoCardsOfOneWordFor500MsUnlessACardIsTurned) {
    uruchom({.poziom = 3});
    klikKarte(0);
    auto& tryb = d->backend();
    const std::int64_t teraz = d->now();
    klikPomoc(); // a card is turned: nothing happens, nothing counted
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "0");
    EXPECT_EQ(d->now(), teraz); // no 500 ms show
    EXPECT_TRUE(awers(0));
    klikKarte(partner(0));
    d->wait(2000);

    for (int i = 1; i <= 3; ++i) {
        const std::int64_t przed = d->now();
        klikPomoc();
        EXPECT_EQ(d->now() - przed, 500);
        EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), std::to_string(i));
        // What reached the screen last: the two shown cards, turned back again.
        std::vector<int> pokazane;
        for (const platform::Rect& r : tryb.lastPresented())
            for (int k = 0; k < n(); ++k) {
                const platform::Point c = gra().komorka(k);
                if (r.intersect(platform::Rect::fromSize(c.x, c.y, 70, 94)) ==
                    platform::Rect::fromSize(c.x, c.y, 70, 94))
                    pokazane.push_back(k);
            }
        ASSERT_EQ(pokazane.size(), 2u);
        EXPECT_EQ(karta(pokazane[0]).slowo(), karta(pokazane[1]).slowo());
        EXPECT_TRUE(karta(pokazane[0]).naPlanszy());
        EXPECT_TRUE(karta(pokazane[1]).naPlanszy());
        EXPECT_TRUE(rewers(pokazane[0]));
        EXPECT_TRUE(rewers(pokazane[1]));
        EXPECT_EQ(gra().pierwsza(), nullptr);
        EXPECT_EQ(gra().pozostalo(), n() - 2);
    }
}

TEST_F(GraMemory, EscWithOneCardTurnedShowsTheCountsSoFarAndStoresAnUnfinishedGame) {
    uruchom({.poziom = 1});
    const auto [a, b] = pary().at(0);
    klikKarte(a);
    klikKarte(b);
    d->wait(2000);
    klikKarte(inna(a));
    d->wait(3000);
    d->key(27);
    EXPECT_TRUE(wyniki->visible());
    EXPECT_FALSE(gra().wszystkieZnalezione());
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    EXPECT_EQ(wvtest::context().statistics->zle(), "0");
    const Rekord r = rekordy().at(0);
    EXPECT_EQ(r.wynik, 0);
    EXPECT_EQ(r.dobre, 1);
    EXPECT_EQ(r.zle, 0);
    EXPECT_EQ(r.podpowiedzi, 0);
    EXPECT_EQ(r.poziom, 1);
    EXPECT_EQ(r.czasSek, int((d->now() - t0) / 1000));
    klikWynikiStop();
    EXPECT_FALSE(okno->visible());
}

TEST_F(GraMemory, TheStopButtonEndsTheGameLikeEsc) {
    uruchom({.poziom = 2});
    klikStop();
    EXPECT_TRUE(wyniki->visible());
    EXPECT_EQ(rekordy().at(0).wynik, 0);
    d->key(27); // Esc on the results: back to the menu
    EXPECT_FALSE(okno->visible());
}

TEST_F(GraMemory, TheLastPairEndingWhileTheResultsAreOpenOpensNoSecondResults) {
    uruchom({.poziom = 1});
    auto p = pary();
    for (int i = 0; i < 2; ++i) {
        klikKarte(p[std::size_t(i)].first);
        klikKarte(p[std::size_t(i)].second);
        d->wait(2000);
    }
    klikKarte(p[2].first);
    klikKarte(p[2].second);
    d->key(27); // during the last pair's show
    EXPECT_TRUE(wyniki->visible());
    EXPECT_EQ(pokazaniaWynikow(), 1);
    d->wait(2500); // the pair's timer ends the game again: guarded
    EXPECT_EQ(pokazaniaWynikow(), 1);
    EXPECT_EQ(gra().pozostalo(), 0);
    ASSERT_EQ(rekordy().size(), 1u);
    EXPECT_EQ(rekordy()[0].wynik, 1); // Esc came after the last pair was found
    klikWynikiStop();
    EXPECT_FALSE(okno->visible());
}

TEST_F(GraMemory, StoppingDuringAPairsShowLeavesNoTimerBehindInTheMenu) {
    uruchom({.poziom = 1});
    auto p = pary();
    for (int i = 0; i < 3; ++i) {
        klikKarte(p[std::size_t(i)].first);
        klikKarte(p[std::size_t(i)].second);
        if (i < 2) d->wait(2000);
    }
    d->key(27);
    d->wait(100);
    klikWynikiStop(); // back to the menu before the last pair's 2000 ms ran out
    EXPECT_FALSE(okno->visible());
    d->wait(5000);
    EXPECT_FALSE(wyniki->visible());
    EXPECT_EQ(pokazaniaWynikow(), 1);
    EXPECT_EQ(rekordy().size(), 1u);
}

TEST_F(GraMemory, AgainDealsANewBoardWithNewWordsAndANewRecord) {
    uruchom({.poziom = 2});
    std::vector<std::string> uklad1;
    for (int k = 0; k < n(); ++k)
        uklad1.push_back(karta(k).slowo());
    const auto [a, b] = pary().at(0);
    klikKarte(a);
    klikKarte(b);
    d->wait(2000);
    d->wait(3000);
    d->key(27);
    ASSERT_TRUE(wyniki->visible());
    klikWynikiStart();
    EXPECT_FALSE(wyniki->visible());
    EXPECT_TRUE(okno->visible());
    ASSERT_NE(okno->gra(), nullptr);
    std::vector<std::string> uklad2;
    for (int k = 0; k < n(); ++k) {
        uklad2.push_back(karta(k).slowo());
        EXPECT_TRUE(karta(k).naPlanszy());
        EXPECT_TRUE(rewers(k)) << k;
    }
    EXPECT_EQ(n(), 12);
    EXPECT_NE(uklad1, uklad2);
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
    // The second game is recorded on its own.
    klikStop();
    ASSERT_EQ(rekordy().size(), 2u);
    EXPECT_EQ(rekordy()[0].dobre, 1);
    EXPECT_EQ(rekordy()[1].dobre, 0);
    EXPECT_EQ(rekordy()[1].czasSek, 0);
}

TEST_F(GraMemory, AgainAfterTheLastPairReplacesTheBoardFromInsideItsTimer) {
    uruchom({.poziom = 1});
    for (auto [a, b] : pary()) {
        klikKarte(a);
        klikKarte(b);
        d->wait(2000);
    }
    ASSERT_TRUE(wyniki->visible());
    klikWynikiStart();
    ASSERT_NE(okno->gra(), nullptr);
    EXPECT_EQ(gra().pozostalo(), 6);
    // The new board plays on.
    const auto [a, b] = pary().at(0);
    klikKarte(a);
    klikKarte(b);
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    d->wait(2000);
    EXPECT_FALSE(karta(a).naPlanszy());
    EXPECT_TRUE(d->error().empty());
}

TEST_F(GraMemory, TwoMinutesWithoutAnyInputWriteNoRecord) {
    uruchom({.poziom = 1});
    d->wait(121000);
    klikStop();
    EXPECT_TRUE(wyniki->visible());
    EXPECT_TRUE(rekordy().empty());
    EXPECT_EQ(plikStatystyk().size(), 20u);
}

TEST_F(GraMemory, KeysAndTheWheelKeepTheGameActive) {
    uruchom({.poziom = 1});
    d->wait(100000);
    d->key('a');
    d->wait(100000);
    d->wheel(1);
    d->wait(100000);
    klikStop();
    ASSERT_EQ(rekordy().size(), 1u);
    EXPECT_EQ(rekordy()[0].czasSek, 300);
}

TEST_F(GraMemory, AGameOfCardClicksLongerThanTwoMinutesIsRecorded) {
    uruchom({.poziom = 2});
    const auto p = pary();
    for (int i = 0; i < 4; ++i) {
        d->wait(59000);
        klikKarte(p[std::size_t(i)].first);
        klikKarte(p[std::size_t(i)].second);
    }
    d->wait(10000);
    klikStop();
    ASSERT_EQ(rekordy().size(), 1u);
    EXPECT_EQ(rekordy()[0].dobre, 4);
    EXPECT_EQ(rekordy()[0].wynik, 0);
    EXPECT_GT(rekordy()[0].czasSek, 240);
}

namespace {

// A program directory like the shipped one, with some card pictures missing.
class BrakujaceKarty : public GraMemory, public ::testing::WithParamInterface<const char*> {
protected:
    void przygotuj(const std::string& brakujace) {
        namespace fs = std::filesystem;
        const fs::path zrodlo = WV_SOURCE_DIR, prog = katalog.baza() / "prog";
        fs::create_directories(prog / "Data" / "Sio");
        for (const char* k : {"Data/Bio", "Data/Intf", "Data/Smd", "Resource"})
            fs::create_directory_symlink(zrodlo / k, prog / k);
        for (const auto& plik : fs::directory_iterator(zrodlo / "Data" / "Sio"))
            if (!platform::fs::matchMask(plik.path().filename().string(), brakujace))
                fs::create_symlink(plik.path(), prog / "Data" / "Sio" / plik.path().filename());
        platform::fs::setRoots(prog.string(), katalog.uzytkownik().string());
    }
};

int liczbaKomunikatow(const std::vector<std::string>& log) {
    int k = 0;
    for (const auto& l : log)
        if (l.starts_with("message-box ")) ++k;
    return k;
}

} // namespace

TEST_P(BrakujaceKarty, WithoutABoardTheWindowStillPaintsHintsAndStopsAsAnUnfinishedGame) {
    przygotuj(GetParam());
    uruchom({.poziom = 1});
    EXPECT_EQ(okno->gra(), nullptr);
    EXPECT_EQ(liczbaKomunikatow(d->log()), 1);
    if (GetParam()[0] == 'b') {
        // Without the game's own card back there is no game: missing resources, the window closes at
        // once and nothing is recorded.
        std::string tekst = FatalError(1).komunikat();
        for (std::size_t k; (k = tekst.find('\n')) != std::string::npos;)
            tekst.replace(k, 1, "\\n");
        EXPECT_TRUE(d->logged("message-box Wirowanki Cz.I Demo - Błąd | " + tekst));
        EXPECT_FALSE(okno->visible());
        EXPECT_EQ(wynikOkna, platform::kModalCancel);
        d->key(27);
        EXPECT_TRUE(rekordy().empty());
        EXPECT_FALSE(wyniki->visible());
        return;
    }
    // The message names the missing file.
    const std::string plik = GetParam()[0] == 'b' ? "blkcard0.xji" : "Data/Sio/ss";
    bool nazwany = false;
    for (const auto& l : d->log())
        nazwany = nazwany || (l.starts_with("message-box ") && l.find(plik) != std::string::npos);
    EXPECT_TRUE(nazwany);
    // Background and buttons are on screen; no card is.
    platform::Bitmap tloOkna;
    wczytajJpeg(tloOkna, "Data\\Intf\\Spec\\mT_Mem_s.xji");
    EXPECT_EQ(d->pixel(170 + 35, 175 + 47), tloOkna.pixel(170 + 35, 175 + 47));
    EXPECT_NE(d->pixel(720 + 35, 460 + 30), tloOkna.pixel(720 + 35, 460 + 30));
    d->click(170 + 35, 175 + 47);
    klikPomoc();
    d->wheel(1);
    d->key('x');
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "0");
    klikStop();
    EXPECT_TRUE(wyniki->visible());
    ASSERT_EQ(rekordy().size(), 1u);
    EXPECT_EQ(rekordy()[0].wynik, 0);
    EXPECT_EQ(rekordy()[0].dobre, 0);
    EXPECT_EQ(rekordy()[0].podpowiedzi, 0);
    // "Again" tries a new board, fails the same way, and the window still works.
    klikWynikiStart();
    EXPECT_EQ(okno->gra(), nullptr);
    EXPECT_EQ(liczbaKomunikatow(d->log()), 2);
    d->key(27);
    klikWynikiStop();
    EXPECT_FALSE(okno->visible());
    EXPECT_EQ(rekordy().size(), 2u);
    EXPECT_TRUE(d->error().empty()) << d->error();
}

INSTANTIATE_TEST_SUITE_P(Pliki, BrakujaceKarty, ::testing::Values("blkcard0.xji", "ss*.xji"),
                         [](const auto& info) {
                             return std::string(info.param[0] == 'b' ? "BezRewersu" : "BezMiniatur");
                         });
