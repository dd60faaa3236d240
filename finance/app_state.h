// The application's whole-run state: category arrays, the column list and the
// running totals. All of it lives in memory and is rebuilt at every start.
#pragma once

#include "finance/running_total.h"
#include "runtime/value.h"

namespace tavrin::finance {

struct AppState {
    tavrin::ArrayBlock* incomeCategoryList = nullptr;   // texts, file order
    tavrin::ArrayBlock* expenseCategoryList = nullptr;  // texts, file order
    tavrin::ArrayBlock* columnList = nullptr;           // user-defined print columns
    RunningTotal totalIncome;
    RunningTotal totalExpense;
    float balance = 0;
    float viewedIncomeAmount = 0;
    float viewedExpenseAmount = 0;
};
AppState& State();

}  // namespace tavrin::finance
