// Printing the charts onto PDF pages: the page rendered back (pdftoppm) shows
// the chart where the page layout puts it.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

#include "analysis/charts/chart_palette.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "chart_test_support.h"

namespace tavrin::charts {
namespace {

using test::Gbk;

constexpr int kRenderDpi = 48;  // pdftoppm resolution: half the chart's 96 units per inch

// Prints the charts one per page, full page, landscape A4; in points when the
// painter is first scaled to 1/72 inch, else in device pixels.
void PrintCharts(const QString& file, std::initializer_list<const ChartWidget*> charts,
                 bool inPoints = false) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&printer);
    bool first = true;
    for (const ChartWidget* chart : charts) {
        if (!first) printer.newPage();
        first = false;
        if (inPoints) {
            painter.resetTransform();
            painter.scale(printer.resolution() / 72.0, printer.resolution() / 72.0);
            chart->PrintOnto(painter,
                             QRect(0, 0, int(printer.width() * 72.0 / printer.resolution()),
                                   int(printer.height() * 72.0 / printer.resolution())));
        } else {
            chart->PrintOnto(painter, QRect(0, 0, printer.width(), printer.height()));
        }
    }
}

// The PDF's pages as images.
std::vector<QImage> RenderPdf(const QString& pdf, const QString& dir) {
    const QString prefix = dir + QStringLiteral("/page");
    QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(kRenderDpi), QStringLiteral("-png"), pdf, prefix});
    std::vector<QImage> pages;
    const QStringList files =
        QDir(dir).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name);
    for (const QString& f : files) pages.push_back(QImage(dir + QLatin1Char('/') + f));
    return pages;
}

bool NearBgr(const QImage& image, QPoint p, uint32_t bgr) {
    return test::Near(QColor(image.pixel(p)), ColorFromBgr(bgr), 24);
}

TEST(ChartPrinting, BothChartsAppearOnTheirPdfPages) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    PieChart pie;
    pie.setTitle(Gbk("结构比例图"));
    pie.setUnit(Gbk("元"));
    pie.setItemCount(2);
    pie.setCurrentItem(0);
    pie.setItemColor(0x0000FF);
    pie.setItemValue(3);
    pie.setCurrentItem(1);
    pie.setItemColor(0xFF0000);
    pie.setItemName(Gbk("餐饮"));
    pie.setItemValue(1);

    LineChart line;
    line.setTitle(Gbk("收支趋势图"));
    line.setPointCount(12);
    line.setMaximum(20);
    for (int p = 0; p < 12; ++p) {
        line.setCurrentPoint(p);
        line.setPointValue(10);
        line.setPointLabel(Gbk((std::to_string(p + 1) + "月").c_str()));
    }

    const QString pdf = dir.filePath(QStringLiteral("charts.pdf"));
    PrintCharts(pdf, {&pie, &line});
    const std::vector<QImage> pages = RenderPdf(pdf, dir.path());
    ASSERT_EQ(pages.size(), 2u);
    test::SaveForLooking(pages[0], "print_pie_page");
    test::SaveForLooking(pages[1], "print_line_page");

    // Landscape A4 in the chart's units of 1/96 inch, and in the rendered pixels.
    const QImage& piePage = pages[0];
    ASSERT_GT(piePage.width(), piePage.height());
    const double toPixels = double(kRenderDpi) / 96.0;
    const int logicalWidth = int(std::lround(piePage.width() / toPixels));
    const int logicalHeight = int(std::lround(piePage.height() / toPixels));
    const int plotTop = pie.titleBandHeight();
    const int r = std::min((logicalWidth - 60) / 2, (logicalHeight - plotTop - 60) / 2);
    const QPointF centre(logicalWidth / 2.0, plotTop + r + 30.0);
    auto onPage = [&](double t, double share) {
        const double a = t * M_PI / 180.0;
        return QPoint(int(std::lround((centre.x() - r * share * std::cos(a)) * toPixels)),
                      int(std::lround((centre.y() - r * share * std::sin(a)) * toPixels)));
    };
    // Item 0 holds three quarters: from the left over the top and right to the bottom.
    EXPECT_TRUE(NearBgr(piePage, onPage(45, 0.5), 0x0000FF));
    EXPECT_TRUE(NearBgr(piePage, onPage(200, 0.5), 0x0000FF));
    EXPECT_TRUE(NearBgr(piePage, onPage(315, 0.5), 0xFF0000));
    EXPECT_TRUE(NearBgr(piePage, QPoint(5, piePage.height() - 5), 0xFFFFFF));

    // A caller whose painter already works in points gets the same page.
    QTemporaryDir pointsDir;
    const QString pointsPdf = pointsDir.filePath(QStringLiteral("points.pdf"));
    PrintCharts(pointsPdf, {&pie}, true);
    const std::vector<QImage> pointPages = RenderPdf(pointsPdf, pointsDir.path());
    ASSERT_EQ(pointPages.size(), 1u);
    EXPECT_TRUE(NearBgr(pointPages[0], onPage(45, 0.5), 0x0000FF));
    EXPECT_TRUE(NearBgr(pointPages[0], onPage(315, 0.5), 0xFF0000));
    EXPECT_TRUE(NearBgr(pointPages[0], onPage(315, 1.1), 0xFFFFFF));

    // The line chart's series crosses the middle of the page in its colour.
    const QImage& linePage = pages[1];
    int red = 0, inked = 0;
    for (int y = 0; y < linePage.height(); ++y)
        for (int x = 0; x < linePage.width(); ++x) {
            const QColor c(linePage.pixel(x, y));
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            inked += c.lightness() < 200;
        }
    EXPECT_GT(red, 100);
    EXPECT_GT(inked, 500);
}

}  // namespace
}  // namespace tavrin::charts
