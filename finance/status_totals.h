// The running totals in the status bar: panes 1, 3 and 5 in 元 or 万元.
#pragma once

namespace tavrin::finance {

// Recomputes Balance and writes panes 1, 3 and 5: the exact sums to the cent
// ("4.602345万元", "5292.3元", "-2万元").
void UpdateStatusTotals();

}  // namespace tavrin::finance
