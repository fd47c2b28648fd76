// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio_test_util.hpp"

#include "platform/audio/Recorder.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/system/Fs.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace platform;

namespace {

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir.path().empty()); }

    // Plays each file in turn on the headless loop; the virtual time each took, or -1 when it was refused.
    std::vector<std::int64_t> play(const std::vector<std::string>& files) {
        std::vector<std::int64_t> took;
        program = startProgram([&] {
            for (const auto& f : files) {
                const std::int64_t start = monotonicMs();
                const bool ok = sound::playSync(f);
                took.push_back(ok ? monotonicMs() - start : -1);
            }
        });
        return took;
    }

    ScratchDir dir;
    std::unique_ptr<platform::testing::Driver> program;
};

} // namespace

TEST_F(SoundTest, AWordPlaysForItsLengthInVirtualTimeAndIsLogged) {
    const std::string word = dir.file("szafa.pw");
    writeBytes(word, soundFile({1, 22050, 16}, 750));
    // Praise recorded as 8-bit stereo at 44 100 Hz plays just the same.
    const std::string praise = dir.file("g03.pw");
    writeBytes(praise, soundFile({2, 44100, 8}, 1200));
    EXPECT_EQ(play({word, praise}), (std::vector<std::int64_t>{750, 1200}));
    EXPECT_EQ(logLines(*program, "sound"), (std::vector<std::string>{"sound " + word, "sound " + praise}));
}

TEST_F(SoundTest, MissingOrBrokenSoundsPlayNothingAndTakeNoTime) {
    const std::string broken = dir.file("broken.pw");
    std::vector<std::uint8_t> b = soundFile({1, 22050, 16}, 500);
    b.resize(30); // cut inside the fmt chunk
    writeBytes(broken, b);
    const std::string text = dir.file("text.pw");
    writeBytes(text, {'h', 'e', 'l', 'l', 'o'});

    // A directory is no sound either.
    EXPECT_EQ(play({dir.file("missing.pw"), broken, text, dir.path()}),
              (std::vector<std::int64_t>{-1, -1, -1, -1}));
    EXPECT_EQ(program->now(), 0);
    EXPECT_TRUE(logLines(*program, "sound").empty());

    EXPECT_EQ(sound::wavLengthMs(dir.file("missing.pw")), -1);
    EXPECT_EQ(sound::wavLengthMs(broken), -1);
    EXPECT_EQ(sound::wavLengthMs(text), -1);
}

TEST_F(SoundTest, WavLengthOfFilesOnDisk) {
    const std::string a = dir.file("a.wav");
    writeBytes(a, soundFile({1, 22050, 16}, 1000));
    EXPECT_EQ(sound::wavLengthMs(a), 1000);
    const std::string b = dir.file("b.wav");
    writeBytes(b, soundFile({2, 44100, 8}, 250));
    EXPECT_EQ(sound::wavLengthMs(b), 250);
    const std::string empty = dir.file("empty.wav");
    writeBytes(empty, wav::emptyRecording());
    EXPECT_EQ(sound::wavLengthMs(empty), 0);
    // An empty sound is a sound: it plays, in no time.
    EXPECT_EQ(play({empty}), (std::vector<std::int64_t>{0}));
}

TEST_F(SoundTest, EmptyWavIsCreatedOnlyWhereNoFileIsYet) {
    const std::string place = dir.file("Nagranie3.wav");
    ASSERT_TRUE(sound::writeEmptyWav(place));
    EXPECT_EQ(readBytes(place), wav::emptyRecording());
    EXPECT_EQ(readBytes(place).size(), 46u);

    // An existing recording is never overwritten by it.
    const auto recording = soundFile(wav::kRecordingFormat, 100);
    writeBytes(place, recording);
    EXPECT_FALSE(sound::writeEmptyWav(place));
    EXPECT_EQ(readBytes(place), recording);

    // No directory, no file.
    EXPECT_FALSE(sound::writeEmptyWav(dir.file("Nagrane/Nagranie0.wav")));
}

TEST_F(SoundTest, EmptyWavOnAFullDiskFailsWithoutLeavingAFile) {
    // A file size limit of 20 bytes stands in for a disk that fills up in the middle of the header.
    FileSizeLimit limit(20);
    const std::string place = dir.file("Nagranie0.wav");
    EXPECT_FALSE(sound::writeEmptyWav(place));
    EXPECT_FALSE(std::filesystem::exists(place));
}

TEST_F(SoundTest, EveryShippedSoundIsAPlayableWav) {
    int checked = 0;
    for (const char* sub : {"/Data/Smd", "/Data/Intf/Smd"}) {
        const std::string d = std::string(WV_SOURCE_DIR) + sub;
        if (!std::filesystem::is_directory(d)) continue;
        for (const auto& e : std::filesystem::directory_iterator(d)) {
            const int ms = sound::wavLengthMs(e.path().string());
            EXPECT_GT(ms, 100) << e.path();
            EXPECT_LT(ms, 10000) << e.path();
            ++checked;
        }
    }
    if (checked == 0) GTEST_SKIP() << "no data set in this tree";
    EXPECT_GE(checked, 13); // g00-g07 and b00-b04 at least
}

TEST_F(SoundTest, GamePathsAreFoundUnderTheProgramAndUserDirectories) {
    std::filesystem::create_directories(dir.file("prog/Data/Smd"));
    std::filesystem::create_directories(dir.file("user/Nagrane"));
    fs::setRoots(dir.file("prog"), dir.file("user"));
    // Copied from a file system that ignores case.
    writeBytes(dir.file("prog/Data/Smd/SZOPA.PW"), soundFile({1, 22050, 16}, 400));

    EXPECT_EQ(sound::wavLengthMs("Data\\Smd\\szopa.pw"), 400);
    EXPECT_EQ(play({"Data\\Smd\\szopa.pw"}), (std::vector<std::int64_t>{400}));
    EXPECT_EQ(logLines(*program, "sound"), (std::vector<std::string>{"sound Data\\Smd\\szopa.pw"}));

    EXPECT_TRUE(sound::writeEmptyWav("Nagrane\\Nagranie0.wav"));
    EXPECT_EQ(readBytes(dir.file("user/Nagrane/Nagranie0.wav")), wav::emptyRecording());
    auto rec = std::make_unique<sound::Recorder>();
    ASSERT_TRUE(rec->open("Nagrane\\Nagranie0.wav"));
    ASSERT_TRUE(rec->record(60000));
    program->wait(1000);
    rec.reset();
    EXPECT_EQ(readBytes(dir.file("user/Nagrane/Nagranie0.wav")).size(), 46u + 44100);
    fs::setRoots("", "");
}
