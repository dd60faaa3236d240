// Status bar texts, page titles, the visual style switch and the shell open.
#include "forms/commands/library_commands.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStyle>

#include "forms/bars.h"
#include "forms/commands/command_support.h"
#include "forms/page_control.h"
#include "runtime/gbk.h"

namespace tavrin::form_commands {

namespace {

DocumentOpener& Opener() {
    static DocumentOpener opener;
    return opener;
}

// The style the program started with, remembered on the first switch.
QString& PlatformStyleName() {
    static QString name;
    return name;
}

constexpr const char* kThemedStyle = "Fusion";

}  // namespace

void StatusSetText(Value* result, int32_t argc, const Value* argv) {
    if (auto* bar = RequireControlAs<forms::StatusBarControl>(argc, argv))
        bar->setPaneText(IntArg(ArgAt(argc, argv, 1)), TextArg(ArgAt(argc, argv, 2)));
    *result = Value{};
}

void PageTitle(Value* result, int32_t argc, const Value* argv) {
    auto* pages = RequireControlAs<forms::PageControl>(argc, argv);
    SetTextResult(result, pages ? pages->pageTitle(IntArg(ArgAt(argc, argv, 1))) : std::string());
}

void SetVisualStyle(Value* result, int32_t argc, const Value* argv) {
    const int32_t style = IntArg(ArgAt(argc, argv, 0));
    QString& platform = PlatformStyleName();
    if (platform.isEmpty() && QApplication::style() != nullptr)
        platform = QApplication::style()->name();
    const bool themed = style >= 1 && style <= 3;
    const QString wanted = themed ? QString::fromLatin1(kThemedStyle) : platform;
    // Switching to the style already in use would only re-polish every widget.
    const bool inUse = QApplication::style() &&
                       QApplication::style()->name().compare(wanted, Qt::CaseInsensitive) == 0;
    if (!inUse && !wanted.isEmpty())
        QApplication::setStyle(wanted);  // an unknown name changes nothing
    *result = MakeInt(themed && QApplication::style() &&
                      QApplication::style()->name().compare(wanted, Qt::CaseInsensitive) == 0);
}

QUrl DocumentUrl(std::string_view gbkAddress) {
    const QString address = GbkToQString(gbkAddress).trimmed();
    // A scheme of one letter is a drive ("C:\..."), not an address.
    const QUrl url(address, QUrl::TolerantMode);
    if (url.isValid() && url.scheme().size() > 1) return url;
    const QString path = QString::fromStdString(NativePath(QStringToGbk(address)));
    return QUrl::fromLocalFile(QFileInfo(QDir::current(), path).absoluteFilePath());
}

void OpenDocument(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    const std::string_view address = TextArg(ArgAt(argc, argv, 0));
    if (address.empty()) return;
    const QUrl url = DocumentUrl(address);
    if (Opener())
        Opener()(url);
    else
        QDesktopServices::openUrl(url);
}

void SetDocumentOpener(DocumentOpener opener) {
    Opener() = std::move(opener);
}

}  // namespace tavrin::form_commands
