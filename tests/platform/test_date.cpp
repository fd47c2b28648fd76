// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/system/DateTime.hpp"

#include <clocale>
#include <ctime>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class ShortFormat : public ::testing::Test {
protected:
    void TearDown() override { date::setShortFormat(""); }
};

} // namespace

TEST(DayCount, CountsDaysFromTheThirtiethOfDecember1899) {
    EXPECT_EQ(date::fromYmd(1899, 12, 30), 0);
    EXPECT_EQ(date::fromYmd(1899, 12, 29), -1);
    EXPECT_EQ(date::fromYmd(1900, 1, 1), 2);
    EXPECT_EQ(date::fromYmd(1900, 3, 1), 61); // 1900 is no leap year
    EXPECT_EQ(date::fromYmd(1990, 1, 1), 32874);
    EXPECT_EQ(date::fromYmd(2000, 1, 1), 36526);
    EXPECT_EQ(date::fromYmd(2000, 3, 1), 36586); // 2000 is one
    EXPECT_EQ(date::fromYmd(2024, 12, 31), 45657);

    int y, m, d;
    date::toYmd(32874.75, y, m, d); // a time part is ignored
    EXPECT_EQ(y * 10000 + m * 100 + d, 19900101);
    date::toYmd(61, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 19000301);
    // Every day of two centuries comes back as itself.
    for (int day = -1000; day < 75000; ++day) {
        date::toYmd(day, y, m, d);
        ASSERT_EQ(date::fromYmd(y, m, d), day) << y << "-" << m << "-" << d;
    }
}

TEST(DayCount, TodayIsTheLocalDateWithoutTime) {
    const double t = date::today();
    EXPECT_EQ(t, double(long(t)));
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    int y, m, d;
    date::toYmd(t, y, m, d);
    // Allow for midnight passing between the two readings.
    EXPECT_LE(std::abs(date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) - t), 1);
    EXPECT_GT(t, date::fromYmd(2020, 1, 1));
}

TEST_F(ShortFormat, PolishStyleDatesRoundTripAndInvalidOnesAreRejected) {
    date::setShortFormat("%d.%m.%Y");
    EXPECT_EQ(date::formatShort(32874), "01.01.1990");
    EXPECT_EQ(date::formatShort(date::fromYmd(2024, 12, 31)), "31.12.2024");
    EXPECT_EQ(date::parseShort("01.01.1990"), 32874);
    EXPECT_EQ(date::parseShort(" 9.3.2024 "), date::fromYmd(2024, 3, 9));
    EXPECT_EQ(date::parseShort("29.02.2000"), date::fromYmd(2000, 2, 29));
    for (const char* bad :
         {"31.02.2020", "29.02.1900", "32.01.2020", "00.01.2020", "01.13.2020", "01.00.2020", "", "garbage",
          "01.01.1990x", "01-01-1990", "01.01.", "1.1.123", "01..1990"})
        EXPECT_FALSE(date::parseShort(bad).has_value()) << bad;
    for (int day = 0; day < 80000; day += 97)
        EXPECT_EQ(date::parseShort(date::formatShort(day)), day);
}

TEST_F(ShortFormat, TwoDigitYearDatesRoundTripWithinTheirCentury) {
    date::setShortFormat("%m/%d/%y");
    EXPECT_EQ(date::formatShort(32874), "01/01/90");
    EXPECT_EQ(date::parseShort("01/01/90"), 32874);
    EXPECT_EQ(date::parseShort("12/31/49"), date::fromYmd(2049, 12, 31));
    EXPECT_EQ(date::parseShort("02/29/24"), date::fromYmd(2024, 2, 29));
    EXPECT_FALSE(date::parseShort("02/29/23").has_value());
    EXPECT_FALSE(date::parseShort("31/01/90").has_value());
    for (int day = date::fromYmd(1950, 1, 1); day < date::fromYmd(2050, 1, 1); day += 31)
        EXPECT_EQ(date::parseShort(date::formatShort(day)), day);
}

TEST_F(ShortFormat, LocalePatternsAreReducedToDayMonthYearAndTheNumericLocaleIsLeftAlone) {
    date::setShortFormat("%e.%m.%Y");
    EXPECT_EQ(date::shortFormat(), "%d.%m.%Y");
    date::setShortFormat("%F");
    EXPECT_EQ(date::formatShort(32874), "1990-01-01");
    EXPECT_EQ(date::parseShort("1990-01-01"), 32874);
    date::setShortFormat("");
    const std::string fromLocale = date::shortFormat();
    EXPECT_NE(fromLocale.find("%d"), std::string::npos);
    EXPECT_NE(fromLocale.find("%m"), std::string::npos);
    EXPECT_EQ(date::parseShort(date::formatShort(32874)), 32874);
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_STREQ(std::setlocale(LC_TIME, nullptr), "C");
}
