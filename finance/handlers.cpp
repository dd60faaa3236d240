// Handler names → routines. The routines take no arguments; the tool bar's
// button index and a list's column index come from the event's arguments.
#include "finance/handlers.h"

#include <iterator>
#include <vector>

#include "app_tpl_templates.h"
#include "finance/categories.h"
#include "finance/hooks.h"
#include "finance/items.h"
#include "finance/main_window.h"
#include "finance/toolbar.h"
#include "forms/events.h"
#include "forms/window_system.h"
#include "table/table_kinds.h"

namespace finance {

using tavrin::EventCall;
using tavrin::HandlerEntry;

namespace {

template <void (*Routine)()>
void Call(EventCall&) {
    Routine();
}

void OnToolbar(EventCall& call) {
    ToolbarCommand(int32_t(call.args[0].lo));
}

void OnIncomeColumn(EventCall& call) {
    if (Hooks().sortList) Hooks().sortList(app_tpl::ids::IncomeList, int32_t(call.args[0].lo));
}
void OnExpenseColumn(EventCall& call) {
    if (Hooks().sortList) Hooks().sortList(app_tpl::ids::ExpenseList, int32_t(call.args[0].lo));
}
void OnMainPage(EventCall&) {
    RunHook(Hooks().mainPageChanged);
}
void OnChartPage(EventCall&) {
    RunHook(Hooks().chartPageChanged);
}
void OnYearPage(EventCall&) {
    RunHook(Hooks().yearPageChanged);
}
void OnMonthPage(EventCall&) {
    RunHook(Hooks().monthPageChanged);
}

const HandlerEntry kHandlers[] = {
    {"MainWindowStartUp", &Call<MainWindowStartUp>},
    {"LayoutMainWindow", &Call<LayoutMainWindow>},
    {"ToolbarCommand", &OnToolbar},
    {"ShowHelpMenu", &Call<ShowHelpMenu>},
    {"MainPageChanged", &OnMainPage},
    {"ChartPageChanged", &OnChartPage},
    {"YearPageChanged", &OnYearPage},
    {"MonthPageChanged", &OnMonthPage},
    {"IncomeCategoryChosen", &Call<CategoryChosen>},
    {"ExpenseCategoryChosen", &Call<CategoryChosen>},
    {"RejectTypedCategory", &Call<RejectTypedCategory>},
    {"OpenIncomeCategoryEditor", &Call<OpenIncomeCategoryEditor>},
    {"OpenExpenseCategoryEditor", &Call<OpenExpenseCategoryEditor>},
    {"AddIncomeItem", &Call<AddIncomeItem>},
    {"ChangeIncomeItem", &Call<ChangeIncomeItem>},
    {"DeleteIncomeItem", &Call<DeleteIncomeItem>},
    {"ViewIncomeItem", &Call<ViewIncomeItem>},
    {"AddExpenseItem", &Call<AddExpenseItem>},
    {"ChangeExpenseItem", &Call<ChangeExpenseItem>},
    {"DeleteExpenseItem", &Call<DeleteExpenseItem>},
    {"ViewExpenseItem", &Call<ViewExpenseItem>},
    {"IncomeColumnClicked", &OnIncomeColumn},
    {"ExpenseColumnClicked", &OnExpenseColumn},
    {"ShowIncomePopup", &Call<ShowIncomePopup>},
    {"ShowExpensePopup", &Call<ShowExpensePopup>},
    {"ExitAtOnce", &Call<ExitAtOnce>},
    {"ShowAboutBox", &Call<ShowAboutBox>},
    {"CloseAboutBox", &Call<CloseAboutBox>},
    {"OpenBlogPage", &Call<OpenBlogPage>},
    {"OpenDownloadPage", &Call<OpenDownloadPage>},
    {"IncomeEditorCreated", &Call<IncomeEditorCreated>},
    {"IncomeEditorConfirm", &Call<IncomeEditorConfirm>},
    {"IncomeEditorDestroyed", &Call<IncomeEditorDestroyed>},
    {"ExpenseEditorCreated", &Call<ExpenseEditorCreated>},
    {"ExpenseEditorConfirm", &Call<ExpenseEditorConfirm>},
    {"ExpenseEditorDestroyed", &Call<ExpenseEditorDestroyed>},
};

std::vector<HandlerEntry>& Table() {
    // Room enough that the table never moves: the runtime keeps its address.
    static std::vector<HandlerEntry> table = [] {
        std::vector<HandlerEntry> t;
        t.reserve(256);
        t.assign(std::begin(kHandlers), std::end(kHandlers));
        return t;
    }();
    return table;
}

}  // namespace

const HandlerEntry* HandlerTable() {
    return Table().data();
}
size_t HandlerCount() {
    return Table().size();
}

void AddHandlers(const HandlerEntry* entries, size_t count) {
    Table().insert(Table().end(), entries, entries + count);
    tavrin::forms::BindHandlers(HandlerTable(), HandlerCount());
}

void InstallProgramWindowSystem() {
    tavrin::forms::InstallWindowSystem(app_tpl::kHandlerNames, app_tpl::kHandlerNameCount);
    tavrin::table::RegisterTableKinds();
}

}  // namespace finance
