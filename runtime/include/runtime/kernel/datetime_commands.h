// Date and time commands: the current local date-time, the date part of a
// date-time, and the millisecond tick counter.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace tavrin {

// none → date-time: now, local time, whole seconds.
void Now(Value* result, int32_t argc, const Value* argv);
// date-time (or date-time text) → the same day at 00:00:00.
void DateOf(Value* result, int32_t argc, const Value* argv);
// none → int: milliseconds since the system started (wraps after 24.8 days).
void TickCount(Value* result, int32_t argc, const Value* argv);

// The current local date-time as Now returns it.
double CurrentDateTime();

}  // namespace tavrin
