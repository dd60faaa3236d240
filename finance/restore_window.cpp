// The restore window over the backup pairs. A pair goes back only whole: the
// backup code refuses a damaged one before anything changes, and saves the
// item files as a pair of their own first, so a restore can be taken back too.
#include "restore_window.h"

#include <QWidget>
#include <string>
#include <vector>

#include "app_constants.h"
#include "backup_window_text_constants.h"
#include "clearing_backup.h"
#include "finance/backup/backup_pairs.h"
#include "finance/hooks.h"
#include "finance/item_history.h"
#include "finance/period_views.h"
#include "finance/status_totals.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "listing.h"
#include "money/money_text.h"
#include "ui/window_access.h"
#include "year_pages.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

// How long a restore waits for another program to let go of an item file.
constexpr int32_t kRestoreWaitMs = 3000;

// The keys of the listed pairs, by row.
std::vector<std::string>& ListedKeys() {
    static std::vector<std::string> keys;
    return keys;
}

forms::ReportListControl* BackupList() {
    return forms::FindControlAs<forms::ReportListControl>(ids::RestoreWindow, ids::BackupList);
}

std::string CountText(const backup::SideSummary& s) {
    if (!s.present) return backup_window_text::Absent;
    if (!s.whole) return backup_window_text::Damaged;
    return std::to_string(s.records) + backup_window_text::ItemsSuffix;
}

std::string TotalText(const backup::SideSummary& s) {
    return s.present && s.whole ? money::MoneyTotalText(s.total) : std::string();
}

void FillList() {
    forms::ReportListControl* list = BackupList();
    if (list == nullptr) return;
    list->deleteAll();
    ListedKeys().clear();
    for (const backup::PairSummary& pair : backup::ListBackups(ProgramDirectoryGbk(), 0)) {
        const int32_t row =
            list->insertItem(-1, pair.name.stamp, -1, 0, 0, int32_t(ListedKeys().size()));
        ListedKeys().push_back(pair.name.key);
        list->setItemText(row, 1,
                          pair.name.kind == backup::Kind::kAutomatic ? backup_window_text::Automatic
                                                                     : backup_window_text::ByHand);
        list->setItemText(row, 2, CountText(pair.sides[0]));
        list->setItemText(row, 3, TotalText(pair.sides[0]));
        list->setItemText(row, 4, CountText(pair.sides[1]));
        list->setItemText(row, 5, TotalText(pair.sides[1]));
        list->setItemText(row, 6, pair.damaged() ? backup_window_text::Damaged : "");
    }
    list->model()->flush();
}

std::string RefusalText(const backup::Outcome& o) {
    namespace t = backup_window_text;
    switch (o.failure) {
        case backup::Failure::kDamaged:
            return std::string(t::RestoreDamagedBefore) + o.file + t::RestoreDamagedAfter;
        case backup::Failure::kBusy:
            return std::string(t::RestoreBusyBefore) + o.file + t::RestoreBusyAfter;
        case backup::Failure::kMissing:
            return t::RestoreMissing;
        case backup::Failure::kCannotWrite:
        case backup::Failure::kNone:
            break;
    }
    return std::string(t::RestoreFailedBefore) + o.file + t::RestoreFailedAfter;
}

// The lists, totals, year pages and chart as a start shows them, over the
// restored files; the undo steps named records that are gone.
void RelistAfterRestore() {
    ForgetItemHistory();
    ListAllExpense();
    ListAllIncome();
    UpdateStatusTotals();
    AutoSizeColumns(ids::IncomeList);
    AutoSizeColumns(ids::ExpenseList);
    AddYearPagesForListedYears();
    RefreshStructureView();
}

// The window has no owner the window manager knows of: after a message box
// it may end up behind the main window it keeps disabled.
void BringToFront() {
    if (QWidget* window = forms::WindowWidget(ids::RestoreWindow)) {
        window->raise();
        window->activateWindow();
    }
}

}  // namespace

void OpenRestoreWindow() {
    forms::LoadWindow(ids::RestoreWindow, ids::MainWindow, true);
}

void RestoreWindowCreated() {
    FillList();
    if (ListedKeys().empty())
        ShowMessage(backup_window_text::NoBackups, kIconInformation, app::OperationCaption);
}

void RestoreChosenBackup() {
    forms::ReportListControl* list = BackupList();
    const int32_t row = list ? list->currentRow() : -1;
    const int32_t index = row >= 0 ? list->itemData(row) : -1;
    if (index < 0 || size_t(index) >= ListedKeys().size()) {
        ShowMessage(backup_window_text::ChooseBackup, kStyleOk, app::OperationCaption);
        return;
    }
    const std::string key = ListedKeys()[size_t(index)];
    const std::string question = std::string(backup_window_text::RestoreQuestionBefore) +
                                 list->itemText(row, 0) + backup_window_text::RestoreQuestionAfter;
    if (ShowMessage(question.c_str(), kStyleYesNo | kIconQuestion, app::QuestionCaption) !=
        kButtonYes)
        return;
    const backup::RestoreResult result =
        backup::RestoreBackup(ProgramDirectoryGbk(), key, BackupClock(), kRestoreWaitMs);
    if (!result.outcome.ok()) {
        ShowMessage(RefusalText(result.outcome).c_str(), kIconStop, app::ErrorCaption);
        FillList();
        BringToFront();
        return;
    }
    RelistAfterRestore();
    FillList();
    const std::string done = std::string(backup_window_text::RestoreDone) + result.safetyKey +
                             backup_window_text::RestoreDoneAfter;
    ShowMessage(done.c_str(), kIconInformation, app::SuccessCaption);
    BringToFront();
}

void CloseRestoreWindow() {
    forms::CloseWindow(ids::RestoreWindow, false);
}

}  // namespace tavrin::finance
