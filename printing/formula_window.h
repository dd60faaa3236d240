// The formula window 公式设置: a new column's title and formula, checked by
// evaluating the formula with 5 for every column before it is added.
#pragma once

#include <vector>

#include "runtime/process.h"

namespace tavrin::printing {

// Handlers of the window's template.
void FormulaWindowLoad();
void FormulaColumnChosen();
void ConfirmFormula();
void CancelFormula();

// The formula window's routines (and DeleteFormulaColumn) for the program's
// handler table.
std::vector<tavrin::HandlerEntry> FormulaHandlers();

}  // namespace tavrin::printing
