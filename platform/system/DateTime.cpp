// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/system/DateTime.hpp"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <langinfo.h>
#include <locale.h>

namespace platform::date {

namespace {

// Days from 1970-01-01 in the proleptic Gregorian calendar (Howard Hinnant's civil algorithms).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + (long long)doe - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = (long long)yoe + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(y + (month <= 2));
}

const long long kEpochOffset = daysFromCivil(1899, 12, 30);

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::string g_override;

// Reduces the locale's pattern to the conversions this module writes and reads.
std::string normalise(const std::string& pattern) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
            continue;
        }
        if (++i >= pattern.size()) return {};
        char c = pattern[i];
        if (c == '-' || c == '_' || c == '0' || c == 'E' || c == 'O') { // glibc flags and modifiers
            if (++i >= pattern.size()) return {};
            c = pattern[i];
        }
        switch (c) {
        case 'd':
        case 'e':
            out += "%d";
            break;
        case 'm':
            out += "%m";
            break;
        case 'Y':
            out += "%Y";
            break;
        case 'y':
            out += "%y";
            break;
        case 'F':
            out += "%Y-%m-%d";
            break;
        case 'D':
            out += "%m/%d/%y";
            break;
        case '%':
            out += "%%";
            break;
        default:
            return {};
        }
    }
    return out;
}

std::string localePattern() {
    // A private locale object: the program's global locale (and LC_NUMERIC) stays untouched.
    locale_t loc = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    std::string pattern;
    if (loc) {
        pattern = normalise(::nl_langinfo_l(D_FMT, loc));
        ::freelocale(loc);
    }
    if (pattern.find("%d") == std::string::npos || pattern.find("%m") == std::string::npos ||
        (pattern.find("%Y") == std::string::npos && pattern.find("%y") == std::string::npos))
        pattern = "%m/%d/%y";
    return pattern;
}

bool readNumber(std::string_view s, std::size_t& i, int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i < s.size() && digits < maxDigits && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        ++i;
        ++digits;
    }
    return digits > 0;
}

int expandTwoDigitYear(int yy) {
    return yy < 50 ? 2000 + yy : 1900 + yy;
}

} // namespace

double fromYmd(int year, int month, int day) {
    return double(daysFromCivil(year, unsigned(month), unsigned(day)) - kEpochOffset);
}

void toYmd(double date, int& year, int& month, int& day) {
    civilFromDays((long long)std::trunc(date) + kEpochOffset, year, month, day);
}

double today() {
    return fromUnixSeconds(std::time(nullptr));
}

double fromUnixSeconds(long long seconds) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    return fromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

void setShortFormat(const std::string& pattern) {
    g_override = pattern.empty() ? std::string() : normalise(pattern);
    if (!pattern.empty() && g_override.empty()) g_override = "%m/%d/%y";
}

std::string shortFormat() {
    if (!g_override.empty()) return g_override;
    static const std::string fromLocale = localePattern();
    return fromLocale;
}

std::string formatShort(double date) {
    int y, m, d;
    toYmd(date, y, m, d);
    const std::string pattern = shortFormat();
    std::string out;
    char buf[16];
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 >= pattern.size()) {
            out += pattern[i];
            continue;
        }
        switch (pattern[++i]) {
        case 'd':
            std::snprintf(buf, sizeof buf, "%02d", d);
            break;
        case 'm':
            std::snprintf(buf, sizeof buf, "%02d", m);
            break;
        case 'Y':
            std::snprintf(buf, sizeof buf, "%04d", y);
            break;
        case 'y':
            std::snprintf(buf, sizeof buf, "%02d", ((y % 100) + 100) % 100);
            break;
        default:
            std::snprintf(buf, sizeof buf, "%%");
            break;
        }
        out += buf;
    }
    return out;
}

std::optional<double> parseShort(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    const std::string pattern = shortFormat();
    int year = -1, month = -1, day = -1;
    std::size_t i = 0;
    for (std::size_t p = 0; p < pattern.size(); ++p) {
        if (pattern[p] != '%' || p + 1 >= pattern.size()) {
            if (i >= text.size() || text[i] != pattern[p]) return std::nullopt;
            ++i;
            continue;
        }
        int value, digits;
        switch (pattern[++p]) {
        case 'd':
            if (!readNumber(text, i, 2, value, digits)) return std::nullopt;
            day = value;
            break;
        case 'm':
            if (!readNumber(text, i, 2, value, digits)) return std::nullopt;
            month = value;
            break;
        case 'Y':
            if (!readNumber(text, i, 4, value, digits)) return std::nullopt;
            if (digits == 3) return std::nullopt;
            year = digits <= 2 ? expandTwoDigitYear(value) : value;
            break;
        case 'y':
            if (!readNumber(text, i, 2, value, digits)) return std::nullopt;
            year = expandTwoDigitYear(value);
            break;
        default:
            if (i >= text.size() || text[i] != '%') return std::nullopt;
            ++i;
            break;
        }
    }
    if (i != text.size()) return std::nullopt;
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
    if (day > daysInMonth(year, month)) return std::nullopt;
    return fromYmd(year, month, day);
}

} // namespace platform::date
