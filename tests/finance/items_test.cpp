// Item entry, change, deletion and view through the buttons, the list and the
// pop-up menu, on real files.
#include <signal.h>
#include <sys/resource.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <numeric>

#include "finance/app_state.h"
#include "finance_test_support.h"
#include "forms/controls.h"
#include "forms/page_control.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "recordstore/database_manager.h"
#include "recordstore/detached_database.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

class ItemsTest : public EntryTest {
  protected:
    // The user's entry on one side: a category chosen from the list, texts typed.
    void Enter(bool income, int category, const QString& amount, const QString& remark = {}) {
        auto* combo = qobject_cast<QComboBox*>(
            Widget(income ? ids::IncomeCategoryCombo : ids::ExpenseCategoryCombo));
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(category);
        auto* edit = qobject_cast<QLineEdit*>(
            Widget(income ? ids::IncomeAmountEdit : ids::ExpenseAmountEdit));
        ASSERT_NE(edit, nullptr);
        edit->clear();
        QTest::keyClicks(edit, amount);
        forms::Control* remarkControl = forms::FindControl(
            ids::MainWindow, income ? ids::IncomeRemarkEdit : ids::ExpenseRemarkEdit);
        auto* remarkEdit = static_cast<forms::EditControl*>(remarkControl);
        remarkEdit->setText(G(remark.toStdString()));
    }
    void SetDate(bool income, double days) {
        auto* picker = forms::FindControlAs<forms::DatePickerControl>(
            ids::MainWindow, income ? ids::IncomeDatePicker : ids::ExpenseDatePicker);
        picker->setValue(days);
    }
    std::string AmountEdit(bool income) {
        auto* e = forms::FindControlAs<forms::EditControl>(
            ids::MainWindow, income ? ids::IncomeAmountEdit : ids::ExpenseAmountEdit);
        return U(e->text());
    }
    std::vector<std::string> Texts(const std::vector<ShownMessage>& shown) {
        std::vector<std::string> out;
        for (const ShownMessage& m : shown) out.push_back(m.text);
        return out;
    }
    float IncomeFileSum() {
        const auto a = AmountsOf("财务收入.edb", "收入金额");
        double sum = 0;
        for (float v : a) sum = float(sum + v);
        return float(sum);
    }
    void SelectWithKeyboard(uint32_t list, int32_t row) {
        auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, list);
        l->model()->flush();
        l->view()->setCurrentIndex(l->model()->index(row, 0));
    }
};

TEST_F(ItemsTest, AnAmountWithBlanksIsStoredAsItsNumberAndShownAsStored) {
    StartProgram();
    SetDate(true, Days(2012, 5, 3));
    Enter(true, 0, " 12.5 ", "午餐");
    Click(ids::IncomeAddButton);
    EXPECT_TRUE(TakeMessages().empty());
    const auto rows = Rows(ids::IncomeList);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "12.5", "工资", "2012年5月3日", "午餐"}));
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), std::vector<float>{12.5f});
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"), std::vector<std::string>{"午餐"});
    EXPECT_EQ(State().totalIncome, 12.5f);
    EXPECT_EQ(Pane(1), "12.5元");
    // Entry fields emptied, the date kept.
    EXPECT_EQ(ComboText(ids::IncomeCategoryCombo), "");
    EXPECT_EQ(AmountEdit(true), "");
    EXPECT_DOUBLE_EQ(
        forms::FindControlAs<forms::DatePickerControl>(ids::MainWindow, ids::IncomeDatePicker)
            ->value(),
        Days(2012, 5, 3));
}

TEST_F(ItemsTest, AnAmountMustBeWhollyAPlainDecimalNumberInAddAndChange) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    // Not a number above 0 as a whole: nothing is stored, by add or by change.
    for (const char* bad : {"abc", "0", "0.0000001", "0.004", "-3", "12abc", "5e2", "1,20",
                            "1,2000", ",200", "1.2.3", "12 5", "0x10"}) {
        Enter(true, 0, bad);
        Click(ids::IncomeAddButton);
        ClickRow(ids::IncomeList, 0);
        Enter(true, 0, bad);
        Click(ids::IncomeChangeButton);
        EXPECT_EQ(Texts(TakeMessages()), std::vector<std::string>(2, "请输入大于0的整数或者小数！"))
            << bad;
        EXPECT_EQ(AmountEdit(true), bad);  // left for the person to mend
    }
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), std::vector<float>{10});
    // Thousands separators where they belong, and full-width digits, read as the number.
    Enter(true, 0, "1,200");
    Click(ids::IncomeAddButton);
    Enter(true, 1, "");
    // Typed key by key with the characters an input method delivers.
    for (QChar c : QString("１，２３４.5"))
        QTest::sendKeyEvent(QTest::Click, Widget(ids::IncomeAmountEdit), Qt::Key_unknown,
                            QString(c), {});
    Click(ids::IncomeAddButton);
    ClickRow(ids::IncomeList, 0);
    Enter(true, 0, "12,345.60");
    Click(ids::IncomeChangeButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{12345.6f, 1200, 1234.5f}));
    const auto rows = Rows(ids::IncomeList);
    EXPECT_EQ((std::vector<std::string>{rows[0][1], rows[1][1], rows[2][1]}),
              (std::vector<std::string>{"12345.6", "1200", "1234.5"}));
    EXPECT_EQ(Pane(1), "1.47801万元");
}

TEST_F(ItemsTest, MissingCategoryAndAmountAreReportedFirst) {
    StartProgram();
    Enter(true, -1, "5");
    Click(ids::IncomeAddButton);
    Enter(false, 0, "   ");
    Click(ids::ExpenseAddButton);
    EXPECT_EQ(Texts(TakeMessages()),
              (std::vector<std::string>{"请选择收入类型！", "请填写支出金额！"}));
}

TEST_F(ItemsTest, TheBalanceWarningInformsAndTheItemIsStillAdded) {
    WriteIncomeFile({{"工资", 100, Days(2012, 1, 1), ""}});
    WriteExpenseFile({{"餐饮", 200, Days(2012, 1, 1), ""}});
    StartProgram();
    Enter(true, 0, "50");
    Click(ids::IncomeAddButton);
    EXPECT_EQ(Texts(TakeMessages()), std::vector<std::string>{"余额不足！"});
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 2);
    EXPECT_EQ(State().totalIncome, 150.0f);
    // TotalExpense 200, TotalIncome 150 + 50: no warning any more.
    Enter(true, 0, "50");
    Click(ids::IncomeAddButton);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ItemsTest, TheExpenseBalanceWarning) {
    WriteIncomeFile({{"工资", 100, Days(2012, 1, 1), ""}});
    WriteExpenseFile({{"餐饮", 50, Days(2012, 1, 1), ""}});
    StartProgram();
    ClickToolButton(5);
    Enter(false, 1, "60");
    Click(ids::ExpenseAddButton);
    EXPECT_EQ(Texts(TakeMessages()), std::vector<std::string>{"余额不足！"});
    EXPECT_EQ(RecordCountOf("财务支出.edb"), 2);
    EXPECT_EQ(Pane(3), "110元");
}

TEST_F(ItemsTest, AddingWhileTheExpensePageIsShownSwitchesToTheIncomePageFirst) {
    StartProgram();
    auto* pages = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::MainPages);
    ClickToolButton(5);
    ASSERT_EQ(pages->current(), 1);
    // The add button is pressed by its keyboard shortcut path: the routine itself.
    Enter(true, -1, "5");
    QMetaObject::invokeMethod(Widget(ids::IncomeAddButton), "click");
    EXPECT_EQ(pages->current(), 0);
    EXPECT_EQ(Texts(TakeMessages()), std::vector<std::string>{"请选择收入类型！"});
}

TEST_F(ItemsTest, ViewingRowTwoAndChangingItRaisesTheTotalByTheDifference) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), "a"},
                     {"奖金", 30, Days(2012, 2, 1), "b"},
                     {"工资", 20, Days(2012, 3, 1), "c"}});
    StartProgram();
    ClickRow(ids::IncomeList, 1);
    EXPECT_EQ(AmountEdit(true), "30");
    EXPECT_EQ(ComboText(ids::IncomeCategoryCombo), "奖金");
    EXPECT_EQ(State().viewedIncome.serial, 2);
    EXPECT_DOUBLE_EQ(
        forms::FindControlAs<forms::DatePickerControl>(ids::MainWindow, ids::IncomeDatePicker)
            ->value(),
        Days(2012, 2, 1));
    auto* edit = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    edit->clear();
    QTest::keyClicks(edit, "45");
    Click(ids::IncomeChangeButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(State().totalIncome, 75.0f);
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{10, 45, 20}));
    const auto rows = Rows(ids::IncomeList);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"2", "45", "奖金", "2012年2月1日", "b"}));
}

TEST_F(ItemsTest, WithoutASelectionChangeValidatesFirstAndDeleteSaysSo) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    Click(ids::IncomeDeleteButton);
    EXPECT_EQ(Texts(TakeMessages()), std::vector<std::string>{"请选中需要删除的某条记录."});
    Enter(true, -1, "");
    Click(ids::IncomeChangeButton);
    Enter(true, 0, "");
    Click(ids::IncomeChangeButton);
    Enter(true, 0, "5");
    Click(ids::IncomeChangeButton);
    EXPECT_EQ(Texts(TakeMessages()),
              (std::vector<std::string>{"请选择收入类型！", "请填写收入金额！",
                                        "请选中需要修改的某条记录."}));
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), std::vector<float>{10});
}

TEST_F(ItemsTest, AKeyboardSelectedRowDeletedAfterViewingAnotherLowersTheTotalByItsOwnAmount) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""},
                     {"奖金", 30, Days(2012, 2, 1), ""},
                     {"工资", 20, Days(2012, 3, 1), ""}});
    StartProgram();
    ClickRow(ids::IncomeList, 0);  // views 10
    SelectWithKeyboard(ids::IncomeList, 1);
    Click(ids::IncomeDeleteButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{10, 20}));
    EXPECT_EQ(State().totalIncome, 30.0f);
    EXPECT_EQ(State().totalIncome, IncomeFileSum());
    // Serial numbers of the following rows are not renumbered.
    const auto rows = Rows(ids::IncomeList);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][0], "3");
}

TEST_F(ItemsTest, AMillionAmountCellReadsInFullAndKeepsTheTotalExactThroughViewChangeAndDelete) {
    WriteIncomeFile({{"工资", 1234567, Days(2012, 1, 1), ""}, {"奖金", 3, Days(2012, 2, 1), ""}});
    StartProgram();
    ASSERT_EQ(Rows(ids::IncomeList)[0][1], "1234567");
    ClickRow(ids::IncomeList, 0);
    EXPECT_EQ(AmountEdit(true), "1234567");
    auto* edit = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    edit->clear();
    QTest::keyClicks(edit, "1234568");
    Click(ids::IncomeChangeButton);
    EXPECT_EQ(State().totalIncome, IncomeFileSum());
    EXPECT_EQ(State().totalIncome, 1234571.0f);
    ClickRow(ids::IncomeList, 0);
    Click(ids::IncomeDeleteButton);
    EXPECT_EQ(State().totalIncome, 3.0f);
    EXPECT_EQ(State().totalIncome, IncomeFileSum());
}

TEST_F(ItemsTest, AnAppendThatFailsAfterTheOpenLeavesListAndTotalsAndSaysSo) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    const qint64 size = QFileInfo(QString::fromStdString(path("财务收入.edb"))).size();
    // The file may not grow: as a full disk would refuse the new record.
    signal(SIGXFSZ, SIG_IGN);
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit = old;
    limit.rlim_cur = rlim_t(size);
    setrlimit(RLIMIT_FSIZE, &limit);
    Enter(true, 0, "99");
    Click(ids::IncomeAddButton);
    setrlimit(RLIMIT_FSIZE, &old);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("财务收入.edb"), std::string::npos);
    EXPECT_EQ(Rows(ids::IncomeList).size(), 1u);
    EXPECT_EQ(State().totalIncome, 10.0f);
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), std::vector<float>{10});
}

TEST_F(ItemsTest, AChangeWhileAnotherProgramHoldsARecordLeavesEverythingAndSaysSo) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    ClickRow(ids::IncomeList, 0);
    auto* edit = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    edit->clear();
    QTest::keyClicks(edit, "40");
    // Another program is writing the record and holds its lock.
    rs::DetachedDatabase other;
    ASSERT_EQ(other.open(G(path("财务收入.edb"))), rs::Code::kOk);
    ASSERT_EQ(other.lockRecord(0), rs::Code::kOk);
    Click(ids::IncomeChangeButton);
    other.close();
    // The file cannot be checked while a record is being written elsewhere.
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "打开数据库失败.");
    EXPECT_EQ(shown[0].caption, "错误提示");
    EXPECT_EQ(shown[0].style & 0xFFu, tavrin::kIconStop);
    EXPECT_EQ(Rows(ids::IncomeList)[0][1], "10");
    EXPECT_EQ(State().totalIncome, 10.0f);
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), std::vector<float>{10});
}

TEST_F(ItemsTest, InAReorderedOrFilteredListChangeAndDeleteHitTheRecordTheRowShows) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), "a"},
                     {"工资", 20, Days(2012, 1, 1), "b"},
                     {"工资", 30, Days(2012, 1, 1), "c"}});
    StartProgram();
    ShowRows(ids::IncomeList,
             {{3, "30", "c"}, {1, "10", "a"}});  // record 2 filtered out, order reversed
    ClickRow(ids::IncomeList, 0);
    auto* edit = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    edit->clear();
    QTest::keyClicks(edit, "33");
    Click(ids::IncomeChangeButton);
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{10, 20, 33}));
    EXPECT_EQ(State().totalIncome, 63.0f);
    SelectWithKeyboard(ids::IncomeList, 1);
    Click(ids::IncomeDeleteButton);
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{20, 33}));
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(State().totalIncome, 53.0f);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ItemsTest, ARowWhoseRecordIsGoneChangesNothing) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    ShowRows(ids::IncomeList, {{77, "10", ""}});
    SelectWithKeyboard(ids::IncomeList, 0);
    Click(ids::IncomeDeleteButton);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("记录已不在"), std::string::npos);
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 1);
    EXPECT_EQ(Rows(ids::IncomeList).size(), 1u);
}

TEST_F(ItemsTest, LeftClickViewsRightClickOffersThePopUpMenuWhoseItemsWork) {
    WriteExpenseFile({{"餐饮", 8, Days(2012, 1, 1), "早饭"}, {"交通", 4, Days(2012, 1, 2), ""}});
    StartProgram();
    ClickToolButton(5);
    ClickRow(ids::ExpenseList, 0, true);
    SettleEvents();
    QMenu* menu = forms::LastPopupMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> entries;
    for (QAction* a : menu->actions()) entries.push_back(a->text().toStdString());
    EXPECT_EQ(entries, (std::vector<std::string>{"查看", "修改", "删除"}));
    SelectWithKeyboard(ids::ExpenseList, 1);
    menu->actions()[0]->trigger();  // 查看
    SettleEvents();
    EXPECT_EQ(AmountEdit(false), "4");
    EXPECT_EQ(State().viewedExpense.serial, 2);
    menu->actions()[2]->trigger();  // 删除
    menu->close();
    SettleEvents();
    EXPECT_EQ(AmountsOf("财务支出.edb", "支出金额"), std::vector<float>{8});
    EXPECT_EQ(Pane(3), "8元");
}

TEST_F(ItemsTest, AClickThatLeavesNoRowSelectedAsksForOne) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    QTest::mouseClick(l->view()->viewport(), Qt::LeftButton, {},
                      QPoint(20, l->view()->viewport()->height() - 5));
    SettleEvents();
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "请选中需要查看信息的某条记录.");
}

}  // namespace
}  // namespace tavrin::finance::testing
