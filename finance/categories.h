// The category lists: loading the category files into the entry combo boxes
// and the two global arrays, rejecting typed text, and the two editor windows.
#pragma once

#include "runtime/process.h"

namespace tavrin::finance {

void LoadIncomeCategories();
void LoadExpenseCategories();
// Bound to event 1 of both entry combo boxes: the user typed into the text.
void RejectTypedCategory();

// Main-window buttons: the editors, modal over the main window.
void OpenIncomeCategoryEditor();
void OpenExpenseCategoryEditor();

// Editor window handlers: created (0), "确认" clicked, destroyed (2).
void IncomeEditorCreated();
void IncomeEditorConfirm();
void IncomeEditorDestroyed();
void ExpenseEditorCreated();
void ExpenseEditorConfirm();
void ExpenseEditorDestroyed();

}  // namespace tavrin::finance
