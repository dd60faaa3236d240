// The shell's start: the QApplication, the program's language and the message
// box dialog, then the runtime's own start.
#include "runtime/shell/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

#include "message_box_dialog.h"
#include "runtime/message_box.h"

namespace tavrin {
namespace {

int g_argc = 1;
char g_arg0[] = "tavrin";
char* g_argv[] = {g_arg0, nullptr};

// Standard buttons, calendars and dialogs speak the program's language: Qt's own
// Chinese translations, and Chinese as the locale of date pickers and calendars.
// Numbers never pass through QLocale: the kernel converts them itself.
void InstallProgramLanguage(QCoreApplication* app) {
    static bool installed = false;
    if (installed || app == nullptr) return;
    installed = true;
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(app);
    if (translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        std::fprintf(stderr, "tavrin: Qt's Chinese translations are not installed\n");
        delete translator;
    }
}

void EnsureApplication(int argc, char** argv) {
    SetMessageBoxPresenter(&PresentMessageBox);
    if (QCoreApplication::instance() != nullptr) {
        InstallProgramLanguage(QCoreApplication::instance());
        return;
    }
    if (argc <= 0 || argv == nullptr) {
        argc = g_argc;
        argv = g_argv;
    }
    static int keptArgc;
    keptArgc = argc;
    auto* app = new QApplication(keptArgc, argv);
    app->setQuitOnLastWindowClosed(false);
    InstallProgramLanguage(app);
}

}  // namespace

void RunApplication(int argc, char** argv, const ApplicationImage& image) {
    EnsureApplication(argc, argv);
    RunProgram(image);
}

void InitializeForTests(int argc, char** argv, const ApplicationImage& image) {
    EnsureApplication(argc, argv);
    InitializeRuntimeForTests(image);
}

}  // namespace tavrin
