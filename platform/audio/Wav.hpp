// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <vector>

// RIFF WAVE files in memory for the recorder (reading any sound file is soundfile::decode).
namespace platform::wav {

struct Format {
    std::uint16_t channels = 1;       // 1 or 2
    std::uint32_t sampleRate = 22050; // frames per second
    std::uint16_t bitsPerSample = 16; // 8 (unsigned) or 16 (signed little-endian)

    int frameBytes() const { return channels * (bitsPerSample / 8); }
    friend bool operator==(const Format&, const Format&) = default;
};

// The recorder's format: 16-bit mono at 22 050 Hz.
inline constexpr Format kRecordingFormat{1, 22050, 16};

// A complete file: RIFF header, an 18-byte fmt chunk (no extra format bytes) and the data chunk,
// padded to an even size as RIFF wants.
std::vector<std::uint8_t> build(const Format& format, std::span<const std::uint8_t> samples);

// The 46-byte file a recording place starts from: 16-bit mono 22 050 Hz with no data.
std::vector<std::uint8_t> emptyRecording();

// Frames in ms of the recording format, rounded down (ms × 22 050 / 1 000).
std::int64_t recordingFramesFor(int ms);

} // namespace platform::wav
