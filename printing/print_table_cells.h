// The print table on its cell model: the rows the template gives, the title
// rows, lines, colours, the remark, and the cell looks the build sets.
#pragma once

#include <cstdint>
#include <string>

#include "print_table_request.h"
#include "table/cell_model.h"

namespace tavrin::printing {

// Rows of the table (0-based): the template's title, date line and rule,
// then the header and the item rows.
constexpr int32_t kTitleRow = 0, kDateRow = 1, kRuleRow = 2, kHeaderRow = 3, kFirstItemRow = 4;

// The program's texts end at their first NUL byte, as every text the runtime
// hands on does; a cell takes no more.
void SetCellText(table::CellModel& cells, int32_t row, int32_t column, const std::string& gbk);
table::CellRange WholeRow(int32_t row, int32_t columns);

void SetFontSize(table::CellModel& cells, const table::CellRange& range, int32_t size);
void SetBold(table::CellModel& cells, const table::CellRange& range);
// An alignment style of the cell model (1–14; others count as 1).
void SetAlignment(table::CellModel& cells, const table::CellRange& range, int32_t style);

// The title over all columns in the title font, the date line under it and
// the black rule between them and the header; `h` is the template's row height.
void FillTitleRows(const PrintTableRequest& r, int32_t h, int32_t columns, table::CellModel& cells);
// The request's line style (1–4) on `body`, which runs from the header to
// the last item or summary row.
void ApplyLineStyle(int32_t style, const table::CellRange& body, table::CellModel& cells);
// The colour scheme on the header, the n item rows and the summary row.
void PaintColors(const ColorScheme& scheme, int32_t n, bool summary, int32_t columns,
                 table::CellModel& cells);
// The remark under the table from `row`: three merged rows in small type,
// the last taller.
void FillRemark(const std::string& remark, int32_t row, int32_t columns, table::CellModel& cells);

}  // namespace tavrin::printing
