// The busy cursor: the wait cursor over every window while a long task runs.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace tavrin {

// none → none: the wait cursor; the cursor it replaces is remembered once.
void ShowBusyCursor(Value* result, int32_t argc, const Value* argv);
// none → none: the remembered cursor back.
void RestoreCursor(Value* result, int32_t argc, const Value* argv);

// True between ShowBusyCursor and RestoreCursor.
bool IsBusyCursorShown();

}  // namespace tavrin
