// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A voice for a word, made from any sound file an adult brings (or the recorder's own take): one channel at
// 22 050 Hz, the silence at both ends trimmed, as loud as the shipped words.
namespace platform::voice {

enum class Problem {
    None,
    NotSound, // no sound file we can read
    Damaged,  // a sound file that is broken or cut off
    TooLong,  // longer than kMaxVoiceMs once trimmed
    TooQuiet, // near-silence: nothing a child could hear
    Empty,    // a sound file without a single sample
};

struct Prepared {
    Problem problem = Problem::NotSound;
    std::vector<std::uint8_t> wav; // the finished file in the recording format, when problem is None
    int lengthMs = 0;              // the finished sound's length

    bool ok() const { return problem == Problem::None; }
};

inline constexpr int kMaxVoiceMs = 5000;

// The shipped words' loudness: the median RMS of Data/Smd/*.pw (espeak-ng, peak normalised to -1 dBFS, the
// loudest turned down), measured over each whole file, 233 words in all.
inline constexpr double kWordRmsDbfs = -17.3;
// However quiet a voice is, turning it up never lets its peak pass this.
inline constexpr double kMaxPeakDbfs = -1.0;
// Below this peak a file is near-silence.
inline constexpr double kSilencePeakDbfs = -40.0;

Prepared prepareVoice(std::span<const std::uint8_t> fileBytes);

} // namespace platform::voice
