// The printed tables' routines for the program's handler table.
#include "printing/printing.h"

#include "formula_window.h"
#include "print_settings_window.h"

namespace tavrin::printing {

std::vector<tavrin::HandlerEntry> Handlers() {
    std::vector<tavrin::HandlerEntry> handlers = FormulaHandlers();
    for (const tavrin::HandlerEntry& h : PrintHandlers()) handlers.push_back(h);
    return handlers;
}

}  // namespace tavrin::printing
