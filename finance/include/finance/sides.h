// The two sides of the record keeping, income and expense, as twins: their
// file, fields, controls, running total and messages.
#pragma once

#include <cstdint>

#include "finance/app_state.h"

namespace tavrin::finance {

struct Side {
    bool income;
    int32_t page;  // page of 高级选择夹1
    const char* file;
    const char* categoryField;
    const char* amountField;
    const char* timeField;
    const char* remarkField;
    uint32_t list;
    uint32_t combo;
    uint32_t amountEdit;
    uint32_t datePicker;
    uint32_t remarkEdit;
    const char* chooseCategoryMessage;
    const char* fillAmountMessage;
    RunningTotal& total() const { return income ? State().totalIncome : State().totalExpense; }
    ViewedEntry& viewed() const { return income ? State().viewedIncome : State().viewedExpense; }
};

const Side& IncomeSide();
const Side& ExpenseSide();

}  // namespace tavrin::finance
