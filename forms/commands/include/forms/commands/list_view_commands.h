// The report list view commands of the extended UI library: rows appended or
// inserted, cell texts, images, check states, row data, columns. Rows and
// columns are 0-based and checked against the live counts: a bad index does
// nothing or gives the neutral result (empty text, -1 image, 0).
#pragma once

#include <cstdint>

#include "runtime/commands.h"

namespace tavrin::form_commands {

// list → int: number of rows.
void LvItemCount(Value* result, int32_t argc, const Value* argv);
// list, [opt] int row (absent or negative: append), [opt] text, [opt] int image
// (default -1), [opt] int check state, [opt] int indent, [opt] int data → int row.
void LvInsertItem(Value* result, int32_t argc, const Value* argv);
// list, int row, [opt] int column (default 0), [opt] text → none.
void LvSetItemText(Value* result, int32_t argc, const Value* argv);
// list, int row, [opt] int column → text.
void LvGetItemText(Value* result, int32_t argc, const Value* argv);
// list, int row, [opt] int column, int image → none / list, int row, [opt] column → int.
void LvSetItemImage(Value* result, int32_t argc, const Value* argv);
void LvGetItemImage(Value* result, int32_t argc, const Value* argv);
// list, int row, int state → none / list, int row → int (the state image is state + 1).
void LvSetCheckState(Value* result, int32_t argc, const Value* argv);
void LvGetCheckState(Value* result, int32_t argc, const Value* argv);
// list, int row, int data → none / list, int row → int.
void LvSetItemData(Value* result, int32_t argc, const Value* argv);
void LvGetItemData(Value* result, int32_t argc, const Value* argv);
// list, int row → none.
void LvDeleteItem(Value* result, int32_t argc, const Value* argv);
// list → none.
void LvDeleteAll(Value* result, int32_t argc, const Value* argv);
// list, int row → none: scrolls the row into view.
void LvEnsureVisible(Value* result, int32_t argc, const Value* argv);
// list → int.
void LvColumnCount(Value* result, int32_t argc, const Value* argv);
// list, int column → text (at most 1024 bytes) / int 0 left, 1 centre, 2 right / int pixels.
void LvColumnTitle(Value* result, int32_t argc, const Value* argv);
void LvColumnAlign(Value* result, int32_t argc, const Value* argv);
void LvColumnWidth(Value* result, int32_t argc, const Value* argv);
// list, int column, [opt] int width → none. Omitted means -1, fit the contents;
// -2 (and below) fits the header, or the contents when they are wider. With
// -1 or -2 the last column also fills what is left of the list's width.
void LvSetColumnWidth(Value* result, int32_t argc, const Value* argv);

}  // namespace tavrin::form_commands
