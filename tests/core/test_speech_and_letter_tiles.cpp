// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CoreTestSupport.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "words/LetterTiles.hpp"

#include <gtest/gtest.h>

TEST(Duration, minutesAndSecondsWithoutPadding) {
    EXPECT_EQ(formatujCzas(0), "0 min 0 s");
    EXPECT_EQ(formatujCzas(59), "0 min 59 s");
    EXPECT_EQ(formatujCzas(60), "1 min 0 s");
    EXPECT_EQ(formatujCzas(125), "2 min 5 s");
    EXPECT_EQ(formatujCzas(3725), "62 min 5 s");
}

TEST(LetterCodes, polishLettersAndUnitsInPictureNames) {
    EXPECT_EQ(kodLitery("dż"), "dzz");
    EXPECT_EQ(kodLitery("dź"), "dzzz");
    EXPECT_EQ(kodLitery("ż"), "zz");
    EXPECT_EQ(kodLitery("ź"), "zzz");
    EXPECT_EQ(kodLitery("ó"), "oo");
    EXPECT_EQ(kodLitery("ł"), "ll");
    EXPECT_EQ(kodLitery("ć"), "cc");
    EXPECT_EQ(kodLitery("ś"), "ss");
    EXPECT_EQ(kodLitery("ń"), "nn");
    EXPECT_EQ(kodLitery("ę"), "ee");
    EXPECT_EQ(kodLitery("ą"), "aa");
    // Whole units only, case-sensitive; everything else unchanged.
    EXPECT_EQ(kodLitery("sz"), "sz");
    EXPECT_EQ(kodLitery("dz"), "dz");
    EXPECT_EQ(kodLitery("rz"), "rz");
    EXPECT_EQ(kodLitery("a"), "a");
    EXPECT_EQ(kodLitery("Ż"), "Ż");
    EXPECT_EQ(kodLitery("żż"), "żż");
    EXPECT_EQ(kodLitery("_ż"), "_ż");
    EXPECT_EQ(kodLitery(""), "");
}

namespace {

// A tiny valid PCM WAV: 16-bit mono, 22 050 Hz, ten samples of silence.
std::string wav() {
    std::string d;
    const auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            d += char((v >> (8 * i)) & 0xFF);
    };
    const auto u16 = [&](std::uint16_t v) {
        d += char(v & 0xFF);
        d += char(v >> 8);
    };
    d += "RIFF";
    u32(36 + 20);
    d += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(44100);
    u16(2);
    u16(16);
    d += "data";
    u32(20);
    d += std::string(20, '\0');
    return d;
}

} // namespace

TEST(Sounds, aWordWithoutItsSoundFileIsSilent) {
    coretest::TempRoots roots;
    EXPECT_FALSE(odtworzSlowo("szopa"));
    coretest::TempRoots::write(roots.program() / "Data/Smd/szachy.pw", wav());
    EXPECT_FALSE(odtworzSlowo("szopa")) << "another word's sound does not count";
}

TEST(Sounds, praiseNeverReachesBeyondItsNumberRange) {
    coretest::TempRoots roots;
    // Only the numbers just above each range exist: every draw must miss them.
    for (const char* name : {"g08", "g09", "g10", "b05", "b06", "b07", "b08", "b09"})
        coretest::TempRoots::write(roots.program() / "Data/Intf/Smd" / (std::string(name) + ".pw"), wav());
    for (int i = 0; i < 300; ++i) {
        ASSERT_FALSE(odtworzPochwale(POCHWALA));
        ASSERT_FALSE(odtworzPochwale(ZACHETA));
        ASSERT_FALSE(odtworzPochwale(KROTKA_POCHWALA));
    }
    // Short praise stays below g05 too.
    for (const char* name : {"g05", "g06", "g07"})
        coretest::TempRoots::write(roots.program() / "Data/Intf/Smd" / (std::string(name) + ".pw"), wav());
    for (int i = 0; i < 300; ++i)
        ASSERT_FALSE(odtworzPochwale(KROTKA_POCHWALA));
}

TEST(Sounds, kindTwoLooksForItsFixedFileOutsideTheDataDirectory) {
    coretest::TempRoots roots;
    // The standard data set has no such file.
    for (const char* name : {"g00", "b00"})
        coretest::TempRoots::write(roots.program() / "Data/Intf/Smd" / (std::string(name) + ".pw"), wav());
    EXPECT_FALSE(odtworzPochwale(2));
    EXPECT_FALSE(odtworzPochwale(-1));
    EXPECT_FALSE(odtworzPochwale(7));
}
