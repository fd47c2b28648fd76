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
    ProgramSettings ust;
    for (GameSettings* u : {&ust.labelling, &ust.memory, &ust.completion, &ust.falling})
        u->sounds = GL_SZ, u->positions = POZ_NAGLOS, u->level = u == &ust.completion ? 2 : 1;
    ust.tab = 1;
    return ust;
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
    EXPECT_EQ(readFile(inst.user() / "ustawienia.ini"),
              "[DaneProgramu]\r\nZakladka=2\r\n"
              "\r\n[Podpisywanie]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n"
              "\r\n[Memory]\r\nGloski=3\r\nPoziom=3\r\nPozycja=20480\r\n"
              "\r\n[Uzupelnianie]\r\nGloski=1\r\nPoziom=2\r\nPozycja=4096\r\n"
              "\r\n[Spadajace]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");

    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_EQ(wvtest::context().settings.tab, ZAK_MEMORY);
    EXPECT_EQ(wvtest::context().settings.memory.level, POZIOM_DUZO);
    EXPECT_EQ(wvtest::context().settings.memory.sounds, GL_SZ | GL_ZZ);
    EXPECT_EQ(wvtest::context().settings.memory.positions, POZ_NAGLOS | POZ_WYGLOS);
    d->wait(100);
    ASSERT_NE(wvtest::mainMenu(), nullptr);
    EXPECT_EQ(wvtest::mainMenu()->przyciskUstawien(2).stan(), 1); // "dużo" shown checked
    d->key(27);
}

TEST(RememberedSettings, ADamagedOrOutOfRangeFileGivesTheConfigurationsValuesCleaned) {
    struct Case {
        std::string name, text;
        int zakladka;
        std::uint16_t gloski, pozycja;
        std::int16_t poziom, poziomSpadajace;
    };
    const Case cases[] = {
        {"empty", "", 1, GL_SZ, POZ_NAGLOS, 1, 1},
        {"directory", "", 1, GL_SZ, POZ_NAGLOS, 1, 1}, // in the way of the file: read and write fail
        {"binary", std::string("\x00\xff\xfe[[[\x01=\x02", 9), 1, GL_SZ, POZ_NAGLOS, 1, 1},
        {"truncated", "[DaneProgramu]\r\nZakladka=3\r\n[Memory]\r\nGlos", 3, GL_SZ, POZ_NAGLOS, 1, 1},
        {"out of range", "[DaneProgramu]\nZakladka=9\n[Memory]\nGloski=255\nPoziom=7\nPozycja=28673\n", 4,
         0x000F, 0x7000, 1, 1},
        {"recorder tab", "[DaneProgramu]\nZakladka=5\n[Spadajace]\nPoziom=3\n", 1, GL_SZ, POZ_NAGLOS, 1, 3},
    };
    for (const Case& c : cases) {
        Installation inst;
        const stdfs::path file = inst.user() / "ustawienia.ini";
        if (c.name == "directory")
            stdfs::create_directory(file);
        else
            std::ofstream(file, std::ios::binary) << c.text;
        ProgramSettings ust = shippedValues();
        ust.loadRemembered();
        EXPECT_EQ(ust.tab, c.zakladka) << c.name;
        EXPECT_EQ(ust.memory.sounds, c.gloski) << c.name;
        EXPECT_EQ(ust.memory.positions, c.pozycja) << c.name;
        EXPECT_EQ(ust.memory.level, c.poziom) << c.name;
        EXPECT_EQ(ust.falling.level, c.poziomSpadajace) << c.name;
        // Only a change is written, and a failed write leaves the program going.
        EXPECT_TRUE(ust.remember()) << c.name;
        if (c.name != "directory") {
            EXPECT_EQ(readFile(file), c.text) << c.name;
        }
        ust.falling.level = 2;
        EXPECT_EQ(ust.remember(), c.name != "directory") << c.name;
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
    ProgramSettings ust;
    const std::string failure = coretest::inChild(true, [&]() -> std::string {
        ust = shippedValues();
        ust.loadRemembered();
        if (ust.tab != 1) return "values were read";
        const std::string said = ust.takeMessage();
        if (said != "Nie można odczytać zapamiętanych ustawień z pliku \u201e" + file.string() +
                        "\u201d, więc zmiany ustawień nie zostaną w nim zapisane.")
            return "said: " + said;
        if (!ust.takeMessage().empty()) return "said twice";
        ust.memory.level = 3;
        if (ust.remember()) return "the unread file was replaced";
        return ust.takeMessage();
    });
    EXPECT_EQ(failure, "");
    EXPECT_EQ(stdfs::status(file).permissions(), stdfs::perms::none);
    stdfs::permissions(file, stdfs::perms::owner_read);
    EXPECT_EQ(readFile(file), kept);

    // A file that reads is replaced with the user's default mode, not the mode it had; a save that fails
    // is said once.
    stdfs::permissions(file, stdfs::perms(0600));
    const mode_t old = ::umask(027);
    ust = shippedValues();
    ust.loadRemembered();
    ust.memory.level = 2;
    EXPECT_TRUE(ust.remember());
    EXPECT_EQ(stdfs::status(file).permissions(), stdfs::perms(0640));
    ::umask(old);
    stdfs::remove(file);
    stdfs::create_directory(file);
    ust.memory.level = 1;
    EXPECT_FALSE(ust.remember());
    EXPECT_EQ(ust.takeMessage(), "Nie można zapamiętać ustawień. Nie można zastąpić pliku \u201e" +
                                     file.string() + "\u201d: w tym miejscu jest folder, nie plik.");
    ust.memory.level = 3;
    EXPECT_FALSE(ust.remember());
    EXPECT_EQ(ust.takeMessage(), "");
}
