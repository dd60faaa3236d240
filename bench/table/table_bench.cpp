// A print table of 10,000 and of 100,000 rows × 6 columns built the way the
// print code builds one (texts, sizes, merged title, row colours, lines, fixed
// rows) through the data source commands, then its preview opened until the
// first page has been drawn. Memory is reported as counters.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <string>

#include "forms/template_format.h"
#include "forms/window_system.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/shell/application.h"
#include "table/ds_commands.h"
#include "table/print_preview.h"
#include "table/print_settings.h"
#include "table/table_kinds.h"
#include "tbb_templates.h"

using namespace tavrin;
using namespace tavrin::table;

namespace {

constexpr int32_t kColumns = 6;
const Value kAbsent{};
const std::string kTemplate =
    "TVTABLE 1\ntable 4 1\nheight 50\nwidth 300\nfont 30 " + Utf8ToGbk("宋体") + "\n";

Value Source() {
    return MakeControlRef(tbb::ids::BenchWindow, tbb::ids::Source, forms::TypeId::kTableDataSource);
}
Value Int(int32_t v) {
    return MakeInt(v);
}

double PeakRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

void Build(int32_t n) {
    const Value s = Source();
    std::string block(8, '\0');
    const uint32_t header[2] = {1, uint32_t(kTemplate.size())};
    std::memcpy(block.data(), header, 8);
    block += kTemplate;
    CallKernel(DsLoad, s, MakeByteSetRef(reinterpret_cast<const ByteSetBlock*>(block.data())));
    CallKernel(DsAddColumns, s, Int(2), Int(kColumns - 1));
    CallKernel(DsAppendRows, s, Int(n));
    const int32_t h = CallKernel(DsRowHeight, s, Int(1)).asInt();
    CallKernel(DsInsertRows, s, Int(1), kAbsent, Int(h * 3));
    CallKernel(DsInsertRows, s, Int(3), kAbsent, Int(1));
    CallKernel(DsInsertRows, s, Int(4), kAbsent, Int(h * 8 / 5));
    CallKernel(DsInsertRows, s, Int(5), Int(n), Int(h * 3 / 2));
    for (int32_t c = 1; c <= kColumns; ++c)
        CallKernel(DsInsertColumns, s, Int(c), kAbsent, Int(300));
    CallKernel(DsMergeCells, s, Int(1), Int(1), kAbsent, Int(kColumns));
    CallKernel(DsSetCellText, s, Int(1), Int(1), MakeTextRef(Utf8ToGbk("收入明细表").c_str()));
    const std::string category = Utf8ToGbk("餐饮"), time = Utf8ToGbk("2012年5月1日8时30分");
    char serial[16], amount[32];
    for (int32_t i = 1; i <= n; ++i) {
        std::snprintf(serial, sizeof serial, "%d", i);
        std::snprintf(amount, sizeof amount, "%d.%02d", (i * 37) % 5000, i % 100);
        CallKernel(DsSetCellText, s, Int(4 + i), Int(1), MakeTextRef(serial));
        CallKernel(DsSetCellText, s, Int(4 + i), Int(2), MakeTextRef(amount));
        CallKernel(DsSetCellText, s, Int(4 + i), Int(3), MakeTextRef(category.c_str()));
        CallKernel(DsSetCellText, s, Int(4 + i), Int(4), MakeTextRef(time.c_str()));
        CallKernel(DsSetCellText, s, Int(4 + i), Int(5), MakeTextRef(amount));
        CallKernel(DsSetCellText, s, Int(4 + i), Int(6), MakeTextRef(serial));
        CallKernel(DsSetBackColor, s, Int(4 + i), Int(1), kAbsent, Int(kColumns),
                   Int(i % 2 ? 0xDEEFEF : 0xCEDFDE));
    }
    CallKernel(DsSetBorders, s, Int(4), Int(1), Int(n + 1), Int(kColumns), Int(48));
    CallKernel(DsSetFontSize, s, Int(4), Int(1), Int(n + 1), Int(kColumns), Int(30));
    CallKernel(DsSetCellFormat, s, Int(4), Int(1), kAbsent, Int(kColumns), Int(1));
    CallKernel(DsSetFixedRows, s, Int(4));
    static PrintSettings settings;
    settings.paper = 2;
    settings.pageNumberPosition = 5;
    CallKernel(DsPrintSettings, s, MakePrintSettingsValue(&settings));
}

// Opens the preview and runs events until its first page is drawn; the page count.
int32_t PreviewToFirstPage() {
    const int32_t pages = CallKernel(DsPrintPreview, Source()).asInt();
    PrintPreviewWindow* preview = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<PrintPreviewWindow*>(w)) preview = p;
    while (preview && preview->pageView()->pagesDrawn() == 0) {
        preview->pageView()->viewport()->repaint();
        QCoreApplication::processEvents();
    }
    if (preview) {
        preview->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return pages;
}

void BM_BuildAndPreview(benchmark::State& state) {
    const int32_t rows = int32_t(state.range(0));
    int32_t pages = 0;
    for (auto _ : state) {
        Build(rows);
        pages = PreviewToFirstPage();
    }
    state.counters["pages"] = pages;
    state.counters["peak_rss_MB"] = PeakRssMb();
}
BENCHMARK(BM_BuildAndPreview)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The preview alone, of a one-page table and of a 3,125-page one: pages are
// laid out once and only the page in sight is drawn.
void BM_PreviewOnly(benchmark::State& state) {
    Build(int32_t(state.range(0)));
    int32_t pages = 0;
    for (auto _ : state) pages = PreviewToFirstPage();
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PreviewOnly)->Arg(25)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    forms::InstallWindowSystem(tbb::kHandlerNames, tbb::kHandlerNameCount);
    RegisterTableKinds();
    ApplicationImage image;
    image.templateSegment = tbb::kTemplateSegment;
    image.templateSize = tbb::kTemplateSegmentSize;
    InitializeForTests(argc, argv, image);
    if (!forms::LoadWindow(tbb::ids::BenchWindow)) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
