// Stored table layouts (DsLoad): a small text format of this component's own.
//
//   TVTABLE 1                  first line, exactly
//   table <rows> <columns>     required, before any cell line
//   height <h>                 every row's height (and that of rows added later)
//   width <w>                  every column's width
//   font <size> <name>         the default font (name in GBK, may hold blanks)
//   row <r> <height>           one row's height (r 1-based)
//   column <c> <width>         one column's width
//   text <r> <c> <text>        a cell's text (the rest of the line)
//   merge <r> <c> <rows> <columns>
//   fixed <n>                  the fixed (title) rows
//
// Lines end with "\n"; sizes are in the report engine's units (0.1 mm).
// Anything else (an unknown keyword, a number out of range, a cell outside
// the table) makes the whole layout invalid and leaves the model unchanged.
#pragma once

#include <string_view>

#include "table/cell_model.h"

namespace tavrin::table {

bool LoadTableLayout(std::string_view bytes, CellModel& model);

}  // namespace tavrin::table
