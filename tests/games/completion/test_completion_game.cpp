// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The word-completion game played by clicks on the headless backend with the shipped data set.
#include "completion_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "platform/audio/Sound.hpp"

#include <set>

using namespace completiontest;

TEST_F(GraUzupelnianie, SankiOffersSzAndSAndFillsTheGapOnlyWithTheRightOne) {
    uruchom();
    ASSERT_TRUE(idzDo("sanki"));
    EXPECT_EQ(gra().odpowiedz(), "s");
    ASSERT_EQ(gra().luka(), 0);
    EXPECT_EQ(gra().klocki()[0]->tekst, "question");
    ASSERT_NE(wybor("sz"), nullptr);
    ASSERT_NE(wybor("s"), nullptr);
    EXPECT_EQ(gra().wybor(0)->tekst, "sz");
    EXPECT_EQ(gra().wybor(1)->tekst, "s");
    EXPECT_TRUE(lukaPokazuje("question_s"));
    EXPECT_TRUE(pokazuje(wybor("sz")->x, wybor("sz")->y, "sz_s"));
    EXPECT_TRUE(pokazuje(wybor("s")->x, wybor("s")->y, "s_s"));
    EXPECT_EQ(wybor("s")->pole->bounds().width(), wybor("s")->obraz.width());

    // Wrong: the sz picture stands in the gap for a moment, then the question mark is back.
    sledzLuke({"question_s", "sz_s", "s_red_s"});
    const std::int64_t przed = d->now();
    klikWybor("sz");
    if (!widziane.empty() && widziane.front() == "question_s") widziane.erase(widziane.begin());
    EXPECT_EQ(widziane, (std::vector<std::string>{"sz_s", "question_s"}));
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
    EXPECT_GE(d->now() - przed, 400);
    EXPECT_TRUE(lukaPokazuje("question_s"));
    EXPECT_TRUE(wybor("sz")->pole->visible());
    EXPECT_FALSE(gra().rozwiazane());

    // Right: red s, choices gone, word spoken, one correct.
    widziane.clear();
    klikWybor("s");
    EXPECT_EQ(widziane, (std::vector<std::string>{"s_red_s"}));
    EXPECT_TRUE(lukaPokazuje("s_red_s"));
    EXPECT_TRUE(d->logged("sound Data\\Smd\\sanki.pw"));
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_TRUE(gra().rozwiazane());
    EXPECT_FALSE(wybor("s")->pole->visible());
    EXPECT_FALSE(wybor("sz")->pole->visible());
    // The choices' places show the background again.
    platform::Bitmap tlo;
    wczytajJpeg(tlo, "Data\\Intf\\Spec\\mT_Uzu_s.xji");
    for (const SoundBlock* w : {wybor("s"), wybor("sz")})
        EXPECT_EQ(d->pixel(w->x + 20, w->y + 20), tlo.pixel(w->x + 20, w->y + 20));
    // "pomoc" is hidden and its place cleared.
    EXPECT_EQ(d->pixel(W() - W() / 10 + 35, H() / 7 + 30), tlo.pixel(W() - W() / 10 + 35, H() / 7 + 30));
    // A click where a choice was counts nothing.
    klikWybor("sz");
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    zdjecie("uzu_800_solved.png");
}

TEST_F(GraUzupelnianie, RowAndSlotsInTheSmallMode) {
    uruchom();
    ASSERT_TRUE(idzDo("sanki"));
    const auto& k = gra().klocki();
    ASSERT_EQ(k.size(), 5u);
    const int xs[] = {278, 327, 376, 425, 474};
    const char* nazwy[] = {"question_s", "a_s", "n_s", "k_s", "i_s"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(k[i]->x, xs[i]) << i;
        EXPECT_EQ(k[i]->y, 60) << i;
        EXPECT_TRUE(pokazuje(xs[i], 60, nazwy[i])) << nazwy[i];
    }
    const std::set<std::pair<int, int>> miejsca{{wybor("sz")->x, wybor("sz")->y},
                                                {wybor("s")->x, wybor("s")->y}};
    EXPECT_EQ(miejsca, (std::set<std::pair<int, int>>{{600, 300}, {160, 300}}));
    EXPECT_EQ(wybor("s")->pole->left(), wybor("s")->x);
    EXPECT_EQ(wybor("s")->pole->top(), wybor("s")->y);
    // The picture with its mask at (266, 310).
    platform::Bitmap tlo, maska, obraz;
    wczytajJpeg(tlo, "Data\\Intf\\Spec\\mT_Uzu_s.xji");
    wczytajJpeg(maska, "Data\\Bio\\_matr_ups.xji");
    wczytajJpeg(obraz, "Data\\Bio\\sanki_ups.xji");
    for (platform::Point o : {platform::Point{maska.width() / 2, maska.height() / 2}, platform::Point{2, 2}})
        EXPECT_EQ(d->pixel(266 + o.x, 310 + o.y),
                  (tlo.pixel(266 + o.x, 310 + o.y) | maska.pixel(o.x, o.y)) & obraz.pixel(o.x, o.y));
    zdjecie("uzu_800_open.png");
}

TEST_F(GraUzupelnianie, RowAndSlotsInTheLargeMode) {
    uruchom({.ekran = {1024, 768}});
    std::string cztery;
    for (const char* s : {"szopa", "szachy"})
        if (idzDo(s)) {
            cztery = s;
            break;
        }
    ASSERT_FALSE(cztery.empty());
    const auto& k = gra().klocki();
    ASSERT_EQ(k.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(k[i]->x, 392 + 60 * int(i)) << i;
        EXPECT_EQ(k[i]->y, 76) << i;
    }
    EXPECT_TRUE(lukaPokazuje("question_b"));
    const std::set<std::pair<int, int>> miejsca{{wybor("sz")->x, wybor("sz")->y},
                                                {wybor("s")->x, wybor("s")->y}};
    EXPECT_EQ(miejsca, (std::set<std::pair<int, int>>{{768, 384}, {216, 384}}));
    EXPECT_EQ(gra().pozycjaObrazka(), (platform::Point{338, 388}));
    zdjecie("uzu_1024_open.png");
    rozwiaz();
    EXPECT_TRUE(lukaPokazuje("sz_red_b"));
    zdjecie("uzu_1024_solved.png");
}

TEST_F(GraUzupelnianie, ChoiceSlotsFollowTheDraw) {
    // Both orders occur over the words of a game, and each pair keeps its first unit in wybor1.
    uruchom();
    std::set<int> xPierwszego;
    do {
        ASSERT_NE(gra().wybor(0), nullptr);
        EXPECT_EQ(gra().wybor(0)->tekst, "sz");
        xPierwszego.insert(gra().wybor(0)->x);
        if (gra().jestOstatnie()) break;
        klikNast();
    } while (true);
    EXPECT_EQ(xPierwszego, (std::set<int>{160, 600}));
}

TEST_F(GraUzupelnianie, NavigationButtonsAndTheFirstWordMessage) {
    uruchom();
    EXPECT_EQ(gra().numer(), 0);
    // "pop" is hidden on the first word: its click reaches nothing, the action itself says so.
    klikPop();
    EXPECT_FALSE(d->logged("message-box Info | Pierwsze słowo"));
    wykonaj(okno->A_Poprzedni);
    EXPECT_TRUE(d->logged("message-box Info | Pierwsze słowo"));
    EXPECT_EQ(gra().numer(), 0);
    klikNast();
    EXPECT_EQ(gra().numer(), 1);
    klikPop();
    EXPECT_EQ(gra().numer(), 0);
    while (!gra().jestOstatnie())
        klikNast();
    EXPECT_EQ(gra().numer(), 9);
    EXPECT_FALSE(wyniki->visible());
    klikNast(); // hidden on the last word
    EXPECT_FALSE(wyniki->visible());
    wykonaj(okno->A_Nastepny); // "next" on the last word ends the game
    EXPECT_TRUE(wyniki->visible());
    ASSERT_EQ(rekordy().size(), 1u);
    EXPECT_EQ(rekordy()[0].gameId, 3);
    EXPECT_EQ(rekordy()[0].wynik, 0);
}

TEST_F(GraUzupelnianie, HelpCountsAHintSaysTheWordAndIsHiddenOnASolvedWord) {
    uruchom();
    const std::string slowo = gra().slowo();
    const std::int64_t przed = d->now();
    klikPomoc();
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "1");
    EXPECT_TRUE(d->logged("sound Data\\Smd\\" + slowo + ".pw"));
    EXPECT_EQ(d->now() - przed, platform::sound::wavLengthMs("Data\\Smd\\" + slowo + ".pw"));
    klikPomoc();
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "2");
    rozwiaz();
    klikPomoc(); // hidden now
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "2");
    // Back on the word after moving away: still solved, red, no choices, no help.
    klikNast();
    klikPop();
    EXPECT_TRUE(gra().rozwiazane());
    EXPECT_TRUE(lukaPokazuje(kodLitery(gra().odpowiedz()) + "_red_s"));
    EXPECT_FALSE(gra().wybor(0)->pole->visible());
    klikWybor(gra().odpowiedz());
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    klikPomoc();
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "2");
}

TEST_F(GraUzupelnianie, ADoubleClickOnASolvedWordsPictureReopensIt) {
    uruchom();
    rozwiaz();
    ASSERT_TRUE(gra().rozwiazane());
    const platform::Bitmap& m = gra().maska();
    ASSERT_FALSE(m.empty());
    d->dblClick(266 - 5, 310 + 5); // beside the picture: nothing
    EXPECT_TRUE(gra().rozwiazane());
    d->dblClick(266 + m.width() / 2, 310 + m.height() / 2);
    EXPECT_FALSE(gra().rozwiazane());
    EXPECT_TRUE(lukaPokazuje("question_s"));
    EXPECT_TRUE(gra().wybor(0)->pole->visible());
    EXPECT_TRUE(gra().wybor(1)->pole->visible());
    EXPECT_TRUE(pokazuje(gra().wybor(0)->x, gra().wybor(0)->y, kodLitery(gra().wybor(0)->tekst) + "_s"));
    // Help is back too.
    klikPomoc();
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "1");
    rozwiaz();
    EXPECT_EQ(wvtest::context().statistics->dobre(), "2");
}

TEST_F(GraUzupelnianie, SolvingEveryWordEndsTheGame60sLaterWithResultOne) {
    uruchom({.poziom = POZIOM_MALO});
    ASSERT_EQ(gra().liczbaSlow(), 5);
    while (true) {
        rozwiaz();
        if (gra().jestOstatnie()) break;
        EXPECT_FALSE(gra().timerWlaczony());
        klikNast();
    }
    EXPECT_TRUE(gra().wszystkieZnalezione());
    EXPECT_TRUE(gra().timerWlaczony());
    d->wait(59990);
    EXPECT_FALSE(wyniki->visible());
    d->wait(20);
    EXPECT_TRUE(wyniki->visible());
    ASSERT_EQ(rekordy().size(), 1u);
    const Rekord r = rekordy()[0];
    EXPECT_EQ(r.gameId, 3);
    EXPECT_EQ(r.wynik, 1);
    EXPECT_EQ(r.dobre, 5);
    EXPECT_EQ(r.zle, 0);
    EXPECT_EQ(r.poziom, POZIOM_MALO);
    EXPECT_EQ(r.gloski, GL_SZ);
    // "stop" goes back.
    klikWynikiStop();
    EXPECT_FALSE(okno->visible());
}

TEST_F(GraUzupelnianie, NavigationStopsTheEndTimer) {
    uruchom({.poziom = POZIOM_MALO});
    while (!gra().jestOstatnie())
        klikNast();
    for (int i = 0; i < 5; ++i) {
        rozwiaz();
        if (i < 4) klikPop();
    }
    ASSERT_TRUE(gra().wszystkieZnalezione());
    ASSERT_TRUE(gra().timerWlaczony());
    klikNast();
    EXPECT_FALSE(gra().timerWlaczony());
    d->wait(61000);
    EXPECT_FALSE(wyniki->visible());
}

TEST_F(GraUzupelnianie, EscEndsMidGameWithResultZeroAndAgainDrawsANewGame) {
    uruchom();
    rozwiaz();
    klikNast();
    d->key(27);
    EXPECT_TRUE(wyniki->visible());
    ASSERT_EQ(rekordy().size(), 1u);
    EXPECT_EQ(rekordy()[0].wynik, 0);
    EXPECT_EQ(rekordy()[0].dobre, 1);
    klikWynikiStart();
    EXPECT_FALSE(wyniki->visible());
    EXPECT_TRUE(okno->visible());
    ASSERT_NE(okno->gra(), nullptr);
    EXPECT_EQ(gra().numer(), 0);
    EXPECT_FALSE(gra().rozwiazane());
    EXPECT_FALSE(gra().wszystkieZnalezione());
    EXPECT_TRUE(lukaPokazuje("question_s"));
    EXPECT_EQ(wvtest::context().statistics->dobre(), "0");
    klikStop();
    EXPECT_TRUE(wyniki->visible());
    EXPECT_EQ(rekordy().size(), 2u);
    klikWynikiStop();
    EXPECT_FALSE(okno->visible());
}

namespace {

// A program directory like the shipped one, with some files left out.
void programBez(const std::filesystem::path& cel, const std::vector<std::string>& pominiete) {
    namespace fs = std::filesystem;
    const fs::path zrodlo = WV_SOURCE_DIR;
    fs::create_directories(cel / "Data");
    fs::create_directory_symlink(zrodlo / "Resource", cel / "Resource");
    for (const auto& e : fs::recursive_directory_iterator(zrodlo / "Data")) {
        const fs::path wzgl = fs::relative(e.path(), zrodlo);
        if (e.is_directory()) {
            fs::create_directories(cel / wzgl);
            continue;
        }
        bool pomin = false;
        for (const std::string& p : pominiete)
            pomin = pomin || wzgl.generic_string() == p;
        if (!pomin) fs::create_symlink(e.path(), cel / wzgl);
    }
}

} // namespace

TEST_F(GraUzupelnianie, MissingMaskAndWordSoundKeepTheGamePlayable) {
    const std::filesystem::path prog = katalog.baza() / "prog";
    programBez(prog, {"Data/Bio/_matr_ups.xji", "Data/Smd/sanki.pw"});
    platform::fs::setRoots(prog.string(), katalog.uzytkownik().string());
    uruchom();
    ASSERT_TRUE(gra().maska().empty());
    ASSERT_TRUE(idzDo("sanki"));
    // The picture is ANDed onto the background alone.
    platform::Bitmap tlo, obraz;
    wczytajJpeg(tlo, "Data\\Intf\\Spec\\mT_Uzu_s.xji");
    wczytajJpeg(obraz, "Data\\Bio\\sanki_ups.xji");
    for (platform::Point o : {platform::Point{obraz.width() / 2, obraz.height() / 2}, platform::Point{2, 2}})
        EXPECT_EQ(d->pixel(266 + o.x, 310 + o.y), tlo.pixel(266 + o.x, 310 + o.y) & obraz.pixel(o.x, o.y));
    // Help without a word sound: 1500 ms of silence.
    const std::int64_t przed = d->now();
    klikPomoc();
    EXPECT_EQ(d->now() - przed, 1500);
    EXPECT_EQ(wvtest::context().statistics->podpowiedzi(), "1");
    klikWybor("s");
    EXPECT_EQ(wvtest::context().statistics->dobre(), "1");
    EXPECT_FALSE(d->logged("sound Data\\Smd\\sanki.pw"));
    EXPECT_TRUE(lukaPokazuje("s_red_s"));
    // No mask, no picture area: a double click never reopens.
    d->dblClick(266 + obraz.width() / 2, 310 + obraz.height() / 2);
    EXPECT_TRUE(gra().rozwiazane());
}

TEST_F(GraUzupelnianie, ADoubleClickOnAWrongChoiceIsOneWrongAnswerAndOneTryAgain) {
    uruchom();
    ASSERT_TRUE(idzDo("sanki"));
    auto zachety = [&] {
        return std::count_if(d->log().begin(), d->log().end(), [](const std::string& l) {
            return l.rfind("sound Data\\Intf\\Smd\\b0", 0) == 0;
        });
    };
    const auto przed = zachety();
    const platform::Rect r = wybor("sz")->pole->bounds();
    const int x = okno->left() + (r.left + r.right) / 2, y = okno->top() + (r.top + r.bottom) / 2;
    d->dblClick(x, y);
    EXPECT_EQ(wvtest::context().statistics->zle(), "1");
    EXPECT_EQ(zachety(), przed + 1);
    // A later click of its own is another try.
    d->wait(1000);
    d->click(x, y);
    EXPECT_EQ(wvtest::context().statistics->zle(), "2");
    EXPECT_EQ(zachety(), przed + 2);
    EXPECT_FALSE(gra().rozwiazane());
}
