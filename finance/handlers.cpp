// Handler names → routines. The routines take no arguments; the tool bar's
// button index and a list's column index come from the event's arguments.
#include "finance/handlers.h"

#include "app_tpl_templates.h"
#include "categories.h"
#include "finance/hooks.h"
#include "finance/period_views.h"
#include "find_bar.h"
#include "forms/window_system.h"
#include "items.h"
#include "main_window.h"
#include "restore_window.h"
#include "table/table_kinds.h"
#include "toolbar.h"
#include "ui/routines.h"

namespace tavrin::finance {

using tavrin::EventCall;
using tavrin::HandlerEntry;
using tavrin::ui::CallRoutine;

namespace {

void OnToolbar(EventCall& call) {
    ToolbarCommand(int32_t(call.args[0].lo));
}

void OnIncomeColumn(EventCall& call) {
    if (Hooks().sortList) Hooks().sortList(app_tpl::ids::IncomeList, int32_t(call.args[0].lo));
}
void OnExpenseColumn(EventCall& call) {
    if (Hooks().sortList) Hooks().sortList(app_tpl::ids::ExpenseList, int32_t(call.args[0].lo));
}

const HandlerEntry kHandlers[] = {
    {"MainWindowStartUp", &CallRoutine<MainWindowStartUp>},
    {"LayoutMainWindow", &CallRoutine<LayoutMainWindow>},
    {"ToolbarCommand", &OnToolbar},
    {"ShowHelpMenu", &CallRoutine<ShowHelpMenu>},
    {"MainPageChanged", &CallRoutine<MainPageChanged>},
    {"ChartPageChanged", &CallRoutine<ChartPageChanged>},
    {"YearPageChanged", &CallRoutine<YearPageChanged>},
    {"MonthPageChanged", &CallRoutine<MonthPageChanged>},
    {"IncomeCategoryChosen", &CallRoutine<CategoryChosen>},
    {"ExpenseCategoryChosen", &CallRoutine<CategoryChosen>},
    {"RejectTypedCategory", &CallRoutine<RejectTypedCategory>},
    {"OpenIncomeCategoryEditor", &CallRoutine<OpenIncomeCategoryEditor>},
    {"OpenExpenseCategoryEditor", &CallRoutine<OpenExpenseCategoryEditor>},
    {"AddIncomeItem", &CallRoutine<AddIncomeItem>},
    {"ChangeIncomeItem", &CallRoutine<ChangeIncomeItem>},
    {"DeleteIncomeItem", &CallRoutine<DeleteIncomeItem>},
    {"ViewIncomeItem", &CallRoutine<ViewIncomeItem>},
    {"AddExpenseItem", &CallRoutine<AddExpenseItem>},
    {"ChangeExpenseItem", &CallRoutine<ChangeExpenseItem>},
    {"DeleteExpenseItem", &CallRoutine<DeleteExpenseItem>},
    {"ViewExpenseItem", &CallRoutine<ViewExpenseItem>},
    {"IncomeRowReached", &CallRoutine<ViewReachedIncomeRow>},
    {"ExpenseRowReached", &CallRoutine<ViewReachedExpenseRow>},
    {"IncomeColumnClicked", &OnIncomeColumn},
    {"ExpenseColumnClicked", &OnExpenseColumn},
    {"ShowIncomePopup", &CallRoutine<ShowIncomePopup>},
    {"ShowExpensePopup", &CallRoutine<ShowExpensePopup>},
    {"ExitAtOnce", &CallRoutine<ExitAtOnce>},
    {"ShowAboutBox", &CallRoutine<ShowAboutBox>},
    {"CloseAboutBox", &CallRoutine<CloseAboutBox>},
    {"OpenBlogPage", &CallRoutine<OpenBlogPage>},
    {"OpenDownloadPage", &CallRoutine<OpenDownloadPage>},
    {"IncomeEditorCreated", &CallRoutine<IncomeEditorCreated>},
    {"IncomeEditorConfirm", &CallRoutine<IncomeEditorConfirm>},
    {"IncomeEditorDestroyed", &CallRoutine<IncomeEditorDestroyed>},
    {"ExpenseEditorCreated", &CallRoutine<ExpenseEditorCreated>},
    {"ExpenseEditorConfirm", &CallRoutine<ExpenseEditorConfirm>},
    {"ExpenseEditorDestroyed", &CallRoutine<ExpenseEditorDestroyed>},
    {"OpenRestoreWindow", &CallRoutine<OpenRestoreWindow>},
    {"RestoreWindowCreated", &CallRoutine<RestoreWindowCreated>},
    {"RestoreChosenBackup", &CallRoutine<RestoreChosenBackup>},
    {"CloseRestoreWindow", &CallRoutine<CloseRestoreWindow>},
    {"OpenFindBar", &CallRoutine<OpenFindBar>},
};

}  // namespace

std::span<const HandlerEntry> Handlers() {
    return kHandlers;
}

void InstallProgramWindowSystem() {
    tavrin::forms::InstallWindowSystem(app_tpl::kHandlerNames, app_tpl::kHandlerNameCount);
    tavrin::table::RegisterTableKinds();
}

}  // namespace tavrin::finance
