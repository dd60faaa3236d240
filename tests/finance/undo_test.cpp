// Undo and redo of item adds, changes and deletes through the tool bar and the
// keys, on real files: the file, the list, the totals and the buttons.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "finance/app_state.h"
#include "finance/item_history.h"
#include "finance_test_support.h"
#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

struct Record {
    std::string category;
    float amount;
    std::string remark;
    bool operator==(const Record&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Record& r) {
    return out << r.category << " " << r.amount << " " << r.remark;
}

class UndoTest : public EntryTest {
  protected:
    void Enter(int category, const QString& amount, const std::string& remark = {}) {
        auto* combo = qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo));
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(category);
        auto* edit = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
        ASSERT_NE(edit, nullptr);
        edit->clear();
        QTest::keyClicks(edit, amount);
        forms::FindControlAs<forms::EditControl>(ids::MainWindow, ids::IncomeRemarkEdit)
            ->setText(G(remark));
    }
    std::vector<Record> IncomeRecords() {
        const auto categories = TextsOf("财务收入.edb", "收入类型");
        const auto amounts = AmountsOf("财务收入.edb", "收入金额");
        const auto remarks = TextsOf("财务收入.edb", "收入备注信息");
        std::vector<Record> out;
        for (size_t i = 0; i < amounts.size(); ++i)
            out.push_back({categories.at(i), amounts[i], remarks.at(i)});
        return out;
    }
    // Cells 1 to 4 of every row: what the person sees of each item.
    std::vector<std::vector<std::string>> Items(uint32_t list) {
        auto rows = Rows(list);
        for (auto& row : rows) row.erase(row.begin());
        return rows;
    }
    forms::ToolBarControl* Bar() {
        return forms::FindControlAs<forms::ToolBarControl>(ids::MainWindow, ids::Toolbar1);
    }
    std::string Tip(int32_t button) { return Bar()->button(button)->toolTip().toStdString(); }
    void PressKey(Qt::Key key) {
        QWidget* list = Widget(ids::IncomeList);
        list->window()->activateWindow();
        QApplication::setActiveWindow(list->window());
        list->setFocus();
        QTest::keyClick(list, key, Qt::ControlModifier);
        SettleEvents();
    }
};

TEST_F(UndoTest, AddChangeDeleteUndoneToTheStartAndRedoneThroughButtonsAndKeys) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), "a"}, {"奖金", 20, Days(2012, 2, 1), "b"}});
    StartProgram();
    const auto startRecords = IncomeRecords();
    const auto startItems = Items(ids::IncomeList);
    const std::string startTotal = Pane(1);
    EXPECT_FALSE(Bar()->isButtonEnabled(10));
    EXPECT_FALSE(Bar()->isButtonEnabled(11));
    EXPECT_EQ(Tip(10), "回到上一步操作");

    Enter(1, "7", "c");
    Click(ids::IncomeAddButton);
    EXPECT_TRUE(Bar()->isButtonEnabled(10));
    EXPECT_FALSE(Bar()->isButtonEnabled(11));
    EXPECT_EQ(Tip(10), "撤销 添加收入 7 奖金");
    ClickRow(ids::IncomeList, 0);
    Enter(0, "12.5", "a2");
    Click(ids::IncomeChangeButton);
    ClickRow(ids::IncomeList, 1);
    Click(ids::IncomeDeleteButton);
    EXPECT_EQ(Tip(10), "撤销 删除收入 20 奖金");
    const auto doneRecords = IncomeRecords();
    const auto doneItems = Items(ids::IncomeList);
    ASSERT_EQ(doneRecords, (std::vector<Record>{{"工资", 12.5, "a2"}, {"奖金", 7, "c"}}));
    const float doneTotal = State().totalIncome;

    ClickToolButton(10);
    EXPECT_TRUE(Bar()->isButtonEnabled(11));
    EXPECT_EQ(Tip(11), "重复 删除收入 20 奖金");
    EXPECT_EQ(Tip(10), "撤销 修改收入 12.5 工资");
    PressKey(Qt::Key_Z);
    EXPECT_EQ(UndoStepCount(), 1u);
    ClickToolButton(10);
    EXPECT_FALSE(Bar()->isButtonEnabled(10));
    EXPECT_EQ(Tip(10), "回到上一步操作");
    ClickToolButton(10);  // disabled: nothing more to undo
    EXPECT_EQ(IncomeRecords(), startRecords);
    EXPECT_EQ(Items(ids::IncomeList), startItems);
    EXPECT_EQ(Pane(1), startTotal);
    const float undoneTotal = State().totalIncome;
    EXPECT_EQ(RedoStepCount(), 3u);

    ClickToolButton(11);
    PressKey(Qt::Key_Y);
    EXPECT_EQ(RedoStepCount(), 1u);
    ClickToolButton(11);
    EXPECT_FALSE(Bar()->isButtonEnabled(11));
    EXPECT_TRUE(Bar()->isButtonEnabled(10));
    EXPECT_EQ(IncomeRecords(), doneRecords);
    EXPECT_EQ(Items(ids::IncomeList), doneItems);
    EXPECT_EQ(State().totalIncome, doneTotal);
    EXPECT_TRUE(TakeMessages().empty());

    // The totals after the undos were those a fresh start forms from the file.
    for (int i = 0; i < 3; ++i) ClickToolButton(10);
    RestartProgram();
    EXPECT_EQ(State().totalIncome, undoneTotal);
    EXPECT_EQ(Items(ids::IncomeList), startItems);
    EXPECT_FALSE(Bar()->isButtonEnabled(10));  // a new start has no history
}

TEST_F(UndoTest, InAReorderedListUndoFindsTheRecordOfTheStep) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), "a"},
                     {"工资", 20, Days(2012, 1, 1), "b"},
                     {"工资", 30, Days(2012, 1, 1), "c"}});
    StartProgram();
    ShowRows(ids::IncomeList, {{3, "30", "c"}, {1, "10", "a"}, {2, "20", "b"}});
    ClickRow(ids::IncomeList, 2);
    Enter(0, "25", "b2");
    Click(ids::IncomeChangeButton);
    ClickRow(ids::IncomeList, 0);
    Click(ids::IncomeDeleteButton);
    // Reordered again before the undos: rows are found by their record.
    ShowRows(ids::IncomeList, {{2, "25", "b2"}, {1, "10", "a"}});
    ClickToolButton(10);
    ClickToolButton(10);
    EXPECT_EQ(IncomeRecords(),
              (std::vector<Record>{{"工资", 10, "a"}, {"工资", 20, "b"}, {"工资", 30, "c"}}));
    const auto rows = Rows(ids::IncomeList);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][1], "20");
    EXPECT_EQ(rows[0][4], "b");
    EXPECT_EQ(rows[2][1], "30");  // the record put back is last in the file and in the list
    EXPECT_EQ(State().totalIncome, 60.0f);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(UndoTest, StepsOfARecordPutBackFollowItsNewSerial) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), "a"}});
    StartProgram();
    // Change, then delete the same record; undo both: the change's undo finds
    // the record under the serial its put-back got.
    ClickRow(ids::IncomeList, 0);
    Enter(1, "15", "a2");
    Click(ids::IncomeChangeButton);
    ClickRow(ids::IncomeList, 0);
    Click(ids::IncomeDeleteButton);
    ClickToolButton(10);
    ClickToolButton(10);
    EXPECT_EQ(IncomeRecords(), (std::vector<Record>{{"工资", 10, "a"}}));
    // Add, change it; undo both, redo both: the same for the add's record.
    Enter(0, "7", "n");
    Click(ids::IncomeAddButton);
    ClickRow(ids::IncomeList, 1);
    Enter(0, "8", "n2");
    Click(ids::IncomeChangeButton);
    for (int i = 0; i < 2; ++i) ClickToolButton(10);
    EXPECT_EQ(IncomeRecords(), (std::vector<Record>{{"工资", 10, "a"}}));
    for (int i = 0; i < 2; ++i) ClickToolButton(11);
    EXPECT_EQ(IncomeRecords(), (std::vector<Record>{{"工资", 10, "a"}, {"工资", 8, "n2"}}));
    EXPECT_EQ(Items(ids::IncomeList)[1][0], "8");
    EXPECT_EQ(State().totalIncome, 18.0f);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(UndoTest, AStepWhoseRecordChangedUnderneathIsRefusedWithTheStepsBehindIt) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), "a"}});
    StartProgram();
    Enter(0, "5");
    Click(ids::IncomeAddButton);
    ClickRow(ids::IncomeList, 0);
    Enter(0, "11");
    Click(ids::IncomeChangeButton);
    ClickRow(ids::IncomeList, 1);
    Click(ids::IncomeDeleteButton);
    ClickToolButton(10);  // the 5 is back, with a new serial
    ASSERT_EQ(UndoStepCount(), 2u);
    // Another program writes the files anew: record 1 holds other fields now.
    WriteIncomeFile({{"工资", 99, Days(2012, 1, 1), "x"}, {"工资", 5, Days(2012, 1, 1), ""}});
    TakeMessages();
    ClickToolButton(10);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("无法撤销"), std::string::npos);
    EXPECT_EQ(IncomeRecords(), (std::vector<Record>{{"工资", 99, "x"}, {"工资", 5, ""}}));
    EXPECT_EQ(UndoStepCount(), 0u);
    EXPECT_FALSE(Bar()->isButtonEnabled(10));
    EXPECT_TRUE(Bar()->isButtonEnabled(11));  // the redo of the delete was not behind it
    // Its record (serial 3, appended by the undo) is gone as well.
    ClickToolButton(11);
    ASSERT_EQ(TakeMessages().size(), 1u);
    EXPECT_FALSE(Bar()->isButtonEnabled(11));
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 2);
}

TEST_F(UndoTest, AClearingEmptiesTheHistory) {
    StartProgram();
    Enter(0, "5");
    Click(ids::IncomeAddButton);
    ClickToolButton(10);
    Enter(0, "6");
    Click(ids::IncomeAddButton);
    EXPECT_FALSE(Bar()->isButtonEnabled(11));  // a new step drops the redo steps
    ASSERT_TRUE(Bar()->isButtonEnabled(10));
    AnswerNext(tavrin::kButtonYes);
    ClickToolButton(1);
    EXPECT_FALSE(Bar()->isButtonEnabled(10));
    EXPECT_FALSE(Bar()->isButtonEnabled(11));
    EXPECT_EQ(Tip(10), "回到上一步操作");
}

TEST_F(UndoTest, TheHistoryKeepsTheNewestThousandSteps) {
    StartProgram();
    for (size_t i = 0; i < kHistoryLimit + 5; ++i)
        NoteItemStep({StepKind::kAdd, true, int32_t(i + 1), {}, {}});
    EXPECT_EQ(UndoStepCount(), kHistoryLimit);
    // The oldest went: the newest is still the first to be undone.
    ClickToolButton(10);
    ASSERT_EQ(TakeMessages().size(), 1u);  // serial 1005 is in no file
    EXPECT_EQ(UndoStepCount(), 0u);
}

}  // namespace
}  // namespace tavrin::finance::testing
