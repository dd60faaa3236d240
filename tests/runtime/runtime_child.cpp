// A small program on the runtime, started by the lifecycle tests as a child
// process: each mode ends the program in one of the ways the runtime supports.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "runtime/errors.h"
#include "runtime/gbk.h"
#include "runtime/message_box.h"
#include "runtime/shell/application.h"

using namespace tavrin;

namespace {

std::string g_mode;
QWidget* g_window = nullptr;

void ExitHandler() {
    std::printf("EXIT-HANDLER\n");
}

void Notify(int32_t code, const RuntimeService* service) {
    std::printf("NOTIFY %d %s\n", code, service && service->allocate ? "with-service" : "");
}

bool g_idleSeen = false;
void OnIdle(void*) {
    if (!g_idleSeen) std::printf("IDLE\n");
    g_idleSeen = true;
}
bool WindowExists(uint32_t) {
    return g_window != nullptr;
}

// A stand-in window system with one plain window.
bool LoadWindow(uint32_t) {
    g_window = new QWidget;
    g_window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(g_window, &QObject::destroyed, [] {
        g_window = nullptr;
        NotifyWindowGone();
    });
    g_window->show();
    return true;
}
bool AnyWindowAlive() {
    return g_window != nullptr;
}
void CloseAll() {
    delete g_window;
}

int StartRoutine() {
    MiscRoutine(kMiscInitializeRuntime);
    MiscRoutine(kMiscSetExitHandler, uint64_t(reinterpret_cast<uintptr_t>(&ExitHandler)));
    if (g_mode == "fatal4") ReportRuntimeError(4);
    if (g_mode == "cwd") {
        FILE* f = std::fopen("relative.txt", "w");
        if (f) {
            std::fputs("here", f);
            std::fclose(f);
        }
        return 0;
    }
    LoadStartWindow(0x52010001);
    AddIdleCallback(0x52010001, &OnIdle, nullptr, &WindowExists);
    if (g_mode == "normal") QTimer::singleShot(50, [] { g_window->close(); });
    if (g_mode == "thread") {
        std::thread([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            ExitProgram(7);
        }).detach();
    }
    RunMessageLoop();
    std::printf("LOOP-ENDED\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    g_mode = argc > 1 ? argv[1] : "";
    SetMessageBoxResponder([](const MessageBoxRequest& r) {
        std::string text = GbkToUtf8(r.text);
        for (size_t i; (i = text.find("\r\n")) != std::string::npos;) text.replace(i, 2, "|");
        std::printf("BOX caption=%s style=%u text=%s\n", GbkToUtf8(r.caption).c_str(), r.style,
                    text.c_str());
        return 0;
    });
    if (g_mode != "nostart") {
        WindowSystemHooks hooks;
        hooks.loadStartWindow = &LoadWindow;
        hooks.anyWindowAlive = &AnyWindowAlive;
        hooks.closeAllWindows = &CloseAll;
        InstallWindowSystem(hooks);
    }
    RegisterLibraryNotify(3, &Notify);
    ApplicationImage image;
    image.startRoutine = &StartRoutine;
    RunApplication(argc, argv, image);
}
