// Printing a laid-out table: choosing the printer (through the dialog seam,
// a PDF file the person names when the system has no printer) and
// drawing every page of every copy with a progress text per page.
#pragma once

#include <QString>
#include <functional>

#include "table/cell_model.h"
#include "table/report_layout.h"

class QPrinter;

namespace tavrin::table {

// Sets up `printer` for the document `title`: the print dialog runs through
// the dialog seam (kind "print"; a reply may set "printer", "output" and
// "copies"), else Qt's dialog; with no printer on the system the person names
// a PDF file instead (report_pdf_target.h). False when the person cancelled.
bool ChoosePrinter(QPrinter& printer, const QString& title);

// "正在打印第 %d/%d 份 %d/%d 页到 %s " for one page.
QString PrintProgressText(int copy, int copies, int page, int pages, const QString& printer);

// Prints every page of the layout, each copy in turn; false when the printer
// could not be started.
bool PrintReport(QPrinter& printer, const CellModel& model, const PrintSettings& settings,
                 const ReportLayout& layout, const std::function<void(const QString&)>& progress);

}  // namespace tavrin::table
