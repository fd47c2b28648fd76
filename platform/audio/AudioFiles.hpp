// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// File access of the sound code, on game paths.
namespace platform::audiofiles {

// Largest sound file we read: far beyond any word, praise or 60-second recording.
inline constexpr std::size_t kMaxSoundBytes = 64u << 20;

bool exists(std::string_view gamePath);
// The whole file, or nullopt when it is missing, unreadable or larger than kMaxSoundBytes.
std::optional<std::vector<std::uint8_t>> read(std::string_view gamePath);
// Replaces the file atomically; false (old contents kept) on any failure.
bool replace(std::string_view gamePath, std::span<const std::uint8_t> bytes);
// Creates the file only when it does not exist yet, all bytes or no file.
bool createNew(std::string_view gamePath, std::span<const std::uint8_t> bytes);

} // namespace platform::audiofiles
