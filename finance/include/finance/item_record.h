// An item record as the history and the period lists see it: its four fields
// as the file holds them, the cells its list row shows, and a step of the
// session's undo history.
#pragma once

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

}  // namespace tavrin::finance
