// The report list view through its commands at the size a long-kept household
// ledger reaches: a million rows appended with LvInsertItem and four
// LvSetItemText calls each, the view repainted scrolled to the middle and to
// the end, and LvDeleteAll of those rows. Peak RSS is reported as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QScrollBar>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "forms/commands/list_view_commands.h"
#include "forms/report_list.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "lvb_templates.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/shell/application.h"

using namespace tavrin;
using namespace tavrin::form_commands;

namespace {

constexpr int32_t kRows = 1'000'000;
const Value kAbsent{};

Value List() {
    return MakeControlRef(lvb::ids::BenchWindow, lvb::ids::List, forms::TypeId::kReportList);
}

forms::ReportListControl* ListControl() {
    return forms::FindControlAs<forms::ReportListControl>(lvb::ids::BenchWindow, lvb::ids::List);
}

double PeakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

double CurrentRssMb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// What the listing code of the program appends: serial, amount, category, time, remark.
void AppendRows(int32_t count) {
    const Value list = List();
    const std::string category = Utf8ToGbk("餐饮"), time = Utf8ToGbk("2012年5月1日8时30分"),
                      remark = Utf8ToGbk("午餐 同事聚会");
    char serial[16], amount[32];
    for (int32_t i = 0; i < count; ++i) {
        std::snprintf(serial, sizeof serial, "%d", i + 1);
        std::snprintf(amount, sizeof amount, "%d.%02d", (i * 37) % 5000, i % 100);
        const int32_t row = CallLibrary(1, LvInsertItem, list, MakeInt(-1), MakeTextRef(serial),
                                        kAbsent, kAbsent, kAbsent, kAbsent)
                                .asInt();
        CallLibrary(1, LvSetItemText, list, MakeInt(row), MakeInt(1), MakeTextRef(amount));
        CallLibrary(1, LvSetItemText, list, MakeInt(row), MakeInt(2),
                    MakeTextRef(category.c_str()));
        CallLibrary(1, LvSetItemText, list, MakeInt(row), MakeInt(3), MakeTextRef(time.c_str()));
        CallLibrary(1, LvSetItemText, list, MakeInt(row), MakeInt(4), MakeTextRef(remark.c_str()));
    }
    QCoreApplication::processEvents();  // the view learns of the rows
}

void DeleteAll() {
    CallLibrary(1, LvDeleteAll, List());
    QCoreApplication::processEvents();
}

void BM_AppendMillionRows(benchmark::State& state) {
    const double before = CurrentRssMb();
    for (auto _ : state) {
        state.PauseTiming();
        DeleteAll();
        state.ResumeTiming();
        AppendRows(kRows);
    }
    state.counters["rows"] = CallLibrary(1, LvItemCount, List()).asInt();
    state.counters["rss_growth_MB"] = CurrentRssMb() - before;
    state.counters["peak_rss_MB"] = PeakRssMb();
}
BENCHMARK(BM_AppendMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// One full repaint of the visible rows, the view scrolled to `fraction` of the list.
void Repaint(benchmark::State& state, double fraction) {
    if (CallLibrary(1, LvItemCount, List()).asInt() != kRows) {
        DeleteAll();
        AppendRows(kRows);
    }
    auto* view = ListControl()->view();
    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(int(bar->maximum() * fraction));
    QCoreApplication::processEvents();
    for (auto _ : state) {
        bar->setValue(bar->value() == int(bar->maximum() * fraction)
                          ? int(bar->maximum() * fraction) - 1
                          : int(bar->maximum() * fraction));
        view->viewport()->repaint();
    }
    state.counters["first_visible_row"] = view->indexAt(QPoint(1, 1)).row();
}
void BM_ScrollRepaintMiddle(benchmark::State& state) {
    Repaint(state, 0.5);
}
void BM_ScrollRepaintEnd(benchmark::State& state) {
    Repaint(state, 1.0);
}
BENCHMARK(BM_ScrollRepaintMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollRepaintEnd)->Unit(benchmark::kMillisecond);

// The start-up's AutoSizeColumns: every column fitted with -2 over a million rows.
void BM_AutoSizeColumns(benchmark::State& state) {
    if (CallLibrary(1, LvItemCount, List()).asInt() != kRows) {
        DeleteAll();
        AppendRows(kRows);
    }
    for (auto _ : state) {
        const int32_t n = CallLibrary(1, LvColumnCount, List()).asInt();
        for (int32_t c = 0; c < n; ++c)
            CallLibrary(1, LvSetColumnWidth, List(), MakeInt(c), MakeInt(-2));
    }
}
BENCHMARK(BM_AutoSizeColumns)->Unit(benchmark::kMillisecond);

void BM_DeleteAllMillionRows(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        if (CallLibrary(1, LvItemCount, List()).asInt() != kRows) {
            DeleteAll();
            AppendRows(kRows);
        }
        state.ResumeTiming();
        CallLibrary(1, LvDeleteAll, List());
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_DeleteAllMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    forms::InstallWindowSystem(lvb::kHandlerNames, lvb::kHandlerNameCount);
    ApplicationImage image;
    image.templateSegment = lvb::kTemplateSegment;
    image.templateSize = lvb::kTemplateSegmentSize;
    InitializeForTests(argc, argv, image);
    if (!forms::LoadWindow(lvb::ids::BenchWindow)) return 1;
    QCoreApplication::processEvents();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
