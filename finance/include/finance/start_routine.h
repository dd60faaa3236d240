// The application's start routine and what the program image hands the runtime.
#pragma once

#include "runtime/process.h"

namespace tavrin::finance {

constexpr uint32_t kMainWindowId = 0x52010001;

// Runtime initialisation, global arrays, exit handler, start window, message loop.
int StartRoutine();
// The three global arrays set to the empty array and the exit handler registered.
void PrepareGlobalState();
// Frees every element of the category arrays, then the arrays.
void ExitHandler();
// The program image: constant segment, template segment and the record
// keeping's routines (the program's own image names the whole table, app/).
tavrin::ApplicationImage ProgramImage();

// Tests: everything the run keeps in memory back to its start values.
void ResetRunStateForTests();

}  // namespace tavrin::finance
