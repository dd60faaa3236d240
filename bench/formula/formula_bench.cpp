// Sorting the income list of 100,000 items by its amount column, from the
// header click until the program is idle (the view repainted), and one
// four-term formula column evaluated for 10,000 print rows: compiled once and
// called per row, against substituting each row's texts and evaluating them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/report_list.h"
#include "forms/script_host.h"
#include "forms/window_system.h"
#include "formula_evaluation.h"
#include "item_files.h"
#include "program_start.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/process.h"
#include "window_benchmark_main.h"

namespace {

using namespace tavrin;
namespace ids = app_tpl::ids;

constexpr int kItems = 100000;
constexpr int kPrintRows = 10000;

// Income items over 2010..2014 with spread amounts.
void WriteIncomeItems() {
    bench::WriteItemFile(bench::Side::kIncome, {"工资"}, {"备注"}, kItems, [](int i) {
        return bench::ItemRow{0, float((i * 7919) % 100000) / 100.0f, 40179.0 + (i * 7) % 1826, 0};
    });
}

struct Program {
    QTemporaryDir dir;
    Program() { bench::StartProgramWithMainWindow(dir.path().toStdString(), WriteIncomeItems); }
};

Program& TheProgram() {
    static Program program;
    return program;
}

void BM_SortByAmount_HeaderClickToIdle(benchmark::State& state) {
    TheProgram();
    auto* list = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, ids::IncomeList);
    QHeaderView* header = list->view()->header();
    const QPoint amount(header->sectionViewportPosition(1) + header->sectionSize(1) / 2,
                        header->height() / 2);
    for (auto _ : state) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, amount);
        list->view()->viewport()->repaint();
        QApplication::processEvents();
    }
    state.counters["rows"] = list->itemCount();
    state.counters["first"] = std::stod(list->itemText(0, 1));
}
BENCHMARK(BM_SortByAmount_HeaderClickToIdle)->Unit(benchmark::kMillisecond)->Iterations(10);

// Print rows as the print table holds them: serial, amount, category, time, remark.
struct PrintRows {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    PrintRows() {
        for (const char* h : {"序号", "收入金额", "收入类型", "收入时间", "备注信息"})
            headers.push_back(Utf8ToGbk(h));
        for (int i = 0; i < kPrintRows; ++i) {
            const Value amount = CallKernel(ToText, MakeFloat(float((i * 7919) % 100000) / 100.0f));
            rows.push_back({std::to_string(i + 1), std::string(TextOf(amount)), Utf8ToGbk("工资"),
                            Utf8ToGbk("2012年5月1日"), Utf8ToGbk("备注")});
            Free(amount.pointer());
        }
    }
};

const char* const kFormula = "[收入金额]*2+[序号]-[收入金额]/4+0.5";

template <bool Compiled>
void BM_FormulaColumn(benchmark::State& state) {
    TheProgram();
    static const PrintRows print;
    forms::ScriptHost host("JScript");
    size_t filled = 0;
    for (auto _ : state) {
        printing::FormulaRowEvaluator evaluator(host, Utf8ToGbk(kFormula), print.headers);
        for (const auto& row : print.rows) {
            const std::vector<std::string_view> cells(row.begin(), row.end());
            const std::string value = Compiled ? evaluator.evaluate(cells)
                                               : host.evaluate(printing::SubstituteRow(
                                                     Utf8ToGbk(kFormula), print.headers, cells));
            filled += !value.empty();
        }
        state.counters["compiled"] = evaluator.compiled();
    }
    state.counters["filled"] = double(filled) / double(state.iterations());
}
BENCHMARK(BM_FormulaColumn<true>)
    ->Name("BM_FormulaColumn_Compiled")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_FormulaColumn<false>)
    ->Name("BM_FormulaColumn_SubstitutedTexts")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    bench::RunWindowBenchmarks(argc, argv);
}
