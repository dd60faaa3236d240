// ToolbarCommand and the two web pages of the help pop-up menu.
#include "toolbar.h"

#include "app_constants.h"
#include "clearing_backup.h"
#include "finance/hooks.h"
#include "finance/item_history.h"
#include "forms/commands/library_commands.h"
#include "forms/window_system.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/process.h"
#include "ui/window_access.h"
#include "year_pages.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace fc = tavrin::form_commands;

namespace {

void OpenDocument(const char* gbkAddress) {
    CallLibrary(kApplicationInterfaceLibrary, fc::OpenDocument, MakeTextRef(gbkAddress));
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
            ShowMainPage(0);
            break;
        case 5:
            ShowMainPage(1);
            break;
        case 7:
            RunHook(Hooks().openPrintSettings);
            break;
        case 8:
            RunHook(Hooks().printChart);
            break;
        case 10:
            UndoItemStep();
            break;
        case 11:
            RedoItemStep();
            break;
        case 13:
            forms::LoadWindow(ids::AboutWindow, ids::MainWindow, true);
            break;
        case 14:
            CallKernel(CloseAllDatabases);
            ExitProgram(0);
        default:
            break;  // a click on 12 itself does nothing
    }
}

void OpenBlogPage() {
    OpenDocument(app::BlogAddress);
}
void OpenDownloadPage() {
    OpenDocument(app::DownloadAddress);
}

}  // namespace tavrin::finance
