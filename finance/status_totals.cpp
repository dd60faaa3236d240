// Status-bar totals: the exact sums behind them, shown as money.
#include "finance/status_totals.h"

#include "app_constants.h"
#include "finance/app_state.h"
#include "finance/shown_period.h"
#include "forms/bars.h"
#include "forms/control_lookup.h"
#include "money/money_text.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

// Panes of 状态条1: the period label, the author's label and text, the remark.
constexpr int32_t kPeriodPane = 0, kAuthorLabelPane = 6, kAuthorPane = 7, kRemarkPane = 8;

forms::StatusBarControl* Bar() {
    return forms::FindControlAs<forms::StatusBarControl>(ids::MainWindow, ids::StatusBar1);
}

// The author's panes as the template sizes them, kept while a note hides them.
int32_t& AuthorWidth(int32_t pane) {
    static int32_t label = -1, author = -1;
    return pane == kAuthorLabelPane ? label : author;
}

void ShowAuthorPanes(bool shown) {
    forms::StatusBarControl* bar = Bar();
    if (!bar) return;
    for (int32_t pane : {kAuthorLabelPane, kAuthorPane}) {
        int32_t& kept = AuthorWidth(pane);
        if (kept < 0) kept = bar->paneWidth(pane);
        bar->setPaneWidth(pane, shown ? kept : 0);
    }
}

}  // namespace

void ShowStatusNote(const std::string& gbk) {
    SetStatusPane(kRemarkPane, gbk);
    ShowAuthorPanes(false);
}

void UpdateStatusTotals() {
    const std::string label =
        std::string(app::PeriodOpen) + CurrentPeriod().name() + app::PeriodClose;
    SetStatusPane(kPeriodPane, label);
    if (forms::StatusBarControl* bar = Bar())
        bar->setPaneWidth(kPeriodPane, bar->paneTextWidth(kPeriodPane));
    if (AuthorWidth(kAuthorPane) >= 0) {
        SetStatusPane(kRemarkPane, app::RemarkPaneLabel);
        ShowAuthorPanes(true);
    }
    AppState& s = State();
    s.balance = s.totalIncome - s.totalExpense;
    SetStatusPane(1, money::MoneyTotalText(s.totalIncome.value()));
    SetStatusPane(3, money::MoneyTotalText(s.totalExpense.value()));
    SetStatusPane(5, money::MoneyTotalText(s.balance.value()));
}

}  // namespace tavrin::finance
