// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/loop/Clock.hpp"

#include <array>
#include <cstdint>

// The statistics file: a 20-byte header, then one 44-byte record per game
// played, every number little-endian. The writer and the progress report both use this one layout.
inline constexpr int kStatisticsHeaderSize = 20;
inline constexpr int kStatisticsRecordSize = 44;

struct StatisticsRecord {
    std::int32_t game = 0;        // 1 labelling, 2 memory, 3 completion, 4 falling pictures
    platform::SystemTime start{}; // 8 16-bit fields: year, month, day of week, day, h, min, s, ms
    std::int16_t level = 0;       // quantity: 1 little, 2 middling, 3 much
    std::uint16_t sounds = 0;
    std::uint16_t positions = 0;
    std::int32_t seconds = 0;
    std::int16_t result = 0; // 1 finished, 0 stopped
    std::int32_t hints = 0;
    std::int32_t correct = 0;
    std::int32_t wrong = 0;
};

// The header: the program number and when the file was made (UTC).
struct StatisticsHeader {
    std::int32_t program = 0;
    platform::SystemTime created{};
};

std::array<std::uint8_t, kStatisticsHeaderSize> encodeHeader(const StatisticsHeader& h);
// Reads kStatisticsHeaderSize bytes; nothing is judged.
StatisticsHeader decodeHeader(const std::uint8_t* bytes);
std::array<std::uint8_t, kStatisticsRecordSize> encodeRecord(const StatisticsRecord& r);
// Reads kStatisticsRecordSize bytes; nothing is judged.
StatisticsRecord decodeRecord(const std::uint8_t* bytes);
