// Date-times as days since 1899-12-30 00:00 (local time) and their calendar
// parts. The proleptic Gregorian calendar over 0100-01-01 .. 9999-12-31.
// Before 1899-12-30 the whole days count down while the fraction still counts
// the time of day forward: -1.25 is 1899-12-29 06:00.
#pragma once

#include <cstdint>

namespace tavrin {

// Dates are days since 1899-12-30; these are 0100-01-01 and 9999-12-31.
constexpr double kMinDateTime = -657434.0;
constexpr double kMaxDateTime = 2958465.0;
// A date-time moved into that range (NaN to the lower bound).
double ClampDateTime(double days);

}  // namespace tavrin

namespace tavrin::kernel {

struct CalendarParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Day number of a calendar date (1899-12-30 is 0); no range check.
int64_t DayNumber(int year, int month, int day);

// The calendar parts of a date-time, clamped into the valid range first; the
// time of day is rounded to the nearest whole second (23:59:59.5 is the next day).
CalendarParts SplitDateTime(double days);

// The date-time of valid calendar parts.
double ComposeDateTime(const CalendarParts& parts);

// The same day at 00:00:00.
double DateOnly(double days);

}  // namespace tavrin::kernel
