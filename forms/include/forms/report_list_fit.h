// Widening a report list's columns to the texts of one row, so that a row added
// after the columns were fitted (to an empty list, say) is not cut.
#pragma once

#include <cstdint>

namespace tavrin::forms {

class ReportListControl;

// Every column narrower than the row's cell text (with the padding of a fit to
// the contents) becomes just wide enough; no column is made narrower.
void WidenColumnsToRow(ReportListControl& list, int32_t row);

}  // namespace tavrin::forms
