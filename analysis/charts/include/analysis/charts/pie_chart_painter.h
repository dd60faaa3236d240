// The structure (pie) chart's own drawing: legend and slices, flat or with the
// stored three-dimensional style, onto any painter.
#pragma once

#include <QPainter>
#include <QSize>

#include "analysis/charts/pie_chart_layout.h"

namespace tavrin::charts {

// Draws the whole chart into the rectangle (0, 0, size).
void PaintPieChart(QPainter& painter, QSize size, const PieChartModel& model);

}  // namespace tavrin::charts
