// What the charts and the column sorting offer the program: the chart kinds
// of the window layer and the procedures the main window's wiring calls.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrin::analysis {

// The chart kinds of the window layer; a kind can build its widget only once
// the application object exists.
void RegisterChartKinds();

// The pie of a side: its categories (file order) and their sums in 元.
void ShowCategoryTotals(const std::vector<std::string>& categories,
                        const std::vector<double>& totals);
// One side's line of the trend chart from its sums per month (January first,
// in 元); `maximum` is the chart's scale so far (thousands of 元), raised to fit.
void ShowMonthTotals(bool income, const std::array<double, 12>& months, int32_t& maximum);
// The chart start-up settings of the main window's creation.
void ApplyChartStartUpSettings();
// The chart area's place in the main window, after the window's own layout.
void LayoutChartArea();
// A click on a list's column header.
void SortListByColumn(uint32_t list, int32_t column);
// The tool bar's "打印图".
void PrintShownChart();

}  // namespace tavrin::analysis
