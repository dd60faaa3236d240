// The report engine's paging: the page geometry of the print settings and the
// split of a table into pages, done once; pages are drawn from it on demand.
//
// Units are 0.1 mm on the paper. The table is drawn inside the margins at a
// print scale that shrinks it to the printable width when it is wider (never
// enlarges). Every page repeats the fixed rows. Rows joined by a vertical merge
// form one block that is never cut. With rows-per-page n > 0 each page takes
// the next n rows, a block counting as one and a block that ends the table (a
// remark) staying with the rows before it; otherwise rows are added while their
// heights fit the printable height less the fixed rows, and a block taller
// than a page gets a page of its own.
#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

#include "table/cell_model.h"
#include "table/print_settings.h"

class QPageSize;

namespace tavrin::table {

// The paper of a paper number (0 and unknown numbers: the default printer's
// default paper, else A4), in millimetres, turned by the orientation.
QPageSize PaperOfNumber(int32_t paper);
QSize PaperSizeInUnits(const PrintSettings& settings);

struct PageGeometry {
    QSize paper;       // units
    QRect printable;   // units, inside the margins
    double scale = 1;  // table units → paper units
};
PageGeometry ComputeGeometry(const PrintSettings& settings, int64_t tableWidth);

struct PageRows {
    int32_t first = 0, count = 0;  // body rows of the page
};

struct ReportLayout {
    PageGeometry geometry;
    int32_t fixedRows = 0;
    std::vector<PageRows> pages;   // at least one
    std::vector<int64_t> columnX;  // left edge of each column, and the table's right edge
    int pageCount() const { return int(pages.size()); }
};
ReportLayout LayOutReport(const CellModel& model, const PrintSettings& settings);

// The page number's box (units): height 40, 40 above the printable area for
// positions 1–3, 40 below it for 4–6; its alignment flags in `align`. An empty
// rectangle for position 0 and anything out of range.
constexpr int32_t kPageNumberHeight = 40;
QRect PageNumberBox(const PageGeometry& geometry, int32_t position, int* align);

}  // namespace tavrin::table
