// Amounts through the real windows and files: cells read the cents typed after
// a restart, a view and change keeps every byte not edited, and an amount
// single precision cannot keep is named before anything is stored.
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "finance/app_state.h"
#include "finance_test_support.h"
#include "forms/controls.h"
#include "money/money_text.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

class AmountsTest : public EntryTest {
  protected:
    QLineEdit* AmountEdit() { return qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit)); }
    // A category chosen from the list and an amount typed.
    void Enter(int category, const QString& amount) {
        qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo))->setCurrentIndex(category);
        AmountEdit()->clear();
        QTest::keyClicks(AmountEdit(), amount);
    }
    std::vector<std::string> AmountCells() { return Column(ids::IncomeList, 1); }
    QByteArray IncomeFileBytes() {
        QFile f(QString::fromStdString(path("财务收入.edb")));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};

TEST_F(AmountsTest, CellsAndTotalsReadTheCentsTypedBeforeAndAfterARestart) {
    StartProgram();
    const std::vector<std::string> typed = {"12345.67",  "46023.45", "99999.99",
                                            "131071.99", "1234567",  "9999999"};
    for (const std::string& amount : typed) {
        Enter(0, QString::fromStdString(amount));
        Click(ids::IncomeAddButton);
    }
    EXPECT_TRUE(TakeMessages().empty());
    EXPECT_EQ(AmountCells(), typed);
    // 11524007.1 元: every amount is a float of exactly its cents' nearest value.
    EXPECT_EQ(Pane(1), "1152.40071万元");
    EXPECT_EQ(Pane(5), "1152.40071万元");
    RestartProgram();
    EXPECT_EQ(AmountCells(), typed);
    EXPECT_EQ(Pane(1), "1152.40071万元");
    // Viewing fills the amount box with the same text.
    ClickRow(ids::IncomeList, 1);
    EXPECT_EQ(AmountEdit()->text().toStdString(), "46023.45");

    // The totals' panes hold twelve digits, a sign and the unit uncut.
    QLabel* pane = nullptr;
    for (QLabel* label : Widget(ids::StatusBar1)->findChildren<QLabel*>())
        if (label->text() == QString::fromUtf8("1152.40071万元")) pane = label;
    ASSERT_NE(pane, nullptr);
    EXPECT_GE(pane->contentsRect().width(),
              QFontMetrics(pane->font()).horizontalAdvance("-123456.789012万元"));
}

TEST_F(AmountsTest, AViewAndAChangeWriteBackOnlyWhatThePersonEdited) {
    // Amounts and a time no entry box shows to the last bit: a binary fraction
    // below the cent, one that single precision rounded, and a time with a
    // fraction of a second (files written by other programs hold such values).
    WriteIncomeFile({{"工资", 12345.67f, Days(2012, 5, 3), "午餐"},
                     {"奖金", 0.126f, Days(2012, 5, 3, 8, 30) + 0.25 / 86400, "第二条"},
                     {"工资", 1234567.875f, Days(2013, 1, 2), ""}});
    StartProgram();
    const QByteArray before = IncomeFileBytes();
    for (int32_t row : {0, 1, 2}) {
        ClickRow(ids::IncomeList, row);
        Click(ids::IncomeChangeButton);
        EXPECT_TRUE(TakeMessages().empty());
        EXPECT_EQ(IncomeFileBytes(), before) << "row " << row;
    }
    EXPECT_EQ(AmountCells(), (std::vector<std::string>{"12345.67", "0.13", "1234567.88"}));
    EXPECT_EQ(Pane(1), U(money::MoneyTotalText(double(12345.67f) + double(0.126f) + 1234567.875)));

    // A remark edited: only the bytes of that remark change.
    ClickRow(ids::IncomeList, 1);
    auto* remark = qobject_cast<QPlainTextEdit*>(Widget(ids::IncomeRemarkEdit));
    remark->clear();
    QTest::keyClicks(remark, "x");
    Click(ids::IncomeChangeButton);
    const QByteArray after = IncomeFileBytes();
    ASSERT_EQ(after.size(), before.size());
    int first = -1, last = -1;
    for (int i = 0; i < after.size(); ++i) {
        if (after[i] == before[i]) continue;
        if (first < 0) first = i;
        last = i;
    }
    ASSERT_GE(first, 0);
    EXPECT_LT(last - first, 50);  // within the one remark field
    EXPECT_EQ(TextsOf("财务收入.edb", "收入备注信息"), (std::vector<std::string>{"午餐", "x", ""}));
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"),
              (std::vector<float>{12345.67f, 0.126f, 1234567.875f}));

    // The amount retyped as it showed is the amount the record holds: unchanged.
    ClickRow(ids::IncomeList, 1);
    Enter(1, "0.13");
    Click(ids::IncomeChangeButton);
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额").at(1), 0.126f);
}

TEST_F(AmountsTest, AnAmountSinglePrecisionCannotKeepIsNamedAndStoredOnlyWhenConfirmed) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    const QByteArray before = IncomeFileBytes();
    // Cancelled: nothing stored, the typed text left to mend.
    Enter(0, "1234567.89");
    AnswerNext(kButtonCancel);
    Click(ids::IncomeAddButton);
    std::vector<ShownMessage> shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.substr(0, shown[0].text.find('\n')),
              "1234567.89 只能保存为 1234567.88元。");
    EXPECT_EQ(shown[0].style & kStyleButtonsMask, uint32_t(kStyleOkCancel));
    EXPECT_EQ(shown[0].caption, "操作询问");
    EXPECT_EQ(IncomeFileBytes(), before);
    EXPECT_EQ(AmountEdit()->text(), "1234567.89");
    EXPECT_EQ(Pane(1), "10元");
    // Below the cent, and just below the bound, in a change: cancelled as well.
    for (const char* amount : {"12.345", "9999999.99"}) {
        ClickRow(ids::IncomeList, 0);
        Enter(0, amount);
        AnswerNext(kButtonCancel);
        Click(ids::IncomeChangeButton);
        shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text.substr(0, shown[0].text.find('\n')),
                  std::string(amount) + " 只能保存为 " + (amount[0] == '1' ? "12.35" : "9999999") +
                      "元。");
        EXPECT_EQ(IncomeFileBytes(), before);
    }
    // Confirmed: stored as named, and the row says so.
    Enter(0, "1234567.89");
    AnswerNext(kButtonOk);
    Click(ids::IncomeAddButton);
    EXPECT_EQ(TakeMessages().size(), 1u);
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), (std::vector<float>{10, 1234567.875f}));
    EXPECT_EQ(AmountCells(), (std::vector<std::string>{"10", "1234567.88"}));
    EXPECT_EQ(Pane(1), "123.457788万元");  // 1234577.875 to the cent, half up
}

}  // namespace
}  // namespace tavrin::finance::testing
