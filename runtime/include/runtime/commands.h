// Command calls: every kernel and library command has one shape and is reached
// through the runtime entry table.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace tavrin {

// result, argument count, arguments (in call order; optional ones absent = {0,0,0}).
using CommandFunction = void (*)(Value* result, int32_t argc, const Value* argv);

// Library indices as the program lists its libraries.
enum LibraryIndex : int32_t {
    kCoreLibrary = 0,
    kExtendedUiLibrary = 1,  // report list view, status bar, tool bar
    kPageControlLibrary = 2,
    kDatabaseLibrary = 3,
    kChartLibrary = 4,
    kVisualStyleLibrary = 5,
    kApplicationInterfaceLibrary = 6,
    kScriptLibrary = 7,
};

// Calls a command with a zeroed result and hands the result back.
Value CallKernelCommand(CommandFunction command, int32_t argc, const Value* argv);
// The same; the library index is informative only.
Value CallLibraryCommand(int32_t library, CommandFunction command, int32_t argc, const Value* argv);

// Convenience for application code: CallKernel(ToText, MakeDouble(1.5)).
template <typename... Args>
Value CallKernel(CommandFunction command, const Args&... args) {
    const Value argv[sizeof...(Args) + 1] = {args..., Value{}};
    return CallKernelCommand(command, int32_t(sizeof...(Args)), argv);
}
template <typename... Args>
Value CallLibrary(int32_t library, CommandFunction command, const Args&... args) {
    const Value argv[sizeof...(Args) + 1] = {args..., Value{}};
    return CallLibraryCommand(library, command, int32_t(sizeof...(Args)), argv);
}

// Property access by window id, item id, property index and array index (-1 = none).
// The window layer fills these slots; until then a read yields 0 and a write does nothing.
using ReadPropertyFunction = uint64_t (*)(uint32_t windowId, uint32_t itemId, int32_t index,
                                          int32_t arrayIndex);
using WritePropertyFunction = void (*)(uint32_t windowId, uint32_t itemId, int32_t index,
                                       int32_t arrayIndex, uint32_t lo, uint32_t hi);
void SetPropertySlots(ReadPropertyFunction read, WritePropertyFunction write);
uint64_t ReadProperty(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex = -1);
void WriteProperty(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex,
                   uint32_t lo, uint32_t hi);

// Property access by a control object (as the service entry hands it out) and its
// type id, with the same rules as access by ids; the window layer fills these.
// Until it has, or when the object is not a live control of that type, the
// access ends the program with the fatal error for a missing control.
using ReadObjectPropertyFunction = uint64_t (*)(uint32_t typeId, void* object, int32_t index,
                                                int32_t arrayIndex);
using WriteObjectPropertyFunction = void (*)(uint32_t typeId, void* object, int32_t index,
                                             int32_t arrayIndex, uint32_t lo, uint32_t hi);
void SetObjectPropertySlots(ReadObjectPropertyFunction read, WriteObjectPropertyFunction write);
uint64_t ReadObjectProperty(uint32_t typeId, void* object, int32_t index, int32_t arrayIndex);
void WriteObjectProperty(uint32_t typeId, void* object, int32_t index, int32_t arrayIndex,
                         uint32_t lo, uint32_t hi);

// External library functions declared by the program, resolved on first use.
struct DllCommandDeclaration {
    const char* library;     // GBK; empty: searched in the platform's standard libraries
    const char* exportName;  // "#n" names ordinal n
};
void DeclareDllCommands(const DllCommandDeclaration* table, int32_t count);
// The function's address; an export that cannot be found is fatal.
void* CallDllCommand(int32_t index);

}  // namespace tavrin
