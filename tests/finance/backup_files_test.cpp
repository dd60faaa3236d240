// Backup pairs on real files: a backup or a restore ended by SIGKILL at each
// of its steps (in a child process) leaves whole files or none, never a mix;
// a damaged backup is refused, also by the data-file tool.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <set>

#include "durable_files.h"
#include "finance/backup/backup_pairs.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"

namespace tavrin::backup {
namespace {

const char* const kFields[2][4] = {{"收入类型", "收入金额", "收入时间", "收入备注信息"},
                                   {"支出类型", "支出金额", "支出时间", "备注信息"}};
const char* const kFiles[2] = {"财务收入.edb", "财务支出.edb"};
constexpr double kMay3 = 41032.0;  // 2012-05-03

// Appends `count` items to the side's item file of the directory, creating it first.
void AddItems(const QString& dir, int side, int count, int seed, bool create) {
    const std::string file = Utf8ToGbk((dir + "/" + kFiles[side]).toStdString());
    std::string names[4];
    for (int i = 0; i < 4; ++i) names[i] = Utf8ToGbk(kFields[side][i]);
    if (create) {
        ArrayBlock* array = NewFieldInfArray(4);
        FieldInf* f = FieldInfElements(array);
        const int32_t types[4] = {10, 5, 8, 10}, sizes[4] = {20, 20, 20, 50};
        for (int i = 0; i < 4; ++i) f[i] = {names[i].c_str(), types[i], sizes[i]};
        ASSERT_TRUE(CallKernel(CreateDatabase, MakeTextRef(file.c_str()), MakeFieldInfArray(array))
                        .asBool());
        Free(array);
    }
    ASSERT_TRUE(CallKernel(OpenDatabase, MakeTextRef(file.c_str())).asBool());
    const std::string category = Utf8ToGbk(side == 0 ? "工资" : "餐饮");
    const std::string remark = Utf8ToGbk("午餐和晚餐");
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(CallKernel(AppendBlankRecord).asBool());
        CallKernel(WriteField, MakeTextRef(names[0].c_str()), MakeTextRef(category.c_str()));
        CallKernel(WriteField, MakeTextRef(names[1].c_str()), MakeFloat(float(seed + i % 97) / 4));
        CallKernel(WriteField, MakeTextRef(names[2].c_str()), MakeDateTime(kMay3 + i % 400));
        CallKernel(WriteField, MakeTextRef(names[3].c_str()), MakeTextRef(remark.c_str()));
    }
    CallKernel(CloseDatabase);
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The step at which the child ends itself (1-based), counted by the hook.
std::atomic<int> gKillAt{0};
std::atomic<int> gSteps{0};
void KillAtStep(const char*) {
    if (++gSteps == gKillAt) raise(SIGKILL);
}

// Runs `work` in a child that is killed at step `step`; true when it was, false
// when it ran to its end first.
bool RunKilledAt(int step, const std::function<void()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        gKillAt = step;
        SetStepHook(&KillAtStep);
        work();
        _exit(0);
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status)) {
        EXPECT_EQ(WTERMSIG(status), SIGKILL);
        return true;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return false;
}

class BackupFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        dir_ = temp_.path();
        gbkDir_ = Utf8ToGbk(dir_.toStdString());
        // More than one copy block per file: a kill can fall between blocks.
        AddItems(dir_, 0, 30000, 1, true);
        AddItems(dir_, 1, 500, 3, true);
    }
    QString item(int side) const { return dir_ + "/" + kFiles[side]; }
    // Files of the directory other than the item files.
    QStringList Others() const {
        QStringList names = QDir(dir_).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(kFiles[0]);
        names.removeAll(kFiles[1]);
        return names;
    }
    void RemoveOthers() {
        for (const QString& n : Others()) ASSERT_TRUE(QFile::remove(dir_ + "/" + n));
    }

    QTemporaryDir temp_;
    QString dir_;
    std::string gbkDir_;
};

TEST_F(BackupFilesTest, ABackupKilledAtEveryStepIsWholeOrAbsentAndTheItemFilesUntouched) {
    const QByteArray income = Bytes(item(0)), expense = Bytes(item(1));
    std::set<bool> seen;  // whether a pair was there after the kill
    int step = 1;
    for (; RunKilledAt(step, [&] { MakeBackup(gbkDir_, kMay3 + 0.5, Kind::kManual, 0); }); ++step) {
        EXPECT_EQ(Bytes(item(0)), income) << "step " << step;
        EXPECT_EQ(Bytes(item(1)), expense) << "step " << step;
        RecoverBackupDirectory(gbkDir_, 0);
        const QStringList left = Others();
        if (left.isEmpty()) {
            seen.insert(false);
        } else {
            seen.insert(true);
            EXPECT_EQ(left,
                      (QStringList{"2012年5月3日12时财务支出.edb", "2012年5月3日12时财务收入.edb"}))
                << "step " << step;
            EXPECT_EQ(Bytes(dir_ + "/2012年5月3日12时财务收入.edb"), income) << "step " << step;
            EXPECT_EQ(Bytes(dir_ + "/2012年5月3日12时财务支出.edb"), expense) << "step " << step;
        }
        RemoveOthers();
    }
    // Steps: blocks, syncs and checks of two copies, the journal, two renames.
    EXPECT_GT(step, 12);
    EXPECT_EQ(seen, (std::set<bool>{false, true}));
    EXPECT_EQ(Others().size(), 2);  // the run that was not killed made its pair
}

TEST_F(BackupFilesTest, ARestoreKilledAtEveryStepLeavesTheOldOrTheRestoredFilesNeverAMix) {
    const BackupResult made = MakeBackup(gbkDir_, kMay3 + 0.5, Kind::kAutomatic, 0);
    ASSERT_TRUE(made.ok());
    const QByteArray backupIncome = Bytes(item(0)), backupExpense = Bytes(item(1));
    AddItems(dir_, 0, 40, 7, false);
    AddItems(dir_, 1, 3, 9, false);
    const QByteArray laterIncome = Bytes(item(0)), laterExpense = Bytes(item(1));
    const QString safetyIncome = dir_ + "/2012年5月4日12时财务收入.edb";
    std::set<bool> seen;  // whether the files were restored
    int step = 1;
    for (; RunKilledAt(step, [&] { RestoreBackup(gbkDir_, made.key, kMay3 + 1.5, 0); }); ++step) {
        RecoverBackupDirectory(gbkDir_, 0);
        const bool restored = Bytes(item(0)) == backupIncome;
        seen.insert(restored);
        if (restored) {
            EXPECT_EQ(Bytes(item(1)), backupExpense) << "step " << step;
            EXPECT_EQ(Bytes(safetyIncome), laterIncome) << "step " << step;
        } else {
            EXPECT_EQ(Bytes(item(0)), laterIncome) << "step " << step;
            EXPECT_EQ(Bytes(item(1)), laterExpense) << "step " << step;
            EXPECT_FALSE(QFile::exists(safetyIncome)) << "step " << step;
        }
        // No half-written file is left behind either way.
        EXPECT_EQ(Others().size(), restored ? 4 : 2) << "step " << step;
        Put(item(0), laterIncome);
        Put(item(1), laterExpense);
        QFile::remove(safetyIncome);
        QFile::remove(dir_ + "/2012年5月4日12时财务支出.edb");
    }
    EXPECT_GT(step, 12);
    EXPECT_EQ(seen, (std::set<bool>{false, true}));
    EXPECT_EQ(Bytes(item(0)), backupIncome);
    EXPECT_EQ(Bytes(item(1)), backupExpense);
    EXPECT_EQ(Bytes(safetyIncome), laterIncome);
}

TEST_F(BackupFilesTest, ADamagedBackupIsListedAsSuchAndRefusedByTheToolAndChangesNothing) {
    const BackupResult made = MakeBackup(gbkDir_, kMay3 + 0.5, Kind::kManual, 0);
    ASSERT_TRUE(made.ok());
    AddItems(dir_, 1, 2, 5, false);
    const QByteArray income = Bytes(item(0)), expense = Bytes(item(1));
    // The last records of the expense copy are lost, as on a disk that failed.
    // (The income copy sums (1 + i % 97) / 4 over 30000 items: 367263.75.)
    const QString copy = dir_ + "/2012年5月3日12时财务支出.edb";
    QByteArray cut = Bytes(copy);
    cut.chop(130);
    Put(copy, cut);

    QProcess tool;
    tool.start(QStringLiteral(TAVRIN_DB_TOOL), {"backups", dir_});
    ASSERT_TRUE(tool.waitForFinished(10000));
    const std::string listed = tool.readAllStandardOutput().toStdString();
    EXPECT_EQ(listed,
              "2012年5月3日12时\tby hand\tincome: 30000 items, 36.726375万元\texpense: "
              "damaged\t(damaged: cannot be restored)\n");

    tool.start(QStringLiteral(TAVRIN_DB_TOOL), {"restore", dir_, "2012年5月3日12时"});
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(tool.readAllStandardError())
                    .startsWith("the backup \"2012年5月3日12时财务支出.edb\" is damaged"));
    EXPECT_EQ(Bytes(item(0)), income);
    EXPECT_EQ(Bytes(item(1)), expense);
    EXPECT_EQ(Others().size(), 2);  // no safety pair was made for a refused restore

    // A whole pair goes back through the tool too, the item files saved first.
    Put(copy, Bytes(item(1)));
    tool.start(QStringLiteral(TAVRIN_DB_TOOL), {"restore", dir_, "2012年5月3日12时"});
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(Others().size(), 4);
}

}  // namespace
}  // namespace tavrin::backup
