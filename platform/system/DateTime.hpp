// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

// Dates as day counts from 30 December 1899 (day 0), the way the recordings index stores them.
namespace platform::date {

double fromYmd(int year, int month, int day);
// Whole-day part of a date back into year, month, day.
void toYmd(double date, int& year, int& month, int& day);
// Today (local time), without a time part.
double today();
// The local day of a time in seconds since 1970 (a file's modification time), without a time part.
double fromUnixSeconds(long long seconds);

// The user's short date format (from the LC_TIME locale: "%d.%m.%Y" for Polish, "%m/%d/%y" for C).
std::string formatShort(double date);
// Parses text written in the short date format; nullopt when it is not a valid date.
std::optional<double> parseShort(std::string_view text);
// Tests choose the format directly (a strftime-style pattern with %d %m %Y %y and literal separators);
// empty = from the locale again.
void setShortFormat(const std::string& pattern);
std::string shortFormat();

} // namespace platform::date
