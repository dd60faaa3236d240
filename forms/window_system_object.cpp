// The window system object: the event dispatch, the services its controls and
// window widgets ask for, and the lookups in the registries it owns.
#include "internal/window_system_object.h"

#include "forms/template_format.h"
#include "runtime/errors.h"

namespace tavrin::forms {

WindowSystem& TheWindowSystem() {
    static auto* system = new WindowSystem;
    return *system;
}

bool WindowSystem::dispatchEvent(EventCall& call) {
    if (ErrorExitNesting() != 0) return false;
    WindowTemplate* t = windows.sharedTemplate(call.windowId).get();
    if (!t) ReportMissingObject(MissingObject::kEventWindow);
    const ItemTemplate* item = nullptr;
    if (call.itemId == 0 || call.itemId == call.windowId || call.itemId == t->items[0].id)
        item = &t->items[0];
    else
        item = t->find(call.itemId);
    if (!item) ReportMissingObject(MissingObject::kEventItem);
    const uint32_t sourceItem = item->id;
    // A copied item takes its bindings from the item it was copied from.
    for (size_t guard = 0; item->originId != 0 && guard < t->items.size(); ++guard) {
        const ItemTemplate* origin = t->find(item->originId);
        if (!origin || origin->typeId != item->typeId) break;
        item = origin;
    }
    int32_t offset = kNoHandler;
    if (item->isMenu) {
        offset = item->menuHandler;
    } else {
        if (!IsWindowUnit(item->typeId)) ReportMissingObject(MissingObject::kInvalidEventItem);
        std::optional<int32_t> bound = item->handlerFor(call.eventNumber);
        if (!bound) return false;
        offset = *bound;
    }
    EventHandler handler = handlers.at(offset);
    if (!handler) return false;
    const EventSource previous = CurrentEventSource();
    SetCurrentEventSource(EventSource{call.windowId, sourceItem});
    ++runningHandlers;
    handler(call);
    --runningHandlers;
    SetCurrentEventSource(previous);
    return true;
}

void WindowSystem::controlCreated(const Control* control) {
    liveControls.insert(static_cast<const void*>(control));
}

void WindowSystem::controlDestroyed(const Control* control) {
    liveControls.erase(static_cast<const void*>(control));
}

void WindowSystem::attachCommonEvents(Control* control, QWidget* surface,
                                      std::initializer_list<QWidget*> inputChildren) {
    auto* filter = new CommonEventFilter(control, surface, commonEvents);
    surface->installEventFilter(filter);
    for (QWidget* c : inputChildren)
        if (c) c->installEventFilter(filter);
}

Control* WindowSystem::windowControl(uint32_t windowId) {
    return windows.control(windowId, 0);
}

bool WindowSystem::isModal(uint32_t windowId) {
    LiveWindow* lw = windows.find(windowId);
    return lw && lw->modalLoop;
}

FormWindow* WindowSystem::modalWindowHolding(uint32_t windowId) {
    return windows.modalWindowHolding(windowId);
}

void WindowSystem::closeGranted(uint32_t windowId) {
    windows.destroy(windowId);
}

void WindowSystem::closeRefused(uint32_t windowId) {
    if (LiveWindow* lw = windows.find(windowId)) lw->closing = false;
}

LiveWindow* Live(uint32_t windowId) {
    return TheWindowSystem().windows.find(windowId);
}

std::shared_ptr<WindowTemplate> SharedTemplate(uint32_t windowId) {
    return TheWindowSystem().windows.sharedTemplate(windowId);
}

void DestroyWindow(uint32_t windowId) {
    TheWindowSystem().windows.destroy(windowId);
}

void RegisterControlKind(uint32_t typeId, ControlKind kind) {
    TheWindowSystem().kinds[typeId] = std::move(kind);
}

const ControlKind* FindControlKind(uint32_t typeId) {
    const auto& kinds = TheWindowSystem().kinds;
    auto it = kinds.find(typeId);
    return it == kinds.end() ? nullptr : &it->second;
}

bool IsLiveControl(const void* object) {
    return object != nullptr && TheWindowSystem().liveControls.count(object) != 0;
}

const TypeInfo* FindTypeInfo(uint32_t typeId) {
    return TheWindowSystem().catalogue.find(typeId);
}

bool IsWindowUnit(uint32_t typeId) {
    const TypeInfo* t = FindTypeInfo(typeId);
    if (t) return (t->stateFlags & kTypeWindowUnit) != 0;
    return FindControlKind(typeId) != nullptr;  // a kind a higher layer added
}

const PropertyInfo* FindPropertyInfo(uint32_t typeId, int32_t number) {
    if (number < 0) return nullptr;
    if (const ControlKind* k = FindControlKind(typeId); k && !k->properties.empty())
        return size_t(number) < k->properties.size() ? &k->properties[size_t(number)] : nullptr;
    const TypeInfo* t = FindTypeInfo(typeId);
    if (!t || number >= t->propertyCount) return nullptr;
    return &t->properties[number];
}

void CoreLibraryNotify(int32_t code, const RuntimeService* service) {
    if (code == 1) TheWindowSystem().handedService = service;
    if (code == 6) TheWindowSystem().handedService = nullptr;
}

const RuntimeService* HandedService() {
    return TheWindowSystem().handedService;
}

}  // namespace tavrin::forms
