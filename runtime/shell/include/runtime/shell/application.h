// The application object with windows: the shell creates the QApplication,
// speaks the program's language in Qt's own dialogs and shows message boxes as
// real dialogs, then hands over to the runtime's process.
#pragma once

#include "runtime/process.h"

namespace tavrin {

// Creates the QApplication, records the program directory and runs the start
// routine; then runs the exit clean-up with the routine's result. Never returns.
[[noreturn]] void RunApplication(int argc, char** argv, const ApplicationImage& image);

// Tests: the QApplication (or the one the test made) and the runtime
// initialised in-process (no start routine, no change of directory).
void InitializeForTests(int argc, char** argv, const ApplicationImage& image);

}  // namespace tavrin
