// Sorting the item lists by clicks on their column headers, on real files:
// the direction alternates per list, amounts sort as numbers, times as dates,
// other texts as texts, and every row keeps the record it stands for.
#include "column_sort.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "analysis_test_support.h"
#include "finance/app_state.h"
#include "finance/hooks.h"
#include "forms/controls.h"
#include "forms/report_list.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

class ColumnSortTest : public AnalysisTest {
  protected:
    void SetUp() override {
        FinanceTest::SetUp();
        analysis::ResetSortDirections();
    }

    void ClickHeader(uint32_t list, int32_t column) {
        auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, list);
        ASSERT_NE(l, nullptr);
        QHeaderView* header = l->view()->header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void ShowExpensePage() {
        Pages(ids::MainPages)->setCurrent(1);
        SettleEvents();
    }
};

TEST_F(ColumnSortTest, ClicksAlternatePerListAndAmountsSortAsNumbers) {
    WriteExpenseFile({{"餐饮", 20, Days(2012, 1, 2), "b"},
                      {"交通", 100, Days(2012, 1, 1), "a"},
                      {"餐饮", 3, Days(2012, 1, 3), "c"}});
    WriteIncomeFile({{"工资", 7, Days(2012, 1, 1), "x"}, {"奖金", 10, Days(2012, 1, 2), "y"}});
    StartProgram();
    ShowExpensePage();
    ClickHeader(ids::ExpenseList, 1);
    EXPECT_EQ(Column(ids::ExpenseList, 1), (std::vector<std::string>{"3", "20", "100"}));
    // Every cell travels with its row.
    EXPECT_EQ(Rows(ids::ExpenseList)[2],
              (std::vector<std::string>{"2", "100", "交通", "2012年1月1日", "a"}));
    ClickHeader(ids::ExpenseList, 1);
    EXPECT_EQ(Column(ids::ExpenseList, 1), (std::vector<std::string>{"100", "20", "3"}));
    ClickHeader(ids::ExpenseList, 4);  // the direction flips whatever column is clicked
    EXPECT_EQ(Column(ids::ExpenseList, 4), (std::vector<std::string>{"a", "b", "c"}));

    // The income list has its own flag: its first click is ascending.
    forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::MainPages)->setCurrent(0);
    SettleEvents();
    ClickHeader(ids::IncomeList, 1);
    EXPECT_EQ(Column(ids::IncomeList, 1), (std::vector<std::string>{"7", "10"}));
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ColumnSortTest, AmountsByNumberDatesByDateEqualKeysKeepTheirOrderAndTheSelectionStays) {
    WriteExpenseFile({{"餐饮", 20000, Days(2016, 10, 2), "a"},
                      {"交通", 123.45f, Days(2016, 1, 5), "b"},
                      {"餐饮", 8500, Days(2016, 1, 5, 9, 30), "c"},
                      {"住房", 8500, Days(2015, 12, 31), "d"},
                      {"餐饮", 0.5f, Days(2016, 2, 1), "e"}});
    StartProgram();
    ShowExpensePage();
    ClickRow(ids::ExpenseList, 2);  // c, selected
    ClickHeader(ids::ExpenseList, 1);
    EXPECT_EQ(Column(ids::ExpenseList, 1),
              (std::vector<std::string>{"0.5", "123.45", "8500", "8500", "20000"}));
    EXPECT_EQ(Column(ids::ExpenseList, 4), (std::vector<std::string>{"e", "b", "c", "d", "a"}));
    ClickHeader(ids::ExpenseList, 1);  // descending: equal amounts still c before d
    EXPECT_EQ(Column(ids::ExpenseList, 4), (std::vector<std::string>{"a", "c", "d", "b", "e"}));
    ClickHeader(ids::ExpenseList, 3);  // ascending by date, then time of day
    EXPECT_EQ(Column(ids::ExpenseList, 4), (std::vector<std::string>{"d", "b", "c", "e", "a"}));
    // Serials sort as numbers, categories as texts.
    ClickHeader(ids::ExpenseList, 0);
    EXPECT_EQ(Column(ids::ExpenseList, 0), (std::vector<std::string>{"5", "4", "3", "2", "1"}));
    // The selected row is still c, and a change acts on its record.
    auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::ExpenseList);
    ASSERT_EQ(l->currentRow(), 2);
    EXPECT_EQ(Rows(ids::ExpenseList)[2][4], "c");
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ColumnSortTest, LettersCompareWithoutCase) {
    WriteExpenseFile({{"餐饮", 1, Days(2012, 1, 1), "b"},
                      {"餐饮", 2, Days(2012, 1, 1), "A"},
                      {"餐饮", 3, Days(2012, 1, 1), "C"}});
    StartProgram();
    ShowExpensePage();
    ClickHeader(ids::ExpenseList, 4);
    EXPECT_EQ(Column(ids::ExpenseList, 4), (std::vector<std::string>{"A", "b", "C"}));
}

TEST_F(ColumnSortTest, AfterASortViewChangeAndDeleteHitTheRecordTheRowShows) {
    WriteExpenseFile({{"餐饮", 20, Days(2012, 1, 2), "b"},
                      {"交通", 100, Days(2012, 1, 1), "a"},
                      {"餐饮", 3, Days(2012, 1, 3), "c"}});
    WriteIncomeFile({{"工资", 1000, Days(2012, 1, 1), "x"}});
    StartProgram();
    ShowExpensePage();
    ClickHeader(ids::ExpenseList, 1);  // ascending by number: 3, 20, 100
    ASSERT_EQ(Column(ids::ExpenseList, 1), (std::vector<std::string>{"3", "20", "100"}));

    ClickRow(ids::ExpenseList, 0);  // a click views the row
    EXPECT_EQ(U(forms::FindControlAs<forms::EditControl>(ids::MainWindow, ids::ExpenseAmountEdit)
                    ->text()),
              "3");
    auto* edit = qobject_cast<QLineEdit*>(Widget(ids::ExpenseAmountEdit));
    edit->clear();
    QTest::keyClicks(edit, "4");
    Click(ids::ExpenseChangeButton);
    EXPECT_EQ(AmountsOf("财务支出.edb", "支出金额"), (std::vector<float>{20, 100, 4}));

    ClickRow(ids::ExpenseList, 2);
    Click(ids::ExpenseDeleteButton);
    EXPECT_EQ(AmountsOf("财务支出.edb", "支出金额"), (std::vector<float>{20, 4}));
    EXPECT_EQ(TextsOf("财务支出.edb", "备注信息"), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(State().totalExpense, 24.0f);
    for (const ShownMessage& m : TakeMessages()) ADD_FAILURE() << m.text;
}

TEST_F(ColumnSortTest, ANegativeColumnOnlyAsksForAHeaderClick) {
    WriteExpenseFile({{"餐饮", 20, Days(2012, 1, 2), "b"}, {"交通", 100, Days(2012, 1, 1), "a"}});
    StartProgram();
    ASSERT_NE(Hooks().sortList, nullptr);
    Hooks().sortList(ids::ExpenseList, -1);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "请先点击选中需要操作列的表头.");
    EXPECT_EQ(shown[0].caption, "操作提示");
    EXPECT_EQ(shown[0].style & tavrin::kStyleIconMask, tavrin::kIconInformation);
    EXPECT_EQ(Column(ids::ExpenseList, 1), (std::vector<std::string>{"20", "100"}));
    // The flag did not flip: the next click is still the first, ascending one.
    ShowExpensePage();
    ClickHeader(ids::ExpenseList, 1);
    EXPECT_EQ(Column(ids::ExpenseList, 1), (std::vector<std::string>{"20", "100"}));
}

}  // namespace
}  // namespace tavrin::finance::testing
