// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/loop/Clock.hpp"

#include <chrono>
#include <ctime>

namespace platform {

namespace {

// 100-ns ticks between 1601-01-01 and 1970-01-01.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000LL;
constexpr std::int64_t kTicksPerDay = 864000000000LL;

class RealClock : public ClockSource {
public:
    std::int64_t monotonicMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    std::int64_t utcTicks() override { return realUtcTicks(); }
    std::int64_t localSeconds() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return std::int64_t(now) + local.tm_gmtoff;
    }
};

RealClock& realClock() {
    static RealClock clock;
    return clock;
}

ClockSource* current = nullptr;

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int(std::int64_t(yoe) + era * 400 + (m <= 2));
}

} // namespace

void setClockSource(ClockSource* source) {
    current = source;
}

ClockSource& clockSource() {
    return current ? *current : realClock();
}

std::int64_t monotonicMs() {
    return clockSource().monotonicMs();
}

SystemTime utcNow() {
    return fromTicks(clockSource().utcTicks());
}

std::int64_t localSeconds() {
    return clockSource().localSeconds();
}

std::int64_t realUtcTicks() {
    using namespace std::chrono;
    const auto since = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return kUnixEpochTicks + since / 100;
}

std::int64_t toTicks(const SystemTime& t) {
    const std::int64_t days = daysFromCivil(t.year, t.month, t.day) - daysFromCivil(1601, 1, 1);
    const std::int64_t ms = ((std::int64_t(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
    return days * kTicksPerDay + ms * 10000;
}

SystemTime fromTicks(std::int64_t ticks) {
    std::int64_t days = ticks / kTicksPerDay;
    std::int64_t rest = ticks % kTicksPerDay;
    if (rest < 0) rest += kTicksPerDay, --days;
    int y = 0;
    unsigned m = 0, d = 0;
    civilFromDays(days + daysFromCivil(1601, 1, 1), y, m, d);
    SystemTime t;
    t.year = std::uint16_t(y);
    t.month = std::uint16_t(m);
    t.day = std::uint16_t(d);
    // 1601-01-01 was a Monday.
    t.dayOfWeek = std::uint16_t(((days % 7) + 7 + 1) % 7);
    const std::int64_t ms = rest / 10000;
    t.hour = std::uint16_t(ms / 3600000);
    t.minute = std::uint16_t(ms / 60000 % 60);
    t.second = std::uint16_t(ms / 1000 % 60);
    t.milliseconds = std::uint16_t(ms % 1000);
    return t;
}

} // namespace platform
