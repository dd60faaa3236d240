// Item entry, change, deletion and view. Every row carries its record's serial
// as its data: change and delete find the record by that serial, in any list
// state, and adjust the total by the amount read from that very record. A
// record command that fails after the open leaves list and totals untouched.
#include "finance/items.h"

#include <string>

#include "app_constants.h"
#include "finance/amount_rule.h"
#include "finance/data_files.h"
#include "finance/field_texts.h"
#include "finance/hooks.h"
#include "finance/item_history.h"
#include "finance/listing.h"
#include "finance/main_window.h"
#include "finance/record_scan.h"
#include "finance/sides.h"
#include "finance/status_totals.h"
#include "finance/ui.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::finance {

using namespace tavrin;

namespace {

float ToFloatOf(const std::string& gbk) {
    return StoredAmount(gbk);
}

// Validation V: the first failing check shows its message; false then.
bool Validate(const Side& side) {
    if (ComboText(side.combo).empty()) {
        ShowMessage(side.chooseCategoryMessage, kStyleOk);
        return false;
    }
    switch (CheckAmount(EditContent(side.amountEdit))) {
        case AmountVerdict::kEmpty:
            ShowMessage(side.fillAmountMessage, kStyleOk);
            return false;
        case AmountVerdict::kNotPositive:
            ShowMessage(app::AmountMustBePositive, kStyleOk);
            return false;
        case AmountVerdict::kAccepted:
            break;
    }
    return true;
}

// Balance warning W: information only.
void WarnBalance(const Side& side) {
    const double a = ToFloatOf(EditContent(side.amountEdit));
    const double income = State().totalIncome, expense = State().totalExpense;
    const bool low =
        side.income ? expense - (income + a) > 0.0000001 : (income - expense) - a < -0.0000001;
    if (low) ShowMessage(app::BalanceTooLow, kStyleOk);
}

void ReportOpenFailed() {
    ShowMessage(app::OpenDatabaseFailed, kIconStop, app::ErrorCaption);
}

// The entry fields as the record keeps them: the texts cut to their field's
// width at a whole character, the amount as typed.
struct Entry {
    std::string category;
    std::string amount;
    std::string remark;
};

// The four fields of the current record from the entry fields; false on any failure.
// *entry receives what was written, so that the row shows what the record holds.
bool WriteEntry(const Side& side, Entry* entry) {
    entry->category = FitToWidth(ComboText(side.combo), TextFieldWidth(side.categoryField));
    entry->amount = EditContent(side.amountEdit);
    entry->remark = FitToWidth(EditContent(side.remarkEdit), TextFieldWidth(side.remarkField));
    const Value when = CallKernel(ToDateTime, MakeDateTime(DatePickerValue(side.datePicker)));
    bool ok = CallKernel(WriteField, MakeTextRef(side.categoryField),
                         MakeTextRef(entry->category.c_str()))
                  .asBool();
    ok = ok &&
         CallKernel(WriteField, MakeTextRef(side.amountField), MakeFloat(ToFloatOf(entry->amount)))
             .asBool();
    ok = ok && CallKernel(WriteField, MakeTextRef(side.timeField), when).asBool();
    ok = ok &&
         CallKernel(WriteField, MakeTextRef(side.remarkField), MakeTextRef(entry->remark.c_str()))
             .asBool();
    return ok;
}

// Cells 1 to 4 of a row from what was written, the amount exactly as typed.
RowCells CellsOfEntry(const Side& side, const Entry& entry) {
    return {entry.amount, entry.category,
            TakeText(CallKernel(ToText, MakeDateTime(DatePickerValue(side.datePicker)))),
            entry.remark};
}

void FillRow(const Side& side, int32_t row, const RowCells& cells) {
    LvSetItemText(side.list, row, 1, cells.amount);
    LvSetItemText(side.list, row, 2, cells.category);
    LvSetItemText(side.list, row, 3, cells.time);
    LvSetItemText(side.list, row, 4, cells.remark);
    // A list fitted while it was empty (or to shorter texts) widens to the new row.
    LvWidenColumnsToRow(side.list, row);
}

void EmptyEntryFields(const Side& side) {
    SetComboText(side.combo, {});
    SetEditContent(side.amountEdit, {});
    SetEditContent(side.remarkEdit, {});
}

void Finish(const Side& side) {
    EmptyEntryFields(side);
    UpdateStatusTotals();
    RunHook(Hooks().refreshChartAfterItemChange);
}

// With the side's file open in `file`, makes the record of the row current;
// its amount in *amount. False (after closing the file and the message) when
// the file or the record is gone.
bool GoToRecordOfRow(const Side& side, int32_t row, OpenedDataFile& file, float* amount) {
    if (!file) {
        ReportOpenFailed();
        return false;
    }
    int32_t index = -1;
    if (FindRecordBySerial(LvItemData(side.list, row), &index, row) != rs::Code::kOk) {
        file.close();
        ReportAccessFailed(side.file);
        return false;
    }
    if (index < 0 || !CallKernel(GoToRecord, MakeInt(index + 1)).asBool()) {
        file.close();
        ShowMessage(app::RecordGone, kIconExclamation, app::ErrorCaption);
        return false;
    }
    *amount = CallKernel(ReadField, MakeTextRef(side.amountField)).asFloat();
    if (LastDatabaseError() != 0) {
        file.close();
        ReportAccessFailed(side.file);
        return false;
    }
    return true;
}

void AddItem(const Side& side) {
    ShowMainPage(side.page);
    if (!Validate(side)) return;
    WarnBalance(side);
    OpenedDataFile file(side.file);
    if (!file) {
        ReportOpenFailed();
        return;
    }
    if (!CallKernel(AppendBlankRecord).asBool()) {
        file.close();
        ReportWriteFailed(side.file);
        return;
    }
    const int32_t serial = SerialOfRecord(rs::CurrentRecordIndex());
    Entry entry;
    if (!WriteEntry(side, &entry)) {
        // The blank record must not stay behind as an item nobody entered.
        CallKernel(DeleteRecord);
        CallKernel(PackDatabase);
        file.close();
        ReportWriteFailed(side.file);
        return;
    }
    ItemStep step{StepKind::kAdd, side.income, serial, {}, {{}, CellsOfEntry(side, entry)}};
    ReadCurrentItem(side, &step.after.fields);
    file.close();
    const int32_t row = LvAppendRow(side.list, serial);
    LvSetItemText(side.list, row, 0, TakeText(CallKernel(ToText, MakeInt(row + 1))));
    FillRow(side, row, step.after.cells);
    NoteItemStep(std::move(step));
    NoteListedYear(LvGetItemText(side.list, row, 3));
    AddYearPagesForListedYears();
    side.total().add(ToFloatOf(entry.amount));
    Finish(side);
}

void ChangeItem(const Side& side, const char* noSelection) {
    const int32_t row = ListSelection(side.list);
    if (!Validate(side)) return;
    WarnBalance(side);
    if (row == -1) {
        ShowMessage(noSelection, kStyleOk);
        return;
    }
    float old = 0;
    OpenedDataFile file(side.file);
    if (!GoToRecordOfRow(side, row, file, &old)) return;
    ItemStep step{StepKind::kChange, side.income, LvItemData(side.list, row), {}, {}};
    step.before.cells = CellsOfRow(side.list, row);
    ReadCurrentItem(side, &step.before.fields);
    Entry entry;
    const bool ok = WriteEntry(side, &entry);
    step.after.cells = CellsOfEntry(side, entry);
    ReadCurrentItem(side, &step.after.fields);
    file.close();
    if (!ok) {
        ReportWriteFailed(side.file);
        return;
    }
    FillRow(side, row, step.after.cells);
    NoteItemStep(std::move(step));
    NoteListedYear(LvGetItemText(side.list, row, 3));
    AddYearPagesForListedYears();
    side.total().add(ToFloatOf(entry.amount));
    side.total().remove(old);
    Finish(side);
}

void DeleteItem(const Side& side) {
    const int32_t row = ListSelection(side.list);
    if (row == -1) {
        ShowMessage(app::SelectRecordToDelete, kStyleOk);
        return;
    }
    float old = 0;
    OpenedDataFile file(side.file);
    if (!GoToRecordOfRow(side, row, file, &old)) return;
    ItemStep step{StepKind::kDelete, side.income, LvItemData(side.list, row), {}, {}};
    step.before.cells = CellsOfRow(side.list, row);
    ReadCurrentItem(side, &step.before.fields);
    bool ok = CallKernel(DeleteRecord).asBool();
    ok = ok && CallKernel(PackDatabase).asBool();
    file.close();
    if (!ok) {
        ReportWriteFailed(side.file);
        return;
    }
    LvDeleteItem(side.list, row);
    NoteItemStep(std::move(step));
    side.total().remove(old);
    Finish(side);
}

void ViewItem(const Side& side) {
    const int32_t row = ListSelection(side.list);
    if (row == -1) {
        ShowMessage(app::SelectRecordToView, kStyleOk);
        return;
    }
    const std::string amount = LvGetItemText(side.list, row, 1);
    SetEditContent(side.amountEdit, amount);
    side.viewedAmount() = ToFloatOf(amount);
    SetComboText(side.combo, LvGetItemText(side.list, row, 2));
    const std::string time = LvGetItemText(side.list, row, 3);
    SetDatePickerValue(side.datePicker,
                       CallKernel(ToDateTime, MakeTextRef(time.c_str())).asDouble());
    SetEditContent(side.remarkEdit, LvGetItemText(side.list, row, 4));
}

}  // namespace

void AddIncomeItem() {
    AddItem(IncomeSide());
}
void ChangeIncomeItem() {
    ChangeItem(IncomeSide(), app::SelectRecordToChange);
}
void DeleteIncomeItem() {
    DeleteItem(IncomeSide());
}
void ViewIncomeItem() {
    ViewItem(IncomeSide());
}
void AddExpenseItem() {
    AddItem(ExpenseSide());
}
void ChangeExpenseItem() {
    ChangeItem(ExpenseSide(), app::SelectRecordToChange);
}
void DeleteExpenseItem() {
    DeleteItem(ExpenseSide());
}
void ViewExpenseItem() {
    ViewItem(ExpenseSide());
}

}  // namespace tavrin::finance
