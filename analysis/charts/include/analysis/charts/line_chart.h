// The line chart control (the trend chart): series with names and colours,
// points with x labels, a value for every (point, series) pair, and current
// series and point indices that the series and point writes address.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/charts/chart_widget.h"
#include "analysis/charts/line_chart_painter.h"

namespace tavrin::charts {

class LineChart : public ChartWidget {
    Q_OBJECT

  public:
    // Own property numbers (control property index - 8); 0..5 are StyleProperty.
    enum Property : int {
        kTitle = 6,   // index 14
        kBorder = 7,  // bool
        kAxisColor = 8,
        kCaption = 9,             // index 17, x-axis caption
        kUnit = 10,               // index 18, y-axis unit
        kBackgroundPicture = 11,  // byte-set
        kGridColor = 12,
        kMaximum = 13,          // index 21, 0..10000000
        kDivisions = 14,        // index 22, 1..100
        kShowGrid = 15,         // bool
        kShowToolTips = 16,     // bool
        kShowTitle = 17,        // bool
        kSeriesCount = 18,      // index 26, 1..100
        kCurrentSeries = 19,    // index 27
        kSeriesName = 20,       // index 28
        kSeriesColor = 21,      // index 29
        kPointCount = 22,       // index 30, 1..100
        kCurrentPoint = 23,     // index 31
        kPointLabel = 24,       // index 32
        kPointValue = 25,       // index 33, double 0..10000000
        kToolTipDecimals = 26,  // index 34, 0..10
        kLabelInterval = 27,    // index 35, stored
        kToolTipTemplate = 28,  // index 36
        kPropertyCount = 29,
    };
    static constexpr int32_t kMaxSeries = 100;
    static constexpr int32_t kMaxPoints = 100;

    // A new chart: title "Orvel曲线图", caption "月份", unit "万元", maximum 100,
    // 10 divisions, one series "销售金额" in 0x0000FF, one point "一月" with value
    // 10, tool-tip template "${v}"; property 34 at 0 and 35 at 1.
    explicit LineChart(QWidget* parent = nullptr);

    void PaintChart(QPainter& painter, QSize size, ChartMedium medium) const override;
    const ChartStyle& style() const override { return model_.style; }

    // Texts are GBK. Every setter applies the property's rule and repaints.
    void setTitle(const std::string& gbk) { assign(model_.title, gbk); }
    const std::string& title() const { return model_.title; }
    void setCaption(const std::string& gbk) { assign(model_.caption, gbk); }
    const std::string& caption() const { return model_.caption; }
    void setUnit(const std::string& gbk) { assign(model_.unit, gbk); }
    const std::string& unit() const { return model_.unit; }
    void setToolTipTemplate(const std::string& gbk) { assign(model_.toolTipTemplate, gbk); }
    const std::string& toolTipTemplate() const { return model_.toolTipTemplate; }
    void setMaximum(int32_t maximum) {
        assign(model_.maximum, ClampInt(maximum, 0, int32_t(kMaxChartValue)));
    }
    int32_t maximum() const { return model_.maximum; }
    void setDivisions(int32_t divisions) { assign(model_.divisions, ClampInt(divisions, 1, 100)); }
    int32_t divisions() const { return model_.divisions; }
    void setAxisColor(uint32_t bgr) { assign(model_.axisColor, bgr); }
    uint32_t axisColor() const { return model_.axisColor; }
    void setGridColor(uint32_t bgr) { assign(model_.gridColor, bgr); }
    uint32_t gridColor() const { return model_.gridColor; }
    void setShowGrid(bool on) { assign(model_.showGrid, on); }
    bool showGrid() const { return model_.showGrid; }
    void setShowToolTips(bool on) { assign(model_.showToolTips, on); }
    bool showToolTips() const { return model_.showToolTips; }
    void setToolTipDecimals(int32_t decimals) {
        assign(model_.toolTipDecimals, ClampInt(decimals, 0, 10));
    }
    int32_t toolTipDecimals() const { return model_.toolTipDecimals; }
    // Stored; below 1 draws every label.
    void setLabelInterval(int32_t interval) { assign(model_.labelInterval, interval); }
    int32_t labelInterval() const { return model_.labelInterval; }

    // 1..100; kept series and their values stay, new ones are empty (no name,
    // palette colour, values 0); the current series becomes 0.
    void setSeriesCount(int32_t count);
    int32_t seriesCount() const { return int32_t(model_.series.size()); }
    void setCurrentSeries(int32_t index);  // outside 0..count-1 → 0
    int32_t currentSeries() const { return currentSeries_; }
    // The current series' name and colour.
    void setSeriesName(const std::string& gbk) { assign(currentSeriesRef().name, gbk); }
    void setSeriesColor(uint32_t bgr) { assign(currentSeriesRef().color, bgr); }
    const LineSeries& currentSeriesFields() const { return model_.series[size_t(currentSeries_)]; }
    const LineSeries& series(int32_t index) const { return model_.series.at(size_t(index)); }

    // 1..100; kept points stay, new ones have no label and values 0; the current point becomes 0.
    void setPointCount(int32_t count);
    int32_t pointCount() const { return model_.pointCount(); }
    void setCurrentPoint(int32_t index);  // outside 0..count-1 → 0
    int32_t currentPoint() const { return currentPoint_; }
    void setPointLabel(const std::string& gbk) {
        assign(model_.labels[size_t(currentPoint_)], gbk);
    }
    const std::string& currentPointLabel() const { return model_.labels[size_t(currentPoint_)]; }
    // The value of the current point in the current series: not >= 0 → 0, above 10000000 →
    // 10000000.
    void setPointValue(double value);
    const std::string& pointLabel(int32_t point) const { return model_.labels.at(size_t(point)); }
    double value(int32_t series, int32_t point) const { return model_.value(series, point); }
    double currentValue() const { return model_.value(currentSeries_, currentPoint_); }
    const LineChartModel& model() const { return model_; }

    // The tool-tip of the point mark under a position of the widget (empty: none).
    QString toolTipAt(QPoint position) const override;

  protected:
    ChartStyle& mutableStyle() override { return model_.style; }
    QString titleText() const override;
    std::span<const ChartPropertyRow> chartRows() const override;

  private:
    LineSeries& currentSeriesRef() { return model_.series[size_t(currentSeries_)]; }
    void resizeTable(int32_t seriesCount, int32_t pointCount);

    LineChartModel model_;
    int32_t currentSeries_ = 0;
    int32_t currentPoint_ = 0;
};

}  // namespace tavrin::charts
