// The session's undo and redo of item adds, changes and deletes on both sides.
// Each step keeps the serial of its record and the record's fields before and
// after, so that it finds its record in any list state and can tell when the
// record was changed underneath it. Nothing of it is stored in the files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "finance/item_record.h"

namespace tavrin::finance {

// A completed operation: it becomes the step to undo and the redo steps go.
void NoteItemStep(ItemStep step);
// Empties both directions (a clearing, a new start).
void ForgetItemHistory();
void UndoItemStep();
void RedoItemStep();
size_t UndoStepCount();
size_t RedoStepCount();
// At most this many steps are kept; the oldest go first.
constexpr size_t kHistoryLimit = 1000;

// Ctrl+Z and Ctrl+Y on the main window, and the tool bar's buttons in the
// state of an empty history.
void InstallUndoKeys();

}  // namespace tavrin::finance
