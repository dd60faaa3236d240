// The process: start, message loop, program end and the cross-thread end request.
#include "runtime/process.h"

#include <fnmatch.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "rt_text_constants.h"
#include "runtime/commands.h"
#include "runtime/errors.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"

namespace tavrin {
namespace {

// The private message that carries an end request to the main thread.
constexpr int kEndRequestMessage = 33767;

class EndRequestEvent : public QEvent {
  public:
    explicit EndRequestEvent(int32_t exitCode)
        : QEvent(QEvent::Type(kEndRequestMessage)), code(exitCode) {}
    int32_t code;
};

// The runtime's hidden receiver on the main thread: end requests from other
// threads are posted to it and run there.
class EndRequestReceiver : public QObject {
  protected:
    void customEvent(QEvent* e) override {
        if (e->type() == QEvent::Type(kEndRequestMessage))
            ExitProgram(static_cast<EndRequestEvent*>(e)->code);
    }
};

struct IdleCallback {
    uint32_t windowId;
    void (*routine)(void*);
    void* argument;
    bool (*windowExists)(uint32_t);
};

struct RuntimeState {
    ApplicationImage image;
    WindowSystemHooks hooks;
    std::string programDirectory;  // GBK, no trailing separator
    std::string programFileName;   // GBK
    Qt::HANDLE mainThread = nullptr;
    EndRequestReceiver* endReceiver = nullptr;
    std::atomic<bool> cleanupStarted{false};
    void (*exitHandler)() = nullptr;
    EventSource eventSource;
    std::vector<IdleCallback> idle;
    bool loopStarted = false;
    bool idleConnected = false;
    LibraryNotify notify[8] = {};
    // File search (misc routine 0/1).
    QStringList found;
    int foundNext = 0;
};

RuntimeState& S() {
    static RuntimeState* s = new RuntimeState;  // lives until the process ends
    return *s;
}

// The executable's path from the kernel, split into directory and file name.
void RecordProgramPath() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string path = n > 0 ? std::string(buf, size_t(n)) : std::string("./tavrin");
    size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string(".")
                            : slash == 0               ? std::string("/")
                                                       : path.substr(0, slash);
    S().programDirectory = Utf8ToGbk(dir);
    S().programFileName = Utf8ToGbk(slash == std::string::npos ? path : path.substr(slash + 1));
}

void RunIdleCallbacks() {
    auto& idle = S().idle;
    for (size_t i = idle.size(); i-- > 0;) {
        if (i >= idle.size()) continue;
        IdleCallback cb = idle[i];
        if (cb.windowExists && !cb.windowExists(cb.windowId)) {
            idle.erase(idle.begin() + long(i));
            continue;
        }
        cb.routine(cb.argument);
    }
}

void ConnectIdle() {
    if (S().idleConnected) return;
    auto* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread());
    if (dispatcher == nullptr) return;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [] {
        if (ErrorExitNesting() == 0) RunIdleCallbacks();
    });
    S().idleConnected = true;
}

// After a fatal report: the ordered end, without the exit handler.
void EndAfterFatalError(int32_t code) {
    SetExitHandler(nullptr);
    ExitProgram(code);
}

[[noreturn]] void RaiseFatalService(const char* gbkText) {
    ReportFatalError(gbkText);
}

void NotifyLibraries(int32_t code) {
    for (LibraryNotify n : S().notify)
        if (n != nullptr) n(code, &Service());
}

// Runtime initialisation; tests keep their own current directory.
void InitializeRuntime(bool enterProgramDirectory) {
    RuntimeState& s = S();
    // Relative file names resolve in the program directory from here on.
    if (enterProgramDirectory && chdir(NativePath(s.programDirectory).c_str()) != 0)
        std::fprintf(stderr, "tavrin: cannot enter the program directory\n");
    s.mainThread = QThread::currentThreadId();
    InstallFatalEnd(&EndAfterFatalError);
    if (s.endReceiver == nullptr) s.endReceiver = new EndRequestReceiver;
    ClearNonHeapRanges();
    if (s.image.constantSegment != nullptr)
        RegisterNonHeapRange(s.image.constantSegment, s.image.constantSize);
    RegisterNonHeapRange(rt_text::SegmentBegin(), rt_text::SegmentSize());
    DeclareDllCommands(s.image.dllCommands, s.image.dllCommandCount);
    ConnectIdle();
    NotifyLibraries(1);
    if (s.hooks.readTemplates != nullptr && s.image.templateSegment != nullptr) {
        if (!s.hooks.readTemplates(s.image.templateSegment, s.image.templateSize))
            ReportFatalError(rt_text::TemplateSegmentBroken);
    }
    if (s.hooks.bindHandlers != nullptr)
        s.hooks.bindHandlers(s.image.handlers, s.image.handlerCount);
}

// Next file of the search started with a GBK pattern (directory part + wildcards).
char* NextFoundFile(const char* gbkPattern) {
    RuntimeState& s = S();
    if (gbkPattern != nullptr) {
        s.found.clear();
        s.foundNext = 0;
        std::string native = NativePath(gbkPattern);
        size_t slash = native.find_last_of('/');
        QString dir = slash == std::string::npos ? QStringLiteral(".")
                                                 : QString::fromStdString(native.substr(0, slash));
        std::string mask = slash == std::string::npos ? native : native.substr(slash + 1);
        if (dir.isEmpty()) dir = QStringLiteral("/");
        const QStringList entries = QDir(dir).entryList(
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QString& e : entries) {
            QByteArray u = e.toUtf8();
            if (fnmatch(mask.c_str(), u.constData(), FNM_CASEFOLD) == 0) s.found.push_back(e);
        }
    }
    if (s.foundNext >= s.found.size()) return nullptr;
    return CopyText(QStringToGbk(s.found[s.foundNext++]));
}

void ReportRuntimeErrorSlot(int32_t number) {
    ReportRuntimeError(number);
}
void ExitProgramSlot(int32_t code) {
    ExitProgram(code);
}

}  // namespace

void InstallWindowSystem(const WindowSystemHooks& hooks) {
    S().hooks = hooks;
}

RuntimeService& Service() {
    static RuntimeService service{nullptr, nullptr, nullptr, &Allocate, &RaiseFatalService};
    return service;
}

void RegisterLibraryNotify(int32_t index, LibraryNotify notify) {
    if (index >= 0 && index < 8) S().notify[index] = notify;
}

void RunProgram(const ApplicationImage& image) {
    RecordProgramPath();
    S().image = image;
    InstallFatalEnd(&EndAfterFatalError);
    int result = image.startRoutine ? image.startRoutine() : 0;
    ExitProgram(result);
}

void InitializeRuntimeForTests(const ApplicationImage& image) {
    S().image = image;
    if (S().programDirectory.empty()) RecordProgramPath();
    InitializeRuntime(false);
}

void SetProgramDirectory(const std::string& gbkDirectory, bool makeCurrent) {
    S().programDirectory = gbkDirectory;
    if (makeCurrent && chdir(NativePath(gbkDirectory).c_str()) != 0)
        std::fprintf(stderr, "tavrin: cannot enter %s\n", NativePath(gbkDirectory).c_str());
}

[[noreturn]] void ExitProgram(int32_t code) {
    RuntimeState& s = S();
    IncrementErrorExitNesting();
    if (s.mainThread != nullptr && !IsMainThread()) {
        if (!s.cleanupStarted.load() && s.endReceiver != nullptr) {
            // The main thread runs the clean-up and ends the process; this waits for it.
            QMetaObject::invokeMethod(
                s.endReceiver, [code] { ExitProgram(code); }, Qt::BlockingQueuedConnection);
        }
        if (!s.cleanupStarted.load()) {
            std::fflush(nullptr);
            std::_Exit(code);
        }
        for (;;) pause();  // the main thread is ending the process
    }
    if (!s.cleanupStarted.exchange(true)) {
        if (s.hooks.closeAllWindows) s.hooks.closeAllWindows();
        if (s.hooks.destroyTemplates) s.hooks.destroyTemplates();
        if (void (*handler)() = s.exitHandler) {
            s.exitHandler = nullptr;
            handler();
        }
        NotifyLibraries(6);
        for (LibraryNotify& n : s.notify) n = nullptr;
        s.idle.clear();
        s.programDirectory.clear();
        s.programFileName.clear();
    }
    std::fflush(nullptr);
    std::_Exit(code);
}

void RunMessageLoop() {
    RuntimeState& s = S();
    s.loopStarted = true;
    if (s.hooks.anyWindowAlive == nullptr || !s.hooks.anyWindowAlive()) return;
    ConnectIdle();
    QCoreApplication::exec();
}

void NotifyWindowGone() {
    RuntimeState& s = S();
    if (!s.loopStarted || s.cleanupStarted.load()) return;
    if (s.hooks.anyWindowAlive == nullptr || !s.hooks.anyWindowAlive()) QCoreApplication::quit();
}

void LoadStartWindow(uint32_t windowId) {
    RuntimeState& s = S();
    if (s.hooks.loadStartWindow == nullptr || !s.hooks.loadStartWindow(windowId))
        ReportFatalError(rt_text::StartWindowFailed);
}

uint64_t MiscRoutine(int32_t number, uint64_t a, uint64_t b, uint64_t c, uint64_t d, uint64_t e) {
    void* object = reinterpret_cast<void*>(uintptr_t(b));
    switch (number) {
        case kMiscNextFoundFile:
            return uint64_t(reinterpret_cast<uintptr_t>(
                NextFoundFile(reinterpret_cast<const char*>(uintptr_t(a)))));
        case kMiscCloseFileSearch:
            S().found.clear();
            S().foundNext = 0;
            return 0;
        case kMiscMakeArrayWritable: {
            auto** variable = reinterpret_cast<ArrayBlock**>(uintptr_t(a));
            if (variable) *variable = MakeArrayWritable(*variable, uint32_t(b));
            return 0;
        }
        case kMiscSetExitHandler:
            SetExitHandler(reinterpret_cast<void (*)()>(uintptr_t(a)));
            return 0;
        case kMiscReadObjectProperty:
            return ReadObjectProperty(uint32_t(a), object, int32_t(c), int32_t(d));
        case kMiscWriteObjectProperty:
            WriteObjectProperty(uint32_t(a), object, int32_t(c), int32_t(d), uint32_t(e),
                                uint32_t(e >> 32));
            return 0;
        case kMiscInitializeRuntime:
            InitializeRuntime(true);
            return 0;
        default:
            return 0;
    }
}

bool IsMainThread() {
    return S().mainThread == nullptr || QThread::currentThreadId() == S().mainThread;
}
const std::string& ProgramDirectoryGbk() {
    if (S().programDirectory.empty()) RecordProgramPath();
    return S().programDirectory;
}
const std::string& ProgramFileNameGbk() {
    return S().programFileName;
}
void SetExitHandler(void (*handler)()) {
    S().exitHandler = handler;
}
EventSource CurrentEventSource() {
    return S().eventSource;
}
void SetCurrentEventSource(EventSource source) {
    S().eventSource = source;
}

void AddIdleCallback(uint32_t windowId, void (*routine)(void*), void* argument,
                     bool (*windowExists)(uint32_t)) {
    S().idle.push_back(IdleCallback{windowId, routine, argument, windowExists});
}

const RuntimeEntryTable& EntryTable() {
    static const RuntimeEntryTable table = {
        &ReportRuntimeErrorSlot,
        &CallDllCommand,
        &CallLibraryCommand,
        &CallKernelCommand,
        &ReadProperty,
        &WriteProperty,
        &Allocate,
        &Reallocate,
        &Free,
        &ExitProgramSlot,
        &RunMessageLoop,
        &LoadStartWindow,
        &MiscRoutine,
    };
    return table;
}

}  // namespace tavrin
