// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CoreTestSupport.hpp"
#include "app/_custgry.hpp"
#include "app/_specfunc.hpp"
#include "platform/Ini.hpp"

#include <gtest/gtest.h>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { przywroc(); }
    void TearDown() override { przywroc(); }
    static void przywroc() {
        ustPodpisywanie = CUstGry("Podpisywanie");
        ustMemory = CUstGry("Memory");
        ustUzupelnianie = CUstGry("Uzupelnianie");
        ustSpadajace = CUstGry("Spadajace");
        Zakladka = 1;
    }
    void dataIni(const std::string& text) {
        coretest::TempRoots::write(roots.program() / "Data/data.ini", text);
    }
    CUstGry czytaj(const std::string& text, CUstGry u = CUstGry("Memory")) {
        dataIni(text);
        platform::IniFile ini("Data\\data.ini");
        u.read(ini);
        return u;
    }
    static void expectDefaults() {
        for (const CUstGry* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace}) {
            EXPECT_EQ(u->Poziom, 2) << u->sekcja;
            EXPECT_EQ(u->Gloski, 0) << u->sekcja;
            EXPECT_EQ(u->Pozycja, 0) << u->sekcja;
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
    const CUstGry pochodny;
    EXPECT_EQ(pochodny.sekcja, "");
    EXPECT_EQ(pochodny.Poziom, 2);
}

TEST_F(Settings, quantityOutsideOneToThreeReadsAsOne) {
    EXPECT_EQ(czytaj("[Memory]\nPoziom=0\n").Poziom, 1);
    EXPECT_EQ(czytaj("[Memory]\nPoziom=4\n").Poziom, 1);
    EXPECT_EQ(czytaj("[Memory]\nPoziom=-1\n").Poziom, 1);
    EXPECT_EQ(czytaj("[Memory]\nPoziom=3\n").Poziom, 3);
    EXPECT_EQ(czytaj("[Memory]\nPoziom=1\n").Poziom, 1);
    EXPECT_EQ(czytaj("[Memory]\nGloski=1\n").Poziom, 2) << "without the key the value stays";
    CUstGry trzy("Memory");
    trzy.Poziom = 3;
    EXPECT_EQ(czytaj("[Memory]\n", trzy).Poziom, 3) << "the current value is the default";
    EXPECT_EQ(czytaj("[Memory]\nPoziom=65539\n").Poziom, 3) << "taken as 16 bits first";
    EXPECT_EQ(czytaj("[Memory]\nPoziom=dwa\n").Poziom, 2) << "not a number: default";
}

TEST_F(Settings, soundsAndPositionsKeepOnlyTheirBits) {
    EXPECT_EQ(czytaj("[Memory]\nGloski=17\n").Gloski, GL_SZ);
    EXPECT_EQ(czytaj("[Memory]\nGloski=15\n").Gloski, 0x000F);
    EXPECT_EQ(czytaj("[Memory]\nGloski=-1\n").Gloski, 0x000F);
    EXPECT_EQ(czytaj("[Memory]\nPozycja=12288\n").Pozycja, POZ_NAGLOS | POZ_SRODGLOS);
    EXPECT_EQ(czytaj("[Memory]\nPozycja=1\n").Pozycja, 0);
    EXPECT_EQ(czytaj("[Memory]\nPozycja=65535\n").Pozycja, 0x7000);
    // Only the record's own section counts.
    const CUstGry u = czytaj("[Spadajace]\nGloski=3\nPozycja=4096\nPoziom=3\n");
    EXPECT_EQ(u.Gloski, 0);
    EXPECT_EQ(u.Pozycja, 0);
    EXPECT_EQ(u.Poziom, 2);
}

TEST_F(Settings, queriesTestBitsAndQuantity) {
    CUstGry u;
    u.Poziom = 3;
    u.Gloski = GL_SZ | GL_CZ;
    u.Pozycja = POZ_WYGLOS;
    EXPECT_TRUE(u.maPoziom(3));
    EXPECT_FALSE(u.maPoziom(2));
    EXPECT_TRUE(u.maGloske(GL_CZ));
    EXPECT_TRUE(u.maGloske(GL_ZZ | GL_SZ));
    EXPECT_FALSE(u.maGloske(GL_ZZ | GL_DZZ));
    EXPECT_TRUE(u.maPozycje(POZ_WYGLOS));
    EXPECT_FALSE(u.maPozycje(POZ_NAGLOS | POZ_SRODGLOS));
}

TEST_F(Settings, contrastSoundsJoinTheirPartners) {
    CUstGry u;
    u.Gloski = 0x0005;
    u.dodajKontrast();
    EXPECT_EQ(u.Gloski, 0x0055);
    u.Gloski = 0x000F;
    u.dodajKontrast();
    EXPECT_EQ(u.Gloski, 0x00FF);
    u.Gloski = 0;
    u.dodajKontrast();
    EXPECT_EQ(u.Gloski, 0);
}

TEST_F(Settings, distractorsAreTheSoundsTheTargetLacks) {
    const auto dystraktory = [](std::uint16_t cel) {
        CUstGry target("Spadajace");
        target.Gloski = cel;
        CUstGry d;
        d.Pozycja = 0x7000;
        d.ustawDystraktory(target);
        return d.Gloski;
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
    EXPECT_EQ(ustPodpisywanie.Gloski, 1);
    EXPECT_EQ(ustPodpisywanie.Poziom, 1);
    EXPECT_EQ(ustPodpisywanie.Pozycja, 0x1000);
    EXPECT_EQ(ustMemory.Gloski, 2);
    EXPECT_EQ(ustMemory.Poziom, 3);
    EXPECT_EQ(ustMemory.Pozycja, 0x2000);
    EXPECT_EQ(ustUzupelnianie.Gloski, 4);
    EXPECT_EQ(ustUzupelnianie.Poziom, 2);
    EXPECT_EQ(ustUzupelnianie.Pozycja, 0x4000);
    EXPECT_EQ(ustSpadajace.Gloski, 8);
    EXPECT_EQ(ustSpadajace.Poziom, 1);
    EXPECT_EQ(ustSpadajace.Pozycja, 0x7000);
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
