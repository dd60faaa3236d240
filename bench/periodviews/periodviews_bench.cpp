// The period views over 100,000 income and 100,000 expense items (or as many
// as TAVRIN_BENCH_ITEMS says): a month, year or chart page click until the
// program is idle again, and the chart-only redraw that follows an added item.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <string>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/period_views.h"
#include "finance/start_routine.h"
#include "forms/controls.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "item_files.h"
#include "program_start.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/process.h"
#include "window_benchmark_main.h"

namespace {

using namespace tavrin;
namespace ids = app_tpl::ids;

const int kItems = [] {
    const QByteArray items = qgetenv("TAVRIN_BENCH_ITEMS");
    return items.isEmpty() ? 100000 : items.toInt();
}();

// A side's category file and kItems items over its categories, dated over
// 2010..2014, every month.
void WriteSide(bench::Side side, const std::vector<std::string>& categories) {
    bench::WriteCategoryFile(side, categories);
    bench::WriteItemFile(side, categories, {"备注"}, kItems, [&](int i) {
        return bench::ItemRow{size_t(i) % categories.size(), float(10 + i % 90),
                              40179.0 + (i * 7) % 1826, 0};
    });
}

// Selects a page as a click on its tab does, and waits until the program is idle.
void ClickPage(uint32_t pageControl, int page) {
    bench::ClickTab(pageControl, page);
    QApplication::processEvents();
}

struct Program {
    QTemporaryDir dir;
    Program() {
        bench::StartProgramWithMainWindow(dir.path().toStdString(), [] {
            WriteSide(bench::Side::kIncome, {"工资", "奖金", "理财", "兼职"});
            WriteSide(bench::Side::kExpense, {"餐饮", "交通", "住房", "娱乐", "医疗"});
        });
    }
};

Program& TheProgram() {
    static Program program;
    return program;
}

void BM_RefreshStructureView_MonthClick(benchmark::State& state) {
    TheProgram();
    ClickPage(ids::ChartPages, 0);
    int month = 1;
    for (auto _ : state) {
        ClickPage(ids::MonthPages, month);
        month = month % 12 + 1;
    }
    ClickPage(ids::MonthPages, 0);
}
BENCHMARK(BM_RefreshStructureView_MonthClick)->Unit(benchmark::kMillisecond)->Iterations(12);

void BM_RefreshStructureView_Unfiltered(benchmark::State& state) {
    TheProgram();
    ClickPage(ids::ChartPages, 0);
    ClickPage(ids::MonthPages, 0);
    for (auto _ : state) {
        ClickPage(ids::YearPages, 1);  // a year: filtered
        ClickPage(ids::YearPages, 0);  // all years: relists the whole file
    }
}
BENCHMARK(BM_RefreshStructureView_Unfiltered)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RefreshTrendView_ChartPageClick(benchmark::State& state) {
    TheProgram();
    for (auto _ : state) {
        ClickPage(ids::ChartPages, 1);  // the trend view over both files
        state.PauseTiming();
        ClickPage(ids::ChartPages, 0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RefreshTrendView_ChartPageClick)->Unit(benchmark::kMillisecond)->Iterations(5);

// The two halves of the pair above: the year click, then the all-years view.
void BM_YearClick(benchmark::State& state) {
    TheProgram();
    ClickPage(ids::ChartPages, 0);
    ClickPage(ids::MonthPages, 0);
    for (auto _ : state) {
        ClickPage(ids::YearPages, 1);
        state.PauseTiming();
        ClickPage(ids::YearPages, 0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_YearClick)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AllYearsClick(benchmark::State& state) {
    TheProgram();
    ClickPage(ids::ChartPages, 0);
    ClickPage(ids::MonthPages, 0);
    for (auto _ : state) {
        state.PauseTiming();
        ClickPage(ids::YearPages, 1);
        state.ResumeTiming();
        ClickPage(ids::YearPages, 0);
    }
}
BENCHMARK(BM_AllYearsClick)->Unit(benchmark::kMillisecond)->Iterations(5);

// The trend page with a year chosen: a year's items listed on both sides.
void BM_RefreshTrendView_OfAYear(benchmark::State& state) {
    TheProgram();
    ClickPage(ids::ChartPages, 0);
    ClickPage(ids::YearPages, 2);
    for (auto _ : state) {
        ClickPage(ids::ChartPages, 1);
        state.PauseTiming();
        ClickPage(ids::ChartPages, 0);
        state.ResumeTiming();
    }
    ClickPage(ids::YearPages, 0);
}
BENCHMARK(BM_RefreshTrendView_OfAYear)->Unit(benchmark::kMillisecond)->Iterations(5);

// A delete a third of the way into the income list of every year, a month,
// then every month again: timed is the last click, which gives the full
// listing back with the rows after the deleted one numbered anew.
void BM_EveryMonthAfterADelete(benchmark::State& state) {
    TheProgram();
    ClickPage(ids::ChartPages, 0);
    ClickPage(ids::YearPages, 0);
    ClickPage(ids::MonthPages, 0);
    for (auto _ : state) {
        state.PauseTiming();
        forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList)
            ->setCurrentRow(kItems / 3);
        forms::FindControlAs<forms::ButtonControl>(ids::MainWindow, ids::IncomeDeleteButton)
            ->button()
            ->click();
        QApplication::processEvents();
        ClickPage(ids::MonthPages, 3);
        state.ResumeTiming();
        ClickPage(ids::MonthPages, 0);
    }
}
BENCHMARK(BM_EveryMonthAfterADelete)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RecomputeStructureChart(benchmark::State& state) {
    TheProgram();
    ClickPage(ids::ChartPages, 0);
    ClickPage(ids::YearPages, 1);
    for (auto _ : state) {
        finance::RecomputeStructureChart();
        QApplication::processEvents();
    }
    ClickPage(ids::YearPages, 0);
}
BENCHMARK(BM_RecomputeStructureChart)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    bench::RunWindowBenchmarks(argc, argv);
}
