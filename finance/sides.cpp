// The income and expense sides.
#include "finance/sides.h"

#include "app_constants.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

const Side& IncomeSide() {
    static const Side side{true,
                           0,
                           app::IncomeFile,
                           app::IncomeCategoryField,
                           app::IncomeAmountField,
                           app::IncomeTimeField,
                           app::IncomeRemarkField,
                           ids::IncomeList,
                           ids::IncomeCategoryCombo,
                           ids::IncomeAmountEdit,
                           ids::IncomeDatePicker,
                           ids::IncomeRemarkEdit,
                           app::ChooseIncomeCategory,
                           app::FillIncomeAmount};
    return side;
}

const Side& ExpenseSide() {
    static const Side side{false,
                           1,
                           app::ExpenseFile,
                           app::ExpenseCategoryField,
                           app::ExpenseAmountField,
                           app::ExpenseTimeField,
                           app::ExpenseRemarkField,
                           ids::ExpenseList,
                           ids::ExpenseCategoryCombo,
                           ids::ExpenseAmountEdit,
                           ids::ExpenseDatePicker,
                           ids::ExpenseRemarkEdit,
                           app::ChooseExpenseCategory,
                           app::FillExpenseAmount};
    return side;
}

}  // namespace tavrin::finance
