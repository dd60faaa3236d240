// Event dispatch: the (window, item, event number) → application routine
// relation bound from handler names, and the one routine that raises an event.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/common_events.h"  // the common events, key codes and key states
#include "forms/event_numbers.h"
#include "runtime/process.h"

namespace tavrin::forms {

// The handler names the template compiler emitted (offset = index).
void SetHandlerNames(const char* const* names, size_t count);
// Binds every offset to the application routine of the same name; an unknown
// name binds to "no handler" with a warning on stderr.
void BindHandlers(const HandlerEntry* handlers, size_t count);
// The routine bound to an offset, or null for -1, unknown and unbound offsets.
EventHandler HandlerAt(int32_t offset);
// The handler names the last binding found no routine for, in offset order.
std::vector<std::string> UnboundHandlerNames();
// From now on a binding that leaves a handler name without its routine stops
// the program with a message naming it (the program's debug build asks for
// this at start): such an event would otherwise silently do nothing.
void RequireEveryHandlerBound(bool required);

// Dispatches one raised event exactly as the runtime does: nothing while the
// error/exit nesting counter is set; fatal errors for a missing window or item
// and for an item that cannot raise events; origin ids followed; the event
// source recorded for the duration of the call. True when a routine was called.
bool DispatchEvent(EventCall& call);
// How many handlers are running (nested through message processing and modal loops).
int32_t HandlerDepth();

}  // namespace tavrin::forms
