// Joins the record keeping, the charts and the printed tables: none of them
// includes another.
#include "app/program_wiring.h"

#include <QCoreApplication>
#include <vector>

#include "analysis/analysis_setup.h"
#include "finance/handlers.h"
#include "finance/hooks.h"
#include "finance/start_routine.h"
#include "forms/events.h"
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

std::span<const tavrin::HandlerEntry> ProgramHandlers() {
    // Made once and never moved: the runtime and the window layer keep its address.
    static const std::vector<tavrin::HandlerEntry> table = [] {
        std::vector<tavrin::HandlerEntry> t(finance::Handlers().begin(), finance::Handlers().end());
        for (const tavrin::HandlerEntry& h : printing::Handlers()) t.push_back(h);
        return t;
    }();
    return table;
}

tavrin::ApplicationImage ProgramImage() {
    tavrin::ApplicationImage image = finance::ProgramImage();
    image.handlers = ProgramHandlers().data();
    image.handlerCount = ProgramHandlers().size();
    return image;
}

void InstallChartsAndPrinting() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    // Bound at once, so that a window system already running knows every name.
    forms::BindHandlers(ProgramHandlers().data(), ProgramHandlers().size());
    tavrin::RegisterLibraryNotify(tavrin::kChartLibrary, &ChartLibraryNotify);
    if (QCoreApplication::instance() != nullptr) analysis::RegisterChartKinds();
    finance::MainWindowHooks& h = finance::Hooks();
    h.showCategoryTotals = &analysis::ShowCategoryTotals;
    h.showMonthTotals = &analysis::ShowMonthTotals;
    h.applyChartStartUpSettings = &analysis::ApplyChartStartUpSettings;
    h.printChart = &analysis::PrintShownChart;
    h.openPrintSettings = &printing::OpenPrintSettings;
    h.sortList = &analysis::SortListByColumn;
    h.layoutChartArea = &analysis::LayoutChartArea;
}

}  // namespace tavrin::app
