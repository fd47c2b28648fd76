// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CoreTestSupport.hpp"
#include "core/GameSettings.hpp"
#include "platform/system/Ini.hpp"

#include <gtest/gtest.h>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { przywroc(); }
    void TearDown() override { przywroc(); }
    static void przywroc() {
        ustPodpisywanie = GameSettings("Podpisywanie");
        ustMemory = GameSettings("Memory");
        ustUzupelnianie = GameSettings("Uzupelnianie");
        ustSpadajace = GameSettings("Spadajace");
        Zakladka = 1;
    }
    void dataIni(const std::string& text) {
        coretest::TempRoots::write(roots.program() / "Data/data.ini", text);
    }
    GameSettings czytaj(const std::string& text, GameSettings u = GameSettings("Memory")) {
        dataIni(text);
        platform::IniFile ini("Data\\data.ini");
        u.read(ini);
        return u;
    }
    static void expectDefaults() {
        for (const GameSettings* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace}) {
            EXPECT_EQ(u->level, 2) << u->sekcja;
            EXPECT_EQ(u->sounds, 0) << u->sekcja;
            EXPECT_EQ(u->positions, 0) << u->sekcja;
        }
        EXPECT_EQ(Zakladka, 1);
    }

    coretest::TempRoots roots;
};

} // namespace

TEST_F(Settings, theFourRecordsStartWithTheirSectionsAndDefaults) {
    EXPECT_EQ(ustPodpisywanie.sekcja, "Podpisywanie");
    EXPECT_EQ(ustMemory.sekcja, "Memory");
    EXPECT_EQ(ustUzupelnianie.sekcja, "Uzupelnianie");
    EXPECT_EQ(ustSpadajace.sekcja, "Spadajace");
    expectDefaults();
    const GameSettings pochodny;
    EXPECT_EQ(pochodny.sekcja, "");
    EXPECT_EQ(pochodny.level, 2);
}

TEST_F(Settings, quantityOutsideOneToThreeReadsAsOne) {
    EXPECT_EQ(czytaj("[Memory]\nPoziom=0\n").level, 1);
    EXPECT_EQ(czytaj("[Memory]\nPoziom=4\n").level, 1);
    EXPECT_EQ(czytaj("[Memory]\nPoziom=-1\n").level, 1);
    EXPECT_EQ(czytaj("[Memory]\nPoziom=3\n").level, 3);
    EXPECT_EQ(czytaj("[Memory]\nPoziom=1\n").level, 1);
    EXPECT_EQ(czytaj("[Memory]\nGloski=1\n").level, 2) << "without the key the value stays";
    GameSettings trzy("Memory");
    trzy.level = 3;
    EXPECT_EQ(czytaj("[Memory]\n", trzy).level, 3) << "the current value is the default";
    EXPECT_EQ(czytaj("[Memory]\nPoziom=65539\n").level, 3) << "taken as 16 bits first";
    EXPECT_EQ(czytaj("[Memory]\nPoziom=dwa\n").level, 2) << "not a number: default";
}

TEST_F(Settings, soundsAndPositionsKeepOnlyTheirBits) {
    EXPECT_EQ(czytaj("[Memory]\nGloski=17\n").sounds, GL_SZ);
    EXPECT_EQ(czytaj("[Memory]\nGloski=15\n").sounds, 0x000F);
    EXPECT_EQ(czytaj("[Memory]\nGloski=-1\n").sounds, 0x000F);
    EXPECT_EQ(czytaj("[Memory]\nPozycja=12288\n").positions, POZ_NAGLOS | POZ_SRODGLOS);
    EXPECT_EQ(czytaj("[Memory]\nPozycja=1\n").positions, 0);
    EXPECT_EQ(czytaj("[Memory]\nPozycja=65535\n").positions, 0x7000);
    // Only the record's own section counts.
    const GameSettings u = czytaj("[Spadajace]\nGloski=3\nPozycja=4096\nPoziom=3\n");
    EXPECT_EQ(u.sounds, 0);
    EXPECT_EQ(u.positions, 0);
    EXPECT_EQ(u.level, 2);
}

TEST_F(Settings, queriesTestBitsAndQuantity) {
    GameSettings u;
    u.level = 3;
    u.sounds = GL_SZ | GL_CZ;
    u.positions = POZ_WYGLOS;
    EXPECT_TRUE(u.maPoziom(3));
    EXPECT_FALSE(u.maPoziom(2));
    EXPECT_TRUE(u.maGloske(GL_CZ));
    EXPECT_TRUE(u.maGloske(GL_ZZ | GL_SZ));
    EXPECT_FALSE(u.maGloske(GL_ZZ | GL_DZZ));
    EXPECT_TRUE(u.maPozycje(POZ_WYGLOS));
    EXPECT_FALSE(u.maPozycje(POZ_NAGLOS | POZ_SRODGLOS));
}

TEST_F(Settings, contrastSoundsJoinTheirPartners) {
    GameSettings u;
    u.sounds = 0x0005;
    u.dodajKontrast();
    EXPECT_EQ(u.sounds, 0x0055);
    u.sounds = 0x000F;
    u.dodajKontrast();
    EXPECT_EQ(u.sounds, 0x00FF);
    u.sounds = 0;
    u.dodajKontrast();
    EXPECT_EQ(u.sounds, 0);
}

TEST_F(Settings, distractorsAreTheSoundsTheTargetLacks) {
    const auto dystraktory = [](std::uint16_t cel) {
        GameSettings target("Spadajace");
        target.sounds = cel;
        GameSettings d;
        d.positions = 0x7000;
        d.ustawDystraktory(target);
        return d.sounds;
    };
    EXPECT_EQ(dystraktory(GL_SZ | GL_ZZ | GL_CZ | GL_DZZ), 0x00F0);
    EXPECT_EQ(dystraktory(GL_DZZ), 0x0017);
    EXPECT_EQ(dystraktory(GL_SZ | GL_DZZ), 0x0016);
    EXPECT_EQ(dystraktory(GL_SZ), 0x009E);
    EXPECT_EQ(dystraktory(GL_ZZ | GL_CZ), 0x0099);
}

TEST_F(Settings, configurationFillsTheTabAndAllFourGames) {
    dataIni("[DaneProgramu]\nZakladka=3\n"
            "[Podpisywanie]\nGloski=1\nPoziom=1\nPozycja=4096\n"
            "[Memory]\nGloski=2\nPoziom=3\nPozycja=8192\n"
            "[Uzupelnianie]\nGloski=4\nPoziom=2\nPozycja=16384\n"
            "[Spadajace]\nGloski=24\nPoziom=9\nPozycja=28672\n");
    EXPECT_TRUE(readConfiguration());
    EXPECT_EQ(Zakladka, 3);
    EXPECT_EQ(ustPodpisywanie.sounds, 1);
    EXPECT_EQ(ustPodpisywanie.level, 1);
    EXPECT_EQ(ustPodpisywanie.positions, 0x1000);
    EXPECT_EQ(ustMemory.sounds, 2);
    EXPECT_EQ(ustMemory.level, 3);
    EXPECT_EQ(ustMemory.positions, 0x2000);
    EXPECT_EQ(ustUzupelnianie.sounds, 4);
    EXPECT_EQ(ustUzupelnianie.level, 2);
    EXPECT_EQ(ustUzupelnianie.positions, 0x4000);
    EXPECT_EQ(ustSpadajace.sounds, 8);
    EXPECT_EQ(ustSpadajace.level, 1);
    EXPECT_EQ(ustSpadajace.positions, 0x7000);
}

TEST_F(Settings, theRecorderTabIsNeverTheStartTab) {
    dataIni("[DaneProgramu]\nZakladka=5\n");
    EXPECT_TRUE(readConfiguration());
    EXPECT_EQ(Zakladka, 1);

    dataIni("[DaneProgramu]\nZakladka=4\n");
    EXPECT_TRUE(readConfiguration());
    EXPECT_EQ(Zakladka, 4);

    // Without the key the current tab stays; other values are kept as read.
    dataIni("[DaneProgramu]\n");
    EXPECT_TRUE(readConfiguration());
    EXPECT_EQ(Zakladka, 4);
    Zakladka = 1;
    dataIni("[Memory]\nPoziom=1\n");
    EXPECT_TRUE(readConfiguration());
    EXPECT_EQ(Zakladka, 1);
    dataIni("[DaneProgramu]\nZakladka=7\n");
    EXPECT_TRUE(readConfiguration());
    EXPECT_EQ(Zakladka, 4) << "no tab 7: the nearest one";
    dataIni("[DaneProgramu]\nZakladka=-3\n");
    EXPECT_TRUE(readConfiguration());
    EXPECT_EQ(Zakladka, 1);
}

TEST_F(Settings, aMissingConfigurationKeepsEveryDefault) {
    EXPECT_TRUE(readConfiguration());
    expectDefaults();
}

TEST_F(Settings, unusableConfigurationFilesLeaveTheDefaults) {
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 131 + 7) & 0xFF);
    const std::vector<std::string> files = {
        "",
        "\n\n\n",
        binary,
        "this is not an ini file at all\n=== = ==\n[[[\n]]]\n",
        "[DaneProgramu\nZakladka=3\n[Memory\nPoziom=3\n",
        "Zakladka=3\nPoziom=3\nGloski=1\n", // keys outside every section
        "[Inna]\nZakladka=3\nPoziom=3\n",
        "[DaneProgramu]\nZakladka=\n[Memory]\nPoziom=\nGloski=x1\nPozycja=0x1000\n",
        "[Memory]\nPoziom=99999999999999999999\n",
        std::string("\xEF\xBB\xBF[Memory]\nPoziom=2\n\xFF\xFE\n"),
    };
    for (const std::string& f : files) {
        dataIni(f);
        EXPECT_TRUE(readConfiguration());
        expectDefaults();
        przywroc();
    }
}
