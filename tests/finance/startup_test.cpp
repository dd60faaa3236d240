// Start-up: the four data files, the full listings, the status-bar totals,
// the layout, the year pages, and files that cannot be used.
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTabBar>
#include <QTest>

#include "finance/app_state.h"
#include "finance_test_support.h"
#include "forms/page_control.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "recordstore/detached_database.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

using StartupTest = FinanceTest;

TEST_F(StartupTest, FirstStartCreatesTheFourFilesWithTheirFieldsAndShowsZeroTotals) {
    StartProgram();
    EXPECT_EQ(FieldsOf("财务收入.edb"),
              (std::vector<std::string>{"收入类型:10:20", "收入金额:5:0", "收入时间:8:0",
                                        "收入备注信息:10:50"}));
    EXPECT_EQ(FieldsOf("财务支出.edb"),
              (std::vector<std::string>{"支出类型:10:20", "支出金额:5:0", "支出时间:8:0",
                                        "备注信息:10:50"}));
    EXPECT_EQ(FieldsOf("收入类型.edb"), std::vector<std::string>{"收入类型值:10:20"});
    EXPECT_EQ(FieldsOf("支出类型.edb"), std::vector<std::string>{"支出类型值:10:20"});
    for (const char* f : {"财务收入.edb", "财务支出.edb", "收入类型.edb", "支出类型.edb"})
        EXPECT_EQ(RecordCountOf(f), 0) << f;
    EXPECT_EQ(QFileInfo(QString::fromStdString(path("财务收入.edb"))).size(),
              QFileInfo(QString::fromStdString(path("财务支出.edb"))).size());
    EXPECT_EQ(Pane(0), "〔全部〕总收入：");
    EXPECT_EQ(Pane(1), "0元");
    EXPECT_EQ(Pane(3), "0元");
    EXPECT_EQ(Pane(5), "0元");
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_TRUE(Rows(ids::ExpenseList).empty());
    EXPECT_TRUE(ComboEntries(ids::IncomeCategoryCombo).empty());
    EXPECT_TRUE(ComboEntries(ids::ExpenseCategoryCombo).empty());
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(StartupTest, ItemsAreListedInFileOrderWithSerialNumbersAndTheirTotal) {
    WriteIncomeFile({{"工资", 5000, Days(2012, 5, 3), "五月"},
                     {"奖金", 1234567, Days(2012, 5, 3, 14, 7, 9), ""},
                     {"工资", 12.5f, Days(2013, 1, 2), "午餐"}});
    WriteExpenseFile({{"餐饮", 30, Days(2012, 6, 1, 8, 30), "早饭"}});
    StartProgram();
    const auto income = Rows(ids::IncomeList);
    ASSERT_EQ(income.size(), 3u);
    EXPECT_EQ(income[0], (std::vector<std::string>{"1", "5000", "工资", "2012年5月3日", "五月"}));
    EXPECT_EQ(income[1],
              (std::vector<std::string>{"2", "1234567", "奖金", "2012年5月3日14时7分9秒", ""}));
    EXPECT_EQ(income[2], (std::vector<std::string>{"3", "12.5", "工资", "2013年1月2日", "午餐"}));
    const auto expense = Rows(ids::ExpenseList);
    ASSERT_EQ(expense.size(), 1u);
    EXPECT_EQ(expense[0],
              (std::vector<std::string>{"1", "30", "餐饮", "2012年6月1日8时30分", "早饭"}));
    EXPECT_EQ(State().totalIncome.value(), 5000.0 + 1234567.0 + 12.5);
    EXPECT_EQ(Pane(1), "123.95795万元");
    EXPECT_EQ(Pane(3), "30元");
}

TEST_F(StartupTest, EachRowKeepsTheSerialOfItsRecord) {
    WriteIncomeFile({{"a", 1, Days(2012, 1, 1), ""},
                     {"b", 2, Days(2012, 1, 2), ""},
                     {"c", 3, Days(2012, 1, 3), ""}});
    StartProgram();
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->itemCount(), 3);
    // Serials start at 1 in a new file and follow the records.
    EXPECT_EQ(list->itemData(0), 1);
    EXPECT_EQ(list->itemData(1), 2);
    EXPECT_EQ(list->itemData(2), 3);
}

struct TotalsCase {
    float income;
    float expense;
    const char* pane1;
    const char* pane3;
    const char* pane5;
};

class StatusTotalsTest : public FinanceTest, public ::testing::WithParamInterface<TotalsCase> {};

TEST_P(StatusTotalsTest, PanesShowTheTotalsInYuanOrTenThousandYuan) {
    const TotalsCase& c = GetParam();
    if (c.income != 0) WriteIncomeFile({{"x", c.income, Days(2012, 5, 3), ""}});
    if (c.expense != 0) WriteExpenseFile({{"y", c.expense, Days(2012, 5, 3), ""}});
    StartProgram();
    EXPECT_EQ(Pane(1), c.pane1);
    EXPECT_EQ(Pane(3), c.pane3);
    EXPECT_EQ(Pane(5), c.pane5);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, StatusTotalsTest,
    ::testing::Values(TotalsCase{12345, 9999.5f, "1.2345万元", "9999.5元", "2345.5元"},
                      TotalsCase{10000, 0, "1万元", "0元", "1万元"},
                      TotalsCase{10000.5f, 0, "1.00005万元", "0元", "1.00005万元"},
                      TotalsCase{0, 20000, "0元", "2万元", "-2万元"},
                      // Stored as 123456.78125: shown to the cent.
                      TotalsCase{123456.78f, 0, "12.345678万元", "0元", "12.345678万元"}));

TEST_F(StartupTest, ResizingLaysOutTheControlsFromTheClientSize) {
    StartProgram();
    QWidget* window = forms::WindowWidget(ids::MainWindow);
    QWidget* client = forms::ClientArea(ids::MainWindow);
    ASSERT_TRUE(window && client);
    const int menuHeight = client->geometry().top();
    window->resize(1000, 700 + menuHeight);
    SettleEvents();
    ASSERT_EQ(client->width(), 1000);
    ASSERT_EQ(client->height(), 700);
    EXPECT_EQ(Widget(ids::StatusBar1)->width(), 1000);
    EXPECT_EQ(Widget(ids::Picture1)->width(), 1000 - 792 - 1);
    EXPECT_EQ(Widget(ids::MainPages)->width(), 1000);
    EXPECT_EQ(Widget(ids::MainPages)->height(), 700 - 48 - 20 + 30);
    // Each list ends at the status bar's top edge, neither under it nor short of it.
    const int statusTop = Widget(ids::StatusBar1)->mapTo(client, QPoint(0, 0)).y();
    EXPECT_EQ(statusTop, 700 - 20);
    for (uint32_t list : {ids::IncomeList, ids::ExpenseList}) {
        EXPECT_EQ(Widget(list)->width(), 1000);
        EXPECT_EQ(Widget(list)->mapTo(client, QPoint(0, Widget(list)->height())).y(), statusTop);
    }
    // Nothing else moves.
    EXPECT_EQ(Widget(ids::ChartFrame)->geometry(), QRect(257, 41, 534, 185));
}

TEST_F(StartupTest, EndShowsTheLastRowAboveTheStatusBarAndTheWindowKeepsARoomySize) {
    std::vector<Item> items;
    // More rows than the column fit samples, so the last serial is the widest.
    for (int i = 0; i < 10001; ++i) items.push_back({"a", float(i + 1), Days(2012, 1, 1), ""});
    WriteIncomeFile(items);
    StartProgram();
    QWidget* window = forms::WindowWidget(ids::MainWindow);
    QWidget* client = forms::ClientArea(ids::MainWindow);
    const int menuHeight = client->geometry().top();
    window->resize(1000, 700 + menuHeight);
    window->show();
    SettleEvents();
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    auto* view = list->view();
    list->model()->flush();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_End);
    SettleEvents();
    ASSERT_EQ(list->currentRow(), 10000);
    // The list is filled in batches: rows on both sides of a batch's end hold
    // their own texts and serial.
    for (int32_t row : {0, 8191, 8192, 10000}) {
        const std::string n = std::to_string(row + 1);
        EXPECT_EQ(list->itemText(row, 0), n);
        EXPECT_EQ(list->itemText(row, 1), n);
        EXPECT_EQ(U(list->itemText(row, 3)), "2012年1月1日");
        EXPECT_EQ(list->itemData(row), row + 1);
    }
    // The whole last row lies inside the viewport, and the viewport ends above
    // the status bar.
    const QRect last = view->visualRect(list->model()->index(10000, 0));
    EXPECT_TRUE(view->viewport()->rect().contains(last)) << last.y() << "+" << last.height();
    const int viewportBottom =
        view->viewport()->mapTo(client, QPoint(0, view->viewport()->height())).y();
    EXPECT_LE(viewportBottom, Widget(ids::StatusBar1)->mapTo(client, QPoint(0, 0)).y());
    EXPECT_GE(view->header()->sectionSize(0),
              view->fontMetrics().horizontalAdvance(QStringLiteral("10001")) + 8);

    // A window made tiny keeps its minimum client size, with rows in the list.
    window->resize(400, 300);
    SettleEvents();
    EXPECT_GE(client->width(), 660);
    EXPECT_GE(client->height(), 420);
    EXPECT_GE(Widget(ids::IncomeList)->height(), 5 * last.height());
}

TEST_F(StartupTest, YearsOfTheDataOutsideTheTemplateGetTheirOwnPagesInOrder) {
    WriteIncomeFile({{"a", 1, Days(2009, 3, 1), ""}, {"b", 1, Days(2031, 3, 1), ""}});
    WriteExpenseFile({{"c", 1, Days(2012, 3, 1), ""}});
    StartProgram();
    auto* years = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::YearPages);
    ASSERT_NE(years, nullptr);
    std::vector<std::string> titles;
    for (int32_t p = 0; p < years->pageCount(); ++p) titles.push_back(U(years->pageTitle(p)));
    ASSERT_GE(titles.size(), 4u);
    EXPECT_EQ(titles[0], "年合计");
    EXPECT_EQ(titles[1], "2009");
    EXPECT_EQ(titles.back(), "2031");
    for (size_t i = 2; i < titles.size(); ++i)
        EXPECT_LT(std::stoi(titles[i - 1]), std::stoi(titles[i]));
    EXPECT_NE(std::find(titles.begin(), titles.end(), "2012"), titles.end());
    EXPECT_NE(std::find(titles.begin(), titles.end(), "2020"),
              titles.end());  // template years stay
}

// Bytes of a file, to prove it was not touched.
QByteArray Contents(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST_F(StartupTest, ADamagedCategoryFileIsLeftUntouchedAndNamedInAMessage) {
    WriteIncomeFile({});
    const QByteArray junk("this is not a record file, but someone's data", 46);
    {
        QFile f(QString::fromStdString(path("收入类型.edb")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    StartProgram();
    EXPECT_EQ(Contents(path("收入类型.edb")), junk);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("收入类型.edb"), std::string::npos);
    EXPECT_EQ(shown[0].caption, "错误提示");
    EXPECT_TRUE(ComboEntries(ids::IncomeCategoryCombo).empty());
    EXPECT_EQ(RecordCountOf("支出类型.edb"), 0);  // the missing one is still created
}

TEST_F(StartupTest, AnItemFileInUseIsNeitherRecreatedNorEmptied) {
    WriteIncomeFile({{"工资", 100, Days(2012, 5, 3), ""}, {"奖金", 50, Days(2012, 5, 4), ""}});
    const QByteArray before = Contents(path("财务收入.edb"));
    // Another program holds the file exclusively.
    rs::DetachedDatabase holder;
    ASSERT_EQ(holder.open(G(path("财务收入.edb")), false, 4), rs::Code::kOk);  // exclusive
    StartProgram();
    holder.close();
    EXPECT_EQ(Contents(path("财务收入.edb")), before);
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 2);
    // The start names the file; the period view after it cannot open it either.
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].text.find("财务收入.edb"), std::string::npos);
    EXPECT_EQ(shown[1].text, "打开数据库失败.");
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_EQ(Pane(1), "0元");
}

TEST_F(StartupTest, AnItemFileThatCanBeNeitherOpenedNorCreatedGivesAnEmptyListOnce) {
    // A link into a directory that does not exist: nothing can be created there.
    ASSERT_TRUE(QFile::link(QString::fromStdString(dir() + "/missing/dir/x.edb"),
                            QString::fromStdString(path("财务支出.edb"))));
    StartProgram();
    // The start names the file; the period view after it cannot open it either.
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].text.find("财务支出.edb"), std::string::npos);
    EXPECT_EQ(shown[1].text, "打开数据库失败.");
    EXPECT_TRUE(Rows(ids::ExpenseList).empty());
    EXPECT_EQ(State().totalExpense, 0.0f);
    EXPECT_EQ(Pane(3), "0元");
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 0);  // the other side is not affected
}

// A record file kept under a password is asked for through the program's own
// dialog when an opener passes "?": the engine has no window of its own.
TEST_F(StartupTest, APasswordIsAskedForInTheProgramsDialog) {
    StartProgram();
    WriteIncomeFile({{"工资", 100, Days(2012, 5, 3), ""}});
    QFile file(QString::fromStdString(path("财务收入.edb")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write("WCDB");
    file.seek(28);  // the SHA-256 of "secret"
    file.write("2bb80d537b1da3e38bd30361aa855686bde0eacd7162fef6a25fe97bf527a25b");
    file.close();
    std::vector<DialogRequest> asked;
    SetDialogResponder([&](const DialogRequest& r) -> std::optional<DialogReply> {
        asked.push_back(r);
        return DialogReply{true, {{"password", asked.size() < 2 ? "wrong" : "secret"}}};
    });
    const std::string name = G(path("财务收入.edb"));
    const bool opened = CallKernel(OpenDatabase, MakeTextRef(name.c_str()), MakeTextRef(""),
                                   MakeBool(false), MakeInt(1), MakeInt(0), MakeTextRef("?"))
                            .asBool();
    SetDialogResponder(nullptr);
    EXPECT_TRUE(opened);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].kind, "password");
    EXPECT_FALSE(asked[0].fields["caption"].empty());
    EXPECT_FALSE(asked[0].fields["prompt"].empty());
    EXPECT_EQ(asked[1].fields["message"], "密码错误，您还有 2 次重新输入的机会。");
}

}  // namespace
}  // namespace tavrin::finance::testing
