// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/SoundFile.hpp"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace platform::soundfile {

namespace {

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

enum class Riff { Other, Usable, DataCut, Refused };

// libsndfile reads a WAV file cut just before its data chunk header as an empty sound, and reads past a
// block alignment that contradicts the channel count; the recorder's files are judged more strictly than
// that. The chunks are walked within the bytes given (the RIFF size is often wrong in the wild).
Riff checkRiff(std::span<const std::uint8_t> bytes) {
    const std::size_t n = bytes.size();
    if (n < 12 || !tagIs(bytes.data(), "RIFF") || !tagIs(bytes.data() + 8, "WAVE")) return Riff::Other;
    bool format = false;
    bool data = false;
    bool dataCut = false;
    std::size_t pos = 12;
    while (pos + 8 <= n && !(format && data)) {
        const std::uint8_t* chunk = bytes.data() + pos;
        const std::uint64_t size = u32(chunk + 4);
        const std::size_t available = n - pos - 8;
        if (tagIs(chunk, "fmt ")) {
            if (format || size > available || size < 16) return Riff::Refused;
            const std::uint8_t* f = chunk + 8;
            std::uint16_t tag = u16(f);
            if (tag == 0xFFFE && size >= 40) tag = u16(f + 24);
            // PCM and float: one frame is the channels' whole bytes, nothing else.
            const std::uint32_t frameBytes = std::uint32_t(u16(f + 2)) * ((u16(f + 14) + 7u) / 8u);
            if ((tag == 1 || tag == 3) && u16(f + 12) != frameBytes) return Riff::Refused;
            format = true;
        } else if (tagIs(chunk, "data") && !data) {
            data = true;
            dataCut = size > available;
        }
        if (size > available) break; // a cut-off chunk ends the file
        pos += 8 + std::size_t(size) + std::size_t(size & 1);
    }
    if (!format || !data) return Riff::Refused;
    return dataCut ? Riff::DataCut : Riff::Usable;
}

// Read-only access to the bytes for libsndfile.
struct Source {
    std::span<const std::uint8_t> bytes;
    sf_count_t pos = 0;
};

sf_count_t sourceLength(void* user) {
    return sf_count_t(static_cast<Source*>(user)->bytes.size());
}
sf_count_t sourceSeek(sf_count_t offset, int whence, void* user) {
    auto& s = *static_cast<Source*>(user);
    const sf_count_t size = sf_count_t(s.bytes.size());
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s.pos : size;
    if (offset < -base || offset > size - base) return -1;
    s.pos = base + offset;
    return s.pos;
}
sf_count_t sourceRead(void* out, sf_count_t count, void* user) {
    auto& s = *static_cast<Source*>(user);
    const sf_count_t n =
        std::clamp<sf_count_t>(sf_count_t(s.bytes.size()) - s.pos, 0, std::max<sf_count_t>(count, 0));
    if (n > 0) std::memcpy(out, s.bytes.data() + s.pos, std::size_t(n));
    s.pos += n;
    return n;
}
sf_count_t sourceWrite(const void*, sf_count_t, void*) {
    return 0;
}
sf_count_t sourceTell(void* user) {
    return static_cast<Source*>(user)->pos;
}

// An MP3 file's length is an estimate unless a Xing header states it: a frame or two short is no damage.
constexpr sf_count_t kMpegLengthSlack = 2 * 1152;

struct File {
    SNDFILE* handle = nullptr;
    ~File() {
        if (handle) sf_close(handle);
    }
};

} // namespace

int Pcm::lengthMs() const {
    if (sampleRate == 0) return 0;
    return int((frames() * 1000 + sampleRate / 2) / sampleRate);
}

Decoded decode(std::span<const std::uint8_t> bytes) {
    Decoded out;
    const Riff riff = checkRiff(bytes);
    if (riff == Riff::Refused) {
        out.status = Status::Damaged;
        return out;
    }

    Source source{bytes};
    SF_VIRTUAL_IO io{sourceLength, sourceSeek, sourceRead, sourceWrite, sourceTell};
    SF_INFO info{};
    File file{sf_open_virtual(&io, SFM_READ, &info, &source)};
    if (!file.handle) {
        // A known kind of file whose header does not hold together is damaged; anything else is no sound.
        out.status = sf_error(nullptr) == SF_ERR_MALFORMED_FILE ? Status::Damaged : Status::NotSound;
        return out;
    }
    if (info.channels < 1 || info.channels > kMaxChannels ||
        std::uint32_t(info.samplerate) < kMinSampleRate || std::uint32_t(info.samplerate) > kMaxSampleRate)
        return out;
    const sf_count_t maxFrames = kMaxSamples / info.channels;
    // A header's claim is checked before anything is allocated for it.
    if (info.frames > maxFrames && info.frames != SF_COUNT_MAX) {
        out.status = Status::TooLong;
        return out;
    }
    Pcm& pcm = out.pcm;
    pcm.sampleRate = std::uint32_t(info.samplerate);
    pcm.channels = info.channels;
    // Read as float and narrowed here: libsndfile's short reads of a float file cast without scaling (all
    // but silence), while every integer format comes back exactly (a 16-bit sample v reads as v / 32768).
    constexpr sf_count_t kBlockFrames = 4096;
    std::vector<float> block(std::size_t(kBlockFrames * info.channels));
    sf_count_t frames = 0;
    for (;;) {
        const sf_count_t got =
            std::max<sf_count_t>(sf_readf_float(file.handle, block.data(), kBlockFrames), 0);
        if (got == 0) break;
        if (got > maxFrames - frames) {
            out.pcm = {};
            out.status = Status::TooLong;
            return out;
        }
        const std::size_t n = std::size_t(got * info.channels);
        for (std::size_t i = 0; i < n; ++i)
            pcm.samples.push_back(
                std::int16_t(std::lround(std::clamp(block[i] * 32768.0f, -32768.0f, 32767.0f))));
        frames += got;
        if (got < kBlockFrames) break;
    }

    // libsndfile reports a cut FLAC or MP3 file as fewer frames than its header states (FLAC with a decoder
    // error too), a cut Ogg file as malformed when opened, and a cut WAV file not at all: checkRiff sees
    // that.
    const bool mpeg = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG;
    const sf_count_t slack = mpeg ? kMpegLengthSlack : 0;
    const bool shortOfHeader = info.frames != SF_COUNT_MAX && frames + slack < info.frames;
    const bool broken = sf_error(file.handle) != SF_ERR_NO_ERROR;
    out.status = riff == Riff::DataCut || shortOfHeader || broken ? Status::CutShort : Status::Whole;
    return out;
}

} // namespace platform::soundfile
