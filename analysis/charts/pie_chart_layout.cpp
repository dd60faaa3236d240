// Pie geometry and the legend: one column as long as the lines fit, then
// tighter columns; the pie keeps to the room left of the legend.
#include "analysis/charts/pie_chart_layout.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/charts/chart_palette.h"
#include "chart_text_constants.h"
#include "money/money_text.h"

namespace tavrin::charts {

namespace {

constexpr int kColumnGap = 12;

PieShape ShapeFor(const PieChartModel& model, int width, int plotTop, int height) {
    const int plotHeight = height - plotTop;
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

// Slices by the drawing rules: zero items are skipped, and a slice whose end point
// falls within a pixel of its start is drawn (as the full disc) only above a 0.9 share.
std::vector<PieSlice> SlicesOf(const PieChartModel& model, const PieShape& s, double total) {
    std::vector<PieSlice> slices;
    if (!(total > 0.0) || s.rx <= 0 || s.ry <= 0) return slices;
    double running = 0.0;
    double previousAngle = 0.0;
    QPoint previous = s.pointAt(0.0);
    for (size_t i = 0; i < model.items.size(); ++i) {
        const PieItem& item = model.items[i];
        if (item.value == 0.0) continue;
        running += item.value;
        const double angle = 360.0 * running / total;
        const QPoint end = s.pointAt(angle);
        const bool sameSpot =
            std::abs(end.x() - previous.x()) <= 1 && std::abs(end.y() - previous.y()) <= 1;
        if (!sameSpot)
            slices.push_back({previousAngle, angle, ColorFromBgr(item.color), false, int32_t(i)});
        else if (item.value / total > 0.9)
            slices.push_back({0.0, 360.0, ColorFromBgr(item.color), true, int32_t(i)});
        previousAngle = angle;
        previous = end;
    }
    return slices;
}

struct LegendPlan {
    int step = 0;
    int rows = 0;  // lines per column
};

// The line spacing and lines per column: the drawing rules' spacing while one
// column holds every line, else a tighter one.
LegendPlan PlanLegend(int lines, int top, int bottom, int textHeight) {
    for (int step : {textHeight + 10, textHeight + 3}) {
        const int rows = std::max(1, (bottom - top - textHeight) / step + 1);
        if (rows >= lines || step == textHeight + 3) return {step, rows};
    }
    return {};
}

void LayOutLegend(PieLayout& layout, const PieChartModel& model, QSize size) {
    const QFontMetrics metrics(TextFont(model.style));
    const int th = metrics.height();
    const QString unitText =
        ChartText(std::string(chart_text::PieUnitPrefix)) + ChartText(model.unit);
    std::vector<int32_t> shown;
    for (size_t i = 0; i < model.items.size(); ++i)
        if (!layout.itemTexts[i].isEmpty()) shown.push_back(int32_t(i));

    const int top = layout.plotTop + 20;
    const LegendPlan plan = PlanLegend(int(shown.size()) + 1, top, size.height() - 4, th);
    // Column j holds lines j*rows .. ; line 0 is the unit line.
    const int lines = int(shown.size()) + 1;
    int columns = (lines + plan.rows - 1) / plan.rows;
    auto lineWidth = [&](int line) {
        return line == 0 ? metrics.horizontalAdvance(unitText)
                         : th + metrics.horizontalAdvance(
                                    layout.itemTexts[size_t(shown[size_t(line - 1)])]);
    };
    auto columnWidth = [&](int j) {
        int widest = 0;
        for (int l = j * plan.rows; l < std::min(lines, (j + 1) * plan.rows); ++l)
            widest = std::max(widest, lineWidth(l));
        return widest;
    };
    // Columns that leave the pie no room are left out; their items stay
    // reachable through the tool-tip of the line that stands for them.
    const int room = size.width() - std::max(80, size.width() / 3);
    int width = 0;
    int kept = 0;
    for (; kept < columns; ++kept) {
        const int w = columnWidth(kept) + (kept > 0 ? kColumnGap : 0);
        if (kept > 0 && width + w > room) break;
        width += w;
    }
    const bool cut = kept < columns;
    columns = kept;
    const int singleMargin = columns == 1 && !cut ? 30 : 10;
    const int left = size.width() - singleMargin - std::max(width, 0);
    const int lastLine = cut ? columns * plan.rows - 1 : lines - 1;  // the "more" line when cut

    int x = left;
    for (int j = 0; j < columns; ++j) {
        const int w = columnWidth(j);
        for (int l = j * plan.rows; l <= std::min(lastLine, (j + 1) * plan.rows - 1); ++l) {
            const int y = top + (l - j * plan.rows) * plan.step;
            if (l == 0) {
                layout.unitLine = QRect(x, y, size.width() - x, th);
                continue;
            }
            if (cut && l == lastLine) {  // never line 0: the first column keeps it
                const int more = int(shown.size()) - (l - 1);
                PieLegendLine line{-1, QRect(), QRect(x + th, y, size.width() - x - th, th),
                                   QStringLiteral("\u2026 +%1").arg(more), 0};
                layout.legend.push_back(line);
                break;
            }
            const int32_t item = shown[size_t(l - 1)];
            layout.legend.push_back(
                {item, QRect(x, y, th * 2 / 3, th), QRect(x + th, y, size.width() - x - th, th),
                 layout.itemTexts[size_t(item)], model.items[size_t(item)].color});
        }
        x += w + kColumnGap;
    }
    if (cut)
        for (size_t k = size_t(std::max(0, lastLine - 1)); k < shown.size(); ++k)
            layout.unlisted.push_back(shown[k]);
}

}  // namespace

QPoint PieShape::pointAt(double t) const {
    const double a = t * M_PI / 180.0;
    return QPoint(int(std::lround(cx - rx * std::cos(a))), int(std::lround(cy - ry * std::sin(a))));
}

std::vector<std::string> ShareTexts(const std::vector<double>& values, int32_t decimals) {
    const int d = std::clamp(decimals, 1, 5);
    double scale = 100.0;
    for (int i = 0; i < d; ++i) scale *= 10.0;  // units of the last decimal in 100 %
    double total = 0.0;
    for (double v : values) total += v;
    std::vector<std::string> out(values.size());
    if (!(total > 0.0)) return out;
    std::vector<long long> units(values.size());
    std::vector<std::pair<double, size_t>> remainders;
    long long given = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] <= 0.0) continue;
        const double exact = values[i] / total * scale;
        units[i] = (long long)std::floor(exact);
        given += units[i];
        remainders.push_back({exact - double(units[i]), i});
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t k = 0; given < (long long)scale && k < remainders.size(); ++k, ++given)
        ++units[remainders[k].second];
    const long long unit = (long long)(scale / 100.0);
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] <= 0.0) continue;
        char text[48];
        std::snprintf(text, sizeof text, "%lld.%0*lld", units[i] / unit, d, units[i] % unit);
        out[i] = text;
    }
    return out;
}

std::string LegendAmountText(double value, const std::string& unitGbk, int32_t decimals) {
    static const std::string kYuan = "\xD4\xAA";  // 元
    if (unitGbk == kYuan) return money::MoneyTotalText(value);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", std::clamp(decimals, 0, 5), value);
    return text;
}

std::string LegendValueText(double value, const std::string& share, const std::string& unitGbk,
                            int32_t decimals) {
    if (value == 0.0 || share.empty()) return std::string();
    return LegendAmountText(value, unitGbk, decimals) + "[" + share + "%]";
}

PieLayout LayOutPie(QSize size, const PieChartModel& model) {
    PieLayout layout;
    layout.plotTop = TitleBandHeight(model.style, ChartText(model.title));
    std::vector<double> values;
    for (const PieItem& item : model.items) {
        values.push_back(item.value);
        layout.total += item.value;
    }
    const std::vector<std::string> shares = ShareTexts(values, model.decimals);
    for (size_t i = 0; i < model.items.size(); ++i) {
        const PieItem& item = model.items[i];
        const std::string value =
            LegendValueText(item.value, shares[i], model.unit, model.decimals);
        layout.itemTexts.push_back(
            value.empty() ? QString() : ChartText(item.name) + QLatin1Char(' ') + ChartText(value));
    }
    int pieWidth = size.width();
    layout.shape = ShapeFor(model, pieWidth, layout.plotTop, size.height());
    if (model.showLegend) {
        LayOutLegend(layout, model, size);
        int legendLeft = layout.unitLine.left();
        for (const PieLegendLine& l : layout.legend)
            legendLeft = std::min(legendLeft, l.box.isEmpty() ? l.text.left() : l.box.left());
        // A pie that would reach into the legend is centred in the room left of it.
        if (layout.shape.cx + layout.shape.rx + 10 > legendLeft) {
            pieWidth = std::max(0, legendLeft - 10);
            layout.shape = ShapeFor(model, pieWidth, layout.plotTop, size.height());
        }
    }
    layout.slices = SlicesOf(model, layout.shape, layout.total);
    return layout;
}

int32_t PieItemAt(const PieLayout& layout, QPoint point) {
    for (const PieLegendLine& l : layout.legend)
        if (l.text.contains(point) || (!l.box.isEmpty() && l.box.contains(point)))
            return l.item < 0 ? -2 : l.item;
    const PieShape& s = layout.shape;
    if (s.rx <= 0 || s.ry <= 0) return -1;
    const double dx = (point.x() - s.cx) / s.rx, dy = (point.y() - s.cy) / s.ry;
    if (dx * dx + dy * dy > 1.0) return -1;
    double t = std::atan2(-dy, -dx) * 180.0 / M_PI;
    if (t < 0) t += 360.0;
    for (const PieSlice& slice : layout.slices)
        if (slice.fullDisc || (t >= slice.from && t < slice.to)) return slice.item;
    return -1;
}

}  // namespace tavrin::charts
