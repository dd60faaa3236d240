// The period views of the main window: the items of the selected year and
// month with their totals, the per-category pie and the monthly trend.
#pragma once

#include <string>

namespace tavrin::analysis {

// Lists the period's items of the shown side, sums them per category into the
// pie chart and stores the side's period total.
void RefreshStructureView();
// While the trend chart is shown: lists the year's items of both sides (with the
// combo boxes' categories as filters), sums them per month into the trend chart
// and stores both totals.
void RefreshTrendView();
// After an item was added, changed or deleted: the shown chart only.
void RefreshChartAfterItemChange();
void RecomputeStructureChart();
void RecomputeTrendChart();

// Page changes of the main window's four page controls.
void MainPageChanged();
void ChartPageChanged();
void YearPageChanged();
void MonthPageChanged();

// The period parts of a date text as ToText writes it ("2012年5月3日"): the
// first four bytes, and the bytes between the first "年" and the next "月".
std::string YearPartOf(const std::string& gbkDateText);
std::string MonthPartOf(const std::string& gbkDateText);

}  // namespace tavrin::analysis
