// The base of the chart controls: a widget painted by the chart's own drawing,
// with property access by the chart's own property number for the window layer.
#pragma once

#include <QRect>
#include <QWidget>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "analysis/charts/chart_painting.h"
#include "analysis/charts/chart_property.h"
#include "analysis/charts/chart_property_rows.h"
#include "runtime/value.h"

namespace tavrin::charts {

// Own property numbers 0..5 are the same on both charts; each chart's own rows follow.
enum StyleProperty : int {
    kBackgroundColorProperty = 0,
    kTextColorProperty = 1,
    kTitleColorProperty = 2,
    kFontFaceProperty = 3,
    kTitlePixelsProperty = 4,  // 6..72
    kTextPixelsProperty = 5,   // 6..72
};
constexpr int kFirstChartProperty = 6;

class ChartWidget : public QWidget {
    Q_OBJECT

  public:
    explicit ChartWidget(QWidget* parent = nullptr);

    // Writes a property by its own number (control property index - 8) under the
    // property's rule and repaints; false for a number the chart does not have.
    bool WriteProperty(int number, const Value& value);
    // A fresh result (texts and byte-sets belong to the caller); the empty Value
    // for a number the chart does not have.
    Value ReadProperty(int number) const;
    // The chart's property table, by own property number.
    std::vector<ChartPropertyInfo> PropertyTable() const;
    // The data kind of a property, or nullopt for a number the chart does not have.
    std::optional<PropertyKind> KindOfProperty(int number) const;

    // Draws the chart into the rectangle (0, 0, size) of any painter.
    virtual void PaintChart(QPainter& painter, QSize size, ChartMedium medium) const = 0;
    // Draws the chart onto a printer page with the print variants of lines and
    // marks, laid out over the page rectangle (device coordinates of the painter).
    void PrintOnto(QPainter& painter, const QRect& page) const;

    // The tip under a position of the widget; empty where there is none.
    virtual QString toolTipAt(QPoint position) const { return {}; }

    // The look settings shared by both charts.
    virtual const ChartStyle& style() const = 0;
    void setBackgroundColor(uint32_t bgr) { assign(mutableStyle().background, bgr); }
    void setTextColor(uint32_t bgr) { assign(mutableStyle().textColor, bgr); }
    void setTitleColor(uint32_t bgr) { assign(mutableStyle().titleColor, bgr); }
    // Empty: the default face.
    void setFontFace(const std::string& gbk) { assign(mutableStyle().fontFace, gbk); }
    void setTitlePixels(int32_t pixels);  // 6..72
    void setTextPixels(int32_t pixels);   // 6..72
    void setShowTitle(bool on) { assign(mutableStyle().showTitle, on); }
    bool showTitle() const { return style().showTitle; }
    void setBorder(bool on) { assign(mutableStyle().border, on); }
    bool border() const { return style().border; }
    void setBackgroundPicture(const std::string& encoded) {
        assign(mutableStyle().picture, encoded);
    }
    const std::string& backgroundPicture() const { return style().picture; }
    // Height of the title band above the plot area (0 when no title is shown).
    int titleBandHeight() const;

  protected:
    // Shows toolTipAt's tip, or hides any tip where it is empty.
    bool event(QEvent* event) override;
    virtual ChartStyle& mutableStyle() = 0;
    virtual QString titleText() const = 0;
    // The chart's own rows, for own numbers kFirstChartProperty on.
    virtual std::span<const ChartPropertyRow> chartRows() const = 0;
    void paintEvent(QPaintEvent* event) override;
    // Stores a setting and repaints.
    template <typename Field, typename V>
    void assign(Field& field, V&& value) {
        field = std::forward<V>(value);
        update();
    }

  private:
    const ChartPropertyRow* rowOf(int number) const;
};

}  // namespace tavrin::charts
