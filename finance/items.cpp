// Item entry, change, deletion and view. Every row carries its record's serial
// as its data: change and delete find the record by that serial, in any list
// state, and adjust the total by the amount read from that very record. A
// change writes only the fields edited since the view, and a row shows the
// amount the record holds, as money text. A record command that fails after
// the open leaves list and totals untouched.
#include "items.h"

#include <string>
#include <vector>

#include "app_constants.h"
#include "data_files.h"
#include "field_texts.h"
#include "finance/hooks.h"
#include "finance/item_history.h"
#include "finance/period_listing.h"
#include "finance/period_views.h"
#include "finance/shown_period.h"
#include "finance/sides.h"
#include "finance/status_totals.h"
#include "listing.h"
#include "money/amount_rule.h"
#include "money/money_text.h"
#include "record_scan.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/text_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "ui/window_access.h"
#include "year_pages.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

// What the entry fields hold, read once when 添加 or 修改 is clicked: every
// check and every field written works from this one reading.
struct Entry {
    std::string category;         // GBK
    std::string amountText;       // GBK, as typed
    money::AmountReading amount;  // the typed amount read by the amount rule
    double days = 0;
    std::string remark;  // GBK
};

Entry ReadEntry(const Side& side) {
    Entry entry{ComboText(side.combo),
                EditContent(side.amountEdit),
                {},
                DatePickerValue(side.datePicker),
                EditContent(side.remarkEdit)};
    entry.amount = money::ReadAmount(entry.amountText);
    return entry;
}

// The entry fields that still hold what the view of the row's record put in
// them: a change leaves those fields of the record as they are.
struct Unedited {
    bool category = false, amount = false, time = false, remark = false;
};

Unedited UneditedSinceView(const Side& side, int32_t row, const Entry& entry) {
    const ViewedEntry& viewed = side.viewed();
    if (row < 0 || viewed.serial < 0 || LvItemData(side.list, row) != viewed.serial) return {};
    return {entry.category == viewed.category, entry.amountText == viewed.amount,
            entry.days == viewed.time, entry.remark == viewed.remark};
}

// An amount single precision cannot keep to the cent is stored only when the
// person agrees to the amount named.
bool ConfirmStoredAmount(const std::string& typed, float stored) {
    const std::string trimmed = TakeText(CallKernel(TrimSpaces, MakeTextRef(typed.c_str())));
    const std::string question =
        trimmed + app::AmountStoredAsMiddle + money::MoneyText(stored) + app::AmountStoredAsAfter;
    return ShowMessage(question.c_str(), kStyleOkCancel | kIconQuestion, app::QuestionCaption) ==
           kButtonOk;
}

// Validation V: the first failing check shows its message; false then. With
// `checkAmount` false (the viewed amount, left as it was) the amount is not
// checked.
bool Validate(const Side& side, const Entry& entry, bool checkAmount) {
    if (entry.category.empty()) {
        ShowMessage(side.chooseCategoryMessage, kStyleOk);
        return false;
    }
    if (!checkAmount) return true;
    const money::AmountReading& reading = entry.amount;
    switch (reading.verdict) {
        case money::AmountVerdict::kEmpty:
            ShowMessage(side.fillAmountMessage, kStyleOk);
            return false;
        case money::AmountVerdict::kNotPositive:
            ShowMessage(app::AmountMustBePositive, kStyleOk);
            return false;
        case money::AmountVerdict::kTooLarge:
            ShowMessage(app::AmountTooLarge, kStyleOk);
            return false;
        case money::AmountVerdict::kAccepted:
            break;
    }
    return reading.exact || ConfirmStoredAmount(entry.amountText, reading.stored);
}

// Balance warning W with the new amount a: information only.
void WarnBalance(const Side& side, double a) {
    const double income = State().totalIncome, expense = State().totalExpense;
    const bool low =
        side.income ? expense - (income + a) > 0.0000001 : (income - expense) - a < -0.0000001;
    if (low) ShowMessage(app::BalanceTooLow, kStyleOk);
}

void ReportOpenFailed() {
    ShowMessage(app::OpenDatabaseFailed, kIconStop, app::ErrorCaption);
}

// The edited fields' values from the entry fields, those in `keep` left out.
// Their cells go into *cells (the texts cut to their field's width at a whole
// character, the amount as the record holds it), so that the row shows what
// the record holds; the values refer to those cells' texts.
std::vector<FieldAssignment> EntryFields(const Side& side, const Entry& entry, const Unedited& keep,
                                         float amount, RowCells* cells) {
    std::vector<FieldAssignment> fields;
    if (!keep.category) {
        cells->category = FitToWidth(entry.category, TextFieldWidth(side.categoryField));
        fields.push_back({side.categoryField, MakeTextRef(cells->category.c_str())});
    }
    if (!keep.amount) {
        cells->amount = money::MoneyText(amount);
        fields.push_back({side.amountField, MakeFloat(amount)});
    }
    if (!keep.time) {
        cells->time = TakeText(CallKernel(ToText, MakeDateTime(entry.days)));
        fields.push_back({side.timeField, CallKernel(ToDateTime, MakeDateTime(entry.days))});
    }
    if (!keep.remark) {
        cells->remark = FitToWidth(entry.remark, TextFieldWidth(side.remarkField));
        fields.push_back({side.remarkField, MakeTextRef(cells->remark.c_str())});
    }
    return fields;
}

// The edited fields written into the current record; false on any failure.
bool WriteEntry(const Side& side, const Entry& entry, const Unedited& keep, float amount,
                RowCells* cells) {
    bool ok = true;
    for (const FieldAssignment& f : EntryFields(side, entry, keep, amount, cells))
        ok = ok && CallKernel(WriteField, MakeTextRef(f.field), f.value).asBool();
    return ok;
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
    side.viewed() = ViewedEntry{};
    UpdateStatusTotals();
    RefreshChartAfterItemChange();
}

// An item dated outside the period the lists show is not listed there: the
// status bar says where it went, so that it is not thought lost.
void NoteItemOutsidePeriod(const Side& side, const RowCells& cells, const ShownPeriod& period) {
    ShowStatusNote(
        std::string(side.income ? app::ItemLeftPeriodIncome : app::ItemLeftPeriodExpense) +
        cells.amount + app::ItemLeftPeriodMiddle + cells.time + app::ItemLeftPeriodShown +
        period.name() + app::ItemLeftPeriodAfter);
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

// A change or a delete of a row's item begins: the record of the row made
// current in the opened file, its amount in *amount, and the step with the
// item as it was. False (after the message) when the record is not there.
bool BeginStepOnRow(const Side& side, int32_t row, StepKind kind, OpenedDataFile& file,
                    float* amount, ItemStep* step) {
    if (!GoToRecordOfRow(side, row, file, amount)) return false;
    *step = ItemStep{kind, side.income, LvItemData(side.list, row), {}, {}};
    step->before.cells = CellsOfRow(side.list, row);
    ReadCurrentItem(side, &step->before.fields);
    return true;
}

void AddItem(const Side& side) {
    ShowMainPage(side.page);
    const Entry entry = ReadEntry(side);
    if (!Validate(side, entry, true)) return;
    const float amount = entry.amount.stored;
    WarnBalance(side, amount);
    OpenedDataFile file(side.file);
    if (!file) {
        ReportOpenFailed();
        return;
    }
    // The item goes in whole, in one step: a power cut during an add leaves
    // the file without it or with all of its fields, never half an item.
    RowCells added;
    const std::vector<FieldAssignment> fields =
        EntryFields(side, entry, Unedited{}, amount, &added);
    if (!AppendFilledRecord(fields.data(), int32_t(fields.size()))) {
        file.close();
        ReportWriteFailed(side.file);
        return;
    }
    const int32_t serial = SerialOfRecord(rs::CurrentRecordIndex());
    ItemStep step{StepKind::kAdd, side.income, serial, {}, {}};
    step.after.cells = added;
    ReadCurrentItem(side, &step.after.fields);
    file.close();
    NoteItemAdded(side, serial, step.after.fields.amount, step.after.cells);
    const ShownPeriod period = CurrentPeriod();
    const RowCells cells = step.after.cells;
    const bool listed = period.holds(cells.time);
    if (listed) {
        const int32_t row = LvAppendRow(side.list, serial);
        LvSetItemText(side.list, row, 0, TakeText(CallKernel(ToText, MakeInt(row + 1))));
        FillRow(side, row, cells);
        side.total().add(amount);
    }
    NoteItemStep(std::move(step));
    NoteListedYear(cells.time);
    AddYearPagesForListedYears();
    Finish(side);
    if (!listed) NoteItemOutsidePeriod(side, cells, period);
}

void ChangeItem(const Side& side, const char* noSelection) {
    const int32_t row = ListSelection(side.list);
    const Entry entry = ReadEntry(side);
    const Unedited keep = UneditedSinceView(side, row, entry);
    if (!Validate(side, entry, !keep.amount)) return;
    WarnBalance(side, entry.amount.stored);
    if (row == -1) {
        ShowMessage(noSelection, kStyleOk);
        return;
    }
    float old = 0;
    OpenedDataFile file(side.file);
    ItemStep step;
    if (!BeginStepOnRow(side, row, StepKind::kChange, file, &old, &step)) return;
    const float amount = keep.amount ? old : entry.amount.stored;
    step.after.cells = step.before.cells;
    const bool ok = WriteEntry(side, entry, keep, amount, &step.after.cells);
    ReadCurrentItem(side, &step.after.fields);
    file.close();
    if (!ok) {
        ReportWriteFailed(side.file);
        return;
    }
    NoteItemChanged(side, step.serial, step.after.fields.amount, step.after.cells);
    const ShownPeriod period = CurrentPeriod();
    const RowCells cells = step.after.cells;
    const bool listed = period.holds(cells.time);
    side.total().remove(old);
    if (listed) {
        FillRow(side, row, cells);
        side.total().add(amount);
    } else {
        LvDeleteItem(side.list, row);
    }
    NoteItemStep(std::move(step));
    NoteListedYear(cells.time);
    AddYearPagesForListedYears();
    Finish(side);
    if (!listed) NoteItemOutsidePeriod(side, cells, period);
}

void DeleteItem(const Side& side) {
    const int32_t row = ListSelection(side.list);
    if (row == -1) {
        ShowMessage(app::SelectRecordToDelete, kStyleOk);
        return;
    }
    float old = 0;
    OpenedDataFile file(side.file);
    ItemStep step;
    if (!BeginStepOnRow(side, row, StepKind::kDelete, file, &old, &step)) return;
    bool ok = CallKernel(DeleteRecord).asBool();
    ok = ok && CallKernel(PackDatabase).asBool();
    file.close();
    if (!ok) {
        ReportWriteFailed(side.file);
        return;
    }
    NoteItemRemoved(side, step.serial);
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
    SetEditContent(side.amountEdit, LvGetItemText(side.list, row, 1));
    SetComboText(side.combo, LvGetItemText(side.list, row, 2));
    const std::string time = LvGetItemText(side.list, row, 3);
    SetDatePickerValue(side.datePicker,
                       CallKernel(ToDateTime, MakeTextRef(time.c_str())).asDouble());
    SetEditContent(side.remarkEdit, LvGetItemText(side.list, row, 4));
    // The fields as they read now, which is what a change compares them with.
    ViewedEntry& viewed = side.viewed();
    viewed.serial = LvItemData(side.list, row);
    viewed.category = ComboText(side.combo);
    viewed.amount = EditContent(side.amountEdit);
    viewed.time = DatePickerValue(side.datePicker);
    viewed.remark = EditContent(side.remarkEdit);
}

void ViewReachedRow(const Side& side) {
    const int32_t row = ListSelection(side.list);
    if (row == -1 || LvItemData(side.list, row) == side.viewed().serial) return;
    ViewItem(side);
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
void ViewReachedIncomeRow() {
    ViewReachedRow(IncomeSide());
}
void ViewReachedExpenseRow() {
    ViewReachedRow(ExpenseSide());
}

}  // namespace tavrin::finance
