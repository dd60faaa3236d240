// finance_exit_child: the program logic in a temporary program directory, ended
// by one of its three ways (argv[2]: "toolbar", "menu" or "close"). Started by
// finance_exit_test, which checks how the process ends.
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>

#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/bars.h"
#include "forms/window_system.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/shell/application.h"

using namespace tavrin;
namespace ids = app_tpl::ids;

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    finance::InstallProgramWindowSystem();
    InitializeForTests(argc, argv, finance::ProgramImage());
    SetProgramDirectory(Utf8ToGbk(argv[1]), true);
    finance::PrepareGlobalState();
    LoadStartWindow(finance::kMainWindowId);
    const std::string way = argv[2];
    QTimer::singleShot(50, [way] {
        // A database left open, as another handler might leave it.
        const std::string name = Utf8ToGbk("财务收入.edb");
        CallKernel(OpenDatabase, MakeTextRef(name.c_str()));
        std::printf("ending by %s\n", way.c_str());
        std::fflush(stdout);
        if (way == "toolbar") {
            forms::FindControlAs<forms::ToolBarControl>(ids::MainWindow, ids::Toolbar1)
                ->button(14)
                ->click();
        } else if (way == "menu") {
            for (QAction* a : forms::WindowWidget(ids::MainWindow)->findChildren<QAction*>())
                if (a->text() == QStringLiteral("退出")) a->trigger();
        } else {
            forms::WindowWidget(ids::MainWindow)->close();
        }
    });
    RunMessageLoop();
    std::printf("message loop ended\n");
    std::fflush(stdout);
    ExitProgram(0);
}
