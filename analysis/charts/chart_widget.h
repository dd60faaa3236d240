// The base of the chart controls: a widget painted by the chart's own drawing,
// with property access by the chart's own property number for the window layer.
#pragma once

#include <QRect>
#include <QWidget>
#include <optional>
#include <vector>

#include "analysis/charts/chart_painting.h"
#include "analysis/charts/chart_property.h"
#include "runtime/value.h"

namespace tavrin::charts {

// Own property numbers 0..5 are the same on both charts.
enum StyleProperty : int {
    kBackgroundColourProperty = 0,
    kTextColourProperty = 1,
    kTitleColourProperty = 2,
    kFontFaceProperty = 3,
    kTitlePixelsProperty = 4,  // 6..72
    kTextPixelsProperty = 5,   // 6..72
};

class ChartWidget : public QWidget {
    Q_OBJECT

  public:
    explicit ChartWidget(QWidget* parent = nullptr);

    // Writes a property by its own number (control property index - 8) under the
    // property's rule and repaints; false for a number the chart does not have.
    virtual bool WriteProperty(int number, const Value& value) = 0;
    // A fresh result (texts and byte-sets belong to the caller); the empty Value
    // for a number the chart does not have.
    virtual Value ReadProperty(int number) const = 0;
    // The chart's property table, by own property number.
    virtual const std::vector<ChartPropertyInfo>& PropertyTable() const = 0;
    // The data kind of a property, or nullopt for a number the chart does not have.
    std::optional<PropertyKind> KindOfProperty(int number) const;

    // Draws the chart into the rectangle (0, 0, size) of any painter.
    virtual void PaintChart(QPainter& painter, QSize size, ChartMedium medium) const = 0;
    // Draws the chart onto a printer page with the print variants of lines and
    // marks, laid out over the page rectangle (device coordinates of the painter).
    void PrintOnto(QPainter& painter, const QRect& page) const;

    // The look settings shared by both charts.
    virtual const ChartStyle& style() const = 0;
    void setBackgroundColour(uint32_t bgr);
    void setTextColour(uint32_t bgr);
    void setTitleColour(uint32_t bgr);
    void setFontFace(const std::string& gbk);  // empty: the default face
    void setTitlePixels(int32_t pixels);
    void setTextPixels(int32_t pixels);
    // Height of the title band above the plot area (0 when no title is shown).
    int titleBandHeight() const;

  protected:
    virtual ChartStyle& mutableStyle() = 0;
    virtual QString titleText() const = 0;
    void paintEvent(QPaintEvent* event) override;
    // Own numbers 0..5.
    bool WriteStyleProperty(int number, const Value& value);
    std::optional<Value> ReadStyleProperty(int number) const;
};

}  // namespace tavrin::charts
