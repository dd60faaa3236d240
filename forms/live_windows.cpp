// The window table's lookups and the end of a created window.
#include "internal/live_windows.h"

#include "runtime/process.h"

namespace tavrin::forms {

LiveWindow* WindowTable::find(uint32_t windowId) const {
    auto it = live.find(windowId);
    return it == live.end() ? nullptr : it->second.get();
}

std::shared_ptr<WindowTemplate> WindowTable::sharedTemplate(uint32_t windowId) const {
    for (const std::shared_ptr<WindowTemplate>& t : templates)
        if (t->windowId == windowId) return t;
    return nullptr;
}

Control* WindowTable::control(uint32_t windowId, uint32_t controlId) const {
    LiveWindow* lw = find(windowId);
    if (!lw) return nullptr;
    if (controlId == windowId || controlId == 0) controlId = lw->tmpl->items[0].id;
    auto it = lw->controls.find(controlId);
    return it == lw->controls.end() ? nullptr : it->second.get();
}

FormWindow* WindowTable::modalWindowHolding(uint32_t windowId) const {
    LiveWindow* lw = find(windowId);
    if (!lw || !lw->form || lw->form->isEnabled()) return nullptr;
    for (auto& [id, other] : live)
        if (id != windowId && other->modalLoop && other->form) return other->form;
    return nullptr;
}

void WindowTable::destroy(uint32_t windowId) {
    LiveWindow* lw = find(windowId);
    if (!lw || lw->destroying) return;
    lw->destroying = true;
    if (lw->form) lw->form->setDestroying();
    // The start window goes last: the other windows (a settings window left
    // open beside it) end first, while everything their destruction handlers
    // read is still there, instead of outliving the window they work on.
    if (lw->startWindow) {
        std::vector<uint32_t> others;
        for (const auto& [id, other] : live)
            if (id != windowId && !other->destroying) others.push_back(id);
        for (uint32_t id : others) destroy(id);
    }
    // Event 2 sees the window's data components shut down: edits written, files closed.
    for (auto& [id, c] : lw->controls) c->commitPendingEdits();
    for (auto& [id, c] : lw->controls) c->releaseData();
    if (Control* self = control(windowId, 0)) self->raise(WindowEvent::kDestroyed);
    std::unique_ptr<LiveWindow> owned = std::move(live[windowId]);
    live.erase(windowId);
    owned->controls.clear();  // released now, deleted once the event loop is back
    if (owned->form) {
        owned->form->hide();
        owned->form->deleteLater();
    }
    if (owned->modalLoop) owned->modalLoop->quit();
    NotifyWindowGone();
}

}  // namespace tavrin::forms
