// Paper numbers and form names as page sizes, and where a document goes when
// it is written to a PDF file.
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <iterator>

#include "forms/commands/printer_commands.h"
#include "runtime/gbk.h"
#include "runtime/process.h"

namespace tavrin::form_commands {

namespace {

// Platform paper codes of paper numbers 1 to 16.
constexpr int kPaperCodes[] = {8, 9, 11, 12, 13, 15, 93, 94, 1, 5, 7, 6, 3, 18, 4, 14};

}  // namespace

std::optional<QPageSize> PageSizeOfPaperNumber(int32_t number) {
    int code = 0;
    if (number >= 1 && number <= int32_t(std::size(kPaperCodes)))
        code = kPaperCodes[number - 1];
    else if (number >= 1000)
        code = number - 999;
    if (code == 0) return std::nullopt;
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom) return std::nullopt;
    return QPageSize(id);
}

std::optional<QPageSize> PageSizeOfFormName(const QString& name) {
    const QString wanted = name.trimmed();
    if (wanted.isEmpty()) return std::nullopt;
    for (int i = 0; i <= int(QPageSize::LastPageSize); ++i) {
        const auto id = QPageSize::PageSizeId(i);
        if (id == QPageSize::Custom) continue;
        if (QPageSize::name(id).compare(wanted, Qt::CaseInsensitive) == 0 ||
            QPageSize::key(id).compare(wanted, Qt::CaseInsensitive) == 0)
            return QPageSize(id);
    }
    return std::nullopt;
}

QString UniquePdfPath(const QString& directory, const QString& documentTitle) {
    QString base = documentTitle.trimmed();
    // A title may hold characters a file name cannot.
    for (QChar& c : base)
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20) c = u'_';
    if (base.isEmpty()) base = QStringLiteral("print");
    const QDir dir(directory);
    QString path = dir.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return path;
}

QString DefaultPrintDirectory() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents;
    return QString::fromStdString(NativePath(ProgramDirectoryGbk()));
}

}  // namespace tavrin::form_commands
