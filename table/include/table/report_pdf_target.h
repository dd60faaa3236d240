// Where a document goes when the system has no printer: a PDF file the person
// chooses in a save dialog (through the dialog seam), which starts in the
// folder chosen last time, else the documents folder, with a name made of the
// document's name and today's date. Never a file nobody asked for.
#pragma once

#include <QString>

namespace tavrin::table {

// "收入明细_2026-12-09.pdf" for the document "收入明细" on that day.
QString DatedPdfName(const QString& documentName);

// Asks for the file (kind "save-file": "title", "file" the suggested path,
// "filter"; a reply's "file" is the chosen path) and remembers its folder for
// the next time. The path ends in ".pdf"; empty when the person cancelled.
QString ChoosePdfFile(const QString& documentName);

// Tells the person that the file could not be written.
void ReportPdfNotWritten(const QString& path);

}  // namespace tavrin::table
