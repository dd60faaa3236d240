// The window commands of the core library: create, close and test windows,
// and show a menu as a pop-up; the library table that lists them.
#pragma once

#include <cstdint>

#include "internal/type_catalogue.h"
#include "runtime/commands.h"

namespace tavrin::forms {

// window (a reference to the window: lo = window id), [optional] parent window,
// bool modal → bool: true when the window was loaded.
void LoadWindowCommand(Value* result, int32_t argc, const Value* argv);
// window, [optional] bool immediately → none.
void CloseWindowCommand(Value* result, int32_t argc, const Value* argv);
// window or control → bool: the window (and the control) currently exists.
void IsLoadedCommand(Value* result, int32_t argc, const Value* argv);
// window, menu item (a reference whose hi is the menu item id, or an int id),
// [optional] int x, [optional] int y (screen) → none.
void PopupMenuCommand(Value* result, int32_t argc, const Value* argv);

// The core library's window commands in the order above.
const CommandFunction* CoreWindowCommands();
int32_t CoreWindowCommandCount();

// The eight libraries in the program's order (index 0 = core, with the
// commands above and the core notify routine).
const LibraryInfo* Libraries();

}  // namespace tavrin::forms
