// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>
#include <string_view>

namespace platform::sound {

// The microphone recorder and player: one WAV file at a time, 16-bit mono 22 050 Hz.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Opens a WAV file for recording into or playing from; false when it is missing and cannot be created.
    // A file that is no sound (or cannot be read) opens as damaged: it cannot be played, and the next
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
