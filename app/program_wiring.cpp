// Joins the record keeping, the charts and the printed tables: none of them
// includes another.
#include "app/program_wiring.h"

#include <QCoreApplication>
#include <vector>

#include "analysis/analysis_setup.h"
#include "finance/handlers.h"
#include "finance/hooks.h"
#include "printing/printing.h"
#include "runtime/commands.h"
#include "runtime/process.h"

namespace tavrin::app {

namespace {

// The chart library hears of the program's start once the application object
// exists, and only then can its kinds build a widget.
void ChartLibraryNotify(int32_t code, const tavrin::RuntimeService*) {
    if (code == 1) analysis::RegisterChartKinds();
}

}  // namespace

void InstallAnalysis() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    // One addition binds the templates' names once, all of them known.
    const std::vector<tavrin::HandlerEntry> handlers = printing::Handlers();
    finance::AddHandlers(handlers.data(), handlers.size());
    tavrin::RegisterLibraryNotify(tavrin::kChartLibrary, &ChartLibraryNotify);
    if (QCoreApplication::instance() != nullptr) analysis::RegisterChartKinds();
    finance::AnalysisHooks& h = finance::Hooks();
    h.showCategoryTotals = &analysis::ShowCategoryTotals;
    h.showMonthTotals = &analysis::ShowMonthTotals;
    h.applyChartStartUpSettings = &analysis::ApplyChartStartUpSettings;
    h.printChart = &analysis::PrintShownChart;
    h.openPrintSettings = &printing::OpenPrintSettings;
    h.sortList = &analysis::SortListByColumn;
    h.layoutChartArea = &analysis::LayoutChartArea;
}

}  // namespace tavrin::app
