// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Tolerant reading of the statistics file: whatever can be read is kept, everything else is skipped
// with a Polish note that says what and why. The file itself is only ever read.
namespace report {

// One game as its record stores it, after the checks.
struct PlayedGame {
    int number = 0;                // 1-based position of the record in the file, for the notes
    int game = 0;                  // 1 labelling, 2 memory, 3 completion, 4 falling pictures
    std::int64_t startSeconds = 0; // start time, seconds since 1970-01-01 UTC
    int level = 0;
    std::uint16_t sounds = 0;
    std::uint16_t position = 0;
    int timeSeconds = 0;
    bool completed = false;
    int hints = 0;
    int correct = 0;
    int wrong = 0;
};

struct ReadResult {
    bool fileExists = false;
    std::vector<PlayedGame> games; // in file order
    int skipped = 0;               // records left out
    int ahead = 0;                 // kept records dated after the computer's clock, at most a day
    // Visible notes about what was skipped and why (empty for a sound file).
    std::vector<std::string> notes;
};

// A clock set a little wrong, another time zone's computer or a headless run ahead in virtual time may
// date a game a little ahead of this computer's clock; only records further ahead count as impossible.
inline constexpr std::int64_t kToleranceSeconds = 86400;

// Reads the bytes of a statistics file; records dated more than a day after nowSeconds (UTC seconds) count
// as impossible. Notes of skipped records come in record order. Without header the header is not
// judged (a file set aside for its header).
ReadResult readBytes(std::span<const std::uint8_t> bytes, std::int64_t nowSeconds, bool header = true);
// The same for a file given as a game path ("prgst1.stt"), together with the readable records of the
// file set aside beside it at start-up for a damaged header ("prgst1.stt.bad"), all in date order. A
// missing or unreadable file gives no games and a note.
ReadResult readFile(const std::string& path, std::int64_t nowSeconds);
// Why a file cannot be read, in Polish ("plik nie istnieje", "brak uprawnień do odczytu"...).
std::string readErrorCause(const std::string& nativePath, std::size_t limit);

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar, and back.
std::int64_t daysSinceEpoch(int year, int month, int day);
void dateFromDays(std::int64_t days, int& year, int& month, int& day);

// Polish noun form after a number: 1 rekord, 2 rekordy, 5 rekordów.
const char* pluralForm(std::int64_t n, const char* one, const char* few, const char* many);

} // namespace report
