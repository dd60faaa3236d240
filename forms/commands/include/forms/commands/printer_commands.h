// The printer component's commands: StartPrinting opens a print document (the
// print dialog through the dialog seam, paper, orientation, print-to-file, a
// progress window) and EndPrinting finishes it. With no printer configured on
// the system the document goes to a PDF file.
#pragma once

#include <QPageSize>
#include <QString>
#include <cstdint>
#include <optional>

#include "runtime/commands.h"

class QPainter;
class QPrinter;

namespace tavrin::form_commands {

// printer, [opt] bool showDialog, [opt] bool showProgress, [opt] paper (int
// paper number or text form name), [opt] int orientation (1 landscape, else
// portrait), [opt] int custom width, [opt] int custom height (tenths of a
// millimetre, with paper -1) → bool: false when cancelled or when the document
// could not be started.
//
// The print dialog goes through the dialog seam as kind "print"; the request
// carries "document", "printer" (the default printer, empty for none) and
// "output" (the PDF file used when there is no printer). A reply may set
// "printer" (a printer name), "output" (write the document to this file),
// "printToFile" ("1": ask for the file as the platform does, through a
// "save-file" request titled "打印到文件") and "copies".
void StartPrinting(Value* result, int32_t argc, const Value* argv);
// printer → none: ends the page and the document and closes the progress window.
void EndPrinting(Value* result, int32_t argc, const Value* argv);

// Runs the print dialog on `printer` through the dialog seam (kind "print", the
// fields StartPrinting describes); false when the user cancelled.
bool RunPrintDialog(QPrinter& printer);

// The painter and the printer of the document running on a printer component
// (what the charts and reports draw on), or null when none is running.
QPainter* PrintJobPainter(uint32_t windowId, uint32_t printerId);
QPrinter* PrintJobPrinter(uint32_t windowId, uint32_t printerId);

// Paper numbers 1–16 (A3, A4, A5, B4, B5, quarto, 16K, 32K, letter, legal,
// executive, statement, tabloid, note, ledger, folio) and numbers of 1000 or
// more (platform paper code number - 999); nullopt for the printer's default
// (0, and any number that names no paper).
std::optional<QPageSize> PageSizeOfPaperNumber(int32_t number);
// A page size by form name (as printers and the page-size table name them).
std::optional<QPageSize> PageSizeOfFormName(const QString& name);

// The PDF file a document goes to when no printer is configured: "<title>.pdf"
// in `directory`, numbered " (2)", " (3)", ... so that no earlier file is replaced.
QString UniquePdfPath(const QString& directory, const QString& documentTitle);
// The directory of those files: the user's documents folder, else the program directory.
QString DefaultPrintDirectory();

}  // namespace tavrin::form_commands
