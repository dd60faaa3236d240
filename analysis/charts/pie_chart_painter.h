// The structure (pie) chart's own drawing: legend and slices, flat or with the
// stored three-dimensional style, onto any painter.
#pragma once

#include <QPainter>
#include <QSize>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/charts/chart_painting.h"

namespace tavrin::charts {

struct PieItem {
    std::string name;  // GBK
    uint32_t colour = 0;
    double value = 0.0;  // 0 .. 10000000
};

// Everything the pie chart draws from.
struct PieChartModel {
    ChartStyle style;
    std::string title;  // GBK
    std::string unit;   // GBK, shown after "单位:"
    bool showLegend = true;
    // Three-dimensional style: vertical radius as thousandths of the horizontal
    // one (0: 3/8 of the plot height less 60) and rim depth in tenths of the
    // vertical radius (0: a quarter).
    bool threeD = false;
    int32_t radiusRatio = 0;
    int32_t rimDepth = 0;
    int32_t decimals = 0;  // of the legend's value texts, 0..5
    bool outline = true;   // 1-pixel slice outline
    uint32_t outlineColour = 0x000000;
    std::vector<PieItem> items;
};

// The legend's value text of an item: the value and its share of the total with
// the given decimals, "12.50[25.00%]"; empty for an item without a value (0).
std::string LegendValueText(double value, double total, int32_t decimals);

// Draws the whole chart into the rectangle (0, 0, size).
void PaintPieChart(QPainter& painter, QSize size, const PieChartModel& model);

}  // namespace tavrin::charts
