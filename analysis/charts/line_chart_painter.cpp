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
    const int textHeight = metrics.height();
    LineChartLayout layout;
    const int plotTop = TitleBandHeight(model.style, ChartText(model.title));
    layout.plotTop = plotTop;
    // A short chart (the main window's at its template size) keeps the gaps
    // around the axes small, so that its levels still have room.
    const bool compact = size.height() < 300;
    layout.axisY = size.height() - ((compact ? 14 : 30) + textHeight);
    layout.axisTop = plotTop + (compact ? 6 : 20) + textHeight;
    const int axisHeight = layout.axisY - layout.axisTop;

    double largest = 0;
    for (double v : model.values) largest = std::max(largest, v);
    const int32_t room = std::max(1, axisHeight / (textHeight + 2));
    layout.scale = ChooseYAxisScale(largest, model.unit, std::min(model.divisions, room));

    int widestLabel = 0;
    for (int32_t k = 0; k <= layout.scale.levels; ++k)
        widestLabel = std::max(widestLabel, metrics.horizontalAdvance(layout.scale.label(k)));
    const QString caption = ChartText(model.caption);
    layout.axisX = std::max(widestLabel, metrics.horizontalAdvance(layout.scale.unit) / 2) + 40;
    layout.axisEnd = size.width() - (10 + metrics.horizontalAdvance(caption));
    const int32_t points = model.pointCount();
    layout.slotWidth = double(layout.axisEnd - layout.axisX) / std::max<int32_t>(1, points);

    // Labels that would touch their neighbours are thinned to every n-th.
    int widestX = 0;
    for (const std::string& label : model.labels)
        widestX = std::max(widestX, metrics.horizontalAdvance(ChartText(label)));
    layout.labelEvery = std::max<int32_t>(1, model.labelInterval);
    while (layout.labelEvery < points && layout.labelEvery * layout.slotWidth < widestX + 6)
        ++layout.labelEvery;

    const double perValue = layout.scale.toShown * axisHeight / layout.scale.top();
    const int mark = MarkSize(medium);
    layout.marks.reserve(model.series.size() * size_t(points));
    for (int32_t s = 0; s < int32_t(model.series.size()); ++s) {
        for (int32_t p = 0; p < points; ++p) {
            const double v = model.value(s, p);
            const double x = layout.axisX + (p + 0.5) * layout.slotWidth;
            const double y = layout.axisY - v * perValue;
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
    const QPen axisPen(ColorFromBgr(model.axisColor), 1);
    const QPen gridPen(ColorFromBgr(model.gridColor), 1, Qt::DotLine);
    const QColor textColor = ColorFromBgr(model.style.textColor);

    const int32_t levels = l.scale.levels;
    for (int32_t k = 0; k <= levels; ++k) {
        const int y = l.axisY - int(std::lround(k * axisHeight / levels));
        if (k > 0 && model.showGrid) {
            painter.setPen(gridPen);
            painter.drawLine(l.axisX, y, l.axisEnd, y);
        }
        painter.setPen(axisPen);
        painter.drawLine(l.axisX - kTickLength, y, l.axisX, y);
        painter.setPen(textColor);
        painter.drawText(QRectF(0, y - textHeight / 2.0, l.axisX - 20, textHeight),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, l.scale.label(k));
    }

    painter.setPen(axisPen);
    painter.drawLine(l.axisX, l.axisTop, l.axisX, l.axisY);
    painter.drawLine(l.axisX, l.axisY, l.axisEnd, l.axisY);
    const int32_t points = model.pointCount();
    for (int32_t i = 1; i < points; ++i) {
        const int x = l.axisX + int(std::lround(i * l.slotWidth));
        painter.drawLine(x, l.axisY, x, l.axisY + kTickLength);
    }

    painter.setPen(textColor);
    for (int32_t i = 0; i < points; i += l.labelEvery) {
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
    const QString& unit = l.scale.unit;
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
        const QColor color = ColorFromBgr(model.series[size_t(s)].color);
        const PointMark* marks = &l.marks[size_t(s) * size_t(points)];
        if (points > 1) {
            QPolygonF line;
            line.reserve(points);
            for (int32_t p = 0; p < points; ++p) line << marks[p].centre;
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(
                QPen(color, LineWidth(medium), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(line);
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
        for (int32_t p = 0; p < points; ++p) painter.fillRect(marks[p].area, color);
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
        keys.emplace_back(ChartText(s.name), ColorFromBgr(s.color));
        width += textHeight + metrics.horizontalAdvance(keys.back().first) + textHeight;
    }
    if (keys.empty() || size.width() / 2 + titleWidth / 2 + 20 > size.width() - 10 - width) return;
    int x = size.width() - 10 - width;
    const int top = (band - textHeight) / 2;
    painter.setPen(ColorFromBgr(model.style.textColor));
    for (const auto& [name, color] : keys) {
        painter.fillRect(QRect(x, top, textHeight * 2 / 3, textHeight), color);
        x += textHeight;
        const int w = metrics.horizontalAdvance(name);
        painter.drawText(QRect(x, top, w + 2, textHeight),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
        x += w + textHeight;
    }
}

}  // namespace

QString ToolTipText(const LineChartModel& model, double value) {
    QString text = ChartText(model.toolTipTemplate);
    const QString money = MoneyValueText(value, model.unit);
    text.replace(QStringLiteral("${v}"),
                 money.isEmpty() ? ValueText(value, model.toolTipDecimals) : money);
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
