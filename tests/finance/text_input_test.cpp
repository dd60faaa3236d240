// What a person types or pastes is kept as it is stored: characters GBK cannot
// hold are refused with one message naming the first of them (in edit boxes,
// the category combo box and the category editor's cells), a date the calendar
// does not have is refused, and the editor counts its rows from 1.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include "finance_test_support.h"
#include "forms/controls.h"
#include "forms/window_system.h"

namespace tavrin::finance::testing {
namespace {

class TextInputTest : public FinanceTest {
  protected:
    void SetUp() override {
        FinanceTest::SetUp();
        WriteCategoryFile(true, {"工资", "奖金", "理财", "兼职"});
        StartProgram();
    }
    static void Paste(QWidget* w, const QString& text) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
        SettleEvents();
    }
    // A key press carrying one character (any plane), as an input method sends it.
    static void TypeCharacter(QWidget* w, const QString& character) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, {}, character);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, {}, character);
        QApplication::sendEvent(w, &release);
        SettleEvents();
    }
    static std::vector<std::string> Texts(const std::vector<ShownMessage>& shown) {
        std::vector<std::string> out;
        for (const ShownMessage& m : shown) out.push_back(m.text);
        return out;
    }
};

TEST_F(TextInputTest, CharactersOutsideGbkAreRefusedAsPastedOrTypedWithOneMessagePerPaste) {
    auto* remark = qobject_cast<QPlainTextEdit*>(Widget(ids::IncomeRemarkEdit));
    ASSERT_NE(remark, nullptr);
    Paste(remark, QStringLiteral("微信红包🧧🧧"));
    EXPECT_EQ(Texts(TakeMessages()),
              std::vector<std::string>{"不能输入字符 U+1F9E7：文字按GBK保存，其中没有这个字符。"});
    EXPECT_EQ(remark->toPlainText(), QStringLiteral("微信红包"));

    auto* amount = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    Paste(amount, QStringLiteral("12한3"));
    EXPECT_EQ(Texts(TakeMessages()),
              std::vector<std::string>{"不能输入字符 U+D55C：文字按GBK保存，其中没有这个字符。"});
    EXPECT_EQ(amount->text(), QStringLiteral("123"));

    // Typed into the category combo box: refused with its own message only; the
    // text stays as it was (no typed text is there to reject).
    auto* combo = qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo));
    combo->setCurrentIndex(1);
    TypeCharacter(combo->lineEdit(), QStringLiteral("☕"));
    EXPECT_EQ(Texts(TakeMessages()),
              std::vector<std::string>{"不能输入字符 U+2615：文字按GBK保存，其中没有这个字符。"});
    EXPECT_EQ(ComboText(ids::IncomeCategoryCombo), "奖金");

    Click(ids::IncomeAddButton);
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"), std::vector<std::string>{"微信红包"});
    EXPECT_EQ(TextsOf("财务收入.edb", "收入类型"), std::vector<std::string>{"奖金"});
}

TEST_F(TextInputTest, TheEditorsCellsRefuseThemAndItsCounterCountsFromOne) {
    std::string counter;
    WhenCategoryGridShows(true, 4, [&] {
        QTableView* grid = CategoryGrid(true);
        QApplication::setActiveWindow(grid->window());
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(3, 0));
        SettleEvents();
        for (QLabel* l : forms::WindowWidget(ids::IncomeCategoryWindow)->findChildren<QLabel*>())
            if (l->text().contains('/')) counter = l->text().toStdString();
        QTest::keyClick(grid, Qt::Key_F2);
        QLineEdit* cell = nullptr;
        for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
            if (e->isVisible()) cell = e;
        ASSERT_NE(cell, nullptr);
        cell->selectAll();
        Paste(cell, QStringLiteral("咖啡☕한"));
        QTest::keyClick(cell, Qt::Key_Return);
        Click(ids::IncomeConfirmButton, ids::IncomeCategoryWindow);
    });
    Click(ids::IncomeCategoryButton);
    SettleEvents();
    EXPECT_EQ(counter, "4/4");
    EXPECT_EQ(Texts(TakeMessages()),
              std::vector<std::string>{"不能输入字符 U+2615：文字按GBK保存，其中没有这个字符。"});
    EXPECT_EQ(TextsOf("收入类型.edb", "收入类型值"),
              (std::vector<std::string>{"工资", "奖金", "理财", "咖啡"}));
}

TEST_F(TextInputTest, ADateTheCalendarDoesNotHaveKeepsTheLastDateWithAMessage) {
    auto* picker =
        forms::FindControlAs<forms::DatePickerControl>(ids::MainWindow, ids::IncomeDatePicker);
    picker->setValue(Days(2025, 2, 14));
    QDateTimeEdit* edit = picker->editor();
    edit->setFocus();
    edit->setSelectedSection(QDateTimeEdit::YearSection);
    // Each section moves on to the next when it is full, as a person types a date.
    QTest::keyClicks(edit, "20250230");
    SettleEvents();
    EXPECT_EQ(Texts(TakeMessages()),
              std::vector<std::string>{"日期 2025-02-30 不存在，仍为 2025-02-14。"});
    EXPECT_EQ(picker->value(), Days(2025, 2, 14));
    // A date that exists is taken as typed.
    edit->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(edit, "20240229");
    SettleEvents();
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(picker->value(), Days(2024, 2, 29));
}

}  // namespace
}  // namespace tavrin::finance::testing
