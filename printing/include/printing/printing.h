// What the printed tables offer the program: the routines of the formula and
// print settings windows, and the tool bar's "打印表".
#pragma once

#include <vector>

#include "runtime/process.h"

namespace tavrin::printing {

// The routines the formula, print settings and background print windows'
// templates name.
std::vector<tavrin::HandlerEntry> Handlers();
// Remembers the item list on show and opens the print settings window.
void OpenPrintSettings();

}  // namespace tavrin::printing
