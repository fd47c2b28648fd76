#include "CoreTestSupport.hpp"
#include "app/_cblad.hpp"
#include "app/_cstatrec.hpp"
#include "app/_custgry.hpp"

#include <gtest/gtest.h>

#include <filesystem>

using coretest::utc;
using Bytes = std::vector<std::uint8_t>;

namespace {

class StatisticsFile : public ::testing::Test {
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

TEST_F(StatisticsFile, aNewFileStartsWithTheProgramNumberAndItsCreationTimeInUtc) {
    clock.setUtc(utc(2024, 3, 15, 10, 20, 30, 456)); // a Friday
    CStatRec stat(1);
    EXPECT_EQ(stat.nazwaPliku(), "prgst1.stt");
    const Bytes expected = {0x01, 0x00, 0x00, 0x00,                          // program number
                            0xE8, 0x07, 0x03, 0x00, 0x05, 0x00, 0x0F, 0x00,  // 2024, March, Friday, 15th
                            0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0xC8, 0x01}; // 10:20:30.456
    EXPECT_EQ(file(), expected);
}

TEST_F(StatisticsFile, anExistingFileIsNeverRewritten) {
    clock.setUtc(utc(2023, 1, 2, 8, 0, 0, 0));
    { CStatRec first(1); }
    const Bytes created = file();
    ASSERT_EQ(created.size(), 20u);

    clock.setUtc(utc(2024, 6, 1, 12, 0, 0, 0));
    CStatRec second(1);
    EXPECT_EQ(file(), created) << "the header keeps the time of the first creation";
}

TEST_F(StatisticsFile, aFileThatCannotBeCreatedIsErrorThree) {
    // A directory in the file's place: the statistics file cannot exist.
    std::filesystem::create_directories(roots.user() / "prgst1.stt");
    try {
        CStatRec stat(1);
        FAIL() << "no error raised";
    } catch (const CBlad& e) {
        EXPECT_EQ(e.kod, 3);
        EXPECT_EQ(e.komunikat(), "Plik statystyk nie został poprawnie stworzony.");
    }
}

TEST_F(StatisticsFile, aFileWithoutAValidHeaderIsKeptAsideAndANewOneStarted) {
    const Bytes header = {0x01, 0x00, 0x00, 0x00, 0xE8, 0x07, 0x03, 0x00, 0x05, 0x00,
                          0x0F, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0xC8, 0x01};
    Bytes wrongProgram = header;
    wrongProgram[0] = 2;
    Bytes badMonth = header;
    badMonth[6] = 13;
    Bytes headerless(50 * 44, 0x00);
    headerless[0] = 2; // records of game 2 from the first byte on
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"killed before its header", {}},         {"cut inside its header", slice(header, 0, 10)},
        {"records without a header", headerless}, {"another program's number", wrongProgram},
        {"a thirteenth month", badMonth},         {"garbage", Bytes(64, 0xC3)},
    };
    clock.setUtc(utc(2024, 3, 15, 10, 20, 30, 456));
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        std::filesystem::remove(roots.user() / "prgst1.stt");
        std::filesystem::remove(roots.user() / "prgst1.stt.bad");
        coretest::TempRoots::write(roots.user() / "prgst1.stt", bytes);
        CStatRec stat(1);
        EXPECT_EQ(coretest::TempRoots::read(roots.user() / "prgst1.stt.bad"), bytes);
        EXPECT_EQ(file(), header);
        CUstGry ust("Memory");
        stat.start(ZAK_MEMORY, ust);
        stat.zakoncz();
        EXPECT_TRUE(stat.zapisz(1));
        EXPECT_EQ(fileSize(), 20u + 44u);
    }

    // A valid file with a record is used as it is, beside the earlier damaged one; the leftover of an
    // interrupted header write is removed.
    const Bytes valid = file();
    coretest::TempRoots::write(roots.user() / ".prgst1.stt.a1B2c3", slice(header, 0, 7));
    { CStatRec again(1); }
    EXPECT_EQ(file(), valid);
    EXPECT_EQ(coretest::TempRoots::read(roots.user() / "prgst1.stt.bad"), Bytes(64, 0xC3));
    EXPECT_FALSE(std::filesystem::exists(roots.user() / ".prgst1.stt.a1B2c3"));
}

TEST_F(StatisticsFile, aSavedGameAppendsOneRecordFieldByFieldLittleEndian) {
    clock.setUtc(utc(2024, 3, 15, 10, 0, 0, 0));
    CStatRec stat(1);
    CUstGry ust("Memory");
    ust.Poziom = 3;
    ust.Gloski = 0x0005;
    ust.Pozycja = 0x3000;

    clock.setUtc(utc(2024, 3, 16, 9, 5, 7, 250)); // a Saturday
    stat.start(ZAK_MEMORY, ust);
    for (int i = 0; i < 7; ++i)
        stat.dodajDobre();
    stat.dodajZle();
    stat.dodajZle();
    stat.dodajPodpowiedz();
    clock.advanceMs(125'700);
    stat.zakoncz();
    ASSERT_TRUE(stat.zapisz(1));

    const Bytes bytes = file();
    ASSERT_EQ(bytes.size(), 20u + 44u);
    const Bytes expected = {
        0x02, 0x00, 0x00, 0x00, // game
        0xE8, 0x07, 0x03, 0x00, 0x06, 0x00, 0x10, 0x00,
        0x09, 0x00, 0x05, 0x00, 0x07, 0x00, 0xFA, 0x00, // start
        0x03, 0x00,                                     // Poziom
        0x05, 0x00,                                     // Gloski
        0x00, 0x30,                                     // Pozycja
        0x7D, 0x00, 0x00, 0x00,                         // 125 s
        0x01, 0x00,                                     // finished
        0x01, 0x00, 0x00, 0x00,                         // hints
        0x07, 0x00, 0x00, 0x00,                         // correct
        0x02, 0x00, 0x00, 0x00,                         // wrong
    };
    EXPECT_EQ(slice(bytes, 20, 44), expected);

    EXPECT_EQ(stat.czasTekst(), "2 min 5 s");
    EXPECT_EQ(stat.dobre(), "7");
    EXPECT_EQ(stat.zle(), "2");
    EXPECT_EQ(stat.podpowiedzi(), "1");
}

TEST_F(StatisticsFile, twoGamesAppendTwoRecordsAndEachSaveAppendsAgain) {
    clock.setUtc(utc(2024, 1, 1, 0, 0, 0, 0));
    CStatRec stat(1);
    CUstGry ust("Spadajace");

    stat.start(ZAK_SPADAJACE, ust);
    stat.dodajZle();
    clock.advanceMs(30'000);
    stat.zakoncz();
    EXPECT_TRUE(stat.zapisz(0));

    // The next game starts from zero.
    stat.start(ZAK_PODPISYWANIE, ust);
    EXPECT_EQ(stat.zle(), "0");
    stat.dodajDobre();
    clock.advanceMs(10'000);
    stat.zakoncz();
    EXPECT_TRUE(stat.zapisz(1));
    EXPECT_EQ(fileSize(), 20u + 2 * 44u);

    // Saving the same game again appends the same record again.
    EXPECT_TRUE(stat.zapisz(1));
    const Bytes bytes = file();
    ASSERT_EQ(bytes.size(), 20u + 3 * 44u);
    EXPECT_EQ(slice(bytes, 64, 44), slice(bytes, 108, 44));
    EXPECT_EQ(bytes[20], ZAK_SPADAJACE);
    EXPECT_EQ(bytes[20 + 40], 1) << "the first game's wrong answer";
    EXPECT_EQ(bytes[64], ZAK_PODPISYWANIE);
    EXPECT_EQ(bytes[64 + 26], 10) << "the second game's seconds";
    EXPECT_EQ(bytes[64 + 30], 1) << "the second game was finished";
}

TEST_F(StatisticsFile, aVanishedFileIsNotRecreatedWithoutItsHeader) {
    CStatRec stat(1);
    CUstGry ust("Memory");
    std::filesystem::remove(roots.user() / "prgst1.stt");

    stat.start(ZAK_MEMORY, ust);
    stat.zakoncz();
    EXPECT_FALSE(stat.zapisz(1));
    EXPECT_FALSE(std::filesystem::exists(roots.user() / "prgst1.stt"));
}

TEST_F(StatisticsFile, nothingIsSavedBeforeAGameStartsOrAfterTheIdleLimit) {
    CStatRec stat(1);
    EXPECT_FALSE(stat.aktywny());
    EXPECT_FALSE(stat.zapisz(1));

    CUstGry ust("Uzupelnianie");
    stat.start(ZAK_UZUPELNIANIE, ust);
    EXPECT_TRUE(stat.aktywny());
    stat.wygas();
    EXPECT_FALSE(stat.aktywny());
    stat.aktywnosc(); // activity after the limit does not revive the game
    EXPECT_FALSE(stat.aktywny());
    stat.dodajDobre(); // counts still run
    EXPECT_EQ(stat.dobre(), "1");
    stat.zakoncz();
    EXPECT_FALSE(stat.zapisz(1));
    EXPECT_EQ(fileSize(), 20u);

    // A new game is recorded again.
    stat.start(ZAK_UZUPELNIANIE, ust);
    stat.zakoncz();
    EXPECT_TRUE(stat.zapisz(0));
    EXPECT_EQ(fileSize(), 64u);
}

TEST_F(StatisticsFile, aGameOf61Point9SecondsCountsAs61) {
    CStatRec stat(1);
    CUstGry ust("Memory");
    clock.setUtc(utc(2024, 5, 31, 23, 59, 59, 500));
    stat.start(ZAK_MEMORY, ust);
    clock.setUtc(utc(2024, 6, 1, 0, 1, 1, 400)); // across midnight and a month end
    stat.zakoncz();
    EXPECT_EQ(stat.czasSek(), 61);
    EXPECT_EQ(stat.czasTekst(), "1 min 1 s");
    ASSERT_TRUE(stat.zapisz(0));
    const Bytes bytes = file();
    EXPECT_EQ(slice(bytes, 20 + 26, 4), (Bytes{61, 0, 0, 0}));
}

TEST(StatisticsRating, thresholdsOfTheRating) {
    coretest::TempRoots roots;
    CStatRec stat(1);
    CUstGry ust("Memory");
    const auto ocena = [&](int dobre, int zle) {
        stat.start(ZAK_MEMORY, ust);
        for (int i = 0; i < dobre; ++i)
            stat.dodajDobre();
        for (int i = 0; i < zle; ++i)
            stat.dodajZle();
        return stat.ocena();
    };
    EXPECT_EQ(ocena(0, 0), 1);
    EXPECT_EQ(ocena(2, 5), 1); // 2 <= 2.0
    EXPECT_EQ(ocena(5, 0), 4);
    EXPECT_EQ(ocena(5, 3), 4); // 3 > 3.0 fails
    EXPECT_EQ(ocena(5, 4), 2); // 4 > 3.0
    EXPECT_EQ(ocena(3, 5), 2); // just above 0.4 x 5
    EXPECT_EQ(ocena(10, 6), 4);
    EXPECT_EQ(ocena(10, 7), 2);
    // Hints do not count.
    stat.start(ZAK_MEMORY, ust);
    for (int i = 0; i < 5; ++i)
        stat.dodajDobre();
    stat.dodajPodpowiedz();
    EXPECT_EQ(stat.ocena(), 4);
}
