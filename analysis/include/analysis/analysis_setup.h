// Plugs the analysis layer into the program: the chart kinds of the window
// layer and the period views, chart start-up and chart printing of the main window.
#pragma once

namespace tavrin::analysis {

void InstallAnalysis();
// The chart start-up settings of the main window's creation.
void ApplyChartStartUpSettings();

}  // namespace tavrin::analysis
