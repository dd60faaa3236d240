// Event handlers for the program's routines that take no arguments.
#pragma once

#include "runtime/process.h"

namespace tavrin::ui {

// The handler of an event whose routine takes no arguments.
template <void (*Routine)()>
void CallRoutine(tavrin::EventCall&) {
    Routine();
}

}  // namespace tavrin::ui
