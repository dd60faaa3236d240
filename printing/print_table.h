// The print table: an item list built into the table component of the hidden
// background print window (title, date line, rule, header, rows, formula
// columns, summary row, lines, colours, remark, fixed rows, print settings),
// then previewed; the window's timer closes it again once the preview is gone.
#pragma once

#include "print_table_request.h"

namespace tavrin::printing {

// Builds the table and opens its preview; false when it stopped with a message.
bool BuildPrintTable(const PrintTableRequest& request);

// The background window's timer (its template's, not started by the print
// table): closes the background window when the preview it opened is gone. The
// preview's end closes it by itself: the print table holds the preview it opened.
void PreviewTimerTick();

}  // namespace tavrin::printing
