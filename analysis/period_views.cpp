// The structure view (per-category sums for the pie) and the trend view
// (per-month sums for the line chart), answered from the items' in-memory
// index: a click costs the periods and categories, not the items. Rows of a
// period view keep the serial of the record they show.
#include "period_views.h"

#include <cmath>
#include <vector>

#include "analysis/charts/chart_palette.h"
#include "analysis/charts/chart_widget.h"
#include "analysis/charts/line_chart.h"
#include "analysis/charts/pie_chart.h"
#include "analysis_text_constants.h"
#include "app_tpl_templates.h"
#include "chart_controls.h"
#include "finance/app_state.h"
#include "finance/item_index.h"
#include "finance/period_listing.h"
#include "finance/running_total.h"
#include "finance/shown_period.h"
#include "finance/sides.h"
#include "finance/status_totals.h"
#include "finance/ui.h"
#include "forms/page_control.h"
#include "forms/properties.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"

namespace tavrin::analysis {

using namespace tavrin;
using finance::MonthPartOf;
using finance::Side;
using finance::YearPartOf;
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

// The month number of a date text's month part, read as ToInt reads a text
// (leading blanks, sign, digits); 0 when there is none.
int32_t MonthNumber(const std::string& monthText) {
    const Value m = CallKernel(ToInt, MakeTextRef(monthText.c_str()));
    return m.asInt();
}

// The texts of a category array (file order, duplicates and empty texts kept).
std::vector<std::string> Categories(const Side& side) {
    const ArrayBlock* list =
        side.income ? finance::State().incomeCategoryList : finance::State().expenseCategoryList;
    std::vector<std::string> out;
    if (list == nullptr) return out;
    auto* const* texts = reinterpret_cast<char* const*>(list->elements());
    for (uint32_t i = 0, n = list->elementCount(); i < n; ++i)
        out.emplace_back(texts[i] ? texts[i] : "");
    return out;
}

void ReportOpenFailed() {
    finance::ShowMessage(analysis_text::OpenFailed, kIconStop, analysis_text::ErrorCaption);
}

const Side& ShownSide() {
    return finance::CurrentPage(ids::MainPages) == 0 ? finance::IncomeSide()
                                                     : finance::ExpenseSide();
}

// Makes sure the side's index answers for its file (its list listed again
// only when `touchList`); tells the person when the file could not be opened.
bool IndexReady(const Side& side, bool touchList) {
    if (finance::RefreshIndexFromFile(side, touchList)) return true;
    ReportOpenFailed();
    return false;
}

// The exact sums of the chart's categories over the period, from the index's
// per-period, per-category sums. A category listed twice receives the amount
// twice; one in no entry adds nowhere.
std::vector<finance::RunningTotal> CategorySums(const finance::ItemIndex& index,
                                                const finance::ShownPeriod& period,
                                                const std::vector<std::string>& categories) {
    std::vector<std::vector<size_t>> feeds(index.categories().size());
    for (size_t id = 0; id < index.categories().size(); ++id)
        for (size_t i = 0; i < categories.size(); ++i)
            if (categories[i] == index.categories()[id]) feeds[id].push_back(i);
    const std::vector<bool> in = index.periodsIn(period);
    std::vector<finance::RunningTotal> sums(categories.size());
    index.forEachSum([&](uint32_t p, uint32_t c, const finance::RunningTotal& sum) {
        if (in[p])
            for (size_t i : feeds[c]) sums[i].add(sum);
    });
    return sums;
}

void FillPie(const std::vector<std::string>& categories,
             const std::vector<finance::RunningTotal>& sums) {
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
        SetChartDouble(ids::PieChart1, pie::kValue, double(sums[i]));
    }
}

// The structure view; `touchList` false is the chart-only form. Both lists and
// both totals cover the period the pages name, so the balance is that of one
// period; the pie is the shown side's.
void StructureView(bool touchList) {
    const finance::ShownPeriod period = finance::CurrentPeriod();
    const Side& side = ShownSide();
    if (!IndexReady(side, touchList)) return;
    const std::vector<std::string> categories = Categories(side);
    FillPie(categories, CategorySums(finance::IndexOfSide(side.income), period, categories));
    if (!touchList) return;
    // Each list holds the period's items and each total their exact sum,
    // whatever their categories.
    finance::ShowPeriodRows(side, period);
    const Side& other = side.income ? finance::ExpenseSide() : finance::IncomeSide();
    if (IndexReady(other, true)) finance::ShowPeriodRows(other, period);
    finance::UpdateStatusTotals();
}

// One side's pass of the trend view over the year the pages name; false when
// its file could not be opened. The entry combo boxes only choose an item's
// category: they filter nothing here.
bool TrendPass(const Side& side, int32_t series, uint32_t color, const char* seriesName,
               int32_t& maximum, bool touchList) {
    if (!IndexReady(side, touchList)) return false;
    const finance::ShownPeriod period = finance::CurrentPeriod();
    const finance::ItemIndex& index = finance::IndexOfSide(side.income);
    // The month of each period from its month text (a date text always has 1..12).
    std::vector<int32_t> monthOf(index.periods().size());
    const std::vector<bool> in = index.periodsIn(period);
    for (size_t p = 0; p < monthOf.size(); ++p)
        monthOf[p] = in[p] ? MonthNumber(index.periods()[p].month) : 0;
    finance::RunningTotal months[13];
    index.forEachSum([&](uint32_t p, uint32_t, const finance::RunningTotal& sum) {
        if (const int32_t m = monthOf[p]; m >= 1 && m <= 12) months[m].add(sum);
    });
    for (int32_t i = 1; i <= 12; ++i)
        if (double(months[i]) / 1000 - maximum > 1e-7)
            maximum = int32_t(std::floor(double(months[i]) / 1000));

    ChartBatch batch(ids::LineChart1);
    SetChartInt(ids::LineChart1, line::kMaximum, maximum);
    SetChartInt(ids::LineChart1, line::kCurrentSeries, series);
    SetChartInt(ids::LineChart1, line::kSeriesColor, int32_t(color));
    SetChartText(ids::LineChart1, line::kSeriesName, seriesName);
    for (int32_t i = 1; i <= 12; ++i) {
        SetChartInt(ids::LineChart1, line::kCurrentPoint, i - 1);
        SetChartDouble(ids::LineChart1, line::kValue, double(months[i]) / 1000);
        SetChartText(ids::LineChart1, line::kLabel, std::to_string(i) + analysis_text::MonthMark);
    }
    if (touchList) {
        finance::ShowPeriodRows(side, period);
        finance::UpdateStatusTotals();
    }
    return true;
}

void TrendView(bool touchList) {
    if (finance::CurrentPage(ids::ChartPages) != 1) return;
    int32_t maximum = 0;
    TrendPass(finance::IncomeSide(), 0, 0x0000FF, analysis_text::IncomeSeriesName, maximum,
              touchList);
    TrendPass(finance::ExpenseSide(), 1, 0xFF0000, analysis_text::ExpenseSeriesName, maximum,
              touchList);
}

// The trend chart covers a whole year: the month pages go back to "月合计",
// so that the pages name what the lists and totals show. Written by the
// program, the page raises no page-change event.
void ShowAllMonths() {
    auto* months = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::MonthPages);
    if (months && months->current() != 0) months->setCurrent(0);
}

}  // namespace

void RefreshStructureView() {
    StructureView(true);
}
void RecomputeStructureChart() {
    StructureView(false);
}
void RefreshTrendView() {
    TrendView(true);
}
void RecomputeTrendChart() {
    // The chart-only form runs whatever page is shown when asked directly.
    int32_t maximum = 0;
    TrendPass(finance::IncomeSide(), 0, 0x0000FF, analysis_text::IncomeSeriesName, maximum, false);
    TrendPass(finance::ExpenseSide(), 1, 0xFF0000, analysis_text::ExpenseSeriesName, maximum,
              false);
}

void RefreshChartAfterItemChange() {
    if (finance::CurrentPage(ids::ChartPages) == 0)
        RecomputeStructureChart();
    else
        RecomputeTrendChart();
}

void MainPageChanged() {
    const int32_t page = finance::CurrentPage(ids::MainPages);
    const bool printPage = page == 2 || page == 3;
    WriteProperty(ids::MainWindow, ids::ChartFrame, forms::Prop::kVisible, -1, printPage ? 0 : 1,
                  0);
    if (finance::CurrentPage(ids::ChartPages) == 0) RefreshStructureView();
}

void ChartPageChanged() {
    // Either chart shows the period the pages name: back on the pie, its
    // period is the pages' year and month again.
    if (finance::CurrentPage(ids::ChartPages) == 1) {
        ShowAllMonths();
        RefreshTrendView();
    } else {
        RefreshStructureView();
    }
}

void YearPageChanged() {
    if (finance::CurrentPage(ids::ChartPages) == 0)
        RefreshStructureView();
    else
        RefreshTrendView();
}

void MonthPageChanged() {
    if (finance::CurrentPage(ids::ChartPages) == 0) {
        RefreshStructureView();
        return;
    }
    finance::ShowMessage(analysis_text::MonthInTrendMode, kIconInformation,
                         analysis_text::HintCaption);
    ShowAllMonths();
}

}  // namespace tavrin::analysis
