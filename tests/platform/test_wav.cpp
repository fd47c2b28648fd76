// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/Wav.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

using namespace platform;
using Bytes = std::vector<std::uint8_t>;

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

} // namespace

TEST(WavParse, PlainPcmFilesGiveTheirFormatAndLength) {
    // One second of 16-bit mono at 22 050 Hz.
    Bytes mono = riff({fmt(1, 1, 22050, 16), data(44100)});
    auto s = wav::parse(mono);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format, (wav::Format{1, 22050, 16}));
    EXPECT_EQ(s->frames(), 22050);
    EXPECT_EQ(s->lengthMs(), 1000);
    EXPECT_EQ(s->samples.data(), mono.data() + 44);
    EXPECT_EQ(s->samples.size(), 44100u);

    // Half a second of 8-bit stereo at 44 100 Hz: two bytes a frame.
    Bytes stereo = riff({fmt(1, 2, 44100, 8), data(44100)});
    s = wav::parse(stereo);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format, (wav::Format{2, 44100, 8}));
    EXPECT_EQ(s->frames(), 22050);
    EXPECT_EQ(s->lengthMs(), 500);

    // 16-bit stereo at 8 000 Hz, 250 ms; lengths round to the nearest millisecond.
    s = wav::parse(riff({fmt(1, 2, 8000, 16), data(8000)}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->lengthMs(), 250);
    s = wav::parse(riff({fmt(1, 1, 22050, 16), data(2 * 7342)}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->lengthMs(), 333); // 332.97 ms
}

TEST(WavParse, ChunksAroundTheSoundAreSkipped) {
    // An odd-sized chunk before fmt (padded), and one between fmt and data.
    Chunk list{"LIST", Bytes(5, 'x')};
    Chunk fact{"fact", Bytes(4, 0)};
    Bytes b = riff({list, fmt(1, 1, 11025, 16), fact, data(1102)});
    auto s = wav::parse(b);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format.sampleRate, 11025u);
    EXPECT_EQ(s->samples.size(), 1102u);
    EXPECT_EQ(s->lengthMs(), 50);
    // A trailing chunk after data does not disturb it either.
    s = wav::parse(riff({fmt(1, 1, 22050, 16), data(100), list}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->samples.size(), 100u);
}

TEST(WavParse, ExtensiblePcmIsPcm) {
    Chunk f = fmt(0xFFFE, 2, 48000, 16);
    put16(f.body, 22); // cbSize
    put16(f.body, 16); // valid bits
    put32(f.body, 3);  // channel mask
    put16(f.body, 1);  // sub-format GUID begins with the PCM tag
    f.body.resize(40, 0x00);
    auto s = wav::parse(riff({f, data(192)}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format, (wav::Format{2, 48000, 16}));
    EXPECT_EQ(s->lengthMs(), 1);

    f.body[24] = 3; // IEEE float inside the wrapper
    EXPECT_FALSE(wav::parse(riff({f, data(192)})));
}

TEST(WavParse, ZeroLengthDataIsAValidSilentSound) {
    auto s = wav::parse(riff({fmt(1, 1, 22050, 16), data(0)}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->frames(), 0);
    EXPECT_EQ(s->lengthMs(), 0);
}

TEST(WavParse, DataChunkLongerThanTheFileIsCutToWhatIsThere) {
    Chunk d = data(4410);
    d.declaredSize = 1000000;
    auto s = wav::parse(riff({fmt(1, 1, 22050, 16), d}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->samples.size(), 4410u);
    EXPECT_EQ(s->lengthMs(), 100);

    // Streaming writers leave 0xFFFFFFFF there; a half frame at the end is dropped.
    d = data(4411);
    d.declaredSize = 0xFFFFFFFEu;
    Bytes b = riff({fmt(1, 1, 22050, 16), d});
    b.pop_back(); // the pad byte riff() added
    s = wav::parse(b);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->samples.size(), 4410u);
}

TEST(WavParse, FilesThatAreNotPlayablePcmAreRejected) {
    EXPECT_FALSE(wav::parse(Bytes{})) << "empty";
    EXPECT_FALSE(wav::parse(riff({data(100)}))) << "no fmt chunk";
    EXPECT_FALSE(wav::parse(riff({fmt(1, 1, 22050, 16)}))) << "no data chunk";
    EXPECT_FALSE(wav::parse(riff({fmt(3, 1, 22050, 32), data(100)}))) << "float";
    EXPECT_FALSE(wav::parse(riff({fmt(0x55, 1, 22050, 16), data(100)}))) << "mp3";
    EXPECT_FALSE(wav::parse(riff({fmt(2, 1, 22050, 4), data(100)}))) << "adpcm";
    EXPECT_FALSE(wav::parse(riff({fmt(1, 3, 22050, 16), data(100)}))) << "three channels";
    EXPECT_FALSE(wav::parse(riff({fmt(1, 0, 22050, 16), data(100)}))) << "no channels";
    EXPECT_FALSE(wav::parse(riff({fmt(1, 1, 22050, 24), data(100)}))) << "24-bit";
    EXPECT_FALSE(wav::parse(riff({fmt(1, 1, 0, 16), data(100)}))) << "zero rate";
    EXPECT_FALSE(wav::parse(riff({fmt(1, 1, 22050, 16, 4), data(100)}))) << "block alignment of stereo";
    Chunk shortFmt = fmt(1, 1, 22050, 16);
    shortFmt.body.resize(14);
    EXPECT_FALSE(wav::parse(riff({shortFmt, data(100)}))) << "fmt chunk too short";

    Bytes b = riff({fmt(1, 1, 22050, 16), data(100)});
    Bytes notRiff = b;
    std::memcpy(notRiff.data(), "RIFX", 4);
    EXPECT_FALSE(wav::parse(notRiff));
    Bytes notWave = b;
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    EXPECT_FALSE(wav::parse(notWave));
}

TEST(WavParse, EveryTruncationOfTheHeaderIsRejected) {
    const Bytes b = riff({fmt(1, 1, 22050, 16), data(100)});
    // Up to the data chunk's header nothing is playable; from there on the cut data counts.
    for (std::size_t n = 0; n < 44; ++n) {
        Bytes cut(b.begin(), b.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(wav::parse(cut)) << n << " bytes";
    }
    for (std::size_t n = 44; n <= b.size(); ++n) {
        auto s = wav::parse(std::span(b).first(n));
        ASSERT_TRUE(s) << n << " bytes";
        EXPECT_EQ(s->samples.size(), (n - 44) & ~std::size_t(1));
    }
}

TEST(WavParse, HostileChunkSizesNeitherCrashNorReadOutside) {
    // A chunk before fmt claiming 4 GB.
    Chunk huge{"JUNK", Bytes(8, 0), 0xFFFFFFF0u};
    EXPECT_FALSE(wav::parse(riff({huge, fmt(1, 1, 22050, 16), data(100)})));
    // A fmt chunk claiming more than the file holds.
    Chunk f = fmt(1, 1, 22050, 16);
    f.declaredSize = 0xFFFFFFFFu - 1;
    EXPECT_FALSE(wav::parse(riff({f})));

    // Random damage to a valid file: whatever comes back lies inside the bytes given.
    const Bytes good = riff({Chunk{"LIST", Bytes(7, 'a')}, fmt(1, 2, 44100, 16), data(400)});
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        Bytes b = good;
        const int hits = 1 + int(rng() % 6);
        for (int i = 0; i < hits; ++i)
            b[rng() % b.size()] = std::uint8_t(rng());
        b.resize(rng() % (b.size() + 1));
        auto s = wav::parse(b);
        if (!s) continue;
        ASSERT_GE(s->samples.data(), b.data());
        ASSERT_LE(s->samples.data() + s->samples.size(), b.data() + b.size());
        ASSERT_EQ(s->samples.size() % std::size_t(s->format.frameBytes()), 0u);
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
    auto s = wav::parse(expected);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format, wav::kRecordingFormat);
    EXPECT_EQ(s->lengthMs(), 0);
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
    auto s = wav::parse(file);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->lengthMs(), 1500);
    EXPECT_TRUE(std::equal(s->samples.begin(), s->samples.end(), samples.begin(), samples.end()));

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
        EXPECT_EQ(wav::parse(file)->lengthMs(), ms) << ms;
    }
}
