// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report_support.hpp"

#include "report/StatisticsReader.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

using reporttest::header;
using reporttest::record;

namespace {

// 2026-12-08 12:00 UTC.
const std::int64_t kNow = report::daysSinceEpoch(2026, 12, 8) * 86400 + 12 * 3600;

struct Scenario {
    const char* name;
    std::string bytes;
    std::vector<int> recordNumbers; // records read, by their place in the file
    std::vector<std::string> notes;
};

} // namespace

TEST(StatisticsReading, aDamagedFileGivesWhatIsReadableAndSaysWhatWasSkippedAndWhy) {
    const std::string goodRecord = record(1, 2026, 12, 1);
    const std::vector<Scenario> scenarios = {
        {"empty", "", {}, {"Plik statystyk jest pusty."}},
        {"shorter than its header",
         header().substr(0, 12),
         {},
         {"Plik statystyk jest krótszy niż jego nagłówek (12 z 20 bajtów) i nie zawiera żadnej gry."}},
        {"header only", header(), {}, {}},
        {"foreign program number",
         header(7) + goodRecord + goodRecord,
         {1, 2},
         {"Nagłówek pliku statystyk jest nieprawidłowy (numer programu 7 zamiast 1); zapisane gry odczytano "
          "mimo to."}},
        {"header dated 1990",
         header(1, 1990) + goodRecord,
         {1},
         {"Nagłówek pliku statystyk jest nieprawidłowy (nieprawidłowa data utworzenia); zapisane gry "
          "odczytano "
          "mimo to."}},
        {"torn last record",
         header() + goodRecord + goodRecord + goodRecord.substr(0, 30),
         {1, 2},
         {"Ostatni rekord jest niepełny (30 z 44 bajtów) i został pominięty."}},
        {"impossible values",
         header() + goodRecord + record(0, 2026, 12, 1) + record(9, 2026, 12, 1) +
             record(1, 2026, 12, 1, -5) + record(1, 1999, 12, 31) + record(1, 2026, 12, 10) +
             record(1, 2026, 13, 1) + record(1, 2025, 2, 29) + record(2, 2026, 12, 1, 60, 2) +
             record(3, 2026, 12, 1, 60, 1, -1) + record(4, 2026, 12, 1, 60, 1, 3, 1, 0, 4) +
             record(4, 2024, 2, 29) + record(3, 2026, 12, 8) + record(2, 2026, 12, 9),
         {1, 12, 13, 14},
         {"Pominięto 2 rekordy (nr 2, 3): nieznany numer gry.", "Pominięto 1 rekord (nr 4): ujemny czas gry.",
          "Pominięto 1 rekord (nr 5): data sprzed 2000 roku.",
          "Pominięto 1 rekord (nr 6): data ponad dobę późniejsza niż zegar komputera.",
          "Pominięto 2 rekordy (nr 7, 8): nieprawidłowa data rozpoczęcia.",
          "Pominięto 1 rekord (nr 9): wynik gry inny niż 0 lub 1.",
          "Pominięto 1 rekord (nr 10): ujemna liczba odpowiedzi lub podpowiedzi.",
          "Pominięto 1 rekord (nr 11): ilość zadań spoza zakresu 1–3.",
          "1 gra ma datę późniejszą niż zegar tego komputera (najwyżej o dobę); pokazano ją z zapisaną datą. "
          "Warto sprawdzić ustawienie zegara i strefy czasowej."}},
    };
    for (const Scenario& p : scenarios) {
        SCOPED_TRACE(p.name);
        const std::vector<std::uint8_t> b(p.bytes.begin(), p.bytes.end());
        const report::ReadResult o = report::readBytes(b, kNow);
        std::vector<int> numbers;
        for (const report::PlayedGame& g : o.games)
            numbers.push_back(g.number);
        EXPECT_EQ(numbers, p.recordNumbers);
        EXPECT_EQ(o.notes, p.notes);
        EXPECT_TRUE(o.fileExists);
    }
}

TEST(StatisticsReading, aRecordIsReadFieldByFieldAndManySkippedNumbersAreCutShort) {
    std::string file = header() + record(3, 2026, 12, 1, 125, 0, 7, 2, 4, 2);
    for (int i = 0; i < 10; ++i)
        file += record(5, 2026, 12, 1);
    const std::vector<std::uint8_t> b(file.begin(), file.end());
    const report::ReadResult o = report::readBytes(b, kNow);
    ASSERT_EQ(o.games.size(), 1u);
    const report::PlayedGame& g = o.games[0];
    EXPECT_EQ(g.game, 3);
    EXPECT_EQ(g.startSeconds, report::daysSinceEpoch(2026, 12, 1) * 86400 + 12 * 3600);
    EXPECT_EQ(g.level, 2);
    EXPECT_EQ(g.sounds, 1);
    EXPECT_EQ(g.position, 0x1000);
    EXPECT_EQ(g.timeSeconds, 125);
    EXPECT_FALSE(g.completed);
    EXPECT_EQ(g.hints, 4);
    EXPECT_EQ(g.correct, 7);
    EXPECT_EQ(g.wrong, 2);
    EXPECT_EQ(o.skipped, 10);
    EXPECT_EQ(o.notes,
              std::vector<std::string>{"Pominięto 10 rekordów (nr 2, 3, 4, 5, 6, 7, 8, 9, …): nieznany "
                                       "numer gry."});
}

TEST(StatisticsReading, aMissingFileIsNoErrorAndReadingLeavesTheFileAsItWas) {
    coretest::TempRoots roots;
    report::ReadResult missing = report::readFile("prgst1.stt", kNow);
    EXPECT_FALSE(missing.fileExists);
    EXPECT_TRUE(missing.games.empty());
    EXPECT_TRUE(missing.notes.empty());

    const std::filesystem::path file = roots.user() / "prgst1.stt";
    coretest::TempRoots::write(file, header() + record(1, 2026, 12, 1) + "xyz");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    const auto before = coretest::TempRoots::read(file);
    const auto time = std::filesystem::last_write_time(file);
    const report::ReadResult o = report::readFile("prgst1.stt", kNow);
    EXPECT_EQ(o.games.size(), 1u);
    EXPECT_EQ(o.notes.size(), 1u);
    EXPECT_EQ(coretest::TempRoots::read(file), before);
    EXPECT_EQ(std::filesystem::last_write_time(file), time);
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms::owner_read);
}

TEST(StatisticsReading, unreadableFilesAreExplainedInPolishAndAFileSetAsideAddsItsGamesInDateOrder) {
    coretest::TempRoots roots;
    const std::filesystem::path file = roots.user() / "prgst1.stt";
    struct Scenario {
        const char* name;
        std::function<void()> prepare;
        std::string note;
    } const scenarios[] = {
        {"larger than any statistics file",
         [&] {
             coretest::TempRoots::write(file, "");
             std::filesystem::resize_file(file, std::uintmax_t(1) << 30);
         },
         "Nie można odczytać pliku prgst1.stt (plik jest za duży)."},
        {"a directory", [&] { std::filesystem::create_directory(file); },
         "Nie można odczytać pliku prgst1.stt (to jest katalog, nie plik)."},
        {"not readable",
         [&] {
             coretest::TempRoots::write(file, header());
             std::filesystem::permissions(file, std::filesystem::perms::none);
         },
         "Nie można odczytać pliku prgst1.stt (brak uprawnień do odczytu)."},
    };
    for (const Scenario& p : scenarios) {
        SCOPED_TRACE(p.name);
        std::filesystem::remove_all(file);
        p.prepare();
        // The superuser reads whatever the permissions say.
        if (std::string(p.name) == "not readable" && ::geteuid() == 0) continue;
        const report::ReadResult o = report::readFile("prgst1.stt", kNow);
        EXPECT_TRUE(o.fileExists);
        EXPECT_TRUE(o.games.empty());
        EXPECT_EQ(o.notes, std::vector<std::string>{p.note});
    }
    std::filesystem::remove_all(file);
    EXPECT_EQ(report::readErrorCause(file.string(), 100), "plik nie istnieje");

    // The set-aside file's header is broken by definition; its records count like the others.
    coretest::TempRoots::write(file, header() + record(1, 2026, 12, 1) + record(2, 2026, 12, 3));
    coretest::TempRoots::write(roots.user() / "prgst1.stt.bad",
                               header(0, 1900) + record(3, 2026, 12, 2) + record(9, 2026, 12, 2) + "x");
    const report::ReadResult o = report::readFile("prgst1.stt", kNow);
    std::vector<int> games;
    for (const report::PlayedGame& g : o.games)
        games.push_back(g.game);
    EXPECT_EQ(games, (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(o.skipped, 2);
    EXPECT_EQ(o.notes,
              (std::vector<std::string>{
                  "Odczytano też 1 grę z pliku prgst1.stt.bad, odłożonego przy starcie programu, bo nagłówek "
                  "pliku statystyk był uszkodzony.",
                  "prgst1.stt.bad: Pominięto 1 rekord (nr 2): nieznany numer gry.",
                  "prgst1.stt.bad: Ostatni rekord jest niepełny (1 z 44 bajtów) i został pominięty."}));
}

TEST(StatisticsReading, calendarDaysAndPolishNumberForms) {
    struct Day {
        int r, m, d;
        std::int64_t days;
    };
    for (const Day& c :
         {Day{1970, 1, 1, 0}, Day{2000, 2, 29, 11016}, Day{2026, 12, 8, 20795}, Day{1969, 12, 31, -1}}) {
        EXPECT_EQ(report::daysSinceEpoch(c.r, c.m, c.d), c.days);
        int r, m, d;
        report::dateFromDays(c.days, r, m, d);
        EXPECT_EQ((std::vector<int>{r, m, d}), (std::vector<int>{c.r, c.m, c.d}));
    }
    std::string forms;
    for (int n : {0, 1, 2, 4, 5, 12, 14, 21, 22, 112, 1000, 1002})
        forms += std::string(report::pluralForm(n, "a", "b", "c"));
    EXPECT_EQ(forms, "cabbccccbccb");
}
