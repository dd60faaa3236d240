// The period the year and month pages name is what the lists, the three totals
// and the pie cover: an item added or changed outside it leaves the list with a
// word in the status bar, the chart pages and the category combo box change
// nothing of it, and clearing or renaming leaves no stale page or slice behind.
#include "finance/shown_period.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "analysis_test_support.h"
#include "finance/app_state.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "runtime/base/calendar.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/message_box.h"
#include "runtime/owned_text.h"

namespace tavrin::finance::testing {
namespace {

class ShownPeriodTest : public AnalysisTest {
  protected:
    void SetUp() override {
        FinanceTest::SetUp();
        WriteTwoCategoriesASide();
        WriteIncomeFile({{"工资", 100, Days(2025, 2, 10), "二月工资"},
                         {"奖金", 50, Days(2025, 3, 5), "三月奖金"},
                         {"工资", 7, Days(1999, 12, 1), "旧账"}});
        WriteExpenseFile(
            {{"餐饮", 30, Days(2025, 2, 11), ""}, {"交通", 20, Days(2025, 3, 12), ""}});
        StartProgram();
    }
    std::vector<std::string> PageTitles(uint32_t pageControl) {
        std::vector<std::string> out;
        for (int32_t p = 0; p < Pages(pageControl)->pageCount(); ++p)
            out.push_back(U(Pages(pageControl)->pageTitle(p)));
        return out;
    }
    std::vector<std::string> Remarks(uint32_t list) { return Column(list, 4); }
    void EnterIncome(int category, const char* amount, double days) {
        qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo))->setCurrentIndex(category);
        auto* edit = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
        edit->clear();
        QTest::keyClicks(edit, amount);
        forms::FindControlAs<forms::DatePickerControl>(ids::MainWindow, ids::IncomeDatePicker)
            ->setValue(days);
    }
};

TEST_F(ShownPeriodTest, ADecemberItemAddedUnderFebruaryLeavesTheListAndTheStatusBarSaysWhere) {
    SelectPage(ids::YearPages, "2025");
    SelectPage(ids::MonthPages, "2");
    // Both lists and all three totals cover February 2025, and the bar says so.
    EXPECT_EQ(Remarks(ids::IncomeList), std::vector<std::string>{"二月工资"});
    EXPECT_EQ(Rows(ids::ExpenseList).size(), 1u);
    EXPECT_EQ(Pane(0), "〔2025年2月〕总收入：");
    EXPECT_EQ(Pane(1), "100元");
    EXPECT_EQ(Pane(3), "30元");
    EXPECT_EQ(Pane(5), "70元");

    EnterIncome(1, "40", Days(2025, 12, 24));
    Click(ids::IncomeAddButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 4);
    EXPECT_EQ(Remarks(ids::IncomeList), std::vector<std::string>{"二月工资"});
    EXPECT_EQ(Pane(1), "100元");
    EXPECT_EQ(Pane(8), "备注：收入40元，记在2025年12月24日，不在列表显示的2025年2月中。");

    // A change that moves the February item to March takes it out of the list too.
    ClickRow(ids::IncomeList, 0);
    forms::FindControlAs<forms::DatePickerControl>(ids::MainWindow, ids::IncomeDatePicker)
        ->setValue(Days(2025, 3, 1));
    Click(ids::IncomeChangeButton);
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_EQ(Pane(1), "0元");
    EXPECT_EQ(Pane(5), "-30元");
    EXPECT_EQ(Pane(8), "备注：收入100元，记在2025年3月1日，不在列表显示的2025年2月中。");

    // An item inside the period is listed and counted, and the note goes.
    EnterIncome(0, "5", Days(2025, 2, 20));
    Click(ids::IncomeAddButton);
    EXPECT_EQ(Rows(ids::IncomeList).size(), 1u);
    EXPECT_EQ(Pane(1), "5元");
    EXPECT_EQ(Pane(8), "备注：");
}

TEST_F(ShownPeriodTest, ChartPagesAndTheCategoryComboKeepThePeriodTheTabsName) {
    SelectPage(ids::YearPages, "2025");
    SelectPage(ids::MonthPages, "3");
    EXPECT_EQ(PieItems(), (std::vector<std::pair<std::string, double>>{{"工资", 0}, {"奖金", 50}}));

    // The trend chart covers the year: the month pages say so.
    SelectPage(ids::ChartPages, "时间曲线图");
    EXPECT_EQ(Pages(ids::MonthPages)->current(), 0);
    EXPECT_EQ(Pane(0), "〔2025年〕总收入：");
    EXPECT_EQ(Pane(1), "150元");
    EXPECT_EQ(Pane(3), "50元");
    // Choosing a category for a new item filters nothing.
    auto* combo = qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo));
    combo->setCurrentIndex(0);
    QTest::keyClick(combo, Qt::Key_Down);
    SettleEvents();
    EXPECT_EQ(ComboText(ids::IncomeCategoryCombo), "奖金");
    EXPECT_EQ(Remarks(ids::IncomeList), (std::vector<std::string>{"二月工资", "三月奖金"}));
    EXPECT_EQ(Pane(1), "150元");
    // A month in the trend chart is refused and the page goes back to "月合计".
    SelectPage(ids::MonthPages, "5");
    ASSERT_EQ(TakeMessages().size(), 1u);
    EXPECT_EQ(Pages(ids::MonthPages)->current(), 0);

    // Back on the pie, it shows the period the pages name, not all time.
    SelectPage(ids::ChartPages, "类型饼图");
    EXPECT_EQ(PieItems(),
              (std::vector<std::pair<std::string, double>>{{"工资", 100}, {"奖金", 50}}));
    SelectPage(ids::YearPages, "年合计");
    EXPECT_EQ(Pane(0), "〔全部〕总收入：");
    EXPECT_EQ(Pane(1), "157元");
}

TEST_F(ShownPeriodTest, ClearingDropsTheEmptiedYearsAndARenamedCategoryReachesThePie) {
    const std::vector<std::string> before = PageTitles(ids::YearPages);
    ASSERT_EQ(before[1], "1999");  // a page of its own, before the template's years
    SelectPage(ids::YearPages, "1999");
    AnswerNext(tavrin::kButtonYes);
    ClickToolButton(1);
    SettleEvents();
    TakeMessages();
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 0);
    // The emptied year's page is gone, the window's own year pages stay.
    std::vector<std::string> after = before;
    after.erase(after.begin() + 1);
    EXPECT_EQ(PageTitles(ids::YearPages), after);
    EXPECT_EQ(Pages(ids::YearPages)->current(), 0);
    EXPECT_EQ(Pane(0), "〔全部〕总收入：");

    WhenCategoryGridShows(true, 2, [] {
        QTableView* grid = CategoryGrid(true);
        grid->model()->setData(grid->model()->index(0, 0), QStringLiteral("薪水"));
        forms::WindowWidget(ids::IncomeCategoryWindow)->close();
    });
    Click(ids::IncomeCategoryButton);
    SettleEvents();
    EXPECT_EQ(PieItems(), (std::vector<std::pair<std::string, double>>{{"薪水", 0}, {"奖金", 0}}));
}

TEST_F(ShownPeriodTest, UndoAndRedoKeepTheListAndItsTotalToThePeriod) {
    SelectPage(ids::YearPages, "2025");
    SelectPage(ids::MonthPages, "2");
    // The February item moved to March leaves; undone it comes back, counted once.
    ClickRow(ids::IncomeList, 0);
    forms::FindControlAs<forms::DatePickerControl>(ids::MainWindow, ids::IncomeDatePicker)
        ->setValue(Days(2025, 3, 1));
    Click(ids::IncomeChangeButton);
    TakeMessages();
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_EQ(Pane(1), "0元");
    ClickToolButton(10);  // 撤销
    EXPECT_EQ(Remarks(ids::IncomeList), std::vector<std::string>{"二月工资"});
    EXPECT_EQ(Pane(1), "100元");
    ClickToolButton(11);  // 重复
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_EQ(Pane(1), "0元");

    // An add outside the period, undone and redone: never listed, never counted.
    EnterIncome(1, "40", Days(2025, 12, 24));
    Click(ids::IncomeAddButton);
    TakeMessages();
    ClickToolButton(10);
    ClickToolButton(11);
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 4);
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_EQ(Pane(1), "0元");
    EXPECT_EQ(Pane(5), "-30元");
}

// The views decide most dates from the date serial; the answer must be the one
// the date's text gives, for every day of years the lists meet and every page.
TEST(ShownPeriodDates, TheSerialDecidesAsTheDateTextDoes) {
    for (int32_t year : {1999, 2012, 2024}) {
        for (int32_t month = 0; month <= 12; ++month) {
            finance::ShownPeriod period;
            period.byYear = true;
            period.yearKey = "2012";
            period.byMonth = month > 0;
            period.monthKey = std::to_string(month);
            const double first = kernel::ComposeDateTime({year, 1, 1, 0, 0, 0});
            for (double day = first; day < first + 366; day += 1.25) {
                const std::string text = TakeText(CallKernel(ToText, MakeDateTime(day)));
                const std::optional<bool> fromSerial = period.holdsDate(day);
                ASSERT_TRUE(fromSerial.has_value());
                ASSERT_EQ(*fromSerial, period.holds(text)) << text;
            }
        }
    }
}

}  // namespace
}  // namespace tavrin::finance::testing
