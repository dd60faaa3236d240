// The session's undo and redo of item adds, changes and deletes on both sides.
// Each step keeps the serial of its record and the record's fields before and
// after, so that it finds its record in any list state and can tell when the
// record was changed underneath it. Nothing of it is stored in the files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavrin::finance {

struct Side;

// The four fields of an item record as the file holds them (texts GBK).
struct ItemFields {
    std::string category;
    float amount = 0;
    double time = 0;
    std::string remark;
    bool operator==(const ItemFields&) const = default;
};

// What a list row shows of an item: cells 1 to 4 (GBK).
struct RowCells {
    std::string amount, category, time, remark;
};

struct ItemState {
    ItemFields fields;
    RowCells cells;
};

enum class StepKind { kAdd, kChange, kDelete };

struct ItemStep {
    StepKind kind = StepKind::kAdd;
    bool income = true;
    int32_t serial = 0;  // the record's serial as the step left it
    ItemState before;    // unused for an add
    ItemState after;     // unused for a delete
};

// The fields of the current record of the current database (the side's file);
// false when one could not be read.
bool ReadCurrentItem(const Side& side, ItemFields* out);
// Cells 1 to 4 of a row.
RowCells CellsOfRow(uint32_t list, int32_t row);

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
