// Sorting a list of 100,000 items by a header click, until the program is idle
// again: by amount (numbers) and by time (dates), each click flipping the direction.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

#include "app_tpl_templates.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "item_files.h"
#include "program_start.h"
#include "window_benchmark_main.h"

namespace {

using namespace tavrin;
namespace ids = app_tpl::ids;

constexpr int kItems = 100000;

struct Program {
    QTemporaryDir dir;
    Program() {
        bench::StartProgramWithMainWindow(dir.path().toStdString(), [] {
            const std::vector<std::string> categories{"工资", "奖金", "理财", "兼职"};
            bench::WriteCategoryFile(bench::Side::kIncome, categories);
            bench::WriteItemFile(bench::Side::kIncome, categories, {"备注"}, kItems, [&](int i) {
                return bench::ItemRow{size_t(i) % categories.size(), float((i * 7919) % 100000) / 4,
                                      40179.0 + (i * 7) % 1826, 0};
            });
        });
    }
};

Program& TheProgram() {
    static Program program;
    return program;
}

// A click on the header of a column of 收入信息列表, then the events it left.
void ClickHeader(int column) {
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    QHeaderView* header = list->view()->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

void BM_SortByAmount(benchmark::State& state) {
    TheProgram();
    for (auto _ : state) ClickHeader(1);
}
BENCHMARK(BM_SortByAmount)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SortByDate(benchmark::State& state) {
    TheProgram();
    for (auto _ : state) ClickHeader(3);
}
BENCHMARK(BM_SortByDate)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    bench::RunWindowBenchmarks(argc, argv);
}
