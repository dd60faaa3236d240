// The pie chart control (the structure chart): a list of named, coloured items
// with values, a current item that item writes address, legend and slices.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/charts/chart_widget.h"
#include "analysis/charts/pie_chart_painter.h"

namespace tavrin::charts {

class PieChart : public ChartWidget {
    Q_OBJECT

  public:
    // Own property numbers (control property index - 8); 0..5 are StyleProperty.
    enum Property : int {
        kBackgroundPicture = 6,  // byte-set
        kBorder = 7,             // bool
        kTitle = 8,              // index 16
        kShowTitle = 9,          // bool
        kShowLegend = 10,        // bool
        kUnit = 11,              // index 19
        kRadiusRatio = 12,       // index 20, 0..1000
        kDecimals = 13,          // index 21, 0..5
        kThreeD = 14,            // bool
        kOutline = 15,           // bool
        kOutlineColor = 16,
        kItemCount = 17,    // index 25, 1..100
        kCurrentItem = 18,  // index 26
        kItemName = 19,     // index 27
        kItemColor = 20,    // index 28
        kItemValue = 21,    // index 29, double 0..10000000
        kRimDepth = 22,     // index 30, 0..10
        kPropertyCount = 23,
    };
    static constexpr int32_t kMaxItems = 100;

    // A new chart: one item "数据项1", colour 0xFF0000, value 10; title
    // "Orvel饼形图", unit "万元"; properties 20, 21 and 30 at 0.
    explicit PieChart(QWidget* parent = nullptr);

    void PaintChart(QPainter& painter, QSize size, ChartMedium medium) const override;
    const ChartStyle& style() const override { return model_.style; }

    // Texts are GBK. Every setter applies the property's rule and repaints.
    void setTitle(const std::string& gbk) { assign(model_.title, gbk); }
    const std::string& title() const { return model_.title; }
    void setUnit(const std::string& gbk) { assign(model_.unit, gbk); }
    const std::string& unit() const { return model_.unit; }
    void setRadiusRatio(int32_t thousandths) {
        assign(model_.radiusRatio, ClampInt(thousandths, 0, 1000));
    }
    int32_t radiusRatio() const { return model_.radiusRatio; }
    void setDecimals(int32_t decimals) { assign(model_.decimals, ClampInt(decimals, 0, 5)); }
    int32_t decimals() const { return model_.decimals; }
    void setRimDepth(int32_t tenths) { assign(model_.rimDepth, ClampInt(tenths, 0, 10)); }
    int32_t rimDepth() const { return model_.rimDepth; }
    void setThreeD(bool on) { assign(model_.threeD, on); }
    bool threeD() const { return model_.threeD; }
    void setOutline(bool on) { assign(model_.outline, on); }
    bool outline() const { return model_.outline; }
    void setOutlineColor(uint32_t bgr) { assign(model_.outlineColor, bgr); }
    uint32_t outlineColor() const { return model_.outlineColor; }
    void setShowLegend(bool on) { assign(model_.showLegend, on); }
    bool showLegend() const { return model_.showLegend; }

    // <= 0 gives 1 item, > 100 gives 100; kept items stay, new ones are empty
    // (named "数据项n", palette colour, value 0); the current item becomes 0.
    void setItemCount(int32_t count);
    int32_t itemCount() const { return int32_t(model_.items.size()); }
    // Outside 0..count-1 the current item becomes 0.
    void setCurrentItem(int32_t index);
    int32_t currentItem() const { return current_; }
    // The current item's fields.
    void setItemName(const std::string& gbk) { assign(currentItemRef().name, gbk); }
    void setItemColor(uint32_t bgr) { assign(currentItemRef().color, bgr); }
    // Not >= 0 and not finite → 0.
    void setItemValue(double value) { assign(currentItemRef().value, ClampChartValue(value)); }
    const PieItem& item(int32_t index) const { return model_.items.at(size_t(index)); }
    const PieItem& currentItemFields() const { return model_.items[size_t(current_)]; }
    const PieChartModel& model() const { return model_; }

    // The tip under a position of the widget: the item's name, amount and share
    // for its slice or legend line, every item without a legend line for the
    // line that stands for them; empty elsewhere.
    QString toolTipAt(QPoint position) const override;

  protected:
    ChartStyle& mutableStyle() override { return model_.style; }
    QString titleText() const override;
    std::span<const ChartPropertyRow> chartRows() const override;

  private:
    PieItem& currentItemRef() { return model_.items[size_t(current_)]; }

    PieChartModel model_;
    int32_t current_ = 0;
};

}  // namespace tavrin::charts
