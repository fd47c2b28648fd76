// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/VoicePrep.hpp"

#include "platform/audio/SoundFile.hpp"
#include "platform/audio/Wav.hpp"

#include <samplerate.h>

#include <algorithm>
#include <cmath>

namespace platform::voice {

namespace {

constexpr std::uint32_t kRate = wav::kRecordingFormat.sampleRate;
// Energy is judged in 10 ms windows: short enough to find a word's edges, long enough to smooth a period.
constexpr int kWindowMs = 10;
// Sound is what comes within 40 dB of the loudest window; quiet consonants ("sz", "f") at a word's edges
// reach that, a room's hum does not.
constexpr double kEdgeBelowLoudestDb = 40.0;
// Windows quieter than this are silence whatever the loudest is.
constexpr double kEdgeFloorDbfs = -60.0;
// Kept around what the windows found, so the soft start and fade of a consonant survive.
constexpr int kMarginMs = 40;

double fromDb(double db) {
    return std::pow(10.0, db / 20.0);
}

std::vector<float> mixToMono(const soundfile::Pcm& pcm) {
    const std::size_t frames = std::size_t(pcm.frames());
    const int channels = pcm.channels;
    std::vector<float> mono(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        float sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += pcm.samples[i * std::size_t(channels) + std::size_t(c)];
        mono[i] = sum / (32768.0f * float(channels));
    }
    return mono;
}

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0; // empty: nothing above the threshold
};

// Where the sound lies between the silences at both ends, margins included.
Span findSound(const std::vector<float>& mono, std::uint32_t rate) {
    const std::size_t window = std::max<std::size_t>(1, std::size_t(rate) * kWindowMs / 1000);
    const std::size_t count = (mono.size() + window - 1) / window;
    std::vector<double> energy(count, 0.0);
    for (std::size_t w = 0; w < count; ++w) {
        const std::size_t from = w * window;
        const std::size_t to = std::min(mono.size(), from + window);
        double sum = 0;
        for (std::size_t i = from; i < to; ++i)
            sum += double(mono[i]) * mono[i];
        energy[w] = sum / double(to - from);
    }
    const double loudest = count ? *std::max_element(energy.begin(), energy.end()) : 0.0;
    const double threshold = std::max(loudest * std::pow(10.0, -kEdgeBelowLoudestDb / 10.0),
                                      std::pow(10.0, kEdgeFloorDbfs / 10.0));
    auto above = [&](double e) { return e >= threshold && e > 0; };
    const auto first = std::find_if(energy.begin(), energy.end(), above);
    if (first == energy.end()) return {};
    const auto last = std::find_if(energy.rbegin(), energy.rend(), above);
    const std::size_t margin = std::size_t(rate) * kMarginMs / 1000;
    const std::size_t begin = std::size_t(first - energy.begin()) * window;
    const std::size_t end = std::min(mono.size(), std::size_t(energy.rend() - last) * window);
    return {begin > margin ? begin - margin : 0, std::min(mono.size(), end + margin)};
}

// Sinc resampling to the recording rate; false only when the converter refuses.
bool resample(std::vector<float>& mono, std::uint32_t rate) {
    if (rate == kRate || mono.empty()) return true;
    const double ratio = double(kRate) / double(rate);
    std::vector<float> out(std::size_t(std::ceil(double(mono.size()) * ratio)) + 16);
    SRC_DATA data{};
    data.data_in = mono.data();
    data.input_frames = long(mono.size());
    data.data_out = out.data();
    data.output_frames = long(out.size());
    data.src_ratio = ratio;
    if (src_simple(&data, SRC_SINC_MEDIUM_QUALITY, 1) != 0) return false;
    out.resize(std::size_t(data.output_frames_gen));
    mono = std::move(out);
    return true;
}

int lengthMs(std::size_t frames) {
    return int((std::int64_t(frames) * 1000 + kRate / 2) / kRate);
}

} // namespace

Prepared prepareVoice(std::span<const std::uint8_t> fileBytes) {
    Prepared out;
    const soundfile::Decoded decoded = soundfile::decode(fileBytes);
    switch (decoded.status) {
    case soundfile::Status::Whole:
        break;
    case soundfile::Status::CutShort: // a word cut off is no word to practise with
    case soundfile::Status::Damaged:
        out.problem = Problem::Damaged;
        return out;
    case soundfile::Status::TooLong:
        out.problem = Problem::TooLong;
        return out;
    case soundfile::Status::NotSound:
        out.problem = Problem::NotSound;
        return out;
    }
    const soundfile::Pcm& pcm = decoded.pcm;
    if (pcm.frames() == 0) {
        out.problem = Problem::Empty;
        return out;
    }

    std::vector<float> mono = mixToMono(pcm);
    float peak = 0;
    for (float v : mono)
        peak = std::max(peak, std::fabs(v));
    const Span sound = findSound(mono, pcm.sampleRate);
    if (peak < fromDb(kSilencePeakDbfs) || sound.end <= sound.begin) {
        out.problem = Problem::TooQuiet;
        return out;
    }
    // Judged before resampling, so a long file is never converted only to be refused.
    if (std::int64_t(sound.end - sound.begin) * 1000 > std::int64_t(kMaxVoiceMs) * pcm.sampleRate) {
        out.problem = Problem::TooLong;
        return out;
    }
    mono = std::vector<float>(mono.begin() + std::ptrdiff_t(sound.begin),
                              mono.begin() + std::ptrdiff_t(sound.end));
    if (!resample(mono, pcm.sampleRate)) {
        out.problem = Problem::Damaged;
        return out;
    }
    double sum = 0;
    float newPeak = 0;
    for (float v : mono) {
        sum += double(v) * v;
        newPeak = std::max(newPeak, std::fabs(v));
    }
    // A sound of a sample or two may vanish in the converter.
    if (mono.empty() || newPeak <= 0) {
        out.problem = Problem::TooQuiet;
        return out;
    }
    const double rms = std::sqrt(sum / double(mono.size()));
    const double gain = std::min(fromDb(kWordRmsDbfs) / rms, fromDb(kMaxPeakDbfs) / newPeak);

    std::vector<std::uint8_t> samples(mono.size() * 2);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        const long v = std::lround(std::clamp(double(mono[i]) * gain * 32768.0, -32768.0, 32767.0));
        const auto u = std::uint16_t(std::int16_t(v));
        samples[2 * i] = std::uint8_t(u);
        samples[2 * i + 1] = std::uint8_t(u >> 8);
    }
    out.problem = Problem::None;
    out.wav = wav::build(wav::kRecordingFormat, samples);
    out.lengthMs = lengthMs(mono.size());
    return out;
}

} // namespace platform::voice
