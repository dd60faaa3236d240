// A step is replayed as one of three record operations: take the record out
// (undo of an add, redo of a delete), write other fields into it (a change
// either way) or append it again (undo of a delete, redo of an add). The first
// two find the record by its serial and first check that it still holds what
// the step left in it; nothing is written when it does not.
#include "finance/item_replay.h"

#include <string>

#include "app_constants.h"
#include "finance/data_files.h"
#include "finance/hooks.h"
#include "finance/listing.h"
#include "finance/main_window.h"
#include "finance/record_scan.h"
#include "finance/sides.h"
#include "finance/status_totals.h"
#include "finance/ui.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "recordstore/record_file.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"

namespace finance {

using namespace tavrin;

namespace {

std::string ReadText(const char* field) {
    const Value v = CallKernel(ReadField, MakeTextRef(field));
    if (v.type != TypeCode::kText) return {};
    std::string out(TextOf(v));
    Free(v.pointer());
    return out;
}

bool WriteItem(const Side& side, const ItemFields& f) {
    bool ok =
        CallKernel(WriteField, MakeTextRef(side.categoryField), MakeTextRef(f.category.c_str()))
            .asBool();
    ok = ok && CallKernel(WriteField, MakeTextRef(side.amountField), MakeFloat(f.amount)).asBool();
    ok = ok && CallKernel(WriteField, MakeTextRef(side.timeField), MakeDateTime(f.time)).asBool();
    ok = ok && CallKernel(WriteField, MakeTextRef(side.remarkField), MakeTextRef(f.remark.c_str()))
                   .asBool();
    return ok;
}

int32_t RowOfSerial(uint32_t list, int32_t serial) {
    const int32_t rows = LvRowCount(list);
    for (int32_t r = 0; r < rows; ++r)
        if (LvItemData(list, r) == serial) return r;
    return -1;
}

void ShowCells(uint32_t list, int32_t row, const RowCells& cells) {
    LvSetItemText(list, row, 1, cells.amount);
    LvSetItemText(list, row, 2, cells.category);
    LvSetItemText(list, row, 3, cells.time);
    LvSetItemText(list, row, 4, cells.remark);
    LvWidenColumnsToRow(list, row);
    NoteListedYear(cells.time);
}

// Opens the side's file with the step's record current, checked against what
// the step expects it to hold. Closes the file again unless kDone.
ReplayResult OpenExpectedRecord(const Side& side, int32_t serial, const ItemFields& expected) {
    if (!OpenDataFile(side.file)) {
        ShowMessage(app::OpenDatabaseFailed, kIconStop, app::ErrorCaption);
        return ReplayResult::kFailed;
    }
    int32_t index = -1;
    if (FindRecordBySerial(serial, &index) != 0) {
        CloseCurrentDatabase();
        ReportAccessFailed(side.file);
        return ReplayResult::kFailed;
    }
    if (index < 0 || !CallKernel(GoToRecord, MakeInt(index + 1)).asBool()) {
        CloseCurrentDatabase();
        return ReplayResult::kRefused;
    }
    ItemFields now;
    if (!ReadCurrentItem(side, &now)) {
        CloseCurrentDatabase();
        ReportAccessFailed(side.file);
        return ReplayResult::kFailed;
    }
    if (!(now == expected)) {
        CloseCurrentDatabase();
        return ReplayResult::kRefused;
    }
    return ReplayResult::kDone;
}

ReplayResult TakeOut(const Side& side, int32_t serial, const ItemFields& expected) {
    if (ReplayResult r = OpenExpectedRecord(side, serial, expected); r != ReplayResult::kDone)
        return r;
    bool ok = CallKernel(DeleteRecord).asBool();
    ok = ok && CallKernel(PackDatabase).asBool();
    CloseCurrentDatabase();
    if (!ok) {
        ReportWriteFailed(side.file);
        return ReplayResult::kFailed;
    }
    if (const int32_t row = RowOfSerial(side.list, serial); row >= 0) LvDeleteItem(side.list, row);
    side.total().remove(expected.amount);
    return ReplayResult::kDone;
}

ReplayResult Rewrite(const Side& side, int32_t serial, const ItemFields& expected,
                     const ItemState& target) {
    if (ReplayResult r = OpenExpectedRecord(side, serial, expected); r != ReplayResult::kDone)
        return r;
    const bool ok = WriteItem(side, target.fields);
    CloseCurrentDatabase();
    if (!ok) {
        ReportWriteFailed(side.file);
        return ReplayResult::kFailed;
    }
    if (const int32_t row = RowOfSerial(side.list, serial); row >= 0)
        ShowCells(side.list, row, target.cells);
    side.total().add(target.fields.amount);
    side.total().remove(expected.amount);
    return ReplayResult::kDone;
}

// The record appended again: file order puts it last, so its row goes last,
// where a full listing shows it, as an add's row does.
ReplayResult PutBack(const Side& side, const ItemState& item, int32_t* serial) {
    if (!OpenDataFile(side.file)) {
        ShowMessage(app::OpenDatabaseFailed, kIconStop, app::ErrorCaption);
        return ReplayResult::kFailed;
    }
    if (!CallKernel(AppendBlankRecord).asBool()) {
        CloseCurrentDatabase();
        ReportWriteFailed(side.file);
        return ReplayResult::kFailed;
    }
    rs::Database* db = DatabaseManager::instance().current();
    const int32_t newSerial = SerialOfRecord(db ? db->current : -1);
    if (!WriteItem(side, item.fields)) {
        // No half-written record stays behind.
        CallKernel(DeleteRecord);
        CallKernel(PackDatabase);
        CloseCurrentDatabase();
        ReportWriteFailed(side.file);
        return ReplayResult::kFailed;
    }
    CloseCurrentDatabase();
    *serial = newSerial;
    const int32_t row = LvAppendRow(side.list, newSerial);
    const Value number = CallKernel(ToText, MakeInt(row + 1));
    LvSetItemTextRef(side.list, row, 0, number.asText());
    Free(number.pointer());
    ShowCells(side.list, row, item.cells);
    side.total().add(item.fields.amount);
    return ReplayResult::kDone;
}

}  // namespace

ReplayResult ReplayStep(ItemStep* step, bool undo) {
    const Side& side = step->income ? IncomeSide() : ExpenseSide();
    // The person sees the side whose list the step changes.
    ShowMainPage(side.page);
    ReplayResult result = ReplayResult::kFailed;
    switch (step->kind) {
        case StepKind::kAdd:
            result = undo ? TakeOut(side, step->serial, step->after.fields)
                          : PutBack(side, step->after, &step->serial);
            break;
        case StepKind::kDelete:
            result = undo ? PutBack(side, step->before, &step->serial)
                          : TakeOut(side, step->serial, step->before.fields);
            break;
        case StepKind::kChange:
            result = undo ? Rewrite(side, step->serial, step->after.fields, step->before)
                          : Rewrite(side, step->serial, step->before.fields, step->after);
            break;
    }
    if (result == ReplayResult::kDone) {
        AddYearPagesForListedYears();
        UpdateStatusTotals();
        RunHook(Hooks().refreshChartAfterItemChange);
    }
    return result;
}

}  // namespace finance

namespace finance {

using namespace tavrin;

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

}  // namespace finance
