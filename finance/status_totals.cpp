// Status-bar totals: the exact sums behind them, shown as money.
#include "finance/status_totals.h"

#include "finance/app_state.h"
#include "finance/money_text.h"
#include "finance/ui.h"

namespace tavrin::finance {

void UpdateStatusTotals() {
    AppState& s = State();
    s.balance = s.totalIncome - s.totalExpense;
    SetStatusPane(1, MoneyTotalText(s.totalIncome.value()));
    SetStatusPane(3, MoneyTotalText(s.totalExpense.value()));
    SetStatusPane(5, MoneyTotalText(s.balance.value()));
}

}  // namespace tavrin::finance
