// Carrying one history step out on the side's file, list and total.
#pragma once

#include "finance/item_record.h"

namespace tavrin::finance {

enum class ReplayResult {
    kDone,     // file, list and total follow the step
    kRefused,  // the step's record is gone or no longer as the step left it
    kFailed,   // the file could not be opened, read or written; reported
};

// Undoes (undo) or repeats the step. A step that puts a record back appends it
// again and keeps its new serial in step->serial.
ReplayResult ReplayStep(ItemStep* step, bool undo);

}  // namespace tavrin::finance
