// The save dialog for PDF output and the remembered folder (a value beside the
// print settings in the per-user store).
#include "table/report_pdf_target.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/kernel/registry_commands.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/owned_text.h"
#include "tb_text_constants.h"

namespace tavrin::table {

namespace {

QString RememberedFolder() {
    const std::string gbk = TakeText(CallKernel(ReadRegistryText, MakeInt(kCurrentUser),
                                                MakeTextRef(tb_text::PdfFolderSetting)));
    return gbk.empty() ? QString() : GbkToQString(gbk);
}

void RememberFolder(const QString& folder) {
    const std::string gbk = QStringToGbk(folder);
    CallKernel(WriteRegistry, MakeInt(kCurrentUser), MakeTextRef(tb_text::PdfFolderSetting),
               MakeTextRef(gbk.c_str()));
}

// The folder the dialog starts in: the last one chosen while it still exists,
// else the documents folder, else (when the person has none) the home folder.
QString StartFolder() {
    const QString remembered = RememberedFolder();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

}  // namespace

QString DatedPdfName(const QString& documentName) {
    QString base = documentName.trimmed();
    for (QChar& c : base)
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20) c = u'_';
    return base + QLatin1Char('_') + QDate::currentDate().toString(Qt::ISODate) +
           QStringLiteral(".pdf");
}

QString ChoosePdfFile(const QString& documentName) {
    const QString suggested = QDir(StartFolder()).filePath(DatedPdfName(documentName));
    const QString title = GbkToQString(tb_text::SavePdfTitle);
    const QString filter = GbkToQString(tb_text::PdfFilter);
    QString chosen;
    DialogRequest request;
    request.kind = "save-file";
    request.fields["title"] = title.toStdString();
    request.fields["file"] = suggested.toStdString();
    request.fields["filter"] = filter.toStdString();
    if (auto reply = AnswerDialogAutomatically(request)) {
        if (!reply->accepted) return QString();
        chosen = QString::fromStdString(reply->fields["file"]);
    } else {
        chosen = QFileDialog::getSaveFileName(nullptr, title, suggested, filter);
    }
    if (chosen.isEmpty()) return QString();
    if (QFileInfo(chosen).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) != 0)
        chosen += QStringLiteral(".pdf");
    RememberFolder(QFileInfo(chosen).absolutePath());
    return chosen;
}

void ReportPdfNotWritten(const QString& path) {
    ShowMessageBox(std::string(tb_text::PdfWriteFailed) + QStringToGbk(path),
                   tb_text::PdfWriteFailedCaption, kIconStop);
}

}  // namespace tavrin::table
