// The backups a person can restore, through the main window on real files:
// the daily pair after the window shows, clearing by mistake and taking it
// back in the restore window, old daily pairs going, a damaged pair refused.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include "clearing_backup.h"
#include "finance_test_support.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

QByteArray Bytes(const std::string& utf8Path) {
    QFile f(QString::fromStdString(utf8Path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

class RestoreWindowTest : public FinanceTest {
  protected:
    void TearDown() override {
        if (forms::IsWindowLoaded(ids::RestoreWindow)) forms::CloseWindow(ids::RestoreWindow, true);
        SetBackupClock({});
        FinanceTest::TearDown();
    }
    bool Exists(const std::string& utf8Name) {
        return QFile::exists(QString::fromStdString(path(utf8Name)));
    }
    QStringList Backups() {
        QStringList out;
        for (const QString& n : QDir(QString::fromStdString(dir())).entryList(QDir::Files))
            if (n.startsWith(QStringLiteral("20"))) out << n;
        out.sort();
        return out;
    }
    forms::ReportListControl* BackupList() {
        return forms::FindControlAs<forms::ReportListControl>(ids::RestoreWindow, ids::BackupList);
    }
    std::vector<std::vector<std::string>> BackupRows() {
        std::vector<std::vector<std::string>> rows;
        forms::ReportListControl* l = BackupList();
        for (int32_t r = 0; l != nullptr && r < l->itemCount(); ++r) {
            rows.emplace_back();
            for (int32_t c = 0; c < l->columnCount(); ++c)
                rows.back().push_back(U(l->itemText(r, c)));
        }
        return rows;
    }
    // Menu 系统 → 恢复备份…; in the window, `work` runs, then 关闭 is clicked.
    void InRestoreWindow(std::function<void()> work) {
        bool ran = false;
        WhenShown(
            ids::RestoreWindow, [this] { return BackupList() && BackupList()->itemCount() > 0; },
            [&, work] {
                ran = true;
                work();
                Click(ids::RestoreCloseButton, ids::RestoreWindow);
            });
        QAction* item = nullptr;
        for (QAction* a : forms::WindowWidget(ids::MainWindow)->findChildren<QAction*>())
            if (a->text() == QStringLiteral("恢复备份…")) item = a;
        ASSERT_NE(item, nullptr);
        item->trigger();
        SettleEvents();
        EXPECT_TRUE(ran);
        EXPECT_FALSE(forms::IsWindowLoaded(ids::RestoreWindow));
    }
    void ChooseAndRestore(int32_t row) {
        forms::ReportListControl* l = BackupList();
        l->model()->flush();
        const QRect rect = l->view()->visualRect(l->view()->model()->index(row, 0));
        QTest::mouseClick(l->view()->viewport(), Qt::LeftButton, {}, rect.center());
        AnswerNext(tavrin::kButtonYes);
        Click(ids::RestoreChosenButton, ids::RestoreWindow);
    }
};

TEST_F(RestoreWindowTest, ClearingByMistakeThenRestoringTheDailyBackupGivesEveryRecordBack) {
    WriteIncomeFile({{"工资", 8000, Days(2012, 4, 1), "四月"},
                     {"奖金", 1234.5f, Days(2012, 4, 20), "季度"},
                     {"利息", 0.25f, Days(2012, 5, 1), ""}});
    WriteExpenseFile(
        {{"餐饮", 35.5f, Days(2012, 5, 2), "午饭"}, {"交通", 6, Days(2012, 5, 2), ""}});
    const QByteArray income = Bytes(path("财务收入.edb")), expense = Bytes(path("财务支出.edb"));
    SetBackupClock([] { return Days(2012, 5, 3, 9, 30, 0); });
    StartProgram();
    // The day's first start makes the daily pair once the window shows; the
    // second start of the day makes none.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Exists("2012年5月3日9时30分自动备份财务支出.edb"); }));
    EXPECT_EQ(Bytes(path("2012年5月3日9时30分自动备份财务收入.edb")), income);
    SetBackupClock([] { return Days(2012, 5, 3, 18, 0, 0); });
    RestartProgram();
    SettleEvents();
    EXPECT_EQ(Backups().size(), 2);

    // 初始化 by mistake: a pair as 备份 names it is made before the files empty.
    AnswerNext(tavrin::kButtonYes);
    ClickToolButton(1);
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 0);
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_EQ(Bytes(path("2012年5月3日18时财务收入.edb")), income);
    TakeMessages();

    SetBackupClock([] { return Days(2012, 5, 3, 18, 5, 0); });
    InRestoreWindow([&] {
        EXPECT_EQ(BackupRows(),
                  (std::vector<std::vector<std::string>>{
                      {"2012年5月3日18时", "手动", "3条", "9234.75元", "2条", "41.5元", ""},
                      {"2012年5月3日9时30分", "自动", "3条", "9234.75元", "2条", "41.5元", ""}}));
        ChooseAndRestore(1);
    });
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text,
              "用备份“2012年5月3日9时30分”替换当前的收入和支出数据吗？当前数据会先备份，"
              "之后也可以再恢复。");
    EXPECT_EQ(shown[1].text, "已恢复备份，恢复前的数据保存为备份“2012年5月3日18时5分”。");
    EXPECT_EQ(Bytes(path("财务收入.edb")), income);
    EXPECT_EQ(Bytes(path("财务支出.edb")), expense);
    // The emptied files were saved first, so the restore can be taken back too.
    EXPECT_EQ(RecordCountOf("2012年5月3日18时5分财务收入.edb"), 0);
    EXPECT_EQ(Rows(ids::IncomeList).size(), 3u);
    EXPECT_EQ(Rows(ids::ExpenseList).size(), 2u);
    EXPECT_EQ(Pane(1), "9234.75元");
}

TEST_F(RestoreWindowTest, OldDailyPairsGoTheOwnStayAndADamagedPairIsRefusedChangingNothing) {
    WriteIncomeFile({{"工资", 100, Days(2012, 4, 1), ""}});
    WriteExpenseFile({{"餐饮", 5, Days(2012, 4, 1), ""}});
    // One pair the person made on 1 April and twelve daily ones after it.
    for (int day : {1, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}) {
        const std::string stamp =
            "2012年4月" + std::to_string(day) + (day == 1 ? "日" : "日自动备份");
        ASSERT_TRUE(QFile::copy(QString::fromStdString(path("财务收入.edb")),
                                QString::fromStdString(path(stamp + "财务收入.edb"))));
        ASSERT_TRUE(QFile::copy(QString::fromStdString(path("财务支出.edb")),
                                QString::fromStdString(path(stamp + "财务支出.edb"))));
    }
    SetBackupClock([] { return Days(2012, 5, 3, 8, 0, 0); });
    StartProgram();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Exists("2012年4月11日自动备份财务收入.edb"); }));
    EXPECT_TRUE(Exists("2012年5月3日8时自动备份财务收入.edb"));
    EXPECT_FALSE(Exists("2012年4月9日自动备份财务支出.edb"));
    EXPECT_FALSE(Exists("2012年4月10日自动备份财务收入.edb"));
    EXPECT_TRUE(Exists("2012年4月12日自动备份财务收入.edb"));
    EXPECT_TRUE(Exists("2012年4月1日财务收入.edb"));
    EXPECT_EQ(Backups().size(), 2 * (10 + 1));

    // The newest April pair loses its last record, as on a disk that failed.
    const std::string damaged = path("2012年4月20日自动备份财务收入.edb");
    QByteArray cut = Bytes(damaged);
    cut.chop(40);
    QFile f(QString::fromStdString(damaged));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(cut);
    f.close();
    const QByteArray income = Bytes(path("财务收入.edb")), expense = Bytes(path("财务支出.edb"));
    const QStringList before = Backups();
    TakeMessages();
    InRestoreWindow([&] {
        const auto rows = BackupRows();
        ASSERT_EQ(rows.size(), 11u);
        EXPECT_EQ(rows[1][0], "2012年4月20日");
        EXPECT_EQ(rows[1][2], "已损坏");
        EXPECT_EQ(rows[1][6], "已损坏");
        EXPECT_EQ(rows[10][1], "手动");
        ChooseAndRestore(1);
    });
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text,
              "备份文件“2012年4月20日自动备份财务收入.edb”已损坏，无法恢复；当前数据没有改变。");
    EXPECT_EQ(shown[1].caption, "错误提示");
    EXPECT_EQ(Bytes(path("财务收入.edb")), income);
    EXPECT_EQ(Bytes(path("财务支出.edb")), expense);
    EXPECT_EQ(Backups(), before);  // no safety pair for a refused restore
}

}  // namespace
}  // namespace tavrin::finance::testing
