// What the finance program gives its two charts: the texts the main window's
// template sets on them, and the start-up settings of the main window's creation.
#pragma once

#include <cstdint>
#include <vector>

namespace tavrin::charts {

class PieChart;
class LineChart;

enum class ChartKind { kPie, kLine };

// One property write: the control property index as the program writes it
// (own number + 8) and either a GBK text or a whole number.
struct ChartSetting {
    ChartKind chart;
    int32_t index;
    const char* text;  // null for a number
    int32_t number;
};

// The texts of the main window's template: line chart point 0 "1月", series 0
// "收入金额", caption "月份", unit "千元", title "收支趋势图", tool-tip "${v}";
// pie chart item 0 "销售金额", unit "元", title "财务收支饼形图".
const std::vector<ChartSetting>& ChartTemplateTexts();

// The start-up settings, in the order they are written.
const std::vector<ChartSetting>& ChartStartUpSettings();

// Writes settings through the charts' own property access.
void ApplyChartSettings(const std::vector<ChartSetting>& settings, PieChart& pie, LineChart& line);

}  // namespace tavrin::charts
