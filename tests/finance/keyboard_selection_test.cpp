// The row a person reaches with the keys is the row the entry fields show, so
// that 修改 and 删除 act on the item whose values are seen: real key presses on
// the real list, the record file read back record by record.
#include <QLineEdit>
#include <QTest>

#include "finance/app_state.h"
#include "finance_test_support.h"
#include "forms/controls.h"
#include "forms/report_list.h"

namespace tavrin::finance::testing {
namespace {

class KeyboardSelectionTest : public FinanceTest {
  protected:
    void SetUp() override {
        FinanceTest::SetUp();
        WriteCategoryFile(true, {"工资", "奖金", "理财"});
        WriteIncomeFile({{"工资", 100, Days(2025, 1, 5), "一月"},
                         {"奖金", 200, Days(2025, 2, 6), "二月"},
                         {"理财", 300, Days(2025, 3, 7), "三月"},
                         {"工资", 400, Days(2025, 4, 8), "四月"}});
        StartProgram();
    }
    void Press(Qt::Key key) {
        auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
        ASSERT_NE(l, nullptr);
        QTest::keyClick(l->view(), key);
        SettleEvents();
    }
    std::string Shown(uint32_t edit) {
        return U(forms::FindControlAs<forms::EditControl>(ids::MainWindow, edit)->text());
    }
};

TEST_F(KeyboardSelectionTest, DownTwiceThenChangeChangesTheRowWhoseValuesAreSeen) {
    ClickRow(ids::IncomeList, 0);
    ASSERT_EQ(Shown(ids::IncomeAmountEdit), "100");
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    // The third row is viewed: its values fill the entry fields.
    EXPECT_EQ(Shown(ids::IncomeAmountEdit), "300");
    EXPECT_EQ(ComboText(ids::IncomeCategoryCombo), "理财");
    EXPECT_EQ(Shown(ids::IncomeRemarkEdit), "三月");

    auto* amount = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    amount->selectAll();
    QTest::keyClicks(amount, "350");
    Click(ids::IncomeChangeButton);
    EXPECT_TRUE(TakeMessages().empty());
    // Record by record: only the third changed, and only in the edited field.
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{100, 200, 350, 400}));
    EXPECT_EQ(TextsOf("财务收入.edb", "收入类型"),
              (std::vector<std::string>{"工资", "奖金", "理财", "工资"}));
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"),
              (std::vector<std::string>{"一月", "二月", "三月", "四月"}));
    EXPECT_EQ(State().totalIncome, 1050.0f);
}

TEST_F(KeyboardSelectionTest, EndHomeAndUpViewTheirRowsAndDeleteTakesTheOneSeen) {
    ClickRow(ids::IncomeList, 1);
    Press(Qt::Key_End);
    EXPECT_EQ(Shown(ids::IncomeRemarkEdit), "四月");
    Press(Qt::Key_Home);
    EXPECT_EQ(Shown(ids::IncomeRemarkEdit), "一月");
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Shown(ids::IncomeRemarkEdit), "四月");
    Press(Qt::Key_Up);
    EXPECT_EQ(Shown(ids::IncomeRemarkEdit), "三月");
    Click(ids::IncomeDeleteButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"),
              (std::vector<std::string>{"一月", "二月", "四月"}));
    EXPECT_EQ(State().totalIncome, 700.0f);
}

}  // namespace
}  // namespace tavrin::finance::testing
