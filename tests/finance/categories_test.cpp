// Category lists: loading, the typed-text rejection, and the editor windows
// whose grid writes into the category file.
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "finance/app_state.h"
#include "finance_test_support.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

using CategoriesTest = FinanceTest;

std::vector<std::string> ArrayTexts(tavrin::ArrayBlock* array) {
    std::vector<std::string> out;
    if (!array) return out;
    char** e = reinterpret_cast<char**>(array->elements());
    for (uint32_t i = 0; i < array->elementCount(); ++i) out.push_back(U(e[i] ? e[i] : ""));
    return out;
}

TEST_F(CategoriesTest, CategoriesLoadInFileOrderWithDuplicatesAndEmptyTexts) {
    WriteCategoryFile(true, {"工资", "奖金", "工资"});
    WriteCategoryFile(false, {"餐饮", "", "交通"});
    StartProgram();
    const std::vector<std::string> income{"工资", "奖金", "工资"};
    const std::vector<std::string> expense{"餐饮", "", "交通"};
    EXPECT_EQ(ComboEntries(ids::IncomeCategoryCombo), income);
    EXPECT_EQ(ArrayTexts(State().incomeCategoryList), income);
    EXPECT_EQ(ComboEntries(ids::ExpenseCategoryCombo), expense);
    EXPECT_EQ(ArrayTexts(State().expenseCategoryList), expense);
}

TEST_F(CategoriesTest, ALongCategoryIsCutToTwentyBytes) {
    WriteCategoryFile(true, {"一二三四五六七八九十壹贰"});
    StartProgram();
    EXPECT_EQ(ComboEntries(ids::IncomeCategoryCombo),
              std::vector<std::string>{"一二三四五六七八九十"});
}

TEST_F(CategoriesTest, TypingIntoTheComboBoxIsRejectedWhileChoosingAnEntryIsNot) {
    WriteCategoryFile(true, {"工资", "奖金"});
    StartProgram();
    auto* combo = qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo));
    ASSERT_NE(combo, nullptr);
    combo->setFocus();
    QTest::keyClicks(combo->lineEdit(), "x");
    SettleEvents();
    auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "该内容只能从下拉列表中选择,您可以通过点击右边按钮设置自定义选项.");
    EXPECT_EQ(shown[0].caption, "错误提示");
    EXPECT_EQ(shown[0].style & 0xFFu, tavrin::kIconInformation);
    EXPECT_EQ(ComboText(ids::IncomeCategoryCombo), "");

    // Choosing from the list with the keyboard: no message, the text stays.
    combo->setCurrentIndex(0);
    QTest::keyClick(combo, Qt::Key_Down);
    SettleEvents();
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(ComboText(ids::IncomeCategoryCombo), "奖金");
}

// A key press and release delivered to the widget (the offscreen platform has
// no active window to route synthetic input through).
void Key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &release);
}

// Key presses that carry Chinese text, one character each.
void TypeText(QWidget* w, const QString& text) {
    for (QChar ch : text) Key(w, Qt::Key_A, {}, QString(ch));
}

// The open cell editor of a grid, or null.
QLineEdit* CellEditor(QTableView* view) {
    for (QLineEdit* e : view->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) return e;
    return nullptr;
}

void TypeIntoCell(QTableView* view, int row, const QString& text, bool replace) {
    QApplication::setActiveWindow(view->window());
    view->setFocus();
    view->setCurrentIndex(view->model()->index(row, 0));

    if (replace) {
        Key(view, Qt::Key_F2);
        QLineEdit* editor = CellEditor(view);
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        TypeText(editor, text);
        Key(editor, Qt::Key_Return);
    } else {
        TypeText(view, text.left(1));
        QLineEdit* editor = CellEditor(view);
        ASSERT_NE(editor, nullptr);
        TypeText(editor, text.mid(1));
        Key(editor, Qt::Key_Return);
    }
}

TEST_F(CategoriesTest, TheEditorAddsRenamesAndDeletesAndTheComboFollowsAfterConfirm) {
    WriteCategoryFile(true, {"工资", "奖金", "利息"});
    StartProgram();
    WhenCategoryGridShows(true, 0, [this] {
        QTableView* grid = CategoryGrid(true);
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(grid->model()->rowCount(), 4);  // three records and the new-row line
        EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(),
                  QStringLiteral("收入类型值"));
        TypeIntoCell(grid, 3, QStringLiteral("稿费"), false);
        TypeIntoCell(grid, 0, QStringLiteral("薪水"), true);
        grid->setCurrentIndex(grid->model()->index(1, 0));
        Key(grid, Qt::Key_Delete);
        // The file already holds every change while the editor is open.
        EXPECT_EQ(TextsOf("收入类型.edb", "收入类型值"),
                  (std::vector<std::string>{"薪水", "利息", "稿费"}));
        Click(ids::IncomeConfirmButton, ids::IncomeCategoryWindow);
    });
    Click(ids::IncomeCategoryButton);  // modal: returns when the editor has closed
    SettleEvents();
    EXPECT_FALSE(forms::IsWindowLoaded(ids::IncomeCategoryWindow));
    const std::vector<std::string> expected{"薪水", "利息", "稿费"};
    EXPECT_EQ(TextsOf("收入类型.edb", "收入类型值"), expected);
    EXPECT_EQ(ComboEntries(ids::IncomeCategoryCombo), expected);
    EXPECT_EQ(ArrayTexts(State().incomeCategoryList), expected);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(CategoriesTest, ClosingTheEditorWithItsCloseBoxAlsoReloads) {
    WriteCategoryFile(false, {"餐饮"});
    StartProgram();
    WhenCategoryGridShows(false, 0, [] {
        QTableView* grid = CategoryGrid(false);
        ASSERT_NE(grid, nullptr);
        TypeIntoCell(grid, 1, QStringLiteral("交通"), false);
        forms::WindowWidget(ids::ExpenseCategoryWindow)->close();
    });
    Click(ids::ExpenseCategoryButton);
    SettleEvents();
    EXPECT_FALSE(forms::IsWindowLoaded(ids::ExpenseCategoryWindow));
    EXPECT_EQ(ComboEntries(ids::ExpenseCategoryCombo), (std::vector<std::string>{"餐饮", "交通"}));
    // The provider has let go of the file: an exclusive open succeeds now.
    EXPECT_EQ(RecordCountOf("支出类型.edb"), 2);
}

}  // namespace
}  // namespace tavrin::finance::testing
