// ClearAllData and BackupDataFiles. A list is emptied only when its file was;
// a backup copy is taken under the record file's whole-database lock, so that
// another process appending to it cannot leave a half-written record in the
// copy, and success is reported only when every existing file was copied.
#include "finance/clearing_backup.h"

#include <QThread>
#include <string>

#include "app_constants.h"
#include "finance/data_files.h"
#include "finance/hooks.h"
#include "finance/item_history.h"
#include "finance/main_window.h"
#include "finance/sides.h"
#include "finance/status_totals.h"
#include "finance/ui.h"
#include "recordstore/current_database.h"
#include "recordstore/database_manager.h"
#include "recordstore/error_codes.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/datetime_commands.h"
#include "runtime/kernel/system_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::finance {

using namespace tavrin;

namespace {

// How long a backup waits for another program's write to end, in steps.
constexpr int32_t kBackupWaitMs = 3000;
constexpr int32_t kBackupRetryMs = 20;

std::function<double()>& Clock() {
    static std::function<double()> clock;
    return clock;
}

std::string NowText() {
    const Value now = Clock() ? MakeDateTime(Clock()()) : CallKernel(Now);
    return TakeText(CallKernel(ToText, now));
}

std::string ProgramDirectoryText() {
    return TakeText(CallKernel(ProgramDirectory));
}

bool EmptySide(const Side& side) {
    OpenedDataFile file(side.file);
    if (!file) {
        ShowMessage(
            (std::string(app::ClearFailedBefore) + side.file + app::ClearFailedAfter).c_str(),
            kIconStop, app::ErrorCaption);
        return false;
    }
    const bool emptied = CallKernel(EmptyDatabase).asBool();
    file.close();
    if (!emptied) {
        ShowMessage(
            (std::string(app::ClearFailedBefore) + side.file + app::ClearFailedAfter).c_str(),
            kIconStop, app::ErrorCaption);
        return false;
    }
    LvDeleteAll(side.list);
    side.total() = 0;
    return true;
}

// Copies one item file; false (after telling the user) when the copy failed.
// A source that does not exist is not copied and is no failure.
bool BackupOne(const std::string& dir, const char* sourceSuffix, const char* fileName) {
    const std::string source = dir + sourceSuffix;
    if (!DataFileExists(source.c_str())) return true;
    const std::string target = dir + app::Slash + NowText() + fileName;
    // The copy is taken with the file open and its whole-database lock held, so
    // that another program's append is either wholly in it or not at all. While
    // another program is in the middle of a write, the open waits a little.
    bool opened = false;
    rs::Code openCode = rs::Code::kOk;
    for (int32_t waited = 0;; waited += kBackupRetryMs) {
        opened = CallKernel(OpenDatabase, MakeTextRef(source.c_str())).asBool();
        openCode = opened ? rs::Code::kOk : LastDatabaseCode();
        if (opened || !rs::IsBusy(openCode) || waited >= kBackupWaitMs) break;
        QThread::msleep(kBackupRetryMs);
    }
    bool copied = false;
    const auto copy = [&] {
        copied =
            CallKernel(CopyFile, MakeTextRef(source.c_str()), MakeTextRef(target.c_str())).asBool();
    };
    rs::Code lock = rs::Code::kUnknown;
    if (opened)
        lock = rs::WithCurrentDatabaseLocked(kBackupWaitMs, copy);
    else if (!rs::IsBusy(openCode))
        copy();  // a file that cannot be opened as a database at all (damaged) is copied as it is
    if (opened) CloseCurrentDatabase();
    if (!copied) {
        const bool busy = (!opened && rs::IsBusy(openCode)) || (opened && lock != rs::Code::kOk);
        const std::string text =
            busy ? std::string(app::BackupBusyBefore) + fileName + app::BackupBusyAfter
                 : std::string(app::BackupFailedBefore) + fileName + app::BackupFailedMiddle +
                       target + app::BackupFailedAfter;
        ShowMessage(text.c_str(), kIconStop, app::ErrorCaption);
    }
    return copied;
}

}  // namespace

void ClearAllData() {
    if (ShowMessage(app::ClearQuestion, kStyleYesNo | kIconInformation, app::QuestionCaption) !=
        kButtonYes)
        return;
    const bool income = EmptySide(IncomeSide());
    const bool expense = EmptySide(ExpenseSide());
    if (income || expense) {
        // The steps' records are gone; a backup is the way back from a clearing.
        ForgetItemHistory();
        DropYearPagesWithoutItems();
        UpdateStatusTotals();
        RunHook(Hooks().refreshChartAfterItemChange);
    }
}

void BackupDataFiles() {
    const std::string dir = ProgramDirectoryText();
    bool ok = BackupOne(dir, app::IncomeBackupSource, app::IncomeFile);
    ok = BackupOne(dir, app::ExpenseBackupSource, app::ExpenseFile) && ok;
    if (ok) ShowMessage(app::BackupDone, kIconInformation, app::SuccessCaption);
}

void SetBackupClock(std::function<double()> now) {
    Clock() = std::move(now);
}

}  // namespace tavrin::finance
