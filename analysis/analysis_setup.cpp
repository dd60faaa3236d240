// Registration of the analysis layer's controls and procedures.
#include "analysis/analysis_setup.h"

#include <QCoreApplication>

#include "analysis/charts/chart_settings.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "app_tpl_templates.h"
#include "chart_area_layout.h"
#include "chart_controls.h"
#include "chart_print.h"
#include "column_sort.h"
#include "finance/handlers.h"
#include "finance/hooks.h"
#include "formula_window.h"
#include "period_views.h"
#include "print_settings_window.h"
#include "runtime/commands.h"
#include "runtime/process.h"

namespace tavrin::analysis {

namespace ids = app_tpl::ids;

void ApplyChartStartUpSettings() {
    auto* pie = dynamic_cast<tavrin::charts::PieChart*>(FindChart(ids::MainWindow, ids::PieChart1));
    auto* line =
        dynamic_cast<tavrin::charts::LineChart*>(FindChart(ids::MainWindow, ids::LineChart1));
    if (pie == nullptr || line == nullptr) return;
    tavrin::charts::ApplyChartSettings(tavrin::charts::ChartStartUpSettings(), *pie, *line);
}

namespace {

// The chart library hears of the program's start once the application object
// exists, and only then can its kinds build a widget.
void ChartLibraryNotify(int32_t code, const tavrin::RuntimeService*) {
    if (code == 1) RegisterChartKinds();
}

}  // namespace

void InstallAnalysis() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    // One addition binds the templates' names once, all of them known.
    std::vector<tavrin::HandlerEntry> handlers = FormulaHandlers();
    for (const tavrin::HandlerEntry& h : PrintHandlers()) handlers.push_back(h);
    finance::AddHandlers(handlers.data(), handlers.size());
    tavrin::RegisterLibraryNotify(tavrin::kChartLibrary, &ChartLibraryNotify);
    if (QCoreApplication::instance() != nullptr) RegisterChartKinds();
    finance::AnalysisHooks& h = finance::Hooks();
    h.refreshStructureView = &RefreshStructureView;
    h.applyChartStartUpSettings = &ApplyChartStartUpSettings;
    h.refreshTrendView = &RefreshTrendView;
    h.refreshChartAfterItemChange = &RefreshChartAfterItemChange;
    h.mainPageChanged = &MainPageChanged;
    h.chartPageChanged = &ChartPageChanged;
    h.yearPageChanged = &YearPageChanged;
    h.monthPageChanged = &MonthPageChanged;
    h.printChart = &PrintShownChart;
    h.openPrintSettings = &OpenPrintSettings;
    h.sortList = &SortListByColumn;
    h.layoutChartArea = &LayoutChartArea;
}

}  // namespace tavrin::analysis
