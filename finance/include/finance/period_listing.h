// The lists of the period views, picked from memory: while a side's list
// shows a period, its full listing is set aside whole and the period's rows
// are copied from it, as the item index names them; back on every year, the
// full listing returns without reading the file. Each change of an item keeps
// the index and the set-aside rows current.
#pragma once

#include <cstdint>

#include "finance/item_record.h"
#include "finance/shown_period.h"
#include "finance/sides.h"

namespace tavrin::finance {

// Makes sure the side's index answers for its file as it is now: when another
// program changed the file (its record count or next serial moved), or the
// index was never built, it is built again: by listing the side in full when
// `relist`, else from the file alone, the list left as it is. False when the
// file could not be opened.
bool RefreshIndexFromFile(const Side& side, bool relist = true);

// The side's list shows the period's items (all of them for the whole span),
// each row with its record's serial, numbered from 1; the side's total is
// their exact sum. The index must be current.
void ShowPeriodRows(const Side& side, const ShownPeriod& period);

// An item's change, after its record was written: the index follows it, and
// the full listing too while it is set aside. `cells` as the list shows them.
void NoteItemAdded(const Side& side, int32_t serial, float amount, const RowCells& cells);
void NoteItemChanged(const Side& side, int32_t serial, float amount, const RowCells& cells);
void NoteItemRemoved(const Side& side, int32_t serial);

}  // namespace tavrin::finance
