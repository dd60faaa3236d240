// The analysis layer's routines and the chart start-up settings.
#include "analysis/analysis_setup.h"

#include "analysis/charts/chart_settings.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "app_tpl_templates.h"
#include "chart_controls.h"
#include "formula_window.h"
#include "print_settings_window.h"

namespace tavrin::analysis {

namespace ids = app_tpl::ids;

std::vector<tavrin::HandlerEntry> Handlers() {
    std::vector<tavrin::HandlerEntry> handlers = FormulaHandlers();
    for (const tavrin::HandlerEntry& h : PrintHandlers()) handlers.push_back(h);
    return handlers;
}

void ApplyChartStartUpSettings() {
    auto* pie = dynamic_cast<tavrin::charts::PieChart*>(FindChart(ids::MainWindow, ids::PieChart1));
    auto* line =
        dynamic_cast<tavrin::charts::LineChart*>(FindChart(ids::MainWindow, ids::LineChart1));
    if (pie == nullptr || line == nullptr) return;
    tavrin::charts::ApplyChartSettings(tavrin::charts::ChartStartUpSettings(), *pie, *line);
}

}  // namespace tavrin::analysis
