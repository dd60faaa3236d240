// The chart start-up settings of the main window.
#include "analysis/analysis_setup.h"

#include "analysis/charts/chart_settings.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "app_tpl_templates.h"
#include "chart_controls.h"

namespace tavrin::analysis {

namespace ids = app_tpl::ids;

void ApplyChartStartUpSettings() {
    auto* pie = dynamic_cast<tavrin::charts::PieChart*>(FindChart(ids::MainWindow, ids::PieChart1));
    auto* line =
        dynamic_cast<tavrin::charts::LineChart*>(FindChart(ids::MainWindow, ids::LineChart1));
    if (pie == nullptr || line == nullptr) return;
    tavrin::charts::ApplyChartSettings(tavrin::charts::ChartStartUpSettings(), *pie, *line);
}

}  // namespace tavrin::analysis
