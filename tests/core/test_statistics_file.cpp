// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CoreTestSupport.hpp"
#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/StatisticsFile.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

using coretest::utc;
using Bytes = std::vector<std::uint8_t>;

namespace {

class StatisticsFileTest : public ::testing::Test {
protected:
    Bytes file() const { return coretest::TempRoots::read(roots.user() / "prgst1.stt"); }
    std::uint64_t fileSize() const { return std::filesystem::file_size(roots.user() / "prgst1.stt"); }

    coretest::TempRoots roots;
    coretest::ManualClock clock;
};

Bytes slice(const Bytes& b, std::size_t from, std::size_t count) {
    return Bytes(b.begin() + std::ptrdiff_t(from), b.begin() + std::ptrdiff_t(from + count));
}

} // namespace

TEST_F(StatisticsFileTest, aNewFileStartsWithTheProgramNumberAndItsCreationTimeInUtc) {
    clock.setUtc(utc(2024, 3, 15, 10, 20, 30, 456)); // a Friday
    StatisticsFile stat(1);
    EXPECT_EQ(stat.fileName(), "prgst1.stt");
    const Bytes expected = {0x01, 0x00, 0x00, 0x00,                          // program number
                            0xE8, 0x07, 0x03, 0x00, 0x05, 0x00, 0x0F, 0x00,  // 2024, March, Friday, 15th
                            0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0xC8, 0x01}; // 10:20:30.456
    EXPECT_EQ(file(), expected);
}

TEST_F(StatisticsFileTest, anExistingFileIsNeverRewritten) {
    clock.setUtc(utc(2023, 1, 2, 8, 0, 0, 0));
    { StatisticsFile first(1); }
    const Bytes created = file();
    ASSERT_EQ(created.size(), 20u);

    clock.setUtc(utc(2024, 6, 1, 12, 0, 0, 0));
    StatisticsFile second(1);
    EXPECT_EQ(file(), created) << "the header keeps the time of the first creation";
}

TEST_F(StatisticsFileTest, aFileThatCannotBeCreatedIsErrorThree) {
    // A directory in the file's place: the statistics file cannot exist.
    std::filesystem::create_directories(roots.user() / "prgst1.stt");
    try {
        StatisticsFile stat(1);
        FAIL() << "no error raised";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.code, 3);
        EXPECT_EQ(e.message(), "Plik statystyk nie został poprawnie stworzony.");
    }
}

TEST_F(StatisticsFileTest, aFileWithoutAValidHeaderIsKeptAsideAndANewOneStarted) {
    const Bytes header = {0x01, 0x00, 0x00, 0x00, 0xE8, 0x07, 0x03, 0x00, 0x05, 0x00,
                          0x0F, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0xC8, 0x01};
    Bytes headerless(50 * 44, 0x00);
    headerless[0] = 2; // records of game 2 from the first byte on
    // (A header that is damaged over records that read is mended instead: see below.)
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"killed before its header", {}},
        {"cut inside its header", slice(header, 0, 10)},
        {"records without a header", headerless},
        {"garbage", Bytes(64, 0xC3)},
    };
    clock.setUtc(utc(2024, 3, 15, 10, 20, 30, 456));
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        std::filesystem::remove(roots.user() / "prgst1.stt");
        std::filesystem::remove(roots.user() / "prgst1.stt.bad");
        coretest::TempRoots::write(roots.user() / "prgst1.stt", bytes);
        StatisticsFile stat(1);
        EXPECT_EQ(coretest::TempRoots::read(roots.user() / "prgst1.stt.bad"), bytes);
        EXPECT_EQ(stat.notes(), "Plik statystyk \u201e" + (roots.user() / "prgst1.stt").string() +
                                    "\u201d był uszkodzony i nie dał się odczytać. Odłożono go jako \u201e" +
                                    (roots.user() / "prgst1.stt.bad").string() +
                                    "\u201d i rozpoczęto nowy plik.");
        EXPECT_EQ(file(), header);
        GameSettings settings("Memory");
        stat.start(kGameMemory, settings);
        stat.finish();
        EXPECT_TRUE(stat.save(1));
        EXPECT_EQ(fileSize(), 20u + 44u);
    }

    // A valid file with a record is used as it is, beside the earlier damaged one; the leftover of an
    // interrupted header write is removed.
    const Bytes valid = file();
    coretest::TempRoots::write(roots.user() / ".prgst1.stt.a1B2c3", slice(header, 0, 7));
    { StatisticsFile again(1); }
    EXPECT_EQ(file(), valid);
    EXPECT_EQ(coretest::TempRoots::read(roots.user() / "prgst1.stt.bad"), Bytes(64, 0xC3));
    EXPECT_FALSE(std::filesystem::exists(roots.user() / ".prgst1.stt.a1B2c3"));
}

TEST_F(StatisticsFileTest, aSavedGameAppendsOneRecordFieldByFieldLittleEndian) {
    clock.setUtc(utc(2024, 3, 15, 10, 0, 0, 0));
    StatisticsFile stat(1);
    GameSettings settings("Memory");
    settings.level = 3;
    settings.sounds = 0x0005;
    settings.positions = 0x3000;

    clock.setUtc(utc(2024, 3, 16, 9, 5, 7, 250)); // a Saturday
    stat.start(kGameMemory, settings);
    for (int i = 0; i < 7; ++i)
        stat.addCorrect();
    stat.addWrong();
    stat.addWrong();
    stat.addHint();
    clock.advanceMs(125'700);
    stat.finish();
    ASSERT_TRUE(stat.save(1));

    const Bytes bytes = file();
    ASSERT_EQ(bytes.size(), 20u + 44u);
    const Bytes expected = {
        0x02, 0x00, 0x00, 0x00, // game
        0xE8, 0x07, 0x03, 0x00, 0x06, 0x00, 0x10, 0x00,
        0x09, 0x00, 0x05, 0x00, 0x07, 0x00, 0xFA, 0x00, // start
        0x03, 0x00,                                     // Poziom
        0x05, 0x00,                                     // Gloski
        0x00, 0x30,                                     // PositionEntry
        0x7D, 0x00, 0x00, 0x00,                         // 125 s
        0x01, 0x00,                                     // finished
        0x01, 0x00, 0x00, 0x00,                         // hints
        0x07, 0x00, 0x00, 0x00,                         // correct
        0x02, 0x00, 0x00, 0x00,                         // wrong
    };
    EXPECT_EQ(slice(bytes, 20, 44), expected);

    EXPECT_EQ(stat.timeText(), "2 min 5 s");
    EXPECT_EQ(stat.correct(), "7");
    EXPECT_EQ(stat.wrong(), "2");
    EXPECT_EQ(stat.hints(), "1");
}

TEST_F(StatisticsFileTest, twoGamesAppendTwoRecordsAndEachSaveAppendsAgain) {
    clock.setUtc(utc(2024, 1, 1, 0, 0, 0, 0));
    StatisticsFile stat(1);
    GameSettings settings("Spadajace");

    stat.start(kGameFalling, settings);
    stat.addWrong();
    clock.advanceMs(30'000);
    stat.finish();
    EXPECT_TRUE(stat.save(0));

    // The next game starts from zero.
    stat.start(kGameLabelling, settings);
    EXPECT_EQ(stat.wrong(), "0");
    stat.addCorrect();
    clock.advanceMs(10'000);
    stat.finish();
    EXPECT_TRUE(stat.save(1));
    EXPECT_EQ(fileSize(), 20u + 2 * 44u);

    // Saving the same game again appends the same record again.
    EXPECT_TRUE(stat.save(1));
    const Bytes bytes = file();
    ASSERT_EQ(bytes.size(), 20u + 3 * 44u);
    EXPECT_EQ(slice(bytes, 64, 44), slice(bytes, 108, 44));
    EXPECT_EQ(bytes[20], kGameFalling);
    EXPECT_EQ(bytes[20 + 40], 1) << "the first game's wrong answer";
    EXPECT_EQ(bytes[64], kGameLabelling);
    EXPECT_EQ(bytes[64 + 26], 10) << "the second game's seconds";
    EXPECT_EQ(bytes[64 + 30], 1) << "the second game was finished";
}

TEST_F(StatisticsFileTest, aVanishedFileIsNotRecreatedWithoutItsHeader) {
    StatisticsFile stat(1);
    GameSettings settings("Memory");
    std::filesystem::remove(roots.user() / "prgst1.stt");

    stat.start(kGameMemory, settings);
    stat.finish();
    EXPECT_FALSE(stat.save(1));
    EXPECT_FALSE(std::filesystem::exists(roots.user() / "prgst1.stt"));
}

TEST_F(StatisticsFileTest, nothingIsSavedBeforeAGameStartsOrAfterTheIdleLimit) {
    StatisticsFile stat(1);
    EXPECT_FALSE(stat.active());
    EXPECT_FALSE(stat.save(1));

    GameSettings settings("Uzupelnianie");
    stat.start(kGameCompletion, settings);
    EXPECT_TRUE(stat.active());
    stat.expire();
    EXPECT_FALSE(stat.active());
    stat.activity(); // activity after the limit does not revive the game
    EXPECT_FALSE(stat.active());
    stat.addCorrect(); // counts still run
    EXPECT_EQ(stat.correct(), "1");
    stat.finish();
    EXPECT_FALSE(stat.save(1));
    EXPECT_EQ(fileSize(), 20u);

    // A new game is recorded again.
    stat.start(kGameCompletion, settings);
    stat.finish();
    EXPECT_TRUE(stat.save(0));
    EXPECT_EQ(fileSize(), 64u);
}

TEST_F(StatisticsFileTest, aGameOf61Point9SecondsCountsAs61) {
    StatisticsFile stat(1);
    GameSettings settings("Memory");
    clock.setUtc(utc(2024, 5, 31, 23, 59, 59, 500));
    stat.start(kGameMemory, settings);
    clock.setUtc(utc(2024, 6, 1, 0, 1, 1, 400)); // across midnight and a month end
    stat.finish();
    EXPECT_EQ(stat.timeSeconds(), 61);
    EXPECT_EQ(stat.timeText(), "1 min 1 s");
    ASSERT_TRUE(stat.save(0));
    const Bytes bytes = file();
    EXPECT_EQ(slice(bytes, 20 + 26, 4), (Bytes{61, 0, 0, 0}));
}

TEST(StatisticsRating, thresholdsOfTheRating) {
    coretest::TempRoots roots;
    StatisticsFile stat(1);
    GameSettings settings("Memory");
    const auto rating = [&](int correct, int wrong) {
        stat.start(kGameMemory, settings);
        for (int i = 0; i < correct; ++i)
            stat.addCorrect();
        for (int i = 0; i < wrong; ++i)
            stat.addWrong();
        return stat.rating();
    };
    EXPECT_EQ(rating(0, 0), 1);
    EXPECT_EQ(rating(2, 5), 1); // 2 <= 2.0
    EXPECT_EQ(rating(5, 0), 4);
    EXPECT_EQ(rating(5, 3), 4); // 3 > 3.0 fails
    EXPECT_EQ(rating(5, 4), 2); // 4 > 3.0
    EXPECT_EQ(rating(3, 5), 2); // just above 0.4 x 5
    EXPECT_EQ(rating(10, 6), 4);
    EXPECT_EQ(rating(10, 7), 2);
    // Hints do not count.
    stat.start(kGameMemory, settings);
    for (int i = 0; i < 5; ++i)
        stat.addCorrect();
    stat.addHint();
    EXPECT_EQ(stat.rating(), 4);
}

namespace {

// A header of 15 March 2024 10:20:30.456 and a finished game of the given number, quantity 2.
const Bytes kHeader = {0x01, 0x00, 0x00, 0x00, 0xE8, 0x07, 0x03, 0x00, 0x05, 0x00,
                       0x0F, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0xC8, 0x01};

Bytes record(std::uint8_t game) {
    Bytes r(44, 0);
    r[0] = game;
    const Bytes time = slice(kHeader, 4, 16);
    std::copy(time.begin(), time.end(), r.begin() + 4);
    r[20] = 2;
    return r;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

void play(StatisticsFile& stat, int game, const GameSettings& settings) {
    stat.start(game, settings);
    stat.finish();
}

} // namespace

TEST_F(StatisticsFileTest, aDamagedFileIsMendedKeepingEveryWholeRecordAndSaidOnce) {
    const std::string path = (roots.user() / "prgst1.stt").string();
    Bytes wrongProgram = kHeader;
    wrongProgram[0] = 2;
    Bytes badMonth = kHeader;
    badMonth[6] = 13;
    const Bytes tail = slice(record(3), 0, 4);
    struct Case {
        const char* what;
        Bytes before, after, badTail;
        std::string note;
    };
    const std::string torn =
        "Ostatni wynik w pliku statystyk \u201e" + path +
        "\u201d był zapisany tylko częściowo (na przykład przy nagłym wyłączeniu komputera). "
        "Niepełne bajty przeniesiono do \u201e" +
        path + ".bad-tail\u201d, a wszystkie pełne wyniki zostały zachowane.";
    const std::string header =
        "Nagłówek pliku statystyk \u201e" + path +
        "\u201d był uszkodzony i został odtworzony; wszystkie wyniki gier zostały zachowane.";
    // A mended header takes the time of the first game; with none, the time of the mending (the clock's).
    const std::vector<Case> cases = {
        {"torn last record", join({kHeader, record(1), record(2), record(4), record(1), tail}),
         join({kHeader, record(1), record(2), record(4), record(1)}), tail, torn},
        {"another program's number", join({wrongProgram, record(2)}), join({kHeader, record(2)}), {}, header},
        {"a thirteenth month, no games", badMonth, kHeader, {}, header},
        {"both", join({badMonth, record(1), tail}), join({kHeader, record(1)}), tail, torn},
        {"whole", join({kHeader, record(4)}), join({kHeader, record(4)}), {}, ""},
    };
    clock.setUtc(utc(2024, 3, 15, 10, 20, 30, 456));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path);
        std::filesystem::remove(path + ".bad-tail");
        coretest::TempRoots::write(path, c.before);
        StatisticsFile stat(1);
        EXPECT_EQ(file(), c.after);
        EXPECT_EQ(stat.notes(), c.note);
        EXPECT_FALSE(std::filesystem::exists(path + ".bad"));
        EXPECT_EQ(std::filesystem::exists(path + ".bad-tail"), !c.badTail.empty());
        if (!c.badTail.empty()) {
            EXPECT_EQ(coretest::TempRoots::read(path + ".bad-tail"), c.badTail);
        }

        // Three games after it: every record whole, the old ones first.
        GameSettings settings("Memory");
        for (int game : {1, 2, 3}) {
            play(stat, game, settings);
            EXPECT_TRUE(stat.save(1));
        }
        const Bytes now = file();
        ASSERT_EQ(now.size(), c.after.size() + 3 * 44);
        EXPECT_EQ(slice(now, 0, c.after.size()), c.after);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(now[c.after.size() + 44 * k], k + 1);

        // Told once: a second start finds a whole file.
        StatisticsFile again(1);
        EXPECT_EQ(again.notes(), "");
    }
}

TEST_F(StatisticsFileTest, aRefusedAppendIsSaidWithItsCauseAndItsRecordWrittenAtTheNextSuccess) {
    // Permissions only bind an unprivileged user; every case runs in a child process of its own.
    std::filesystem::permissions(roots.user().parent_path(), std::filesystem::perms(0755));
    std::filesystem::permissions(roots.user(), std::filesystem::perms(0755));
    const std::string path = (roots.user() / "prgst1.stt").string();
    struct Case {
        const char* what;
        std::string cause;
        // Makes the next append fail, then lets writes through again.
        std::function<void()> block, unblock;
    };
    const rlim_t limit = 20 + 44 + 10; // room for one record and ten bytes of the next
    const std::vector<Case> cases = {
        {"read-only file", "brak uprawnień do zapisu",
         [&] { std::filesystem::permissions(path, std::filesystem::perms(0444)); },
         [&] { std::filesystem::permissions(path, std::filesystem::perms(0644)); }},
        {"full disk", "plik przekroczył dozwolony rozmiar (brak miejsca)",
         [&] {
             ::signal(SIGXFSZ, SIG_IGN);
             const rlimit r{limit, RLIM_INFINITY};
             ::setrlimit(RLIMIT_FSIZE, &r);
         },
         [] {
             const rlimit r{RLIM_INFINITY, RLIM_INFINITY};
             ::setrlimit(RLIMIT_FSIZE, &r);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path);
        coretest::TempRoots::write(path, kHeader);
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        const std::string failure = coretest::inChild(true, [&]() -> std::string {
            StatisticsFile stat(1);
            GameSettings settings("Memory");
            play(stat, 1, settings);
            if (!stat.save(1)) return "the first game was not written";
            c.block();
            play(stat, 2, settings);
            if (stat.save(1)) return "an append went through the block";
            const std::string said =
                "Nie udało się zapisać wyniku gry w pliku statystyk \u201e" + path + "\u201d: " + c.cause +
                ". Wynik czeka w pamięci i zostanie dopisany przy następnym udanym zapisie, "
                "dopóki program jest otwarty.";
            if (stat.message() != said) return "said: " + stat.message();
            if (std::filesystem::file_size(path) != 64) return "a partial record stayed";
            play(stat, 3, settings);
            if (stat.save(1) || stat.pending() != 2) return "two records should wait";
            c.unblock();
            play(stat, 4, settings);
            if (!stat.save(1) || !stat.message().empty() || stat.pending() != 0)
                return "the waiting records were not written";
            return "";
        });
        EXPECT_EQ(failure, "");
        const Bytes now = file();
        ASSERT_EQ(now.size(), 20u + 4 * 44);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(now[20 + 44 * k], k + 1) << "in order";
    }
}
