// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recorder_support.hpp"
#include "tests/support/RunningProgram.hpp"

#include "platform/system/Fs.hpp"

#include <algorithm>
#include <cstdlib>

using namespace rectest;

namespace {

const char* const kMsg10 = "Proszę wybrać pozycję i wprowadzić nazwę nagrania.";
const char* const kMsg11 = "Proszę wprowadzić nazwę dla nagrania.";
const char* const kMsg20 = "Proszę wybrać pozycję do odtworzenia.";
const char* const kMsg21 = "Brak nagrania dla wybranej pozycji.";

// Data bytes of a recording, after checking its header is the 16-bit mono 22 050 Hz one.
std::uint32_t recordedBytes(const std::filesystem::path& p) {
    const auto b = bytes(p);
    EXPECT_GE(b.size(), 46u);
    if (b.size() < 46) return 0;
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le32(b, 4), b.size() - 8);
    EXPECT_EQ(le16(b, 20), 1);
    EXPECT_EQ(le16(b, 22), 1);
    EXPECT_EQ(le32(b, 24), 22050u);
    EXPECT_EQ(le16(b, 34), 16);
    EXPECT_EQ(std::string(b.begin() + 38, b.begin() + 42), "data");
    EXPECT_EQ(le32(b, 42), b.size() - 46);
    return le32(b, 42);
}

bool idle(Panel& p) {
    return !wvtest::mainMenu()->busy() && p.visible("rrec") && p.visible("rodtworz") && !p.visible("rstop") &&
           p.d->control("wyjdz")->enabled() && !p.recorder().opened();
}

int countLines(const Panel& p, const std::string& prefix) {
    return int(std::count_if(p.d->log().begin(), p.d->log().end(),
                             [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

} // namespace

TEST(RecorderPanel, RecordAndPlayWithoutAUsableRowShowTheirMessages) {
    Panel p;
    p.toRecorderTab();
    p.record();
    EXPECT_EQ(p.takeMessage(), kMsg10);
    EXPECT_EQ(wvtest::mainMenu()->focusedControl(), nullptr);
    p.play();
    EXPECT_EQ(p.takeMessage(), kMsg20);

    p.clickBox(1);
    p.record();
    EXPECT_EQ(p.takeMessage(), kMsg11);
    EXPECT_EQ(wvtest::mainMenu()->focusedControl(), nullptr);
    p.play();
    EXPECT_EQ(p.takeMessage(), kMsg21) << "no name";
    p.clickName(1);
    p.d->text("Kot");
    p.play();
    EXPECT_EQ(p.takeMessage(), kMsg21) << "a name but never recorded";
    EXPECT_TRUE(idle(p));
    // Nothing was written by the refusals.
    const platform::IniFile ini(p.userFile("Nagrane/record.xtr").string());
    EXPECT_EQ(ini.readString("Nagranie1", "Nazwa", "?"), "");
    EXPECT_FALSE(std::filesystem::exists(p.userFile("Nagrane/Nagranie1.wav")));
}

TEST(RecorderPanel, ARecordingOfTwoSecondsIsSavedWithItsNameFileAndTodaysDate) {
    Panel p;
    p.toRecorderTab();
    p.clickName(0);
    p.d->text("Ala");
    p.record();
    EXPECT_TRUE(wvtest::mainMenu()->busy());
    EXPECT_TRUE(p.recorder().isRecording());
    EXPECT_TRUE(p.visible("rstop"));
    EXPECT_FALSE(p.visible("rrec"));
    EXPECT_FALSE(p.visible("rodtworz"));
    const std::string today = platform::date::formatShort(platform::date::today());
    // The index learns of the take only once it is saved.
    EXPECT_EQ(
        platform::IniFile(p.userFile("Nagrane/record.xtr").string()).readString("Nagranie0", "Plik", "?"),
        "");

    p.d->wait(1000);
    // Typing repaints the menu; the recording goes on.
    p.d->text("!");
    EXPECT_TRUE(p.recorder().isRecording());
    p.d->wait(1000);
    p.stop();
    EXPECT_TRUE(idle(p));
    {
        const platform::IniFile ini(p.userFile("Nagrane/record.xtr").string());
        EXPECT_EQ(ini.readString("Nagranie0", "Nazwa", ""), "Ala");
        EXPECT_EQ(ini.readString("Nagranie0", "Plik", ""), "Nagranie0");
        EXPECT_EQ(ini.readString("Nagranie0", "Data", ""), today);
        EXPECT_EQ(ini.readString("Nagranie1", "Plik", "?"), "");
    }
    EXPECT_EQ(p.text("vL_Data0"), today);
    EXPECT_EQ(recordedBytes(p.userFile("Nagrane/Nagranie0.wav")), 22050u * 2 * 2);
    EXPECT_EQ(p.list().rowPath(0), "Nagrane\\Nagranie0.wav");

    // Recording again replaces the file.
    p.record();
    p.d->wait(500);
    p.stop();
    EXPECT_EQ(recordedBytes(p.userFile("Nagrane/Nagranie0.wav")), 22050u / 2 * 2);
    const platform::IniFile ini(p.userFile("Nagrane/record.xtr").string());
    EXPECT_EQ(ini.readString("Nagranie0", "Nazwa", ""), "Ala!");
}

TEST(RecorderPanel, ARecordingEndsByItselfAtSixtySecondsAndThePanelIsIdleAgain) {
    Panel p;
    p.toRecorderTab();
    p.clickName(3);
    p.d->text("Długie");
    p.record();
    p.d->wait(59000);
    EXPECT_TRUE(p.recorder().isRecording());
    p.d->wait(2000);
    EXPECT_TRUE(idle(p));
    EXPECT_EQ(recordedBytes(p.userFile("Nagrane/Nagranie3.wav")), 22050u * 60 * 2);
}

TEST(RecorderPanel, PlayingARecordedRowSoundsItAndReturnsToIdleAfterItsLength) {
    Panel p;
    p.toRecorderTab();
    p.clickName(5);
    p.d->text("Ola");
    p.record();
    p.d->wait(1500);
    p.stop();
    ASSERT_TRUE(idle(p));
    ASSERT_EQ(p.list().chosenRow(), 5);

    p.play();
    EXPECT_TRUE(wvtest::mainMenu()->busy());
    EXPECT_TRUE(p.recorder().playing());
    EXPECT_EQ(countLines(p, "sound "), 1);
    const std::string& line = p.d->log().back();
    EXPECT_NE(line.find("Nagranie5.wav"), std::string::npos) << line;
    p.d->wait(1400);
    EXPECT_TRUE(p.recorder().playing());
    p.d->wait(200);
    EXPECT_TRUE(idle(p));

    // Stop during playback ends it at once.
    p.play();
    p.d->wait(300);
    p.stop();
    EXPECT_TRUE(idle(p));
    EXPECT_EQ(countLines(p, "sound "), 2);

    // A recording whose file has gone gives message 21.
    std::filesystem::remove(p.userFile("Nagrane/Nagranie5.wav"));
    p.play();
    EXPECT_EQ(p.takeMessage(), kMsg21);
}

TEST(RecorderPanel, WhileBusyTheStripExitAboutAndListIgnoreTheUser) {
    Panel p;
    p.toRecorderTab();
    p.clickName(0);
    p.d->text("Ewa");
    p.record();
    ASSERT_TRUE(wvtest::mainMenu()->busy());
    p.d->click(kStripX + 60, kStripY + 20); // tab 1
    EXPECT_EQ(wvtest::context().settings.tab, 5);
    p.d->click(kExitX + 40, kBottomY + 30);
    EXPECT_FALSE(p.out.returned);
    p.d->click(kAboutX + 40, kBottomY + 30);
    EXPECT_FALSE(wvtest::aboutWindow()->visible());
    p.down();
    EXPECT_EQ(p.list().top(), 0);
    p.d->wheel(-1);
    EXPECT_EQ(p.list().top(), 0);
    EXPECT_TRUE(p.recorder().isRecording());
    p.stop();
    EXPECT_TRUE(idle(p));
    p.down();
    EXPECT_EQ(p.list().top(), 1);
    p.d->click(kExitX + 40, kBottomY + 30);
    EXPECT_TRUE(p.out.returned);
}

TEST(RecorderPanel, TheDeviceAlwaysCountsAsBusyWhileTheSpeakerSwitchIsOff) {
    Panel p;
    ASSERT_FALSE(wvtest::context().speaker);
    EXPECT_TRUE(p.recorder().busy());
    bool switchOn = true;
    VoiceRecorder own(switchOn);
    EXPECT_FALSE(own.busy());
    EXPECT_FALSE(own.open("Nagrane\\missing\\x.wav")) << "neither there nor creatable";
    EXPECT_FALSE(own.opened());
    EXPECT_FALSE(own.startRecording(1000));
    ASSERT_TRUE(own.open("Nagrane\\test.wav"));
    const auto b = bytes(p.userFile("Nagrane/test.wav"));
    const std::vector<std::uint8_t> empty{'R',  'I',  'F', 'F', 38,   0,    0, 0, 'W', 'A', 'V', 'E',
                                          'f',  'm',  't', ' ', 18,   0,    0, 0, 1,   0,   1,   0,
                                          0x22, 0x56, 0,   0,   0x44, 0xAC, 0, 0, 2,   0,   16,  0,
                                          0,    0,    'd', 'a', 't',  'a',  0, 0, 0,   0};
    EXPECT_EQ(b, empty);
    switchOn = false;
    EXPECT_TRUE(own.busy());
    own.closePeriod();
    EXPECT_FALSE(own.opened());
}

TEST(RecorderScreenshots, RecorderTabWithARecordedRowAndTheAboutWindow) {
    const char* dir = std::getenv("WV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "WV_SCREENSHOT_DIR not set";
    for (const platform::Size screen : {platform::Size{800, 600}, platform::Size{1024, 768}}) {
        Panel p(screen);
        const bool large = screen.width == 1024;
        const std::string m = large ? "1024" : "800";
        p.d->click((large ? 705 : kStripX) + 60, (large ? 95 : kStripY) + (large ? 500 : 400));
        const int top = large ? 220 : kRowTop, name = large ? 270 : kNameX;
        p.d->click(name + 100, top + 32 + 12);
        p.d->text("Zosia Kowalska");
        const int cx = screen.width / 2, panelY = screen.height * 10 / 14;
        p.d->click(cx - 15 + 35, panelY + 30);
        p.d->wait(1000);
        p.d->screenshot(std::string(dir) + "/recorder-" + m + "-busy.png");
        p.d->click(cx - 55 + 35, panelY + 30);
        p.d->click(name + 100, top + 2 * 32 + 12);
        p.d->screenshot(std::string(dir) + "/recorder-" + m + ".png");
        p.d->click(cx - 155 + 40, screen.height - screen.height / 7 + 30);
        p.d->screenshot(std::string(dir) + "/about-" + m + ".png");
        p.d->key(27);
    }
}
