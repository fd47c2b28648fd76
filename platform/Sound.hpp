// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform::sound {

// Plays a PCM WAV file (any rate, 8/16-bit, mono/stereo) and returns when it has ended. Without an audio
// device it waits the sound's length. The screen is brought up to date first. False when the file is
// missing or no valid WAV (nothing waited then).
bool playSync(std::string_view gamePath);

// Length of a WAV file's sound in ms (rounded to the nearest ms); -1 when it is no valid PCM WAV.
int wavLengthMs(std::string_view gamePath);

// Creates the 46-byte WAV file a recording starts from (16-bit mono 22 050 Hz, no data), only when no such
// file exists yet: all 46 bytes, or false and no file.
bool writeEmptyWav(std::string_view gamePath);

// The microphone recorder and player: one WAV file at a time, 16-bit mono 22 050 Hz.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Opens a WAV file for recording into or playing from; false when it is missing and cannot be created.
    // A file that is no valid WAV (or cannot be read) opens as damaged: it cannot be played, and the next
    // recording replaces it.
    bool open(std::string_view gamePath);
    bool isOpen() const;
    bool damaged() const;
    // Length of the open file's sound in ms (0 for an empty recording).
    int lengthMs() const;
    // Records from the start for up to maxMs; a completion notice follows when maxMs is reached. False when
    // nothing is open or the microphone cannot be opened. The file is untouched until the take is complete:
    // then the take replaces it atomically, so an earlier recording survives any failure.
    // Recorded length: 22 050 × ms / 1 000 frames, rounded down.
    bool record(int maxMs);
    // True when the last recording ended could not be saved (the file keeps its earlier contents).
    bool saveFailed() const;
    // Plays from the start; a completion notice follows at the end. False for a damaged file.
    bool play();
    // Stops recording or playing; a recording is saved into the open file as a valid WAV. No notice.
    void stop();
    void close();
    bool recording() const;
    bool playing() const;

    // Delivered on the event loop when recording reached its limit or playback ended.
    std::function<void()> onComplete;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace platform::sound
