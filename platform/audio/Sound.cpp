// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/Sound.hpp"

#include "platform/audio/AudioDevice.hpp"
#include "platform/audio/AudioFiles.hpp"
#include "platform/audio/SoundFile.hpp"
#include "platform/audio/Wav.hpp"
#include "platform/loop/LoopServices.hpp"

#include <algorithm>
#include <string>

namespace platform::sound {

namespace {

// However the device behaves, a synchronous sound never blocks much longer than it lasts.
constexpr int kPlaybackSlackMs = 2000;

void playOnDevice(const soundfile::Pcm& sound) {
    const int length = sound.lengthMs();
    audio::Output out;
    if (!out.start(sound)) {
        loop::blockFor(length);
        return;
    }
    int waited = 0;
    while (!out.finished() && waited <= length + kPlaybackSlackMs) {
        const int step = std::clamp(out.remainingMs(), 5, 100);
        loop::blockFor(step);
        waited += step;
    }
}

} // namespace

bool playSync(std::string_view gamePath) {
    const auto bytes = audiofiles::read(gamePath);
    if (!bytes) return false;
    const auto sound = soundfile::decode(*bytes);
    if (!sound.playable()) return false;
    loop::presentScreen();
    if (loop::headless()) {
        loop::logEvent("sound " + std::string(gamePath));
        loop::blockFor(sound.pcm.lengthMs());
    } else {
        playOnDevice(sound.pcm);
    }
    return true;
}

int wavLengthMs(std::string_view gamePath) {
    const auto bytes = audiofiles::read(gamePath);
    if (!bytes) return -1;
    const auto sound = soundfile::decode(*bytes);
    return sound.playable() ? sound.pcm.lengthMs() : -1;
}

bool writeEmptyWav(std::string_view gamePath) {
    return audiofiles::createNew(gamePath, wav::emptyRecording());
}

} // namespace platform::sound
