// Amounts in the period views: the same stored amount reads the same in every
// listing, and the totals are exact sums that only a change of data moves.
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "analysis_test_support.h"
#include "finance/app_state.h"
#include "money/money_text.h"

namespace tavrin::finance::testing {
namespace {

class PeriodMoneyTest : public AnalysisTest {
  protected:
    std::vector<std::string> AmountCells(uint32_t list) { return Column(list, 1); }
};

TEST_F(PeriodMoneyTest, ListsShowTheCentsAndOnlyADataChangeMovesATotal) {
    WriteCategoryFile(true, {"工资", "奖金"});
    WriteCategoryFile(false, {"餐饮"});
    // About 1亿 of income, where single-precision sums lose whole 元, and
    // amounts that single precision cannot hold to the cent.
    std::vector<Item> income;
    long double exact = 0;  // these amounts' sum fits 64 bits exactly
    for (int i = 0; i < 120; ++i) {
        const float amount = i % 3 == 0 ? 2499999.5f : i % 3 == 1 ? 12345.67f : 0.1f;
        income.push_back({i % 2 ? "工资" : "奖金", amount, Days(2012 + i % 2, 1 + i % 12, 5), ""});
        exact += amount;
    }
    WriteIncomeFile(income);
    WriteExpenseFile({{"餐饮", 5292.3f, Days(2012, 3, 1), ""}});
    StartProgram();
    const std::string total = U(money::MoneyTotalText(double(exact)));
    EXPECT_EQ(total, "10049.38108万元");
    EXPECT_EQ(Pane(1), total);
    EXPECT_EQ(Pane(3), "5292.3元");
    EXPECT_EQ(AmountCells(ids::IncomeList)[0], "2499999.5");
    EXPECT_EQ(AmountCells(ids::IncomeList)[1], "12345.67");
    EXPECT_EQ(AmountCells(ids::IncomeList)[2], "0.1");

    // A year's list shows its rows with the same texts, its total exact too.
    SelectPage(ids::YearPages, "2012");
    const auto year = Rows(ids::IncomeList);
    ASSERT_EQ(year.size(), 60u);
    long double yearSum = 0;
    for (size_t i = 0; i < income.size(); i += 2) yearSum += income[i].amount;
    for (size_t r = 0; r < year.size(); ++r)
        EXPECT_EQ(year[r][1], money::MoneyText(income[2 * r].amount)) << r;
    EXPECT_EQ(Pane(1), U(money::MoneyTotalText(double(yearSum))));

    // Back to all years, the trend chart and back: nothing moves the totals.
    SelectPage(ids::YearPages, "年合计");
    EXPECT_EQ(Pane(1), total);
    SelectPage(ids::ChartPages, "时间曲线图");
    EXPECT_EQ(Pane(1), total);
    EXPECT_EQ(Pane(3), "5292.3元");
    EXPECT_EQ(AmountCells(ids::IncomeList)[0], "2499999.5");
    SelectPage(ids::ChartPages, "类型饼图");
    EXPECT_EQ(Pane(1), total);
    EXPECT_EQ(State().totalIncome.value(), double(exact));

    // An add of 3 元 at this total adds exactly 3 元.
    qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo))->setCurrentIndex(0);
    auto* amount = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    amount->clear();
    QTest::keyClicks(amount, "3");
    Click(ids::IncomeAddButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(Pane(1), U(money::MoneyTotalText(double(exact + 3))));
    EXPECT_EQ(Pane(1), "10049.38138万元");
}

}  // namespace
}  // namespace tavrin::finance::testing
