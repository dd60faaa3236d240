// The period views of the main window: the items of the selected year and
// month with their totals, the per-category sums of the pie and the monthly
// sums of the trend, handed to the charts through the main window's hooks.
#pragma once

namespace tavrin::finance {

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

}  // namespace tavrin::finance
