// The table data source's commands. The first argument is the data source;
// rows and columns are given 1-based; a range is first row, first column,
// [opt] row count (default 1), [opt] column count (default 1), clipped to the
// table. Each command works on the provider connected to the data source: with
// none, queries give 0 or the empty text and changes do nothing. Structure,
// sizes and looks need a provider that keeps a cell model (the general
// provider); the database provider serves texts and rows only.
#pragma once

#include "runtime/commands.h"

namespace tavrin::table {

// → int.
void DsRowCount(Value* result, int32_t argc, const Value* argv);
void DsColumnCount(Value* result, int32_t argc, const Value* argv);
// int row, int column → text.
void DsCellText(Value* result, int32_t argc, const Value* argv);
// int row, int column, value (texts as they are, other kinds as ToText writes them) → none.
void DsSetCellText(Value* result, int32_t argc, const Value* argv);
// range → none: joins the range into one cell; merges it overlaps are dissolved.
void DsMergeCells(Value* result, int32_t argc, const Value* argv);
// int row, [opt] int n (default 1), int height → none: rows row .. row+n-1 take
// the height; rows missing at the end of the table are added first.
void DsInsertRows(Value* result, int32_t argc, const Value* argv);
// int column, [opt] int n (default 1), int width → none: the same for columns.
void DsInsertColumns(Value* result, int32_t argc, const Value* argv);
// byte-set → bool: loads a stored table layout (table_template.h); the table
// is unchanged when the bytes are not a valid layout.
void DsLoad(Value* result, int32_t argc, const Value* argv);
// print-settings record (print_settings.h) → int: 1 when applied, else 0.
void DsPrintSettings(Value* result, int32_t argc, const Value* argv);
// → int: opens the preview window "打印预览" of the table; its page count (0: nothing to show).
void DsPrintPreview(Value* result, int32_t argc, const Value* argv);

// int row → int: the row's height.
void DsRowHeight(Value* result, int32_t argc, const Value* argv);
// int row, int column → int: the cell's height (all rows of its merge).
void DsCellHeight(Value* result, int32_t argc, const Value* argv);
// int row, [opt] int n (default 1) → int: inserts n rows before row (after the
// last when beyond it), with the default height; the new row count.
void DsAddRows(Value* result, int32_t argc, const Value* argv);
// int column, [opt] int n (default 1) → int: the same for columns; the new column count.
void DsAddColumns(Value* result, int32_t argc, const Value* argv);
// [opt] int n (default 1) → int: appends n rows; the new row count.
void DsAppendRows(Value* result, int32_t argc, const Value* argv);
// [opt] int n (default -1) → none: the first n rows become the fixed (title)
// rows repeated on every printed page; a negative n leaves none.
void DsSetFixedRows(Value* result, int32_t argc, const Value* argv);

// Range attribute operations: range, then the value.
// [opt] int colour (default 0, black): the text colour (0xFF000000: the default).
void DsSetTextColor(Value* result, int32_t argc, const Value* argv);
// [opt] int colour (default 0xFF000000, no background): the background colour.
void DsSetBackColor(Value* result, int32_t argc, const Value* argv);
// text face name: the font.
void DsSetFontName(Value* result, int32_t argc, const Value* argv);
// [opt] int height (default 40, in 0.1 mm): the font size.
void DsSetFontSize(Value* result, int32_t argc, const Value* argv);
// [opt] int value (default 0): its low 4 bits go under the mask 0x7800 of the
// cell-format word (1 bold, 2 italic, 4 underline, 8 strike-out).
void DsSetCellFormat(Value* result, int32_t argc, const Value* argv);
// [opt] int style (default 1): alignment style 1–14 (cell_model.h); others count as 1.
void DsSetAlignment(Value* result, int32_t argc, const Value* argv);
// range, int sides (cell_model.h Sides bits) → none: sets or clears lines.
void DsSetBorders(Value* result, int32_t argc, const Value* argv);
void DsClearBorders(Value* result, int32_t argc, const Value* argv);
// → none: the provider reopens its source and every grid shows it anew.
void DsRefresh(Value* result, int32_t argc, const Value* argv);

}  // namespace tavrin::table
