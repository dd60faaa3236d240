// The window layer's public face: installing it into the runtime, creating
// and closing windows from their templates, menus, and lookups by id.
#pragma once

#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "forms/control_lookup.h"
#include "forms/template_reader.h"
#include "forms/window_frame.h"  // the frame around the client area

class QWidget;
class QMenu;

namespace tavrin::forms {

class Control;

// Fills the runtime's window hooks and property slots and sets the default GUI
// font. `handlerNames` is the table the template compiler emitted.
void InstallWindowSystem(const char* const* handlerNames, size_t handlerCount);

// Reads a template segment into the table (replacing the old one); false when
// malformed. The runtime calls this through its hook at start.
bool LoadTemplateSegment(const uint8_t* segment, size_t size);
// The template of a window id, or null when the table has none.
WindowTemplate* FindTemplate(uint32_t windowId);

// Creates and shows a window from its template (see LoadWindow in
// window_commands.h). `parentWindowId` 0 = no parent. A modal window runs a
// nested loop and this returns when it has closed. False when the id is unknown.
bool LoadWindow(uint32_t windowId, uint32_t parentWindowId = 0, bool modal = false,
                bool startWindow = false);
// Closes at once (event 2, controls released) or by posting the close request
// 32869, which is handled after the current handler and may be refused by event 1.
void CloseWindow(uint32_t windowId, bool immediately);
bool IsWindowLoaded(uint32_t windowId);
// True while the window runs its modal loop.
bool IsModalWindow(uint32_t windowId);
// The window's item, a control or the window itself (own item id or window id).
bool IsItemLoaded(uint32_t windowId, uint32_t itemId);

// The top-level widget and the client area (below the menu bar) of a created window.
QWidget* WindowWidget(uint32_t windowId);
QWidget* ClientArea(uint32_t windowId);
// The window's own control (the window record), or null when not created.
Control* FindWindowControl(uint32_t windowId);

// Menus: the click of menu command 20000 + k of a window (false when there is no
// such item); PopupMenu shows a level-0 entry's items at the mouse plus (3, 3) or
// at the given screen position (nothing when the item is not a level-0 menu item
// of that window).
bool ChooseMenuCommand(uint32_t windowId, int32_t command);
void PopupMenu(uint32_t windowId, uint32_t menuItemId, std::optional<QPoint> screenPos);
// The last pop-up menu shown (for tests and for closing it).
QMenu* LastPopupMenu();
// Rebuilds the state of one menu item's entry after its template record changed.
void RefreshMenuItem(uint32_t windowId, uint32_t menuItemId);

// Shows or hides a control by its visible flag, keeping controls of a page
// that is not current hidden.
void ApplyVisibility(Control* control);

}  // namespace tavrin::forms
