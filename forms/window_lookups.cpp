// Lookups by id in the window system's template table and created windows.
#include "forms/control_lookup.h"
#include "forms/form_window.h"
#include "forms/window_system.h"
#include "internal/window_system_object.h"

namespace tavrin::forms {

WindowTemplate* FindTemplate(uint32_t windowId) {
    return SharedTemplate(windowId).get();
}

bool IsWindowLoaded(uint32_t windowId) {
    return Live(windowId) != nullptr;
}

bool IsModalWindow(uint32_t windowId) {
    return TheWindowSystem().isModal(windowId);
}

bool IsItemLoaded(uint32_t windowId, uint32_t itemId) {
    LiveWindow* lw = Live(windowId);
    if (!lw) return false;
    if (itemId == 0 || itemId == windowId) return true;
    return lw->controls.count(itemId) != 0 || lw->menuActions.count(itemId) != 0;
}

QWidget* WindowWidget(uint32_t windowId) {
    LiveWindow* lw = Live(windowId);
    return lw ? lw->form.data() : nullptr;
}

QWidget* ClientArea(uint32_t windowId) {
    LiveWindow* lw = Live(windowId);
    return lw && lw->form ? lw->form->client() : nullptr;
}

Control* FindWindowControl(uint32_t windowId) {
    return FindControl(windowId, 0);
}

Control* FindControl(uint32_t windowId, uint32_t controlId) {
    return TheWindowSystem().windows.control(windowId, controlId);
}

FormWindow* ModalWindowHolding(uint32_t windowId) {
    return TheWindowSystem().windows.modalWindowHolding(windowId);
}

}  // namespace tavrin::forms
