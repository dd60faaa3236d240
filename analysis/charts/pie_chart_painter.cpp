// Pie chart drawing. Angles run clockwise on the screen from the leftmost point
// of the ellipse; Qt measures counter-clockwise from the rightmost one, so a
// pie angle t is the Qt angle 180 - t.
#include "analysis/charts/pie_chart_painter.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/charts/chart_palette.h"
#include "chart_text_constants.h"

namespace tavrin::charts {

namespace {

// The ellipse the slices lie on, with the rim depth of the three-dimensional style.
struct PieShape {
    double cx = 0, cy = 0, rx = 0, ry = 0, depth = 0;
    QRectF top() const { return QRectF(cx - rx, cy - ry, 2 * rx, 2 * ry); }
    QRectF bottom() const { return top().translated(0, depth); }
    // The pixel of the ellipse at pie angle t (degrees).
    QPoint pointAt(double t) const {
        const double a = t * M_PI / 180.0;
        return QPoint(int(std::lround(cx - rx * std::cos(a))),
                      int(std::lround(cy - ry * std::sin(a))));
    }
};

PieShape ShapeFor(const PieChartModel& model, QSize size, int plotTop) {
    const int width = size.width();
    const int plotHeight = size.height() - plotTop;
    PieShape s;
    s.cx = width / 2;
    if (!model.threeD) {
        const int r = std::min((width - 60) / 2, (plotHeight - 60) / 2);
        s.rx = s.ry = r;
        s.cy = plotTop + r + 30;
        return s;
    }
    const int rx = (width - 60) / 2;
    int ry = model.radiusRatio > 0 ? rx * model.radiusRatio / 1000 : (plotHeight - 60) * 3 / 8;
    ry = std::min(ry, rx);
    s.rx = rx;
    s.ry = ry;
    s.depth = model.rimDepth > 0 ? ry * model.rimDepth / 10 : ry / 4;
    s.cy = plotTop + ry + 30;
    return s;
}

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

struct Slice {
    double from, to;
    QColor colour;
    bool fullDisc;
};

// Slices by the drawing rules: zero items are skipped, and a slice whose end point
// falls within a pixel of its start is drawn (as the full disc) only above a 0.9 share.
std::vector<Slice> SlicesOf(const PieChartModel& model, const PieShape& s, double total) {
    std::vector<Slice> slices;
    double running = 0.0;
    double previousAngle = 0.0;
    QPoint previous = s.pointAt(0.0);
    for (const PieItem& item : model.items) {
        if (item.value == 0.0) continue;
        running += item.value;
        const double angle = 360.0 * running / total;
        const QPoint end = s.pointAt(angle);
        const bool sameSpot =
            std::abs(end.x() - previous.x()) <= 1 && std::abs(end.y() - previous.y()) <= 1;
        if (!sameSpot)
            slices.push_back({previousAngle, angle, ColourFromBgr(item.colour), false});
        else if (item.value / total > 0.9)
            slices.push_back({0.0, 360.0, ColourFromBgr(item.colour), true});
        previousAngle = angle;
        previous = end;
    }
    return slices;
}

void PaintSlices(QPainter& painter, const PieChartModel& model, QSize size, int plotTop) {
    const PieShape s = ShapeFor(model, size, plotTop);
    if (s.rx <= 0 || s.ry <= 0) return;
    double total = 0.0;
    for (const PieItem& item : model.items) total += item.value;
    const QPen outlinePen =
        model.outline ? QPen(ColourFromBgr(model.outlineColour), 1) : QPen(Qt::NoPen);
    if (total <= 0.0) {
        // Nothing to share out: an empty outline where the pie would be.
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(s.top());
        return;
    }
    const std::vector<Slice> slices = SlicesOf(model, s, total);
    if (model.threeD) {
        for (const Slice& slice : slices)
            PaintRimPiece(painter, s, slice.from, slice.to, slice.colour);
        painter.setPen(QPen(ColourFromBgr(model.outlineColour), 1));
        painter.drawLine(QPointF(s.cx - s.rx, s.cy), QPointF(s.cx - s.rx, s.cy + s.depth));
        painter.drawLine(QPointF(s.cx + s.rx, s.cy), QPointF(s.cx + s.rx, s.cy + s.depth));
        QPainterPath lower;
        lower.arcMoveTo(s.bottom(), 180.0);
        lower.arcTo(s.bottom(), 180.0, 180.0);
        painter.strokePath(lower, painter.pen());
    }
    for (const Slice& slice : slices) {
        painter.setPen(outlinePen);
        painter.setBrush(slice.colour);
        if (slice.fullDisc)
            painter.drawEllipse(s.top());
        else
            painter.drawPath(SlicePath(s, slice.from, slice.to));
    }
}

void PaintLegend(QPainter& painter, const PieChartModel& model, QSize size, int plotTop) {
    const QFont font = TextFont(model.style);
    const QFontMetrics metrics(font);
    const int textHeight = metrics.height();
    double total = 0.0;
    for (const PieItem& item : model.items) total += item.value;

    const QString unitLine =
        ChartText(std::string(chart_text::PieUnitPrefix)) + ChartText(model.unit);
    // A pie with nothing to share out lists only its named items: the one
    // nameless item of an empty structure (no categories) has no line.
    std::vector<QString> lines;
    std::vector<uint32_t> colours;
    lines.reserve(model.items.size());
    int widest = 0;
    for (const PieItem& item : model.items) {
        if (total <= 0.0 && item.name.empty()) continue;
        lines.push_back(ChartText(item.name) + QLatin1Char(' ') +
                        ChartText(LegendValueText(item.value, total, model.decimals)));
        colours.push_back(item.colour);
        widest = std::max(widest, metrics.horizontalAdvance(lines.back()));
    }
    const int left =
        size.width() - 30 - std::max(widest + textHeight, metrics.horizontalAdvance(unitLine));
    const int step = textHeight + 10;
    int top = plotTop + 20;

    painter.setFont(font);
    painter.setPen(ColourFromBgr(model.style.textColour));
    painter.drawText(QRect(left, top, size.width() - left, textHeight),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, unitLine);
    for (size_t i = 0; i < lines.size(); ++i) {
        top += step;
        painter.fillRect(QRect(left, top, textHeight * 2 / 3, textHeight),
                         ColourFromBgr(colours[i]));
        painter.drawText(QRect(left + textHeight, top, size.width() - left, textHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines[i]);
    }
}

}  // namespace

std::string LegendValueText(double value, double total, int32_t decimals) {
    if (value == 0.0 || !(total > 0.0)) return std::string();
    decimals = std::clamp(decimals, 0, 5);
    // The format is assembled as "%." d "f[%." d "f" and then "%]".
    const std::string format =
        "%." + std::to_string(decimals) + "f[%." + std::to_string(decimals) + "f%%]";
    char text[96];
    std::snprintf(text, sizeof text, format.c_str(), value, value / total * 100.0);
    return text;
}

void PaintPieChart(QPainter& painter, QSize size, const PieChartModel& model) {
    painter.save();
    const int plotTop = PaintChartFrame(painter, size, model.style, ChartText(model.title));
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintSlices(painter, model, size, plotTop);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (model.showLegend) PaintLegend(painter, model, size, plotTop);
    painter.restore();
}

}  // namespace tavrin::charts
