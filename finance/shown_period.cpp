// The shown period read from the page controls, and the date-text parts it
// compares with their captions.
#include "finance/shown_period.h"

#include <cstring>

#include "app_constants.h"
#include "forms/page_control.h"
#include "runtime/base/calendar.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

std::string CurrentPageTitle(uint32_t pageControl) {
    auto* pages = forms::FindControlAs<forms::PageControl>(ids::MainWindow, pageControl);
    return pages ? pages->pageTitle(pages->current()) : std::string();
}

}  // namespace

bool ShownPeriod::holds(const std::string& gbkDateText) const {
    if (byYear && YearPartOf(gbkDateText) != yearKey) return false;
    return !byMonth || MonthPartOf(gbkDateText) == monthKey;
}

std::optional<bool> ShownPeriod::holdsDate(double days) const {
    const kernel::CalendarParts parts = kernel::SplitDateTime(days);
    if (parts.year < 1000 || parts.year > 9999) return std::nullopt;
    if (byYear && yearKey != std::to_string(parts.year)) return false;
    return !byMonth || monthKey == std::to_string(parts.month);
}

std::string ShownPeriod::name() const {
    if (!byYear && !byMonth) return app::PeriodAll;
    std::string out = byYear ? yearKey + app::PeriodYearMark : std::string(app::PeriodEveryYear);
    if (byMonth) out += monthKey + app::PeriodMonthMark;
    return out;
}

ShownPeriod CurrentPeriod() {
    ShownPeriod p;
    p.byYear = CurrentPage(ids::YearPages) > 0;
    p.byMonth = CurrentPage(ids::MonthPages) > 0 && CurrentPage(ids::ChartPages) == 0;
    if (p.byYear) p.yearKey = CurrentPageTitle(ids::YearPages);
    if (p.byMonth) p.monthKey = CurrentPageTitle(ids::MonthPages);
    return p;
}

std::string YearPartOf(std::string_view gbkDateText) {
    return std::string(gbkDateText.substr(0, 4));
}

std::string MonthPartOf(std::string_view gbkDateText) {
    // Searched by whole characters, so a trail byte never starts a match.
    auto find = [&](const char* mark, size_t from) -> size_t {
        const size_t len = std::strlen(mark);
        for (size_t i = 0; i < gbkDateText.size();) {
            if (i >= from && gbkDateText.compare(i, len, mark) == 0) return i;
            i += static_cast<unsigned char>(gbkDateText[i]) >= 0x81 ? 2 : 1;
        }
        return std::string::npos;
    };
    const size_t year = find(app::PeriodYearMark, 0);
    if (year == std::string::npos) return {};
    const size_t from = year + std::strlen(app::PeriodYearMark);
    const size_t month = find(app::PeriodMonthMark, from);
    if (month == std::string::npos) return {};
    return std::string(gbkDateText.substr(from, month - from));
}

}  // namespace tavrin::finance
