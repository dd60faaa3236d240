// An item record read from the current database, and the cells of a list row.
#include "finance/item_record.h"

#include "finance/sides.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/owned_text.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

std::string ReadText(const char* field) {
    const OwnedText v(CallKernel(ReadField, MakeTextRef(field)));
    return v.isText() ? v.str() : std::string();
}

}  // namespace

bool ReadCurrentItem(const Side& side, ItemFields* out) {
    // Each record command sets the last error afresh: every read is checked.
    bool ok = true;
    out->category = ReadText(side.categoryField);
    ok = ok && LastDatabaseError() == 0;
    const Value amount = CallKernel(ReadField, MakeTextRef(side.amountField));
    ok = ok && LastDatabaseError() == 0;
    out->amount = amount.type == TypeCode::kFloat ? amount.asFloat() : 0.0f;
    const Value time = CallKernel(ReadField, MakeTextRef(side.timeField));
    ok = ok && LastDatabaseError() == 0;
    out->time = time.type == TypeCode::kDateTime ? time.asDouble() : 0.0;
    out->remark = ReadText(side.remarkField);
    return ok && LastDatabaseError() == 0;
}

RowCells CellsOfRow(uint32_t list, int32_t row) {
    return {LvGetItemText(list, row, 1), LvGetItemText(list, row, 2), LvGetItemText(list, row, 3),
            LvGetItemText(list, row, 4)};
}

}  // namespace tavrin::finance
