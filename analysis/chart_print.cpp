// ChartPrint and the tool-bar's chart printing.
#include "chart_print.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "analysis/charts/chart_widget.h"
#include "analysis_text_constants.h"
#include "app_tpl_templates.h"
#include "chart_controls.h"
#include "forms/commands/printer_commands.h"
#include "forms/template_format.h"
#include "runtime/gbk.h"
#include "table/report_pdf_target.h"
#include "ui/window_access.h"

namespace tavrin::analysis {

using namespace tavrin;
namespace ids = app_tpl::ids;

namespace {
constexpr uint32_t kPrinterType = forms::TypeId::kPrinter;
}

void ChartPrint(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    if (argc < 2) return;
    const Value& chartRef = argv[0];
    const Value& printerRef = argv[argc - 1];
    if (printerRef.type != kPrinterType) return;
    charts::ChartWidget* chart = FindChart(chartRef.lo, chartRef.hi);
    QPainter* painter = form_commands::PrintJobPainter(printerRef.lo, printerRef.hi);
    QPrinter* printer = form_commands::PrintJobPrinter(printerRef.lo, printerRef.hi);
    if (chart == nullptr || painter == nullptr || printer == nullptr) return;

    const QRectF area = printer->pageRect(QPrinter::DevicePixel);
    QRect page(0, 0, int(area.width()), int(area.height()));
    const double perUnit = printer->resolution() / 96.0;  // device pixels per 1/96 inch
    auto given = [&](int i) { return i < argc - 1 && argv[i].present(); };
    if (given(1)) page.moveLeft(int(argv[1].asInt() * perUnit));
    if (given(2)) page.moveTop(int(argv[2].asInt() * perUnit));
    if (given(3)) page.setWidth(int(argv[3].asInt() * perUnit));
    if (given(4)) page.setHeight(int(argv[4].asInt() * perUnit));
    if (page.width() <= 0 || page.height() <= 0) return;
    chart->PrintOnto(*painter, page);
}

namespace {

// With no printer on the system the chart goes to a PDF file the person names:
// one landscape page, the chart laid over its printable area.
void PrintChartToPdf(const charts::ChartWidget& chart, const QString& name) {
    const QString file = table::ChoosePdfFile(name);
    if (file.isEmpty()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setDocName(name);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer)) {
        table::ReportPdfNotWritten(file);
        return;
    }
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    chart.PrintOnto(painter, QRect(0, 0, int(area.width()), int(area.height())));
    if (!painter.end()) table::ReportPdfNotWritten(file);
}

}  // namespace

void PrintShownChart() {
    const bool pie = ui::CurrentPage(ids::ChartPages) == 0;
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        charts::ChartWidget* chart =
            FindChart(ids::MainWindow, pie ? ids::PieChart1 : ids::LineChart1);
        const bool income = ui::CurrentPage(ids::MainPages) == 0;
        const char* name = !pie     ? analysis_text::TrendDocument
                           : income ? analysis_text::IncomeStructureDocument
                                    : analysis_text::ExpenseStructureDocument;
        if (chart != nullptr) PrintChartToPdf(*chart, GbkToQString(name));
        return;
    }
    const Value printer = MakeControlRef(ids::MainWindow, ids::Printer1, kPrinterType);
    const Value none{};
    const Value args[] = {printer, none, none, none, MakeInt(1), none, none};
    const Value started = CallKernelCommand(&form_commands::StartPrinting, 7, args);
    if (!started.asBool()) return;
    const Value chart = pie ? MakeControlRef(ids::MainWindow, ids::PieChart1, kPieChartType)
                            : MakeControlRef(ids::MainWindow, ids::LineChart1, kLineChartType);
    const Value printArgs[] = {chart, none, none, none, none, printer};
    CallLibraryCommand(kChartLibrary, &ChartPrint, 6, printArgs);
    CallKernelCommand(&form_commands::EndPrinting, 1, &printer);
}

}  // namespace tavrin::analysis
