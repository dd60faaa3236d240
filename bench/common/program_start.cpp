// The program's start for benchmarks and tools.
#include "program_start.h"

#include <QApplication>
#include <QFile>
#include <QTabBar>
#include <QThread>
#include <cstdio>

#include "app/program_wiring.h"
#include "app_tpl_templates.h"
#include "finance/handlers.h"
#include "finance/start_routine.h"
#include "forms/page_control.h"
#include "forms/window_system.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"
#include "runtime/shell/application.h"

namespace bench {

using namespace tavrin;

namespace {

// The runtime started with `image` over the directory, message boxes answered.
void StartImage(int argc, char** argv, const std::string& directoryUtf8,
                const ApplicationImage& image) {
    InitializeForTests(argc, argv, image);
    SetProgramDirectory(Utf8ToGbk(directoryUtf8), true);
    SetMessageBoxResponder([](const MessageBoxRequest& r) {
        std::fprintf(stderr, "message: %s\n", GbkToUtf8(r.text).c_str());
        return int32_t(kButtonOk);
    });
}

}  // namespace

void StartProgram(int argc, char** argv, const std::string& directoryUtf8) {
    finance::InstallProgramWindowSystem();
    app::InstallChartsAndPrinting();
    StartImage(argc, argv, directoryUtf8, app::ProgramImage());
}

void StartRecordKeeping(int argc, char** argv, const std::string& directoryUtf8) {
    finance::InstallProgramWindowSystem();
    StartImage(argc, argv, directoryUtf8, finance::ProgramImage());
}

void StartProgramAsItself(int argc, char** argv, const std::string& directoryUtf8,
                          const std::function<void()>& writeSample) {
    StartProgram(argc, argv, directoryUtf8);
    if (writeSample && !QFile::exists(QString::fromStdString(directoryUtf8 + "/财务收入.edb")))
        writeSample();
    finance::PrepareGlobalState();
    LoadStartWindow(finance::kMainWindowId);
}

void StartProgramWithMainWindow(const std::string& directoryUtf8,
                                const std::function<void()>& writeData) {
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    StartProgram(1, argv, directoryUtf8);
    writeData();
    forms::LoadWindow(app_tpl::ids::MainWindow, 0, false, true);
    QApplication::processEvents();
}

void ClickTab(uint32_t pageControl, int page) {
    forms::FindControlAs<forms::PageControl>(app_tpl::ids::MainWindow, pageControl)
        ->tabBar()
        ->setCurrentIndex(page);
}

void Settle(int rounds, int pauseMs) {
    for (int i = 0; i < rounds; ++i) {
        QApplication::processEvents();
        if (pauseMs > 0) QThread::msleep(pauseMs);
    }
}

}  // namespace bench
