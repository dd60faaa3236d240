// Printer choice and the print loop of the report engine.
#include "report_print.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "forms/commands/printer_commands.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"
#include "table/report_painter.h"
#include "table/report_pdf_target.h"
#include "tb_text_constants.h"

namespace tavrin::table {

namespace {

void SendToPdf(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

}  // namespace

bool ChoosePrinter(QPrinter& printer, const QString& title) {
    printer.setDocName(title);
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        if (!form_commands::RunPrintDialog(printer)) return false;
        if (printer.outputFormat() != QPrinter::NativeFormat || printer.isValid()) return true;
    }
    // No printer (or the chosen one is gone): the person names the PDF file.
    const QString file = ChoosePdfFile(title);
    if (file.isEmpty()) return false;
    SendToPdf(printer, file);
    return true;
}

QString PrintProgressText(int copy, int copies, int page, int pages, const QString& printer) {
    QString text = GbkToQString(tb_text::PrintProgress);
    for (int v : {copy, copies, page, pages}) {
        const qsizetype at = text.indexOf(QStringLiteral("%d"));
        if (at >= 0) text.replace(at, 2, QString::number(v));
    }
    const qsizetype at = text.indexOf(QStringLiteral("%s"));
    if (at >= 0) text.replace(at, 2, printer);
    return text;
}

bool PrintReport(QPrinter& printer, const CellModel& model, const PrintSettings& settings,
                 const ReportLayout& layout, const std::function<void(const QString&)>& progress) {
    // The engine places everything itself: the full paper, no printer margins.
    printer.setFullPage(true);
    printer.setPageOrientation(settings.orientation == 1 ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait);
    printer.setPageSize(PaperOfNumber(settings.paper));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    const QString target =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const double dots = printer.resolution() / 254.0;  // device pixels per 0.1 mm
    const int pages = layout.pageCount();
    for (int copy = 1; copy <= copies; ++copy)
        for (int page = 0; page < pages; ++page) {
            if (copy > 1 || page > 0) printer.newPage();
            if (progress) progress(PrintProgressText(copy, copies, page + 1, pages, target));
            painter.save();
            painter.scale(dots, dots);
            DrawReportPage(painter, model, layout, settings, page);
            painter.restore();
        }
    return painter.end();
}

}  // namespace tavrin::table
