// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recorder_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "../platform/audio_test_util.hpp"
#include "platform/audio/AudioDevice.hpp"
#include "platform/audio/Wav.hpp"

#include <algorithm>
#include <fstream>

using rectest::Panel;
namespace stdfs = std::filesystem;
namespace msg = recordingMessages;

namespace {

using Places = std::array<Recording, 30>;

void put(const stdfs::path& file, const std::string& bytes) {
    stdfs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

Places emptyPlaces() {
    Places w;
    for (int i = 0; i < 30; ++i)
        w[i].number = i;
    return w;
}

// Place 0 holds "Ala", recorded on 17 May 2024 into a take of ms milliseconds (no file for ms < 0).
void withAla(const stdfs::path& user, int ms) {
    Places w = emptyPlaces();
    w[0].name = "Ala";
    w[0].file = "Nagranie0";
    w[0].data = platform::date::fromYmd(2024, 5, 17);
    stdfs::create_directories(user / "Nagrane");
    put(user / "Nagrane" / "record.xtr", RecordingList::indexText(w));
    if (ms >= 0)
        writeBytes((user / "Nagrane" / "Nagranie0.wav").string(),
                   soundFile(platform::wav::kRecordingFormat, ms));
}

std::string index(const Panel& p) {
    return wvtest::readFile(p.userFile("Nagrane/record.xtr"));
}

std::uint32_t dataBytes(const stdfs::path& wav) {
    const auto b = rectest::bytes(wav);
    return b.size() >= 46 ? rectest::le32(b, 42) : 0xFFFFFFFFu;
}

bool idle(const Panel& p) {
    return !wvtest::mainMenu()->busy() && p.visible("rrec") && !p.visible("rstop") &&
           p.d->control("wyjdz")->enabled();
}

std::vector<std::string> entries(const stdfs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : stdfs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct NoMicrophone {
    NoMicrophone() { platform::audio::simulateMissingMicrophone(true); }
    ~NoMicrophone() { platform::audio::simulateMissingMicrophone(false); }
};

} // namespace

TEST(RecorderFailures, WithoutAMicrophoneTheUserIsToldAndNoNameDateOrFileIsWritten) {
    NoMicrophone none;
    Panel p({800, 600}, [](const stdfs::path& user) { withAla(user, 700); });
    const std::string before = index(p);
    const auto take = rectest::bytes(p.userFile("Nagrane/Nagranie0.wav"));
    p.toRecorderTab();
    for (int row : {1, 0}) { // a place never recorded, then one with a take
        SCOPED_TRACE(row);
        p.clickName(row);
        p.d->text("Ela");
        p.record();
        EXPECT_EQ(p.takeMessage(), msg::kMicrophone);
        EXPECT_TRUE(idle(p));
        EXPECT_EQ(index(p), before);
        EXPECT_EQ(p.text("vL_Data1"), "");
    }
    EXPECT_FALSE(stdfs::exists(p.userFile("Nagrane/Nagranie1.wav")));
    EXPECT_EQ(rectest::bytes(p.userFile("Nagrane/Nagranie0.wav")), take);
}

TEST(RecorderFailures, ADamagedTakeIsReportedWhenPlayedAndReplacedByTheNextOne) {
    const std::vector<std::string> damaged = {"", std::string(10, 'x'),
                                              std::string("RIFF&\0\0\0WAVEfmt \x12\0\0\0", 20)};
    const std::string today = platform::date::formatShort(platform::date::today());
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        Panel p({800, 600}, [&](const stdfs::path& user) {
            withAla(user, -1);
            put(user / "Nagrane" / "Nagranie0.wav", bytes);
        });
        p.toRecorderTab();
        p.clickName(0);
        p.play();
        EXPECT_EQ(p.takeMessage(), msg::kDamagedRecording);
        EXPECT_TRUE(idle(p));
        p.record();
        p.d->wait(1000);
        p.stop();
        EXPECT_EQ(p.takeMessage(), "");
        EXPECT_EQ(dataBytes(p.userFile("Nagrane/Nagranie0.wav")), 22050u * 2);
        EXPECT_EQ(
            platform::IniFile(p.userFile("Nagrane/record.xtr").string()).readString("Nagranie0", "Data", ""),
            today);
    }
}

TEST(RecorderFailures, ADamagedOrMissingIndexIsRebuiltWholeWithTheOldOneKeptAside) {
    std::string utf16 = "\xFF\xFE", noise;
    for (char c : RecordingList::indexText(emptyPlaces()))
        utf16 += std::string{c, '\0'};
    for (int i = 0; i < 300; ++i)
        noise += char((i * 7919 + 13) % 256);
    Places big = emptyPlaces();
    big[0].name = std::string(4'500'000, 'x'); // a pasted name an earlier version saved
    enum Kind { File, Directory, RecordingsDirIsAFile };
    const std::vector<std::pair<Kind, std::string>> cases = {
        {File, ""},       {File, noise},
        {File, utf16},    {File, RecordingList::indexText(big)},
        {Directory, "x"}, {RecordingsDirIsAFile, "x"},
    };
    for (const auto& [kind, original] : cases) {
        SCOPED_TRACE(kind * 1000 + int(original.size() % 1000));
        Panel p({800, 600}, [&](const stdfs::path& user) {
            if (kind == Directory)
                stdfs::create_directories(user / "Nagrane/record.xtr/x");
            else
                put(kind == File ? user / "Nagrane/record.xtr" : user / "Nagrane", original);
        });
        EXPECT_EQ(index(p), RecordingList::indexText(emptyPlaces()));
        if (kind == RecordingsDirIsAFile)
            EXPECT_EQ(wvtest::readFile(p.userFile("Nagrane.bad")), "x");
        else if (kind == Directory)
            EXPECT_TRUE(stdfs::exists(p.userFile("Nagrane/record.xtr.bad/x")));
        else
            EXPECT_EQ(wvtest::readFile(p.userFile("Nagrane/record.xtr.bad")), original);
        p.toRecorderTab();
        EXPECT_EQ(p.takeMessage(),
                  kind == RecordingsDirIsAFile
                      ? ""
                      : msg::kIndexRebuilt +
                            ("\u201e" + p.userFile("Nagrane/record.xtr.bad").string() + "\u201d."));
        // The places work again.
        p.clickName(2);
        p.d->text("Ela");
        p.record();
        p.stop();
        Places expected = emptyPlaces();
        expected[2] = {2, "Ela", platform::date::today(), "Nagranie2"};
        EXPECT_EQ(index(p), RecordingList::indexText(expected));
    }
}

TEST(RecorderFailures, ATakeTheDiskRefusesLeavesTheOldTakeAndTheIndexAsTheyWere) {
    Panel p({800, 600}, [](const stdfs::path& user) { withAla(user, 3000); });
    const std::string before = index(p);
    const auto take = rectest::bytes(p.userFile("Nagrane/Nagranie0.wav"));
    p.toRecorderTab();
    p.clickName(0);
    p.d->text("2");
    p.record();
    p.d->wait(1000);
    {
        FileSizeLimit full(20000);
        p.stop();
    }
    EXPECT_EQ(p.takeMessage(), msg::kSaveFailedPreviousKept);
    EXPECT_TRUE(idle(p));
    EXPECT_EQ(rectest::bytes(p.userFile("Nagrane/Nagranie0.wav")), take);
    EXPECT_EQ(index(p), before);
    EXPECT_EQ(p.text("vL_Data0"), platform::date::formatShort(platform::date::fromYmd(2024, 5, 17)));

    // A take that fits while the index does not: the take is kept and the user told.
    p.record();
    {
        FileSizeLimit full(600);
        p.stop();
    }
    EXPECT_EQ(p.takeMessage(), msg::kIndexSaveFailed);
    EXPECT_EQ(dataBytes(p.userFile("Nagrane/Nagranie0.wav")), 0u);
    EXPECT_EQ(index(p), before);
    EXPECT_EQ(entries(p.userFile("Nagrane")), (std::vector<std::string>{"Nagranie0.wav", "record.xtr"}));
}

TEST(RecorderFailures, AnIndexThatCannotBeWrittenIsReportedAndMadeWithTheFirstTake) {
    auto full = std::make_unique<FileSizeLimit>(600);
    Panel p;
    full.reset();
    EXPECT_FALSE(stdfs::exists(p.userFile("Nagrane/record.xtr")));
    p.toRecorderTab();
    EXPECT_EQ(p.takeMessage(), msg::kIndexUnavailable);

    // A first take the disk refuses leaves no file; the next one is saved and indexed.
    p.clickName(4);
    p.d->text("Ola");
    p.record();
    p.d->wait(1000);
    {
        FileSizeLimit small(20000);
        p.stop();
    }
    EXPECT_EQ(p.takeMessage(), msg::kSaveFailed);
    EXPECT_FALSE(stdfs::exists(p.userFile("Nagrane/Nagranie4.wav")));
    p.record();
    p.stop();
    EXPECT_EQ(p.takeMessage(), "");
    Places expected = emptyPlaces();
    expected[4] = {4, "Ola", platform::date::today(), "Nagranie4"};
    EXPECT_EQ(index(p), RecordingList::indexText(expected));
}

TEST(RecorderFailures, StartUpRemovesLeftoversOfAKillAndSetsAHeaderlessStatisticsFileAside) {
    Panel p({800, 600}, [](const stdfs::path& user) {
        for (const char* f : {"Nagrane/.record.xtr.Ab3dE1", "Nagrane/.Nagranie4.wav.zz99AA",
                              ".prgst1.stt.q1w2e3", "Nagrane/notatki.txt", "prgst1.stt"})
            put(user / f, "");
    });
    EXPECT_EQ(entries(p.userFile("Nagrane")), (std::vector<std::string>{"notatki.txt", "record.xtr"}));
    EXPECT_EQ(entries(p.inst.child()),
              (std::vector<std::string>{"Nagrane", "dziecko.ini", "prgst1.stt", "prgst1.stt.bad"}));
    const auto header = rectest::bytes(p.userFile("prgst1.stt"));
    ASSERT_EQ(header.size(), 20u);
    EXPECT_EQ(rectest::le32(header, 0), 1u);
    EXPECT_EQ(stdfs::file_size(p.userFile("prgst1.stt.bad")), 0u);
}

TEST(RecorderNames, NamesAreTrimmedCappedAndReadFromCodePage1250) {
    const std::string zz60 = [] {
        std::string s;
        for (int i = 0; i < 60; ++i)
            s += "ż";
        return s;
    }();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"  Ala  ", "Ala"},
        {" \t \xC2\xA0 ", ""},
        {"Ż\x01o\x7F\xC2\x85sia", "Żosia"},
        {zz60 + "ż", zz60},
        {std::string(59, 'a') + "ąę", std::string(59, 'a') + "ą"},
        {std::string(59, 'a') + " ę", std::string(59, 'a')},
        {"\xA3\xF3\x64\x9F i \x8C\x9C\x8F\xAF\xBF\xB9\xEA", "Łódź i ŚśŹŻżąę"},
        {"\xC3\x28", "Ă("},             // a broken sequence: the whole name is read as code page 1250
        {"\xED\xA0\x80", "í\xC2\xA0€"}, // an encoded surrogate is no UTF-8 either
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(RecordingList::cleanName(in), out) << in;

    // A name of the Windows version: shown right, the caret after it, typing goes to its end; the index
    // is stored again as UTF-8.
    Panel p({800, 600}, [](const stdfs::path& user) {
        Places w = emptyPlaces();
        w[0].name = "\xA3\xF3\x64\x9F";
        put(user / "Nagrane" / "record.xtr", RecordingList::indexText(w));
    });
    EXPECT_NE(index(p).find("Nazwa=Łódź\n"), std::string::npos);
    EXPECT_FALSE(stdfs::exists(p.userFile("Nagrane/record.xtr.bad")));
    p.toRecorderTab();
    EXPECT_EQ(p.text("vE_Nazwa0"), "Łódź");
    p.clickBox(0);
    EXPECT_EQ(p.list().nameEdit(0).caretPos(), 4);
    p.d->text("a");
    EXPECT_EQ(p.text("vE_Nazwa0"), "Łódźa");

    // Blanks are no name; a huge paste keeps what fits.
    p.clickName(1);
    p.d->text("    ");
    p.record();
    EXPECT_EQ(p.takeMessage(), "Proszę wprowadzić nazwę dla nagrania.");
    EXPECT_EQ(p.text("vE_Nazwa1"), "");
    std::string paste;
    for (int i = 0; i < 500'000; ++i)
        paste += "ż";
    p.clickName(2);
    p.d->text(paste);
    EXPECT_EQ(p.text("vE_Nazwa2"), zz60);
    p.record();
    p.stop();
    EXPECT_EQ(
        platform::IniFile(p.userFile("Nagrane/record.xtr").string()).readString("Nagranie2", "Nazwa", ""),
        zz60);
}

TEST(RecorderPanel, EscEndsARecordingOrPlaybackBeforeItEndsTheProgram) {
    Panel p;
    p.toRecorderTab();
    p.clickName(0);
    p.d->text("Ala");
    p.record();
    p.d->wait(1000);
    p.d->key(27);
    EXPECT_TRUE(idle(p));
    EXPECT_FALSE(p.out.returned);
    EXPECT_EQ(dataBytes(p.userFile("Nagrane/Nagranie0.wav")), 22050u * 2);
    EXPECT_EQ(
        platform::IniFile(p.userFile("Nagrane/record.xtr").string()).readString("Nagranie0", "Nazwa", ""),
        "Ala");
    p.play();
    EXPECT_TRUE(p.recorder().playing());
    p.d->key(27);
    EXPECT_TRUE(idle(p));
    EXPECT_FALSE(p.out.returned);
    p.d->key(27);
    EXPECT_TRUE(p.out.returned);
}

TEST(RecorderPanel, ClosingTheProgramDuringARecordingSavesAndIndexesTheTake) {
    Panel p;
    p.toRecorderTab();
    p.clickName(1);
    p.d->text("Ola");
    p.record();
    p.d->wait(500);
    p.d->quit();
    ASSERT_TRUE(p.out.returned);
    EXPECT_EQ(dataBytes(p.userFile("Nagrane/Nagranie1.wav")), 22050u);
    EXPECT_EQ(
        platform::IniFile(p.userFile("Nagrane/record.xtr").string()).readString("Nagranie1", "Plik", ""),
        "Nagranie1");
}
