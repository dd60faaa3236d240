// The one place that joins the record keeping with the charts, the column
// sorting and the printed tables: their window routines, the chart kinds and
// the main window's hooks.
#pragma once

namespace tavrin::app {

// Installs the charts, sorting and printed tables into the record keeping's
// window system and main window (once; after the record keeping's window system).
void InstallAnalysis();

}  // namespace tavrin::app
