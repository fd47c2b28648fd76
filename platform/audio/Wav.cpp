// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/Wav.hpp"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform::wav {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint16_t u16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}
std::uint32_t u32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
bool tagIs(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

// Reads a fmt chunk body; nullopt for anything but plain PCM we can play.
std::optional<Format> readFormat(const std::uint8_t* p, std::size_t size) {
    if (size < 16) return std::nullopt;
    std::uint16_t tag = u16(p);
    if (tag == kFormatExtensible) {
        // cbSize 22, then valid bits, channel mask and the sub-format GUID whose first two bytes are the tag.
        if (size < 40 || u16(p + 16) < 22) return std::nullopt;
        tag = u16(p + 24);
    }
    if (tag != kFormatPcm) return std::nullopt;
    Format f;
    f.channels = u16(p + 2);
    f.sampleRate = u32(p + 4);
    f.bitsPerSample = u16(p + 14);
    if (f.channels != 1 && f.channels != 2) return std::nullopt;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return std::nullopt;
    if (f.sampleRate < 1000 || f.sampleRate > 384000) return std::nullopt;
    // Block alignment must describe the same frames, or the data would be misread.
    if (u16(p + 12) != f.frameBytes()) return std::nullopt;
    return f;
}

} // namespace

int Sound::lengthMs() const {
    return int((frames() * 1000 + format.sampleRate / 2) / format.sampleRate);
}

std::optional<Sound> parse(std::span<const std::uint8_t> bytes) {
    const std::size_t n = bytes.size();
    if (n < 12 || !tagIs(bytes.data(), "RIFF") || !tagIs(bytes.data() + 8, "WAVE")) return std::nullopt;

    std::optional<Format> format;
    std::optional<std::span<const std::uint8_t>> data;
    // The RIFF size is often wrong in the wild; the file's real size bounds the walk instead.
    std::size_t pos = 12;
    while (pos + 8 <= n && !(format && data)) {
        const std::uint8_t* chunk = bytes.data() + pos;
        const std::uint64_t size = u32(chunk + 4);
        const std::size_t bodyPos = pos + 8;
        const std::size_t available = n - bodyPos;
        if (tagIs(chunk, "fmt ")) {
            if (format || size > available) return std::nullopt;
            format = readFormat(chunk + 8, std::size_t(size));
            if (!format) return std::nullopt;
        } else if (tagIs(chunk, "data") && !data) {
            data = bytes.subspan(bodyPos, std::size_t(std::min<std::uint64_t>(size, available)));
        }
        if (size > available) break; // a cut-off chunk ends the file
        pos = bodyPos + std::size_t(size) + std::size_t(size & 1);
    }
    if (!format || !data) return std::nullopt;
    const std::size_t whole = data->size() - data->size() % std::size_t(format->frameBytes());
    return Sound{*format, data->first(whole)};
}

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
