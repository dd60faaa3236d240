// The period views over 100,000 income and 100,000 expense items: a month,
// year or chart page click until the program is idle again, and the chart-only
// redraw that follows an added item.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTabBar>
#include <QTemporaryDir>
#include <string>

#include "analysis/analysis_setup.h"
#include "analysis/period_views.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/page_control.h"
#include "forms/window_system.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/runtime_app.h"

namespace {

using namespace tavrin;
namespace ids = app_tpl::ids;

constexpr int kItems = 100000;

void WriteItems(const char* utf8File, const char* const fields[4], const char* const* categories,
                int categoryCount) {
    ArrayBlock* array = NewFieldInfArray(4);
    FieldInf* f = FieldInfElements(array);
    const int32_t types[4] = {10, 5, 8, 10}, sizes[4] = {20, 20, 20, 50};
    std::string names[4];
    for (int i = 0; i < 4; ++i) {
        names[i] = Utf8ToGbk(fields[i]);
        f[i] = FieldInf{names[i].c_str(), types[i], sizes[i]};
    }
    const std::string file = Utf8ToGbk(utf8File);
    CallKernel(CreateDatabase, MakeTextRef(file.c_str()), MakeFieldInfArray(array));
    Free(array);
    CallKernel(OpenDatabase, MakeTextRef(file.c_str()));
    std::string cats[8];
    for (int c = 0; c < categoryCount; ++c) cats[c] = Utf8ToGbk(categories[c]);
    const std::string remark = Utf8ToGbk("备注");
    for (int i = 0; i < kItems; ++i) {
        CallKernel(AppendBlankRecord);
        CallKernel(WriteField, MakeInt(1), MakeTextRef(cats[i % categoryCount].c_str()));
        CallKernel(WriteField, MakeInt(2), MakeFloat(float(10 + i % 90)));
        // Dates over 2010..2014, every month.
        CallKernel(WriteField, MakeInt(3), MakeDateTime(40179.0 + (i * 7) % 1826));
        CallKernel(WriteField, MakeInt(4), MakeTextRef(remark.c_str()));
    }
    CallKernel(CloseDatabase);
}

void WriteCategories(const char* utf8File, const char* utf8Field, const char* const* texts,
                     int n) {
    ArrayBlock* array = NewFieldInfArray(1);
    const std::string field = Utf8ToGbk(utf8Field), file = Utf8ToGbk(utf8File);
    *FieldInfElements(array) = FieldInf{field.c_str(), 10, 20};
    CallKernel(CreateDatabase, MakeTextRef(file.c_str()), MakeFieldInfArray(array));
    Free(array);
    CallKernel(OpenDatabase, MakeTextRef(file.c_str()));
    for (int i = 0; i < n; ++i) {
        const std::string t = Utf8ToGbk(texts[i]);
        CallKernel(AppendBlankRecord);
        CallKernel(WriteField, MakeInt(1), MakeTextRef(t.c_str()));
    }
    CallKernel(CloseDatabase);
}

// Selects a page as a click on its tab does, and waits until the program is idle.
void ClickPage(uint32_t pageControl, int page) {
    auto* pages = forms::FindControlAs<forms::PageControl>(ids::MainWindow, pageControl);
    pages->tabBar()->setCurrentIndex(page);
    QApplication::processEvents();
}

struct Program {
    QTemporaryDir dir;
    Program() {
        static int argc = 1;
        static char name[] = "bench";
        static char* argv[] = {name, nullptr};
        finance::InstallProgramWindowSystem();
        InitializeForTests(argc, argv, finance::ProgramImage());
        analysis::InstallAnalysis();
        SetProgramDirectory(Utf8ToGbk(dir.path().toStdString()), true);
        SetMessageBoxResponder([](const MessageBoxRequest&) { return int32_t(kButtonOk); });
        static const char* const income[] = {"工资", "奖金", "理财", "兼职"};
        static const char* const expense[] = {"餐饮", "交通", "住房", "娱乐", "医疗"};
        static const char* const incomeFields[] = {"收入类型", "收入金额", "收入时间", "收入备注信息"};
        static const char* const expenseFields[] = {"支出类型", "支出金额", "支出时间", "备注信息"};
        WriteCategories("收入类型.edb", "收入类型值", income, 4);
        WriteCategories("支出类型.edb", "支出类型值", expense, 5);
        WriteItems("财务收入.edb", incomeFields, income, 4);
        WriteItems("财务支出.edb", expenseFields, expense, 5);
        forms::LoadWindow(ids::MainWindow, 0, false, true);
        QApplication::processEvents();
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

void BM_RecomputeStructureChart(benchmark::State& state) {
    TheProgram();
    ClickPage(ids::ChartPages, 0);
    ClickPage(ids::YearPages, 1);
    for (auto _ : state) {
        analysis::RecomputeStructureChart();
        QApplication::processEvents();
    }
    ClickPage(ids::YearPages, 0);
}
BENCHMARK(BM_RecomputeStructureChart)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::_Exit(0);
}
