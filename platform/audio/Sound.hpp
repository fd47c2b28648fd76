// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::sound {

// Plays a sound file (anything soundfile::decode reads, a cut-off one as far as it goes) and returns when it
// has ended. Without an audio
// device it waits the sound's length. The screen is brought up to date first. False when the file is
// missing or no sound (nothing waited then).
bool playSync(std::string_view gamePath);

// Length of a sound file's sound in ms (rounded to the nearest ms); -1 when it is no sound.
int wavLengthMs(std::string_view gamePath);

// Creates the 46-byte WAV file a recording starts from (16-bit mono 22 050 Hz, no data), only when no such
// file exists yet: all 46 bytes, or false and no file.
bool writeEmptyWav(std::string_view gamePath);

} // namespace platform::sound
