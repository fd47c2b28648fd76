// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "../core/CoreTestSupport.hpp"
#include "core/GameSettings.hpp"
#include "platform/graphics/Image.hpp"
#include "words/Catalogue.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

std::vector<std::string> slowa(const std::vector<Word>& lista) {
    std::vector<std::string> out;
    for (const Word& s : lista)
        out.push_back(s.stem);
    return out;
}

GameSettings ustawienia(std::uint16_t gloski, std::uint16_t pozycja) {
    GameSettings u;
    u.sounds = gloski;
    u.positions = pozycja;
    return u;
}

const std::vector<std::string> kS = {"sakiewka", "samochod", "sanki", "sep", "sum"};
const std::vector<std::string> kSZ = {"szachy", "szampan", "szelki", "szopa", "szuflada"};

bool jestS(const std::string& w) {
    return std::count(kS.begin(), kS.end(), w) == 1;
}

class CatalogueTest : public ::testing::Test {
protected:
    coretest::ManualClock clock;
    Catalogue slowa_;
};

} // namespace

TEST_F(CatalogueTest, holdsTheTenWordsInTableOrderWithSpellingFlagsAndSound) {
    const auto& t = slowa_.tabela();
    ASSERT_EQ(t.size(), 10u);
    std::vector<std::string> all = kS;
    all.insert(all.end(), kSZ.begin(), kSZ.end());
    EXPECT_EQ(slowa(t), all);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(t[i].flags, 0x1010) << t[i].stem;
    for (int i = 5; i < 10; ++i)
        EXPECT_EQ(t[i].flags, 0x1001) << t[i].stem;
    EXPECT_EQ(t[1].spelling, "_s,a,m,o,ch,ó,d,");
    EXPECT_EQ(t[3].spelling, "_s,ę,p,");
    EXPECT_EQ(t[5].spelling, "_sz,a,ch,y,");
    EXPECT_EQ(t[9].spelling, "_sz,u,f,l,a,d,a,");
    EXPECT_EQ(t[1].soundFile, "Data\\Smd\\samochod.pw");
    for (const Word& s : t) {
        // Every unit is closed by a comma and exactly one carries the mark.
        EXPECT_EQ(s.spelling.back(), ',') << s.stem;
        EXPECT_EQ(std::count(s.spelling.begin(), s.spelling.end(), '_'), 1) << s.stem;
        EXPECT_EQ(s.spelling.front(), '_') << s.stem;
        EXPECT_FALSE(s.picture);
        EXPECT_FALSE(s.thumbnail);
    }
    EXPECT_TRUE(slowa_.przefiltrowane().empty());
    EXPECT_TRUE(slowa_.wybrane().empty());
}

TEST_F(CatalogueTest, filterKeepsTheWordsSharingASoundAndAPosition) {
    slowa_.filtruj(ustawienia(GL_SZ, POZ_NAGLOS));
    EXPECT_EQ(slowa(slowa_.przefiltrowane()), kSZ);

    // With the contrast sound: all ten, S words first.
    slowa_.filtruj(ustawienia(GL_SZ | GL_S, POZ_NAGLOS));
    std::vector<std::string> all = kS;
    all.insert(all.end(), kSZ.begin(), kSZ.end());
    EXPECT_EQ(slowa(slowa_.przefiltrowane()), all);

    // No word of the table stands inside or at the end of a word.
    slowa_.filtruj(ustawienia(0x00FF, POZ_SRODGLOS));
    EXPECT_TRUE(slowa_.przefiltrowane().empty());
    slowa_.filtruj(ustawienia(0x00FF, POZ_WYGLOS));
    EXPECT_TRUE(slowa_.przefiltrowane().empty());

    // A position alone or a sound alone is not enough; quantity plays no part.
    slowa_.filtruj(ustawienia(0, 0x7000));
    EXPECT_TRUE(slowa_.przefiltrowane().empty());
    slowa_.filtruj(ustawienia(GL_SZ, 0));
    EXPECT_TRUE(slowa_.przefiltrowane().empty());
    GameSettings u = ustawienia(GL_S, 0x7000);
    u.level = 3;
    slowa_.filtruj(u);
    EXPECT_EQ(slowa(slowa_.przefiltrowane()), kS);
}

TEST_F(CatalogueTest, drawingAllFiveOfFiveGivesEachOnceAndSixFails) {
    slowa_.filtruj(ustawienia(GL_SZ, POZ_NAGLOS));
    std::set<std::vector<std::string>> orders;
    for (int sekunda = 1000; sekunda < 1020; ++sekunda) {
        clock.setLocalSeconds(sekunda);
        ASSERT_TRUE(slowa_.losuj(5));
        auto drawn = slowa(slowa_.wybrane());
        orders.insert(drawn);
        std::sort(drawn.begin(), drawn.end());
        EXPECT_EQ(drawn, kSZ);
    }
    EXPECT_GT(orders.size(), 1u) << "the order is random";

    EXPECT_FALSE(slowa_.losuj(6));
    EXPECT_TRUE(slowa_.wybrane().empty());
    for (const Word& s : slowa_.przefiltrowane())
        EXPECT_EQ(s.flags & SLOWO_WYBRANE, 0) << s.stem;
}

TEST_F(CatalogueTest, drawsWithinOneSecondRepeatTheSameSequence) {
    slowa_.filtruj(ustawienia(GL_SZ | GL_S, POZ_NAGLOS));
    clock.setLocalSeconds(777);
    ASSERT_TRUE(slowa_.losuj(4));
    const auto first = slowa(slowa_.wybrane());
    ASSERT_TRUE(slowa_.losuj(4));
    EXPECT_EQ(slowa(slowa_.wybrane()), first);

    bool differs = false;
    for (int sekunda = 778; sekunda < 800 && !differs; ++sekunda) {
        clock.setLocalSeconds(sekunda);
        ASSERT_TRUE(slowa_.losuj(4));
        differs = slowa(slowa_.wybrane()) != first;
    }
    EXPECT_TRUE(differs) << "another second, another draw";
}

TEST_F(CatalogueTest, drawnWordsAreMarkedInTheSelectionAndTheFilteredListUntilCleared) {
    slowa_.filtruj(ustawienia(GL_SZ | GL_S, POZ_NAGLOS));
    clock.setLocalSeconds(4242);
    ASSERT_TRUE(slowa_.losuj(3));
    ASSERT_EQ(slowa_.wybrane().size(), 3u);
    std::set<std::string> drawn;
    for (const Word& s : slowa_.wybrane()) {
        EXPECT_EQ(s.flags, 0x8000 | (jestS(s.stem) ? 0x1010 : 0x1001)) << s.stem;
        drawn.insert(s.stem);
    }
    for (const Word& s : slowa_.przefiltrowane())
        EXPECT_EQ((s.flags & 0x8000) != 0, drawn.count(s.stem) == 1) << s.stem;
    // The table itself is never marked.
    for (const Word& s : slowa_.tabela())
        EXPECT_EQ(s.flags & 0x8000, 0);

    slowa_.wyczyscWybor();
    EXPECT_TRUE(slowa_.wybrane().empty());
    for (const Word& s : slowa_.przefiltrowane())
        EXPECT_EQ(s.flags & 0x8000, 0) << s.stem;

    ASSERT_TRUE(slowa_.losuj(3));
    slowa_.filtruj(ustawienia(GL_SZ | GL_S, POZ_NAGLOS));
    EXPECT_TRUE(slowa_.wybrane().empty());
    for (const Word& s : slowa_.przefiltrowane())
        EXPECT_EQ(s.flags & 0x8000, 0) << s.stem;
}

TEST_F(CatalogueTest, groupedDrawAlternatesBetweenTheSoundAndItsContrast) {
    GameSettings gra = ustawienia(GL_SZ, POZ_NAGLOS);
    GameSettings filtr = gra;
    filtr.dodajKontrast();
    slowa_.filtruj(filtr);
    const auto& lista = slowa_.przefiltrowane();
    ASSERT_EQ(lista.size(), 10u);

    int alternating = 0;
    for (int sekunda = 0; sekunda < 100; ++sekunda) {
        clock.setLocalSeconds(500000 + sekunda * 7);
        ASSERT_TRUE(slowa_.losujGrupami(5, gra));
        const auto drawn = slowa(slowa_.wybrane());
        ASSERT_EQ(drawn.size(), 5u);
        ASSERT_EQ(std::set<std::string>(drawn.begin(), drawn.end()).size(), 5u);
        // The first two draws cannot collide: an S word, then an SZ word.
        EXPECT_TRUE(jestS(drawn[0]));
        EXPECT_FALSE(jestS(drawn[1]));
        bool ok = true;
        for (int k = 0; k < 5; ++k) {
            const bool wGrupie = jestS(drawn[k]) == (k % 2 == 0);
            ok = ok && wGrupie;
            if (wGrupie) continue;
            // Out of its group only by probing past the marked words at the end of the group.
            const int start = (k % 2 == 0) ? 4 : 9;
            const auto at =
                std::find_if(lista.begin(), lista.end(), [&](const Word& s) { return s.stem == drawn[k]; });
            const int idx = int(at - lista.begin());
            for (int i = start; i != idx; i = (i + 1) % 10)
                EXPECT_NE(std::find(drawn.begin(), drawn.begin() + k, lista[i].stem), drawn.begin() + k)
                    << "draw " << k << " skipped the unmarked " << lista[i].stem;
        }
        alternating += ok;
    }
    EXPECT_GE(alternating, 70) << "S, SZ, S, SZ, S in all but the rare probing cases";
}

TEST_F(CatalogueTest, groupedDrawFailsOnTooFewWords) {
    slowa_.filtruj(ustawienia(GL_SZ, POZ_NAGLOS));
    EXPECT_FALSE(slowa_.losujGrupami(6, ustawienia(GL_SZ, POZ_NAGLOS)));
    EXPECT_TRUE(slowa_.wybrane().empty());
    // An empty filtered list fails before any grouping, whatever the settings.
    slowa_.filtruj(ustawienia(0, 0));
    EXPECT_FALSE(slowa_.losujGrupami(1, GameSettings()));
    EXPECT_TRUE(slowa_.losujGrupami(0, GameSettings()));
}

namespace {

class CataloguePictures : public CatalogueTest {
protected:
    void jpeg(const std::string& relative, int w, int h, platform::Color c) {
        platform::Bitmap b(w, h, platform::PixelFormat::Bgr24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                b.setPixel(x, y, c);
        coretest::TempRoots::write(roots.program() / relative, platform::image::encodeJpeg(b, 95));
    }
    void drawAllSz() {
        slowa_.filtruj(ustawienia(GL_SZ, POZ_NAGLOS));
        ASSERT_TRUE(slowa_.losuj(5));
    }
    const Word& wybrane(const std::string& word) {
        for (const Word& s : slowa_.wybrane())
            if (s.stem == word) return s;
        throw std::runtime_error("not drawn: " + word);
    }

    coretest::TempRoots roots;
};

void expectColour(const platform::Bitmap& b, int w, int h, platform::Color c) {
    ASSERT_EQ(b.width(), w);
    ASSERT_EQ(b.height(), h);
    EXPECT_EQ(b.format(), platform::PixelFormat::Bgr24);
    const platform::Color p = b.pixel(w / 2, h / 2);
    EXPECT_NEAR(platform::redOf(p), platform::redOf(c), 8);
    EXPECT_NEAR(platform::greenOf(p), platform::greenOf(c), 8);
    EXPECT_NEAR(platform::blueOf(p), platform::blueOf(c), 8);
}

} // namespace

TEST_F(CataloguePictures, bothPicturesLoadOnlyWhenBothFilesExist) {
    for (const std::string& w : kSZ) {
        jpeg("Data/Bio/" + w + "_ups.xji", 40, 30, platform::rgb(200, 40, 40));
        if (w != "szopa") jpeg("Data/Sio/s" + w + ".xji", 16, 16, platform::rgb(40, 40, 200));
    }
    drawAllSz();
    EXPECT_FALSE(slowa_.wczytajObrazki("_ups.xji")) << "szopa has no small picture";
    for (const Word& s : slowa_.wybrane()) {
        ASSERT_TRUE(s.picture && s.thumbnail) << s.stem;
        if (s.stem == "szopa") {
            EXPECT_TRUE(s.picture->empty());
            EXPECT_TRUE(s.thumbnail->empty());
        } else {
            expectColour(*s.picture, 40, 30, platform::rgb(200, 40, 40));
            expectColour(*s.thumbnail, 16, 16, platform::rgb(40, 40, 200));
        }
    }

    jpeg("Data/Sio/sszopa.xji", 16, 16, platform::rgb(40, 40, 200));
    drawAllSz();
    EXPECT_TRUE(slowa_.wczytajObrazki("_ups.xji"));
    EXPECT_FALSE(slowa_.wczytajObrazki("_upb.xji")) << "no large-screen pictures at all";
}

TEST_F(CataloguePictures, largeAndSmallPicturesLoadSeparately) {
    for (const std::string& w : kSZ)
        if (w != "szelki") jpeg("Data/Bio/" + w + "_upb.xji", 24, 20, platform::rgb(20, 180, 20));
    jpeg("Data/Sio/sszachy.xji", 10, 12, platform::rgb(240, 240, 20));
    drawAllSz();

    EXPECT_FALSE(slowa_.wczytajObrazkiDuze("_upb.xji"));
    expectColour(*wybrane("szampan").picture, 24, 20, platform::rgb(20, 180, 20));
    EXPECT_TRUE(wybrane("szelki").picture->empty());
    EXPECT_FALSE(wybrane("szampan").thumbnail) << "small pictures untouched";

    EXPECT_FALSE(slowa_.wczytajMiniatury());
    expectColour(*wybrane("szachy").thumbnail, 10, 12, platform::rgb(240, 240, 20));
    EXPECT_TRUE(wybrane("szuflada").thumbnail->empty());
    expectColour(*wybrane("szampan").picture, 24, 20, platform::rgb(20, 180, 20));

    // Without a selection there is nothing to miss.
    slowa_.wyczyscWybor();
    EXPECT_TRUE(slowa_.wczytajMiniatury());
}

TEST_F(CataloguePictures, copiesSharePicturesAndClearingTheSelectionFreesThem) {
    jpeg("Data/Sio/sszachy.xji", 8, 8, platform::rgb(10, 10, 10));
    drawAllSz();
    slowa_.wczytajMiniatury();
    const Word kopia = wybrane("szachy");
    EXPECT_EQ(kopia.thumbnail.get(), wybrane("szachy").thumbnail.get());

    std::weak_ptr<platform::Bitmap> obraz = wybrane("szachy").thumbnail;
    std::weak_ptr<platform::Bitmap> pusty = wybrane("szopa").thumbnail;
    slowa_.wyczyscWybor();
    EXPECT_TRUE(pusty.expired());
    EXPECT_FALSE(obraz.expired()) << "our own copy still holds it";
    EXPECT_EQ(kopia.thumbnail->width(), 8);

    std::weak_ptr<platform::Bitmap> drugi;
    {
        drawAllSz();
        slowa_.wczytajMiniatury();
        drugi = wybrane("szachy").thumbnail;
    }
    ASSERT_TRUE(slowa_.losuj(2));
    EXPECT_TRUE(drugi.expired()) << "a new draw releases the previous pictures";
}

TEST_F(CataloguePictures, aBrokenPictureRaisesInsteadOfLoadingGarbage) {
    coretest::TempRoots::write(roots.program() / "Data/Sio/sszachy.xji",
                               std::string("\xFF\xD8\xFF garbage", 12));
    drawAllSz();
    EXPECT_ANY_THROW(slowa_.wczytajMiniatury());
}

TEST(ShippedCatalogue, everyWordHasItsPicturesInBothSizesAndItsSound) {
    coretest::TempRoots roots;
    platform::fs::setRoots(WV_SOURCE_DIR, roots.user().string());
    coretest::ManualClock clock;
    Catalogue slowa;
    GameSettings wszystko;
    wszystko.sounds = 0x00FF;
    wszystko.positions = 0x7000;
    slowa.filtruj(wszystko);
    ASSERT_TRUE(slowa.losuj(10));
    EXPECT_TRUE(slowa.wczytajObrazki("_ups.xji"));
    for (const Word& s : slowa.wybrane()) {
        EXPECT_FALSE(s.picture->empty()) << s.stem;
        EXPECT_FALSE(s.thumbnail->empty()) << s.stem;
        EXPECT_TRUE(platform::fs::exists(s.soundFile)) << s.soundFile;
    }
    const int maly = slowa.wybrane()[0].picture->width();
    EXPECT_TRUE(slowa.wczytajObrazkiDuze("_upb.xji"));
    EXPECT_GT(slowa.wybrane()[0].picture->width(), maly) << "the large-screen picture";
    EXPECT_TRUE(slowa.wczytajMiniatury());
}

TEST(SpellingUnits, DigraphsAndPolishLettersAreSingleUnitsAndOneIsMarked) {
    using J = SoundUnit;
    EXPECT_EQ(podzielGlosy("_sz,a,ch,y,"),
              (std::vector<J>{{"sz", true}, {"a", false}, {"ch", false}, {"y", false}}));
    EXPECT_EQ(podzielGlosy("_s,a,m,o,ch,ó,d,"), (std::vector<J>{{"s", true},
                                                                {"a", false},
                                                                {"m", false},
                                                                {"o", false},
                                                                {"ch", false},
                                                                {"ó", false},
                                                                {"d", false}}));
    // A missing final comma, doubled commas and a bare marker give no empty units.
    EXPECT_EQ(podzielGlosy("_s,,ę,p"), (std::vector<J>{{"s", true}, {"ę", false}, {"p", false}}));
    EXPECT_EQ(podzielGlosy("_,a,"), (std::vector<J>{{"a", false}}));
    EXPECT_TRUE(podzielGlosy("").empty());
    // Every catalogue word has exactly one marked unit.
    Catalogue katalog;
    for (const Word& s : katalog.tabela()) {
        int marked = 0;
        for (const J& j : podzielGlosy(s.spelling))
            marked += j.oznaczona;
        EXPECT_EQ(marked, 1) << s.stem;
    }
}

namespace {

struct ZlyPlik {
    const char* opis;
    std::string tekst;
    int wiersz;
    const char* fragment;
};

Word slowo(const std::string& word, std::uint16_t flags) {
    Word s;
    s.stem = word;
    s.flags = flags;
    return s;
}

} // namespace

TEST(CatalogueFile, readsWordsInFileOrderWhateverTheLineEndsSpacingAndSpellingOfNames) {
    const std::string tekst = "\xEF\xBB\xBF# komentarz\r\n"
                              "\r\n"
                              "szafa\t_sz,a,f,a,\tSZ\tnagłos\r\n"
                              "  grzyb   g,_rz,y,b   Ż/RZ  ŚRÓDGŁOS\n"
                              "roza r,ó,_ż,a ż srodglos\n"
                              "noc n,o,_c c Wygłos";
    const auto slowa = czytajKatalog(tekst, "k.txt");
    ASSERT_EQ(slowa.size(), 4u);
    const struct {
        const char* stem;
        const char* spelling;
        std::uint16_t flags;
    } oczekiwane[] = {{"szafa", "_sz,a,f,a,", 0x1001},
                      {"grzyb", "g,_rz,y,b,", 0x2002},
                      {"roza", "r,ó,_ż,a,", 0x2002},
                      {"noc", "n,o,_c,", 0x4040}};
    for (std::size_t i = 0; i < slowa.size(); ++i) {
        EXPECT_EQ(slowa[i].stem, oczekiwane[i].stem);
        EXPECT_EQ(slowa[i].spelling, oczekiwane[i].spelling);
        EXPECT_EQ(slowa[i].flags, oczekiwane[i].flags) << slowa[i].stem;
        EXPECT_EQ(slowa[i].soundFile, std::string("Data\\Smd\\") + oczekiwane[i].stem + ".pw");
        EXPECT_FALSE(slowa[i].picture);
    }
}

TEST(CatalogueFile, eachFaultNamesTheFileAndItsLine) {
    const std::string ok = "szafa _sz,a,f,a SZ nagłos\n";
    const ZlyPlik przypadki[] = {
        {"unknown sound", ok + "sowa _s,o,w,a SX nagłos\n", 2, "nieznany dźwięk „SX”"},
        {"unknown position", "sowa _s,o,w,a S koniec\n", 1, "nieznana pozycja „koniec”"},
        {"no marked unit", ok + "sowa s,o,w,a S nagłos\n", 2, "brak ćwiczonej głoski"},
        {"two marked units", "dzdzownica _dż,_dż,o,w,n,i,c,a DŻ nagłos\n", 1, "więcej niż jedna"},
        {"no tile", ok + "\nsowa _s,o,w,ä S nagłos\n", 3, "nie ma kafelka z literą „ä”"},
        {"duplicate stem", ok + "# x\n" + ok, 3, "słowo „szafa” już było"},
        {"empty file", "", 1, "nie zawiera żadnego słowa"},
        {"only comments", "# a\n\n# b\n", 3, "nie zawiera żadnego słowa"},
        {"binary junk", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 1, "niedozwolone znaki"},
        {"control character", ok + "so\x01wa _s,o,w,a S nagłos\n", 2, "niedozwolone znaki"},
        {"broken UTF-8", ok + "sowa _s,o,w,a S nag\xC5os\n", 2, "niedozwolone znaki"},
        {"missing field", "sowa _s,o,w,a S\n", 1, "oczekiwane 4 pola"},
        {"extra field", "sowa _s,o,w,a S nagłos x\n", 1, "oczekiwane 4 pola"},
        {"stem with capitals", "Sowa _s,o,w,a S nagłos\n", 1, "tylko małe litery"},
        {"stem with Polish letter", "żaba _ż,a,b,a Ż nagłos\n", 1, "tylko małe litery"},
        {"mark on the wrong unit", "sanki _sz,a,n,k,i S nagłos\n", 1, "„sz” nie pasuje do dźwięku „S”"},
        {"rz spelled for ż", "roza r,ó,_rz,a Ż śródgłos\n", 1, "nie pasuje"},
        {"voiced sound at the end", "noz n,o,_ż Ż wygłos\n", 1, "brzmi bezdźwięcznie"},
        {"empty unit", "sowa _s,,o,w,a S nagłos\n", 1, "pusta głoska"},
        {"bare mark", "sowa _,s,o,w,a S nagłos\n", 1, "znak _ bez głoski"},
        {"too many units", "dlugie _s,a,a,a,a,a,a,a,a,a S nagłos\n", 1, "za dużo głosek (najwyżej 9)"},
    };
    for (const ZlyPlik& p : przypadki) {
        SCOPED_TRACE(p.opis);
        try {
            czytajKatalog(p.tekst, "Data\\slowa.txt");
            ADD_FAILURE() << "accepted";
        } catch (const CatalogueError& e) {
            const std::string tekst = e.what();
            const std::string poczatek = "Plik Data\\slowa.txt, wiersz " + std::to_string(p.wiersz) + ": ";
            EXPECT_EQ(tekst.substr(0, poczatek.size()), poczatek) << tekst;
            EXPECT_NE(tekst.find(p.fragment), std::string::npos) << tekst;
        }
    }
}

TEST(CatalogueFile, theFileReplacesTheBuiltInTableOnlyWhenItExists) {
    coretest::TempRoots roots;
    EXPECT_EQ(utworzKatalog()->tabela().size(), 10u);
    coretest::TempRoots::write(roots.program() / "Data/slowa.txt", "czapka _cz,a,p,k,a CZ nagłos\n");
    const auto katalog = utworzKatalog();
    ASSERT_EQ(katalog->tabela().size(), 1u);
    EXPECT_EQ(katalog->tabela()[0].stem, "czapka");
    coretest::TempRoots::write(roots.program() / "Data/slowa.txt", "czapka _cz,a,p,k,a CZ\n");
    EXPECT_THROW(utworzKatalog(), CatalogueError);
    coretest::TempRoots::write(roots.program() / "Data/slowa.txt", std::string(2 << 20, '#'));
    try {
        utworzKatalog();
        ADD_FAILURE() << "a 2 MB file accepted";
    } catch (const CatalogueError& e) {
        EXPECT_EQ(std::string(e.what()), "Plik Data/slowa.txt, wiersz 1: plik jest za duży (najwyżej 1 MB).");
    }
}

TEST(GroupedDraw, alternatesOverTheSoundsOfAnUnequalInterleavedListAndNeverRepeatsAWord) {
    coretest::ManualClock clock;
    // SZ 6, S 2, CZ 1, C 4 words, the sounds mixed in the list.
    const std::uint16_t kolejnosc[] = {GL_S,  GL_SZ, GL_SZ, GL_C,  GL_S, GL_SZ, GL_C,
                                       GL_CZ, GL_SZ, GL_C,  GL_SZ, GL_C, GL_SZ};
    std::vector<Word> tabela;
    for (std::uint16_t f : kolejnosc)
        tabela.push_back(slowo("w" + std::to_string(tabela.size()), f | POZ_SRODGLOS));
    Catalogue katalog(tabela);
    GameSettings u = ustawienia(GL_SZ | GL_CZ, POZ_SRODGLOS);
    GameSettings filtr = u;
    filtr.dodajKontrast();
    katalog.filtruj(filtr);
    ASSERT_EQ(katalog.przefiltrowane().size(), 13u);
    // Groups in order of first appearance (S, SZ, C, CZ); an exhausted group gives up its turn.
    const std::uint16_t grupy[13] = {GL_S,  GL_SZ, GL_C,  GL_CZ, GL_S,  GL_SZ, GL_C,
                                     GL_SZ, GL_C,  GL_SZ, GL_C,  GL_SZ, GL_SZ};
    for (int n : {5, 13}) {
        for (int sekunda = 0; sekunda < 40; ++sekunda) {
            clock.setLocalSeconds(90000 + sekunda);
            ASSERT_TRUE(katalog.losujGrupami(n, u));
            const auto& wybor = katalog.wybrane();
            ASSERT_EQ(int(wybor.size()), n);
            std::set<std::string> rozne;
            for (int k = 0; k < n; ++k) {
                EXPECT_EQ(wybor[k].flags & 0x00FF, grupy[k]) << "draw " << k << " at second " << sekunda;
                rozne.insert(wybor[k].stem);
            }
            EXPECT_EQ(int(rozne.size()), n);
        }
    }
    EXPECT_FALSE(katalog.losujGrupami(14, u));

    // The built-in table alternates S and SZ strictly, also when a group's last words are taken.
    Catalogue wbudowany;
    wbudowany.filtruj(ustawienia(GL_SZ | GL_S, POZ_NAGLOS));
    for (int sekunda = 0; sekunda < 60; ++sekunda) {
        clock.setLocalSeconds(123000 + sekunda);
        ASSERT_TRUE(wbudowany.losujGrupami(10, ustawienia(GL_SZ, POZ_NAGLOS)));
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(wbudowany.wybrane()[k].flags & 0x00FF, k % 2 == 0 ? GL_S : GL_SZ) << k;
    }
}

TEST(ImpossibleCells, onlyChoicesNoPolishWordCanFillGetTheirOwnMessage) {
    const struct {
        std::uint16_t gloski, pozycje;
        const char* poczatek; // empty: message 3 stays
    } przypadki[] = {
        {GL_ZZ, POZ_WYGLOS, "Na końcu polskich słów Ż/RZ brzmi jak SZ"},
        {GL_DZZ, POZ_WYGLOS, "Na końcu polskich słów DŻ brzmi jak CZ"},
        {GL_ZZ | GL_DZZ, POZ_WYGLOS, "Na końcu polskich słów Ż/RZ i DŻ brzmią jak SZ i CZ"},
        {GL_DZZ, POZ_SRODGLOS, "W środku polskich słów głoska DŻ"},
        {GL_DZZ, POZ_SRODGLOS | POZ_WYGLOS, "Głoska DŻ w środku polskich słów"},
        {GL_ZZ | GL_DZZ, POZ_SRODGLOS | POZ_WYGLOS, ""},
        {GL_DZZ, POZ_NAGLOS | POZ_WYGLOS, ""},
        {GL_SZ | GL_ZZ, POZ_WYGLOS, ""},
        {GL_CZ, POZ_WYGLOS, ""},
        {0, POZ_WYGLOS, ""},
        {GL_ZZ, 0, ""},
    };
    for (const auto& p : przypadki) {
        const std::string tekst = komunikatPustychPol(ustawienia(p.gloski, p.pozycje));
        const std::string oczekiwany = p.poczatek;
        EXPECT_EQ(tekst.substr(0, oczekiwany.size()), oczekiwany) << p.gloski << " " << p.pozycje;
        EXPECT_EQ(tekst.empty(), oczekiwany.empty()) << p.gloski << " " << p.pozycje;
    }
}

TEST(TooFewWords, theRefusalNamesTheFilteredSoundsAndPositionsWithBothCounts) {
    const struct {
        std::uint16_t gloski, pozycje;
        std::size_t jest;
        int potrzeba;
        const char* tekst;
    } przypadki[] = {
        {GL_CZ, POZ_WYGLOS, 5, 15, "Słów z głoską CZ w wygłosie jest 5, a ta gra potrzebuje 15."},
        {GL_DZZ, POZ_NAGLOS | POZ_SRODGLOS, 11, 12,
         "Słów z głoską DŻ w nagłosie i śródgłosie jest 11, a ta gra potrzebuje 12."},
        {GL_SZ | GL_S, POZ_WYGLOS, 9, 10,
         "Słów z głoskami SZ i S w wygłosie jest 9, a ta gra potrzebuje 10."},
        {GL_ZZ | GL_CZ | GL_DZZ, POZ_NAGLOS | POZ_SRODGLOS | POZ_WYGLOS, 0, 15,
         "Słów z głoskami Ż/RZ, CZ i DŻ we wszystkich pozycjach jest 0, a ta gra potrzebuje 15."},
        {GL_DZZ | GL_DZ, POZ_SRODGLOS | POZ_WYGLOS, 7, 10,
         "Słów z głoskami DŻ i DZ w śródgłosie i wygłosie jest 7, a ta gra potrzebuje 10."},
        {0, POZ_NAGLOS, 0, 5, "Proszę wybrać większą liczbę głosek lub pozycji."},
        {GL_SZ, 0, 0, 5, "Proszę wybrać większą liczbę głosek lub pozycji."},
    };
    for (const auto& p : przypadki)
        EXPECT_EQ(komunikatZaMaloSlow(ustawienia(p.gloski, p.pozycje), p.jest, p.potrzeba), p.tekst);
}
