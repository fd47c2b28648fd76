// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio_test_util.hpp"

#include "platform/audio/SoundFile.hpp"
#include "platform/audio/VoicePrep.hpp"
#include "platform/audio/Wav.hpp"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

using namespace platform;
using Bytes = std::vector<std::uint8_t>;
using voice::Problem;

namespace {

double fromDb(double db) {
    return std::pow(10.0, db / 20.0);
}
double toDb(double v) {
    return 20.0 * std::log10(v);
}

// Mono signal pieces at a rate: silence, a 440 Hz tone at a peak level, white noise at an RMS level.
struct Signal {
    int rate;
    std::vector<float> samples;

    Signal& silence(int ms) {
        samples.resize(samples.size() + std::size_t(std::int64_t(rate) * ms / 1000), 0.0f);
        return *this;
    }
    Signal& tone(int ms, double peakDbfs) {
        const double a = fromDb(peakDbfs);
        const std::size_t n = std::size_t(std::int64_t(rate) * ms / 1000);
        for (std::size_t i = 0; i < n; ++i)
            samples.push_back(float(a * std::sin(2 * std::numbers::pi * 440.0 * double(i) / rate)));
        return *this;
    }
    Signal& noise(int ms, double rmsDbfs, unsigned seed = 7) {
        std::mt19937 rng(seed);
        // Uniform noise in [-a, a] has an RMS of a / sqrt(3).
        std::uniform_real_distribution<float> d(-1.0f, 1.0f);
        const float a = float(fromDb(rmsDbfs) * std::sqrt(3.0));
        const std::size_t n = std::size_t(std::int64_t(rate) * ms / 1000);
        for (std::size_t i = 0; i < n; ++i)
            samples.push_back(a * d(rng));
        return *this;
    }
};

// The word the good files hold: 200 ms silence, 1 s of 440 Hz at -12 dBFS, 200 ms silence.
Signal word(int rate) {
    return std::move(Signal{rate, {}}.silence(200).tone(1000, -12).silence(200));
}

// The signal written by libsndfile in the format given (every channel alike); empty when the library
// cannot write that format.
Bytes encode(const ScratchDir& dir, int format, int channels, const Signal& s) {
    const std::string path = dir.file("in.snd");
    SF_INFO info{};
    info.samplerate = s.rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f) return {};
    std::vector<float> interleaved;
    for (float v : s.samples)
        interleaved.insert(interleaved.end(), std::size_t(channels), v);
    sf_writef_float(f, interleaved.data(), sf_count_t(s.samples.size()));
    sf_close(f);
    return readBytes(path);
}

struct Level {
    double peakDbfs;
    double rmsDbfs;
};

Level levelOf(const soundfile::Pcm& pcm) {
    double sum = 0;
    int peak = 0;
    for (std::int16_t v : pcm.samples) {
        sum += double(v) * v;
        peak = std::max(peak, std::abs(int(v)));
    }
    const double n = double(std::max<std::size_t>(pcm.samples.size(), 1));
    return {toDb(std::max(peak, 1) / 32768.0), toDb(std::max(std::sqrt(sum / n), 1e-3) / 32768.0)};
}

} // namespace

TEST(VoicePrep, EveryReadableFormatBecomesAWordAtTheShippedLevel) {
    ScratchDir dir;
    struct Case {
        const char* name;
        int format;
        int rate;
        int channels;
    };
    const Case cases[] = {
        // The recorder's own format: nothing to resample.
        {"16-bit 22 050 Hz mono WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1},
        {"24-bit WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 44100, 1},
        {"32-bit float WAV", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 1},
        {"48 kHz stereo WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 2},
        {"FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 1},
        {"Ogg Vorbis", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 2},
        {"Opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000, 1},
        // Last, so that a library without an MP3 writer skips after every other format was checked.
        {"MP3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 1},
    };
    for (const Case& c : cases) {
        const Bytes bytes = encode(dir, c.format, c.channels, word(c.rate));
        if (bytes.empty() && c.format == (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III))
            GTEST_SKIP() << "this libsndfile writes no MP3 (built without LAME)";
        ASSERT_FALSE(bytes.empty()) << c.name << ": " << sf_strerror(nullptr);
        const std::string name = c.name;
        const voice::Prepared v = voice::prepareVoice(bytes);
        ASSERT_EQ(v.problem, Problem::None) << name;
        const auto back = soundfile::decode(v.wav);
        ASSERT_EQ(back.status, soundfile::Status::Whole) << name;
        EXPECT_EQ(back.pcm.sampleRate, 22050u) << name;
        EXPECT_EQ(back.pcm.channels, 1) << name;
        EXPECT_EQ(v.wav.size(), 46 + back.pcm.samples.size() * 2) << name;
        EXPECT_EQ(v.lengthMs, back.pcm.lengthMs()) << name;
        // The tone and 40 ms on each side. The edges are found to a 10 ms window, which only ever widens
        // what is kept; Opus smears the onset by some 30 ms more.
        EXPECT_GE(v.lengthMs, 1080 - 10) << name;
        EXPECT_LE(v.lengthMs, 1080 + 10 + 30) << name;
        const Level l = levelOf(back.pcm);
        EXPECT_LE(l.peakDbfs, voice::kMaxPeakDbfs + 0.01) << name;
        EXPECT_NEAR(l.rmsDbfs, voice::kWordRmsDbfs, 0.5) << name;
    }
}

TEST(VoicePrep, TrimmingKeepsTheWordAndItsQuietEdges) {
    ScratchDir dir;
    const int wavPcm = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    struct Case {
        const char* name;
        Signal signal;
        int expectMs; // what is kept, margins included
    };
    const Case cases[] = {
        // A hissing consonant 25 dB below the vowel, then the vowel: both kept.
        {"sz before the vowel",
         std::move(Signal{44100, {}}.silence(300).noise(150, -40).tone(600, -12).silence(300)),
         150 + 600 + 80},
        {"sz after the vowel",
         std::move(Signal{44100, {}}.silence(300).tone(600, -12).noise(150, -40).silence(300)),
         600 + 150 + 80},
        // A file of 8.5 s whose sound is 4.5 s long is judged by the sound.
        {"long silences around the word",
         std::move(Signal{22050, {}}.silence(3000).tone(4500, -20).silence(1000)), 4500 + 80},
        // Nothing to trim: the margins cannot reach outside the file.
        {"no silence at all", std::move(Signal{22050, {}}.tone(800, -6)), 800},
    };
    for (const Case& c : cases) {
        const voice::Prepared v = voice::prepareVoice(encode(dir, wavPcm, 1, c.signal));
        ASSERT_EQ(v.problem, Problem::None) << c.name;
        EXPECT_NEAR(v.lengthMs, c.expectMs, 20) << c.name;
        const Level l = levelOf(soundfile::decode(v.wav).pcm);
        EXPECT_LE(l.peakDbfs, voice::kMaxPeakDbfs + 0.01) << c.name;
    }
    // A quiet word with one loud click would pass -1 dBFS at the words' RMS: the peak wins, the RMS stays
    // below.
    Signal spike = std::move(Signal{22050, {}}.silence(100).tone(500, -30).silence(100));
    spike.samples[spike.samples.size() / 2] = float(fromDb(-2));
    const voice::Prepared v = voice::prepareVoice(encode(dir, wavPcm, 1, spike));
    ASSERT_EQ(v.problem, Problem::None);
    const Level l = levelOf(soundfile::decode(v.wav).pcm);
    EXPECT_NEAR(l.peakDbfs, voice::kMaxPeakDbfs, 0.01);
    EXPECT_LT(l.rmsDbfs, voice::kWordRmsDbfs - 1);
}

TEST(VoicePrep, FilesThatGiveNoWordSayWhy) {
    ScratchDir dir;
    const int wavPcm = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const int flac = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    Bytes random(4096);
    std::mt19937 rng(99);
    for (auto& b : random)
        b = std::uint8_t(rng());
    const std::string text = "To nie jest plik dźwiękowy, tylko notatka.\n";
    Bytes halfWav = encode(dir, wavPcm, 1, word(22050));
    halfWav.resize(halfWav.size() / 2);
    Bytes halfFlac = encode(dir, flac, 1, word(44100));
    halfFlac.resize(halfFlac.size() / 2);

    struct Case {
        const char* name;
        Bytes file;
        Problem problem;
    };
    const Case cases[] = {
        {"random bytes", random, Problem::NotSound},
        {"a text file", Bytes(text.begin(), text.end()), Problem::NotSound},
        {"nothing at all", Bytes{}, Problem::NotSound},
        {"a WAV cut in the middle", halfWav, Problem::Damaged},
        {"a FLAC cut in the middle", halfFlac, Problem::Damaged},
        {"a 7-second tone", encode(dir, wavPcm, 1, Signal{22050, {}}.tone(7000, -12)), Problem::TooLong},
        {"a 7-second FLAC between silences",
         encode(dir, flac, 2, Signal{48000, {}}.silence(500).tone(7000, -3).silence(500)), Problem::TooLong},
        {"noise at -60 dBFS", encode(dir, wavPcm, 1, Signal{22050, {}}.noise(1500, -60)), Problem::TooQuiet},
        {"digital silence", encode(dir, flac, 1, Signal{44100, {}}.silence(1000)), Problem::TooQuiet},
        {"zero frames", wav::emptyRecording(), Problem::Empty},
        {"zero frames of 24-bit WAV", encode(dir, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, Signal{44100, {}}),
         Problem::Empty},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.file.empty() && c.problem != Problem::NotSound) << c.name;
        const voice::Prepared v = voice::prepareVoice(c.file);
        EXPECT_EQ(v.problem, c.problem) << c.name;
        EXPECT_FALSE(v.ok()) << c.name;
        EXPECT_TRUE(v.wav.empty()) << c.name;
        EXPECT_EQ(v.lengthMs, 0) << c.name;
    }
}

TEST(VoicePrep, TheLevelIsTheMedianOfTheShippedWords) {
    const std::filesystem::path words = std::filesystem::path(WV_SOURCE_DIR) / "Data" / "Smd";
    if (!std::filesystem::is_directory(words)) GTEST_SKIP() << "no data set in this tree";
    std::vector<double> levels;
    for (const auto& e : std::filesystem::directory_iterator(words)) {
        if (e.path().extension() != ".pw") continue;
        const auto s = soundfile::decode(readBytes(e.path().string()));
        ASSERT_EQ(s.status, soundfile::Status::Whole) << e.path();
        levels.push_back(levelOf(s.pcm).rmsDbfs);
    }
    ASSERT_GE(levels.size(), 100u);
    std::nth_element(levels.begin(), levels.begin() + std::ptrdiff_t(levels.size() / 2), levels.end());
    EXPECT_NEAR(levels[levels.size() / 2], voice::kWordRmsDbfs, 1.0);
}

TEST(SoundFileDecode, CutAndHostileFilesOfOtherFormats) {
    ScratchDir dir;
    const Bytes flac = encode(dir, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, word(44100));
    const Bytes vorbis = encode(dir, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, word(44100));
    ASSERT_FALSE(flac.empty());
    ASSERT_FALSE(vorbis.empty());
    // STREAMINFO follows "fLaC" and its block header; its total sample count is the low 36 bits of bytes
    // 18-25. All ones claims 2^36 - 1 frames, 18 days of sound.
    Bytes endless = flac;
    ASSERT_EQ(std::memcmp(endless.data(), "fLaC", 4), 0);
    endless[21] |= 0x0F;
    std::fill(endless.begin() + 22, endless.begin() + 26, 0xFF);

    struct Case {
        const char* name;
        Bytes file;
        soundfile::Status status;
        std::int64_t frames; // -1: not checked
    };
    const Case cases[] = {
        {"whole FLAC", flac, soundfile::Status::Whole, 44100 * 14 / 10},
        {"whole Ogg Vorbis", vorbis, soundfile::Status::Whole, 44100 * 14 / 10},
        {"FLAC cut in the middle", Bytes(flac.begin(), flac.begin() + std::ptrdiff_t(flac.size() / 2)),
         soundfile::Status::CutShort, -1},
        {"Ogg cut in the middle", Bytes(vorbis.begin(), vorbis.begin() + std::ptrdiff_t(vorbis.size() / 2)),
         soundfile::Status::Damaged, 0},
        {"FLAC claiming 2^36 frames", endless, soundfile::Status::TooLong, 0},
    };
    for (const Case& c : cases) {
        const auto s = soundfile::decode(c.file);
        EXPECT_EQ(s.status, c.status) << c.name;
        if (c.frames >= 0) {
            EXPECT_EQ(s.pcm.frames(), c.frames) << c.name;
        }
        if (s.status == soundfile::Status::CutShort) {
            EXPECT_GT(s.pcm.frames(), 0) << c.name;
            EXPECT_LT(s.pcm.frames(), 44100 * 14 / 10) << c.name;
        }
    }
}
