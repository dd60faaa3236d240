// A step is replayed as one of three record operations: take the record out
// (undo of an add, redo of a delete), write other fields into it (a change
// either way) or append it again (undo of a delete, redo of an add). The first
// two find the record by its serial and first check that it still holds what
// the step left in it; nothing is written when it does not.
#include "item_replay.h"

#include <array>
#include <string>

#include "app_constants.h"
#include "data_files.h"
#include "finance/hooks.h"
#include "finance/period_listing.h"
#include "finance/period_views.h"
#include "finance/shown_period.h"
#include "finance/sides.h"
#include "finance/status_totals.h"
#include "listing.h"
#include "record_scan.h"
#include "recordstore/current_database.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "ui/window_access.h"
#include "year_pages.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

// An item's four fields as the record holds them; the values refer to f's texts.
std::array<FieldAssignment, 4> ItemFieldValues(const Side& side, const ItemFields& f) {
    return {{{side.categoryField, MakeTextRef(f.category.c_str())},
             {side.amountField, MakeFloat(f.amount)},
             {side.timeField, MakeDateTime(f.time)},
             {side.remarkField, MakeTextRef(f.remark.c_str())}}};
}

bool WriteItem(const Side& side, const ItemFields& f) {
    bool ok = true;
    for (const FieldAssignment& field : ItemFieldValues(side, f))
        ok = ok && CallKernel(WriteField, MakeTextRef(field.field), field.value).asBool();
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

// A row for the item at the list's end, where a full listing shows it.
void ListItem(const Side& side, int32_t serial, const ItemState& item) {
    const int32_t row = LvAppendRow(side.list, serial);
    const OwnedText number(CallKernel(ToText, MakeInt(row + 1)));
    LvSetItemTextRef(side.list, row, 0, number.c_str());
    ShowCells(side.list, row, item.cells);
}

// With the side's file open in `file`, makes the step's record current,
// checked against what the step expects it to hold. Closes the file (before
// any message) unless kDone.
ReplayResult GoToExpectedRecord(const Side& side, OpenedDataFile& file, int32_t serial,
                                const ItemFields& expected) {
    if (!file) {
        ShowMessage(app::OpenDatabaseFailed, kIconStop, app::ErrorCaption);
        return ReplayResult::kFailed;
    }
    int32_t index = -1;
    if (FindRecordBySerial(serial, &index) != rs::Code::kOk) {
        file.close();
        ReportAccessFailed(side.file);
        return ReplayResult::kFailed;
    }
    if (index < 0 || !CallKernel(GoToRecord, MakeInt(index + 1)).asBool())
        return ReplayResult::kRefused;
    ItemFields now;
    if (!ReadCurrentItem(side, &now)) {
        file.close();
        ReportAccessFailed(side.file);
        return ReplayResult::kFailed;
    }
    return now == expected ? ReplayResult::kDone : ReplayResult::kRefused;
}

ReplayResult TakeOut(const Side& side, int32_t serial, const ItemFields& expected) {
    OpenedDataFile file(side.file);
    if (ReplayResult r = GoToExpectedRecord(side, file, serial, expected); r != ReplayResult::kDone)
        return r;
    bool ok = CallKernel(DeleteRecord).asBool();
    ok = ok && CallKernel(PackDatabase).asBool();
    file.close();
    if (!ok) {
        ReportWriteFailed(side.file);
        return ReplayResult::kFailed;
    }
    NoteItemRemoved(side, serial);
    // The total counts the listed items: one outside the shown period has no row.
    if (const int32_t row = RowOfSerial(side.list, serial); row >= 0) {
        LvDeleteItem(side.list, row);
        side.total().remove(expected.amount);
    }
    return ReplayResult::kDone;
}

ReplayResult Rewrite(const Side& side, int32_t serial, const ItemFields& expected,
                     const ItemState& target) {
    OpenedDataFile file(side.file);
    if (ReplayResult r = GoToExpectedRecord(side, file, serial, expected); r != ReplayResult::kDone)
        return r;
    const bool ok = WriteItem(side, target.fields);
    file.close();
    if (!ok) {
        ReportWriteFailed(side.file);
        return ReplayResult::kFailed;
    }
    NoteItemChanged(side, serial, target.fields.amount, target.cells);
    // The row follows the item into or out of the shown period, and the total
    // counts the listed items.
    const int32_t row = RowOfSerial(side.list, serial);
    if (row >= 0) side.total().remove(expected.amount);
    if (!CurrentPeriod().holds(target.cells.time)) {
        if (row >= 0) LvDeleteItem(side.list, row);
    } else {
        if (row >= 0)
            ShowCells(side.list, row, target.cells);
        else
            ListItem(side, serial, target);
        side.total().add(target.fields.amount);
    }
    return ReplayResult::kDone;
}

// The record appended again: file order puts it last, so its row goes last,
// where a full listing shows it, as an add's row does.
ReplayResult PutBack(const Side& side, const ItemState& item, int32_t* serial) {
    OpenedDataFile file(side.file);
    if (!file) {
        ShowMessage(app::OpenDatabaseFailed, kIconStop, app::ErrorCaption);
        return ReplayResult::kFailed;
    }
    // Whole, in one step, as an add puts an item in.
    const std::array<FieldAssignment, 4> fields = ItemFieldValues(side, item.fields);
    if (!AppendFilledRecord(fields.data(), int32_t(fields.size()))) {
        file.close();
        ReportWriteFailed(side.file);
        return ReplayResult::kFailed;
    }
    const int32_t newSerial = SerialOfRecord(rs::CurrentRecordIndex());
    file.close();
    *serial = newSerial;
    NoteItemAdded(side, newSerial, item.fields.amount, item.cells);
    // Listed and counted only inside the shown period.
    if (CurrentPeriod().holds(item.cells.time)) {
        ListItem(side, newSerial, item);
        side.total().add(item.fields.amount);
    }
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
        RefreshChartAfterItemChange();
    }
    return result;
}

}  // namespace tavrin::finance
