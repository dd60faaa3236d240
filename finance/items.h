// The eight item operations: add, change, delete and view, for each side.
#pragma once

namespace finance {

void AddIncomeItem();
void ChangeIncomeItem();
void DeleteIncomeItem();
void ViewIncomeItem();
void AddExpenseItem();
void ChangeExpenseItem();
void DeleteExpenseItem();
void ViewExpenseItem();

}  // namespace finance
