// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Sound files of any kind libsndfile reads (WAV in every PCM and float format, FLAC, Ogg Vorbis, Opus, MP3),
// decoded from memory into 16-bit samples.
namespace platform::soundfile {

// Interleaved signed 16-bit samples, whole frames only.
struct Pcm {
    std::uint32_t sampleRate = 22050;
    int channels = 1;
    std::vector<std::int16_t> samples;

    std::int64_t frames() const { return channels > 0 ? std::int64_t(samples.size()) / channels : 0; }
    // Length rounded to the nearest millisecond.
    int lengthMs() const;
};

enum class Status {
    Whole,    // the whole sound the file announces
    CutShort, // the file ends (or its stream breaks) before the sound it announces: pcm holds what was read
    NotSound, // no sound file, or one in a form we do not take
    Damaged,  // a sound file whose header cannot be read, or a WAV file refused by the checks below
    TooLong,  // more samples than kMaxSamples
};

struct Decoded {
    Status status = Status::NotSound;
    Pcm pcm; // empty unless playable()

    bool playable() const { return status == Status::Whole || status == Status::CutShort; }
};

inline constexpr int kMaxChannels = 8;
inline constexpr std::uint32_t kMinSampleRate = 1000;
inline constexpr std::uint32_t kMaxSampleRate = 384000;
// 32 MB of samples: minutes of sound, far beyond any word, praise or 60-second recording.
inline constexpr std::int64_t kMaxSamples = std::int64_t(1) << 24;

// Decodes a whole file held in memory. Never allocates more than kMaxSamples samples, whatever the header
// claims. A RIFF WAVE file is held to more than libsndfile asks: a whole fmt chunk whose block alignment
// matches its channels, and a whole data chunk header; a data chunk longer than the file is cut to what is
// there (CutShort).
Decoded decode(std::span<const std::uint8_t> bytes);

} // namespace platform::soundfile
