// Shared helpers of the chart tests: the application object, GBK texts, and
// rendering a chart into an image.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <string>
#include <vector>

#include "analysis/charts/chart_widget.h"

namespace tavrin::charts::test {

std::string Gbk(const char* utf8);

// Colours as PixelBgr reads them.
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

// The chart resized to the size and rendered through its paint event.
QImage RenderWidget(ChartWidget& chart, QSize size);
// The chart drawn with the given medium straight into an image of the size.
QImage RenderMedium(const ChartWidget& chart, QSize size, ChartMedium medium);

// 0x00BBGGRR of a pixel.
uint32_t PixelBgr(const QImage& image, int x, int y);
bool Near(QColor a, QColor b, int tolerance = 8);

// A text the chart drew, with the rectangle its glyphs take.
struct DrawnText {
    QString text;
    QRectF box;
};
// Every text the chart draws when painted at the size, in drawing order.
std::vector<DrawnText> DrawnTexts(const ChartWidget& chart, QSize size, ChartMedium medium);

// Saves a look at the rendering under /tmp when TAVRIN_CHART_PNG_DIR is set.
void SaveForLooking(const QImage& image, const char* name);

}  // namespace tavrin::charts::test
