// The period views answer from the items kept in memory; after a long mixed
// session (adds, changes, deletes, undos and redos in every kind of view, an
// import by the data-file tool from another process while the program runs,
// and a clearing) every view must show what a fresh read of the files shows.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTabBar>
#include <QTest>
#include <random>

#include "analysis_test_support.h"
#include "finance/item_index.h"
#include "finance/period_views.h"
#include "forms/controls.h"
#include "runtime/message_box.h"
#include "ui/window_access.h"

namespace tavrin::finance::testing {

using namespace tavrin::ui;
namespace {

class PeriodIndexTest : public AnalysisTest {
  protected:
    void ClickPage(uint32_t control, int32_t page) {
        Pages(control)->tabBar()->setCurrentIndex(page % Pages(control)->pageCount());
        SettleEvents();
    }

    // What a person sees of the period: both lists, the pie and the totals.
    struct Seen {
        std::vector<std::vector<std::string>> income, expense;
        std::vector<std::pair<std::string, double>> pie;
        std::string panes;
        bool operator==(const Seen&) const = default;
    };
    Seen See() {
        Seen s{Rows(ids::IncomeList), Rows(ids::ExpenseList), PieItems(), {}};
        for (int32_t p = 0; p < 4; ++p) s.panes += Pane(p) + "|";
        return s;
    }
    void RefreshShownView() {
        if (Pages(ids::ChartPages)->current() == 0)
            finance::RefreshStructureView();
        else
            finance::RefreshTrendView();
        SettleEvents();
    }
    // The shown view as a click shows it from memory, then as it is after both
    // sides are read afresh from their files.
    void ExpectAFreshReadAgrees(int step) {
        RefreshShownView();
        const Seen kept = See();
        IndexOfSide(true).markStale();
        IndexOfSide(false).markStale();
        RefreshShownView();
        const Seen fresh = See();
        EXPECT_EQ(kept.income, fresh.income) << "after step " << step;
        EXPECT_EQ(kept.expense, fresh.expense) << "after step " << step;
        EXPECT_EQ(kept.pie, fresh.pie) << "after step " << step;
        EXPECT_EQ(kept.panes, fresh.panes) << "after step " << step;
    }

    void Type(uint32_t edit, const std::string& text) {
        auto* line = qobject_cast<QLineEdit*>(Widget(edit));
        line->clear();
        QTest::keyClicks(line, QString::fromStdString(text));
    }
    void Enter(bool income, int category, const std::string& amount, double day) {
        qobject_cast<QComboBox*>(
            Widget(income ? ids::IncomeCategoryCombo : ids::ExpenseCategoryCombo))
            ->setCurrentIndex(category);
        Type(income ? ids::IncomeAmountEdit : ids::ExpenseAmountEdit, amount);
        forms::FindControlAs<forms::DatePickerControl>(
            ids::MainWindow, income ? ids::IncomeDatePicker : ids::ExpenseDatePicker)
            ->setValue(day);
    }
    void ImportFromAnotherProcess() {
        QFile csv(QString::fromStdString(dir()) + "/more.csv");
        ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("收入类型,收入金额,收入时间,收入备注信息\n");
        for (int i = 0; i < 40; ++i)
            csv.write(QStringLiteral("%1,%2.25,201%3-0%4-1%5,导入\n")
                          .arg(i % 3 ? "工资" : "兼职")
                          .arg(100 + i)
                          .arg(2 + i % 3)
                          .arg(1 + i % 9)
                          .arg(i % 10)
                          .toUtf8());
        csv.close();
        QProcess tool;
        tool.setWorkingDirectory(QString::fromStdString(dir()));
        tool.start(QStringLiteral(TAVRIN_DB_TOOL), {"import", "财务收入.edb", "more.csv"});
        ASSERT_TRUE(tool.waitForFinished(20000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }
};

TEST_F(PeriodIndexTest, ViewsFromMemoryEqualAFreshReadAfterAThousandSteps) {
    WriteCategoryFile(true, {"工资", "奖金", "工资"});
    WriteCategoryFile(false, {"餐饮", "交通", "住房"});
    std::vector<Item> income, expense;
    for (int i = 0; i < 30; ++i) {
        income.push_back(
            {i % 4 ? "工资" : "兼职", float(100 + i), Days(2012 + i % 3, 1 + i % 12, 5), "起始"});
        expense.push_back(
            {i % 2 ? "餐饮" : "交通", float(10 + i) / 4, Days(2012 + i % 3, 12 - i % 12, 9), ""});
    }
    WriteIncomeFile(income);
    WriteExpenseFile(expense);
    StartProgram();
    std::mt19937 random(20261210);
    auto pick = [&](int n) { return int(random() % uint32_t(n)); };
    for (int step = 1; step <= 1000; ++step) {
        const bool onIncome = pick(2) == 0;
        const uint32_t list = onIncome ? ids::IncomeList : ids::ExpenseList;
        const int32_t rows = LvRowCount(list);
        const int what = pick(100);
        if (what < 30) {
            Enter(onIncome, pick(3),
                  std::to_string(1 + pick(5000)) + "." + std::to_string(pick(100)),
                  Days(2012 + pick(3), 1 + pick(12), 1 + pick(28)));
            Click(onIncome ? ids::IncomeAddButton : ids::ExpenseAddButton);
        } else if (what < 48 && rows > 0) {
            ClickRow(list, pick(rows));
            Type(onIncome ? ids::IncomeAmountEdit : ids::ExpenseAmountEdit,
                 std::to_string(1 + pick(900)));
            if (pick(2))
                forms::FindControlAs<forms::DatePickerControl>(
                    ids::MainWindow, onIncome ? ids::IncomeDatePicker : ids::ExpenseDatePicker)
                    ->setValue(Days(2012 + pick(3), 1 + pick(12), 2));
            Click(onIncome ? ids::IncomeChangeButton : ids::ExpenseChangeButton);
        } else if (what < 60 && rows > 0) {
            ClickRow(list, pick(rows));
            Click(onIncome ? ids::IncomeDeleteButton : ids::ExpenseDeleteButton);
        } else if (what < 70) {
            ClickToolButton(10);  // undo
        } else if (what < 75) {
            ClickToolButton(11);  // redo
        } else if (what < 85) {
            ClickPage(ids::MonthPages, pick(13));
        } else if (what < 95) {
            ClickPage(ids::YearPages, pick(4));
        } else {
            ClickPage(ids::ChartPages, pick(2));
        }
        if (step == 400) ImportFromAnotherProcess();
        if (step == 800) {
            AnswerNext(kButtonYes);
            ClickToolButton(1);  // clearing both item files
        }
        (void)TakeMessages();
        if (step % 50 == 0 || step == 401) ExpectAFreshReadAgrees(step);
        if (HasFailure()) return;
    }
}

}  // namespace
}  // namespace tavrin::finance::testing
