// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio_test_util.hpp"

#include "platform/audio/AudioDevice.hpp"
#include "platform/backends/Startup.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace platform;

// The SDL devices driven through SDL's file-backed audio driver: what is played lands in a file, what is
// captured comes from one, at the pace of a real device.
class AudioDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new ScratchDir;
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", dir->file("out.raw").c_str(), 1);
        ::setenv("SDL_DISKAUDIOFILEIN", dir->file("in.raw").c_str(), 1);
        // 1.5 s of a recognisable pattern for the microphone.
        std::vector<std::uint8_t> in(2 * 33075);
        for (std::size_t i = 0; i < in.size(); ++i)
            in[i] = std::uint8_t((i * 13) >> 2);
        writeBytes(dir->file("in.raw"), in);
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override {
        if (!audio::available()) GTEST_SKIP() << "SDL audio cannot start here";
    }

    static ScratchDir* dir;
};

ScratchDir* AudioDeviceTest::dir = nullptr;

TEST_F(AudioDeviceTest, PlaybackQueuesTheWholeSoundAndTakesItsTime) {
    const auto file = soundFile({1, 22050, 16}, 300);
    const auto sound = soundfile::decode(file);
    ASSERT_EQ(sound.status, soundfile::Status::Whole);
    audio::Output out;
    const auto start = std::chrono::steady_clock::now();
    if (!out.start(sound.pcm)) GTEST_SKIP() << "no output device";
    EXPECT_TRUE(out.active());
    // A loaded machine may run the device for a while before we look; only the bound is certain.
    EXPECT_LE(out.remainingMs(), 300 + 300); // the sound plus at most the device buffer
    while (!out.finished() && std::chrono::steady_clock::now() - start < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(out.finished());
    out.stop();
    EXPECT_FALSE(out.active());
    // The device got the samples as they are, in order; a busy machine may let it play silence first.
    const auto written = readBytes(dir->file("out.raw"));
    const std::span<const std::uint8_t> samples(file.begin() + 46, file.end()); // the file's data chunk
    ASSERT_EQ(samples.size(), sound.pcm.samples.size() * 2);
    ASSERT_GE(written.size(), samples.size());
    const auto at = std::search(written.begin(), written.end(), samples.begin(), samples.end());
    ASSERT_NE(at, written.end());
    EXPECT_TRUE(std::all_of(written.begin(), at, [](std::uint8_t b) { return b == 0; }));
}

TEST_F(AudioDeviceTest, CaptureDeliversTheMicrophoneUpToTheLimit) {
    audio::Capture mic;
    if (!mic.start()) GTEST_SKIP() << "no capture device";
    EXPECT_TRUE(mic.healthy());
    const std::size_t limit = std::size_t(wav::recordingFramesFor(400)) * 2;
    std::vector<std::uint8_t> got;
    const auto start = std::chrono::steady_clock::now();
    while (got.size() < limit && std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
        mic.take(got, limit);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    mic.stop();
    ASSERT_EQ(got.size(), limit);
    const auto in = readBytes(dir->file("in.raw"));
    EXPECT_TRUE(std::equal(got.begin(), got.end(), in.begin()));
    mic.take(got, limit * 2); // stopped: nothing more
    EXPECT_EQ(got.size(), limit);
}

#include "platform/audio/Recorder.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/loop/LoopServices.hpp"
#include "platform/system/Options.hpp"
#include "platform/windows/Application.hpp"

namespace {

// The real (SDL) backend on SDL's windowless video driver, for as long as the scope lasts.
class RealProgram {
public:
    RealProgram() {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        try {
            Options o;
            o.window = Size{200, 100};
            initialize(o);
            ok_ = true;
        } catch (const std::exception&) {
        }
    }
    ~RealProgram() {
        if (ok_) shutdown();
    }
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

} // namespace

// On real devices sounds take their real time, and the recorder polls the devices from the loop's timers,
// without threads of its own.
TEST_F(AudioDeviceTest, SoundsAndTheRecorderOnTheRealBackend) {
    RealProgram program;
    if (!program.ok()) GTEST_SKIP() << "the SDL backend cannot start here";
    ASSERT_FALSE(loop::headless());

    const std::string word = dir->file("word.pw");
    writeBytes(word, soundFile({2, 44100, 16}, 300));
    ASSERT_TRUE(sound::playSync(word));

    sound::Recorder rec;
    int notices = 0;
    rec.onComplete = [&] { ++notices; };
    const std::string path = dir->file("Nagranie0.wav");
    ASSERT_TRUE(rec.open(path));
    if (!rec.record(500)) GTEST_SKIP() << "no capture device";
    // Real time passes for the devices while the loop's timers are given their turns.
    auto runUntil = [&](int wanted) {
        for (int i = 0; i < 1000 && notices < wanted; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            app().processMessages();
        }
    };
    runUntil(1);
    ASSERT_EQ(notices, 1);
    EXPECT_FALSE(rec.recording());
    const auto file = readBytes(path);
    ASSERT_EQ(file.size(), 46u + 2 * 11025);
    EXPECT_EQ(le32(file, 42), 2u * 11025);
    const auto in = readBytes(dir->file("in.raw"));
    EXPECT_TRUE(std::equal(file.begin() + 46, file.end(), in.begin()));
    EXPECT_EQ(rec.lengthMs(), 500);

    ASSERT_TRUE(rec.play());
    EXPECT_TRUE(rec.playing());
    runUntil(2);
    EXPECT_EQ(notices, 2);
    EXPECT_FALSE(rec.playing());
    rec.close();
}

TEST_F(AudioDeviceTest, WithoutAMicrophoneRecordFailsAndTheOldRecordingStays) {
    const std::string path = dir->file("Nagranie1.wav");
    const auto old = soundFile(wav::kRecordingFormat, 700);
    writeBytes(path, old);
    ::setenv("SDL_DISKAUDIOFILEIN", dir->file("no-such-microphone.raw").c_str(), 1);
    sound::Recorder rec;
    ASSERT_TRUE(rec.open(path));
    EXPECT_FALSE(rec.record(60000));
    ::setenv("SDL_DISKAUDIOFILEIN", dir->file("in.raw").c_str(), 1);
    EXPECT_FALSE(rec.recording());
    EXPECT_TRUE(rec.isOpen());
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(rec.lengthMs(), 700);
}
