// The application's whole-run state: category arrays, the column list and the
// running totals. All of it lives in memory and is rebuilt at every start.
#pragma once

#include <cstdint>
#include <string>

#include "finance/running_total.h"
#include "runtime/value.h"

namespace tavrin::finance {

// What the last view put into a side's entry fields, as the fields read back
// right after it, and the serial of the viewed row's record. A change writes
// only the fields that differ from it, so a record viewed and changed keeps
// every byte the person did not edit (the amount box shows the amount to the
// cent, which is not always every bit the record holds).
struct ViewedEntry {
    int32_t serial = -1;                   // -1 when nothing is viewed; serials are positive
    std::string category, amount, remark;  // GBK
    double time = 0;
};

struct AppState {
    tavrin::ArrayBlock* incomeCategoryList = nullptr;   // texts, file order
    tavrin::ArrayBlock* expenseCategoryList = nullptr;  // texts, file order
    RunningTotal totalIncome;
    RunningTotal totalExpense;
    RunningTotal balance;
    ViewedEntry viewedIncome;
    ViewedEntry viewedExpense;
};
AppState& State();

}  // namespace tavrin::finance
