// ListAllIncome / ListAllExpense: open, fill the list from a chunked scan, sum,
// close. A file that is there but cannot be opened is left alone; a file that
// can be neither opened nor created gives an empty list and a total of 0, once.
#include "finance/listing.h"

#include <cmath>
#include <string>

#include "finance/data_files.h"
#include "finance/record_scan.h"
#include "finance/sides.h"
#include "finance/ui.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"

namespace finance {

using namespace tavrin;

namespace {

std::set<int32_t>& Years() {
    static std::set<int32_t> years;
    return years;
}

// Set while a listing runs again after creating its file.
bool& Recreating(const Side& side) {
    static bool income = false, expense = false;
    return side.income ? income : expense;
}

// Cell `column` of `row` := ToText(ReadField field).
void SetCellFromField(uint32_t list, int32_t row, int32_t column, const char* field) {
    const Value v = CallKernel(ReadField, MakeTextRef(field));
    const Value t = CallKernel(ToText, v);
    if (v.type == TypeCode::kText) Free(v.pointer());
    LvSetItemTextRef(list, row, column, t.asText());
    Free(t.pointer());
}

// The leading digits of a date text ("2012年5月3日") as the year.
int32_t YearOfDateText(std::string_view text) {
    int32_t year = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && i < 5; ++i)
        year = year * 10 + (text[i] - '0');
    return i > 0 ? year : -1;
}

struct AmountContext {
    const char* field;
};

// The amount of the record as it counts in the total: one that is not a finite
// number (a file written by another tool) counts as nothing.
Value ReadAmount(void* context) {
    const Value v = CallKernel(ReadField, MakeTextRef(static_cast<AmountContext*>(context)->field));
    if (v.type == TypeCode::kFloat) return MakeFloat(CountedAmount(v.asFloat()));
    if (v.type == TypeCode::kDouble && !std::isfinite(v.asDouble())) return MakeDouble(0.0);
    return v;
}

void EndEmpty(const Side& side) {
    LvDeleteAll(side.list);
    side.total() = 0;
}

void ListAll(const Side& side, void (*create)()) {
    if (!OpenDataFile(side.file)) {
        if (DataFileExists(side.file)) {
            ReportUnusableFile(side.file);
            EndEmpty(side);
            return;
        }
        if (Recreating(side)) {
            ReportUncreatableFile(side.file);
            EndEmpty(side);
            return;
        }
        Recreating(side) = true;
        create();  // creates the file and lists it again
        Recreating(side) = false;
        return;
    }
    LvDeleteAll(side.list);
    CallKernel(GoToFirstRecord);
    int32_t lastYear = -1;
    ScanCurrentDatabase([&](int32_t index, int32_t serial) {
        const int32_t row = LvAppendRow(side.list, serial);
        const Value number = CallKernel(ToText, MakeInt(index + 1));
        LvSetItemTextRef(side.list, row, 0, number.asText());
        Free(number.pointer());
        SetCellFromField(side.list, row, 1, side.amountField);
        SetCellFromField(side.list, row, 2, side.categoryField);
        const Value time = CallKernel(ToText, CallKernel(ReadField, MakeTextRef(side.timeField)));
        if (const int32_t year = YearOfDateText(TextOf(time)); year > 0 && year != lastYear) {
            Years().insert(year);
            lastYear = year;
        }
        LvSetItemTextRef(side.list, row, 3, time.asText());
        Free(time.pointer());
        SetCellFromField(side.list, row, 4, side.remarkField);
    });
    AmountContext context{side.amountField};
    const DeferredArgument expression{&ReadAmount, &context};
    const Value sum = CallKernel(SumRecords, MakeDeferred(&expression));
    side.total().setSum(sum.type == TypeCode::kDouble ? sum.asDouble() : 0.0);
    CloseCurrentDatabase();
}

}  // namespace

void ListAllIncome() {
    ListAll(IncomeSide(), &CreateIncomeFile);
}

void ListAllExpense() {
    ListAll(ExpenseSide(), &CreateExpenseFile);
}

void AutoSizeColumns(uint32_t list) {
    const int32_t n = LvColumnCount(list);
    for (int32_t i = 1; i <= n; ++i) LvSetColumnWidth(list, i - 1, -2);
    // The fit samples the first rows of a long list; the last row holds the
    // longest serial number, which must not be cut either.
    if (const int32_t rows = LvRowCount(list); rows > 0) LvWidenColumnsToRow(list, rows - 1);
}

const std::set<int32_t>& ListedYears() {
    return Years();
}

void NoteListedYear(const std::string& gbkDateText) {
    if (int32_t year = YearOfDateText(gbkDateText); year > 0) Years().insert(year);
}

void ForgetListedYears() {
    Years().clear();
}

}  // namespace finance
