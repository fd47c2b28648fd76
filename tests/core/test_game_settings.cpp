// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CoreTestSupport.hpp"
#include "core/GameSettings.hpp"
#include "platform/system/Ini.hpp"

#include <gtest/gtest.h>

namespace {

class Settings : public ::testing::Test {
protected:
    void resetSettings() { settings = ProgramSettings(); }
    void dataIni(const std::string& text) {
        coretest::TempRoots::write(roots.program() / "Data/data.ini", text);
    }
    GameSettings readFrom(const std::string& text, GameSettings u = GameSettings("Memory")) {
        dataIni(text);
        platform::IniFile ini("Data\\data.ini");
        u.read(ini);
        return u;
    }
    void expectDefaults() const {
        for (const GameSettings* u :
             {&settings.labelling, &settings.memory, &settings.completion, &settings.falling}) {
            EXPECT_EQ(u->level, 2) << u->section;
            EXPECT_EQ(u->sounds, 0) << u->section;
            EXPECT_EQ(u->positions, 0) << u->section;
        }
        EXPECT_EQ(settings.tab, 1);
    }

    coretest::TempRoots roots;
    ProgramSettings settings;
};

} // namespace

TEST_F(Settings, theFourRecordsStartWithTheirSectionsAndDefaults) {
    EXPECT_EQ(settings.labelling.section, "Podpisywanie");
    EXPECT_EQ(settings.memory.section, "Memory");
    EXPECT_EQ(settings.completion.section, "Uzupelnianie");
    EXPECT_EQ(settings.falling.section, "Spadajace");
    expectDefaults();
    const GameSettings derived;
    EXPECT_EQ(derived.section, "");
    EXPECT_EQ(derived.level, 2);
}

TEST_F(Settings, quantityOutsideOneToThreeReadsAsOne) {
    EXPECT_EQ(readFrom("[Memory]\nPoziom=0\n").level, 1);
    EXPECT_EQ(readFrom("[Memory]\nPoziom=4\n").level, 1);
    EXPECT_EQ(readFrom("[Memory]\nPoziom=-1\n").level, 1);
    EXPECT_EQ(readFrom("[Memory]\nPoziom=3\n").level, 3);
    EXPECT_EQ(readFrom("[Memory]\nPoziom=1\n").level, 1);
    EXPECT_EQ(readFrom("[Memory]\nGloski=1\n").level, 2) << "without the key the value stays";
    GameSettings three("Memory");
    three.level = 3;
    EXPECT_EQ(readFrom("[Memory]\n", three).level, 3) << "the current value is the default";
    EXPECT_EQ(readFrom("[Memory]\nPoziom=65539\n").level, 3) << "taken as 16 bits first";
    EXPECT_EQ(readFrom("[Memory]\nPoziom=dwa\n").level, 2) << "not a number: default";
}

TEST_F(Settings, soundsAndPositionsKeepOnlyTheirBits) {
    EXPECT_EQ(readFrom("[Memory]\nGloski=17\n").sounds, kSoundSz);
    EXPECT_EQ(readFrom("[Memory]\nGloski=15\n").sounds, 0x000F);
    EXPECT_EQ(readFrom("[Memory]\nGloski=-1\n").sounds, 0x000F);
    EXPECT_EQ(readFrom("[Memory]\nPozycja=12288\n").positions, kPositionNaglos | kPositionSrodglos);
    EXPECT_EQ(readFrom("[Memory]\nPozycja=1\n").positions, 0);
    EXPECT_EQ(readFrom("[Memory]\nPozycja=65535\n").positions, 0x7000);
    // Only the record's own section counts.
    const GameSettings u = readFrom("[Spadajace]\nGloski=3\nPozycja=4096\nPoziom=3\n");
    EXPECT_EQ(u.sounds, 0);
    EXPECT_EQ(u.positions, 0);
    EXPECT_EQ(u.level, 2);
}

TEST_F(Settings, queriesTestBitsAndQuantity) {
    GameSettings u;
    u.level = 3;
    u.sounds = kSoundSz | kSoundCz;
    u.positions = kPositionWyglos;
    EXPECT_TRUE(u.hasLevel(3));
    EXPECT_FALSE(u.hasLevel(2));
    EXPECT_TRUE(u.hasSound(kSoundCz));
    EXPECT_TRUE(u.hasSound(kSoundZz | kSoundSz));
    EXPECT_FALSE(u.hasSound(kSoundZz | kSoundDzz));
    EXPECT_TRUE(u.hasPosition(kPositionWyglos));
    EXPECT_FALSE(u.hasPosition(kPositionNaglos | kPositionSrodglos));
}

TEST_F(Settings, contrastSoundsJoinTheirPartners) {
    GameSettings u;
    u.sounds = 0x0005;
    u.addContrast();
    EXPECT_EQ(u.sounds, 0x0055);
    u.sounds = 0x000F;
    u.addContrast();
    EXPECT_EQ(u.sounds, 0x00FF);
    u.sounds = 0;
    u.addContrast();
    EXPECT_EQ(u.sounds, 0);
}

TEST_F(Settings, distractorsAreTheSoundsTheTargetLacks) {
    const auto distractors = [](std::uint16_t targetSounds) {
        GameSettings target("Spadajace");
        target.sounds = targetSounds;
        GameSettings d;
        d.positions = 0x7000;
        d.setDistractors(target);
        return d.sounds;
    };
    EXPECT_EQ(distractors(kSoundSz | kSoundZz | kSoundCz | kSoundDzz), 0x00F0);
    EXPECT_EQ(distractors(kSoundDzz), 0x0017);
    EXPECT_EQ(distractors(kSoundSz | kSoundDzz), 0x0016);
    EXPECT_EQ(distractors(kSoundSz), 0x009E);
    EXPECT_EQ(distractors(kSoundZz | kSoundCz), 0x0099);
}

TEST_F(Settings, configurationFillsTheTabAndAllFourGames) {
    dataIni("[DaneProgramu]\nZakladka=3\n"
            "[Podpisywanie]\nGloski=1\nPoziom=1\nPozycja=4096\n"
            "[Memory]\nGloski=2\nPoziom=3\nPozycja=8192\n"
            "[Uzupelnianie]\nGloski=4\nPoziom=2\nPozycja=16384\n"
            "[Spadajace]\nGloski=24\nPoziom=9\nPozycja=28672\n");
    EXPECT_TRUE(settings.readConfiguration());
    EXPECT_EQ(settings.tab, 3);
    EXPECT_EQ(settings.labelling.sounds, 1);
    EXPECT_EQ(settings.labelling.level, 1);
    EXPECT_EQ(settings.labelling.positions, 0x1000);
    EXPECT_EQ(settings.memory.sounds, 2);
    EXPECT_EQ(settings.memory.level, 3);
    EXPECT_EQ(settings.memory.positions, 0x2000);
    EXPECT_EQ(settings.completion.sounds, 4);
    EXPECT_EQ(settings.completion.level, 2);
    EXPECT_EQ(settings.completion.positions, 0x4000);
    EXPECT_EQ(settings.falling.sounds, 8);
    EXPECT_EQ(settings.falling.level, 1);
    EXPECT_EQ(settings.falling.positions, 0x7000);
}

TEST_F(Settings, theRecorderTabIsNeverTheStartTab) {
    dataIni("[DaneProgramu]\nZakladka=5\n");
    EXPECT_TRUE(settings.readConfiguration());
    EXPECT_EQ(settings.tab, 1);

    dataIni("[DaneProgramu]\nZakladka=4\n");
    EXPECT_TRUE(settings.readConfiguration());
    EXPECT_EQ(settings.tab, 4);

    // Without the key the current tab stays; other values are kept as read.
    dataIni("[DaneProgramu]\n");
    EXPECT_TRUE(settings.readConfiguration());
    EXPECT_EQ(settings.tab, 4);
    settings.tab = 1;
    dataIni("[Memory]\nPoziom=1\n");
    EXPECT_TRUE(settings.readConfiguration());
    EXPECT_EQ(settings.tab, 1);
    dataIni("[DaneProgramu]\nZakladka=7\n");
    EXPECT_TRUE(settings.readConfiguration());
    EXPECT_EQ(settings.tab, 4) << "no tab 7: the nearest one";
    dataIni("[DaneProgramu]\nZakladka=-3\n");
    EXPECT_TRUE(settings.readConfiguration());
    EXPECT_EQ(settings.tab, 1);
}

TEST_F(Settings, aMissingConfigurationKeepsEveryDefault) {
    EXPECT_TRUE(settings.readConfiguration());
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
        EXPECT_TRUE(settings.readConfiguration());
        expectDefaults();
        resetSettings();
    }
}
