// Print documents on the printer component: the dialog (through the dialog
// seam), the target (a printer, a chosen file, or a PDF file when the system
// has no printer), paper and orientation, the painter the charts draw with,
// and the progress window.
#include "forms/commands/printer_commands.h"

#include <QFileDialog>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>
#include <map>
#include <memory>

#include "fc_text_constants.h"
#include "forms/commands/command_support.h"
#include "forms/controls.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"

namespace tavrin::form_commands {

namespace {

// One running document. The job owns its printer so that a window closed in
// the middle of a document cannot pull the device from under the painter.
struct PrintJob {
    std::unique_ptr<QPrinter> printer;
    QPainter painter;
    std::unique_ptr<QWidget> progress;
    QMetaObject::Connection watch;

    ~PrintJob() {
        QObject::disconnect(watch);
        if (painter.isActive()) painter.end();  // ends the page and writes the document
        if (progress) progress->close();
    }
};

using JobKey = std::pair<uint32_t, uint32_t>;
std::map<JobKey, std::unique_ptr<PrintJob>>& Jobs() {
    static auto* jobs = new std::map<JobKey, std::unique_ptr<PrintJob>>;
    return *jobs;
}

PrintJob* FindJob(uint32_t windowId, uint32_t printerId) {
    auto it = Jobs().find({windowId, printerId});
    return it == Jobs().end() ? nullptr : it->second.get();
}

QString Field(const DialogReply& reply, const char* key) {
    auto it = reply.fields.find(key);
    return it == reply.fields.end() ? QString() : QString::fromStdString(it->second);
}

// "a|b|c|d||" as a file dialog filter list.
QString FilterList(const QString& platformFilter) {
    const QStringList parts = platformFilter.split(u'|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters.join(QStringLiteral(";;"));
}

// The print-to-file question; empty when cancelled.
QString AskOutputFile() {
    DialogRequest request;
    request.kind = "save-file";
    request.fields["title"] = GbkToUtf8(fc_text::PrintToFileTitle);
    request.fields["file"] = GbkToUtf8(fc_text::PrintToFileName);
    request.fields["filter"] = GbkToUtf8(fc_text::PrintToFileFilter);
    if (auto reply = AnswerDialogAutomatically(request))
        return reply->accepted
                   ? QString::fromStdString(NativePath(Utf8ToGbk(reply->fields["file"])))
                   : QString();
    return QFileDialog::getSaveFileName(nullptr, GbkToQString(fc_text::PrintToFileTitle),
                                        GbkToQString(fc_text::PrintToFileName),
                                        FilterList(GbkToQString(fc_text::PrintToFileFilter)));
}

void SendToFile(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

void ApplyPaper(QPrinter& printer, int32_t argc, const Value* argv) {
    const Value& paper = ArgAt(argc, argv, 3);
    if (!paper.present()) return;
    std::optional<QPageSize> size;
    if (paper.type == TypeCode::kText) {
        std::string form(TextArg(paper));
        if (form.size() > 31) form.resize(31);
        const QString name = GbkToQString(form);
        for (const QPageSize& s : QPrinterInfo(printer).supportedPageSizes())
            if (s.name().compare(name, Qt::CaseInsensitive) == 0) size = s;
        if (!size) size = PageSizeOfFormName(name);
    } else {
        const int32_t number = IntArg(paper);
        const int32_t width = IntOr(argc, argv, 5, 0), height = IntOr(argc, argv, 6, 0);
        if (number == -1 && width > 0 && height > 0)
            size = QPageSize(QSizeF(width / 10.0, height / 10.0), QPageSize::Millimeter, QString(),
                             QPageSize::ExactMatch);
        else
            size = PageSizeOfPaperNumber(number);
        if (!size && printer.outputFormat() == QPrinter::NativeFormat) {
            const QPageSize fallback = QPrinterInfo(printer).defaultPageSize();
            if (fallback.isValid()) size = fallback;
        }
    }
    if (size && size->isValid()) printer.setPageSize(*size);
}

QString FillIn(QString pattern, std::initializer_list<QString> args) {
    for (const QString& a : args) {
        const int at = int(pattern.indexOf(QStringLiteral("%s")));
        if (at < 0) break;
        pattern.replace(at, 2, a);
    }
    return pattern;
}

std::unique_ptr<QWidget> ShowProgress(const QPrinter& printer) {
    auto window = std::make_unique<QWidget>(nullptr, Qt::Dialog);
    window->setWindowTitle(GbkToQString(fc_text::PrintProgressCaption));
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(
        new QLabel(FillIn(GbkToQString(fc_text::PrintProgressDocument), {printer.docName()})));
    if (printer.outputFileName().isEmpty()) {
        const QPrinterInfo info(printer);
        const QString port = info.location().isEmpty() ? QStringLiteral("CUPS") : info.location();
        layout->addWidget(new QLabel(
            FillIn(GbkToQString(fc_text::PrinterOnPort), {printer.printerName(), port})));
    } else {
        layout->addWidget(new QLabel(
            FillIn(GbkToQString(fc_text::PrintProgressFile), {printer.outputFileName()})));
    }
    window->show();
    window->repaint();
    return window;
}

}  // namespace

bool RunPrintDialog(QPrinter& printer) {
    DialogRequest request;
    request.kind = "print";
    request.fields["document"] = printer.docName().toStdString();
    request.fields["printer"] =
        printer.outputFormat() == QPrinter::NativeFormat ? printer.printerName().toStdString() : "";
    request.fields["output"] = printer.outputFileName().toStdString();
    request.fields["copies"] = std::to_string(printer.copyCount());
    if (auto reply = AnswerDialogAutomatically(request)) {
        if (!reply->accepted) return false;
        const QString name = Field(*reply, "printer");
        if (!name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name)) {
            printer.setOutputFormat(QPrinter::NativeFormat);
            printer.setPrinterName(name);
        }
        const QString output = Field(*reply, "output");
        if (!output.isEmpty()) SendToFile(printer, output);
        if (Field(*reply, "printToFile") == QStringLiteral("1")) {
            const QString file = AskOutputFile();
            if (file.isEmpty()) return false;
            SendToFile(printer, file);
        }
        if (const int copies = Field(*reply, "copies").toInt(); copies > 0)
            printer.setCopyCount(copies);
        return true;
    }
    // Qt's dialog asks for the output file itself when the user prints to a file.
    QPrintDialog dialog(&printer);
    return dialog.exec() == QDialog::Accepted;
}

void StartPrinting(Value* result, int32_t argc, const Value* argv) {
    forms::Control& control = RequireControl(argc, argv);
    *result = MakeBool(false);
    auto* component = dynamic_cast<forms::PrinterControl*>(&control);
    if (component == nullptr) return;
    const JobKey key{control.windowId(), control.itemId()};
    Jobs().erase(key);  // a document left open is finished first

    auto job = std::make_unique<PrintJob>();
    job->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& printer = *job->printer;
    const std::string& title = component->documentTitle();
    printer.setDocName(
        GbkToQString(title.empty() ? std::string(fc_text::DefaultDocumentTitle) : title));
    const bool havePrinter = !QPrinterInfo::availablePrinterNames().isEmpty();
    if (!havePrinter)
        SendToFile(printer, UniquePdfPath(DefaultPrintDirectory(), printer.docName()));

    const bool showDialog = !Present(argc, argv, 1) || BoolArg(argv[1]);
    if ((showDialog || !havePrinter) && !RunPrintDialog(printer)) return;
    if (printer.outputFormat() == QPrinter::NativeFormat && !printer.isValid())
        SendToFile(printer, UniquePdfPath(DefaultPrintDirectory(), printer.docName()));

    ApplyPaper(printer, argc, argv);
    if (Present(argc, argv, 4))
        printer.setPageOrientation(IntArg(argv[4]) == 1 ? QPageLayout::Landscape
                                                        : QPageLayout::Portrait);

    if (!job->painter.begin(&printer)) return;
    if (!Present(argc, argv, 2) || BoolArg(argv[2])) job->progress = ShowProgress(printer);
    job->watch = QObject::connect(&control, &QObject::destroyed, [key] { Jobs().erase(key); });
    Jobs()[key] = std::move(job);
    *result = MakeBool(true);
}

void EndPrinting(Value* result, int32_t argc, const Value* argv) {
    forms::Control& control = RequireControl(argc, argv);
    Jobs().erase({control.windowId(), control.itemId()});
    *result = Value{};
}

QPainter* PrintJobPainter(uint32_t windowId, uint32_t printerId) {
    PrintJob* job = FindJob(windowId, printerId);
    return job && job->painter.isActive() ? &job->painter : nullptr;
}

QPrinter* PrintJobPrinter(uint32_t windowId, uint32_t printerId) {
    PrintJob* job = FindJob(windowId, printerId);
    return job ? job->printer.get() : nullptr;
}

}  // namespace tavrin::form_commands
