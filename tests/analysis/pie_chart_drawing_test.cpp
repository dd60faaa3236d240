// Pixels the pie chart's drawing rules fix: slice angles from the leftmost point
// running clockwise, skipped zero items, the full disc, outline, legend boxes,
// the three-dimensional rim.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "analysis/charts/chart_palette.h"
#include "analysis/charts/pie_chart.h"
#include "analysis/charts/pie_chart_layout.h"
#include "chart_test_support.h"

namespace tavrin::charts {
namespace {

using namespace test;

struct Item {
    const char* name;
    uint32_t color;
    double value;
};

void Fill(PieChart& pie, std::initializer_list<Item> items) {
    pie.setItemCount(int32_t(items.size()));
    int32_t i = 0;
    for (const Item& item : items) {
        pie.setCurrentItem(i++);
        pie.setItemName(Gbk(item.name));
        pie.setItemColor(item.color);
        pie.setItemValue(item.value);
    }
}

// The flat pie's circle by the geometry rule, for a chart of the size.
struct Circle {
    double cx, cy, r;
    // The point at pie angle t (clockwise from the leftmost point) and a share of the radius.
    QPoint at(double t, double radiusShare) const {
        const double a = t * M_PI / 180.0;
        return QPoint(int(std::lround(cx - r * radiusShare * std::cos(a))),
                      int(std::lround(cy - r * radiusShare * std::sin(a))));
    }
};

// The pixel at pie angle t and a share of the radius (0x00BBGGRR).
uint32_t ColorAt(const QImage& image, const Circle& c, double t, double radiusShare) {
    const QPoint p = c.at(t, radiusShare);
    return PixelBgr(image, p.x(), p.y());
}

Circle FlatCircle(const PieChart& pie, QSize size) {
    const int plotTop = pie.titleBandHeight();
    const int r = std::min((size.width() - 60) / 2, (size.height() - plotTop - 60) / 2);
    return {double(size.width() / 2), double(plotTop + r + 30), double(r)};
}

// A chart with only slices: no legend, no border.
void SlicesOnly(PieChart& pie) {
    pie.setShowLegend(false);
    pie.setBorder(false);
}

TEST(PieChartDrawing, SlicesRunClockwiseFromTheLeftmostPoint) {
    PieChart pie;
    SlicesOnly(pie);
    Fill(pie, {{"甲", kRed, 1}, {"乙", kGreen, 1}, {"丙", kBlue, 2}});
    const QSize size(400, 300);
    const QImage image = test::RenderWidget(pie, size);
    test::SaveForLooking(image, "pie_three_slices");
    const Circle c = FlatCircle(pie, size);
    ASSERT_GT(pie.titleBandHeight(), 0);  // the title band moves the pie down
    // Item 0 ends a quarter round: left to top is the upper-left quadrant.
    for (double t : {10.0, 45.0, 80.0}) EXPECT_EQ(ColorAt(image, c, t, 0.6), kRed) << "angle " << t;
    for (double t : {100.0, 135.0, 170.0})
        EXPECT_EQ(ColorAt(image, c, t, 0.6), kGreen) << "angle " << t;
    for (double t : {190.0, 270.0, 350.0})
        EXPECT_EQ(ColorAt(image, c, t, 0.6), kBlue) << "angle " << t;
    // Outside the circle the background shows.
    EXPECT_EQ(PixelBgr(image, int(c.cx), int(c.cy - c.r - 5)), kWhite);
    EXPECT_EQ(PixelBgr(image, int(c.cx - c.r - 5), int(c.cy)), kWhite);
}

TEST(PieChartDrawing, ZeroItemsAreSkipped) {
    PieChart pie;
    SlicesOnly(pie);
    Fill(pie, {{"甲", kRed, 1}, {"空", kGreen, 0}, {"丙", kBlue, 1}});
    const QSize size(400, 300);
    const QImage image = test::RenderWidget(pie, size);
    const Circle c = FlatCircle(pie, size);
    for (double t : {30.0, 90.0, 150.0})
        EXPECT_EQ(ColorAt(image, c, t, 0.5), kRed) << "angle " << t;
    for (double t : {200.0, 270.0, 340.0})
        EXPECT_EQ(ColorAt(image, c, t, 0.5), kBlue) << "angle " << t;
    int green = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) green += PixelBgr(image, x, y) == kGreen;
    EXPECT_EQ(green, 0);
}

TEST(PieChartDrawing, AnItemHoldingTheWholeTotalIsAFullDisc) {
    const QSize size(400, 300);
    for (double other : {0.0, 0.001}) {
        PieChart pie;
        SlicesOnly(pie);
        pie.setOutline(false);
        // The tiny item's end point lies on the start point: it is left out, and the
        // big one, whose end point meets its start, is drawn whole.
        Fill(pie, {{"零", kGreen, 0}, {"全部", kBlue, 1e7}, {"些许", kRed, other}});
        const QImage image = test::RenderWidget(pie, size);
        const Circle c = FlatCircle(pie, size);
        for (double t = 0.0; t < 360.0; t += 15.0) {
            for (double share : {0.2, 0.9, 0.97})
                EXPECT_EQ(ColorAt(image, c, t, share), kBlue)
                    << "angle " << t << " share " << share << " other " << other;
        }
    }
    PieChart single;
    SlicesOnly(single);
    single.setOutline(false);
    Fill(single, {{"唯一", kGreen, 3.5}});
    const QImage image = test::RenderWidget(single, size);
    test::SaveForLooking(image, "pie_full_disc");
    const Circle c = FlatCircle(single, size);
    for (double t = 0.0; t < 360.0; t += 30.0)
        EXPECT_EQ(ColorAt(image, c, t, 0.95), kGreen) << "angle " << t;
}

TEST(PieChartDrawing, OutlineIsDrawnOnlyWhenSwitchedOn) {
    const QSize size(400, 300);
    const uint32_t light1 = 0x80FFFF, light2 = 0xFFFF80;
    for (bool outline : {true, false}) {
        PieChart pie;
        SlicesOnly(pie);
        pie.setOutline(outline);
        pie.setOutlineColor(0x000000);
        Fill(pie, {{"甲", light1, 1}, {"乙", light2, 1}});
        const QImage image = test::RenderWidget(pie, size);
        const Circle c = FlatCircle(pie, size);
        // The two slices meet on the horizontal line through the centre.
        int darkest = 255;
        for (int dy = -2; dy <= 2; ++dy) {
            const QColor px(image.pixel(int(c.cx - c.r / 2), int(c.cy) + dy));
            darkest = std::min(darkest, std::min({px.red(), px.green(), px.blue()}));
        }
        if (outline)
            EXPECT_LT(darkest, 100);
        else
            EXPECT_GE(darkest, 120);
    }
}

TEST(PieChartDrawing, ATotalOfZeroDrawsNoSlices) {
    PieChart pie;
    SlicesOnly(pie);
    Fill(pie, {{"甲", kRed, 0}, {"乙", kGreen, 0}});
    const QSize size(400, 300);
    const QImage image = test::RenderWidget(pie, size);
    const Circle c = FlatCircle(pie, size);
    for (double t = 0.0; t < 360.0; t += 45.0) EXPECT_EQ(ColorAt(image, c, t, 0.5), kWhite);
}

TEST(PieChartDrawing, LegendBoxesSitAtTheRightEdgeInItemColors) {
    PieChart pie;
    pie.setBorder(false);
    pie.setUnit(Gbk("元"));
    pie.setDecimals(2);
    Fill(pie, {{"工资", kRed, 300}, {"奖金", kGreen, 100}, {"其他", kBlue, 0}});
    const QSize size(700, 320);
    const QImage image = test::RenderWidget(pie, size);
    test::SaveForLooking(image, "pie_legend");

    const QFontMetrics metrics(TextFont(pie.style()));
    const int textHeight = metrics.height();
    const std::vector<std::string> shares = ShareTexts({300, 100, 0}, 2);
    int widest = 0;
    for (int i = 0; i < 2; ++i) {
        const PieItem& item = pie.item(i);
        const QString line =
            ChartText(item.name) + QLatin1Char(' ') +
            ChartText(LegendValueText(item.value, shares[size_t(i)], Gbk("元"), 2));
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int unitWidth = metrics.horizontalAdvance(ChartText(Gbk("单位:元")));
    const int left = size.width() - 30 - std::max(widest + textHeight, unitWidth);
    const int plotTop = pie.titleBandHeight();
    // The item without a value has no line: the third line stays blank.
    for (int x = left; x < size.width() - 30; ++x)
        EXPECT_EQ(PixelBgr(image, x, plotTop + 20 + 3 * (textHeight + 10) + textHeight / 2),
                  kWhite);
    for (int i = 0; i < 2; ++i) {
        const int top = plotTop + 20 + (i + 1) * (textHeight + 10);
        const uint32_t color = pie.item(i).color;
        // The box: two thirds of the text height wide, one text height high.
        EXPECT_EQ(PixelBgr(image, left + 1, top + 1), color) << "item " << i;
        EXPECT_EQ(PixelBgr(image, left + textHeight * 2 / 3 - 2, top + textHeight - 2), color);
        EXPECT_NE(PixelBgr(image, left - 2, top + textHeight / 2), color);
        EXPECT_NE(PixelBgr(image, left + textHeight * 2 / 3 + 1, top + textHeight / 2), color);
        EXPECT_NE(PixelBgr(image, left + 1, top + textHeight + 2), color);
    }
    // The unit line is written on the first line, from the legend's left edge.
    int inked = 0;
    for (int y = plotTop + 20; y < plotTop + 20 + textHeight; ++y)
        for (int x = left; x < left + unitWidth; ++x) inked += PixelBgr(image, x, y) != kWhite;
    EXPECT_GT(inked, 10);
}

TEST(PieChartDrawing, ThreeDimensionalStyleDrawsTheRimBelow) {
    PieChart pie;
    SlicesOnly(pie);
    pie.setShowTitle(false);
    pie.setThreeD(true);
    Fill(pie, {{"甲", kRed, 1}, {"乙", kBlue, 1}});
    const QSize size(500, 300);
    const QImage image = test::RenderWidget(pie, size);
    test::SaveForLooking(image, "pie_three_d");
    ASSERT_EQ(pie.titleBandHeight(), 0);
    const int rx = (500 - 60) / 2;
    const int ry = std::min(rx, (300 - 60) * 3 / 8);
    const int depth = ry / 4;
    const int cx = 250, cy = ry + 30;
    // Item 0 holds the upper half, item 1 the lower half and so the front rim.
    EXPECT_EQ(PixelBgr(image, cx, cy - ry / 2), kRed);
    EXPECT_EQ(PixelBgr(image, cx, cy + ry / 2), kBlue);
    const QColor rim(image.pixel(cx, cy + ry + depth / 2));
    EXPECT_TRUE(test::Near(rim, ColorFromBgr(kBlue).darker(140))) << rim.name().toStdString();
    EXPECT_EQ(PixelBgr(image, cx, cy + ry + depth + 4), kWhite);
    // The stored ratio flattens the ellipse: at 500 thousandths ry is half of rx.
    pie.setRadiusRatio(500);
    const QImage flatter = test::RenderWidget(pie, size);
    const int ry2 = rx / 2;
    EXPECT_EQ(PixelBgr(flatter, cx, 30 + 3), kRed);  // just inside the top
    EXPECT_EQ(PixelBgr(flatter, cx, 30 + 2 * ry2 - 3), kBlue);
    EXPECT_EQ(PixelBgr(flatter, cx, 30 - 3), kWhite);
}

TEST(PieChartDrawing, CrowdedAndTinyChartsDrawWithoutHarm) {
    PieChart pie;
    pie.setItemCount(100);
    for (int i = 0; i < 100; ++i) {
        pie.setCurrentItem(i);
        pie.setItemColor(StructurePaletteColor(i + 1));
        pie.setItemValue(i % 3 == 0 ? 0.0 : 1.0 + i);
    }
    pie.setDecimals(5);
    for (bool threeD : {false, true}) {
        pie.setThreeD(threeD);
        for (QSize size : {QSize(1, 1), QSize(50, 40), QSize(800, 600)}) {
            const QImage image = test::RenderWidget(pie, size);
            EXPECT_EQ(image.size(), size);
        }
    }
    // Fourteen categories as the program shows them.
    PieChart realistic;
    realistic.setUnit(Gbk("元"));
    realistic.setTitle(Gbk("结构比例图"));
    realistic.setItemCount(14);
    const char* names[14] = {"餐饮", "交通", "购物", "住房", "医疗", "教育", "娱乐",
                             "通讯", "服装", "水电", "人情", "旅游", "保险", "其他"};
    for (int i = 0; i < 14; ++i) {
        realistic.setCurrentItem(i);
        realistic.setItemColor(StructurePaletteColor(i + 1));
        realistic.setItemName(Gbk(names[i]));
        realistic.setItemValue(i == 5 ? 0.0 : 100.0 * (i + 1));
    }
    const QImage image = test::RenderWidget(realistic, QSize(760, 560));
    test::SaveForLooking(image, "pie_fourteen");
    // The pie keeps left of the legend; the first item's slice starts at the
    // leftmost point and runs upward.
    const PieLayout layout = LayOutPie(QSize(760, 560), realistic.model());
    EXPECT_LT(layout.shape.cx + layout.shape.rx, layout.unitLine.left());
    const Circle c{layout.shape.cx, layout.shape.cy, layout.shape.rx};
    EXPECT_EQ(ColorAt(image, c, 2.0, 0.7), StructurePaletteColor(1));
}

// Twelve categories, the largest far above ten million 元, and one without
// items: every category has its slice at its true share and its legend line
// in the status bar's money form, the shares shown add up to 100 %, the empty
// one has neither. On the template's small chart every category is still
// reachable: its slice, its legend line or the line standing for the rest
// shows it as a tool-tip.
TEST(PieChartDrawing, TwelveLargeCategoriesEachHaveTheirSliceLegendLineAndTip) {
    struct Category {
        const char* name;
        double value;
        const char* amount;
    } categories[13] = {
        {"工资", 25000000, "2500万元"},
        {"奖金", 12345678.9, "1234.56789万元"},
        {"理财", 8000000, "800万元"},
        {"兼职", 35.5, "35.5元"},
        {"租金", 1234.56, "1234.56元"},
        {"分红", 50000, "5万元"},
        {"稿费", 999999.99, "99.999999万元"},
        {"报销", 0.5, "0.5元"},
        {"礼金", 3000, "3000元"},
        {"退税", 60000.25, "6.000025万元"},
        {"利息", 777, "777元"},
        {"其他", 10, "10元"},
        {"补贴", 0, ""},
    };
    PieChart pie;
    pie.setUnit(Gbk("元"));
    pie.setTitle(Gbk("结构比例图"));
    pie.setBorder(false);
    pie.setItemCount(13);
    double total = 0;
    for (int i = 0; i < 13; ++i) {
        pie.setCurrentItem(i);
        pie.setItemName(Gbk(categories[i].name));
        pie.setItemColor(StructurePaletteColor(i + 1));
        pie.setItemValue(categories[i].value);
        total += categories[i].value;
    }
    const QSize big(1400, 420);
    const QImage image = test::RenderWidget(pie, big);
    test::SaveForLooking(image, "pie_twelve");
    const Circle c = FlatCircle(pie, big);
    double running = 0;
    for (int i = 0; i < 12; ++i) {
        const double from = 360.0 * running / total;
        running += categories[i].value;
        const double to = 360.0 * running / total;
        if (to - from < 4.0) continue;  // too thin to hit one pixel surely
        EXPECT_EQ(ColorAt(image, c, (from + to) / 2, 0.6), StructurePaletteColor(i + 1))
            << categories[i].name;
    }

    // One legend line per category with a value, in order; shares in tenths of
    // a per cent. The printed chart (an A4 page across) reads the same.
    auto legendLines = [&](QSize size, ChartMedium medium) {
        std::vector<QString> lines;
        for (const test::DrawnText& t : test::DrawnTexts(pie, size, medium))
            if (t.text.contains(QLatin1Char('['))) lines.push_back(t.text);
        return lines;
    };
    const std::vector<QString> lines = legendLines(big, ChartMedium::kScreen);
    ASSERT_EQ(lines.size(), 12u);
    int tenths = 0;
    for (int i = 0; i < 12; ++i) {
        const QString prefix = QString::fromUtf8(categories[i].name) + QLatin1Char(' ') +
                               QString::fromUtf8(categories[i].amount) + QLatin1Char('[');
        EXPECT_TRUE(lines[size_t(i)].startsWith(prefix)) << lines[size_t(i)].toStdString();
        const QString share = lines[size_t(i)].section(QLatin1Char('['), 1).chopped(2);
        bool ok = false;
        tenths += int(std::lround(share.toDouble(&ok) * 10));
        EXPECT_TRUE(ok && lines[size_t(i)].endsWith(QStringLiteral("%]")))
            << lines[size_t(i)].toStdString();
    }
    EXPECT_EQ(tenths, 1000);
    EXPECT_EQ(legendLines(QSize(1123, 794), ChartMedium::kPrint), lines);

    // The template's chart size: every category answers somewhere.
    test::SaveForLooking(test::RenderWidget(pie, QSize(470, 140)), "pie_twelve_small");
    QStringList tips;
    for (int y = 0; y < 140; y += 2)
        for (int x = 0; x < 470; x += 2) {
            const QString tip = pie.toolTipAt(QPoint(x, y));
            if (!tip.isEmpty()) tips << tip.split(QLatin1Char('\n'));
        }
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(tips.contains(lines[size_t(i)])) << categories[i].name;
    for (const QString& tip : tips) EXPECT_FALSE(tip.startsWith(QStringLiteral("补贴")));
}

TEST(PieChartDrawing, PaletteRepeatsBeyondItsLastEntry) {
    EXPECT_EQ(StructurePaletteColor(1), 0xFF8080u);
    EXPECT_EQ(StructurePaletteColor(7), 0x000000u);
    EXPECT_EQ(StructurePaletteColor(14), 0x808080u);
    EXPECT_EQ(StructurePaletteColor(15), 0xFF8080u);
    EXPECT_EQ(StructurePaletteColor(30), StructurePaletteColor(2));
    EXPECT_EQ(ColorFromBgr(0x0000FF), QColor(255, 0, 0));
}

}  // namespace
}  // namespace tavrin::charts
