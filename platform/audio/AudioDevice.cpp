// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/AudioDevice.hpp"

#include "platform/audio/Wav.hpp"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace platform::audio {

namespace {

std::atomic<bool> g_noMicrophone{false};
// No output device could be opened: said once, and not tried again for every sound.
std::atomic<bool> g_noOutput{false};

// ALSA and SDL write their own lines on stderr when a device is missing; the program says it once itself.
template <typename F> auto quietly(F f) {
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0) ::dup2(null, 2);
    auto result = f();
    if (saved >= 0 && null >= 0) ::dup2(saved, 2);
    if (null >= 0) ::close(null);
    if (saved >= 0) ::close(saved);
    return result;
}

void noOutput() {
    if (!g_noOutput.exchange(true))
        std::fprintf(stderr, "Wirowanki: brak urządzenia dźwiękowego, dźwięki nie będą odtwarzane.\n");
}

} // namespace

void simulateMissingMicrophone(bool missing) {
    g_noMicrophone = missing;
}

bool simulatedMicrophoneMissing() {
    return g_noMicrophone;
}

bool available() {
    static const bool ok =
        SDL_WasInit(SDL_INIT_AUDIO) != 0 || quietly([] { return SDL_InitSubSystem(SDL_INIT_AUDIO); }) == 0;
    return ok;
}

bool Output::start(const soundfile::Pcm& sound) {
    stop();
    if (g_noOutput) return false;
    if (!available()) {
        noOutput();
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = int(sound.sampleRate);
    want.format = AUDIO_S16SYS; // decoded samples are in the machine's byte order
    want.channels = std::uint8_t(sound.channels);
    want.samples = 1024;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts from the file's format to whatever the hardware takes.
    device_ = quietly([&] { return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0); });
    if (device_ == 0) {
        noOutput();
        return false;
    }
    bytesPerSecond_ = int(sound.sampleRate) * sound.channels * int(sizeof(std::int16_t));
    bufferMs_ = int(std::int64_t(have.samples) * 1000 / std::max(have.freq, 1));
    emptySince_ = -1;
    if (!sound.samples.empty() && SDL_QueueAudio(device_, sound.samples.data(),
                                                 Uint32(sound.samples.size() * sizeof(std::int16_t))) != 0) {
        stop();
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool Output::finished() {
    if (device_ == 0) return true;
    if (SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) return true; // device lost
    if (SDL_GetQueuedAudioSize(device_) > 0) return false;
    const std::int64_t now = std::int64_t(SDL_GetTicks64());
    if (emptySince_ < 0) emptySince_ = now;
    // The last block handed to the device still has to be heard.
    return now - emptySince_ >= bufferMs_ + 10;
}

int Output::remainingMs() {
    if (device_ == 0) return 0;
    const std::int64_t queued = SDL_GetQueuedAudioSize(device_);
    if (queued > 0) return int(queued * 1000 / std::max(bytesPerSecond_, 1)) + bufferMs_ + 10;
    if (emptySince_ < 0) return bufferMs_ + 10;
    return int(std::max<std::int64_t>(0, bufferMs_ + 10 - (std::int64_t(SDL_GetTicks64()) - emptySince_)));
}

void Output::stop() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
}

bool Capture::start() {
    stop();
    if (!available()) return false;
    SDL_AudioSpec want{};
    want.freq = int(wav::kRecordingFormat.sampleRate);
    want.format = AUDIO_S16LSB; // the byte order of the WAV file on every machine
    want.channels = 1;
    want.samples = 1024;
    SDL_AudioSpec have{};
    device_ = quietly([&] { return SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0); });
    if (device_ == 0) return false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool Capture::healthy() const {
    return device_ != 0 && SDL_GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED;
}

void Capture::take(std::vector<std::uint8_t>& out, std::size_t maxBytes) {
    if (device_ == 0) return;
    std::uint8_t buffer[8192];
    while (out.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - out.size()) & ~std::size_t(1);
        if (want == 0) break;
        const Uint32 got = SDL_DequeueAudio(device_, buffer, Uint32(want));
        if (got == 0) break;
        out.insert(out.end(), buffer, buffer + (got & ~Uint32(1)));
    }
}

void Capture::stop() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
}

} // namespace platform::audio
