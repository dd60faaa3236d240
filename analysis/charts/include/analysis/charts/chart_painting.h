// Drawing shared by the chart controls: the look settings every chart has, its
// fonts, background, border and title band, and the placement onto a printer page.
#pragma once

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

namespace tavrin::charts {

// Where a chart is drawn: the screen, or a printer page (thinner lines, smaller marks).
enum class ChartMedium { kScreen, kPrint };

// Font sizes are in pixels of the chart's own coordinates, so that a chart
// scaled onto a printer page keeps its proportions.
constexpr int32_t kMinFontPixels = 6;
constexpr int32_t kMaxFontPixels = 72;

// The look settings every chart has; colours are 0x00BBGGRR, texts GBK.
struct ChartStyle {
    uint32_t background = 0xFFFFFF;
    uint32_t textColor = 0x000000;
    uint32_t titleColor = 0x000000;
    std::string fontFace;  // empty: the default face
    int32_t titlePixels = 18;
    int32_t textPixels = 12;
    std::string picture;  // encoded background picture (PNG, JPEG, BMP...); empty: none
    bool border = true;
    bool showTitle = true;
};

QFont TitleFont(const ChartStyle& style);
QFont TextFont(const ChartStyle& style);

// Height of the band above the plot area that holds the title: the title's text
// height plus 5 pixels above and below; 0 when no title is shown (hidden or empty).
int TitleBandHeight(const ChartStyle& style, const QString& title);

// Fills the background (colour, then the picture stretched over it), draws the
// border and the title centred in its band. Returns the top of the plot area.
int PaintChartFrame(QPainter& painter, QSize size, const ChartStyle& style, const QString& title);

// Draws a chart onto a printer page: the chart is laid out over the whole page
// rectangle (in the painter's current coordinates) in units of 1/96 inch, the
// screen's pixel, and scaled to the device's resolution.
using ChartPaintFunction = std::function<void(QPainter&, QSize)>;
void PaintOntoPage(QPainter& painter, const QRect& page, const ChartPaintFunction& paint);

// The text as the widgets show it (GBK → QString).
QString ChartText(const std::string& gbk);

}  // namespace tavrin::charts
