// ToolbarCommand and the help pop-up menu.
#include "finance/toolbar.h"

#include <QDesktopServices>
#include <QUrl>

#include "app_constants.h"
#include "finance/clearing_backup.h"
#include "finance/hooks.h"
#include "finance/ui.h"
#include "forms/window_system.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/runtime_app.h"

namespace finance {

using namespace tavrin;

namespace {

DocumentOpener& Opener() {
    static DocumentOpener opener;
    return opener;
}

void OpenDocument(const char* gbkAddress) {
    const std::string address = GbkToUtf8(gbkAddress);
    if (Opener()) {
        Opener()(address);
        return;
    }
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));  // failure is not reported
}

}  // namespace

void ToolbarCommand(int32_t index) {
    switch (index) {
        case 1:
            ClearAllData();
            break;
        case 2:
            BackupDataFiles();
            break;
        case 4:
            SetCurrentPage(ids::MainPages, 0);
            break;
        case 5:
            SetCurrentPage(ids::MainPages, 1);
            break;
        case 7:
            RunHook(Hooks().openPrintSettings);
            break;
        case 8:
            RunHook(Hooks().printChart);
            break;
        case 13:
            forms::LoadWindow(ids::AboutWindow, ids::MainWindow, true);
            break;
        case 14:
            CallKernel(CloseAllDatabases);
            ExitProgram(0);
        default:
            break;  // 10 and 11 are disabled; a click on 12 itself does nothing
    }
}

void ShowHelpMenu() {
    forms::PopupMenu(ids::MainWindow, ids::HelpPopupMenu, std::nullopt);
}
void OpenBlogPage() {
    OpenDocument(app::BlogAddress);
}
void OpenDownloadPage() {
    OpenDocument(app::DownloadAddress);
}

void SetDocumentOpener(DocumentOpener opener) {
    Opener() = std::move(opener);
}

}  // namespace finance
