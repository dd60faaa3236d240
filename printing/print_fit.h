// Keeping printed body text at its size: a table wider than the paper turns
// the paper to landscape, or narrows its widest text column and wraps it,
// before the report engine would shrink the whole page to fit.
#pragma once

#include <cstdint>
#include <vector>

#include "table/cell_model.h"
#include "table/print_settings.h"

namespace tavrin::printing {

struct PaperFit {
    int32_t orientation = 0;  // 0 portrait, 1 landscape
    int32_t column = -1;      // 0-based column to narrow and wrap, -1 none
    int32_t width = 0;        // its new width
};

// The fit of table `m` on the paper of `settings`. `textColumns` are the
// columns (0-based) whose texts may wrap; a narrowed column keeps room for
// what it held on one line, in as many lines as a body row of `rowHeight`
// holds at `fontSize` (both in the report engine's units).
PaperFit FitToPaper(const table::CellModel& m, const table::PrintSettings& settings,
                    const std::vector<int32_t>& textColumns, int32_t rowHeight, int32_t fontSize);

}  // namespace tavrin::printing
