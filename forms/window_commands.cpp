// LoadWindow, CloseWindow, IsLoaded and PopupMenu as commands, and the library table that lists
// them.
#include "internal/window_commands.h"

#include "forms/window_system.h"
#include "internal/window_system_object.h"

namespace tavrin::forms {

namespace {
bool Present(int32_t argc, const Value* argv, int32_t i) {
    return i < argc && argv[i].present();
}
}  // namespace

void LoadWindowCommand(Value* result, int32_t argc, const Value* argv) {
    const uint32_t windowId = argc > 0 ? argv[0].lo : 0;
    const uint32_t parent = Present(argc, argv, 1) ? argv[1].lo : 0;
    const bool modal = Present(argc, argv, 2) && argv[2].lo != 0;
    *result = MakeBool(LoadWindow(windowId, parent, modal));
}

void CloseWindowCommand(Value* result, int32_t argc, const Value* argv) {
    if (argc < 1) return;
    const bool immediately = Present(argc, argv, 1) && argv[1].lo != 0;
    CloseWindow(argv[0].lo, immediately);
    *result = Value{};
}

void IsLoadedCommand(Value* result, int32_t argc, const Value* argv) {
    if (argc < 1) {
        *result = MakeBool(false);
        return;
    }
    const uint32_t windowId = argv[0].lo, item = argv[0].hi;
    *result = MakeBool(IsItemLoaded(windowId, item));
}

void PopupMenuCommand(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    if (argc < 2) return;
    const uint32_t windowId = argv[0].lo;
    // A menu item reference carries its id in hi; a bare int id is accepted too.
    const uint32_t menuItem = argv[1].hi != 0 ? argv[1].hi : argv[1].lo;
    std::optional<QPoint> at;
    if (Present(argc, argv, 2) && Present(argc, argv, 3))
        at = QPoint(argv[2].asInt(), argv[3].asInt());
    PopupMenu(windowId, menuItem, at);
}

const CommandFunction* CoreWindowCommands() {
    static const CommandFunction commands[] = {&LoadWindowCommand, &CloseWindowCommand,
                                               &IsLoadedCommand, &PopupMenuCommand};
    return commands;
}

int32_t CoreWindowCommandCount() {
    return 4;
}

const LibraryInfo* Libraries() {
    std::vector<LibraryInfo>& libraries = TheWindowSystem().libraries;
    if (libraries.empty())
        libraries = TheWindowSystem().catalogue.libraries(
            CoreWindowCommands(), CoreWindowCommandCount(), &CoreLibraryNotify);
    return libraries.data();
}

}  // namespace tavrin::forms
