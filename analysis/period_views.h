// The period views of the main window: the items of the selected year and
// month with their totals, the per-category pie and the monthly trend.
#pragma once

#include <string>

#include "finance/shown_period.h"

namespace tavrin::analysis {

// Lists the period's items of both sides, sums the shown side's per category
// into the pie chart and stores both period totals.
void RefreshStructureView();
// While the trend chart is shown: lists the year's items of both sides, sums
// them per month into the trend chart and stores both totals.
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
using finance::MonthPartOf;
using finance::YearPartOf;

}  // namespace tavrin::analysis
