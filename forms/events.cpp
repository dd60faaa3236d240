// Handler binding and event dispatch, answered by the window system, which
// holds the handler table and the depth of running handlers.
#include "forms/events.h"

#include "internal/window_system_object.h"

namespace tavrin::forms {

void SetHandlerNames(const char* const* names, size_t count) {
    TheWindowSystem().handlers.setNames(names, count);
}

void BindHandlers(const HandlerEntry* handlers, size_t count) {
    TheWindowSystem().handlers.bind(handlers, count);
}

EventHandler HandlerAt(int32_t offset) {
    return TheWindowSystem().handlers.at(offset);
}

std::vector<std::string> UnboundHandlerNames() {
    return TheWindowSystem().handlers.unboundNames();
}

void RequireEveryHandlerBound(bool required) {
    TheWindowSystem().handlers.requireEveryBound(required);
}

bool DispatchEvent(EventCall& call) {
    return TheWindowSystem().dispatchEvent(call);
}

int32_t HandlerDepth() {
    return TheWindowSystem().runningHandlers;
}

}  // namespace tavrin::forms
