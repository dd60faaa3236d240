// The period views on real files, driven through the main window's page
// controls: which records a period lists and sums, the pie items, the trend
// series and the totals.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/charts/line_chart.h"
#include "analysis_test_support.h"
#include "finance/app_state.h"
#include "finance/period_views.h"
#include "finance/shown_period.h"
#include "forms/controls.h"
#include "runtime/kernel/registry_commands.h"
#include "runtime/message_box.h"
#include "ui/window_access.h"

namespace tavrin::finance::testing {

using namespace tavrin::ui;
namespace {

using tavrin::charts::LineChart;

class PeriodViewTest : public AnalysisTest {
  protected:
    LineChart& Line() {
        auto* line =
            dynamic_cast<LineChart*>(analysis::FindChart(ids::MainWindow, ids::LineChart1));
        EXPECT_NE(line, nullptr);
        return *line;
    }
    void WriteSampleFiles() {
        WriteCategoryFile(true, {"工资", "奖金", "工资"});
        WriteCategoryFile(false, {"餐饮", "交通"});
        WriteIncomeFile({
            {"工资", 1000, Days(2012, 3, 5), "三月"},
            {"奖金", 200, Days(2012, 12, 1), "年终"},
            {"工资", 1500, Days(2013, 3, 5), "次年三月"},
            {"兼职", 70, Days(2012, 3, 9), "无此类别"},
        });
        WriteExpenseFile({
            {"餐饮", 30, Days(2012, 3, 2), ""},
            {"交通", 12.5, Days(2012, 5, 2), ""},
            {"餐饮", 400, Days(2013, 1, 2), ""},
        });
    }
};

TEST_F(PeriodViewTest, AllYearsAndMonthsListEveryRecordAndSumEveryCategory) {
    WriteSampleFiles();
    StartProgram();
    EXPECT_EQ(Column(ids::IncomeList, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
    // 工资 stands twice in the category list and receives its amount twice.
    EXPECT_EQ(PieItems(), (std::vector<std::pair<std::string, double>>{
                              {"工资", 2500}, {"奖金", 200}, {"工资", 2500}}));
    ASSERT_NE(Pie(), nullptr);
    EXPECT_EQ(Pie()->item(0).color, 0xFF8080u);
    EXPECT_EQ(Pie()->item(1).color, 0x8050FFu);
    // The unfiltered view relists the file, so the total is the file's sum.
    EXPECT_FLOAT_EQ(State().totalIncome, 2770);
}

TEST_F(PeriodViewTest, AMonthUnderTheYearTotalTakesThatMonthOfEveryYear) {
    WriteSampleFiles();
    StartProgram();
    SelectPage(ids::MonthPages, "3");
    EXPECT_EQ(Column(ids::IncomeList, 3),
              (std::vector<std::string>{"2012年3月5日", "2013年3月5日", "2012年3月9日"}));
    EXPECT_EQ(Column(ids::IncomeList, 0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(PieItems()[0].second, 2500);
    EXPECT_EQ(PieItems()[1].second, 0);
    // The total is that of the listed items: once each, whatever the category
    // list holds (a category in no entry counts, one listed twice counts once).
    EXPECT_FLOAT_EQ(State().totalIncome, 2570);
    EXPECT_EQ(Pane(1), "2570元");
}

TEST_F(PeriodViewTest, YearAndMonthTogetherCountOnlyThatMonthOfThatYear) {
    WriteSampleFiles();
    StartProgram();
    SelectPage(ids::YearPages, "2012");
    SelectPage(ids::MonthPages, "3");
    EXPECT_EQ(Column(ids::IncomeList, 4), (std::vector<std::string>{"三月", "无此类别"}));
    EXPECT_EQ(PieItems()[0].second, 1000);
    EXPECT_EQ(PieItems()[1].second, 0);  // December 2012 is not March

    // The expense page shows the expense side of the same period.
    SelectPage(ids::MainPages, "支出详单");
    EXPECT_EQ(Column(ids::ExpenseList, 1), (std::vector<std::string>{"30"}));
    EXPECT_EQ(PieItems(), (std::vector<std::pair<std::string, double>>{{"餐饮", 30}, {"交通", 0}}));
    EXPECT_FLOAT_EQ(State().totalExpense, 30);
}

TEST_F(PeriodViewTest, RowsOfAPeriodViewKeepTheRecordTheyStandFor) {
    WriteSampleFiles();
    StartProgram();
    SelectPage(ids::MonthPages, "12");
    ASSERT_EQ(Rows(ids::IncomeList).size(), 1u);
    // The second record of the file (serial 2) is the one December shows.
    EXPECT_EQ(ui::LvItemData(ids::IncomeList, 0), 2);
}

TEST_F(PeriodViewTest, UndoInAPeriodViewFindsTheRecordAndThePieFollows) {
    WriteSampleFiles();
    StartProgram();
    SelectPage(ids::MonthPages, "3");
    ClickRow(ids::IncomeList, 1);  // 1500 of March 2013
    Click(ids::IncomeDeleteButton);
    EXPECT_EQ(PieItems()[0].second, 1000);
    ClickRow(ids::IncomeList, 0);
    ClickToolButton(10);
    EXPECT_EQ(Column(ids::IncomeList, 4),
              (std::vector<std::string>{"三月", "无此类别", "次年三月"}));
    EXPECT_EQ(PieItems()[0].second, 2500);
    ClickToolButton(11);  // the delete again, of the record put back
    EXPECT_EQ(Column(ids::IncomeList, 4), (std::vector<std::string>{"三月", "无此类别"}));
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"),
              (std::vector<std::string>{"三月", "年终", "无此类别"}));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(PeriodViewTest, TrendViewSumsMonthsInThousandsWithTheSharedMaximum) {
    WriteSampleFiles();
    StartProgram();
    SelectPage(ids::ChartPages, "时间曲线图");
    const auto& model = Line().model();
    ASSERT_GE(model.series.size(), 2u);
    EXPECT_EQ(U(model.series[0].name), "收入金额");
    EXPECT_EQ(model.series[0].color, 0x0000FFu);
    EXPECT_EQ(U(model.series[1].name), "支出金额");
    const size_t points = model.labels.size();
    ASSERT_EQ(points, 12u);
    EXPECT_EQ(U(model.labels[2]), "3月");
    EXPECT_DOUBLE_EQ(model.values[2], 2.57);          // March of every year, income
    EXPECT_DOUBLE_EQ(model.values[11], 0.2);          // December
    EXPECT_DOUBLE_EQ(model.values[points + 0], 0.4);  // January expense
    EXPECT_EQ(Line().maximum(), 2);                   // floor of the largest month in thousands
    EXPECT_FLOAT_EQ(State().totalIncome, 2770);
    EXPECT_FLOAT_EQ(State().totalExpense, 442.5);
    EXPECT_EQ(Rows(ids::IncomeList).size(), 4u);
    EXPECT_EQ(Rows(ids::ExpenseList).size(), 3u);

    // A month click in trend mode only tells the user.
    TakeMessages();
    SelectPage(ids::MonthPages, "5");
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "趋势图状态下点击月份无效.");
    EXPECT_EQ(shown[0].caption, "操作提示");
    EXPECT_EQ(shown[0].style & (tavrin::kStyleButtonsMask | tavrin::kStyleIconMask),
              tavrin::kIconInformation);
}

TEST_F(PeriodViewTest, TheEntryComboBoxTextFiltersNothingInTheTrend) {
    WriteSampleFiles();
    StartProgram();
    ui::SetComboText(ids::ExpenseCategoryCombo, G("没有的类别"));
    SelectPage(ids::ChartPages, "时间曲线图");
    const auto& model = Line().model();
    EXPECT_DOUBLE_EQ(model.values[12 + 0], 0.4);
    EXPECT_FLOAT_EQ(State().totalExpense, 442.5);
    EXPECT_EQ(Rows(ids::ExpenseList).size(), 3u);
}

TEST_F(PeriodViewTest, MonthSumsBelowAThousandGiveMaximumZero) {
    WriteCategoryFile(true, {"工资"});
    WriteCategoryFile(false, {"餐饮"});
    WriteIncomeFile({{"工资", 999, Days(2012, 1, 1), ""}});
    WriteExpenseFile({{"餐饮", 500, Days(2012, 2, 1), ""}});
    StartProgram();
    SelectPage(ids::ChartPages, "时间曲线图");
    EXPECT_EQ(Line().maximum(), 0);
}

TEST_F(PeriodViewTest, AddingOnThePiePageRedrawsThePieWithoutTouchingTheLists) {
    WriteSampleFiles();
    StartProgram();
    SelectPage(ids::YearPages, "2012");
    const auto incomeRows = Rows(ids::IncomeList);
    const auto expenseRows = Rows(ids::ExpenseList);
    // Another 工资 of March 2012 written behind the program's back, then the redraw
    // that follows every item change.
    WriteIncomeFile({
        {"工资", 1000, Days(2012, 3, 5), "三月"},
        {"奖金", 200, Days(2012, 12, 1), "年终"},
        {"工资", 1500, Days(2013, 3, 5), "次年三月"},
        {"兼职", 70, Days(2012, 3, 9), "无此类别"},
        {"工资", 5, Days(2012, 7, 1), "新"},
    });
    finance::RefreshChartAfterItemChange();
    EXPECT_EQ(PieItems()[0].second, 1005);
    EXPECT_EQ(Rows(ids::IncomeList), incomeRows);
    EXPECT_EQ(Rows(ids::ExpenseList), expenseRows);
}

TEST_F(PeriodViewTest, PrintPagesHideTheChartFrame) {
    WriteSampleFiles();
    StartProgram();
    QWidget* frame = Widget(ids::ChartFrame);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    SelectPage(ids::MainPages, "打印当前图");
    EXPECT_FALSE(frame->isVisible());
    SelectPage(ids::MainPages, "收入详单");
    EXPECT_TRUE(frame->isVisible());
}

// The tool bar's "打印图" prints the shown chart in landscape; with no printer the
// job goes to a PDF, which renders with the pie's slice colours on it.
TEST_F(PeriodViewTest, PrintChartButtonWritesThePieToAPdf) {
    WriteCategoryFile(true, {"工资", "奖金"});
    WriteCategoryFile(false, {"餐饮"});
    WriteIncomeFile({{"工资", 3000, Days(2012, 3, 5), ""}, {"奖金", 1000, Days(2012, 4, 5), ""}});
    WriteExpenseFile({});
    StartProgram();
    QTemporaryDir out;
    const QString pdf = out.path() + "/chart.pdf";
    // The folder of a PDF file is remembered in the settings: a store of the test's own.
    tavrin::SetSettingsDirectory(out.path().toStdString() + "/config");
    std::string asked;
    tavrin::SetDialogResponder([&](const tavrin::DialogRequest& r) {
        asked = r.kind;
        tavrin::DialogReply reply;
        reply.accepted = true;
        reply.fields["output"] = pdf.toStdString();  // a printer's dialog
        reply.fields["file"] = pdf.toStdString();    // no printer: the PDF file
        return std::optional<tavrin::DialogReply>(reply);
    });
    ClickToolButton(8);
    tavrin::SetDialogResponder({});
    EXPECT_EQ(asked, QPrinterInfo::availablePrinterNames().isEmpty() ? "save-file" : "print");
    ASSERT_TRUE(QFile::exists(pdf));
    QProcess::execute("pdftoppm", {"-r", "30", "-png", "-singlefile", pdf, out.path() + "/page"});
    const QImage page(out.path() + "/page.png");
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());  // landscape
    // Both slice colours (0x00BBGGRR 0xFF8080 and 0x8050FF) appear on the page.
    auto has = [&](QColor want) {
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                if (std::abs(c.red() - want.red()) < 20 &&
                    std::abs(c.green() - want.green()) < 20 &&
                    std::abs(c.blue() - want.blue()) < 20)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(has(QColor(0x80, 0x80, 0xFF)));
    EXPECT_TRUE(has(QColor(0xFF, 0x50, 0x80)));
    tavrin::SetSettingsDirectory("");
}

TEST(PeriodKeys, YearAndMonthPartsOfADateText) {
    EXPECT_EQ(finance::YearPartOf(G("2012年12月3日")), "2012");
    EXPECT_EQ(finance::MonthPartOf(G("2012年12月3日")), "12");
    EXPECT_EQ(finance::MonthPartOf(G("2012年5月3日8时")), "5");
    EXPECT_EQ(finance::MonthPartOf(""), "");
}

// The person's entry of one item: a category from the list, an amount typed,
// a date picked, the add button clicked.
void AddItemByHand(FinanceTest& t, bool income, int category, const char* amount, double day);

TEST_F(PeriodViewTest, TheToolBarsDetailButtonsChangeThePageAsATabClickDoes) {
    WriteSampleFiles();
    StartProgram();
    QWidget* frame = Widget(ids::ChartFrame);
    ASSERT_NE(frame, nullptr);
    auto names = [this] {
        std::vector<std::string> out;
        for (const auto& item : PieItems()) out.push_back(item.first);
        return out;
    };
    SelectPage(ids::MainPages, "打印当前表");
    EXPECT_FALSE(frame->isVisible());
    ClickToolButton(4);
    EXPECT_EQ(ui::CurrentPage(ids::MainPages), 0);
    EXPECT_TRUE(frame->isVisible());
    ClickToolButton(5);
    EXPECT_EQ(names(), (std::vector<std::string>{"餐饮", "交通"}));
    EXPECT_EQ(Pane(3), "442.5元");
    ClickToolButton(4);
    EXPECT_EQ(names(), (std::vector<std::string>{"工资", "奖金", "工资"}));
    // Adding from a print page switches to the side's page with the same handling.
    SelectPage(ids::MainPages, "打印当前图");
    AddItemByHand(*this, false, 1, "7.5", Days(2012, 5, 9));
    EXPECT_EQ(ui::CurrentPage(ids::MainPages), 1);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(PieItems(),
              (std::vector<std::pair<std::string, double>>{{"餐饮", 430}, {"交通", 20}}));
}

TEST_F(PeriodViewTest, AnItemOfAnEarlierYearKeepsTheSelectedYear) {
    WriteSampleFiles();
    StartProgram();
    SelectPage(ids::YearPages, "2013");
    ASSERT_EQ(PieItems()[0].second, 1500);
    AddItemByHand(*this, true, 0, "5", Days(2009, 6, 1));
    auto* years = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::YearPages);
    std::vector<std::string> titles;
    for (int32_t p = 0; p < years->pageCount(); ++p) titles.push_back(U(years->pageTitle(p)));
    EXPECT_NE(std::find(titles.begin(), titles.end(), "2009"), titles.end());
    EXPECT_EQ(U(years->pageTitle(years->current())), "2013");
    // The pie still shows 2013, the year the list shows.
    EXPECT_EQ(PieItems()[0].second, 1500);
    EXPECT_EQ(Column(ids::IncomeList, 4).front(), "次年三月");
}

TEST_F(PeriodViewTest, AnEmptyDataSetShowsAnEmptyPieFromTheFirstStart) {
    StartProgram();
    EXPECT_EQ(PieItems(), (std::vector<std::pair<std::string, double>>{{"", 0}}));
    // Choosing a side again keeps it empty.
    ClickToolButton(5);
    ClickToolButton(4);
    EXPECT_EQ(PieItems(), (std::vector<std::pair<std::string, double>>{{"", 0}}));
}

void AddItemByHand(FinanceTest&, bool income, int category, const char* amount, double day) {
    forms::Control* combo = forms::FindControl(
        ids::MainWindow, income ? ids::IncomeCategoryCombo : ids::ExpenseCategoryCombo);
    qobject_cast<QComboBox*>(combo->widget())->setCurrentIndex(category);
    auto* edit = qobject_cast<QLineEdit*>(
        forms::FindControl(ids::MainWindow, income ? ids::IncomeAmountEdit : ids::ExpenseAmountEdit)
            ->widget());
    edit->clear();
    QTest::keyClicks(edit, amount);
    forms::FindControlAs<forms::DatePickerControl>(
        ids::MainWindow, income ? ids::IncomeDatePicker : ids::ExpenseDatePicker)
        ->setValue(day);
    QTest::mouseClick(
        forms::FindControl(ids::MainWindow, income ? ids::IncomeAddButton : ids::ExpenseAddButton)
            ->widget(),
        Qt::LeftButton);
}

}  // namespace
}  // namespace tavrin::finance::testing
