// Fonts, frame, title band and page placement shared by the chart controls.
#include "analysis/charts/chart_painting.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QTransform>
#include <cmath>

#include "analysis/charts/chart_palette.h"
#include "chart_text_constants.h"
#include "runtime/gbk.h"

namespace tavrin::charts {

namespace {

QFont FontOf(const ChartStyle& style, int32_t pixels, bool bold) {
    QFont font(ChartText(style.fontFace.empty() ? std::string(chart_text::DefaultFontFace)
                                                : style.fontFace));
    font.setPixelSize(pixels);
    font.setBold(bold);
    // Layout is measured once with these metrics for screen and paper alike.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace

QString ChartText(const std::string& gbk) {
    return GbkToQString(gbk);
}

QFont TitleFont(const ChartStyle& style) {
    return FontOf(style, style.titlePixels, true);
}
QFont TextFont(const ChartStyle& style) {
    return FontOf(style, style.textPixels, false);
}

int TitleBandHeight(const ChartStyle& style, const QString& title) {
    if (!style.showTitle || title.isEmpty()) return 0;
    return QFontMetrics(TitleFont(style)).height() + 10;
}

int PaintChartFrame(QPainter& painter, QSize size, const ChartStyle& style, const QString& title) {
    const QRect all(QPoint(0, 0), size);
    painter.fillRect(all, ColorFromBgr(style.background));
    if (!style.picture.empty()) {
        QImage picture;
        if (picture.loadFromData(reinterpret_cast<const uchar*>(style.picture.data()),
                                 int(style.picture.size())))
            painter.drawImage(all, picture);
    }
    const int band = TitleBandHeight(style, title);
    if (band > 0) {
        painter.setFont(TitleFont(style));
        painter.setPen(ColorFromBgr(style.titleColor));
        painter.drawText(QRect(0, 0, size.width(), band), Qt::AlignCenter, title);
    }
    if (style.border) {
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(all.adjusted(0, 0, -1, -1));
    }
    return band;
}

void PaintOntoPage(QPainter& painter, const QRect& page, const ChartPaintFunction& paint) {
    const QPaintDevice* device = painter.device();
    // Units of the painter per inch: the device's resolution through whatever
    // transform the caller has already set.
    const QTransform& t = painter.worldTransform();
    const double factor = std::hypot(t.m11(), t.m12());
    const int dpi = device ? device->logicalDpiX() : 96;
    const double unitsPerInch = dpi > 0 && factor > 0 ? dpi / factor : 96.0;
    const double scale = unitsPerInch / 96.0;
    const QSize logical(qMax(1, int(page.width() / scale)), qMax(1, int(page.height() / scale)));
    painter.save();
    painter.translate(page.topLeft());
    painter.scale(scale, scale);
    painter.setClipRect(QRect(QPoint(0, 0), logical));
    paint(painter, logical);
    painter.restore();
}

}  // namespace tavrin::charts
