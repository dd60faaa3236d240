// Where the structure (pie) chart puts its slices and legend lines for a size,
// worked out once for painting and for finding the item under the mouse.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/charts/chart_painting.h"

namespace tavrin::charts {

struct PieItem {
    std::string name;  // GBK
    uint32_t color = 0;
    double value = 0.0;  // >= 0
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
    uint32_t outlineColor = 0x000000;
    std::vector<PieItem> items;
};

// The ellipse the slices lie on, with the rim depth of the three-dimensional style.
struct PieShape {
    double cx = 0, cy = 0, rx = 0, ry = 0, depth = 0;
    QRectF top() const { return QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry); }
    QRectF bottom() const { return top().translated(0, depth); }
    // The pixel of the ellipse at pie angle t (degrees, clockwise from the leftmost point).
    QPoint pointAt(double t) const;
};

struct PieSlice {
    double from, to;  // pie angles
    QColor color;
    bool fullDisc;
    int32_t item;
};

struct PieLegendLine {
    int32_t item;  // -1: the line that stands for the items without room
    QRect box;     // the colour box (empty for that line)
    QRect text;
    QString line;
    uint32_t color = 0;
};

struct PieLayout {
    int plotTop = 0;
    PieShape shape;
    double total = 0;
    std::vector<PieSlice> slices;
    QRect unitLine;
    std::vector<PieLegendLine> legend;
    std::vector<int32_t> unlisted;   // items with a value whose line found no room
    std::vector<QString> itemTexts;  // per item: name, amount and share ("" without a value)
};

// The shares of the values in percent with at least one decimal (more when the
// chart asks for more), rounded so that the shares shown add up to exactly 100;
// "" for a value of 0. Largest remainders get the last units.
std::vector<std::string> ShareTexts(const std::vector<double>& values, int32_t decimals);

// An item's amount as the legend writes it: in the status bar's money form
// ("35.5元", "4.602345万元") when the unit is 元, else with the chart's decimals.
std::string LegendAmountText(double value, const std::string& unitGbk, int32_t decimals);

// The legend's value text of an item: amount, then "[" share "%]"; empty
// without a value. (The share is one of ShareTexts.)
std::string LegendValueText(double value, const std::string& share, const std::string& unitGbk,
                            int32_t decimals);

PieLayout LayOutPie(QSize size, const PieChartModel& model);

// The item whose slice or legend line lies under the point, or -1; -2 for the
// line that stands for the items without room.
int32_t PieItemAt(const PieLayout& layout, QPoint point);

}  // namespace tavrin::charts
