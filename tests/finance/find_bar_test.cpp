// The find bar through real key events on the main window over real files:
// the list narrows as the person types, the filtered total is the sum of the
// matching records, rows keep their records, Escape gives the list back.
#include "find_bar.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTest>
#include <algorithm>

#include "finance_test_support.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

class FindBarTest : public FinanceTest {
  protected:
    forms::ReportListControl* List() {
        return forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    }
    // The serial numbers (cell 0) of the rows the view shows, in order.
    std::vector<std::string> Shown() {
        std::vector<std::string> out;
        QAbstractItemModel* m = List()->view()->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out.push_back(m->index(r, 0).data().toString().toStdString());
        return out;
    }
    // The bar's boxes: 0 the text, 1 and 2 the amount range.
    QLineEdit* Box(int i) {
        const char* names[] = {"findText", "findFrom", "findTo"};
        return forms::WindowWidget(ids::MainWindow)->findChild<QLineEdit*>(names[i]);
    }
    void Key(QWidget* to, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QApplication::setActiveWindow(forms::WindowWidget(ids::MainWindow));
        QTest::keyClick(to, key, mods);
        SettleEvents();
    }
    void Type(QLineEdit* box, const QString& text) {
        ASSERT_NE(box, nullptr);
        QTest::keyClicks(box, text);
        SettleEvents();
    }
    // Clicks the n-th row the view shows.
    void ClickShown(int n) {
        auto* view = List()->view();
        const QRect rect = view->visualRect(view->model()->index(n, 1));
        ASSERT_TRUE(rect.isValid()) << "shown row " << n;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // The status bar's filter text, and what it should say for the income
    // records whose category or remark holds `word` (ASCII, any case) and whose
    // amount lies in [from, to].
    std::string Expected(const std::string& word, float from, float to) {
        const auto amounts = AmountsOf("财务收入.edb", "收入金额");
        const auto categories = TextsOf("财务收入.edb", "收入类型");
        const auto remarks = TextsOf("财务收入.edb", "收入备注信息");
        auto lower = [](std::string s) {
            for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
            return s;
        };
        int count = 0;
        double total = 0;
        for (size_t i = 0; i < amounts.size(); ++i) {
            const bool text =
                lower(categories[i] + "\n" + remarks[i]).find(word) != std::string::npos;
            if (text && amounts[i] >= from && amounts[i] <= to) {
                ++count;
                total += amounts[i];
            }
        }
        char money[64];
        std::snprintf(money, sizeof money, "%.2f", total);
        std::string m = money;
        while (m.back() == '0') m.pop_back();
        if (m.back() == '.') m.pop_back();
        return "筛选：" + std::to_string(count) + " 条，合计 " + m + "元";
    }
};

TEST_F(FindBarTest, TypingNarrowsTheListRowsKeepTheirRecordsAndEscapeGivesTheListBack) {
    WriteCategoryFile(true, {"工资", "奖金", "利息"});
    WriteIncomeFile({{"工资", 100, Days(2012, 1, 5), "COFFEE豆"},
                     {"奖金", 25.5f, Days(2012, 2, 1), "买coffee"},
                     {"工资", 300, Days(2012, 3, 1), "房租"},
                     {"利息", 12.25f, Days(2012, 3, 9), "Coffee机"},
                     // "丆" is 0x81 0x43: its second byte is a "C" that is no letter.
                     {"奖金", 7, Days(2012, 4, 1), "丆OFFEE"},
                     {"工资", 50, Days(2012, 5, 1), "咖啡 coffee"}});
    StartProgram();
    ClickShown(2);  // 房租
    ASSERT_EQ(List()->currentRow(), 2);
    const std::string author = Pane(6);

    // Ctrl+F, a search typed key by key, Escape: the list as it was.
    Key(List()->view(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(FindBarOpen());
    ASSERT_EQ(QApplication::focusWidget(), Box(0));
    Type(Box(0), "COFFee");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1", "2", "4", "6"}));
    EXPECT_EQ(Pane(6), Expected("coffee", 0, 1e9));
    EXPECT_EQ(Pane(6), "筛选：4 条，合计 187.75元");
    Key(Box(0), Qt::Key_Escape);
    EXPECT_FALSE(FindBarOpen());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(List()->currentRow(), 2);
    EXPECT_EQ(Pane(6), author);

    // Again, with an amount range: 20 to 100.
    Key(List()->view(), Qt::Key_F, Qt::ControlModifier);
    Type(Box(1), "20");
    Type(Box(2), "100");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1", "2", "6"}));
    EXPECT_EQ(Pane(6), Expected("coffee", 20, 100));

    // A date range as well, both of its days included; unticked, it is gone.
    QWidget* main = forms::WindowWidget(ids::MainWindow);
    main->findChild<QDateEdit*>("findFromDay")->setDate(QDate(2012, 2, 1));
    main->findChild<QDateEdit*>("findToDay")->setDate(QDate(2012, 5, 1));
    QTest::mouseClick(main->findChild<QCheckBox*>("findDates"), Qt::LeftButton, {}, QPoint(4, 8));
    SettleEvents();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"2", "6"}));
    QTest::mouseClick(main->findChild<QCheckBox*>("findDates"), Qt::LeftButton, {}, QPoint(4, 8));
    SettleEvents();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1", "2", "6"}));

    // Changing a found row changes its record; out of the range, it leaves the list.
    ClickShown(1);
    auto* amount = qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit));
    EXPECT_EQ(amount->text().toStdString(), "25.5");
    amount->clear();
    QTest::keyClicks(amount, "500");
    Click(ids::IncomeChangeButton);
    SettleEvents();
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"),
              (std::vector<float>{100, 500, 300, 12.25f, 7, 50}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1", "6"}));
    EXPECT_EQ(Pane(6), Expected("coffee", 20, 100));

    // Deleting a found row deletes its record; undo brings it back into the list.
    ClickShown(1);
    Click(ids::IncomeDeleteButton);
    SettleEvents();
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"),
              (std::vector<std::string>{"COFFEE豆", "买coffee", "房租", "Coffee机", "丆OFFEE"}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Pane(6), "筛选：1 条，合计 100元");
    Key(List()->view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息").back(), "咖啡 coffee");
    EXPECT_EQ(Shown().size(), 2u);
    EXPECT_EQ(Pane(6), Expected("coffee", 20, 100));
    EXPECT_TRUE(TakeMessages().empty());

    // The bar's close button ends the filter too.
    QWidget* close = forms::WindowWidget(ids::MainWindow)->findChild<QWidget*>("findClose");
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    SettleEvents();
    EXPECT_FALSE(FindBarOpen());
    EXPECT_EQ(Shown().size(), 6u);
    EXPECT_EQ(Pane(6), author);
}

}  // namespace
}  // namespace tavrin::finance::testing
