// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The shipped data set: every file the program loads exists in both layouts and decodes as its kind.
#include "core/GameSettings.hpp"
#include "games/completion/CompletionGame.hpp"
#include "games/labelling/LabellingGame.hpp"
#include "platform/core/Bitmap.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/system/Fs.hpp"
#include "words/Catalogue.hpp"
#include "words/LetterTiles.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace platform;

namespace {

struct DataRoot : ::testing::Test {
    void SetUp() override {
        fs::setRoots(WV_SOURCE_DIR, "/tmp");
        catalogue = createCatalogue();
        for (const Word& s : catalogue->table())
            kWords.push_back(s.stem);
    }
    void TearDown() override { fs::setRoots("", ""); }

    // The shipped catalogue: the catalogue file beside the data.
    std::unique_ptr<Catalogue> catalogue;
    std::vector<std::string> kWords;

    static Bitmap jpeg(const std::string& gamePath) {
        EXPECT_TRUE(fs::exists(gamePath)) << gamePath;
        return image::decodeJpeg(fs::readAll(gamePath), gamePath);
    }
    static Bitmap bmp(const std::string& gamePath) {
        EXPECT_TRUE(fs::exists(gamePath)) << gamePath;
        return image::decodeBmp(fs::readAll(gamePath), gamePath);
    }
    static Bitmap resource(const std::string& name) {
        const std::string path = fs::resolveInProgramDir("Resource/" + name + ".bmp");
        return image::loadBmpFile(path);
    }
};

std::uint32_t le32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (std::uint32_t(d[at + 3]) << 24);
}
std::uint16_t le16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return std::uint16_t(d[at] | (d[at + 1] << 8));
}

// Checks the fmt chunk of a RIFF WAVE file: PCM, mono, 22 050 Hz, 16 bits, with some sound in it.
void expectSpeechWav(const std::string& gamePath) {
    SCOPED_TRACE(gamePath);
    ASSERT_TRUE(fs::exists(gamePath));
    const auto d = fs::readAll(gamePath);
    ASSERT_GE(d.size(), 44u);
    ASSERT_EQ(std::memcmp(d.data(), "RIFF", 4), 0);
    ASSERT_EQ(std::memcmp(d.data() + 8, "WAVE", 4), 0);
    std::size_t at = 12;
    bool fmt = false;
    std::uint32_t dataSize = 0;
    while (at + 8 <= d.size()) {
        const std::uint32_t size = le32(d, at + 4);
        if (std::memcmp(d.data() + at, "fmt ", 4) == 0) {
            fmt = true;
            EXPECT_EQ(le16(d, at + 8), 1);  // PCM
            EXPECT_EQ(le16(d, at + 10), 1); // mono
            EXPECT_EQ(le32(d, at + 12), 22050u);
            EXPECT_EQ(le16(d, at + 22), 16);
        } else if (std::memcmp(d.data() + at, "data", 4) == 0) {
            dataSize = size;
            EXPECT_LE(at + 8 + size, d.size());
        }
        at += 8 + size + (size & 1);
    }
    EXPECT_TRUE(fmt);
    EXPECT_GT(dataSize, 2u * 22050 / 5) << "shorter than 0.2 s";
    EXPECT_LT(dataSize, 2u * 22050 * 4) << "longer than 4 s";
}

} // namespace

TEST_F(DataRoot, WordPicturesAndTheirMasksMatchInSize) {
    for (const char* family : {"_ms", "_mb", "_ups", "_upb"}) {
        const Bitmap mask = jpeg(std::string("Data\\Bio\\_matr") + family + ".xji");
        ASSERT_FALSE(mask.empty()) << family;
        for (const std::string& w : kWords) {
            const Bitmap pic = jpeg(std::string("Data\\Bio\\") + w + family + ".xji");
            EXPECT_EQ(pic.size(), mask.size()) << w << family;
            EXPECT_EQ(pic.format(), PixelFormat::Bgr24);
        }
    }
    // Mode 4 pictures are the larger ones.
    EXPECT_GT(jpeg("Data\\Bio\\_matr_mb.xji").width(), jpeg("Data\\Bio\\_matr_ms.xji").width());
    EXPECT_GT(jpeg("Data\\Bio\\_matr_upb.xji").width(), jpeg("Data\\Bio\\_matr_ups.xji").width());
}

TEST_F(DataRoot, SmallPicturesAndCardsShareOneSizeThatFitsTheBoards) {
    const Bitmap back = jpeg("Data\\Sio\\blkcard0.xji");
    for (const std::string& w : kWords)
        EXPECT_EQ(jpeg(std::string("Data\\Sio\\s") + w + ".xji").size(), back.size()) << w;
    for (const char* card : {"allred", "blkcard1", "squest"})
        EXPECT_FALSE(jpeg(std::string("Data\\Sio\\") + card + ".xji").empty());
    // Memory's tightest board steps 85 across and 105 down; cards must not overlap.
    EXPECT_LT(back.width(), 85);
    EXPECT_LT(back.height(), 105);
    EXPECT_GT(back.width(), 40);
}

TEST_F(DataRoot, ExactlyTheWordFilesLieInTheWordDirectories) {
    std::vector<std::string> sio, bio, smd;
    for (const std::string& w : kWords) {
        sio.push_back(std::string("s") + w + ".xji");
        for (const char* f : {"_ms", "_mb", "_ups", "_upb"})
            bio.push_back(std::string(w) + f + ".xji");
        smd.push_back(std::string(w) + ".pw");
    }
    for (const char* c : {"allred.xji", "blkcard0.xji", "blkcard1.xji", "squest.xji"})
        sio.push_back(c);
    for (const char* m : {"_matr_mb.xji", "_matr_ms.xji", "_matr_upb.xji", "_matr_ups.xji"})
        bio.push_back(m);
    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(fs::list("Data\\Sio", "*.*")), sorted(sio));
    EXPECT_EQ(sorted(fs::list("Data\\Bio", "*.*")), sorted(bio));
    EXPECT_EQ(sorted(fs::list("Data\\Smd", "*.*")), sorted(smd));
}

TEST_F(DataRoot, SpeechIsSixteenBitMonoAt22050) {
    for (const std::string& w : kWords)
        expectSpeechWav(std::string("Data\\Smd\\") + w + ".pw");
    for (int i = 0; i <= 7; ++i)
        expectSpeechWav("Data\\Intf\\Smd\\g0" + std::to_string(i) + ".pw");
    for (int i = 0; i <= 4; ++i)
        expectSpeechWav("Data\\Intf\\Smd\\b0" + std::to_string(i) + ".pw");
}

TEST_F(DataRoot, InterfacePicturesExistForBothLayouts) {
    const Size area[2] = {{800, 600}, {1024, 768}};
    const char* suffix[2] = {"_s", "_b"};
    for (int m = 0; m < 2; ++m) {
        const std::string s = suffix[m];
        SCOPED_TRACE(s);
        EXPECT_EQ(jpeg("Data\\Intf\\Spec\\mT_m0" + s + ".xji").size(), area[m]);
        EXPECT_EQ(jpeg("Data\\Intf\\Spec\\mT_Mem" + s + ".xji").size(), area[m]);
        EXPECT_EQ(jpeg("Data\\Intf\\Spec\\mT_Pod" + s + "1.xji").size(), area[m]);
        EXPECT_EQ(jpeg("Data\\Intf\\Spec\\mT_Uzu" + s + ".xji").size(), area[m]);
        EXPECT_EQ(bmp("Data\\Intf\\Spec\\mT_Spa" + s + ".xbi").size(), area[m]);
        const Bitmap tab1 = bmp("Data\\Intf\\Spec\\mT_m1" + s + ".xbi");
        for (int t = 2; t <= 5; ++t)
            EXPECT_EQ(bmp("Data\\Intf\\Spec\\mT_m" + std::to_string(t) + s + ".xbi").size(), tab1.size());
        // The strip's hit-test bands reach y = 435 (mode 2) and 570 (mode 4).
        EXPECT_GE(tab1.height(), m == 0 ? 436 : 571);
        EXPECT_EQ(jpeg("Data\\Intf\\Spec\\Ring" + s + ".xji").size(),
                  jpeg("Data\\Intf\\Spec\\RingM" + s + ".xji").size());
        const std::string voice = std::string("Data\\Intf\\Spec\\R") + (m == 0 ? "2" : "3") + "_glos";
        const Bitmap db = bmp(voice + "_DB.xbi");
        for (const char* k : {"_DB", "_DW", "_AB", "_AW"}) {
            const Bitmap b = bmp(voice + k + ".xbi");
            EXPECT_EQ(b.format(), PixelFormat::Bgr24) << k;
            EXPECT_EQ(b.size(), db.size()) << k;
        }
        EXPECT_EQ(jpeg(std::string("Data\\Intf\\Spec\\R") + (m == 0 ? "2" : "3") + "_oprogT.xji").size(),
                  area[m]);
    }
    EXPECT_EQ(jpeg("Data\\Intf\\Spec\\RU_mnlz1B.xji").size(), jpeg("Data\\Intf\\Spec\\RU_mnlz1W.xji").size());
    for (const char* r : {"mStatsB", "mStatsM", "mStatsG"})
        EXPECT_EQ(jpeg(std::string("Data\\Intf\\Spec\\") + r + ".xji").size(), (Size{600, 450}));
    EXPECT_EQ(jpeg("Data\\Intf\\Spec\\mKom_kp.xji").size(), (Size{420, 250}));
    EXPECT_FALSE(jpeg("Data\\Intf\\Spec\\mT_Splh.xji").empty());
}

TEST_F(DataRoot, ButtonsHaveFourStatesAndAMaskOfTheirSize) {
    for (const char* b : {"oprogramie", "wyjdz", "start", "rrec", "rodtworz", "rstop", "up", "down", "pomoc",
                          "stop", "nast", "pop"}) {
        SCOPED_TRACE(b);
        const Bitmap mask = resource(std::string(b) + "_M");
        for (const char* state : {"_D", "_A", "_"})
            EXPECT_EQ(resource(std::string(b) + state).size(), mask.size());
    }
    // Game buttons answer inside a fixed 70 x 60 area.
    for (const char* b : {"pomoc", "stop", "nast", "pop"}) {
        const Bitmap mask = resource(std::string(b) + "_M");
        EXPECT_LE(mask.width(), 70) << b;
        EXPECT_LE(mask.height(), 60) << b;
    }
    EXPECT_EQ(resource("scroll_D").size(), resource("scroll_M").size());
}

TEST_F(DataRoot, CheckButtonsCaptionsAndLetterTilesExist) {
    for (const char* prefix : {"s_", "b_"})
        for (const char* n : {"malo", "srednio_g", "duzo_g", "SZ", "ZZ_g", "CZ_g", "DZZ_g", "naglos",
                              "srodglos_g", "wyglos_g"}) {
            const std::string base = std::string(prefix) + n;
            EXPECT_EQ(resource(base + "_D").size(), resource(base + "_A").size()) << base;
        }
    EXPECT_EQ(resource("S_CHBUT_D").size(), resource("S_CHBUT_A").size());
    for (const char* s : {"_s", "_b"})
        for (const char* n : {"nap_ilzadan", "nap_gloski", "nap_pozycja"})
            EXPECT_FALSE(resource(std::string(n) + s).empty());

    // Every letter of the Polish alphabet and every digraph, by its picture code.
    const char* codes[] = {"a", "aa", "b",  "c", "cc",  "d",  "e",  "ee", "f",  "g",    "h",   "i",  "j",
                           "k", "l",  "ll", "m", "n",   "nn", "o",  "oo", "p",  "r",    "s",   "ss", "t",
                           "u", "w",  "y",  "z", "zzz", "zz", "ch", "cz", "dz", "dzzz", "dzz", "rz", "sz"};
    for (const char* c : codes) {
        SCOPED_TRACE(c);
        EXPECT_EQ(resource(std::string(c) + "_s").size(), (Size{44, 44}));
        EXPECT_EQ(resource(std::string(c) + "_b").size(), (Size{55, 55}));
        EXPECT_EQ(resource(std::string(c) + "_red_s").size(), (Size{44, 44}));
        EXPECT_EQ(resource(std::string(c) + "_red_b").size(), (Size{55, 55}));
    }
    EXPECT_EQ(resource("question_s").size(), (Size{44, 44}));
    EXPECT_EQ(resource("question_b").size(), (Size{55, 55}));
}

TEST_F(DataRoot, ConfigurationNamesEveryGame) {
    const auto ini = fs::readAll("Data\\data.ini");
    const std::string text(ini.begin(), ini.end());
    for (const char* section :
         {"[DaneProgramu]", "[Podpisywanie]", "[Memory]", "[Uzupelnianie]", "[Spadajace]"})
        EXPECT_NE(text.find(section), std::string::npos) << section;
}

TEST_F(DataRoot, TheCatalogueFileIsShippedAndFillsEverySoundAndPositionPolishAllows) {
    ASSERT_TRUE(fs::exists(kCatalogueFile));
    std::map<std::uint16_t, int> count;
    for (const Word& s : catalogue->table())
        ++count[s.flags];
    // Fifteen words open a single-position choice at every quantity (memory needs twelve); the
    // cells below that hold every word found whose picture a young child names.
    const struct {
        std::uint16_t sound, position;
        int minimum;
    } cells[] = {
        {kSoundSz, kPositionNaglos, 15},   {kSoundSz, kPositionSrodglos, 15},
        {kSoundSz, kPositionWyglos, 15},   {kSoundZz, kPositionNaglos, 15},
        {kSoundZz, kPositionSrodglos, 15}, {kSoundCz, kPositionNaglos, 15},
        {kSoundCz, kPositionSrodglos, 15}, {kSoundCz, kPositionWyglos, 15},
        {kSoundDzz, kPositionNaglos, 10},  {kSoundS, kPositionNaglos, 10},
        {kSoundS, kPositionSrodglos, 10},  {kSoundS, kPositionWyglos, 10},
        {kSoundZ, kPositionNaglos, 11},    {kSoundZ, kPositionSrodglos, 10},
        {kSoundC, kPositionNaglos, 10},    {kSoundC, kPositionSrodglos, 10},
        {kSoundC, kPositionWyglos, 10},    {kSoundDz, kPositionNaglos, 3},
        {kSoundDz, kPositionSrodglos, 6},
    };
    for (const auto& k : cells)
        EXPECT_GE(count[k.sound | k.position], k.minimum) << k.sound << " " << k.position;
    // Medium quantity for DŻ alone in every game: 10 words.
    EXPECT_GE(count[kSoundDzz | kPositionNaglos] + count[kSoundDzz | kPositionSrodglos], 10);
    // Voiced sounds are devoiced at the end of a word.
    for (std::uint16_t g : {kSoundZz, kSoundDzz, kSoundZ, kSoundDz})
        EXPECT_EQ(count[g | kPositionWyglos], 0) << g;
}

TEST_F(DataRoot, NoTwoWordsShareAPicture) {
    // A picture reused under another word would teach two names for one thing.
    for (const char* variant : {"s", "_ups"}) {
        std::map<std::vector<std::uint8_t>, std::string> seen;
        for (const std::string& w : kWords) {
            const std::string path =
                std::string(variant) == "s" ? "Data\\Sio\\s" + w + ".xji" : "Data\\Bio\\" + w + "_ups.xji";
            const Bitmap pic = jpeg(path);
            ASSERT_FALSE(pic.empty()) << path;
            std::vector<std::uint8_t> pixels(pic.data(), pic.data() + pic.byteSize());
            const auto [it, newBitmap] = seen.emplace(std::move(pixels), w);
            EXPECT_TRUE(newBitmap) << w << " looks exactly like " << it->second;
        }
    }
}

TEST_F(DataRoot, EveryCatalogueWordHasItsTilesAndItsCaptionStaysOnTheTraysInBothLayouts) {
    // The trays of the labelling and completion backgrounds: W/2 -+ 300 and W/2 -+ 260 in 800-wide units.
    for (const auto& [w, h, side] : {std::tuple{800, 600, 44}, std::tuple{1024, 768, 55}}) {
        const std::string m = w == 800 ? "_s" : "_b";
        for (const Word& s : catalogue->table()) {
            SCOPED_TRACE(s.stem + m);
            const auto units = splitSounds(s.spelling);
            const int n = int(units.size());
            ASSERT_LE(n, kMaxSounds);
            int markedCount = 0;
            for (const SoundUnit& j : units) {
                ASSERT_TRUE(hasTile(j.text)) << j.text;
                EXPECT_FALSE(resource(tileCode(j.text) + (j.isMarked ? "_red" : "") + m).empty()) << j.text;
                markedCount += j.isMarked;
                // The completion game offers this unit and its look-alike.
                if (j.isMarked) {
                    EXPECT_TRUE(j.text == "sz" || j.text == "s" || j.text == "cz" || j.text == "c" ||
                                j.text == "rz" || j.text == "ż" || j.text == "z" || j.text == "dż" ||
                                j.text == "dz")
                        << j.text;
                }
            }
            EXPECT_EQ(markedCount, 1);
            const platform::Point firstPlace = LabellingGame::fieldPlace(0, n, w, h, side);
            const platform::Point lastPlace = LabellingGame::fieldPlace(n - 1, n, w, h, side);
            EXPECT_GE(firstPlace.x - LabellingGame::kFrame, w / 2 - 300 * w / 800);
            EXPECT_LE(lastPlace.x + side + LabellingGame::kFrame, w / 2 + 300 * w / 800);
            const int x0 = CompletionGame::rowStart(n, side, w);
            EXPECT_GE(x0, w / 2 - 260 * w / 800);
            EXPECT_LE(x0 + (n - 1) * (side + 5) + side, w / 2 + 260 * w / 800);
        }
    }
}
