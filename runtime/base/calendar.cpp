// Exact conversion between day numbers and the Gregorian calendar.
#include "runtime/base/calendar.h"

#include <cmath>

namespace tavrin {

double ClampDateTime(double days) {
    if (!(days >= kMinDateTime)) return kMinDateTime;  // NaN goes to the lower bound too
    if (days > kMaxDateTime) return kMaxDateTime;
    return days;
}

}  // namespace tavrin

namespace tavrin::kernel {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 0000-03-01 (the start of a 400-year era) to 1899-12-30.
constexpr int64_t kEpochShift = 693899;

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Years counted from March so that the leap day ends the year; eras of 400 years.
int64_t DayNumber(int year, int month, int day) {
    int64_t y = int64_t(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
    const int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - kEpochShift;
}

namespace {

void CivilFromDayNumber(int64_t dayNumber, CalendarParts& parts) {
    const int64_t z = dayNumber + kEpochShift;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    parts.day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    parts.month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    parts.year = int(yearOfEra + era * 400 + (parts.month <= 2 ? 1 : 0));
}

}  // namespace

CalendarParts SplitDateTime(double days) {
    days = ClampDateTime(days);
    double whole = std::trunc(days);
    int64_t dayNumber = int64_t(whole);
    int64_t seconds = std::llround(std::fabs(days - whole) * double(kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++dayNumber;
    }
    CalendarParts parts;
    CivilFromDayNumber(dayNumber, parts);
    parts.hour = int(seconds / 3600);
    parts.minute = int(seconds / 60 % 60);
    parts.second = int(seconds % 60);
    return parts;
}

double ComposeDateTime(const CalendarParts& parts) {
    const int64_t dayNumber = DayNumber(parts.year, parts.month, parts.day);
    const double time =
        double(parts.hour * 3600 + parts.minute * 60 + parts.second) / double(kSecondsPerDay);
    return dayNumber >= 0 ? double(dayNumber) + time : double(dayNumber) - time;
}

double DateOnly(double days) {
    CalendarParts parts = SplitDateTime(days);
    parts.hour = parts.minute = parts.second = 0;
    return ComposeDateTime(parts);
}

}  // namespace tavrin::kernel
