// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CoreTestSupport.hpp"
#include "core/Speech.hpp"
#include "core/StatisticsFile.hpp"
#include "words/LetterTiles.hpp"

#include <gtest/gtest.h>

TEST(Duration, minutesAndSecondsWithoutPadding) {
    EXPECT_EQ(formatTime(0), "0 min 0 s");
    EXPECT_EQ(formatTime(59), "0 min 59 s");
    EXPECT_EQ(formatTime(60), "1 min 0 s");
    EXPECT_EQ(formatTime(125), "2 min 5 s");
    EXPECT_EQ(formatTime(3725), "62 min 5 s");
}

TEST(LetterCodes, polishLettersAndUnitsInPictureNames) {
    EXPECT_EQ(tileCode("dż"), "dzz");
    EXPECT_EQ(tileCode("dź"), "dzzz");
    EXPECT_EQ(tileCode("ż"), "zz");
    EXPECT_EQ(tileCode("ź"), "zzz");
    EXPECT_EQ(tileCode("ó"), "oo");
    EXPECT_EQ(tileCode("ł"), "ll");
    EXPECT_EQ(tileCode("ć"), "cc");
    EXPECT_EQ(tileCode("ś"), "ss");
    EXPECT_EQ(tileCode("ń"), "nn");
    EXPECT_EQ(tileCode("ę"), "ee");
    EXPECT_EQ(tileCode("ą"), "aa");
    // Whole units only, case-sensitive; everything else unchanged.
    EXPECT_EQ(tileCode("sz"), "sz");
    EXPECT_EQ(tileCode("dz"), "dz");
    EXPECT_EQ(tileCode("rz"), "rz");
    EXPECT_EQ(tileCode("a"), "a");
    EXPECT_EQ(tileCode("Ż"), "Ż");
    EXPECT_EQ(tileCode("żż"), "żż");
    EXPECT_EQ(tileCode("_ż"), "_ż");
    EXPECT_EQ(tileCode(""), "");
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
    EXPECT_FALSE(playWord("szopa"));
    coretest::TempRoots::write(roots.program() / "Data/Smd/szachy.pw", wav());
    EXPECT_FALSE(playWord("szopa")) << "another word's sound does not count";
}

TEST(Sounds, praiseNeverReachesBeyondItsNumberRange) {
    coretest::TempRoots roots;
    // Only the numbers just above each range exist: every draw must miss them.
    for (const char* name : {"g08", "g09", "g10", "b05", "b06", "b07", "b08", "b09"})
        coretest::TempRoots::write(roots.program() / "Data/Intf/Smd" / (std::string(name) + ".pw"), wav());
    for (int i = 0; i < 300; ++i) {
        ASSERT_FALSE(playPraise(kPraise));
        ASSERT_FALSE(playPraise(kEncouragement));
        ASSERT_FALSE(playPraise(kShortPraise));
    }
    // Short praise stays below g05 too.
    for (const char* name : {"g05", "g06", "g07"})
        coretest::TempRoots::write(roots.program() / "Data/Intf/Smd" / (std::string(name) + ".pw"), wav());
    for (int i = 0; i < 300; ++i)
        ASSERT_FALSE(playPraise(kShortPraise));
}

TEST(Sounds, kindTwoLooksForItsFixedFileOutsideTheDataDirectory) {
    coretest::TempRoots roots;
    // The standard data set has no such file.
    for (const char* name : {"g00", "b00"})
        coretest::TempRoots::write(roots.program() / "Data/Intf/Smd" / (std::string(name) + ".pw"), wav());
    EXPECT_FALSE(playPraise(2));
    EXPECT_FALSE(playPraise(-1));
    EXPECT_FALSE(playPraise(7));
}
