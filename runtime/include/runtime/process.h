// The process: initialises the runtime, runs the application's start routine
// and the message loop, and ends the program in a fixed order with the exit
// handler run at most once. Qt Core only: the application object with windows
// comes from the shell above (runtime/shell/application.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/commands.h"
#include "runtime/value.h"

namespace tavrin {

// An event as the window layer raises it: up to 12 arguments, by value or by
// reference (flags bit 0; a handler may change such an argument in place),
// and an optional result handed back to the control.
struct EventArgument {
    uint32_t lo = 0, hi = 0, type = 0, flags = 0;
};
struct EventCall {
    uint32_t windowId = 0;
    uint32_t itemId = 0;
    int32_t eventNumber = 0;
    int32_t argCount = 0;
    EventArgument args[12];
    bool wantsResult = false;
    Value result;
};
using EventHandler = void (*)(EventCall& call);
// An application routine known by name; templates refer to handlers by name.
struct HandlerEntry {
    const char* name;
    EventHandler handler;
};

// Hooks through which the window layer plugs into start, loop and end.
struct WindowSystemHooks {
    // Reads the template segment; false means it is malformed.
    bool (*readTemplates)(const uint8_t* segment, size_t size) = nullptr;
    // Binds handler offsets to application routines.
    void (*bindHandlers)(const HandlerEntry* handlers, size_t count) = nullptr;
    // Creates and shows a window from its template; false when missing or failed.
    bool (*loadStartWindow)(uint32_t windowId) = nullptr;
    bool (*anyWindowAlive)() = nullptr;
    void (*closeAllWindows)() = nullptr;
    void (*destroyTemplates)() = nullptr;
};
void InstallWindowSystem(const WindowSystemHooks& hooks);

// The runtime's services as the libraries reach them (handed over with notify code 1).
struct RuntimeService {
    void* (*windowObject)(uint32_t windowId);                       // null when not created
    void* (*controlObject)(uint32_t windowId, uint32_t controlId);  // null when not created
    const void* (*typeDescriptor)(uint32_t typeId);                 // null when unknown
    void* (*allocate)(size_t n);
    void (*raiseFatalError)(const char* gbkText);
};
// A library's notify function: code 1 at start (with the service), 6 at the end.
using LibraryNotify = void (*)(int32_t code, const RuntimeService* service);
// Registers the notify function of library `index` (0–7, in the program's order).
void RegisterLibraryNotify(int32_t index, LibraryNotify notify);
// The service entry handed to the libraries; the window layer fills its lookups.
RuntimeService& Service();

// What the program image carries into the runtime.
struct ApplicationImage {
    const char* constantSegment = nullptr;
    size_t constantSize = 0;
    const uint8_t* templateSegment = nullptr;
    size_t templateSize = 0;
    const HandlerEntry* handlers = nullptr;
    size_t handlerCount = 0;
    int (*startRoutine)() = nullptr;  // the application's start routine
    // External library functions the program declares (resolved on first call).
    const struct DllCommandDeclaration* dllCommands = nullptr;
    int32_t dllCommandCount = 0;
};

// Records the program directory and runs the start routine in the application
// object that exists already; then ends the program with the routine's result.
[[noreturn]] void RunProgram(const ApplicationImage& image);

// Entry-table routines.
[[noreturn]] void ExitProgram(int32_t code);
void RunMessageLoop();
void LoadStartWindow(uint32_t windowId);
// The numbered routines of MiscRoutine, with their arguments.
enum MiscRoutineNumber : int32_t {
    kMiscNextFoundFile = 0,      // a: GBK pattern, or null to continue a search → text
    kMiscCloseFileSearch = 1,    // ends the search
    kMiscMakeArrayWritable = 2,  // a: ArrayBlock**, b: element width
    kMiscSetExitHandler = 3,     // a: void(*)()
    // a: type id, b: the control object, c: property index, d: array index → payload
    kMiscReadObjectProperty = 4,
    kMiscWriteObjectProperty = 5,  // as the read, e: the payload, lo | hi << 32
    kMiscInitializeRuntime = 6,
};
uint64_t MiscRoutine(int32_t number, uint64_t a = 0, uint64_t b = 0, uint64_t c = 0, uint64_t d = 0,
                     uint64_t e = 0);

// The 13-slot runtime entry table, in slot order.
struct RuntimeEntryTable {
    void (*reportRuntimeError)(int32_t number);
    void* (*callDllCommand)(int32_t index);
    Value (*callLibraryCommand)(int32_t, CommandFunction, int32_t, const Value*);
    Value (*callKernelCommand)(CommandFunction, int32_t, const Value*);
    uint64_t (*readProperty)(uint32_t, uint32_t, int32_t, int32_t);
    void (*writeProperty)(uint32_t, uint32_t, int32_t, int32_t, uint32_t, uint32_t);
    void* (*allocate)(size_t);
    void* (*reallocate)(void*, size_t);
    void (*free)(void*);
    void (*exitProgram)(int32_t code);
    void (*runMessageLoop)();
    void (*loadStartWindow)(uint32_t windowId);
    uint64_t (*miscRoutine)(int32_t number, uint64_t a, uint64_t b, uint64_t c, uint64_t d,
                            uint64_t e);
};
const RuntimeEntryTable& EntryTable();

// Runtime state other layers consult.
bool IsMainThread();
const std::string& ProgramDirectoryGbk();  // no trailing separator
const std::string& ProgramFileNameGbk();
void SetExitHandler(void (*handler)());
// The window and item of the event being handled (0, 0 outside handlers).
struct EventSource {
    uint32_t windowId = 0;
    uint32_t itemId = 0;
};
EventSource CurrentEventSource();
void SetCurrentEventSource(EventSource source);

// Idle callbacks: routine(argument) runs at each idle moment while the window
// exists (walked from the last registered to the first).
void AddIdleCallback(uint32_t windowId, void (*routine)(void*), void* argument,
                     bool (*windowExists)(uint32_t windowId));
// Called by the window layer when a window was destroyed; ends the main loop
// when no window is left.
void NotifyWindowGone();

// Tests: initialise the runtime for an in-process test in the application
// object that exists already (no start routine, no change of directory).
void InitializeRuntimeForTests(const ApplicationImage& image);
// Tests and tools: another program directory, made current when asked.
void SetProgramDirectory(const std::string& gbkDirectory, bool makeCurrent);

}  // namespace tavrin
