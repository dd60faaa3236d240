// Pixels and texts of the trend chart's drawing: the y axis scaled from the
// values in round steps with labels that never touch, every point at its true
// height on that axis, x labels thinned where they would touch, ticks, dotted
// grid, the print variants and the tool-tips. Positions are read from what the
// chart drew (its labels' texts and places), not from its own layout code.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QRegularExpression>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "analysis/charts/line_chart.h"
#include "chart_test_support.h"

namespace tavrin::charts {
namespace {

using namespace test;

const QSize kA4Across(1123, 794);  // an A4 page across, in 1/96 inch

// The trend chart as the program sets it up: two series over twelve months,
// values in 千元 and the stored maximum as the period views compute it.
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
    const uint32_t colors[2] = {kRed, kBlue};
    const char* names[2] = {"收入金额", "支出金额"};
    for (int s = 0; s < 2; ++s) {
        line.setCurrentSeries(s);
        line.setSeriesColor(colors[s]);
        line.setSeriesName(Gbk(names[s]));
        for (int p = 0; p < 12; ++p) {
            line.setCurrentPoint(p);
            line.setPointValue(values[s][p]);
            line.setPointLabel(Gbk((std::to_string(p + 1) + "月").c_str()));
        }
    }
}

// The axes as the chart drew them: the level labels of the y axis (value and
// box, bottom to top), the unit written above it, the x labels by point.
struct DrawnAxes {
    std::vector<std::pair<double, QRectF>> levels;
    QString unit;
    std::vector<std::pair<int, QRectF>> xLabels;

    // Chart values are 千元; the axis shows 元 or 万元.
    double shown(double thousands) const {
        return unit == QStringLiteral("万元") ? thousands / 10 : thousands * 1000;
    }
    // The height of a shown value, from the first and last level labels' centres.
    double yOf(double value) const {
        const auto& [v0, b0] = levels.front();
        const auto& [v1, b1] = levels.back();
        return b0.center().y() + (value - v0) * (b1.center().y() - b0.center().y()) / (v1 - v0);
    }
    // The centre of a point's slot, from the first two x labels drawn.
    double xOf(int point) const {
        const auto& [p0, b0] = xLabels[0];
        const auto& [p1, b1] = xLabels[1];
        const double slot = (b1.center().x() - b0.center().x()) / (p1 - p0);
        return b0.center().x() + (point - p0) * slot;
    }
};

DrawnAxes ReadAxes(const LineChart& line, QSize size, ChartMedium medium) {
    DrawnAxes axes;
    static const QRegularExpression month(QStringLiteral("^(\\d+)月$"));
    for (const test::DrawnText& t : test::DrawnTexts(line, size, medium)) {
        bool number = false;
        const double value = t.text.toDouble(&number);
        if (number) {
            axes.levels.push_back({value, t.box});
        } else if (t.text == QStringLiteral("元") || t.text == QStringLiteral("万元")) {
            axes.unit = t.text;
        } else if (const auto m = month.match(t.text); m.hasMatch()) {
            axes.xLabels.push_back({m.captured(1).toInt() - 1, t.box});
        }
    }
    return axes;
}

// The chart's checks on what it drew: levels from 0 in one round step that
// reach the largest value, level labels and x labels that never touch, and
// every point's mark at its value's height in the middle of its slot.
void ExpectReadableAxesAndTruePoints(const LineChart& line, QSize size, const double (&income)[12],
                                     const double (&expense)[12],
                                     ChartMedium medium = ChartMedium::kScreen) {
    SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()) +
                 (medium == ChartMedium::kPrint ? " printed" : ""));
    const QImage image = test::RenderMedium(line, size, medium);
    const DrawnAxes axes = ReadAxes(line, size, medium);
    ASSERT_GE(axes.levels.size(), 2u);
    ASSERT_FALSE(axes.unit.isEmpty());
    ASSERT_GE(axes.xLabels.size(), 2u);
    EXPECT_EQ(axes.levels.front().first, 0.0);
    const double step = axes.levels[1].first - axes.levels[0].first;
    const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double mantissa = step / power;
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-6 || std::abs(mantissa - 2) < 1e-6 ||
                std::abs(mantissa - 5) < 1e-6)
        << step;
    double largest = 0;
    for (int p = 0; p < 12; ++p) largest = std::max({largest, income[p], expense[p]});
    EXPECT_GE(axes.levels.back().first + 1e-9, axes.shown(largest));
    for (size_t k = 1; k < axes.levels.size(); ++k) {
        EXPECT_NEAR(axes.levels[k].first - axes.levels[k - 1].first, step, step * 1e-6);
        // Higher levels above, with room between the labels.
        EXPECT_LE(axes.levels[k].second.bottom(), axes.levels[k - 1].second.top()) << k;
    }
    for (size_t i = 1; i < axes.xLabels.size(); ++i)
        EXPECT_LT(axes.xLabels[i - 1].second.right(), axes.xLabels[i].second.left()) << i;
    const double* values[2] = {income, expense};
    const uint32_t colors[2] = {kRed, kBlue};
    for (int s = 0; s < 2; ++s)
        for (int p = 0; p < 12; ++p) {
            const int x = int(std::lround(axes.xOf(p)));
            const int y = int(std::lround(axes.yOf(axes.shown(values[s][p]))));
            // The other series' mark may lie on top.
            const double other = values[1 - s][p];
            if (s == 0 && std::abs(axes.yOf(axes.shown(other)) - y) < 16) continue;
            EXPECT_EQ(PixelBgr(image, x, y), colors[s]) << "series " << s << " point " << p;
        }
}

// The trend chart set up with these values, readable at the template's chart
// size, at a larger one, at the size of a maximised main window and printed on
// an A4 page across; its axis in `unit` on the screen and on paper, with
// `topLevel` as the top level on the screen.
void ExpectReadableEverywhere(const LineChart& line, const double (&income)[12],
                              const double (&expense)[12], const QString& unit, double topLevel) {
    for (QSize size : {QSize(470, 140), QSize(640, 400), QSize(1400, 420)})
        ExpectReadableAxesAndTruePoints(line, size, income, expense);
    ExpectReadableAxesAndTruePoints(line, kA4Across, income, expense, ChartMedium::kPrint);
    EXPECT_EQ(ReadAxes(line, kA4Across, ChartMedium::kPrint).unit, unit);
    const DrawnAxes onScreen = ReadAxes(line, QSize(640, 400), ChartMedium::kScreen);
    EXPECT_EQ(onScreen.unit, unit);
    EXPECT_EQ(onScreen.levels.back().first, topLevel);
}

// A year of months under 1,000 元, and the same year with one month of 28,500 元:
// the axis follows the values (元, then 万元), every point at its true height
// (not all on the top line, not 28.5 drawn at 28), at the template's chart
// size, at a larger one, at the size of a maximised main window and on an A4
// page across (in the chart's units of 1/96 inch), where it is printed.
TEST(LineChartDrawing, TheAxisFollowsTheValuesWithRoundStepsAndLabelsThatNeverTouch) {
    const double small[12] = {0.12, 0.35, 0.98, 0.5, 0.25, 0.999, 0.61, 0.07, 0.4, 0.8, 0.33, 0};
    const double spent[12] = {0.05, 0.3, 0.2, 0.45, 0.9, 0.1, 0.3, 0.6, 0.2, 0.15, 0.75, 0.5};
    LineChart line;
    SetUpTrend(line, 0, small, spent);  // months under 1,000 元 give the maximum 0
    ExpectReadableEverywhere(line, small, spent, QStringLiteral("元"), 1000);
    test::SaveForLooking(test::RenderWidget(line, QSize(470, 140)), "line_small_year");

    double withBonus[12];
    std::copy(std::begin(small), std::end(small), withBonus);
    withBonus[5] = 28.5;
    SetUpTrend(line, 28, withBonus, spent);
    ExpectReadableEverywhere(line, withBonus, spent, QStringLiteral("万元"), 3);
    test::SaveForLooking(test::RenderWidget(line, QSize(470, 140)), "line_bonus_year");
    test::SaveForLooking(test::RenderWidget(line, QSize(1400, 420)), "line_bonus_year_wide");

    // A year without any amount still reads as money from 0.
    const double none[12] = {};
    SetUpTrend(line, 0, none, none);
    ExpectReadableAxesAndTruePoints(line, QSize(640, 400), none, none);
}

const double kIncome[12] = {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 25, 1};
const double kExpense[12] = {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15};

TEST(LineChartDrawing, MarksSitOnTheirLevelsAndTheSeriesKeyInTheTitleBand) {
    LineChart line;
    SetUpTrend(line, 20, kIncome, kExpense);
    const QSize size(640, 400);
    const QImage image = test::RenderWidget(line, size);
    test::SaveForLooking(image, "line_trend");
    ExpectReadableAxesAndTruePoints(line, size, kIncome, kExpense);
    const DrawnAxes axes = ReadAxes(line, size, ChartMedium::kScreen);
    // 25,000 元 is the largest: the axis runs to 2.5 万元, the month of 25 at its top.
    EXPECT_EQ(axes.unit, QStringLiteral("万元"));
    EXPECT_EQ(axes.levels.back().first, 2.5);
    for (int p = 0; p < 12; ++p) {
        const int x = int(std::lround(axes.xOf(p)));
        const int y = int(std::lround(axes.yOf(1.5)));
        // The expense line is level: 6 pixels above and below its centre only the
        // 15-pixel mark reaches, not the 5-pixel line.
        if (std::abs(axes.yOf(axes.shown(kIncome[p])) - y) > 16) {
            EXPECT_EQ(PixelBgr(image, x - 6, y - 6), kBlue) << "point " << p;
            EXPECT_EQ(PixelBgr(image, x + 6, y + 6), kBlue) << "point " << p;
            EXPECT_NE(PixelBgr(image, x + 10, y + 9), kBlue) << "point " << p;
        }
    }
    // The series key sits in the title band, right of the centred title.
    for (uint32_t color : {kRed, kBlue}) {
        int inBand = 0;
        for (int y = 0; y < line.titleBandHeight(); ++y)
            for (int x = size.width() / 2 + 60; x < size.width(); ++x)
                inBand += PixelBgr(image, x, y) == color;
        EXPECT_GT(inBand, 20);
    }
}

TEST(LineChartDrawing, AxesTicksAndDottedGrid) {
    LineChart line;
    // Both series run level between grid lines: 430 and 370 元 on a 0 to 500 元 axis.
    const double high[12] = {.43, .43, .43, .43, .43, .43, .43, .43, .43, .43, .43, .43};
    const double low[12] = {.37, .37, .37, .37, .37, .37, .37, .37, .37, .37, .37, .37};
    SetUpTrend(line, 0, high, low);
    const QSize size(640, 400);
    const QImage image = test::RenderWidget(line, size);
    const DrawnAxes axes = ReadAxes(line, size, ChartMedium::kScreen);
    ASSERT_GE(axes.levels.size(), 3u);
    // The y axis: the first black column right of the level labels, between levels.
    const int between = int(
        std::lround((axes.levels[0].second.center().y() + axes.levels[1].second.center().y()) / 2));
    int axisX = int(axes.levels[0].second.right()) + 1;
    while (axisX < size.width() && PixelBgr(image, axisX, between) != kBlack) ++axisX;
    const int axisY = int(std::lround(axes.yOf(0)));
    EXPECT_EQ(PixelBgr(image, axisX + 100, axisY), kBlack);  // the x axis
    for (size_t k = 1; k < axes.levels.size(); ++k) {
        const int y = int(std::lround(axes.levels[k].second.center().y()));
        // A 15-pixel tick left of the y axis at every level.
        EXPECT_EQ(PixelBgr(image, axisX - 14, y), kBlack) << "level " << k;
        EXPECT_EQ(PixelBgr(image, axisX - 18, y), kWhite) << "level " << k;
        // A dotted grey line: grey and background alternate along it.
        int grey = 0, white = 0;
        for (int x = axisX + 20; x < size.width() - 80; ++x) {
            grey += PixelBgr(image, x, y) == 0x808080;
            white += PixelBgr(image, x, y) == kWhite;
        }
        EXPECT_GT(grey, 50) << "level " << k;
        EXPECT_GT(white, 50) << "level " << k;
    }
    // A tick under the x axis at every boundary between slots, none after the last.
    const double slot = axes.xOf(1) - axes.xOf(0);
    for (int i = 1; i < 12; ++i) {
        const int x = int(std::lround(axes.xOf(i) - slot / 2));
        bool tick = false;
        for (int dx = -1; dx <= 1; ++dx)
            tick = tick || PixelBgr(image, x + dx, axisY + 14) == kBlack;
        EXPECT_TRUE(tick) << "boundary " << i;
    }
    EXPECT_NE(PixelBgr(image, int(std::lround(axes.xOf(11) + slot / 2)), axisY + 14), kBlack);
}

TEST(LineChartDrawing, PrintVariantUsesThinLinesAndSmallMarks) {
    LineChart line;
    SetUpTrend(line, 20, kIncome, kExpense);
    const QSize size(640, 400);
    line.resize(size);
    const QImage screen = test::RenderMedium(line, size, ChartMedium::kScreen);
    const QImage print = test::RenderMedium(line, size, ChartMedium::kPrint);
    test::SaveForLooking(print, "line_print_variant");
    const DrawnAxes axes = ReadAxes(line, size, ChartMedium::kPrint);
    const int y = int(std::lround(axes.yOf(axes.shown(15))));
    const int x = int(std::lround(axes.xOf(3)));
    EXPECT_EQ(PixelBgr(screen, x, y), kBlue);
    EXPECT_EQ(PixelBgr(print, x, y), kBlue);
    // The 15-pixel mark reaches 6 pixels from the centre, the 4-pixel one does not;
    // the level line is 5 pixels wide on the screen and 2 on paper.
    EXPECT_EQ(PixelBgr(screen, x, y - 6), kBlue);
    EXPECT_NE(PixelBgr(print, x, y - 6), kBlue);
    const int mid = int(std::lround((axes.xOf(3) + axes.xOf(4)) / 2));
    EXPECT_EQ(PixelBgr(screen, mid, y - 2), kBlue);
    EXPECT_NE(PixelBgr(print, mid, y - 2), kBlue);
    EXPECT_NE(PixelBgr(print, mid, y + 2), kBlue);
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

// The tip of a point mark: its amount as the status bar writes money when the
// chart's unit is money, else the value with the chart's decimals.
TEST(LineChartDrawing, ToolTipsShowTheValueInTheTemplate) {
    LineChart line;
    SetUpTrend(line, 20, kIncome, kExpense);
    line.setCurrentSeries(0);
    line.setCurrentPoint(4);
    line.setPointValue(1.2345);
    line.setToolTipTemplate(Gbk("收入 ${v}"));
    const QSize size(640, 400);
    line.resize(size);
    const DrawnAxes axes = ReadAxes(line, size, ChartMedium::kScreen);
    const QPoint mark(int(std::lround(axes.xOf(4))),
                      int(std::lround(axes.yOf(axes.shown(1.2345)))));
    EXPECT_EQ(line.toolTipAt(mark), QStringLiteral("收入 1234.5元"));
    EXPECT_EQ(line.toolTipAt(mark + QPoint(7, 7)), QStringLiteral("收入 1234.5元"));
    EXPECT_EQ(line.toolTipAt(mark + QPoint(0, -30)), QString());
    const QPoint expenseMark(int(std::lround(axes.xOf(0))),
                             int(std::lround(axes.yOf(axes.shown(15)))));
    EXPECT_EQ(line.toolTipAt(expenseMark), QStringLiteral("收入 1.5万元"));
    line.setShowToolTips(false);
    EXPECT_EQ(line.toolTipAt(expenseMark), QString());
    line.setShowToolTips(true);

    // Another unit: the value itself, with the chart's decimals.
    line.setUnit(Gbk("件"));
    const DrawnAxes counted = ReadAxes(line, size, ChartMedium::kScreen);
    ASSERT_GE(counted.levels.size(), 2u);
    const QPoint countMark(int(std::lround(axes.xOf(0))), int(std::lround(counted.yOf(15))));
    EXPECT_EQ(line.toolTipAt(countMark), QStringLiteral("收入 15"));
    line.setToolTipDecimals(2);
    EXPECT_EQ(line.toolTipAt(countMark), QStringLiteral("收入 15.00"));

    // Through the widget's own tool-tip event.
    line.show();
    QApplication::processEvents();
    QHelpEvent help(QEvent::ToolTip, countMark, line.mapToGlobal(countMark));
    QApplication::sendEvent(&line, &help);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("收入 15.00"));
    QToolTip::hideText();
}

}  // namespace
}  // namespace tavrin::charts
