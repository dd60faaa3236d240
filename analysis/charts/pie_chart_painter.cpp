// Pie chart drawing. Angles run clockwise on the screen from the leftmost point
// of the ellipse; Qt measures counter-clockwise from the rightmost one, so a
// pie angle t is the Qt angle 180 - t.
#include "analysis/charts/pie_chart_painter.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "analysis/charts/chart_palette.h"
#include "chart_text_constants.h"

namespace tavrin::charts {

namespace {

// A slice from pie angle a to b (b > a) as a closed path through the centre.
QPainterPath SlicePath(const PieShape& s, double a, double b) {
    QPainterPath path;
    path.moveTo(s.cx, s.cy);
    path.arcTo(s.top(), 180.0 - a, -(b - a));
    path.closeSubpath();
    return path;
}

// The part of the rim below the slice a..b: only the lower half (pie angles 180
// to 360) of the ellipse has a visible rim.
void PaintRimPiece(QPainter& painter, const PieShape& s, double a, double b, const QColor& c) {
    const double from = std::max(a, 180.0);
    const double to = std::min(b, 360.0);
    if (to <= from) return;
    QPainterPath path;
    path.arcMoveTo(s.top(), 180.0 - from);
    path.arcTo(s.top(), 180.0 - from, -(to - from));
    path.arcTo(s.bottom(), 180.0 - to, to - from);
    path.closeSubpath();
    painter.fillPath(path, c.darker(140));
}

void PaintSlices(QPainter& painter, const PieChartModel& model, const PieLayout& layout) {
    const PieShape& s = layout.shape;
    if (s.rx <= 0 || s.ry <= 0) return;
    const QPen outlinePen =
        model.outline ? QPen(ColorFromBgr(model.outlineColor), 1) : QPen(Qt::NoPen);
    if (layout.total <= 0.0) {
        // Nothing to share out: an empty outline where the pie would be.
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(s.top());
        return;
    }
    if (model.threeD) {
        for (const PieSlice& slice : layout.slices)
            PaintRimPiece(painter, s, slice.from, slice.to, slice.color);
        painter.setPen(QPen(ColorFromBgr(model.outlineColor), 1));
        painter.drawLine(QPointF(s.cx - s.rx, s.cy), QPointF(s.cx - s.rx, s.cy + s.depth));
        painter.drawLine(QPointF(s.cx + s.rx, s.cy), QPointF(s.cx + s.rx, s.cy + s.depth));
        QPainterPath lower;
        lower.arcMoveTo(s.bottom(), 180.0);
        lower.arcTo(s.bottom(), 180.0, 180.0);
        painter.strokePath(lower, painter.pen());
    }
    for (const PieSlice& slice : layout.slices) {
        painter.setPen(outlinePen);
        painter.setBrush(slice.color);
        if (slice.fullDisc)
            painter.drawEllipse(s.top());
        else
            painter.drawPath(SlicePath(s, slice.from, slice.to));
    }
}

void PaintLegend(QPainter& painter, const PieChartModel& model, const PieLayout& layout) {
    painter.setFont(TextFont(model.style));
    painter.setPen(ColorFromBgr(model.style.textColor));
    const QString unitLine =
        ChartText(std::string(chart_text::PieUnitPrefix)) + ChartText(model.unit);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    painter.drawText(layout.unitLine, flags, unitLine);
    for (const PieLegendLine& line : layout.legend) {
        if (!line.box.isEmpty()) painter.fillRect(line.box, ColorFromBgr(line.color));
        painter.drawText(line.text, flags, line.line);
    }
}

}  // namespace

void PaintPieChart(QPainter& painter, QSize size, const PieChartModel& model) {
    painter.save();
    PaintChartFrame(painter, size, model.style, ChartText(model.title));
    const PieLayout layout = LayOutPie(size, model);
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintSlices(painter, model, layout);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (model.showLegend) PaintLegend(painter, model, layout);
    painter.restore();
}

}  // namespace tavrin::charts
