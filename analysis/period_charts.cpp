// The main window's charts filled from the period views' sums: the pie of a
// side's categories and the two lines of the monthly trend.
#include <cmath>

#include "analysis/analysis_setup.h"
#include "analysis/charts/chart_palette.h"
#include "analysis/charts/chart_widget.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "analysis_text_constants.h"
#include "app_tpl_templates.h"
#include "chart_controls.h"
#include "runtime/commands.h"

namespace tavrin::analysis {

using namespace tavrin;
namespace ids = app_tpl::ids;

namespace {

// Control property indices of the charts.
namespace pie {
using charts::PieChart;
constexpr int32_t kItemCount = charts::PropertyIndex(PieChart::kItemCount);
constexpr int32_t kCurrentItem = charts::PropertyIndex(PieChart::kCurrentItem);
constexpr int32_t kName = charts::PropertyIndex(PieChart::kItemName);
constexpr int32_t kColor = charts::PropertyIndex(PieChart::kItemColor);
constexpr int32_t kValue = charts::PropertyIndex(PieChart::kItemValue);
}  // namespace pie
namespace line {
using charts::LineChart;
constexpr int32_t kMaximum = charts::PropertyIndex(LineChart::kMaximum);
constexpr int32_t kCurrentSeries = charts::PropertyIndex(LineChart::kCurrentSeries);
constexpr int32_t kSeriesName = charts::PropertyIndex(LineChart::kSeriesName);
constexpr int32_t kSeriesColor = charts::PropertyIndex(LineChart::kSeriesColor);
constexpr int32_t kCurrentPoint = charts::PropertyIndex(LineChart::kCurrentPoint);
constexpr int32_t kLabel = charts::PropertyIndex(LineChart::kPointLabel);
constexpr int32_t kValue = charts::PropertyIndex(LineChart::kPointValue);
}  // namespace line

void SetChartInt(uint32_t chart, int32_t index, int32_t v) {
    WriteProperty(ids::MainWindow, chart, index, -1, uint32_t(v), 0);
}
void SetChartDouble(uint32_t chart, int32_t index, double v) {
    const Value d = MakeDouble(v);
    WriteProperty(ids::MainWindow, chart, index, -1, d.lo, d.hi);
}
void SetChartText(uint32_t chart, int32_t index, const std::string& gbk) {
    Value t = MakeTextRef(gbk.c_str());
    WriteProperty(ids::MainWindow, chart, index, -1, t.lo, t.hi);
}

// Holds a chart's repaints while a view writes its items one property at a time:
// every property write lets pending messages run, and each would otherwise
// repaint the whole chart. The chart repaints once when the batch ends.
class ChartBatch {
  public:
    explicit ChartBatch(uint32_t chart) : chart_(FindChart(ids::MainWindow, chart)) {
        if (chart_) chart_->setUpdatesEnabled(false);
    }
    ~ChartBatch() {
        if (chart_) {
            chart_->setUpdatesEnabled(true);
            chart_->update();
        }
    }
    ChartBatch(const ChartBatch&) = delete;
    ChartBatch& operator=(const ChartBatch&) = delete;

  private:
    charts::ChartWidget* chart_;
};

}  // namespace

void ShowCategoryTotals(const std::vector<std::string>& categories,
                        const std::vector<double>& totals) {
    ChartBatch batch(ids::PieChart1);
    SetChartInt(ids::PieChart1, pie::kItemCount, int32_t(categories.size()));
    if (categories.empty()) {
        // The chart keeps at least one item: without categories it is a nameless
        // empty one, not whatever the chart held before (its design-time sample).
        SetChartInt(ids::PieChart1, pie::kCurrentItem, 0);
        SetChartInt(ids::PieChart1, pie::kColor, int32_t(charts::StructurePaletteColor(1)));
        SetChartText(ids::PieChart1, pie::kName, std::string());
        SetChartDouble(ids::PieChart1, pie::kValue, 0.0);
    }
    for (size_t i = 0; i < categories.size(); ++i) {
        SetChartInt(ids::PieChart1, pie::kCurrentItem, int32_t(i));
        SetChartInt(ids::PieChart1, pie::kColor,
                    int32_t(charts::StructurePaletteColor(int(i) + 1)));
        SetChartText(ids::PieChart1, pie::kName, categories[i]);
        SetChartDouble(ids::PieChart1, pie::kValue, i < totals.size() ? totals[i] : 0.0);
    }
}

void ShowMonthTotals(bool income, const std::array<double, 12>& months, int32_t& maximum) {
    // The chart counts in thousands of 元; income is the blue first line.
    for (double m : months)
        if (m / 1000 - maximum > 1e-7) maximum = int32_t(std::floor(m / 1000));
    ChartBatch batch(ids::LineChart1);
    SetChartInt(ids::LineChart1, line::kMaximum, maximum);
    SetChartInt(ids::LineChart1, line::kCurrentSeries, income ? 0 : 1);
    SetChartInt(ids::LineChart1, line::kSeriesColor, income ? 0x0000FF : 0xFF0000);
    SetChartText(ids::LineChart1, line::kSeriesName,
                 income ? analysis_text::IncomeSeriesName : analysis_text::ExpenseSeriesName);
    for (int32_t i = 1; i <= 12; ++i) {
        SetChartInt(ids::LineChart1, line::kCurrentPoint, i - 1);
        SetChartDouble(ids::LineChart1, line::kValue, months[size_t(i - 1)] / 1000);
        SetChartText(ids::LineChart1, line::kLabel, std::to_string(i) + analysis_text::MonthMark);
    }
}

}  // namespace tavrin::analysis
