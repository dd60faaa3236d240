// The table of application routines that the window templates name.
#pragma once

#include <cstddef>

#include "runtime/process.h"

namespace tavrin::finance {

const tavrin::HandlerEntry* HandlerTable();
size_t HandlerCount();
// Adds routines of the layer above (the analysis windows' handlers) to the
// table, binding them at once when the window system is already running.
void AddHandlers(const tavrin::HandlerEntry* entries, size_t count);

// Installs the window layer with the program's handler names and the data
// components of the category editors (before the runtime is initialised).
void InstallProgramWindowSystem();

}  // namespace tavrin::finance
