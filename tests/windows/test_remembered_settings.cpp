// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "../core/CoreTestSupport.hpp"

#include "core/GameSettings.hpp"
#include "widgets/TwoStatePicture.hpp"
#include "windows/MainMenu.hpp"

using namespace wvtest;

namespace {

// The shipped data.ini: every game on SZ, initial position; quantity 1 except completion (2); tab 1.
ProgramSettings shippedValues() {
    ProgramSettings settings;
    for (GameSettings* u : {&settings.labelling, &settings.memory, &settings.completion, &settings.falling})
        u->sounds = kSoundSz, u->positions = kPositionNaglos, u->level = u == &settings.completion ? 2 : 1;
    settings.tab = 1;
    return settings;
}

} // namespace

TEST(RememberedSettings, ChoicesMadeInTheMenuAreSavedAndComeBackAtTheNextStart) {
    Installation inst;
    {
        Outcome out;
        auto d = startProgram(out, {800, 600});
        d->wait(2000);
        d->click(611, 224); // Memory tab
        d->click(436, 210); // many
        d->click(276, 310); // Ż/RZ as well as SZ
        d->click(436, 410); // final position as well as initial
        d->key(27);
        ASSERT_TRUE(out.returned);
    }
    EXPECT_EQ(readFile(inst.child() / "ustawienia.ini"),
              "[DaneProgramu]\r\nZakladka=2\r\n"
              "\r\n[Podpisywanie]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n"
              "\r\n[Memory]\r\nGloski=3\r\nPoziom=3\r\nPozycja=20480\r\n"
              "\r\n[Uzupelnianie]\r\nGloski=1\r\nPoziom=2\r\nPozycja=4096\r\n"
              "\r\n[Spadajace]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");

    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_EQ(wvtest::context().settings.tab, kGameMemory);
    EXPECT_EQ(wvtest::context().settings.memory.level, kQuantityDuzo);
    EXPECT_EQ(wvtest::context().settings.memory.sounds, kSoundSz | kSoundZz);
    EXPECT_EQ(wvtest::context().settings.memory.positions, kPositionNaglos | kPositionWyglos);
    d->wait(100);
    ASSERT_NE(wvtest::mainMenu(), nullptr);
    EXPECT_EQ(wvtest::mainMenu()->settingsButton(2).state(), 1); // "dużo" shown checked
    d->key(27);
}

TEST(RememberedSettings, ADamagedOrOutOfRangeFileGivesTheConfigurationsValuesCleaned) {
    struct Case {
        std::string name, text;
        int tab;
        std::uint16_t sounds, position;
        std::int16_t level, fallingLevel;
    };
    const Case cases[] = {
        {"empty", "", 1, kSoundSz, kPositionNaglos, 1, 1},
        {"directory", "", 1, kSoundSz, kPositionNaglos, 1, 1}, // in the way of the file: read and write fail
        {"binary", std::string("\x00\xff\xfe[[[\x01=\x02", 9), 1, kSoundSz, kPositionNaglos, 1, 1},
        {"truncated", "[DaneProgramu]\r\nZakladka=3\r\n[Memory]\r\nGlos", 3, kSoundSz, kPositionNaglos, 1, 1},
        {"out of range", "[DaneProgramu]\nZakladka=9\n[Memory]\nGloski=255\nPoziom=7\nPozycja=28673\n", 4,
         0x000F, 0x7000, 1, 1},
        {"recorder tab", "[DaneProgramu]\nZakladka=5\n[Spadajace]\nPoziom=3\n", 1, kSoundSz, kPositionNaglos,
         1, 3},
    };
    for (const Case& c : cases) {
        Installation inst;
        const stdfs::path file = inst.user() / "ustawienia.ini";
        if (c.name == "directory")
            stdfs::create_directory(file);
        else
            std::ofstream(file, std::ios::binary) << c.text;
        ProgramSettings settings = shippedValues();
        settings.loadRemembered();
        EXPECT_EQ(settings.tab, c.tab) << c.name;
        EXPECT_EQ(settings.memory.sounds, c.sounds) << c.name;
        EXPECT_EQ(settings.memory.positions, c.position) << c.name;
        EXPECT_EQ(settings.memory.level, c.level) << c.name;
        EXPECT_EQ(settings.falling.level, c.fallingLevel) << c.name;
        // Only a change is written, and a failed write leaves the program going.
        EXPECT_TRUE(settings.remember()) << c.name;
        if (c.name != "directory") {
            EXPECT_EQ(readFile(file), c.text) << c.name;
        }
        settings.falling.level = 2;
        EXPECT_EQ(settings.remember(), c.name != "directory") << c.name;
        if (c.name == "directory") continue;
        EXPECT_NE(readFile(file).find("[Spadajace]\r\nGloski=1\r\nPoziom=2\r\n"), std::string::npos)
            << c.name;
    }
}

TEST(RememberedSettings, AFileThatCannotBeReadIsNeverReplacedAndAFailedSaveIsSaidOnce) {
    Installation inst;
    const stdfs::path file = inst.user() / "ustawienia.ini";
    const std::string kept = "[DaneProgramu]\r\nZakladka=3\r\n";
    std::ofstream(file, std::ios::binary) << kept;
    stdfs::permissions(file, stdfs::perms::none);
    for (const stdfs::path& d : {inst.base(), inst.user()})
        stdfs::permissions(d, stdfs::perms(0777));
    // As an unprivileged user mode 000 cannot be read.
    ProgramSettings settings;
    const std::string failure = coretest::inChild(true, [&]() -> std::string {
        settings = shippedValues();
        settings.loadRemembered();
        if (settings.tab != 1) return "values were read";
        const std::string said = settings.takeMessage();
        if (said != "Nie można odczytać zapamiętanych ustawień z pliku \u201e" + file.string() +
                        "\u201d, więc zmiany ustawień nie zostaną w nim zapisane.")
            return "said: " + said;
        if (!settings.takeMessage().empty()) return "said twice";
        settings.memory.level = 3;
        if (settings.remember()) return "the unread file was replaced";
        return settings.takeMessage();
    });
    EXPECT_EQ(failure, "");
    EXPECT_EQ(stdfs::status(file).permissions(), stdfs::perms::none);
    stdfs::permissions(file, stdfs::perms::owner_read);
    EXPECT_EQ(readFile(file), kept);

    // A file that reads is replaced with the user's default mode, not the mode it had; a save that fails
    // is said once.
    stdfs::permissions(file, stdfs::perms(0600));
    const mode_t old = ::umask(027);
    settings = shippedValues();
    settings.loadRemembered();
    settings.memory.level = 2;
    EXPECT_TRUE(settings.remember());
    EXPECT_EQ(stdfs::status(file).permissions(), stdfs::perms(0640));
    ::umask(old);
    stdfs::remove(file);
    stdfs::create_directory(file);
    settings.memory.level = 1;
    EXPECT_FALSE(settings.remember());
    EXPECT_EQ(settings.takeMessage(), "Nie można zapamiętać ustawień. Nie można zastąpić pliku \u201e" +
                                          file.string() + "\u201d: w tym miejscu jest folder, nie plik.");
    settings.memory.level = 3;
    EXPECT_FALSE(settings.remember());
    EXPECT_EQ(settings.takeMessage(), "");
}
