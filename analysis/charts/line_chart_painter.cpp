// Line chart drawing.
#include "analysis/charts/line_chart_painter.h"

#include <QFontMetrics>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "analysis/charts/chart_palette.h"

namespace tavrin::charts {

namespace {

constexpr int kTickLength = 15;

// Screen and print variants of the series drawing.
int LineWidth(ChartMedium medium) {
    return medium == ChartMedium::kScreen ? 5 : 2;
}
int MarkSize(ChartMedium medium) {
    return medium == ChartMedium::kScreen ? 15 : 4;
}

QString ValueText(double value, int32_t decimals) {
    if (decimals > 0) return QString::number(value, 'f', decimals);
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text;
}

}  // namespace

LineChartLayout LayoutLineChart(QSize size, const LineChartModel& model, ChartMedium medium) {
    const QFontMetrics metrics(TextFont(model.style));
    LineChartLayout layout;
    const int plotTop = TitleBandHeight(model.style, ChartText(model.title));
    layout.plotTop = plotTop;
    int widestLabel = metrics.horizontalAdvance(QStringLiteral("0"));
    for (int32_t k = 1; k <= model.divisions; ++k)
        widestLabel = std::max(
            widestLabel, metrics.horizontalAdvance(YAxisLabel(k, model.maximum, model.divisions)));
    const QString unit = ChartText(model.unit);
    const QString caption = ChartText(model.caption);
    layout.axisX = std::max(widestLabel, metrics.horizontalAdvance(unit) / 2) + 40;
    layout.axisY = size.height() - (30 + metrics.height());
    layout.axisEnd = size.width() - (10 + metrics.horizontalAdvance(caption));
    layout.axisTop = plotTop + 20 + metrics.height();
    const int32_t points = model.pointCount();
    layout.slotWidth = double(layout.axisEnd - layout.axisX) / std::max<int32_t>(1, points);

    const double axisHeight = layout.axisY - layout.axisTop;
    const int mark = MarkSize(medium);
    layout.marks.reserve(model.series.size() * size_t(points));
    for (int32_t s = 0; s < int32_t(model.series.size()); ++s) {
        for (int32_t p = 0; p < points; ++p) {
            const double v = model.value(s, p);
            const double x = layout.axisX + (p + 0.5) * layout.slotWidth;
            // At or above the maximum (so every point of a maximum of 0) on the top line.
            const double y = v < model.maximum ? layout.axisY - v * (axisHeight / model.maximum)
                                               : double(layout.axisTop);
            PointMark m{QRectF(), QPointF(x, y), s, p, v};
            if (medium == ChartMedium::kScreen)
                m.area = QRectF(std::lround(x) - mark / 2, std::lround(y) - mark / 2, mark, mark);
            else
                m.area = QRectF(x - mark / 2.0, y - mark / 2.0, mark, mark);
            layout.marks.push_back(m);
        }
    }
    return layout;
}

namespace {

void PaintAxes(QPainter& painter, const LineChartModel& model, QSize size, const LineChartLayout& l,
               const QFontMetrics& metrics) {
    const int textHeight = metrics.height();
    const double axisHeight = l.axisY - l.axisTop;
    const QPen axisPen(ColourFromBgr(model.axisColour), 1);
    const QPen gridPen(ColourFromBgr(model.gridColour), 1, Qt::DotLine);
    const QColor textColour = ColourFromBgr(model.style.textColour);

    for (int32_t k = 0; k <= model.divisions; ++k) {
        const int y = l.axisY - int(std::lround(k * axisHeight / model.divisions));
        if (k > 0 && model.showGrid) {
            painter.setPen(gridPen);
            painter.drawLine(l.axisX, y, l.axisEnd, y);
        }
        painter.setPen(axisPen);
        painter.drawLine(l.axisX - kTickLength, y, l.axisX, y);
        painter.setPen(textColour);
        const QString label =
            k == 0 ? QStringLiteral("0") : YAxisLabel(k, model.maximum, model.divisions);
        painter.drawText(QRectF(0, y - textHeight / 2.0, l.axisX - 20, textHeight),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, label);
    }

    painter.setPen(axisPen);
    painter.drawLine(l.axisX, l.axisTop, l.axisX, l.axisY);
    painter.drawLine(l.axisX, l.axisY, l.axisEnd, l.axisY);
    const int32_t points = model.pointCount();
    for (int32_t i = 1; i < points; ++i) {
        const int x = l.axisX + int(std::lround(i * l.slotWidth));
        painter.drawLine(x, l.axisY, x, l.axisY + kTickLength);
    }

    painter.setPen(textColour);
    const int32_t interval = std::max<int32_t>(1, model.labelInterval);
    for (int32_t i = 0; i < points; i += interval) {
        const double centre = l.axisX + (i + 0.5) * l.slotWidth;
        // Wide enough for a label longer than its slot; it stays centred.
        const double width = std::max(l.slotWidth, 400.0);
        painter.drawText(QRectF(centre - width / 2, l.axisY + 10, width, textHeight),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                         ChartText(model.labels[size_t(i)]));
    }
    const QString caption = ChartText(model.caption);
    painter.drawText(
        QRectF(l.axisEnd + 5, l.axisY - textHeight / 2.0, size.width() - l.axisEnd, textHeight),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    const QString unit = ChartText(model.unit);
    const int unitWidth = metrics.horizontalAdvance(unit) + 8;
    painter.drawText(
        QRectF(l.axisX - unitWidth / 2.0, l.axisTop - 5 - textHeight, unitWidth, textHeight),
        Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, unit);
}

void PaintSeries(QPainter& painter, const LineChartModel& model, const LineChartLayout& l,
                 ChartMedium medium) {
    const int32_t points = model.pointCount();
    const int32_t seriesCount = int32_t(model.series.size());
    for (int32_t s = 0; s < seriesCount; ++s) {
        const QColor colour = ColourFromBgr(model.series[size_t(s)].colour);
        const PointMark* marks = &l.marks[size_t(s) * size_t(points)];
        if (points > 1) {
            QPolygonF line;
            line.reserve(points);
            for (int32_t p = 0; p < points; ++p) line << marks[p].centre;
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(
                QPen(colour, LineWidth(medium), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(line);
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        for (int32_t p = 0; p < points; ++p) painter.fillRect(marks[p].area, colour);
    }
}

// The series keys (a colour box and the name of every named series), right-aligned
// in the title band; left out when they would reach the centred title.
void PaintSeriesKeys(QPainter& painter, const LineChartModel& model, QSize size, int band,
                     const QFontMetrics& metrics) {
    if (band <= 0) return;
    const int textHeight = metrics.height();
    const int titleWidth =
        QFontMetrics(TitleFont(model.style)).horizontalAdvance(ChartText(model.title));
    std::vector<std::pair<QString, QColor>> keys;
    int width = 0;
    for (const LineSeries& s : model.series) {
        if (s.name.empty()) continue;
        keys.emplace_back(ChartText(s.name), ColourFromBgr(s.colour));
        width += textHeight + metrics.horizontalAdvance(keys.back().first) + textHeight;
    }
    if (keys.empty() || size.width() / 2 + titleWidth / 2 + 20 > size.width() - 10 - width) return;
    int x = size.width() - 10 - width;
    const int top = (band - textHeight) / 2;
    painter.setPen(ColourFromBgr(model.style.textColour));
    for (const auto& [name, colour] : keys) {
        painter.fillRect(QRect(x, top, textHeight * 2 / 3, textHeight), colour);
        x += textHeight;
        const int w = metrics.horizontalAdvance(name);
        painter.drawText(QRect(x, top, w + 2, textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
        x += w + textHeight;
    }
}

}  // namespace

QString YAxisLabel(int32_t k, int32_t maximum, int32_t divisions) {
    const double level = double(k) * maximum / std::max<int32_t>(1, divisions);
    return QString::number(static_cast<long long>(std::floor(level + 0.5)));
}

QString ToolTipText(const LineChartModel& model, double value) {
    QString text = ChartText(model.toolTipTemplate);
    text.replace(QStringLiteral("${v}"), ValueText(value, model.toolTipDecimals));
    return text;
}

LineChartLayout PaintLineChart(QPainter& painter, QSize size, const LineChartModel& model,
                               ChartMedium medium) {
    painter.save();
    const int band = PaintChartFrame(painter, size, model.style, ChartText(model.title));
    const QFont font = TextFont(model.style);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    PaintSeriesKeys(painter, model, size, band, metrics);
    LineChartLayout layout = LayoutLineChart(size, model, medium);
    PaintAxes(painter, model, size, layout, metrics);
    PaintSeries(painter, model, layout, medium);
    painter.restore();
    return layout;
}

}  // namespace tavrin::charts
