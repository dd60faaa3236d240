// What an entry may hold and what the totals show: amounts single precision
// cannot hold, remarks longer than their field, totals after adds, changes and
// deletes against a fresh start, and columns that must show a new row whole.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <cmath>

#include "finance/app_state.h"
#include "finance_test_support.h"
#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "money/money_text.h"
#include "ui/window_access.h"

namespace tavrin::finance::testing {

using namespace tavrin::ui;
namespace {

class EntryLimitsTest : public EntryTest {
  protected:
    QPlainTextEdit* RemarkEdit(bool income) {
        auto* e = qobject_cast<QPlainTextEdit*>(
            Widget(income ? ids::IncomeRemarkEdit : ids::ExpenseRemarkEdit));
        EXPECT_NE(e, nullptr);
        return e;
    }
    QLineEdit* AmountEdit(bool income) {
        auto* e = qobject_cast<QLineEdit*>(
            Widget(income ? ids::IncomeAmountEdit : ids::ExpenseAmountEdit));
        EXPECT_NE(e, nullptr);
        return e;
    }
    // A category chosen from the list and an amount typed.
    void Enter(bool income, int category, const QString& amount) {
        auto* combo = qobject_cast<QComboBox*>(
            Widget(income ? ids::IncomeCategoryCombo : ids::ExpenseCategoryCombo));
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(category);
        AmountEdit(income)->clear();
        QTest::keyClicks(AmountEdit(income), amount);
    }
    // Typed key by key, each key carrying its character (as an input method
    // delivers Chinese text).
    static void Type(QWidget* w, const QString& text) {
        for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), {});
    }
    std::vector<std::string> Panes() { return {Pane(1), Pane(3), Pane(5)}; }
};

TEST_F(EntryLimitsTest, AmountsSinglePrecisionCannotHoldAreRefused) {
    StartProgram();
    for (const QString& bad : {QString("1e15"), QString("1e39"), QString("inf"), QString("nan")}) {
        Enter(true, 0, bad);
        Click(ids::IncomeAddButton);
        const auto shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u) << bad.toStdString();
        EXPECT_EQ(shown[0].text, "请输入大于0的整数或者小数！") << bad.toStdString();
    }
    // The bound is named.
    for (const QString& large : {QString(400, '9'), QString("10000000"), QString("10,000,000.00"),
                                 QString("12345678.5")}) {
        Enter(true, 0, large);
        Click(ids::IncomeAddButton);
        const auto shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u) << large.toStdString();
        EXPECT_EQ(shown[0].text, "金额必须小于10000000元！") << large.toStdString();
    }
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 0);
    EXPECT_EQ(Panes(), (std::vector<std::string>{"0元", "0元", "0元"}));
    // Just below the limit is an amount like any other.
    Enter(true, 0, "9999999");
    Click(ids::IncomeAddButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), std::vector<float>{9999999.0f});
    EXPECT_EQ(Pane(1), "999.9999万元");
}

TEST_F(EntryLimitsTest, AmountsOfAnotherToolThatAreNoNumberCountAsNothing) {
    WriteIncomeFile({{"工资", INFINITY, Days(2012, 1, 1), ""},
                     {"工资", NAN, Days(2012, 2, 1), ""},
                     {"奖金", 12.5f, Days(2012, 3, 1), ""},
                     {"奖金", 3.0e38f, Days(2012, 4, 1), ""},
                     {"奖金", 3.0e38f, Days(2012, 5, 1), ""}});
    WriteExpenseFile({{"餐饮", -INFINITY, Days(2012, 1, 1), ""}});
    StartProgram();
    auto noInfOrNan = [this] {
        for (const std::string& p : Panes()) {
            EXPECT_EQ(p.find("inf"), std::string::npos) << p;
            EXPECT_EQ(p.find("nan"), std::string::npos) << p;
        }
    };
    noInfOrNan();
    EXPECT_EQ(Pane(3), "0元");
    // Viewing and deleting the infinite row, then the two huge ones.
    ClickRow(ids::IncomeList, 0);
    Click(ids::IncomeDeleteButton);
    noInfOrNan();
    // Amounts too large for any sum: the totals stay finite all the same.
    ClickRow(ids::IncomeList, 0);
    Click(ids::IncomeDeleteButton);
    ClickRow(ids::IncomeList, 0);
    Click(ids::IncomeDeleteButton);
    EXPECT_EQ(Pane(1), Pane(5));
    noInfOrNan();
    TakeMessages();
}

TEST_F(EntryLimitsTest, TotalsAfterAddsChangesAndDeletesAreWhatAFreshStartShows) {
    WriteIncomeFile({{"工资", 50.8f, Days(2012, 1, 1), ""}});
    WriteExpenseFile({{"餐饮", 35.8f, Days(2012, 1, 1), ""}, {"交通", 0.1f, Days(2012, 1, 2), ""}});
    StartProgram();
    // The totals pass through large values and come back.
    Enter(true, 1, "12345.67");
    Click(ids::IncomeAddButton);
    ClickRow(ids::IncomeList, 1);
    Enter(true, 1, "99999.99");
    Click(ids::IncomeChangeButton);
    ClickRow(ids::IncomeList, 1);
    Click(ids::IncomeDeleteButton);
    Enter(false, 0, "500000.05");
    Click(ids::ExpenseAddButton);
    ClickRow(ids::ExpenseList, 1);
    Enter(false, 1, "0.3");
    Click(ids::ExpenseChangeButton);
    ClickRow(ids::ExpenseList, 2);
    Click(ids::ExpenseDeleteButton);
    // Amounts whose single-precision sums used to show binary fractions.
    Enter(true, 0, "46023.45");
    Click(ids::IncomeAddButton);
    Enter(false, 0, "5256.2");
    Click(ids::ExpenseAddButton);
    ClickRow(ids::ExpenseList, 0);
    Click(ids::ExpenseDeleteButton);
    TakeMessages();  // balance warnings
    const std::vector<std::string> running = Panes();
    EXPECT_EQ(running, (std::vector<std::string>{"4.607425万元", "5256.5元", "4.081775万元"}));
    // The exact sums of what the files hold, and what a fresh start shows.
    auto exactSum = [this](const char* file, const char* field) {
        long double sum = 0;  // 64 bits hold these few amounts' sum exactly
        for (float a : AmountsOf(file, field)) sum += a;
        return double(sum);
    };
    const double income = exactSum("财务收入.edb", "收入金额");
    const double expense = exactSum("财务支出.edb", "支出金额");
    EXPECT_EQ(State().totalIncome.value(), income);
    EXPECT_EQ(State().totalExpense.value(), expense);
    EXPECT_EQ(running, (std::vector<std::string>{U(money::MoneyTotalText(income)),
                                                 U(money::MoneyTotalText(expense)),
                                                 U(money::MoneyTotalText(income - expense))}));
    RestartProgram();
    EXPECT_EQ(Panes(), running);
}

TEST_F(EntryLimitsTest, RemarksKeepToTheirFieldInWholeCharactersAndRowsShowTheRecord) {
    StartProgram();
    // A pasted remark of 24,000 bytes: the box takes what the field holds.
    QPlainTextEdit* remark = RemarkEdit(true);
    remark->setFocus();
    QApplication::clipboard()->setText(QString(24000, 'x'));
    QTest::keySequence(remark, QKeySequence::Paste);
    EXPECT_EQ(remark->toPlainText(), QString(50, 'x'));
    remark->clear();
    // "A" and 30 × 中: the box stops before the character that would not fit.
    Type(remark, "A" + QString(30, QChar(0x4E2D)));
    EXPECT_EQ(remark->toPlainText(), "A" + QString(24, QChar(0x4E2D)));
    Enter(true, 0, "8");
    Click(ids::IncomeAddButton);
    std::string kept = "A";
    for (int i = 0; i < 24; ++i) kept += "中";
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"), std::vector<std::string>{kept});
    EXPECT_EQ(Rows(ids::IncomeList).at(0).at(4), kept);
    RestartProgram();
    EXPECT_EQ(Rows(ids::IncomeList).at(0).at(4), kept);

    // A text the program writes into the box is not cut; what the file cannot
    // hold is cut at a whole character, and the new row shows that.
    std::string cut = "B";  // 1 + 24 × 2 bytes: the 25th character would end at byte 51
    for (int i = 0; i < 24; ++i) cut += "中";
    static_cast<forms::EditControl*>(forms::FindControl(ids::MainWindow, ids::IncomeRemarkEdit))
        ->setText(G(cut + "中中中中中中"));
    Enter(true, 0, "9");
    Click(ids::IncomeAddButton);
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息").at(1), cut);
    EXPECT_EQ(Rows(ids::IncomeList).at(1).at(4), cut);

    // A one-line edit box limited through its property counts bytes the same way.
    namespace fp = tavrin::forms::Prop;
    WriteIntProperty(ids::MainWindow, ids::IncomeAmountEdit,
                     fp::kOwn + tavrin::forms::EditProp::kMaxLength, 6);
    QLineEdit* amount = AmountEdit(true);
    amount->clear();
    Type(amount, QString::fromUtf8("12中3中4"));
    EXPECT_EQ(amount->text(), QString::fromUtf8("12中34"));
    amount->setCursorPosition(2);
    QApplication::clipboard()->setText("56");
    QTest::keySequence(amount, QKeySequence::Paste);
    EXPECT_EQ(amount->text(), QString::fromUtf8("12中34"));
}

TEST_F(EntryLimitsTest, ARowAddedToAListFittedWhileEmptyIsShownWhole) {
    StartProgram();
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    ASSERT_NE(list, nullptr);
    auto* picker =
        forms::FindControlAs<forms::DatePickerControl>(ids::MainWindow, ids::IncomeDatePicker);
    picker->setValue(Days(2026, 12, 18));
    Enter(true, 1, "123456.78");
    Click(ids::IncomeAddButton);
    ASSERT_EQ(Rows(ids::IncomeList).size(), 1u);
    list->model()->flush();
    const QFontMetrics metrics(list->view()->font());
    for (int c = 0; c < list->columnCount(); ++c) {
        const QString text = QString::fromStdString(Rows(ids::IncomeList)[0][size_t(c)]);
        // The view elides a text that does not fit between its margins.
        EXPECT_GE(list->view()->header()->sectionSize(c), metrics.horizontalAdvance(text) + 8)
            << text.toStdString();
    }
    EXPECT_EQ(Rows(ids::IncomeList)[0][3], "2026年12月18日");
}

}  // namespace
}  // namespace tavrin::finance::testing
