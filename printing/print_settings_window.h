// The print settings window 打印预览设置: opened by the tool-bar button
// "打印表" for the item list on show, it gathers what the print table needs,
// keeps the settings when asked and builds the table with its preview.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/process.h"

namespace tavrin::printing {

// Tool-bar "打印表": remembers the list to print and opens the window (not modal).
void OpenPrintSettings();
// The list the window prints (window and control), as remembered.
struct PrintSource {
    uint32_t window = 0, list = 0;
};
PrintSource CurrentPrintSource();

// The print settings window's and background print window's routines for the
// program's handler table.
std::vector<tavrin::HandlerEntry> PrintHandlers();

}  // namespace tavrin::printing
