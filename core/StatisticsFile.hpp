// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/StatisticsRecord.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/loop/Timer.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class GameSettings;

// "2 min 5 s".
std::string formatTime(int seconds);

// Figures of the game in progress and the statistics file they are appended to.
class StatisticsFile {
public:
    static constexpr int kIdleLimitMs = 120000;

    // Creates the statistics file with its header when it does not exist; FatalError(3) when that fails. A
    // file damaged by a kill or a disk fault is mended first (see notes()).
    explicit StatisticsFile(int programId);
    StatisticsFile(const StatisticsFile&) = delete;
    StatisticsFile& operator=(const StatisticsFile&) = delete;

    // A new game: counts cleared, clock started. settings must outlive the game.
    void start(int gameId, const GameSettings& settings);
    // Any user action: restarts the idle limit.
    void activity();
    // The idle limit passed: the game will not be recorded.
    void expire();

    void addHint() { ++hints_; }
    void addCorrect() { ++correct_; }
    void addWrong() { ++wrong_; }

    // Stops the clock: timeSeconds is the whole seconds since start.
    void finish();
    // Appends the game's record unless the player went idle, after any records of this run that could not
    // be written before (kept in memory, in order); false when this game's record is not on disk.
    bool save(int result);
    // What the user should read about the last save (Polish; empty when it went well).
    const std::string& message() const { return message_; }
    // Records waiting in memory for a write that succeeds.
    std::size_t pending() const { return pending_.size() / kStatisticsRecordSize; }
    // What start-up did to a damaged file (Polish; empty when it was whole), to be said once.
    const std::string& notes() const { return notes_; }

    std::string timeText() const;
    std::string hints() const { return std::to_string(hints_); }
    std::string correct() const { return std::to_string(correct_); }
    std::string wrong() const { return std::to_string(wrong_); }
    // 1 poor, 2 middling, 4 good.
    int rating() const;

    bool active() const { return active_; }
    int timeSeconds() const { return timeSeconds_; }
    // "prgst" + programId + ".stt".
    const std::string& fileName() const { return file_; }

    // The 44 bytes appended for the current game.
    std::array<std::uint8_t, kStatisticsRecordSize> record() const;

private:
    platform::Timer timer_{kIdleLimitMs, false};
    std::int32_t programId_ = 0;
    bool active_ = false;
    std::int32_t gameId_ = 0;
    const GameSettings* gameSettings_ = nullptr;
    std::int32_t timeSeconds_ = 0;
    std::int16_t result_ = 0;
    platform::SystemTime startTime_{};
    platform::SystemTime endTime_{};
    std::int32_t hints_ = 0;
    std::int32_t correct_ = 0;
    std::int32_t wrong_ = 0;
    std::string file_;
    std::vector<std::uint8_t> pending_;
    std::string message_;
    std::string notes_;
    std::string blocked_; // why nothing may be appended (a damage that could not be mended)

    void repairFile();
};
