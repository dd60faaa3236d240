// The eight item operations: add, change, delete and view, for each side.
#pragma once

namespace tavrin::finance {

void AddIncomeItem();
void ChangeIncomeItem();
void DeleteIncomeItem();
void ViewIncomeItem();
void AddExpenseItem();
void ChangeExpenseItem();
void DeleteExpenseItem();
void ViewExpenseItem();

}  // namespace tavrin::finance
