// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CoreTestSupport.hpp"
#include "core/Profiles.hpp"
#include "core/WordChoice.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace stdfs = std::filesystem;
using coretest::TempRoots;

namespace {

// Every regular file under dir with its bytes, by path relative to dir.
std::map<std::string, std::string> tree(const stdfs::path& dir) {
    std::map<std::string, std::string> files;
    if (!stdfs::exists(dir)) return files;
    for (const auto& e : stdfs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) {
            const auto bytes = TempRoots::read(e.path());
            files[stdfs::relative(e.path(), dir).string()] = std::string(bytes.begin(), bytes.end());
        }
    return files;
}

// A single-user directory as the program left it before profiles.
std::map<std::string, std::string> seedOldLayout(const stdfs::path& user) {
    const std::map<std::string, std::string> old{
        {"prgst1.stt", std::string("WIRO\x01\x00\x00\x00", 8) + std::string(56, '\x07')},
        {"prgst1.stt.bad", "damaged once"},
        {"ustawienia.ini", "[DaneProgramu]\r\nZakladka=3\r\n"},
        {"Raport postępów.html", "<html>report</html>"},
        {"Nagrane/record.xtr", "[Nagranie1]\r\nNazwa=Ala\r\n"},
        {"Nagrane/Nagranie1.wav", std::string("RIFF\x24\x00\x00\x00WAVE", 12)},
    };
    for (const auto& [name, bytes] : old)
        TempRoots::write(user / name, bytes);
    return old;
}

std::map<std::string, std::string> inFolder(const std::map<std::string, std::string>& files,
                                            const std::string& folder) {
    std::map<std::string, std::string> moved;
    for (const auto& [name, bytes] : files)
        moved[folder + "/" + name] = bytes;
    return moved;
}

const std::string kFirstProfile = "[Dziecko]\r\nImie=Dziecko 1\r\nObrazek=\r\n";

} // namespace

// The first start moves a single-user directory into "Dziecko 1", byte for byte; a kill after any step
// of the move, followed by a new start, ends in the very same state.
TEST(Profiles, MoveInIsWholeAfterAKillAtEveryStep) {
    std::vector<std::string> steps;
    std::map<std::string, std::string> finished;
    {
        TempRoots roots;
        const auto old = seedOldLayout(roots.user());
        Profiles profiles;
        profiles.open([&steps](const std::string& step) { steps.push_back(step); });
        EXPECT_EQ(profiles.notes(), "");
        ASSERT_EQ(profiles.all().size(), 1u);
        EXPECT_EQ(profiles.all()[0].name, "Dziecko 1");
        EXPECT_EQ(profiles.all()[0].folder(), "Dzieci\\1");
        finished = tree(roots.user());
        auto expected = inFolder(old, "Dzieci/1");
        expected["Dzieci/1/dziecko.ini"] = kFirstProfile;
        EXPECT_EQ(finished, expected);
    }
    // The folder, the description, four old files and the recordings folder, the rename into place.
    ASSERT_EQ(steps.size(), 2u + 5u + 1u);
    for (std::size_t killed = 0; killed < steps.size(); ++killed) {
        SCOPED_TRACE("killed after " + steps[killed]);
        TempRoots roots;
        seedOldLayout(roots.user());
        // A real kill of a process that is moving the files, right after the step.
        const std::string died = coretest::inChild(false, [&]() -> std::string {
            std::size_t done = 0;
            Profiles interrupted;
            interrupted.open([&](const std::string&) {
                if (done++ == killed) ::kill(::getpid(), SIGKILL);
            });
            return "not killed";
        });
        EXPECT_EQ(died, "child died: ");
        Profiles again;
        again.open();
        EXPECT_EQ(tree(roots.user()), finished);
        ASSERT_EQ(again.all().size(), 1u);
        EXPECT_EQ(again.all()[0].name, "Dziecko 1");
    }
}

TEST(Profiles, NamesAreCheckedTrimmedAndUniqueIgnoringCase) {
    const std::vector<Profile> others{{1, "Łucja", ""}, {2, "Ala", ""}};
    struct Case {
        std::string name;
        int renaming;
        std::string problem;
    };
    const std::string tooLong = "Imię może mieć najwyżej 40 znaków.";
    const std::string forbidden = "Imię nie może zawierać znaków sterujących ani ukośników (/ \\).";
    const Case cases[] = {
        {"Ola", 0, ""},
        {"  Ola Nowak  ", 0, ""},
        {std::string(40, 'x'), 0, ""},
        {"\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105"
         "\u0105"
         "\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105\u0105"
         "\u0105"
         "\u0105\u0105\u0105\u0105\u0105\u0105",
         0, ""}, // 40 two-byte letters
        {std::string(41, 'x'), 0, tooLong},
        {std::string(10000, 'x'), 0, tooLong},
        {"", 0, "Wpisz imię dziecka."},
        {"   ", 0, "Wpisz imię dziecka."},
        {"Ola/Ela", 0, forbidden},
        {"Ola\\Ela", 0, forbidden},
        {"Ola\nEla", 0, forbidden},
        {"Ola\x7f", 0, forbidden},
        {"Ola\xff", 0, "Imię zawiera nieprawidłowe znaki."},
        {"Ol\xc3", 0, "Imię zawiera nieprawidłowe znaki."},
        {"\xed\xa0\x80", 0, "Imię zawiera nieprawidłowe znaki."}, // a surrogate
        {"ala", 0, "Dziecko o imieniu \u201eAla\u201d już jest na liście."},
        {" ŁUCJA ", 0, "Dziecko o imieniu \u201eŁucja\u201d już jest na liście."},
        {"ALA", 2, ""}, // the same child renamed
        {"ALA", 1, "Dziecko o imieniu \u201eAla\u201d już jest na liście."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nameProblem(c.name, others, c.renaming), c.problem) << c.name.substr(0, 50);
    EXPECT_EQ(trimmedName("  Ola Nowak \t"), "Ola Nowak");
}

// Adding, renaming and removing change exactly one child's folder; leftovers of a kill and damaged
// descriptions are dealt with at the next opening.
TEST(Profiles, AddRenameRemoveAndRepairAtOpening) {
    TempRoots roots;
    Profiles profiles;
    profiles.open();
    ASSERT_EQ(profiles.all().size(), 1u); // a fresh user directory gets its first child
    int ola = 0, ela = 0;
    EXPECT_EQ(profiles.add(" Ola ", "zaba", &ola), "");
    EXPECT_EQ(profiles.add("Ela", "", &ela), "");
    EXPECT_EQ(profiles.add("ola", ""), "Dziecko o imieniu \u201eOla\u201d już jest na liście.");
    EXPECT_EQ(profiles.setPicture(ola, "../etc"), "Nieprawidłowy obrazek.");
    EXPECT_EQ(std::make_pair(ola, ela), std::make_pair(2, 3));
    EXPECT_EQ(profiles.rename(ela, "Elżbieta"), "");
    TempRoots::write(roots.user() / "Dzieci" / "3" / "prgst1.stt", "ela's games");
    const auto olaFiles = tree(roots.user() / "Dzieci" / "2");
    EXPECT_EQ(olaFiles.at("dziecko.ini"), "[Dziecko]\r\nImie=Ola\r\nObrazek=zaba\r\n");

    EXPECT_EQ(profiles.remove(ela), "");
    EXPECT_FALSE(stdfs::exists(roots.user() / "Dzieci" / "3"));
    EXPECT_EQ(tree(roots.user() / "Dzieci" / "2"), olaFiles);

    // A kill while adding or removing leaves a folder aside; a description damaged or missing.
    stdfs::create_directories(roots.user() / "Dzieci" / ".nowe-7");
    stdfs::create_directories(roots.user() / "Dzieci" / ".usuwane-5" / "Nagrane");
    TempRoots::write(roots.user() / "Dzieci" / "2" / "dziecko.ini", std::string("\0\x01garbage", 9));
    stdfs::create_directories(roots.user() / "Dzieci" / "9");
    Profiles reopened;
    reopened.open();
    ASSERT_EQ(reopened.all().size(), 3u);
    EXPECT_EQ(reopened.all()[1].name, "Dziecko 2");
    EXPECT_EQ(reopened.all()[2].name, "Dziecko 9");
    EXPECT_NE(reopened.notes().find("Dzieci/2\u201d były uszkodzone"), std::string::npos) << reopened.notes();
    EXPECT_EQ(reopened.notes().find("Dzieci/9"), std::string::npos);
    EXPECT_TRUE(stdfs::exists(roots.user() / "Dzieci" / "2" / "dziecko.ini.bad"));
    EXPECT_FALSE(stdfs::exists(roots.user() / "Dzieci" / ".nowe-7"));
    EXPECT_FALSE(stdfs::exists(roots.user() / "Dzieci" / ".usuwane-5"));
    EXPECT_EQ(reopened.findByName(" dziecko 9 ")->number, 9);
}

// A child's switched-off words come back as saved; a damaged list is set aside and switches nothing off.
TEST(Profiles, SwitchedOffWordsAreKeptPerChildAndADamagedListIsSetAside) {
    TempRoots roots;
    std::string error;
    EXPECT_TRUE(loadWordChoice().switchedOff.empty());
    ASSERT_TRUE(saveWordChoice({"sum", "szafa"}, &error)) << error;
    EXPECT_EQ(loadWordChoice().switchedOff, (std::set<std::string>{"sum", "szafa"}));
    EXPECT_EQ(loadWordChoice().message, "");
    TempRoots::write(roots.user() / kSwitchedOffFile, "sum\n../../etc/passwd\n");
    const WordChoice damaged = loadWordChoice();
    EXPECT_TRUE(damaged.switchedOff.empty());
    EXPECT_NE(damaged.message.find("była uszkodzona"), std::string::npos) << damaged.message;
    EXPECT_TRUE(stdfs::exists(roots.user() / (std::string(kSwitchedOffFile) + ".bad")));
    EXPECT_FALSE(stdfs::exists(roots.user() / kSwitchedOffFile));
}
