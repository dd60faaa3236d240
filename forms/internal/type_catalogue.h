// The type catalogue: one TypeInfo per window, control and record kind, and
// one LibraryInfo per library of the program (eight of them).
#pragma once

#include <cstdint>
#include <vector>

#include "forms/control.h"
#include "runtime/commands.h"
#include "runtime/process.h"

namespace tavrin::forms {

constexpr uint32_t kTypeWindowUnit = 0x40;  // can raise events
constexpr uint32_t kTypeMenu = 0x04;
constexpr uint32_t kLibraryVersionStamp = 0x01312D65;

// Interface numbers of a type's operations.
constexpr int32_t kInterfaceWriteProperty = 4;
constexpr int32_t kInterfaceReadProperty = 6;
constexpr int32_t kInterfaceKeyboardFocus = 8;

// A type's read and write operations work on a live control.
using ReadOperation = bool (*)(Control* control, int32_t number, PropertyData& out);
using WriteOperation = bool (*)(Control* control, int32_t number, const PropertyData& in);
using KeyboardFocusOperation = void (*)(Control* control);

struct TypeInfo {
    uint32_t typeId;
    const char* name;  // GBK
    const char* englishName;
    const char* description;  // GBK
    uint32_t stateFlags;
    // The property table; for registered kinds the registry's table wins.
    const PropertyInfo* properties;
    int32_t propertyCount;
    // Interface function: the operation of an interface number, or null.
    void* (*interface)(int32_t number);
};

struct LibraryInfo {
    uint32_t versionStamp;
    const char* name;      // GBK
    const char* identity;  // the library's identity text
    int32_t majorVersion, minorVersion;
    const TypeInfo* types;
    int32_t typeCount;
    const CommandFunction* commands;
    int32_t commandCount;
    // 1: the runtime hands over its service entry; 6: the program is ending.
    LibraryNotify notify;
};

constexpr int32_t kLibraryCount = 8;

// One TypeInfo per built-in kind, grouped by the library that holds it.
class TypeCatalogue {
  public:
    TypeCatalogue();
    const TypeInfo* find(uint32_t typeId) const;
    // The eight libraries in the program's order (index 0 = core), the core one
    // with the window commands and notify routine it is given.
    std::vector<LibraryInfo> libraries(const CommandFunction* coreCommands,
                                       int32_t coreCommandCount, LibraryNotify coreNotify) const;

  private:
    std::vector<TypeInfo> types_;
    std::vector<std::vector<TypeInfo>> byLibrary_;
};

// The window system holds the catalogue beside the registered kinds and
// answers these (window_system_object.cpp).
const TypeInfo* FindTypeInfo(uint32_t typeId);
bool IsWindowUnit(uint32_t typeId);
// The property table of a type: the registered kind's, else the catalogue's.
const PropertyInfo* FindPropertyInfo(uint32_t typeId, int32_t number);
// The core library's notify function: keeps the service entry, and on the end
// of the program drops it.
void CoreLibraryNotify(int32_t code, const RuntimeService* service);
// The service entry as handed over (null before notify code 1).
const RuntimeService* HandedService();

}  // namespace tavrin::forms
