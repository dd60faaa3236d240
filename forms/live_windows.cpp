// The template table, the created windows and the lookups by id.
#include "internal/live_windows.h"

#include "forms/control_lookup.h"
#include "forms/window_system.h"

namespace tavrin::forms {

WindowTable& Windows() {
    static auto* table = new WindowTable;
    return *table;
}

LiveWindow* Live(uint32_t windowId) {
    auto it = Windows().live.find(windowId);
    return it == Windows().live.end() ? nullptr : it->second.get();
}

std::shared_ptr<WindowTemplate> SharedTemplate(uint32_t windowId) {
    for (const std::shared_ptr<WindowTemplate>& t : Windows().templates)
        if (t->windowId == windowId) return t;
    return nullptr;
}

WindowTemplate* FindTemplate(uint32_t windowId) {
    return SharedTemplate(windowId).get();
}

bool IsWindowLoaded(uint32_t windowId) {
    return Live(windowId) != nullptr;
}

bool IsModalWindow(uint32_t windowId) {
    LiveWindow* lw = Live(windowId);
    return lw && lw->modalLoop;
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
    LiveWindow* lw = Live(windowId);
    if (!lw) return nullptr;
    if (controlId == windowId || controlId == 0) controlId = lw->tmpl->items[0].id;
    auto it = lw->controls.find(controlId);
    return it == lw->controls.end() ? nullptr : it->second.get();
}

}  // namespace tavrin::forms
