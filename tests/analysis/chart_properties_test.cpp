// Property rules of the chart controls: defaults, clamps on write, the current
// item/series/point addressing, fresh text results, settings and repaints.
#include <gtest/gtest.h>

#include <QApplication>
#include <cmath>
#include <limits>

#include "analysis/charts/chart_property.h"
#include "analysis/charts/chart_settings.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "analysis/charts/pie_chart_painter.h"
#include "chart_test_support.h"
#include "runtime/memory.h"

namespace tavrin::charts {
namespace {

using test::Gbk;

// Reads a text property and frees the fresh block it came in.
std::string ReadText(const ChartWidget& chart, int number) {
    Value v = chart.ReadProperty(number);
    EXPECT_EQ(v.type, TypeCode::kText);
    std::string text(TextOf(v));
    Free(v.pointer());
    return text;
}

double ReadDouble(const ChartWidget& chart, int number) {
    Value v = chart.ReadProperty(number);
    EXPECT_EQ(v.type, TypeCode::kDouble);
    return v.asDouble();
}

int32_t ReadInt(const ChartWidget& chart, int number) {
    Value v = chart.ReadProperty(number);
    EXPECT_EQ(v.type, TypeCode::kInt);
    return v.asInt();
}

TEST(PieChartProperties, NewChartHasOneDefaultItemAndDefaultTexts) {
    PieChart pie;
    EXPECT_EQ(ReadInt(pie, PieChart::kItemCount), 1);
    EXPECT_EQ(ReadInt(pie, PieChart::kCurrentItem), 0);
    EXPECT_EQ(ReadText(pie, PieChart::kItemName), Gbk("数据项1"));
    EXPECT_EQ(ReadInt(pie, PieChart::kItemColor), 0xFF0000);
    EXPECT_EQ(ReadDouble(pie, PieChart::kItemValue), 10.0);
    EXPECT_EQ(ReadText(pie, PieChart::kTitle), Gbk("Orvel饼形图"));
    EXPECT_EQ(ReadText(pie, PieChart::kUnit), Gbk("万元"));
    // Properties 20, 21 and 30 start at 0.
    EXPECT_EQ(ReadInt(pie, 20 - kFirstOwnPropertyIndex), 0);
    EXPECT_EQ(ReadInt(pie, 21 - kFirstOwnPropertyIndex), 0);
    EXPECT_EQ(ReadInt(pie, 30 - kFirstOwnPropertyIndex), 0);
}

// The own property numbers are the control indices the program writes, less eight.
static_assert(PropertyIndex(PieChart::kTitle) == 16 && PropertyIndex(PieChart::kUnit) == 19);
static_assert(PropertyIndex(PieChart::kItemCount) == 25 &&
              PropertyIndex(PieChart::kItemValue) == 29);
static_assert(PropertyIndex(PieChart::kRimDepth) == 30);
static_assert(PropertyIndex(LineChart::kTitle) == 14 && PropertyIndex(LineChart::kMaximum) == 21);
static_assert(PropertyIndex(LineChart::kSeriesCount) == 26);
static_assert(PropertyIndex(LineChart::kPointValue) == 33);
static_assert(PropertyIndex(LineChart::kToolTipTemplate) == 36);

// A category's total is shown whole, however large; only what is no amount
// (negative, NaN, infinite) becomes 0.
TEST(PieChartProperties, ItemValueIsNeverNegativeAndNeverCut) {
    PieChart pie;
    struct Case {
        Value written;
        double stored;
    } cases[] = {
        {MakeDouble(-5.0), 0.0},
        {MakeDouble(2e7), 2e7},
        {MakeDouble(std::numeric_limits<double>::quiet_NaN()), 0.0},
        {MakeDouble(std::numeric_limits<double>::infinity()), 0.0},
        {MakeDouble(123456789.25), 123456789.25},
        {MakeDouble(123.25), 123.25},
        {MakeInt(-5), 0.0},
        {MakeInt(20000000), 2e7},
        {MakeFloat(2.5f), 2.5},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(pie.WriteProperty(PieChart::kItemValue, c.written));
        EXPECT_EQ(ReadDouble(pie, PieChart::kItemValue), c.stored);
    }
}

TEST(PieChartProperties, ItemCountIsClampedAndResetsTheCurrentItem) {
    PieChart pie;
    pie.WriteProperty(PieChart::kItemCount, MakeInt(0));
    EXPECT_EQ(pie.itemCount(), 1);
    pie.WriteProperty(PieChart::kItemCount, MakeInt(-3));
    EXPECT_EQ(pie.itemCount(), 1);
    pie.WriteProperty(PieChart::kItemCount, MakeInt(150));
    EXPECT_EQ(pie.itemCount(), 100);

    pie.WriteProperty(PieChart::kItemCount, MakeInt(5));
    pie.WriteProperty(PieChart::kCurrentItem, MakeInt(3));
    pie.WriteProperty(PieChart::kItemValue, MakeDouble(7.0));
    pie.WriteProperty(PieChart::kItemCount, MakeInt(6));
    EXPECT_EQ(pie.currentItem(), 0);
    EXPECT_EQ(pie.item(3).value, 7.0);  // kept items keep their data
    EXPECT_EQ(pie.item(5).value, 0.0);  // a new item holds nothing
}

TEST(PieChartProperties, CurrentItemOutsideTheListSelectsItemZero) {
    PieChart pie;
    pie.WriteProperty(PieChart::kItemCount, MakeInt(10));
    pie.WriteProperty(PieChart::kCurrentItem, MakeInt(4));
    EXPECT_EQ(pie.currentItem(), 4);
    pie.WriteProperty(PieChart::kCurrentItem, MakeInt(14));
    EXPECT_EQ(pie.currentItem(), 0);
    const std::string name = Gbk("工资");
    pie.WriteProperty(PieChart::kItemName, MakeTextRef(name.c_str()));
    EXPECT_EQ(pie.item(0).name, name);
    EXPECT_NE(pie.item(4).name, name);

    pie.WriteProperty(PieChart::kCurrentItem, MakeInt(9));
    EXPECT_EQ(pie.currentItem(), 9);
    pie.WriteProperty(PieChart::kCurrentItem, MakeInt(-1));
    EXPECT_EQ(pie.currentItem(), 0);
}

TEST(PieChartProperties, WholeNumberSettingsAreClamped) {
    PieChart pie;
    struct Case {
        int number;
        int32_t written;
        int32_t stored;
    } cases[] = {
        {PieChart::kRadiusRatio, -1, 0},    {PieChart::kRadiusRatio, 1001, 1000},
        {PieChart::kRadiusRatio, 375, 375}, {PieChart::kDecimals, -2, 0},
        {PieChart::kDecimals, 6, 5},        {PieChart::kDecimals, 2, 2},
        {PieChart::kRimDepth, 11, 10},      {PieChart::kRimDepth, -7, 0},
    };
    for (const Case& c : cases) {
        pie.WriteProperty(c.number, MakeInt(c.written));
        EXPECT_EQ(ReadInt(pie, c.number), c.stored) << "property " << c.number;
    }
}

TEST(PieChartProperties, TextsKeepTheirGbkBytesAndReadsAreFreshCopies) {
    PieChart pie;
    const std::string unit = Gbk("元");
    pie.WriteProperty(PieChart::kUnit, MakeTextRef(unit.c_str()));
    Value first = pie.ReadProperty(PieChart::kUnit);
    Value second = pie.ReadProperty(PieChart::kUnit);
    EXPECT_EQ(std::string(TextOf(first)), unit);
    EXPECT_NE(first.pointer(), second.pointer());
    EXPECT_NE(first.pointer(), static_cast<const void*>(pie.unit().c_str()));
    Free(first.pointer());
    Free(second.pointer());

    pie.WriteProperty(PieChart::kTitle, MakeTextRef(nullptr));  // the empty text
    EXPECT_EQ(pie.title(), "");
    Value empty = pie.ReadProperty(PieChart::kTitle);
    EXPECT_EQ(empty.type, TypeCode::kText);
    EXPECT_EQ(empty.pointer(), nullptr);
}

TEST(PieChartProperties, UnknownPropertyNumbersAreRefused) {
    PieChart pie;
    EXPECT_FALSE(pie.WriteProperty(PieChart::kPropertyCount, MakeInt(1)));
    EXPECT_FALSE(pie.WriteProperty(-1, MakeInt(1)));
    EXPECT_FALSE(pie.ReadProperty(PieChart::kPropertyCount).present());
    EXPECT_FALSE(pie.KindOfProperty(PieChart::kPropertyCount).has_value());
    EXPECT_EQ(pie.KindOfProperty(PieChart::kItemValue), PropertyKind::kDouble);
    EXPECT_EQ(pie.KindOfProperty(PieChart::kItemName), PropertyKind::kText);
    EXPECT_EQ(pie.KindOfProperty(PieChart::kItemColor), PropertyKind::kInt);
}

// Every property reads back as the kind its table entry names, and writes of
// that kind are taken.
void ExpectTableMatchesReads(ChartWidget& chart, int count) {
    ASSERT_EQ(int(chart.PropertyTable().size()), count);
    for (int n = 0; n < count; ++n) {
        const PropertyKind kind = *chart.KindOfProperty(n);
        Value v = chart.ReadProperty(n);
        switch (kind) {
            case PropertyKind::kInt:
                EXPECT_EQ(v.type, TypeCode::kInt) << n;
                break;
            case PropertyKind::kDouble:
                EXPECT_EQ(v.type, TypeCode::kDouble) << n;
                break;
            case PropertyKind::kBool:
                EXPECT_EQ(v.type, TypeCode::kBool) << n;
                break;
            case PropertyKind::kText:
                EXPECT_EQ(v.type, TypeCode::kText) << n;
                break;
            case PropertyKind::kBytes:
                EXPECT_EQ(v.type, TypeCode::kByteSet) << n;
                break;
        }
        EXPECT_TRUE(chart.WriteProperty(n, v)) << n;
        Value again = chart.ReadProperty(n);
        EXPECT_EQ(RawBytes(again), RawBytes(v)) << "property " << n << " does not keep its value";
        if (kind == PropertyKind::kText || kind == PropertyKind::kBytes) {
            Free(v.pointer());
            Free(again.pointer());
        }
    }
}

TEST(ChartPropertyTables, EveryPropertyReadsAsItsKindAndKeepsItsValue) {
    PieChart pie;
    ExpectTableMatchesReads(pie, PieChart::kPropertyCount);
    LineChart line;
    ExpectTableMatchesReads(line, LineChart::kPropertyCount);
}

// Shares are rounded so that those shown add up to exactly 100 %, an amount
// in 元 is written as the status bar writes it.
TEST(PieChartProperties, SharesAddUpToAHundredAndAmountsReadAsMoney) {
    EXPECT_EQ(ShareTexts({1, 1, 1}, 0), (std::vector<std::string>{"33.4", "33.3", "33.3"}));
    EXPECT_EQ(ShareTexts({12.5, 37.5, 0}, 2), (std::vector<std::string>{"25.00", "75.00", ""}));
    EXPECT_EQ(ShareTexts({0, 0}, 1), (std::vector<std::string>{"", ""}));
    const std::string yuan = Gbk("元");
    EXPECT_EQ(LegendValueText(35.5, "25.0", yuan, 0), Gbk("35.5元") + "[25.0%]");
    EXPECT_EQ(LegendValueText(46023.45, "1.5", yuan, 0), Gbk("4.602345万元") + "[1.5%]");
    EXPECT_EQ(LegendValueText(12.5, "25.00", Gbk("万元"), 2), "12.50[25.00%]");
    EXPECT_EQ(LegendValueText(0.0, "", yuan, 2), "");  // an item without a value
}

TEST(LineChartProperties, NewChartDefaults) {
    LineChart line;
    EXPECT_EQ(ReadText(line, LineChart::kTitle), Gbk("Orvel曲线图"));
    EXPECT_EQ(ReadText(line, LineChart::kCaption), Gbk("月份"));
    EXPECT_EQ(ReadText(line, LineChart::kUnit), Gbk("万元"));
    EXPECT_EQ(ReadInt(line, LineChart::kMaximum), 100);
    EXPECT_EQ(ReadInt(line, LineChart::kDivisions), 10);
    EXPECT_EQ(ReadInt(line, LineChart::kSeriesCount), 1);
    EXPECT_EQ(ReadText(line, LineChart::kSeriesName), Gbk("销售金额"));
    EXPECT_EQ(ReadInt(line, LineChart::kSeriesColor), 0x0000FF);
    EXPECT_EQ(ReadInt(line, LineChart::kPointCount), 1);
    EXPECT_EQ(ReadText(line, LineChart::kPointLabel), Gbk("一月"));
    EXPECT_EQ(ReadDouble(line, LineChart::kPointValue), 10.0);
    EXPECT_EQ(ReadText(line, LineChart::kToolTipTemplate), "${v}");
    EXPECT_EQ(ReadInt(line, 34 - kFirstOwnPropertyIndex), 0);
    EXPECT_EQ(ReadInt(line, 35 - kFirstOwnPropertyIndex), 1);
}

TEST(LineChartProperties, AxisSettingsAreClamped) {
    LineChart line;
    struct Case {
        int number;
        Value written;
        int32_t stored;
    } cases[] = {
        {LineChart::kMaximum, MakeInt(-1), 0},
        {LineChart::kMaximum, MakeInt(0), 0},
        {LineChart::kMaximum, MakeInt(20000000), 10000000},
        {LineChart::kMaximum, MakeDouble(2e7), 10000000},
        {LineChart::kMaximum, MakeInt(20), 20},
        {LineChart::kDivisions, MakeInt(0), 1},
        {LineChart::kDivisions, MakeInt(101), 100},
        {LineChart::kDivisions, MakeInt(7), 7},
        {LineChart::kToolTipDecimals, MakeInt(-1), 0},
        {LineChart::kToolTipDecimals, MakeInt(11), 10},
        {LineChart::kLabelInterval, MakeInt(-7), -7},  // stored as written
    };
    for (const Case& c : cases) {
        line.WriteProperty(c.number, c.written);
        EXPECT_EQ(ReadInt(line, c.number), c.stored) << "property " << c.number;
    }
}

TEST(LineChartProperties, SeriesAndPointCountsAreClampedAndResetTheirIndex) {
    LineChart line;
    for (auto [count, current] : {std::pair{LineChart::kSeriesCount, LineChart::kCurrentSeries},
                                  std::pair{LineChart::kPointCount, LineChart::kCurrentPoint}}) {
        line.WriteProperty(count, MakeInt(0));
        EXPECT_EQ(ReadInt(line, count), 1);
        line.WriteProperty(count, MakeInt(150));
        EXPECT_EQ(ReadInt(line, count), 100);
        line.WriteProperty(count, MakeInt(12));
        line.WriteProperty(current, MakeInt(11));
        EXPECT_EQ(ReadInt(line, current), 11);
        line.WriteProperty(current, MakeInt(12));
        EXPECT_EQ(ReadInt(line, current), 0);
        line.WriteProperty(current, MakeInt(5));
        line.WriteProperty(count, MakeInt(13));
        EXPECT_EQ(ReadInt(line, current), 0);
    }
}

TEST(LineChartProperties, ValuesAddressCurrentSeriesAndPointAndAreNeverNegative) {
    LineChart line;
    line.setSeriesCount(2);
    line.setPointCount(12);
    line.setCurrentSeries(1);
    line.setCurrentPoint(3);
    line.WriteProperty(LineChart::kPointValue, MakeDouble(4.5));
    EXPECT_EQ(line.value(1, 3), 4.5);
    EXPECT_EQ(line.value(0, 3), 0.0);
    line.WriteProperty(LineChart::kPointValue, MakeDouble(-5));
    EXPECT_EQ(line.value(1, 3), 0.0);
    line.WriteProperty(LineChart::kPointValue, MakeDouble(2e7));
    EXPECT_EQ(line.value(1, 3), 2e7);

    // Growing the table keeps every value already written.
    line.setSeriesCount(3);
    line.setPointCount(20);
    EXPECT_EQ(line.value(1, 3), 2e7);
    EXPECT_EQ(line.value(2, 19), 0.0);
    line.setPointCount(2);
    EXPECT_EQ(line.value(0, 0), 10.0);  // the default point's value
}

TEST(LineChartProperties, SeriesAndPointTextsGoToTheCurrentOnes) {
    LineChart line;
    line.setSeriesCount(2);
    line.setPointCount(12);
    const std::string expense = Gbk("支出金额");
    const std::string march = Gbk("3月");
    line.WriteProperty(LineChart::kCurrentSeries, MakeInt(1));
    line.WriteProperty(LineChart::kSeriesName, MakeTextRef(expense.c_str()));
    line.WriteProperty(LineChart::kSeriesColor, MakeInt(0xFF0000));
    line.WriteProperty(LineChart::kCurrentPoint, MakeInt(2));
    line.WriteProperty(LineChart::kPointLabel, MakeTextRef(march.c_str()));
    EXPECT_EQ(line.series(1).name, expense);
    EXPECT_EQ(line.series(1).color, 0xFF0000u);
    EXPECT_EQ(line.series(0).name, Gbk("销售金额"));
    EXPECT_EQ(line.pointLabel(2), march);
    EXPECT_EQ(line.pointLabel(0), Gbk("一月"));
}

TEST(ChartSettings, StartUpSettingsAfterTheTemplateTexts) {
    PieChart pie;
    LineChart line;
    ApplyChartSettings(ChartTemplateTexts(), pie, line);
    EXPECT_EQ(line.title(), Gbk("收支趋势图"));
    EXPECT_EQ(line.series(0).name, Gbk("收入金额"));
    EXPECT_EQ(line.pointLabel(0), Gbk("1月"));
    EXPECT_EQ(line.toolTipTemplate(), "${v}");
    EXPECT_EQ(pie.title(), Gbk("财务收支饼形图"));
    EXPECT_EQ(pie.item(0).name, Gbk("销售金额"));
    EXPECT_EQ(pie.unit(), Gbk("元"));

    ApplyChartSettings(ChartStartUpSettings(), pie, line);
    EXPECT_EQ(line.title(), Gbk("收支趋势图"));
    EXPECT_EQ(line.unit(), Gbk("千元"));
    EXPECT_EQ(line.caption(), Gbk("月份"));
    EXPECT_EQ(line.maximum(), 20);
    EXPECT_EQ(line.divisions(), 10);
    EXPECT_EQ(line.pointCount(), 12);
    EXPECT_EQ(line.seriesCount(), 2);
    EXPECT_EQ(pie.title(), Gbk("结构比例图"));
    EXPECT_EQ(pie.unit(), Gbk("元"));

    // The settings name the control property indices the program writes.
    std::vector<int32_t> indices;
    for (const ChartSetting& s : ChartStartUpSettings()) indices.push_back(s.index);
    EXPECT_EQ(indices, (std::vector<int32_t>{14, 18, 21, 22, 17, 30, 26, 16, 19}));
}

// Counts its paint events.
class CountingPie : public PieChart {
  public:
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        PieChart::paintEvent(event);
    }
};

TEST(ChartRepaint, EveryWriteRepaintsTheChart) {
    CountingPie pie;
    pie.resize(300, 200);
    pie.show();
    QApplication::processEvents();
    for (int number : {int(PieChart::kItemValue), int(PieChart::kCurrentItem),
                       int(PieChart::kTitle), int(PieChart::kDecimals)}) {
        pie.paints = 0;
        pie.WriteProperty(number, number == PieChart::kTitle ? MakeTextRef("x") : MakeInt(1));
        QApplication::processEvents();
        EXPECT_GE(pie.paints, 1) << "property " << number;
    }
}

}  // namespace
}  // namespace tavrin::charts
