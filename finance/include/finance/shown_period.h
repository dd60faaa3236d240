// The period the main window's year and month pages name: the lists, the
// three totals and the pie all cover it, and the status bar says which it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrin::finance {

struct ShownPeriod {
    bool byYear = false, byMonth = false;
    std::string yearKey, monthKey;  // GBK page captions ("2025", "3")
    // Whether an item dated so (a date text as ToText writes it, "2025年3月5日") belongs to it.
    bool holds(const std::string& gbkDateText) const;
    // The same answer for an item dated `days` of a four-digit year, from the
    // calendar (its text's first four bytes are then the year and the digits
    // before 月 the month) without writing the text; nullopt for other years,
    // which the text decides.
    std::optional<bool> holdsDate(double days) const;
    // "2025年3月", "2025年", "各年3月" or "全部" (GBK).
    std::string name() const;
};

// The period the pages name now; while the trend chart is shown it is the
// whole year, the months being the chart's own axis.
ShownPeriod CurrentPeriod();

// The year and month parts of a date text as the period keys compare them: the
// first four bytes, and the bytes between the first "年" and the next "月".
std::string YearPartOf(std::string_view gbkDateText);
std::string MonthPartOf(std::string_view gbkDateText);

}  // namespace tavrin::finance
