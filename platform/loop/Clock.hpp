// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace platform {

// UTC time split into fields, in the order the statistics file stores them.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0; // 0 = Sunday
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

// Where time comes from: the real clocks, or the headless backend's virtual clock.
class ClockSource {
public:
    virtual ~ClockSource() = default;
    virtual std::int64_t monotonicMs() = 0;
    // 100-nanosecond ticks since 1 January 1601 UTC.
    virtual std::int64_t utcTicks() = 0;
    // Seconds since the epoch in local time (for seeding); the virtual clock advances it too.
    virtual std::int64_t localSeconds() = 0;
};

// nullptr restores the real clock.
void setClockSource(ClockSource* source);
ClockSource& clockSource();

std::int64_t monotonicMs();
SystemTime utcNow();
std::int64_t localSeconds();

// 100-ns ticks since 1601-01-01 and back (dayOfWeek is filled in).
std::int64_t toTicks(const SystemTime& t);
SystemTime fromTicks(std::int64_t ticks);
// Real wall clock in ticks (what the real clock source reports).
std::int64_t realUtcTicks();

} // namespace platform
