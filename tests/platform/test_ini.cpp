// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Error.hpp"
#include "platform/system/DateTime.hpp"
#include "platform/system/Ini.hpp"
#include "temp_dir.hpp"

#include <climits>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Every test writes dates as a Polish desktop shows them.
class IniTest : public ::testing::Test {
protected:
    void SetUp() override { date::setShortFormat("%d.%m.%Y"); }
    void TearDown() override { date::setShortFormat(""); }
    TempRoots roots;
};

} // namespace

TEST_F(IniTest, RecordingsIndexRoundTripsPolishTextNumbersAndDates) {
    std::filesystem::create_directories(roots.user() + "/Nagrane");
    {
        IniFile ini("Nagrane\\record.xtr");
        ini.writeString("Nagranie0", "Plik", "Nagranie0");
        ini.writeString("Nagranie0", "Nazwa", "Imię i Nazwisko Żółć");
        ini.writeDate("Nagranie0", "Data", date::fromYmd(2024, 3, 9));
        ini.writeString("Nagranie1", "Plik", "");
        ini.writeInteger("Nagranie1", "Licznik", -42);
    }
    EXPECT_EQ(TempRoots::read(roots.user() + "/Nagrane/record.xtr"),
              "[Nagranie0]\nPlik=Nagranie0\nNazwa=Imię i Nazwisko Żółć\nData=09.03.2024\n\n"
              "[Nagranie1]\nPlik=\nLicznik=-42\n");

    IniFile again("nagrane\\RECORD.XTR");
    EXPECT_EQ(again.readString("Nagranie0", "Nazwa", "?"), "Imię i Nazwisko Żółć");
    EXPECT_EQ(again.readDate("Nagranie0", "Data", 0), date::fromYmd(2024, 3, 9));
    EXPECT_EQ(again.readString("Nagranie1", "Plik", "?"), "");
    EXPECT_EQ(again.readInteger("Nagranie1", "Licznik", 0), -42);
    EXPECT_TRUE(again.sectionExists("Nagranie1"));
    EXPECT_FALSE(again.sectionExists("Nagranie2"));

    // Rewriting one value keeps the others and their order.
    again.writeString("Nagranie0", "Nazwa", "Ola");
    EXPECT_EQ(TempRoots::read(roots.user() + "/Nagrane/record.xtr"),
              "[Nagranie0]\nPlik=Nagranie0\nNazwa=Ola\nData=09.03.2024\n\n[Nagranie1]\nPlik=\nLicznik=-42\n");
    // A line break in a value cannot smuggle in a key of its own.
    again.writeString("Nagranie1", "Plik", "a\nData=1");
    EXPECT_FALSE(again.valueExists("Nagranie1", "Data"));
    EXPECT_EQ(again.readString("Nagranie1", "Plik", ""), "a Data=1");
}

TEST_F(IniTest, NamesIgnoreCaseTheFirstDuplicateWinsAndValuesAreTrimmed) {
    TempRoots::write(roots.prog() + "/Data/data.ini", "; settings\n"
                                                      "[DaneProgramu]\n"
                                                      "Zakladka=3\n"
                                                      "ZAKLADKA=4\n"
                                                      "  Gloski  =   12   \n"
                                                      "[Memory]\n"
                                                      "Poziom=2\n"
                                                      "[memory]\n"
                                                      "poziom=3\n"
                                                      "Pusta=\n");
    IniFile ini("Data\\data.ini");
    EXPECT_EQ(ini.readInteger("daneprogramu", "zakladka", 1), 3);
    EXPECT_EQ(ini.readInteger("DANEPROGRAMU", "Gloski", 0), 12);
    EXPECT_EQ(ini.readString("DaneProgramu", "gloski", ""), "12");
    EXPECT_EQ(ini.readInteger("MEMORY", "POZIOM", 0), 2);
    EXPECT_TRUE(ini.valueExists("Memory", "Pusta"));
    EXPECT_FALSE(ini.valueExists("Memory", "Brak"));
    EXPECT_EQ(ini.readString("Memory", "Brak", "domyślna"), "domyślna");
    EXPECT_FALSE(ini.sectionExists("settings"));
}

TEST_F(IniTest, IntegersThatAreNotPlainDecimalsGiveTheDefault) {
    TempRoots::write(roots.prog() + "/Data/data.ini", "[S]\n"
                                                      "a=12abc\n"
                                                      "b=\n"
                                                      "c= 7 \n"
                                                      "d=-1\n"
                                                      "e=99999999999\n"
                                                      "f=+5\n"
                                                      "g=2147483647\n"
                                                      "h=-2147483648\n"
                                                      "i=2147483648\n"
                                                      "j=0x10\n"
                                                      "k=1.5\n"
                                                      "l=-\n"
                                                      "m=1 2\n");
    IniFile ini("Data\\data.ini");
    const int def = 77;
    EXPECT_EQ(ini.readInteger("S", "a", def), def);
    EXPECT_EQ(ini.readInteger("S", "b", def), def);
    EXPECT_EQ(ini.readInteger("S", "c", def), 7);
    EXPECT_EQ(ini.readInteger("S", "d", def), -1);
    EXPECT_EQ(ini.readInteger("S", "e", def), def);
    EXPECT_EQ(ini.readInteger("S", "f", def), 5);
    EXPECT_EQ(ini.readInteger("S", "g", def), INT_MAX);
    EXPECT_EQ(ini.readInteger("S", "h", def), INT_MIN);
    EXPECT_EQ(ini.readInteger("S", "i", def), def);
    EXPECT_EQ(ini.readInteger("S", "j", def), def);
    EXPECT_EQ(ini.readInteger("S", "k", def), def);
    EXPECT_EQ(ini.readInteger("S", "l", def), def);
    EXPECT_EQ(ini.readInteger("S", "m", def), def);
    EXPECT_EQ(ini.readInteger("S", "missing", def), def);
}

TEST_F(IniTest, MissingBinaryAndGarbageFilesReadAsEmpty) {
    IniFile missing("Data\\data.ini");
    EXPECT_FALSE(missing.sectionExists("DaneProgramu"));
    EXPECT_EQ(missing.readInteger("DaneProgramu", "Zakladka", 1), 1);

    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 7919 + 13) % 256);
    TempRoots::write(roots.prog() + "/Data/data.ini", binary);
    IniFile junk("Data\\data.ini");
    EXPECT_FALSE(junk.sectionExists("DaneProgramu"));
    EXPECT_EQ(junk.readInteger("DaneProgramu", "Zakladka", 1), 1);

    TempRoots::write(roots.prog() + "/Data/data.ini", "]]]=[[[\n=\n[\n[]\nZakladka\n==3\n\xff\xfe");
    IniFile garbage("Data\\data.ini");
    EXPECT_EQ(garbage.readInteger("DaneProgramu", "Zakladka", 1), 1);
    EXPECT_EQ(garbage.readDate("DaneProgramu", "Data", 5), 5);

    // A directory where the file should be.
    std::filesystem::create_directories(roots.user() + "/katalog.ini");
    IniFile dir("katalog.ini");
    EXPECT_EQ(dir.readString("A", "b", "x"), "x");
}

TEST_F(IniTest, ChangesMadeByOthersAreSeenAndFailedWritesKeepTheFile) {
    TempRoots::write(roots.user() + "/record.xtr", "[Nagranie0]\nNazwa=Ala\n");
    IniFile ini("record.xtr");
    EXPECT_EQ(ini.readString("Nagranie0", "Nazwa", ""), "Ala");
    TempRoots::write(roots.user() + "/record.xtr", "[Nagranie0]\nNazwa=Ola i Ela\n");
    EXPECT_EQ(ini.readString("Nagranie0", "Nazwa", ""), "Ola i Ela");

    IniFile nowhere("Brak\\record.xtr");
    EXPECT_THROW(nowhere.writeString("Nagranie0", "Plik", "x"), FileError);
    EXPECT_FALSE(std::filesystem::exists(roots.user() + "/Brak"));
}

TEST_F(IniTest, DatesThatAreNoValidDatesGiveTheDefault) {
    TempRoots::write(roots.user() + "/record.xtr",
                     "[N]\nA=01.01.1990\nB=31.02.2020\nC=jutro\nD=\nE=29.02.2000\n");
    IniFile ini("record.xtr");
    EXPECT_EQ(ini.readDate("N", "A", 0), 32874);
    EXPECT_EQ(ini.readDate("N", "B", 0), 0);
    EXPECT_EQ(ini.readDate("N", "C", 0), 0);
    EXPECT_EQ(ini.readDate("N", "D", -1), -1);
    EXPECT_EQ(ini.readDate("N", "E", 0), date::fromYmd(2000, 2, 29));
}

TEST_F(IniTest, AFileThatCouldNotBeReadIsNeverWrittenOver) {
    std::string big = "[Nagranie0]\nNazwa=Ala\n";
    big += "[Nagranie1]\nNazwa=" + std::string((4u << 20) - big.size(), 'x') + "\n";
    ASSERT_GT(big.size(), 4u << 20);
    TempRoots::write(roots.user() + "/big.xtr", big);
    std::filesystem::create_directories(roots.user() + "/dir.xtr/inside");
    for (const char* name : {"big.xtr", "dir.xtr"}) {
        SCOPED_TRACE(name);
        IniFile ini(name);
        EXPECT_TRUE(ini.unreadable());
        EXPECT_EQ(ini.readString("Nagranie0", "Nazwa", "?"), "?");
        EXPECT_THROW(ini.writeString("Nagranie0", "Nazwa", "Ola"), FileError);
        EXPECT_THROW(ini.writeStrings("Nagranie0", {{"Plik", "a"}, {"Data", "b"}}), FileError);
    }
    EXPECT_EQ(TempRoots::read(roots.user() + "/big.xtr"), big);
    EXPECT_TRUE(std::filesystem::exists(roots.user() + "/dir.xtr/inside"));

    // Once it is readable again, several keys go in one write and the rest of the file stays.
    TempRoots::write(roots.user() + "/big.xtr", "[Nagranie0]\nNazwa=Ala\n[Nagranie1]\nNazwa=Ela\n");
    IniFile ini("big.xtr");
    EXPECT_FALSE(ini.unreadable());
    ini.writeStrings("Nagranie0", {{"Nazwa", "Ola"}, {"Plik", "Nagranie0"}});
    EXPECT_EQ(TempRoots::read(roots.user() + "/big.xtr"),
              "[Nagranie0]\nNazwa=Ola\nPlik=Nagranie0\n\n[Nagranie1]\nNazwa=Ela\n");
}
