// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/audio/SoundFile.hpp"

#include <cstdint>
#include <vector>

// SDL audio devices driven without callbacks: output fed with SDL_QueueAudio, capture drained with
// SDL_DequeueAudio, both polled from the event loop. Only used on the real backend.
namespace platform::audio {

// Headless runs have no devices and pretend to have a working microphone; tests make it fail to open, as
// on a machine without one.
void simulateMissingMicrophone(bool missing);
bool simulatedMicrophoneMissing();

// Brings up SDL's audio subsystem on first use; a failure is remembered so later calls stay cheap.
bool available();

// One sound playing on its own output device (closed again when done, so an idle program holds none).
class Output {
public:
    Output() = default;
    ~Output() { stop(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Opens a device in the sound's format (SDL converts to what the hardware takes), queues all of it
    // and starts; false when no device opens.
    bool start(const soundfile::Pcm& sound);
    bool active() const { return device_ != 0; }
    // True once everything queued has been heard (the device's own buffer included).
    bool finished();
    // Estimated time until finished().
    int remainingMs();
    void stop();

private:
    std::uint32_t device_ = 0;
    int bytesPerSecond_ = 0;
    int bufferMs_ = 0;
    std::int64_t emptySince_ = -1;
};

// The microphone in the recording format (16-bit little-endian mono, 22 050 Hz).
class Capture {
public:
    Capture() = default;
    ~Capture() { stop(); }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    bool start();
    bool active() const { return device_ != 0; }
    // False once the device has been lost (unplugged).
    bool healthy() const;
    // Appends what has been captured so far to out, never letting out grow beyond maxBytes.
    void take(std::vector<std::uint8_t>& out, std::size_t maxBytes);
    void stop();

private:
    std::uint32_t device_ = 0;
};

} // namespace platform::audio
