// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/SoundFile.hpp"
#include "platform/audio/Wav.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

using namespace platform;
using Bytes = std::vector<std::uint8_t>;
using soundfile::Status;

namespace {

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void tag(Bytes& b, const char* t) {
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(t[i]));
}

struct Chunk {
    std::string id;
    Bytes body;
    std::uint32_t declaredSize = 0xFFFFFFFFu; // the body's size unless set
};

Chunk fmt(std::uint16_t formatTag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
          std::uint16_t blockAlign = 0) {
    if (!blockAlign) blockAlign = std::uint16_t(channels * bits / 8);
    Bytes b;
    put16(b, formatTag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * blockAlign);
    put16(b, blockAlign);
    put16(b, bits);
    return {"fmt ", b};
}

Chunk data(std::size_t size, std::uint8_t fill = 0x11) {
    return {"data", Bytes(size, fill)};
}

// A RIFF WAVE file of the chunks given, each padded to an even size.
Bytes riff(std::initializer_list<Chunk> chunks) {
    Bytes out;
    tag(out, "RIFF");
    put32(out, 0);
    tag(out, "WAVE");
    for (const Chunk& c : chunks) {
        tag(out, c.id.c_str());
        put32(out, c.declaredSize == 0xFFFFFFFFu ? std::uint32_t(c.body.size()) : c.declaredSize);
        out.insert(out.end(), c.body.begin(), c.body.end());
        if (c.body.size() & 1) out.push_back(0);
    }
    const std::uint32_t riffSize = std::uint32_t(out.size() - 8);
    std::memcpy(out.data() + 4, &riffSize, 4);
    return out;
}

soundfile::Decoded decode(const Bytes& b) {
    return soundfile::decode(b);
}

bool allSamplesAre(const soundfile::Pcm& pcm, std::int16_t value) {
    return std::all_of(pcm.samples.begin(), pcm.samples.end(), [&](std::int16_t v) { return v == value; });
}

// 0x11 bytes read as 16-bit, and as unsigned 8-bit widened to 16 bits.
constexpr std::int16_t kFill16 = 0x1111;
constexpr std::int16_t kFill8 = (0x11 - 0x80) * 256;

} // namespace

TEST(WavDecode, PlainPcmFilesGiveTheirFormatAndLength) {
    // One second of 16-bit mono at 22 050 Hz.
    auto s = decode(riff({fmt(1, 1, 22050, 16), data(44100)}));
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.sampleRate, 22050u);
    EXPECT_EQ(s.pcm.channels, 1);
    EXPECT_EQ(s.pcm.frames(), 22050);
    EXPECT_EQ(s.pcm.lengthMs(), 1000);
    EXPECT_EQ(s.pcm.samples.size(), 22050u);
    EXPECT_TRUE(allSamplesAre(s.pcm, kFill16));

    // Half a second of 8-bit stereo at 44 100 Hz: two bytes a frame.
    s = decode(riff({fmt(1, 2, 44100, 8), data(44100)}));
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.sampleRate, 44100u);
    EXPECT_EQ(s.pcm.channels, 2);
    EXPECT_EQ(s.pcm.frames(), 22050);
    EXPECT_EQ(s.pcm.lengthMs(), 500);
    EXPECT_TRUE(allSamplesAre(s.pcm, kFill8));

    // 16-bit stereo at 8 000 Hz, 250 ms; lengths round to the nearest millisecond.
    s = decode(riff({fmt(1, 2, 8000, 16), data(8000)}));
    ASSERT_TRUE(s.playable());
    EXPECT_EQ(s.pcm.lengthMs(), 250);
    s = decode(riff({fmt(1, 1, 22050, 16), data(2 * 7342)}));
    ASSERT_TRUE(s.playable());
    EXPECT_EQ(s.pcm.lengthMs(), 333); // 332.97 ms
}

TEST(WavDecode, ChunksAroundTheSoundAreSkipped) {
    // An odd-sized chunk before fmt (padded), and one between fmt and data.
    Chunk list{"LIST", Bytes(5, 'x')};
    Chunk fact{"fact", Bytes(4, 0)};
    auto s = decode(riff({list, fmt(1, 1, 11025, 16), fact, data(1102)}));
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.sampleRate, 11025u);
    EXPECT_EQ(s.pcm.samples.size(), 551u);
    EXPECT_EQ(s.pcm.lengthMs(), 50);
    EXPECT_TRUE(allSamplesAre(s.pcm, kFill16));
    // A trailing chunk after data does not disturb it either.
    s = decode(riff({fmt(1, 1, 22050, 16), data(100), list}));
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.samples.size(), 50u);
    EXPECT_TRUE(allSamplesAre(s.pcm, kFill16));
}

TEST(WavDecode, ExtensiblePcmAndFloatArePlain) {
    Chunk f = fmt(0xFFFE, 2, 48000, 16);
    put16(f.body, 22); // cbSize
    put16(f.body, 16); // valid bits
    put32(f.body, 3);  // channel mask
    put16(f.body, 1);  // sub-format GUID begins with the PCM tag
    f.body.resize(40, 0x00);
    // The rest of the sub-format GUID, the same for every tag.
    const Bytes guidTail{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    std::copy(guidTail.begin(), guidTail.end(), f.body.begin() + 26);
    auto s = decode(riff({f, data(192)}));
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.sampleRate, 48000u);
    EXPECT_EQ(s.pcm.channels, 2);
    EXPECT_EQ(s.pcm.frames(), 48);
    EXPECT_EQ(s.pcm.lengthMs(), 1);

    // IEEE float inside the wrapper: 32-bit samples, so half the frames; 0x11111111 is a tiny number.
    f = fmt(0xFFFE, 2, 48000, 32);
    put16(f.body, 22);
    put16(f.body, 32);
    put32(f.body, 3);
    put16(f.body, 3);
    f.body.resize(40, 0x00);
    std::copy(guidTail.begin(), guidTail.end(), f.body.begin() + 26);
    s = decode(riff({f, data(192)}));
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.channels, 2);
    EXPECT_EQ(s.pcm.frames(), 24);
    EXPECT_TRUE(allSamplesAre(s.pcm, 0));
}

TEST(WavDecode, ZeroLengthDataIsAValidSilentSound) {
    auto s = decode(riff({fmt(1, 1, 22050, 16), data(0)}));
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.frames(), 0);
    EXPECT_EQ(s.pcm.lengthMs(), 0);
}

TEST(WavDecode, DataChunkLongerThanTheFileIsCutToWhatIsThere) {
    Chunk d = data(4410);
    d.declaredSize = 1000000;
    auto s = decode(riff({fmt(1, 1, 22050, 16), d}));
    ASSERT_EQ(s.status, Status::CutShort);
    EXPECT_EQ(s.pcm.samples.size(), 2205u);
    EXPECT_EQ(s.pcm.lengthMs(), 100);
    EXPECT_TRUE(allSamplesAre(s.pcm, kFill16));

    // Streaming writers leave 0xFFFFFFFF there; a half frame at the end is dropped.
    d = data(4411);
    d.declaredSize = 0xFFFFFFFEu;
    Bytes b = riff({fmt(1, 1, 22050, 16), d});
    b.pop_back(); // the pad byte riff() added
    s = decode(b);
    ASSERT_EQ(s.status, Status::CutShort);
    EXPECT_EQ(s.pcm.samples.size(), 2205u);
}

TEST(WavDecode, FormatsBeyondTheShippedOnesAreRead) {
    struct Case {
        const char* name;
        Bytes file;
        int channels;
        std::int64_t frames;
    };
    const Case cases[] = {
        {"float", riff({fmt(3, 1, 22050, 32), data(100)}), 1, 25},
        {"24-bit", riff({fmt(1, 1, 22050, 24), data(99)}), 1, 33},
        {"three channels", riff({fmt(1, 3, 22050, 16), data(600)}), 3, 100},
    };
    for (const Case& c : cases) {
        const auto s = decode(c.file);
        ASSERT_EQ(s.status, Status::Whole) << c.name;
        EXPECT_EQ(s.pcm.channels, c.channels) << c.name;
        EXPECT_EQ(s.pcm.frames(), c.frames) << c.name;
        EXPECT_EQ(s.pcm.sampleRate, 22050u) << c.name;
    }
}

TEST(WavDecode, FilesThatAreNoSoundAreRejected) {
    Chunk shortFmt = fmt(1, 1, 22050, 16);
    shortFmt.body.resize(14);
    const Bytes b = riff({fmt(1, 1, 22050, 16), data(100)});
    Bytes notRiff = b;
    std::memcpy(notRiff.data(), "RIFX", 4);
    Bytes notWave = b;
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    struct Case {
        const char* name;
        Bytes file;
    };
    const Case cases[] = {
        {"empty", Bytes{}},
        {"no fmt chunk", riff({data(100)})},
        {"no data chunk", riff({fmt(1, 1, 22050, 16)})},
        {"mp3 tag over PCM bytes", riff({fmt(0x55, 1, 22050, 16), data(100)})},
        {"adpcm without its coefficients", riff({fmt(2, 1, 22050, 4), data(100)})},
        {"no channels", riff({fmt(1, 0, 22050, 16), data(100)})},
        {"nine channels", riff({fmt(1, 9, 22050, 16), data(180)})},
        {"zero rate", riff({fmt(1, 1, 0, 16), data(100)})},
        {"block alignment of stereo", riff({fmt(1, 1, 22050, 16, 4), data(100)})},
        {"fmt chunk too short", riff({shortFmt, data(100)})},
        {"RIFX", notRiff},
        {"AVI", notWave},
    };
    for (const Case& c : cases) {
        const auto s = decode(c.file);
        EXPECT_FALSE(s.playable()) << c.name;
        EXPECT_TRUE(s.pcm.samples.empty()) << c.name;
    }
}

TEST(WavDecode, EveryTruncationOfTheHeaderIsRejected) {
    const Bytes b = riff({fmt(1, 1, 22050, 16), data(100)});
    // Up to the data chunk's header nothing is playable; from there on the cut data counts.
    for (std::size_t n = 0; n < 44; ++n) {
        Bytes cut(b.begin(), b.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(decode(cut).playable()) << n << " bytes";
    }
    for (std::size_t n = 44; n <= b.size(); ++n) {
        auto s = decode(Bytes(b.begin(), b.begin() + std::ptrdiff_t(n)));
        ASSERT_EQ(s.status, n == b.size() ? Status::Whole : Status::CutShort) << n << " bytes";
        EXPECT_EQ(s.pcm.samples.size(), (n - 44) / 2) << n << " bytes";
    }
}

TEST(WavDecode, HostileChunkSizesNeitherCrashNorReadOutside) {
    // A chunk before fmt claiming 4 GB.
    Chunk huge{"JUNK", Bytes(8, 0), 0xFFFFFFF0u};
    EXPECT_FALSE(decode(riff({huge, fmt(1, 1, 22050, 16), data(100)})).playable());
    // A fmt chunk claiming more than the file holds.
    Chunk f = fmt(1, 1, 22050, 16);
    f.declaredSize = 0xFFFFFFFFu - 1;
    EXPECT_FALSE(decode(riff({f})).playable());

    // Random damage to a valid file: whatever comes back is whole frames within the decoder's bounds.
    const Bytes good = riff({Chunk{"LIST", Bytes(7, 'a')}, fmt(1, 2, 44100, 16), data(400)});
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        Bytes b = good;
        const int hits = 1 + int(rng() % 6);
        for (int i = 0; i < hits; ++i)
            b[rng() % b.size()] = std::uint8_t(rng());
        b.resize(rng() % (b.size() + 1));
        auto s = decode(b);
        if (!s.playable()) {
            ASSERT_TRUE(s.pcm.samples.empty());
            continue;
        }
        ASSERT_GE(s.pcm.channels, 1);
        ASSERT_LE(s.pcm.channels, soundfile::kMaxChannels);
        ASSERT_EQ(s.pcm.samples.size() % std::size_t(s.pcm.channels), 0u);
        ASSERT_LE(std::int64_t(s.pcm.samples.size()), soundfile::kMaxSamples);
    }
}

TEST(WavBuild, EmptyRecordingIsThe46ByteHeader) {
    const Bytes expected = {
        'R',  'I',  'F', 'F', 38,  0,   0,   0,                // file size - 8
        'W',  'A',  'V', 'E', 'f', 'm', 't', ' ', 18, 0, 0, 0, // fmt chunk of 18 bytes
        1,    0,    1,   0,                                    // PCM, mono
        0x22, 0x56, 0,   0,                                    // 22050 samples per second
        0x44, 0xAC, 0,   0,                                    // 44100 bytes per second
        2,    0,    16,  0,   0,   0,                          // block alignment, bits, extra bytes
        'd',  'a',  't', 'a', 0,   0,   0,   0,                // no data
    };
    EXPECT_EQ(wav::emptyRecording(), expected);
    auto s = decode(expected);
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.sampleRate, 22050u);
    EXPECT_EQ(s.pcm.channels, 1);
    EXPECT_EQ(s.pcm.lengthMs(), 0);
}

TEST(WavBuild, RecordingsCarryTheirSizesAndReadBack) {
    Bytes samples(2 * 22050 * 3 / 2); // 1.5 s
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::uint8_t(i * 7);
    const Bytes file = wav::build(wav::kRecordingFormat, samples);
    ASSERT_EQ(file.size(), 46 + 66150u);
    std::uint32_t riffSize = 0, dataSize = 0;
    std::memcpy(&riffSize, file.data() + 4, 4);
    std::memcpy(&dataSize, file.data() + 42, 4);
    EXPECT_EQ(riffSize, 38 + 66150u);
    EXPECT_EQ(dataSize, 66150u);
    auto s = decode(file);
    ASSERT_EQ(s.status, Status::Whole);
    EXPECT_EQ(s.pcm.lengthMs(), 1500);
    ASSERT_EQ(s.pcm.samples.size() * 2, samples.size());
    EXPECT_EQ(std::memcmp(s.pcm.samples.data(), samples.data(), samples.size()), 0); // little-endian machine

    // An odd data size is padded, and the RIFF size counts the pad byte.
    const Bytes odd = wav::build(wav::Format{1, 8000, 8}, Bytes(3, 0x80));
    ASSERT_EQ(odd.size(), 50u);
    std::memcpy(&riffSize, odd.data() + 4, 4);
    std::memcpy(&dataSize, odd.data() + 42, 4);
    EXPECT_EQ(riffSize, 42u);
    EXPECT_EQ(dataSize, 3u);
    EXPECT_EQ(odd[28], 0x40); // 8000 bytes per second
    EXPECT_EQ(odd[29], 0x1F);
}

TEST(WavBuild, RecordedFramesRoundDownAndTheLengthComesBack) {
    EXPECT_EQ(wav::recordingFramesFor(1000), 22050);
    EXPECT_EQ(wav::recordingFramesFor(60000), 1323000);
    EXPECT_EQ(wav::recordingFramesFor(333), 7342); // 7342.65
    EXPECT_EQ(wav::recordingFramesFor(1), 22);     // 22.05
    EXPECT_EQ(wav::recordingFramesFor(0), 0);
    EXPECT_EQ(wav::recordingFramesFor(-5), 0);
    for (int ms : {1, 7, 333, 999, 1234, 59999, 60000}) {
        const Bytes file =
            wav::build(wav::kRecordingFormat, Bytes(std::size_t(wav::recordingFramesFor(ms)) * 2));
        EXPECT_EQ(decode(file).pcm.lengthMs(), ms) << ms;
    }
}
