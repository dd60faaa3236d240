// The trend (line) chart's own drawing: y labels, plot box, dotted grid, ticks,
// point slots with their labels, caption and unit, series lines and point marks.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/charts/chart_painting.h"
#include "analysis/charts/line_chart_axis.h"

namespace tavrin::charts {

struct LineSeries {
    std::string name;  // GBK
    uint32_t color = 0;
};

// Everything the line chart draws from. Values are kept series by series:
// value (s, p) is values[s * labels.size() + p].
struct LineChartModel {
    ChartStyle style;
    std::string title;            // GBK
    std::string caption;          // x-axis caption, GBK
    std::string unit;             // y-axis unit, GBK
    std::string toolTipTemplate;  // "${v}" stands for the value
    uint32_t axisColor = 0x000000;
    uint32_t gridColor = 0x808080;
    bool showGrid = true;
    bool showToolTips = true;
    // The stored axis maximum; the axis itself is scaled from the values shown.
    int32_t maximum = 100;   // 0..10000000
    int32_t divisions = 10;  // 1..100: the most levels the y axis gets
    // Decimals of a tool-tip value; 0 writes the value as it reads, up to 6 decimals.
    int32_t toolTipDecimals = 0;
    // Every n-th point at least gets its x label (n < 1 counts as 1); more are
    // left out where neighbouring labels would touch.
    int32_t labelInterval = 1;
    std::vector<LineSeries> series;
    std::vector<std::string> labels;
    std::vector<double> values;

    int32_t pointCount() const { return int32_t(labels.size()); }
    double value(int32_t s, int32_t p) const {
        return values[size_t(s) * labels.size() + size_t(p)];
    }
};

// A point mark: its centre, and its square (on the screen also its tool-tip area).
struct PointMark {
    QRectF area;
    QPointF centre;
    int32_t series;
    int32_t point;
    double value;
};

// Where the plot box came to lie (chart coordinates), and the point marks.
struct LineChartLayout {
    int plotTop = 0;
    int axisX = 0;    // the y axis
    int axisY = 0;    // the x axis
    int axisTop = 0;  // top of the y axis
    int axisEnd = 0;  // right end of the x axis
    double slotWidth = 0;
    YAxisScale scale;
    int32_t labelEvery = 1;  // every n-th point has its x label
    std::vector<PointMark> marks;
};

// The tool-tip of a point: the template with every "${v}" replaced by the
// value, as money text ("2.85万元") when the chart's unit is money.
QString ToolTipText(const LineChartModel& model, double value);

// Places the plot box and every point mark (series by series) for a chart of the size.
LineChartLayout LayoutLineChart(QSize size, const LineChartModel& model, ChartMedium medium);

// Draws the whole chart into the rectangle (0, 0, size). The title band also
// carries a key of the named series at its right when there is room beside the title.
LineChartLayout PaintLineChart(QPainter& painter, QSize size, const LineChartModel& model,
                               ChartMedium medium);

}  // namespace tavrin::charts
