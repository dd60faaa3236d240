// The calendar under the date-time kind, checked day by day against a
// calendar walked forward one day at a time from 0100-01-01.
#include "runtime/base/calendar.h"

#include <gtest/gtest.h>

#include "runtime/value.h"

using namespace tavrin::kernel;

TEST(Calendar, KnownDays) {
    EXPECT_EQ(DayNumber(1899, 12, 30), 0);
    EXPECT_EQ(DayNumber(1900, 1, 1), 2);
    EXPECT_EQ(DayNumber(1900, 3, 1), 61);
    EXPECT_EQ(DayNumber(2000, 2, 29), 36585);
    EXPECT_EQ(DayNumber(2012, 5, 1), 41030);
    EXPECT_EQ(DayNumber(100, 1, 1), -657434);
    EXPECT_EQ(DayNumber(9999, 12, 31), 2958465);
}

TEST(Calendar, EveryDayOfTheValidRangeSplitsBackToItsDate) {
    int y = 100, m = 1, d = 1;
    for (int64_t n = -657434; n <= 2958465; ++n) {
        CalendarParts p = SplitDateTime(double(n));
        ASSERT_TRUE(p.year == y && p.month == m && p.day == d)
            << n << ": " << p.year << "-" << p.month << "-" << p.day << " expected " << y << "-"
            << m << "-" << d;
        ASSERT_EQ(ComposeDateTime(p), double(n));
        if (++d > DaysInMonth(y, m)) {
            d = 1;
            if (++m > 12) m = 1, ++y;
        }
    }
}

TEST(Calendar, LeapYears) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2012));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2011));
    EXPECT_EQ(DaysInMonth(2012, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
}

TEST(Calendar, TimeOfDayRoundsToTheNearestSecond) {
    CalendarParts p = SplitDateTime(41030.0 + (8 * 3600 + 30 * 60 + 14.5001) / 86400.0);
    EXPECT_EQ(p.hour, 8);
    EXPECT_EQ(p.minute, 30);
    EXPECT_EQ(p.second, 15);
    p = SplitDateTime(41030.0 + 86399.7 / 86400.0);
    EXPECT_EQ(p.day, 2);
    EXPECT_EQ(p.hour, 0);
    EXPECT_EQ(p.second, 0);
}

TEST(Calendar, DaysBeforeTheEpochCountTheTimeForward) {
    CalendarParts p = SplitDateTime(-1.25);
    EXPECT_EQ(p.year, 1899);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 6);
    EXPECT_DOUBLE_EQ(ComposeDateTime(p), -1.25);
    EXPECT_DOUBLE_EQ(DateOnly(-1.25), -1.0);
    EXPECT_DOUBLE_EQ(DateOnly(41030.99), 41030.0);
}
