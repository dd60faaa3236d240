// Page geometry and paging.
#include "table/report_layout.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

#include "forms/commands/printer_commands.h"

namespace tavrin::table {

QPageSize PaperOfNumber(int32_t paper) {
    if (auto size = form_commands::PageSizeOfPaperNumber(paper)) return *size;
    static const QPageSize fallback = [] {
        const QPageSize d = QPrinterInfo::defaultPrinter().defaultPageSize();
        return d.isValid() ? d : QPageSize(QPageSize::A4);
    }();
    return fallback;
}

QSize PaperSizeInUnits(const PrintSettings& settings) {
    const QSizeF mm = PaperOfNumber(settings.paper).size(QPageSize::Millimeter);
    QSize units(int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10)));
    if (settings.orientation == 1) units.transpose();
    return units;
}

PageGeometry ComputeGeometry(const PrintSettings& s, int64_t tableWidth) {
    PageGeometry g;
    g.paper = PaperSizeInUnits(s);
    const int left = std::max(0, s.marginLeft), top = std::max(0, s.marginTop);
    const int width = std::max(1, g.paper.width() - left - std::max(0, s.marginRight));
    const int height = std::max(1, g.paper.height() - top - std::max(0, s.marginBottom));
    g.printable = QRect(left, top, width, height);
    g.scale = tableWidth > width ? double(width) / double(tableWidth) : 1.0;
    return g;
}

namespace {

// For every row, the last row of the block it starts (rows joined by merges
// that span more than one row are one block). Only body rows take part.
std::vector<int32_t> BlockEnds(const CellModel& m, int32_t firstBody) {
    std::vector<int32_t> reach(size_t(m.rowCount()), -1);
    for (const CellRange& g : m.merges()) {
        if (g.rows < 2 || g.lastRow() < firstBody) continue;
        const int32_t top = std::max(g.row, firstBody);
        reach[size_t(top)] = std::max(reach[size_t(top)], g.lastRow());
    }
    std::vector<int32_t> ends(size_t(m.rowCount()));
    for (int32_t r = firstBody; r < m.rowCount();) {
        int32_t end = std::max(r, reach[size_t(r)]);
        for (int32_t k = r + 1; k <= end; ++k) end = std::max(end, reach[size_t(k)]);
        for (int32_t k = r; k <= end; ++k) ends[size_t(k)] = end;
        r = end + 1;
    }
    return ends;
}

}  // namespace

ReportLayout LayOutReport(const CellModel& m, const PrintSettings& s) {
    ReportLayout layout;
    layout.geometry = ComputeGeometry(s, m.totalWidth());
    layout.fixedRows = std::clamp(m.fixedRows(), 0, m.rowCount());
    int64_t x = 0;
    for (int32_t c = 0; c < m.columnCount(); ++c) {
        layout.columnX.push_back(x);
        x += m.columnWidth(c);
    }
    layout.columnX.push_back(x);

    const int32_t first = layout.fixedRows, rows = m.rowCount();
    if (first >= rows) {
        layout.pages.push_back({first, 0});
        return layout;
    }
    const std::vector<int32_t> ends = BlockEnds(m, first);
    if (s.rowsPerPage > 0) {
        // A block of merged rows is never cut and counts as one row; one that
        // ends the table (a remark under it) stays on the last page.
        PageRows page{first, 0};
        int32_t counted = 0;
        for (int32_t r = first; r < rows;) {
            const int32_t end = ends[size_t(r)];
            const bool trailingBlock = end == rows - 1 && end > r && page.count > 0;
            if (counted == s.rowsPerPage && !trailingBlock) {
                layout.pages.push_back(page);
                page = PageRows{r, 0};
                counted = 0;
            }
            page.count += end - r + 1;
            ++counted;
            r = end + 1;
        }
        layout.pages.push_back(page);
        return layout;
    }
    int64_t fixedHeight = 0;
    for (int32_t r = 0; r < first; ++r) fixedHeight += m.rowHeight(r);
    const double available =
        layout.geometry.printable.height() / layout.geometry.scale - double(fixedHeight);
    PageRows page{first, 0};
    double used = 0;
    for (int32_t r = first; r < rows;) {
        const int32_t end = ends[size_t(r)];
        int64_t block = 0;
        for (int32_t k = r; k <= end; ++k) block += m.rowHeight(k);
        if (page.count > 0 && used + double(block) > available) {
            layout.pages.push_back(page);
            page = PageRows{r, 0};
            used = 0;
        }
        page.count += end - r + 1;
        used += double(block);
        r = end + 1;
    }
    layout.pages.push_back(page);
    return layout;
}

QRect PageNumberBox(const PageGeometry& g, int32_t position, int* align) {
    if (position < 1 || position > 6) return {};
    const QRect& p = g.printable;
    const int column = (position - 1) % 3;
    *align = (column == 0   ? Qt::AlignLeft
              : column == 1 ? Qt::AlignHCenter
                            : Qt::AlignRight) |
             Qt::AlignVCenter;
    const int top = position <= 3 ? p.top() - kPageNumberHeight - kPageNumberHeight
                                  : p.top() + p.height() + kPageNumberHeight;
    return QRect(p.left(), top, p.width(), kPageNumberHeight);
}

}  // namespace tavrin::table
