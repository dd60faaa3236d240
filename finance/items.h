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
// A row made current by the keyboard or any other means than a left click is
// viewed as a click views it, so that change and delete act on the item whose
// values the entry fields show. A row already viewed is left alone: the fields
// keep what the person typed since.
void ViewReachedIncomeRow();
void ViewReachedExpenseRow();

}  // namespace tavrin::finance
