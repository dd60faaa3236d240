// The structure view (per-category sums for the pie) and the trend view
// (per-month sums for the line chart), answered from the items' in-memory
// index: a click costs the periods and categories, not the items. Rows of a
// period view keep the serial of the record they show.
#include "finance/period_views.h"

#include <vector>

#include "app_constants.h"
#include "app_tpl_templates.h"
#include "finance/app_state.h"
#include "finance/hooks.h"
#include "finance/item_index.h"
#include "finance/period_listing.h"
#include "finance/running_total.h"
#include "finance/shown_period.h"
#include "finance/sides.h"
#include "finance/status_totals.h"
#include "forms/control_lookup.h"
#include "forms/page_control.h"
#include "forms/properties.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

// The month number of a date text's month part, read as ToInt reads a text
// (leading blanks, sign, digits); 0 when there is none.
int32_t MonthNumber(const std::string& monthText) {
    const Value m = CallKernel(ToInt, MakeTextRef(monthText.c_str()));
    return m.asInt();
}

// The texts of a category array (file order, duplicates and empty texts kept).
std::vector<std::string> Categories(const Side& side) {
    const ArrayBlock* list = side.income ? State().incomeCategoryList : State().expenseCategoryList;
    std::vector<std::string> out;
    if (list == nullptr) return out;
    auto* const* texts = reinterpret_cast<char* const*>(list->elements());
    for (uint32_t i = 0, n = list->elementCount(); i < n; ++i)
        out.emplace_back(texts[i] ? texts[i] : "");
    return out;
}

void ReportOpenFailed() {
    ShowMessage(app::OpenDatabaseFailed, kIconStop, app::ErrorCaption);
}

const Side& ShownSide() {
    return CurrentPage(ids::MainPages) == 0 ? IncomeSide() : ExpenseSide();
}

// Makes sure the side's index answers for its file (its list listed again
// only when `touchList`); tells the person when the file could not be opened.
bool IndexReady(const Side& side, bool touchList) {
    if (RefreshIndexFromFile(side, touchList)) return true;
    ReportOpenFailed();
    return false;
}

// The exact sums of the chart's categories over the period, from the index's
// per-period, per-category sums. A category listed twice receives the amount
// twice; one in no entry adds nowhere.
std::vector<double> CategorySums(const ItemIndex& index, const ShownPeriod& period,
                                 const std::vector<std::string>& categories) {
    std::vector<std::vector<size_t>> feeds(index.categories().size());
    for (size_t id = 0; id < index.categories().size(); ++id)
        for (size_t i = 0; i < categories.size(); ++i)
            if (categories[i] == index.categories()[id]) feeds[id].push_back(i);
    const std::vector<bool> in = index.periodsIn(period);
    std::vector<RunningTotal> sums(categories.size());
    index.forEachSum([&](uint32_t p, uint32_t c, const RunningTotal& sum) {
        if (in[p])
            for (size_t i : feeds[c]) sums[i].add(sum);
    });
    return std::vector<double>(sums.begin(), sums.end());
}

// The structure view; `touchList` false is the chart-only form. Both lists and
// both totals cover the period the pages name, so the balance is that of one
// period; the pie is the shown side's.
void StructureView(bool touchList) {
    const ShownPeriod period = CurrentPeriod();
    const Side& side = ShownSide();
    if (!IndexReady(side, touchList)) return;
    const std::vector<std::string> categories = Categories(side);
    if (auto show = Hooks().showCategoryTotals)
        show(categories, CategorySums(IndexOfSide(side.income), period, categories));
    if (!touchList) return;
    // Each list holds the period's items and each total their exact sum,
    // whatever their categories.
    ShowPeriodRows(side, period);
    const Side& other = side.income ? ExpenseSide() : IncomeSide();
    if (IndexReady(other, true)) ShowPeriodRows(other, period);
    UpdateStatusTotals();
}

// One side's pass of the trend view over the year the pages name; false when
// its file could not be opened. The entry combo boxes only choose an item's
// category: they filter nothing here.
bool TrendPass(const Side& side, int32_t& maximum, bool touchList) {
    if (!IndexReady(side, touchList)) return false;
    const ShownPeriod period = CurrentPeriod();
    const ItemIndex& index = IndexOfSide(side.income);
    // The month of each period from its month text (a date text always has 1..12).
    std::vector<int32_t> monthOf(index.periods().size());
    const std::vector<bool> in = index.periodsIn(period);
    for (size_t p = 0; p < monthOf.size(); ++p)
        monthOf[p] = in[p] ? MonthNumber(index.periods()[p].month) : 0;
    RunningTotal months[13];
    index.forEachSum([&](uint32_t p, uint32_t, const RunningTotal& sum) {
        if (const int32_t m = monthOf[p]; m >= 1 && m <= 12) months[m].add(sum);
    });
    MonthTotals totals{};
    for (int32_t i = 1; i <= 12; ++i) totals[size_t(i - 1)] = double(months[i]);
    if (auto show = Hooks().showMonthTotals) show(side.income, totals, maximum);
    if (touchList) {
        ShowPeriodRows(side, period);
        UpdateStatusTotals();
    }
    return true;
}

// Both sides' passes share the chart's scale: the expense pass raises what the
// income pass set.
void TrendPasses(bool touchList) {
    int32_t maximum = 0;
    TrendPass(IncomeSide(), maximum, touchList);
    TrendPass(ExpenseSide(), maximum, touchList);
}

// The trend chart covers a whole year: the month pages go back to "月合计",
// so that the pages name what the lists and totals show. Written by the
// program, the page raises no page-change event.
void ShowAllMonths() {
    auto* months = forms::FindControlAs<forms::PageControl>(ids::MainWindow, ids::MonthPages);
    if (months && months->current() != 0) months->setCurrent(0);
}

// Runs the view of the chart page on show: the pie's or the trend's.
void ForShownChart(void (*structure)(), void (*trend)()) {
    (CurrentPage(ids::ChartPages) == 0 ? structure : trend)();
}

}  // namespace

void RefreshStructureView() {
    StructureView(true);
}
void RecomputeStructureChart() {
    StructureView(false);
}
void RefreshTrendView() {
    if (CurrentPage(ids::ChartPages) == 1) TrendPasses(true);
}
void RecomputeTrendChart() {
    // The chart-only form runs whatever page is shown when asked directly.
    TrendPasses(false);
}

void RefreshChartAfterItemChange() {
    ForShownChart(&RecomputeStructureChart, &RecomputeTrendChart);
}

void MainPageChanged() {
    const int32_t page = CurrentPage(ids::MainPages);
    const bool printPage = page == 2 || page == 3;
    WriteProperty(ids::MainWindow, ids::ChartFrame, forms::Prop::kVisible, -1, printPage ? 0 : 1,
                  0);
    if (CurrentPage(ids::ChartPages) == 0) RefreshStructureView();
}

void ChartPageChanged() {
    // Either chart shows the period the pages name: back on the pie, its
    // period is the pages' year and month again.
    if (CurrentPage(ids::ChartPages) == 1) {
        ShowAllMonths();
        RefreshTrendView();
    } else {
        RefreshStructureView();
    }
}

void YearPageChanged() {
    ForShownChart(&RefreshStructureView, &RefreshTrendView);
}

void MonthPageChanged() {
    if (CurrentPage(ids::ChartPages) == 0) {
        RefreshStructureView();
        return;
    }
    ShowMessage(app::MonthInTrendMode, kIconInformation, app::OperationCaption);
    ShowAllMonths();
}

}  // namespace tavrin::finance
