// Registration of the analysis layer's controls and procedures.
#include "analysis/analysis_setup.h"

#include "analysis/chart_controls.h"
#include "analysis/chart_print.h"
#include "analysis/charts/chart_settings.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "analysis/period_views.h"
#include "app_tpl_templates.h"
#include "finance/hooks.h"

namespace analysis {

namespace ids = app_tpl::ids;

void ApplyChartStartUpSettings() {
    auto* pie = dynamic_cast<tavrin::charts::PieChart*>(FindChart(ids::MainWindow, ids::PieChart1));
    auto* line =
        dynamic_cast<tavrin::charts::LineChart*>(FindChart(ids::MainWindow, ids::LineChart1));
    if (pie == nullptr || line == nullptr) return;
    tavrin::charts::ApplyChartSettings(tavrin::charts::ChartStartUpSettings(), *pie, *line);
}

void InstallAnalysis() {
    RegisterChartKinds();
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
}

}  // namespace analysis
