// ClearAllData and BackupDataFiles over the backup pairs. A list is emptied
// only when its file was, and a file is emptied only once its backup is made:
// a clearing can always be taken back. Each copy is taken under the record
// file's whole-database lock, so another program's append is wholly in it or
// not at all, and success is reported only when every existing file was copied.
#include "clearing_backup.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <string>

#include "app_constants.h"
#include "backup_window_text_constants.h"
#include "data_files.h"
#include "finance/backup/backup_pairs.h"
#include "finance/hooks.h"
#include "finance/item_history.h"
#include "finance/item_index.h"
#include "finance/period_views.h"
#include "finance/sides.h"
#include "finance/status_totals.h"
#include "forms/window_system.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/datetime_commands.h"
#include "runtime/kernel/system_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "ui/window_access.h"
#include "year_pages.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

// How long a backup waits for another program's write to end.
constexpr int32_t kBackupWaitMs = 3000;
// The status bar pane of the remark.
constexpr int32_t kRemarkPane = 8;

std::function<double()>& Clock() {
    static std::function<double()> clock;
    return clock;
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
    // The views read the emptied file afresh.
    IndexOfSide(side.income).markStale();
    return true;
}

// Tells the person of each copy that could not be made; true when none failed.
bool ReportBackup(const std::string& dir, const backup::BackupResult& result, const char* after) {
    for (const backup::Outcome& o : result.sides) {
        if (o.ok()) continue;
        const std::string text =
            o.failure == backup::Failure::kBusy
                ? std::string(app::BackupBusyBefore) + o.file + app::BackupBusyAfter
                : std::string(app::BackupFailedBefore) + o.file + app::BackupFailedMiddle +
                      backup::InDirectory(dir, o.file) + app::BackupFailedAfter;
        ShowMessage((text + after).c_str(), kIconStop, app::ErrorCaption);
    }
    return result.ok();
}

void MakeDailyBackup() {
    const std::string dir = ProgramDirectoryGbk();
    const double now = BackupClock();
    if (backup::HasAutomaticBackupOn(dir, now)) return;
    // Nothing waits for another program here: a busy file is taken next start.
    const backup::BackupResult result = backup::MakeBackup(dir, now, backup::Kind::kAutomatic, 0);
    if (!result.ok()) {
        const backup::Outcome& o = result.sides[0].ok() ? result.sides[1] : result.sides[0];
        SetStatusPane(kRemarkPane, std::string(backup_window_text::AutomaticBackupFailed) + o.file);
        return;
    }
    backup::RemoveOldAutomaticBackups(dir, kAutomaticBackupsKept);
}

}  // namespace

std::string ProgramDirectoryGbk() {
    return TakeText(CallKernel(ProgramDirectory));
}

double BackupClock() {
    return Clock() ? Clock()() : CurrentDateTime();
}

void ClearAllData() {
    if (ShowMessage(app::ClearQuestion, kStyleYesNo | kIconInformation, app::QuestionCaption) !=
        kButtonYes)
        return;
    // The backup 备份 would make, without its success message: the way back.
    const std::string dir = ProgramDirectoryGbk();
    const backup::BackupResult saved =
        backup::MakeBackup(dir, BackupClock(), backup::Kind::kManual, kBackupWaitMs);
    ReportBackup(dir, saved, backup_window_text::ClearBackupFailed);
    // A file whose copy could not be made is not emptied.
    const bool income = saved.sides[0].ok() && EmptySide(IncomeSide());
    const bool expense = saved.sides[1].ok() && EmptySide(ExpenseSide());
    if (income || expense) {
        // The steps' records are gone; a backup is the way back from a clearing.
        ForgetItemHistory();
        DropYearPagesWithoutItems();
        UpdateStatusTotals();
        RefreshChartAfterItemChange();
    }
}

void BackupDataFiles() {
    const std::string dir = ProgramDirectoryGbk();
    if (ReportBackup(
            dir, backup::MakeBackup(dir, BackupClock(), backup::Kind::kManual, kBackupWaitMs), ""))
        ShowMessage(app::BackupDone, kIconInformation, app::SuccessCaption);
}

void RecoverBackups() {
    backup::RecoverBackupDirectory(ProgramDirectoryGbk(), kBackupWaitMs);
}

namespace {

// Takes the day's pair once the window has painted itself, so the person sees
// the lists before the copy is taken; a window that is never painted (started
// hidden) gets it a second later.
class AfterFirstPaint : public QObject {
  public:
    explicit AfterFirstPaint(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
        QTimer::singleShot(1000, this, [this] { run(); });
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) QTimer::singleShot(0, this, [this] { run(); });
        return false;
    }

  private:
    void run() {
        if (done_) return;
        done_ = true;
        parent()->removeEventFilter(this);
        MakeDailyBackup();
        deleteLater();
    }
    bool done_ = false;
};

}  // namespace

void ScheduleDailyBackup() {
    if (QWidget* window = forms::WindowWidget(ids::MainWindow)) new AfterFirstPaint(window);
}

void SetBackupClock(std::function<double()> now) {
    Clock() = std::move(now);
}

}  // namespace tavrin::finance
