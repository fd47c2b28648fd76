// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/audio/Recorder.hpp"
#include "platform/audio/AudioDevice.hpp"
#include "platform/audio/AudioFiles.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/audio/SoundFile.hpp"
#include "platform/audio/Wav.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/loop/LoopServices.hpp"
#include "platform/loop/Timer.hpp"

#include <algorithm>
#include <string>

namespace platform::sound {

namespace {

// How often the devices are looked at on the real backend: small enough for a prompt stop, large enough to
// keep an idle recorder cheap.
constexpr int kPollMs = 20;
// A device that stops delivering or consuming data must not keep the recorder busy for ever.
constexpr int kDeviceSlackMs = 2000;

} // namespace

struct Recorder::Impl {
    explicit Impl(Recorder& owner) : owner(owner) {
        timer.onTimer = [this] { tick(); };
    }

    Recorder& owner;
    std::string path;
    bool isOpen = false;
    bool recording = false;
    bool playing = false;
    bool damaged = false;
    bool saveFailed = false;
    // The open file's sound.
    soundfile::Pcm sound;

    // Recording and playing in progress.
    std::vector<std::uint8_t> captured;
    std::size_t maxBytes = 0;
    std::int64_t startedAt = 0;
    int limitMs = 0;
    audio::Capture capture;
    audio::Output output;
    bool silentPlayback = false; // no output device: the length passes in silence
    // Headless: no devices, the virtual clock's time is what gets recorded. Fixed when an operation starts,
    // so a recorder outliving the loop still finishes the way it began.
    bool virtualDevices = false;
    Timer timer;

    bool load(std::span<const std::uint8_t> bytes) {
        auto decoded = soundfile::decode(bytes);
        if (!decoded.playable()) return false;
        sound = std::move(decoded.pcm);
        return true;
    }

    void startTimer(int intervalMs) {
        timer.setInterval(std::max(intervalMs, 1));
        timer.start();
    }

    std::int64_t elapsedMs() const { return monotonicMs() - startedAt; }

    // Collects what the microphone (or, headless, the passing time) has given so far.
    void collect() {
        if (virtualDevices) {
            const int ms = int(std::clamp<std::int64_t>(elapsedMs(), 0, limitMs));
            captured.assign(std::size_t(wav::recordingFramesFor(ms)) * 2, 0);
        } else {
            capture.take(captured, maxBytes);
        }
    }

    void endRecording() {
        timer.stop();
        collect();
        capture.stop();
        recording = false;
        std::vector<std::uint8_t> bytes = wav::build(wav::kRecordingFormat, captured);
        captured = {};
        // What plays afterwards is what the disk holds: the new take, or the old one when it was refused.
        saveFailed = !audiofiles::replace(path, bytes);
        if (!saveFailed) damaged = !load(bytes);
    }

    void endPlayback() {
        timer.stop();
        output.stop();
        playing = false;
    }

    void tick() {
        if (recording) {
            bool done = true;
            if (!virtualDevices) {
                capture.take(captured, maxBytes);
                done = captured.size() >= maxBytes || !capture.healthy() ||
                       elapsedMs() > limitMs + kDeviceSlackMs;
            }
            if (!done) return;
            endRecording();
        } else if (playing) {
            if (!virtualDevices && !silentPlayback && !output.finished() &&
                elapsedMs() <= sound.lengthMs() + kDeviceSlackMs)
                return;
            endPlayback();
        } else {
            timer.stop();
            return;
        }
        // The handler may close or destroy the recorder: nothing of ours is touched after it.
        if (auto notify = owner.onComplete) notify();
    }
};

Recorder::Recorder() : impl_(std::make_unique<Impl>(*this)) {}

Recorder::~Recorder() {
    close();
}

bool Recorder::open(std::string_view gamePath) {
    close();
    if (!audiofiles::exists(gamePath) && !writeEmptyWav(gamePath)) return false;
    auto bytes = audiofiles::read(gamePath);
    impl_->damaged = !bytes || !impl_->load(*bytes);
    if (impl_->damaged) impl_->sound = {};
    impl_->saveFailed = false;
    impl_->path = std::string(gamePath);
    impl_->isOpen = true;
    return true;
}

bool Recorder::damaged() const {
    return impl_->isOpen && impl_->damaged;
}

bool Recorder::saveFailed() const {
    return impl_->saveFailed;
}

bool Recorder::isOpen() const {
    return impl_->isOpen;
}

int Recorder::lengthMs() const {
    return impl_->isOpen ? impl_->sound.lengthMs() : 0;
}

bool Recorder::record(int maxMs) {
    Impl& d = *impl_;
    if (!d.isOpen) return false;
    if (d.recording) return true;
    if (d.playing) stop();
    d.virtualDevices = loop::headless();
    if (d.virtualDevices ? audio::simulatedMicrophoneMissing() : !d.capture.start()) return false;
    d.saveFailed = false;
    d.limitMs = std::max(maxMs, 0);
    d.maxBytes = std::size_t(wav::recordingFramesFor(d.limitMs)) * 2;
    d.captured.clear();
    d.startedAt = monotonicMs();
    d.recording = true;
    if (d.virtualDevices) {
        loop::logEvent("record " + d.path);
        d.startTimer(d.limitMs);
    } else {
        d.captured.reserve(d.maxBytes);
        d.startTimer(kPollMs);
    }
    return true;
}

bool Recorder::play() {
    Impl& d = *impl_;
    if (d.playing || !d.isOpen) return false;
    if (d.recording) stop();
    if (d.damaged) return false;
    d.startedAt = monotonicMs();
    d.playing = true;
    d.virtualDevices = loop::headless();
    if (d.virtualDevices) {
        loop::logEvent("sound " + d.path);
        d.startTimer(d.sound.lengthMs());
    } else {
        d.silentPlayback = !d.output.start(d.sound);
        d.startTimer(d.silentPlayback ? d.sound.lengthMs() : kPollMs);
    }
    return true;
}

void Recorder::stop() {
    Impl& d = *impl_;
    if (!d.isOpen) return;
    if (d.playing) d.endPlayback();
    if (d.recording) d.endRecording();
    d.timer.stop();
}

void Recorder::close() {
    Impl& d = *impl_;
    if (!d.isOpen) return;
    stop();
    d.isOpen = false;
    d.sound = {};
    d.path.clear();
}

bool Recorder::recording() const {
    return impl_->recording;
}

bool Recorder::playing() const {
    return impl_->playing;
}

} // namespace platform::sound
