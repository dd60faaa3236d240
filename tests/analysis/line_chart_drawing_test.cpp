// Pixels the line chart's drawing rules fix: the plot box, y labels, dotted
// grid, ticks, point marks at slot centres and value heights, the top line,
// the print variants, and the tool-tips.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "analysis/charts/line_chart.h"
#include "chart_test_support.h"

namespace tavrin::charts {
namespace {

using test::Gbk;
using test::PixelBgr;

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

// The plot box by the layout rules, measured independently of the chart's code.
struct Box {
    int axisX, axisY, axisTop, axisEnd;
    double slot;
    double slotCentre(int p) const { return axisX + (p + 0.5) * slot; }
    double heightOf(double v, int maximum) const {
        return v < maximum ? axisY - v * (double(axisY - axisTop) / maximum) : axisTop;
    }
};

Box ExpectedBox(const LineChart& line, QSize size) {
    const QFontMetrics m(TextFont(line.style()));
    int widest = m.horizontalAdvance(QStringLiteral("0"));
    for (int k = 1; k <= line.divisions(); ++k) {
        const long long label =
            std::llround(std::floor(double(k) * line.maximum() / line.divisions() + 0.5));
        widest = std::max(widest, m.horizontalAdvance(QString::number(label)));
    }
    Box b;
    b.axisX = std::max(widest, m.horizontalAdvance(ChartText(line.unit())) / 2) + 40;
    b.axisY = size.height() - (30 + m.height());
    b.axisEnd = size.width() - (10 + m.horizontalAdvance(ChartText(line.caption())));
    b.axisTop = line.titleBandHeight() + 20 + m.height();
    b.slot = double(b.axisEnd - b.axisX) / line.pointCount();
    return b;
}

// The trend chart as the program sets it up: two series over twelve months.
void SetUpTrend(LineChart& line, int maximum, const double (&income)[12],
                const double (&expense)[12]) {
    line.setTitle(Gbk("收支趋势图"));
    line.setUnit(Gbk("千元"));
    line.setCaption(Gbk("月份"));
    line.setDivisions(10);
    line.setPointCount(12);
    line.setSeriesCount(2);
    line.setBorder(false);
    line.setMaximum(maximum);
    const double* values[2] = {income, expense};
    const uint32_t colours[2] = {kRed, kBlue};
    const char* names[2] = {"收入金额", "支出金额"};
    for (int s = 0; s < 2; ++s) {
        line.setCurrentSeries(s);
        line.setSeriesColour(colours[s]);
        line.setSeriesName(Gbk(names[s]));
        for (int p = 0; p < 12; ++p) {
            line.setCurrentPoint(p);
            line.setPointValue(values[s][p]);
            line.setPointLabel(Gbk((std::to_string(p + 1) + "月").c_str()));
        }
    }
}

const double kIncome[12] = {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 25, 1};
const double kExpense[12] = {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15};

TEST(LineChartDrawing, MarksSitAtSlotCentresAndValueHeights) {
    LineChart line;
    SetUpTrend(line, 20, kIncome, kExpense);
    const QSize size(640, 400);
    const QImage image = test::RenderWidget(line, size);
    test::SaveForLooking(image, "line_trend");
    const Box b = ExpectedBox(line, size);
    for (int p = 0; p < 12; ++p) {
        const int x = int(std::lround(b.slotCentre(p)));
        // Income: a value of 20 or more (the maximum) sits on the top line.
        const int yIncome = int(std::lround(b.heightOf(kIncome[p], 20)));
        EXPECT_EQ(PixelBgr(image, x, yIncome), kRed) << "point " << p;
        const int yExpense = int(std::lround(b.heightOf(kExpense[p], 20)));
        // The expense line is level: 6 pixels above and below its centre only the
        // 15-pixel mark reaches, not the 5-pixel line.
        if (std::abs(yExpense - yIncome) > 16) {
            EXPECT_EQ(PixelBgr(image, x, yExpense), kBlue) << "point " << p;
            EXPECT_EQ(PixelBgr(image, x - 6, yExpense - 6), kBlue) << "point " << p;
            EXPECT_EQ(PixelBgr(image, x + 6, yExpense + 6), kBlue) << "point " << p;
            EXPECT_NE(PixelBgr(image, x + 10, yExpense + 9), kBlue) << "point " << p;
        }
    }
    EXPECT_EQ(b.heightOf(kIncome[9], 20), b.axisTop);
    // The series key sits in the title band, right of the centred title.
    for (uint32_t colour : {kRed, kBlue}) {
        int inBand = 0;
        for (int y = 0; y < line.titleBandHeight(); ++y)
            for (int x = size.width() / 2 + 60; x < size.width(); ++x)
                inBand += PixelBgr(image, x, y) == colour;
        EXPECT_GT(inBand, 20);
    }
    EXPECT_EQ(PixelBgr(image, int(std::lround(b.slotCentre(10))), b.axisTop), kRed);
}

TEST(LineChartDrawing, AxesTicksAndDottedGrid) {
    LineChart line;
    // Both series run between the x axis and the first grid line.
    const double low[12] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    SetUpTrend(line, 20, low, low);
    const QSize size(640, 400);
    const QImage image = test::RenderWidget(line, size);
    const Box b = ExpectedBox(line, size);
    // The axes.
    EXPECT_EQ(PixelBgr(image, b.axisX, (b.axisTop + b.axisY) / 2), kBlack);
    EXPECT_EQ(PixelBgr(image, (b.axisX + b.axisEnd) / 2, b.axisY), kBlack);
    EXPECT_EQ(PixelBgr(image, b.axisEnd + 2, b.axisY), kWhite);
    const double axisHeight = b.axisY - b.axisTop;
    for (int k = 1; k <= 10; ++k) {
        const int y = b.axisY - int(std::lround(k * axisHeight / 10));
        // A 15-pixel tick left of the y axis at every level.
        EXPECT_EQ(PixelBgr(image, b.axisX - 14, y), kBlack) << "level " << k;
        EXPECT_EQ(PixelBgr(image, b.axisX - 18, y), kWhite) << "level " << k;
        // A dotted grey line: grey and background alternate along it.
        int grey = 0, white = 0;
        for (int x = b.axisX + 20; x < b.axisEnd - 20; ++x) {
            grey += PixelBgr(image, x, y) == 0x808080;
            white += PixelBgr(image, x, y) == kWhite;
        }
        EXPECT_GT(grey, 50) << "level " << k;
        EXPECT_GT(white, 50) << "level " << k;
    }
    // A tick under the x axis at every boundary between slots, none after the last.
    for (int i = 1; i < 12; ++i) {
        const int x = b.axisX + int(std::lround(i * b.slot));
        EXPECT_EQ(PixelBgr(image, x, b.axisY + 14), kBlack) << "boundary " << i;
        EXPECT_EQ(PixelBgr(image, x, b.axisY + 16), kWhite) << "boundary " << i;
    }
    EXPECT_NE(PixelBgr(image, b.axisEnd, b.axisY + 14), kBlack);
    EXPECT_NE(PixelBgr(image, b.axisEnd - 1, b.axisY + 14), kBlack);
}

TEST(LineChartDrawing, AMaximumOfZeroPutsEveryPointOnTheTopLine) {
    LineChart line;
    const double small[12] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 0.99, 0};
    SetUpTrend(line, 0, small, small);
    EXPECT_EQ(YAxisLabel(10, 0, 10), QStringLiteral("0"));
    EXPECT_EQ(YAxisLabel(1, 0, 10), QStringLiteral("0"));
    const QSize size(640, 400);
    const QImage image = test::RenderWidget(line, size);
    test::SaveForLooking(image, "line_maximum_zero");
    const Box b = ExpectedBox(line, size);
    for (int p = 0; p < 12; ++p) {
        const int x = int(std::lround(b.slotCentre(p)));
        EXPECT_EQ(PixelBgr(image, x, b.axisTop), kBlue) << "point " << p;
        // Nothing of the series near the x axis.
        EXPECT_NE(PixelBgr(image, x, b.axisY - 5), kBlue);
        EXPECT_NE(PixelBgr(image, x, b.axisY - 5), kRed);
    }
}

TEST(LineChartDrawing, YLabelsRoundHalvesUp) {
    EXPECT_EQ(YAxisLabel(1, 25, 10), QStringLiteral("3"));  // 2.5
    EXPECT_EQ(YAxisLabel(3, 25, 10), QStringLiteral("8"));  // 7.5
    EXPECT_EQ(YAxisLabel(1, 24, 10), QStringLiteral("2"));  // 2.4
    EXPECT_EQ(YAxisLabel(7, 20, 10), QStringLiteral("14"));
    EXPECT_EQ(YAxisLabel(3, 10000000, 3), QStringLiteral("10000000"));
}

TEST(LineChartDrawing, PrintVariantUsesThinLinesAndSmallMarks) {
    LineChart line;
    SetUpTrend(line, 20, kIncome, kExpense);
    const QSize size(640, 400);
    line.resize(size);
    const Box b = ExpectedBox(line, size);
    const QImage screen = test::RenderMedium(line, size, ChartMedium::kScreen);
    const QImage print = test::RenderMedium(line, size, ChartMedium::kPrint);
    test::SaveForLooking(print, "line_print_variant");
    const int y = int(std::lround(b.heightOf(15, 20)));
    const int x = int(std::lround(b.slotCentre(3)));
    EXPECT_EQ(PixelBgr(screen, x, y), kBlue);
    EXPECT_EQ(PixelBgr(print, x, y), kBlue);
    // The 15-pixel mark reaches 6 pixels from the centre, the 4-pixel one does not;
    // the level line is 5 pixels wide on the screen and 2 on paper.
    EXPECT_EQ(PixelBgr(screen, x, y - 6), kBlue);
    EXPECT_NE(PixelBgr(print, x, y - 6), kBlue);
    const int between = int(std::lround((b.slotCentre(3) + b.slotCentre(4)) / 2));
    EXPECT_EQ(PixelBgr(screen, between, y - 2), kBlue);
    EXPECT_NE(PixelBgr(print, between, y - 2), kBlue);
    EXPECT_NE(PixelBgr(print, between, y + 2), kBlue);
}

TEST(LineChartDrawing, CrowdedAndTinyChartsDrawWithoutHarm) {
    LineChart line;
    line.setSeriesCount(100);
    line.setPointCount(100);
    line.setDivisions(100);
    line.setMaximum(10000000);
    for (int s = 0; s < 100; ++s) {
        line.setCurrentSeries(s);
        for (int p = 0; p < 100; ++p) {
            line.setCurrentPoint(p);
            line.setPointValue(double(s) * p * 1000);
        }
    }
    for (QSize size : {QSize(1, 1), QSize(60, 40), QSize(900, 600)}) {
        for (ChartMedium medium : {ChartMedium::kScreen, ChartMedium::kPrint}) {
            line.resize(size);
            const QImage image = test::RenderMedium(line, size, medium);
            EXPECT_EQ(image.size(), size);
        }
    }
    EXPECT_EQ(LayoutLineChart(QSize(900, 600), line.model(), ChartMedium::kScreen).marks.size(),
              10000u);
}

TEST(LineChartDrawing, ToolTipsShowTheValueInTheTemplate) {
    LineChart line;
    SetUpTrend(line, 20, kIncome, kExpense);
    line.setCurrentSeries(0);
    line.setCurrentPoint(4);
    line.setPointValue(1.2345);
    line.setToolTipTemplate(Gbk("收入 ${v} 千元"));
    const QSize size(640, 400);
    line.resize(size);
    const Box b = ExpectedBox(line, size);
    const QPoint mark(int(std::lround(b.slotCentre(4))), int(std::lround(b.heightOf(1.2345, 20))));
    EXPECT_EQ(line.toolTipAt(mark), QStringLiteral("收入 1.2345 千元"));
    EXPECT_EQ(line.toolTipAt(mark + QPoint(7, 7)), QStringLiteral("收入 1.2345 千元"));
    EXPECT_EQ(line.toolTipAt(mark + QPoint(0, -30)), QString());
    const QPoint expenseMark(int(std::lround(b.slotCentre(0))),
                             int(std::lround(b.heightOf(15, 20))));
    EXPECT_EQ(line.toolTipAt(expenseMark), QStringLiteral("收入 15 千元"));
    line.setToolTipDecimals(2);
    EXPECT_EQ(line.toolTipAt(expenseMark), QStringLiteral("收入 15.00 千元"));
    line.setShowToolTips(false);
    EXPECT_EQ(line.toolTipAt(expenseMark), QString());

    // Through the widget's own tool-tip event.
    line.setShowToolTips(true);
    line.setToolTipDecimals(0);
    line.show();
    QApplication::processEvents();
    QHelpEvent help(QEvent::ToolTip, mark, line.mapToGlobal(mark));
    QApplication::sendEvent(&line, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("收入 1.2345 千元"));
    QToolTip::hideText();
}

}  // namespace
}  // namespace tavrin::charts
