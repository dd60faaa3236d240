// The formula window 公式设置: a new column's title and formula, checked by
// evaluating the formula with 5 for every column before it is added.
#pragma once

namespace analysis {

// Handlers of the window's template.
void FormulaWindowLoad();
void FormulaColumnChosen();
void ConfirmFormula();
void CancelFormula();

// Adds the formula window's routines (and DeleteFormulaColumn) to the
// program's handler table.
void RegisterFormulaHandlers();

}  // namespace analysis
