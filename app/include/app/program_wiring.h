// The one place that joins the record keeping with the charts, the column
// sorting and the printed tables: their window routines, the chart kinds and
// the main window's hooks.
#pragma once

#include <span>

#include "runtime/process.h"

namespace tavrin::app {

// The program's handler table: the record keeping's routines and the printed
// tables', by the names the window templates give them.
std::span<const tavrin::HandlerEntry> ProgramHandlers();
// The program image with that table.
tavrin::ApplicationImage ProgramImage();

// Installs the charts, sorting and printed tables into the record keeping's
// window system and main window, and binds the program's handler table (once;
// after the record keeping's window system).
void InstallChartsAndPrinting();

}  // namespace tavrin::app
