// Sorting the item lists by a clicked column header: amounts and serials by
// number, times by date, other texts without case in GBK; the direction alternates per list.
#pragma once

#include <cstdint>

namespace tavrin::analysis {

// Event 2 of 收入信息列表 / 支出信息列表 (list = its control id on the main
// window): a negative column asks for a header click; otherwise the list's
// direction flag flips (the first click on a list sorts ascending) and the
// rows are reordered, each keeping its cells and its data word.
void SortListByColumn(uint32_t list, int32_t column);

// Forgets both direction flags (a new run of the program).
void ResetSortDirections();

}  // namespace tavrin::analysis
