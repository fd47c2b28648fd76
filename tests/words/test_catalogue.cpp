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

std::vector<std::string> words(const std::vector<Word>& wordList) {
    std::vector<std::string> out;
    for (const Word& s : wordList)
        out.push_back(s.stem);
    return out;
}

GameSettings settings(std::uint16_t sounds, std::uint16_t position) {
    GameSettings u;
    u.sounds = sounds;
    u.positions = position;
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
    Catalogue words_;
};

} // namespace

TEST_F(CatalogueTest, holdsTheTenWordsInTableOrderWithSpellingFlagsAndSound) {
    const auto& t = words_.table();
    ASSERT_EQ(t.size(), 10u);
    std::vector<std::string> all = kS;
    all.insert(all.end(), kSZ.begin(), kSZ.end());
    EXPECT_EQ(words(t), all);
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
    EXPECT_TRUE(words_.filtered().empty());
    EXPECT_TRUE(words_.chosenWords().empty());
}

TEST_F(CatalogueTest, filterKeepsTheWordsSharingASoundAndAPosition) {
    words_.filter(settings(kSoundSz, kPositionNaglos));
    EXPECT_EQ(words(words_.filtered()), kSZ);

    // With the contrast sound: all ten, S words first.
    words_.filter(settings(kSoundSz | kSoundS, kPositionNaglos));
    std::vector<std::string> all = kS;
    all.insert(all.end(), kSZ.begin(), kSZ.end());
    EXPECT_EQ(words(words_.filtered()), all);

    // No word of the table stands inside or at the end of a word.
    words_.filter(settings(0x00FF, kPositionSrodglos));
    EXPECT_TRUE(words_.filtered().empty());
    words_.filter(settings(0x00FF, kPositionWyglos));
    EXPECT_TRUE(words_.filtered().empty());

    // A position alone or a sound alone is not enough; quantity plays no part.
    words_.filter(settings(0, 0x7000));
    EXPECT_TRUE(words_.filtered().empty());
    words_.filter(settings(kSoundSz, 0));
    EXPECT_TRUE(words_.filtered().empty());
    GameSettings u = settings(kSoundS, 0x7000);
    u.level = 3;
    words_.filter(u);
    EXPECT_EQ(words(words_.filtered()), kS);
}

TEST_F(CatalogueTest, drawingAllFiveOfFiveGivesEachOnceAndSixFails) {
    words_.filter(settings(kSoundSz, kPositionNaglos));
    std::set<std::vector<std::string>> orders;
    for (int secondOfDay = 1000; secondOfDay < 1020; ++secondOfDay) {
        clock.setLocalSeconds(secondOfDay);
        ASSERT_TRUE(words_.drawRandom(5));
        auto drawn = words(words_.chosenWords());
        orders.insert(drawn);
        std::sort(drawn.begin(), drawn.end());
        EXPECT_EQ(drawn, kSZ);
    }
    EXPECT_GT(orders.size(), 1u) << "the order is random";

    EXPECT_FALSE(words_.drawRandom(6));
    EXPECT_TRUE(words_.chosenWords().empty());
    for (const Word& s : words_.filtered())
        EXPECT_EQ(s.flags & kWordChosen, 0) << s.stem;
}

TEST_F(CatalogueTest, drawsWithinOneSecondRepeatTheSameSequence) {
    words_.filter(settings(kSoundSz | kSoundS, kPositionNaglos));
    clock.setLocalSeconds(777);
    ASSERT_TRUE(words_.drawRandom(4));
    const auto first = words(words_.chosenWords());
    ASSERT_TRUE(words_.drawRandom(4));
    EXPECT_EQ(words(words_.chosenWords()), first);

    bool differs = false;
    for (int secondOfDay = 778; secondOfDay < 800 && !differs; ++secondOfDay) {
        clock.setLocalSeconds(secondOfDay);
        ASSERT_TRUE(words_.drawRandom(4));
        differs = words(words_.chosenWords()) != first;
    }
    EXPECT_TRUE(differs) << "another second, another draw";
}

TEST_F(CatalogueTest, drawnWordsAreMarkedInTheSelectionAndTheFilteredListUntilCleared) {
    words_.filter(settings(kSoundSz | kSoundS, kPositionNaglos));
    clock.setLocalSeconds(4242);
    ASSERT_TRUE(words_.drawRandom(3));
    ASSERT_EQ(words_.chosenWords().size(), 3u);
    std::set<std::string> drawn;
    for (const Word& s : words_.chosenWords()) {
        EXPECT_EQ(s.flags, 0x8000 | (jestS(s.stem) ? 0x1010 : 0x1001)) << s.stem;
        drawn.insert(s.stem);
    }
    for (const Word& s : words_.filtered())
        EXPECT_EQ((s.flags & 0x8000) != 0, drawn.count(s.stem) == 1) << s.stem;
    // The table itself is never marked.
    for (const Word& s : words_.table())
        EXPECT_EQ(s.flags & 0x8000, 0);

    words_.clearChoice();
    EXPECT_TRUE(words_.chosenWords().empty());
    for (const Word& s : words_.filtered())
        EXPECT_EQ(s.flags & 0x8000, 0) << s.stem;

    ASSERT_TRUE(words_.drawRandom(3));
    words_.filter(settings(kSoundSz | kSoundS, kPositionNaglos));
    EXPECT_TRUE(words_.chosenWords().empty());
    for (const Word& s : words_.filtered())
        EXPECT_EQ(s.flags & 0x8000, 0) << s.stem;
}

TEST_F(CatalogueTest, groupedDrawAlternatesBetweenTheSoundAndItsContrast) {
    GameSettings game = settings(kSoundSz, kPositionNaglos);
    GameSettings wordFilter = game;
    wordFilter.addContrast();
    words_.filter(wordFilter);
    const auto& wordList = words_.filtered();
    ASSERT_EQ(wordList.size(), 10u);

    int alternating = 0;
    for (int secondOfDay = 0; secondOfDay < 100; ++secondOfDay) {
        clock.setLocalSeconds(500000 + secondOfDay * 7);
        ASSERT_TRUE(words_.drawRandomGroups(5, game));
        const auto drawn = words(words_.chosenWords());
        ASSERT_EQ(drawn.size(), 5u);
        ASSERT_EQ(std::set<std::string>(drawn.begin(), drawn.end()).size(), 5u);
        // The first two draws cannot collide: an S word, then an SZ word.
        EXPECT_TRUE(jestS(drawn[0]));
        EXPECT_FALSE(jestS(drawn[1]));
        bool ok = true;
        for (int k = 0; k < 5; ++k) {
            const bool inGroup = jestS(drawn[k]) == (k % 2 == 0);
            ok = ok && inGroup;
            if (inGroup) continue;
            // Out of its group only by probing past the marked words at the end of the group.
            const int start = (k % 2 == 0) ? 4 : 9;
            const auto at = std::find_if(wordList.begin(), wordList.end(),
                                         [&](const Word& s) { return s.stem == drawn[k]; });
            const int idx = int(at - wordList.begin());
            for (int i = start; i != idx; i = (i + 1) % 10)
                EXPECT_NE(std::find(drawn.begin(), drawn.begin() + k, wordList[i].stem), drawn.begin() + k)
                    << "draw " << k << " skipped the unmarked " << wordList[i].stem;
        }
        alternating += ok;
    }
    EXPECT_GE(alternating, 70) << "S, SZ, S, SZ, S in all but the rare probing cases";
}

TEST_F(CatalogueTest, groupedDrawFailsOnTooFewWords) {
    words_.filter(settings(kSoundSz, kPositionNaglos));
    EXPECT_FALSE(words_.drawRandomGroups(6, settings(kSoundSz, kPositionNaglos)));
    EXPECT_TRUE(words_.chosenWords().empty());
    // An empty filtered list fails before any grouping, whatever the settings.
    words_.filter(settings(0, 0));
    EXPECT_FALSE(words_.drawRandomGroups(1, GameSettings()));
    EXPECT_TRUE(words_.drawRandomGroups(0, GameSettings()));
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
        words_.filter(settings(kSoundSz, kPositionNaglos));
        ASSERT_TRUE(words_.drawRandom(5));
    }
    const Word& chosenWords(const std::string& word) {
        for (const Word& s : words_.chosenWords())
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
    EXPECT_FALSE(words_.loadPictures("_ups.xji")) << "szopa has no small picture";
    for (const Word& s : words_.chosenWords()) {
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
    EXPECT_TRUE(words_.loadPictures("_ups.xji"));
    EXPECT_FALSE(words_.loadPictures("_upb.xji")) << "no large-screen pictures at all";
}

TEST_F(CataloguePictures, largeAndSmallPicturesLoadSeparately) {
    for (const std::string& w : kSZ)
        if (w != "szelki") jpeg("Data/Bio/" + w + "_upb.xji", 24, 20, platform::rgb(20, 180, 20));
    jpeg("Data/Sio/sszachy.xji", 10, 12, platform::rgb(240, 240, 20));
    drawAllSz();

    EXPECT_FALSE(words_.loadLargePictures("_upb.xji"));
    expectColour(*chosenWords("szampan").picture, 24, 20, platform::rgb(20, 180, 20));
    EXPECT_TRUE(chosenWords("szelki").picture->empty());
    EXPECT_FALSE(chosenWords("szampan").thumbnail) << "small pictures untouched";

    EXPECT_FALSE(words_.loadThumbnails());
    expectColour(*chosenWords("szachy").thumbnail, 10, 12, platform::rgb(240, 240, 20));
    EXPECT_TRUE(chosenWords("szuflada").thumbnail->empty());
    expectColour(*chosenWords("szampan").picture, 24, 20, platform::rgb(20, 180, 20));

    // Without a selection there is nothing to miss.
    words_.clearChoice();
    EXPECT_TRUE(words_.loadThumbnails());
}

TEST_F(CataloguePictures, copiesSharePicturesAndClearingTheSelectionFreesThem) {
    jpeg("Data/Sio/sszachy.xji", 8, 8, platform::rgb(10, 10, 10));
    drawAllSz();
    words_.loadThumbnails();
    const Word copy = chosenWords("szachy");
    EXPECT_EQ(copy.thumbnail.get(), chosenWords("szachy").thumbnail.get());

    std::weak_ptr<platform::Bitmap> picture = chosenWords("szachy").thumbnail;
    std::weak_ptr<platform::Bitmap> isEmpty = chosenWords("szopa").thumbnail;
    words_.clearChoice();
    EXPECT_TRUE(isEmpty.expired());
    EXPECT_FALSE(picture.expired()) << "our own copy still holds it";
    EXPECT_EQ(copy.thumbnail->width(), 8);

    std::weak_ptr<platform::Bitmap> second;
    {
        drawAllSz();
        words_.loadThumbnails();
        second = chosenWords("szachy").thumbnail;
    }
    ASSERT_TRUE(words_.drawRandom(2));
    EXPECT_TRUE(second.expired()) << "a new draw releases the previous pictures";
}

TEST_F(CataloguePictures, aBrokenPictureRaisesInsteadOfLoadingGarbage) {
    coretest::TempRoots::write(roots.program() / "Data/Sio/sszachy.xji",
                               std::string("\xFF\xD8\xFF garbage", 12));
    drawAllSz();
    EXPECT_ANY_THROW(words_.loadThumbnails());
}

TEST(ShippedCatalogue, everyWordHasItsPicturesInBothSizesAndItsSound) {
    coretest::TempRoots roots;
    platform::fs::setRoots(WV_SOURCE_DIR, roots.user().string());
    coretest::ManualClock clock;
    Catalogue words;
    GameSettings everything;
    everything.sounds = 0x00FF;
    everything.positions = 0x7000;
    words.filter(everything);
    ASSERT_TRUE(words.drawRandom(10));
    EXPECT_TRUE(words.loadPictures("_ups.xji"));
    for (const Word& s : words.chosenWords()) {
        EXPECT_FALSE(s.picture->empty()) << s.stem;
        EXPECT_FALSE(s.thumbnail->empty()) << s.stem;
        EXPECT_TRUE(platform::fs::exists(s.soundFile)) << s.soundFile;
    }
    const int small = words.chosenWords()[0].picture->width();
    EXPECT_TRUE(words.loadLargePictures("_upb.xji"));
    EXPECT_GT(words.chosenWords()[0].picture->width(), small) << "the large-screen picture";
    EXPECT_TRUE(words.loadThumbnails());
}

TEST(SpellingUnits, DigraphsAndPolishLettersAreSingleUnitsAndOneIsMarked) {
    using J = SoundUnit;
    EXPECT_EQ(splitSounds("_sz,a,ch,y,"),
              (std::vector<J>{{"sz", true}, {"a", false}, {"ch", false}, {"y", false}}));
    EXPECT_EQ(splitSounds("_s,a,m,o,ch,ó,d,"), (std::vector<J>{{"s", true},
                                                               {"a", false},
                                                               {"m", false},
                                                               {"o", false},
                                                               {"ch", false},
                                                               {"ó", false},
                                                               {"d", false}}));
    // A missing final comma, doubled commas and a bare marker give no empty units.
    EXPECT_EQ(splitSounds("_s,,ę,p"), (std::vector<J>{{"s", true}, {"ę", false}, {"p", false}}));
    EXPECT_EQ(splitSounds("_,a,"), (std::vector<J>{{"a", false}}));
    EXPECT_TRUE(splitSounds("").empty());
    // Every catalogue word has exactly one marked unit.
    Catalogue catalogue;
    for (const Word& s : catalogue.table()) {
        int marked = 0;
        for (const J& j : splitSounds(s.spelling))
            marked += j.isMarked;
        EXPECT_EQ(marked, 1) << s.stem;
    }
}

namespace {

struct BadFile {
    const char* description;
    std::string text;
    int row;
    const char* fragment;
};

Word word(const std::string& word, std::uint16_t flags) {
    Word s;
    s.stem = word;
    s.flags = flags;
    return s;
}

} // namespace

TEST(CatalogueFile, readsWordsInFileOrderWhateverTheLineEndsSpacingAndSpellingOfNames) {
    const std::string text = "\xEF\xBB\xBF# komentarz\r\n"
                             "\r\n"
                             "szafa\t_sz,a,f,a,\tSZ\tnagłos\r\n"
                             "  grzyb   g,_rz,y,b   Ż/RZ  ŚRÓDGŁOS\n"
                             "roza r,ó,_ż,a ż srodglos\n"
                             "noc n,o,_c c Wygłos";
    const auto words = readCatalogue(text, "k.txt");
    ASSERT_EQ(words.size(), 4u);
    const struct {
        const char* stem;
        const char* spelling;
        std::uint16_t flags;
    } expected[] = {{"szafa", "_sz,a,f,a,", 0x1001},
                    {"grzyb", "g,_rz,y,b,", 0x2002},
                    {"roza", "r,ó,_ż,a,", 0x2002},
                    {"noc", "n,o,_c,", 0x4040}};
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(words[i].stem, expected[i].stem);
        EXPECT_EQ(words[i].spelling, expected[i].spelling);
        EXPECT_EQ(words[i].flags, expected[i].flags) << words[i].stem;
        EXPECT_EQ(words[i].soundFile, std::string("Data\\Smd\\") + expected[i].stem + ".pw");
        EXPECT_FALSE(words[i].picture);
    }
}

TEST(CatalogueFile, eachFaultNamesTheFileAndItsLine) {
    const std::string ok = "szafa _sz,a,f,a SZ nagłos\n";
    const BadFile scenarios[] = {
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
    for (const BadFile& p : scenarios) {
        SCOPED_TRACE(p.description);
        try {
            readCatalogue(p.text, "Data\\slowa.txt");
            ADD_FAILURE() << "accepted";
        } catch (const CatalogueError& e) {
            const std::string text = e.what();
            const std::string start = "Plik Data\\slowa.txt, wiersz " + std::to_string(p.row) + ": ";
            EXPECT_EQ(text.substr(0, start.size()), start) << text;
            EXPECT_NE(text.find(p.fragment), std::string::npos) << text;
        }
    }
}

TEST(CatalogueFile, theFileReplacesTheBuiltInTableOnlyWhenItExists) {
    coretest::TempRoots roots;
    EXPECT_EQ(createCatalogue()->table().size(), 10u);
    coretest::TempRoots::write(roots.program() / "Data/slowa.txt", "czapka _cz,a,p,k,a CZ nagłos\n");
    const auto catalogue = createCatalogue();
    ASSERT_EQ(catalogue->table().size(), 1u);
    EXPECT_EQ(catalogue->table()[0].stem, "czapka");
    coretest::TempRoots::write(roots.program() / "Data/slowa.txt", "czapka _cz,a,p,k,a CZ\n");
    EXPECT_THROW(createCatalogue(), CatalogueError);
    coretest::TempRoots::write(roots.program() / "Data/slowa.txt", std::string(2 << 20, '#'));
    try {
        createCatalogue();
        ADD_FAILURE() << "a 2 MB file accepted";
    } catch (const CatalogueError& e) {
        EXPECT_EQ(std::string(e.what()), "Plik Data/slowa.txt, wiersz 1: plik jest za duży (najwyżej 1 MB).");
    }
}

TEST(GroupedDraw, alternatesOverTheSoundsOfAnUnequalInterleavedListAndNeverRepeatsAWord) {
    coretest::ManualClock clock;
    // SZ 6, S 2, CZ 1, C 4 words, the sounds mixed in the list.
    const std::uint16_t order[] = {kSoundS,  kSoundSz, kSoundSz, kSoundC,  kSoundS, kSoundSz, kSoundC,
                                   kSoundCz, kSoundSz, kSoundC,  kSoundSz, kSoundC, kSoundSz};
    std::vector<Word> table;
    for (std::uint16_t f : order)
        table.push_back(word("w" + std::to_string(table.size()), f | kPositionSrodglos));
    Catalogue catalogue(table);
    GameSettings u = settings(kSoundSz | kSoundCz, kPositionSrodglos);
    GameSettings wordFilter = u;
    wordFilter.addContrast();
    catalogue.filter(wordFilter);
    ASSERT_EQ(catalogue.filtered().size(), 13u);
    // Groups in order of first appearance (S, SZ, C, CZ); an exhausted group gives up its turn.
    const std::uint16_t groups[13] = {kSoundS,  kSoundSz, kSoundC,  kSoundCz, kSoundS,  kSoundSz, kSoundC,
                                      kSoundSz, kSoundC,  kSoundSz, kSoundC,  kSoundSz, kSoundSz};
    for (int n : {5, 13}) {
        for (int secondOfDay = 0; secondOfDay < 40; ++secondOfDay) {
            clock.setLocalSeconds(90000 + secondOfDay);
            ASSERT_TRUE(catalogue.drawRandomGroups(n, u));
            const auto& choice = catalogue.chosenWords();
            ASSERT_EQ(int(choice.size()), n);
            std::set<std::string> different;
            for (int k = 0; k < n; ++k) {
                EXPECT_EQ(choice[k].flags & 0x00FF, groups[k])
                    << "draw " << k << " at second " << secondOfDay;
                different.insert(choice[k].stem);
            }
            EXPECT_EQ(int(different.size()), n);
        }
    }
    EXPECT_FALSE(catalogue.drawRandomGroups(14, u));

    // The built-in table alternates S and SZ strictly, also when a group's last words are taken.
    Catalogue builtIn;
    builtIn.filter(settings(kSoundSz | kSoundS, kPositionNaglos));
    for (int secondOfDay = 0; secondOfDay < 60; ++secondOfDay) {
        clock.setLocalSeconds(123000 + secondOfDay);
        ASSERT_TRUE(builtIn.drawRandomGroups(10, settings(kSoundSz, kPositionNaglos)));
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(builtIn.chosenWords()[k].flags & 0x00FF, k % 2 == 0 ? kSoundS : kSoundSz) << k;
    }
}

TEST(ImpossibleCells, onlyChoicesNoPolishWordCanFillGetTheirOwnMessage) {
    const struct {
        std::uint16_t sounds, positions;
        const char* start; // empty: message 3 stays
    } scenarios[] = {
        {kSoundZz, kPositionWyglos, "Na końcu polskich słów Ż/RZ brzmi jak SZ"},
        {kSoundDzz, kPositionWyglos, "Na końcu polskich słów DŻ brzmi jak CZ"},
        {kSoundZz | kSoundDzz, kPositionWyglos, "Na końcu polskich słów Ż/RZ i DŻ brzmią jak SZ i CZ"},
        {kSoundDzz, kPositionSrodglos, "W środku polskich słów głoska DŻ"},
        {kSoundDzz, kPositionSrodglos | kPositionWyglos, "Głoska DŻ w środku polskich słów"},
        {kSoundZz | kSoundDzz, kPositionSrodglos | kPositionWyglos, ""},
        {kSoundDzz, kPositionNaglos | kPositionWyglos, ""},
        {kSoundSz | kSoundZz, kPositionWyglos, ""},
        {kSoundCz, kPositionWyglos, ""},
        {0, kPositionWyglos, ""},
        {kSoundZz, 0, ""},
    };
    for (const auto& p : scenarios) {
        const std::string text = emptyFieldsMessage(settings(p.sounds, p.positions));
        const std::string expectedValue = p.start;
        EXPECT_EQ(text.substr(0, expectedValue.size()), expectedValue) << p.sounds << " " << p.positions;
        EXPECT_EQ(text.empty(), expectedValue.empty()) << p.sounds << " " << p.positions;
    }
}

TEST(TooFewWords, theRefusalNamesTheFilteredSoundsAndPositionsWithBothCounts) {
    const struct {
        std::uint16_t sounds, positions;
        std::size_t available;
        int needed;
        const char* text;
    } scenarios[] = {
        {kSoundCz, kPositionWyglos, 5, 15, "Słów z głoską CZ w wygłosie jest 5, a ta gra potrzebuje 15."},
        {kSoundDzz, kPositionNaglos | kPositionSrodglos, 11, 12,
         "Słów z głoską DŻ w nagłosie i śródgłosie jest 11, a ta gra potrzebuje 12."},
        {kSoundSz | kSoundS, kPositionWyglos, 9, 10,
         "Słów z głoskami SZ i S w wygłosie jest 9, a ta gra potrzebuje 10."},
        {kSoundZz | kSoundCz | kSoundDzz, kPositionNaglos | kPositionSrodglos | kPositionWyglos, 0, 15,
         "Słów z głoskami Ż/RZ, CZ i DŻ we wszystkich pozycjach jest 0, a ta gra potrzebuje 15."},
        {kSoundDzz | kSoundDz, kPositionSrodglos | kPositionWyglos, 7, 10,
         "Słów z głoskami DŻ i DZ w śródgłosie i wygłosie jest 7, a ta gra potrzebuje 10."},
        {0, kPositionNaglos, 0, 5, "Proszę wybrać większą liczbę głosek lub pozycji."},
        {kSoundSz, 0, 0, 5, "Proszę wybrać większą liczbę głosek lub pozycji."},
    };
    for (const auto& p : scenarios)
        EXPECT_EQ(tooFewWordsMessage(settings(p.sounds, p.positions), p.available, p.needed), p.text);

    // Words switched off for the child are left out of the draw and counted in the refusal.
    Catalogue catalogue;
    catalogue.filter(settings(kSoundSz, kPositionNaglos));
    const std::size_t all = catalogue.filtered().size();
    ASSERT_GE(all, 3u);
    std::set<std::string> off{catalogue.filtered()[0].stem, catalogue.filtered()[2].stem, "nie_ma_takiego"};
    catalogue.setSwitchedOff(off);
    catalogue.filter(settings(kSoundSz, kPositionNaglos));
    EXPECT_EQ(catalogue.filtered().size(), all - 2);
    EXPECT_EQ(catalogue.switchedOffMatches(), 2u);
    for (const Word& w : catalogue.filtered())
        EXPECT_EQ(off.count(w.stem), 0u) << w.stem;
    const struct {
        std::size_t off;
        const char* tail;
    } counts[] = {{1, "; 1 słowo wyłączono dla tego dziecka."},
                  {2, "; 2 słowa wyłączono dla tego dziecka."},
                  {5, "; 5 słów wyłączono dla tego dziecka."},
                  {12, "; 12 słów wyłączono dla tego dziecka."},
                  {22, "; 22 słowa wyłączono dla tego dziecka."}};
    for (const auto& c : counts)
        EXPECT_EQ(tooFewWordsMessage(settings(kSoundCz, kPositionWyglos), 5, 15, c.off),
                  std::string("Słów z głoską CZ w wygłosie jest 5, a ta gra potrzebuje 15") + c.tail);
}
