// The print of an income list of 10,000 and of 100,000 items with one formula
// column ("[收入金额]*2") and the statistics row over the amounts: from the
// click on 打印预览 in the print settings window until the preview has drawn
// its first page. The window is opened and filled in outside the timing.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "analysis/analysis_setup.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/controls.h"
#include "forms/window_system.h"
#include "formula_columns.h"
#include "item_files.h"
#include "print_settings_window.h"
#include "program_start.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/kernel/registry_commands.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/process.h"
#include "table/data_source.h"
#include "table/print_preview.h"

namespace {

using namespace tavrin;
namespace ids = app_tpl::ids;

// n income items over 2010..2014 with spread amounts.
void WriteIncomeItems(int n) {
    bench::WriteItemFile(bench::Side::kIncome, {"工资"}, {"备注"}, n, [](int i) {
        return bench::ItemRow{0, float((i * 7919) % 100000) / 100.0f, 40179.0 + (i * 7) % 1826, 0};
    });
}

void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The program over a directory of its own holding n income items.
struct Program {
    QTemporaryDir dir;
    explicit Program(int n) {
        static bool started = [this] {
            static char name[] = "bench";
            static char* argv[] = {name, nullptr};
            bench::StartProgram(1, argv, dir.path().toStdString());
            return true;
        }();
        (void)started;
        SetProgramDirectory(Utf8ToGbk(dir.path().toStdString()), true);
        SetSettingsDirectory(dir.path().toStdString() + "/config");
        finance::ResetRunStateForTests();
        WriteIncomeItems(n);
        forms::LoadWindow(ids::MainWindow, 0, false, true);
        Settle();
    }
    ~Program() {
        forms::CloseWindow(ids::MainWindow, true);
        Settle();
    }
};

// Opens the settings window and fills it in as a person would.
void FillInSettings() {
    printing::OpenPrintSettings();
    Settle();
    const uint32_t w = ids::PrintSettingsWindow;
    auto* columns = forms::FindControlAs<forms::ListBoxControl>(w, ids::PrintColumnList);
    columns->list()->item(1)->setCheckState(Qt::Checked);  // 收入金额
    columns->list()->item(2)->setCheckState(Qt::Checked);  // 收入类型
    printing::AddFormulaColumn(Utf8ToGbk("双倍金额"), Utf8ToGbk("[收入金额]*2"));
    forms::FindControlAs<forms::CheckControl>(w, ids::StatisticsSummaryRadio)->button()->click();
}

table::PrintPreviewWindow* Preview() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<table::PrintPreviewWindow*>(w); p && p->isVisible()) return p;
    return nullptr;
}

void BM_PrintPreviewToFirstPage(benchmark::State& state) {
    const int n = int(state.range(0));
    Program program(n);
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FillInSettings();
        auto* button = forms::FindControlAs<forms::ButtonControl>(ids::PrintSettingsWindow,
                                                                  ids::PrintPreviewButton);
        state.ResumeTiming();
        button->button()->click();
        table::PrintPreviewWindow* preview = Preview();
        while (preview && preview->pageView()->pagesDrawn() == 0) {
            preview->pageView()->viewport()->repaint();
            QApplication::processEvents();
        }
        state.PauseTiming();
        if (preview == nullptr) {
            state.SkipWithError("no preview");
            break;
        }
        // The formula column (after 收入金额 and 收入类型) holds the last row's value.
        auto* table = forms::FindControlAs<table::DataSourceControl>(ids::PrintBackgroundWindow,
                                                                     ids::PrintSource);
        if (table == nullptr || table->cells()->text(n + 3, 2).empty()) {
            state.SkipWithError("the formula column was not filled");
            break;
        }
        pages = preview->pageCount();
        preview->close();
        Settle();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintPreviewToFirstPage)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
