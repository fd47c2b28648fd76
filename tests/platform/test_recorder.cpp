// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio_test_util.hpp"

#include "platform/audio/Recorder.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/audio/SoundFile.hpp"
#include "platform/loop/Clock.hpp"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        rec.onComplete = [this] {
            ++notices;
            noticeAt = monotonicMs();
        };
    }

    // Data size the WAV header states, checked against the file's real size.
    std::uint32_t recordedBytes(const std::string& path) {
        const auto b = readBytes(path);
        EXPECT_GE(b.size(), 46u);
        if (b.size() < 46) return 0;
        EXPECT_EQ(le32(b, 4), b.size() - 8) << "RIFF size";
        EXPECT_EQ(le32(b, 42), b.size() - 46) << "data size";
        auto s = soundfile::decode(b);
        EXPECT_EQ(s.status, soundfile::Status::Whole);
        EXPECT_EQ(s.pcm.sampleRate, wav::kRecordingFormat.sampleRate);
        EXPECT_EQ(s.pcm.channels, wav::kRecordingFormat.channels);
        return le32(b, 42);
    }

    ScratchDir dir;
    std::unique_ptr<platform::testing::Driver> program = startProgram();
    sound::Recorder rec; // made once the loop runs, gone before it ends
    int notices = 0;
    std::int64_t noticeAt = -1;
};

} // namespace

TEST_F(RecorderTest, OpeningANewPlaceCreatesTheEmptyWav) {
    const std::string path = dir.file("Nagranie0.wav");
    ASSERT_TRUE(rec.open(path));
    EXPECT_TRUE(rec.isOpen());
    EXPECT_EQ(rec.lengthMs(), 0);
    EXPECT_EQ(readBytes(path), wav::emptyRecording());
    EXPECT_FALSE(rec.recording());
    EXPECT_FALSE(rec.playing());
}

TEST_F(RecorderTest, OpeningFailsForWhatIsNoSoundOrCannotBeMade) {
    const std::string text = dir.file("notes.wav");
    writeBytes(text, {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'});
    // No sound: it opens only to be recorded over, never to play.
    EXPECT_TRUE(rec.open(text));
    EXPECT_TRUE(rec.damaged());
    EXPECT_FALSE(rec.play());
    rec.close();
    EXPECT_EQ(readBytes(text).size(), 9u); // left alone
    EXPECT_FALSE(rec.open(dir.file("no/such/dir/Nagranie1.wav")));
    EXPECT_FALSE(rec.isOpen());
    // Nothing open: nothing records or plays.
    EXPECT_FALSE(rec.record(1000));
    EXPECT_FALSE(rec.play());
    rec.stop();
    rec.close();
    EXPECT_EQ(notices, 0);
}

TEST_F(RecorderTest, StoppedRecordingHoldsTheVirtualTimeThatPassed) {
    const std::string path = dir.file("Nagranie0.wav");
    ASSERT_TRUE(rec.open(path));
    ASSERT_TRUE(rec.record(60000));
    EXPECT_TRUE(rec.recording());
    EXPECT_TRUE(rec.record(60000)) << "already recording";
    program->wait(1500);
    rec.stop();
    EXPECT_FALSE(rec.recording());
    EXPECT_EQ(notices, 0) << "stopping gives no notice";
    EXPECT_EQ(recordedBytes(path), 2u * 22050 * 1500 / 1000); // 66 150
    EXPECT_EQ(rec.lengthMs(), 1500);
    EXPECT_EQ(sound::wavLengthMs(path), 1500);
    EXPECT_EQ(logLines(*program, "record"), (std::vector<std::string>{"record " + path}));

    // 333 ms is 7 342.65 frames: rounded down.
    ASSERT_TRUE(rec.record(60000));
    program->wait(333);
    rec.stop();
    EXPECT_EQ(recordedBytes(path), 2u * 7342);
    EXPECT_EQ(rec.lengthMs(), 333);
}

TEST_F(RecorderTest, RecordingStopsItselfAtTheLimitWithANotice) {
    const std::string path = dir.file("Nagranie5.wav");
    ASSERT_TRUE(rec.open(path));
    const std::int64_t start = program->now();
    ASSERT_TRUE(rec.record(2000));
    program->wait(1999);
    EXPECT_TRUE(rec.recording());
    EXPECT_EQ(notices, 0);
    program->wait(3001);
    EXPECT_FALSE(rec.recording());
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(noticeAt - start, 2000);
    EXPECT_EQ(recordedBytes(path), 2u * 22050 * 2);
    rec.stop(); // what the notice's handler does next: nothing changes
    EXPECT_EQ(recordedBytes(path), 2u * 22050 * 2);
    EXPECT_EQ(notices, 1);
}

TEST_F(RecorderTest, PlaybackLastsTheRecordingAndEndsWithANotice) {
    const std::string path = dir.file("Nagranie2.wav");
    ASSERT_TRUE(rec.open(path));
    ASSERT_TRUE(rec.record(60000));
    program->wait(1250);
    rec.stop();

    const std::int64_t start = program->now();
    ASSERT_TRUE(rec.play());
    EXPECT_TRUE(rec.playing());
    EXPECT_EQ(logLines(*program, "sound"), (std::vector<std::string>{"sound " + path}));
    EXPECT_FALSE(rec.play()) << "already playing";
    program->wait(1249);
    EXPECT_TRUE(rec.playing());
    EXPECT_EQ(notices, 0);
    program->wait(1);
    EXPECT_FALSE(rec.playing());
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(noticeAt - start, 1250);

    // Played again from the start, and stopped half-way: no notice then.
    ASSERT_TRUE(rec.play());
    program->wait(600);
    rec.stop();
    EXPECT_FALSE(rec.playing());
    program->wait(5000);
    EXPECT_EQ(notices, 1);
}

TEST_F(RecorderTest, AnExistingFilePlaysForItsOwnLength) {
    const std::string path = dir.file("Nagranie9.wav");
    writeBytes(path, soundFile({2, 44100, 16}, 800));
    ASSERT_TRUE(rec.open(path));
    EXPECT_EQ(rec.lengthMs(), 800);
    ASSERT_TRUE(rec.play());
    program->wait(2000);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(noticeAt, program->now() - 2000 + 800);

    // An empty recording ends at once.
    sound::Recorder other;
    int otherNotices = 0;
    other.onComplete = [&] { ++otherNotices; };
    ASSERT_TRUE(other.open(dir.file("Nagranie10.wav")));
    ASSERT_TRUE(other.play());
    program->wait(5);
    EXPECT_EQ(otherNotices, 1);
    EXPECT_FALSE(other.playing());
}

TEST_F(RecorderTest, RecordingAgainReplacesTheOldRecording) {
    const std::string path = dir.file("Nagranie4.wav");
    writeBytes(path, soundFile(wav::kRecordingFormat, 3000));
    ASSERT_TRUE(rec.open(path));
    EXPECT_EQ(rec.lengthMs(), 3000);
    const auto old = readBytes(path);
    ASSERT_TRUE(rec.record(60000));
    // While the new one runs the place keeps the old take.
    EXPECT_EQ(readBytes(path), old);
    program->wait(400);
    rec.stop();
    EXPECT_EQ(recordedBytes(path), 2u * 22050 * 400 / 1000);
}

TEST_F(RecorderTest, RecordingDuringPlaybackStopsThePlaybackSilently) {
    const std::string path = dir.file("Nagranie6.wav");
    writeBytes(path, soundFile(wav::kRecordingFormat, 1000));
    ASSERT_TRUE(rec.open(path));
    ASSERT_TRUE(rec.play());
    program->wait(300);
    ASSERT_TRUE(rec.record(60000));
    EXPECT_FALSE(rec.playing());
    EXPECT_TRUE(rec.recording());
    program->wait(2000); // past the old playback's end: no stale notice
    EXPECT_EQ(notices, 0);
    // And playing during a recording saves the recording first.
    ASSERT_TRUE(rec.play());
    EXPECT_FALSE(rec.recording());
    EXPECT_EQ(recordedBytes(path), 2u * 22050 * 2);
    program->wait(2000);
    EXPECT_EQ(notices, 1);
}

TEST_F(RecorderTest, ClosingOrDestroyingDuringARecordingSavesIt) {
    const std::string a = dir.file("Nagranie7.wav");
    ASSERT_TRUE(rec.open(a));
    ASSERT_TRUE(rec.record(60000));
    program->wait(100);
    rec.close();
    EXPECT_FALSE(rec.isOpen());
    EXPECT_EQ(recordedBytes(a), 2u * 2205);

    const std::string b = dir.file("Nagranie8.wav");
    {
        sound::Recorder shortLived;
        ASSERT_TRUE(shortLived.open(b));
        ASSERT_TRUE(shortLived.record(60000));
        program->wait(200);
    }
    EXPECT_EQ(recordedBytes(b), 2u * 4410);
    program->wait(60000); // no timer of the dead recorder fires
    EXPECT_EQ(notices, 0);

    // Opening another file closes the first, saving it too.
    ASSERT_TRUE(rec.open(a));
    ASSERT_TRUE(rec.record(60000));
    program->wait(50);
    ASSERT_TRUE(rec.open(b));
    EXPECT_EQ(recordedBytes(a), 2u * 1102);
    EXPECT_EQ(rec.lengthMs(), 200);
}

TEST_F(RecorderTest, TheNoticeMayCloseAndDestroyTheRecorder) {
    auto owned = std::make_unique<sound::Recorder>();
    const std::string path = dir.file("Nagranie11.wav");
    ASSERT_TRUE(owned->open(path));
    int calls = 0;
    // What the main menu does: stop, close, and here also drop the recorder.
    owned->onComplete = [&] {
        ++calls;
        owned->stop();
        owned->close();
        owned.reset();
    };
    ASSERT_TRUE(owned->record(700));
    program->wait(1000);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(owned);
    EXPECT_EQ(recordedBytes(path), 2u * 15435);
}

TEST_F(RecorderTest, ARecordingTheDiskRefusesKeepsTheFileValid) {
    const std::string path = dir.file("Nagranie12.wav");
    ASSERT_TRUE(rec.open(path));
    ASSERT_TRUE(rec.record(60000));
    program->wait(1000);
    {
        FileSizeLimit limit(1000);
        rec.stop();
    }
    // The file still holds a whole WAV (the empty one), and so does the recorder: what plays is what is
    // on disk.
    EXPECT_TRUE(rec.saveFailed());
    EXPECT_EQ(readBytes(path), wav::emptyRecording());
    EXPECT_EQ(rec.lengthMs(), 0);
    // No temporary is left beside it.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(e.path().filename(), "Nagranie12.wav");
        ++files;
    }
    EXPECT_EQ(files, 1);
}
