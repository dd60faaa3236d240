// Drawing of report pages: one page of a laid-out table, on any painter whose
// coordinates are the paper's units (0.1 mm, origin at the paper's corner).
#pragma once

#include <QFont>

#include "table/cell_model.h"
#include "table/report_layout.h"

class QPainter;

namespace tavrin::table {

// The cell's face and font style (no size); a face that is not installed,
// such as "宋体", is shown with the installed CJK face.
QFont CellFont(const CellModel& model, const CellStyle& style);
// Qt alignment flags of an alignment style 1–14 (word wrap included).
int CellAlignmentFlags(int32_t alignment);
QFont FaceFont(const QString& family);

// Draws page `index` (0-based): fixed rows, the page's rows, page number.
void DrawReportPage(QPainter& painter, const CellModel& model, const ReportLayout& layout,
                    const PrintSettings& settings, int index);

}  // namespace tavrin::table
