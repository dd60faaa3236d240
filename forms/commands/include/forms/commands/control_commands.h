// The core library's control commands: focus, client size, moving, pop-up
// menus, the common dialog, and the combo, list and check list box items.
// Each takes a control reference first (lo = window id, hi = control id); a
// window or control that is not loaded ends the program with the fatal report.
#pragma once

#include <cstdint>

#include "runtime/commands.h"

namespace tavrin::form_commands {

// control → none: gives the control (or the window) the keyboard focus.
void SetFocus(Value* result, int32_t argc, const Value* argv);
// window or control → int: width / height of its client area in pixels.
void ClientWidth(Value* result, int32_t argc, const Value* argv);
void ClientHeight(Value* result, int32_t argc, const Value* argv);
// control, [optional] int left, top, width, height → none. Omitted left or top
// keep the current position; omitted or -1 width or height keep the size.
void MoveControl(Value* result, int32_t argc, const Value* argv);
// window, menu item (a reference whose hi is the item id, or an int id),
// [optional] int x, y (screen) → none: the item's sub-items as a context menu.
void PopupMenu(Value* result, int32_t argc, const Value* argv);
// common-dialog control → bool: true when the user confirmed.
void OpenCommonDialog(Value* result, int32_t argc, const Value* argv);

// combo box, int index → text (empty outside 0 .. count-1).
void ComboItemText(Value* result, int32_t argc, const Value* argv);
// combo box, text, [optional] int data → int index, -1 when refused.
void ComboAddItem(Value* result, int32_t argc, const Value* argv);
// combo box → none.
void ComboClear(Value* result, int32_t argc, const Value* argv);

// List box or check list box commands.
void ListCount(Value* result, int32_t argc, const Value* argv);       // → int
void ListItemText(Value* result, int32_t argc, const Value* argv);    // int index → text
void ListAddItem(Value* result, int32_t argc, const Value* argv);     // text, [opt] data → int
void ListDeleteItem(Value* result, int32_t argc, const Value* argv);  // int index → bool
void ListClear(Value* result, int32_t argc, const Value* argv);       // → none
// check list box, int index → bool (false for an invalid index).
void ListIsChecked(Value* result, int32_t argc, const Value* argv);
// check list box, int index, [optional] bool checked → bool: an omitted
// argument or 1 checks, anything else unchecks; false for an invalid index.
void ListSetChecked(Value* result, int32_t argc, const Value* argv);

}  // namespace tavrin::form_commands
