// Printing a chart onto the printer component's running print document.
#pragma once

#include "runtime/commands.h"

namespace tavrin::analysis {

// chart, [opt] int left, [opt] int top, [opt] int width, [opt] int height, printer → none.
// Draws the chart onto the current page of the document started on the printer
// component with StartPrinting. The placement is in 1/96 inch from the top left
// of the printable area; left out, the chart fills the printable area. Nothing
// happens when no document is running or the chart is not loaded.
void ChartPrint(tavrin::Value* result, int32_t argc, const tavrin::Value* argv);

// The tool-bar's "打印图": the shown chart printed in landscape on 打印机1, or,
// with no printer on the system, into a PDF file the person names
// ("收入结构图_2026-12-09.pdf" offered).
void PrintShownChart();

}  // namespace tavrin::analysis
