// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/Wav.hpp"

#include <cstring>

namespace platform::wav {

namespace {

constexpr std::uint16_t kFormatPcm = 1;

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

} // namespace

std::vector<std::uint8_t> build(const Format& format, std::span<const std::uint8_t> samples) {
    const std::uint32_t dataSize = std::uint32_t(samples.size());
    const std::uint32_t pad = dataSize & 1;
    std::vector<std::uint8_t> out(46 + samples.size() + pad, 0);
    std::uint8_t* p = out.data();
    std::memcpy(p, "RIFF", 4);
    put32(p + 4, 38 + dataSize + pad);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    put32(p + 16, 18);
    put16(p + 20, kFormatPcm);
    put16(p + 22, format.channels);
    put32(p + 24, format.sampleRate);
    put32(p + 28, format.sampleRate * std::uint32_t(format.frameBytes()));
    put16(p + 32, std::uint32_t(format.frameBytes()));
    put16(p + 34, format.bitsPerSample);
    put16(p + 36, 0); // no extra format bytes
    std::memcpy(p + 38, "data", 4);
    put32(p + 42, dataSize);
    if (!samples.empty()) std::memcpy(p + 46, samples.data(), samples.size());
    return out;
}

std::vector<std::uint8_t> emptyRecording() {
    return build(kRecordingFormat, {});
}

std::int64_t recordingFramesFor(int ms) {
    return ms <= 0 ? 0 : std::int64_t(ms) * kRecordingFormat.sampleRate / 1000;
}

} // namespace platform::wav
