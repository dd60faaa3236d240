// Clearing both item files and the time-stamped backup copies.
#include "clearing_backup.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <cstring>

#include "finance/app_state.h"
#include "finance_test_support.h"
#include "forms/report_list.h"
#include "recordstore/detached_database.h"
#include "runtime/message_box.h"

namespace tavrin::finance::testing {
namespace {

class ClearingBackupTest : public FinanceTest {
  protected:
    void TearDown() override {
        SetBackupClock({});
        FinanceTest::TearDown();
    }
    QStringList Backups() {
        QStringList names = QDir(QString::fromStdString(dir()))
                                .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        QStringList out;
        for (const QString& n : names)
            if (n.startsWith(QStringLiteral("2012"))) out << n;
        out.sort();
        return out;
    }
};

TEST_F(ClearingBackupTest, AnsweringNoToTheQuestionChangesNothing) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    AnswerNext(tavrin::kButtonNo);
    ClickToolButton(1);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "清空内容后不可恢复，请谨慎操作；是否继续清空？");
    EXPECT_EQ(shown[0].caption, "操作询问");
    EXPECT_EQ(shown[0].style & 0xFFu, tavrin::kStyleYesNo | tavrin::kIconInformation);
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 1);
    EXPECT_EQ(Rows(ids::IncomeList).size(), 1u);
}

TEST_F(ClearingBackupTest, YesEmptiesListsAndFilesAndTheNextItemIsRecordOneWithAFreshSerial) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}, {"奖金", 20, Days(2012, 1, 2), ""}});
    WriteExpenseFile({{"餐饮", 5, Days(2012, 1, 1), ""}});
    WriteCategoryFile(true, {"工资"});
    StartProgram();
    AnswerNext(tavrin::kButtonYes);
    ClickToolButton(1);
    EXPECT_EQ(TakeMessages().size(), 1u);  // the question only
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_TRUE(Rows(ids::ExpenseList).empty());
    EXPECT_EQ(RecordCountOf("财务收入.edb"), 0);
    EXPECT_EQ(RecordCountOf("财务支出.edb"), 0);
    EXPECT_EQ(RecordCountOf("收入类型.edb"), 1);  // categories remain
    EXPECT_EQ(Pane(1), "0元");
    EXPECT_EQ(Pane(3), "0元");

    auto* combo = qobject_cast<QComboBox*>(Widget(ids::IncomeCategoryCombo));
    combo->setCurrentIndex(0);
    QTest::keyClicks(qobject_cast<QLineEdit*>(Widget(ids::IncomeAmountEdit)), "7");
    Click(ids::IncomeAddButton);
    const auto rows = Rows(ids::IncomeList);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "1");
    EXPECT_EQ(AmountsOf("财务收入.edb", "收入金额"), std::vector<float>{7});
    // The serial continues from the two records before.
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    EXPECT_EQ(list->itemData(0), 3);
}

TEST_F(ClearingBackupTest, AFileThatCannotBeOpenedIsNamedAndItsListKept) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    WriteExpenseFile({{"餐饮", 5, Days(2012, 1, 1), ""}});
    StartProgram();
    rs::DetachedDatabase holder;
    ASSERT_EQ(holder.open(G(path("财务支出.edb")), false, 4), rs::Code::kOk);  // exclusive
    AnswerNext(tavrin::kButtonYes);
    ClickToolButton(1);
    holder.close();
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].text.find("财务支出.edb"), std::string::npos);
    EXPECT_TRUE(Rows(ids::IncomeList).empty());
    EXPECT_EQ(Rows(ids::ExpenseList).size(), 1u);
    EXPECT_EQ(RecordCountOf("财务支出.edb"), 1);
    EXPECT_EQ(Pane(3), "5元");
}

TEST_F(ClearingBackupTest, BackupNamesFollowTheDateTimeText) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    WriteExpenseFile({{"餐饮", 5, Days(2012, 1, 1), ""}});
    StartProgram();
    for (double t :
         {Days(2012, 5, 3, 14, 7, 9), Days(2012, 5, 3, 14, 0, 0), Days(2012, 5, 3, 0, 0, 0)}) {
        SetBackupClock([t] { return t; });
        ClickToolButton(2);
        const auto shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "数据库备份成功");
        EXPECT_EQ(shown[0].caption, "操作成功");
        EXPECT_EQ(shown[0].style & 0xFFu, tavrin::kIconInformation);
    }
    EXPECT_EQ(
        Backups(),
        (QStringList{"2012年5月3日14时7分9秒财务支出.edb", "2012年5月3日14时7分9秒财务收入.edb",
                     "2012年5月3日14时财务支出.edb", "2012年5月3日14时财务收入.edb",
                     "2012年5月3日财务支出.edb", "2012年5月3日财务收入.edb"}));
    EXPECT_EQ(RecordCountOf("2012年5月3日14时财务收入.edb"), 1);
}

TEST_F(ClearingBackupTest, ASecondBackupInTheSameSecondReplacesTheFirstPair) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    WriteExpenseFile({});
    StartProgram();
    SetBackupClock([] { return Days(2012, 5, 3, 14, 7, 9); });
    ClickToolButton(2);
    EXPECT_EQ(RecordCountOf("2012年5月3日14时7分9秒财务收入.edb"), 1);
    AnswerNext(tavrin::kButtonYes);
    ClickToolButton(1);  // the income file is emptied before the second backup
    ClickToolButton(2);
    EXPECT_EQ(Backups().size(), 2);
    EXPECT_EQ(RecordCountOf("2012年5月3日14时7分9秒财务收入.edb"), 0);
}

TEST_F(ClearingBackupTest, AMissingExpenseFileGivesOneCopyAndStillSuccess) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    StartProgram();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path("财务支出.edb"))));
    SetBackupClock([] { return Days(2012, 5, 3, 14, 0, 0); });
    ClickToolButton(2);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "数据库备份成功");
    EXPECT_EQ(Backups(), QStringList{"2012年5月3日14时财务收入.edb"});
}

TEST_F(ClearingBackupTest, ACopyThatCannotBeWrittenIsReportedNotCalledASuccess) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    WriteExpenseFile({});
    StartProgram();
    // Something that is not a file already takes the income copy's name.
    ASSERT_TRUE(
        QDir(QString::fromStdString(dir())).mkdir(QStringLiteral("2012年5月3日14时财务收入.edb")));
    SetBackupClock([] { return Days(2012, 5, 3, 14, 0, 0); });
    ClickToolButton(2);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("财务收入.edb"), std::string::npos);
    EXPECT_NE(shown[0].text, "数据库备份成功");
    EXPECT_EQ(shown[0].caption, "错误提示");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path("2012年5月3日14时财务支出.edb"))));
}

// A copy is whole: its size is the header, the field list and exactly the
// records its header counts.
bool IsWholeItemFile(const QString& path, int32_t* count) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = f.readAll();
    if (bytes.size() < 404) return false;
    std::memcpy(count, bytes.constData() + 16, 4);
    return bytes.size() == 404 + qint64(*count) * 86;
}

TEST_F(ClearingBackupTest, BackupsTakenWhileAnotherProgramAppendsAreWholeFiles) {
    WriteIncomeFile({{"工资", 10, Days(2012, 1, 1), ""}});
    WriteExpenseFile({});
    StartProgram();
    QProcess appender;
    appender.start(QStringLiteral(FINANCE_APPENDER_CHILD), {QString::fromStdString(dir())});
    ASSERT_TRUE(appender.waitForReadyRead(10000)) << "the appender never began";
    for (int second = 0; second < 20; ++second) {
        SetBackupClock([second] { return Days(2012, 5, 3, 14, 0, second); });
        ClickToolButton(2);
    }
    appender.kill();
    appender.waitForFinished();
    int32_t previous = 0;
    int copies = 0;
    for (const QString& name : Backups()) {
        if (!name.endsWith(QStringLiteral("财务收入.edb"))) continue;
        int32_t count = 0;
        EXPECT_TRUE(IsWholeItemFile(QString::fromStdString(dir()) + "/" + name, &count))
            << name.toStdString();
        EXPECT_GE(count, 1);
        previous = std::max(previous, count);
        ++copies;
    }
    EXPECT_EQ(copies, 20);
    EXPECT_GT(previous, 100);
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 20u) << "one message for each backup";
    for (const ShownMessage& m : shown) EXPECT_EQ(m.text, "数据库备份成功");
}

}  // namespace
}  // namespace tavrin::finance::testing
