// Start-up, layout and the main window's small handlers.
#include "main_window.h"

#include <vector>

#include "categories.h"
#include "clearing_backup.h"
#include "field_texts.h"
#include "finance/hooks.h"
#include "finance/item_history.h"
#include "finance/period_views.h"
#include "finance/status_totals.h"
#include "find_bar.h"
#include "forms/commands/control_commands.h"
#include "forms/commands/library_commands.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "listing.h"
#include "runtime/commands.h"
#include "runtime/process.h"
#include "single_instance.h"
#include "ui/window_access.h"
#include "year_pages.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace fc = tavrin::form_commands;

namespace {

// Below this client size the layout has no room for its parts: the tool bar
// stays whole and each list keeps a header and about five rows.
constexpr int32_t kMinimumClientWidth = 660;
constexpr int32_t kMinimumClientHeight = 420;

void ShowPopup(uint32_t menu) {
    CallKernel(fc::PopupMenu, MakeControlRef(ids::MainWindow, 0, forms::TypeId::kWindow),
               MakeInt(int32_t(menu)));
}

}  // namespace

MainWindowHooks& Hooks() {
    static MainWindowHooks hooks;
    return hooks;
}

std::vector<const char*> UnsetHooks() {
    const MainWindowHooks& h = Hooks();
    std::vector<const char*> unset;
    auto check = [&](bool set, const char* name) {
        if (!set) unset.push_back(name);
    };
    check(h.showCategoryTotals, "showCategoryTotals");
    check(h.showMonthTotals, "showMonthTotals");
    check(h.applyChartStartUpSettings, "applyChartStartUpSettings");
    check(h.sortList, "sortList");
    check(h.openPrintSettings, "openPrintSettings");
    check(h.printChart, "printChart");
    check(h.layoutChartArea, "layoutChartArea");
    return unset;
}

void MainWindowStartUp() {
    // Before any data file is made: a later start that finds the files finds us too.
    AnswerLaterStarts();
    CallLibrary(kVisualStyleLibrary, fc::SetVisualStyle, MakeInt(1));
    SetMinimumClientSize(ids::MainWindow, kMinimumClientWidth, kMinimumClientHeight);
    RecoverBackups();
    LoadExpenseCategories();
    LoadIncomeCategories();
    ListAllExpense();
    ListAllIncome();
    LimitRemarkEdits();
    InstallUndoKeys();
    InstallFindBar();
    UpdateStatusTotals();
    AutoSizeColumns(ids::IncomeList);
    AutoSizeColumns(ids::ExpenseList);
    NoteTemplateYears();
    AddYearPagesForListedYears();
    RefreshStructureView();
    RunHook(Hooks().applyChartStartUpSettings);
    ScheduleDailyBackup();
}

void LayoutMainWindow() {
    const double w = ClientWidth(ids::MainWindow);
    const double h = ClientHeight(ids::MainWindow);
    const uint32_t win = ids::MainWindow;
    const double statusHeight = ControlHeight(win, ids::StatusBar1);
    const double toolHeight = ControlHeight(win, ids::Toolbar1);
    SetControlWidth(win, ids::StatusBar1, int32_t(w));
    SetControlWidth(win, ids::Picture1, int32_t(w - ControlLeft(win, ids::Picture1) - 1));
    SetControlWidth(win, ids::MainPages, int32_t(w));
    SetControlHeight(win, ids::MainPages, int32_t(h - toolHeight - statusHeight + 30));
    // Each list ends at the status bar's top edge: its top lies below the page
    // control's tabs, so a fixed allowance for what is above it would leave the
    // last rows and the lower scroll arrow under the status bar.
    for (uint32_t list : {ids::IncomeList, ids::ExpenseList}) {
        SetControlWidth(win, list, int32_t(w));
        SetControlHeight(win, list, int32_t(h - statusHeight - ControlTopInWindow(win, list)));
    }
    RunHook(Hooks().layoutChartArea);
}

// Choosing an entry only chooses the category of the item being entered: the
// lists and the trend chart keep the period the pages name.
void CategoryChosen() {}

void ShowIncomePopup() {
    ShowPopup(ids::PopupIncomeMenu);
}
void ShowExpensePopup() {
    ShowPopup(ids::PopupExpenseMenu);
}
void ShowHelpMenu() {
    ShowPopup(ids::HelpPopupMenu);
}

void ShowAboutBox() {
    forms::LoadWindow(ids::AboutWindow, ids::MainWindow, true);
}
void CloseAboutBox() {
    forms::CloseWindow(ids::AboutWindow, false);
}

// The menu "退出": the program ends at once, no database is closed first.
void ExitAtOnce() {
    ExitProgram(0);
}

}  // namespace tavrin::finance
