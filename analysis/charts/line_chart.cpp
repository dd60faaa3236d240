// Properties and tool-tips of the line chart control.
#include "analysis/charts/line_chart.h"

#include <QHelpEvent>
#include <QToolTip>

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

void LineChart::setTitle(const std::string& gbk) {
    model_.title = gbk;
    update();
}
void LineChart::setCaption(const std::string& gbk) {
    model_.caption = gbk;
    update();
}
void LineChart::setUnit(const std::string& gbk) {
    model_.unit = gbk;
    update();
}
void LineChart::setToolTipTemplate(const std::string& gbk) {
    model_.toolTipTemplate = gbk;
    update();
}
void LineChart::setMaximum(int32_t maximum) {
    model_.maximum = ClampInt(maximum, 0, int32_t(kMaxChartValue));
    update();
}
void LineChart::setDivisions(int32_t divisions) {
    model_.divisions = ClampInt(divisions, 1, 100);
    update();
}
void LineChart::setAxisColour(uint32_t bgr) {
    model_.axisColour = bgr;
    update();
}
void LineChart::setGridColour(uint32_t bgr) {
    model_.gridColour = bgr;
    update();
}
void LineChart::setShowGrid(bool on) {
    model_.showGrid = on;
    update();
}
void LineChart::setShowToolTips(bool on) {
    model_.showToolTips = on;
    update();
}
void LineChart::setShowTitle(bool on) {
    model_.style.showTitle = on;
    update();
}
void LineChart::setBorder(bool on) {
    model_.style.border = on;
    update();
}
void LineChart::setBackgroundPicture(const std::string& encoded) {
    model_.style.picture = encoded;
    update();
}
void LineChart::setToolTipDecimals(int32_t decimals) {
    model_.toolTipDecimals = ClampInt(decimals, 0, 10);
    update();
}
void LineChart::setLabelInterval(int32_t interval) {
    model_.labelInterval = interval;
    update();
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
        model_.series[size_t(s)] = {std::string(), StructurePaletteColour(s + 1)};
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
void LineChart::setSeriesName(const std::string& gbk) {
    model_.series[size_t(currentSeries_)].name = gbk;
    update();
}
void LineChart::setSeriesColour(uint32_t bgr) {
    model_.series[size_t(currentSeries_)].colour = bgr;
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
void LineChart::setPointLabel(const std::string& gbk) {
    model_.labels[size_t(currentPoint_)] = gbk;
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

bool LineChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return ChartWidget::event(event);
}

bool LineChart::WriteProperty(int number, const Value& v) {
    if (WriteStyleProperty(number, v)) return true;
    switch (number) {
        case kTitle:
            setTitle(TextFromValue(v));
            return true;
        case kBorder:
            setBorder(BoolFromValue(v));
            return true;
        case kAxisColour:
            setAxisColour(uint32_t(IntFromValue(v)));
            return true;
        case kCaption:
            setCaption(TextFromValue(v));
            return true;
        case kUnit:
            setUnit(TextFromValue(v));
            return true;
        case kBackgroundPicture:
            setBackgroundPicture(BytesFromValue(v));
            return true;
        case kGridColour:
            setGridColour(uint32_t(IntFromValue(v)));
            return true;
        case kMaximum:
            setMaximum(IntFromValue(v));
            return true;
        case kDivisions:
            setDivisions(IntFromValue(v));
            return true;
        case kShowGrid:
            setShowGrid(BoolFromValue(v));
            return true;
        case kShowToolTips:
            setShowToolTips(BoolFromValue(v));
            return true;
        case kShowTitle:
            setShowTitle(BoolFromValue(v));
            return true;
        case kSeriesCount:
            setSeriesCount(IntFromValue(v));
            return true;
        case kCurrentSeries:
            setCurrentSeries(IntFromValue(v));
            return true;
        case kSeriesName:
            setSeriesName(TextFromValue(v));
            return true;
        case kSeriesColour:
            setSeriesColour(uint32_t(IntFromValue(v)));
            return true;
        case kPointCount:
            setPointCount(IntFromValue(v));
            return true;
        case kCurrentPoint:
            setCurrentPoint(IntFromValue(v));
            return true;
        case kPointLabel:
            setPointLabel(TextFromValue(v));
            return true;
        case kPointValue:
            setPointValue(DoubleFromValue(v));
            return true;
        case kToolTipDecimals:
            setToolTipDecimals(IntFromValue(v));
            return true;
        case kLabelInterval:
            setLabelInterval(IntFromValue(v));
            return true;
        case kToolTipTemplate:
            setToolTipTemplate(TextFromValue(v));
            return true;
        default:
            return false;
    }
}

Value LineChart::ReadProperty(int number) const {
    if (auto v = ReadStyleProperty(number)) return *v;
    switch (number) {
        case kTitle:
            return TextResult(model_.title);
        case kBorder:
            return MakeBool(model_.style.border);
        case kAxisColour:
            return MakeInt(int32_t(model_.axisColour));
        case kCaption:
            return TextResult(model_.caption);
        case kUnit:
            return TextResult(model_.unit);
        case kBackgroundPicture:
            return BytesResult(model_.style.picture);
        case kGridColour:
            return MakeInt(int32_t(model_.gridColour));
        case kMaximum:
            return MakeInt(model_.maximum);
        case kDivisions:
            return MakeInt(model_.divisions);
        case kShowGrid:
            return MakeBool(model_.showGrid);
        case kShowToolTips:
            return MakeBool(model_.showToolTips);
        case kShowTitle:
            return MakeBool(model_.style.showTitle);
        case kSeriesCount:
            return MakeInt(seriesCount());
        case kCurrentSeries:
            return MakeInt(currentSeries_);
        case kSeriesName:
            return TextResult(model_.series[size_t(currentSeries_)].name);
        case kSeriesColour:
            return MakeInt(int32_t(model_.series[size_t(currentSeries_)].colour));
        case kPointCount:
            return MakeInt(pointCount());
        case kCurrentPoint:
            return MakeInt(currentPoint_);
        case kPointLabel:
            return TextResult(model_.labels[size_t(currentPoint_)]);
        case kPointValue:
            return MakeDouble(model_.value(currentSeries_, currentPoint_));
        case kToolTipDecimals:
            return MakeInt(model_.toolTipDecimals);
        case kLabelInterval:
            return MakeInt(model_.labelInterval);
        case kToolTipTemplate:
            return TextResult(model_.toolTipTemplate);
        default:
            return Value{};
    }
}

const std::vector<ChartPropertyInfo>& LineChart::PropertyTable() const {
    static const std::vector<ChartPropertyInfo> table = {
        {"BackColor", PropertyKind::kInt},
        {"TextColor", PropertyKind::kInt},
        {"TitleColor", PropertyKind::kInt},
        {"FontFace", PropertyKind::kText},
        {"TitlePixels", PropertyKind::kInt},
        {"TextPixels", PropertyKind::kInt},
        {"Title", PropertyKind::kText},
        {"Border", PropertyKind::kBool},
        {"AxisColor", PropertyKind::kInt},
        {"Caption", PropertyKind::kText},
        {"Unit", PropertyKind::kText},
        {"Picture", PropertyKind::kBytes},
        {"GridColor", PropertyKind::kInt},
        {"Maximum", PropertyKind::kInt},
        {"Divisions", PropertyKind::kInt},
        {"ShowGrid", PropertyKind::kBool},
        {"ShowToolTips", PropertyKind::kBool},
        {"ShowTitle", PropertyKind::kBool},
        {"SeriesCount", PropertyKind::kInt},
        {"CurrentSeries", PropertyKind::kInt},
        {"SeriesName", PropertyKind::kText},
        {"SeriesColor", PropertyKind::kInt},
        {"PointCount", PropertyKind::kInt},
        {"CurrentPoint", PropertyKind::kInt},
        {"PointLabel", PropertyKind::kText},
        {"PointValue", PropertyKind::kDouble},
        {"ToolTipDecimals", PropertyKind::kInt},
        {"LabelInterval", PropertyKind::kInt},
        {"ToolTipTemplate", PropertyKind::kText},
    };
    return table;
}

}  // namespace tavrin::charts
