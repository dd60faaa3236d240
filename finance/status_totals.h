// The running totals in the status bar: panes 1, 3 and 5 in 元 or 万元.
#pragma once

#include <string>

namespace tavrin::finance {

// Recomputes Balance and writes panes 1, 3 and 5.
void UpdateStatusTotals();
// "%.13g" of v / 10000 with 万元 above 10000 in magnitude, else "%.6g" with 元 (GBK).
std::string AmountText(float v);

}  // namespace tavrin::finance
