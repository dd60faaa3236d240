// Properties and tool-tips of the line chart control.
#include "analysis/charts/line_chart.h"

#include "analysis/charts/chart_palette.h"
#include "chart_text_constants.h"

namespace tavrin::charts {

LineChart::LineChart(QWidget* parent) : ChartWidget(parent) {
    model_.style.fontFace = chart_text::DefaultFontFace;
    model_.title = chart_text::LineDefaultTitle;
    model_.caption = chart_text::LineDefaultCaption;
    model_.unit = chart_text::LineDefaultUnit;
    model_.toolTipTemplate = chart_text::ToolTipTemplate;
    model_.series.push_back({chart_text::LineDefaultSeriesName, 0x0000FF});
    model_.labels.push_back(chart_text::LineDefaultPointLabel);
    model_.values.push_back(10.0);
}

QString LineChart::titleText() const {
    return ChartText(model_.title);
}

void LineChart::PaintChart(QPainter& painter, QSize size, ChartMedium medium) const {
    PaintLineChart(painter, size, model_, medium);
}

// Resizes the value table, keeping the values of the series and points that stay.
void LineChart::resizeTable(int32_t seriesCount, int32_t pointCount) {
    const int32_t oldSeries = this->seriesCount();
    const int32_t oldPoints = this->pointCount();
    std::vector<double> values(size_t(seriesCount) * size_t(pointCount), 0.0);
    for (int32_t s = 0; s < std::min(oldSeries, seriesCount); ++s)
        for (int32_t p = 0; p < std::min(oldPoints, pointCount); ++p)
            values[size_t(s) * size_t(pointCount) + size_t(p)] = model_.value(s, p);
    model_.values = std::move(values);
    model_.series.resize(size_t(seriesCount));
    for (int32_t s = oldSeries; s < seriesCount; ++s)
        model_.series[size_t(s)] = {std::string(), StructurePaletteColor(s + 1)};
    model_.labels.resize(size_t(pointCount));
}

void LineChart::setSeriesCount(int32_t count) {
    resizeTable(ClampInt(count, 1, kMaxSeries), pointCount());
    currentSeries_ = 0;
    update();
}
void LineChart::setCurrentSeries(int32_t index) {
    currentSeries_ = index >= 0 && index < seriesCount() ? index : 0;
    update();
}
void LineChart::setPointCount(int32_t count) {
    resizeTable(seriesCount(), ClampInt(count, 1, kMaxPoints));
    currentPoint_ = 0;
    update();
}
void LineChart::setCurrentPoint(int32_t index) {
    currentPoint_ = index >= 0 && index < pointCount() ? index : 0;
    update();
}
void LineChart::setPointValue(double value) {
    model_.values[size_t(currentSeries_) * model_.labels.size() + size_t(currentPoint_)] =
        ClampChartValue(value);
    update();
}

QString LineChart::toolTipAt(QPoint position) const {
    if (!model_.showToolTips) return QString();
    const LineChartLayout layout = LayoutLineChart(size(), model_, ChartMedium::kScreen);
    // Later series are drawn over earlier ones, so the topmost mark is found last.
    for (auto it = layout.marks.rbegin(); it != layout.marks.rend(); ++it)
        if (it->area.contains(QPointF(position) + QPointF(0.5, 0.5)))
            return ToolTipText(model_, it->value);
    return QString();
}

namespace {

using L = LineChart;
constexpr PropertyKind kInt = PropertyKind::kInt, kBool = PropertyKind::kBool,
                       kText = PropertyKind::kText, kDouble = PropertyKind::kDouble,
                       kBytes = PropertyKind::kBytes;
const std::string& SeriesNameOf(const L& c) {
    return c.currentSeriesFields().name;
}
uint32_t SeriesColorOf(const L& c) {
    return c.currentSeriesFields().color;
}

// In own-number order from kTitle.
constexpr ChartPropertyRow kRows[] = {
    Row<L, kText, &L::title, &L::setTitle>("Title"),
    Row<L, kBool, &L::border, &L::setBorder>("Border"),
    Row<L, kInt, &L::axisColor, &L::setAxisColor>("AxisColor"),
    Row<L, kText, &L::caption, &L::setCaption>("Caption"),
    Row<L, kText, &L::unit, &L::setUnit>("Unit"),
    Row<L, kBytes, &L::backgroundPicture, &L::setBackgroundPicture>("Picture"),
    Row<L, kInt, &L::gridColor, &L::setGridColor>("GridColor"),
    Row<L, kInt, &L::maximum, &L::setMaximum>("Maximum"),
    Row<L, kInt, &L::divisions, &L::setDivisions>("Divisions"),
    Row<L, kBool, &L::showGrid, &L::setShowGrid>("ShowGrid"),
    Row<L, kBool, &L::showToolTips, &L::setShowToolTips>("ShowToolTips"),
    Row<L, kBool, &L::showTitle, &L::setShowTitle>("ShowTitle"),
    Row<L, kInt, &L::seriesCount, &L::setSeriesCount>("SeriesCount"),
    Row<L, kInt, &L::currentSeries, &L::setCurrentSeries>("CurrentSeries"),
    Row<L, kText, &SeriesNameOf, &L::setSeriesName>("SeriesName"),
    Row<L, kInt, &SeriesColorOf, &L::setSeriesColor>("SeriesColor"),
    Row<L, kInt, &L::pointCount, &L::setPointCount>("PointCount"),
    Row<L, kInt, &L::currentPoint, &L::setCurrentPoint>("CurrentPoint"),
    Row<L, kText, &L::currentPointLabel, &L::setPointLabel>("PointLabel"),
    Row<L, kDouble, &L::currentValue, &L::setPointValue>("PointValue"),
    Row<L, kInt, &L::toolTipDecimals, &L::setToolTipDecimals>("ToolTipDecimals"),
    Row<L, kInt, &L::labelInterval, &L::setLabelInterval>("LabelInterval"),
    Row<L, kText, &L::toolTipTemplate, &L::setToolTipTemplate>("ToolTipTemplate"),
};
static_assert(L::kTitle == kFirstChartProperty);
static_assert(int(std::size(kRows)) == L::kPropertyCount - kFirstChartProperty);

}  // namespace

std::span<const ChartPropertyRow> LineChart::chartRows() const {
    return kRows;
}

}  // namespace tavrin::charts
