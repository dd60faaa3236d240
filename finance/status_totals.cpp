// Status-bar totals and their text form.
#include "finance/status_totals.h"

#include <cmath>

#include "app_constants.h"
#include "finance/app_state.h"
#include "finance/ui.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::finance {

using namespace tavrin;

namespace {

std::string TextOfValue(const Value& v) {
    return TakeText(CallKernel(ToText, v));
}

}  // namespace

std::string AmountText(float v) {
    if (std::fabs(double(v)) - 10000.0 > 0.0000001)
        return TextOfValue(MakeDouble(double(v) / 10000.0)) + app::TenThousandYuan;
    return TextOfValue(MakeFloat(v)) + app::Yuan;
}

void UpdateStatusTotals() {
    AppState& s = State();
    SetStatusPane(1, AmountText(s.totalIncome));
    SetStatusPane(3, AmountText(s.totalExpense));
    s.balance = ToSingle(double(float(s.totalIncome)) - double(float(s.totalExpense)));
    SetStatusPane(5, AmountText(s.balance));
}

}  // namespace tavrin::finance
