// The summary row of the print table: the count line or the column sums.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrin::printing {

// The sum of a column's cells as text. Amounts are money, so the cells are
// added exactly (as decimals, not truncated to whole numbers) and the sum is
// written with as many decimals as the most precise cell, trailing zeros
// dropped: 10.5 and 20.7 give "31.2". Only cells that are plain numbers
// ("12", "-3.50", "1.23457e+06", blanks around) count; a date, a remark or an empty cell
// adds nothing, and a column without any number gives the empty text.
std::string ColumnSumText(const std::vector<std::string_view>& cells);

}  // namespace tavrin::printing
