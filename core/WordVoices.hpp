// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A word's own voice: the adult's recording, or a sound file she brought, made as loud as the shipped
// words. It lives in the user directory, shared by every child ("Glosy\szafa.pw"), and wins over the
// shipped recording wherever the word is spoken; the shipped Data\ is never written.
inline constexpr const char* kVoicesFolder = "Glosy";

// The file the games play for a word: its own voice when there is one, else the shipped recording.
std::string wordSoundPath(const std::string& stem);
bool hasOwnVoice(const std::string& stem);
// Where the word's own voice is kept (a native path), whether or not it exists.
std::string ownVoicePath(const std::string& stem);

// A voice ready to be heard and kept: the finished file, or why there is none (one Polish sentence).
struct VoiceTake {
    std::vector<std::uint8_t> wav;
    int lengthMs = 0;
    std::string problem;

    bool ok() const { return problem.empty() && !wav.empty(); }
};

// A sound file of any kind (WAV, FLAC, Ogg Vorbis, Opus, MP3) made into a word's voice: one channel at the
// recording rate, the silence at both ends trimmed, levelled.
VoiceTake voiceFromBytes(std::span<const std::uint8_t> fileBytes);
VoiceTake voiceFromFile(const std::string& nativePath);

// Each returns empty on success, else the Polish reason; the word keeps the voice it had then.
std::string keepOwnVoice(const std::string& stem, std::span<const std::uint8_t> wav);
std::string removeOwnVoice(const std::string& stem);
