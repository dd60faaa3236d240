// The record keeping's routines that the window templates name.
#pragma once

#include <span>

#include "runtime/process.h"

namespace tavrin::finance {

// The record keeping's routines by the names the templates give them. The
// program's table adds the printed tables' routines (app/); the record keeping
// started alone binds these.
std::span<const tavrin::HandlerEntry> Handlers();

// Installs the window layer with the program's handler names and the data
// components of the category editors (before the runtime is initialised).
void InstallProgramWindowSystem();

}  // namespace tavrin::finance
