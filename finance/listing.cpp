// ListAllIncome / ListAllExpense: open, fill the list from a chunked scan while
// summing its amounts, close. A file that is there but cannot be opened is left alone; a file that
// can be neither opened nor created gives an empty list and a total of 0, once.
#include "listing.h"

#include <charconv>
#include <string>
#include <vector>

#include "data_files.h"
#include "finance/item_index.h"
#include "finance/sides.h"
#include "forms/report_list.h"
#include "listing_indexer.h"
#include "money/money_text.h"
#include "record_scan.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

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

using RowBatch = forms::ReportListModel::RowBatch;

// Appends ToText(ReadField field) of the scan record as the row's next cell;
// returns the text as it lies in the batch.
std::string_view AppendFieldText(RowBatch& batch, const char* field) {
    const OwnedText fieldValue(CallKernel(ReadField, MakeTextRef(field)));
    const Value& v = fieldValue.value();
    const size_t at = batch.bytes.size();
    if (v.type == TypeCode::kText) {
        batch.bytes.append(TextOf(v));
    } else if (v.type == TypeCode::kDateTime) {
        char buf[kDateTimeTextMax];
        batch.bytes.append(buf, WriteDateTimeText(v.asDouble(), buf));
    } else {
        batch.bytes.append(ValueToText(v));
    }
    batch.lengths.push_back(uint32_t(batch.bytes.size() - at));
    return std::string_view(batch.bytes).substr(at);
}

// Appends the amount of the scan record as money text and adds it to the sum.
float AppendAmountText(RowBatch& batch, const char* field, RunningTotal* sum) {
    const Value v = CallKernel(ReadField, MakeTextRef(field));
    const float amount = v.type == TypeCode::kFloat ? v.asFloat() : 0.0f;
    char text[money::kMoneyTextMax];
    const size_t length = money::WriteMoneyText(amount, text);
    batch.bytes.append(text, length);
    batch.lengths.push_back(uint32_t(length));
    sum->add(amount);
    return amount;
}

void AppendNumberText(RowBatch& batch, int32_t number) {
    char buf[16];
    char* end = std::to_chars(buf, buf + sizeof buf, number).ptr;
    batch.bytes.append(buf, end);
    batch.lengths.push_back(uint32_t(end - buf));
}

// The leading digits of a date text ("2012年5月3日") as the year.
int32_t YearOfDateText(std::string_view text) {
    int32_t year = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && i < 5; ++i)
        year = year * 10 + (text[i] - '0');
    return i > 0 ? year : -1;
}

// The stamp is read before the records: a change by another program from
// here on leaves it behind the file, and the next view builds again.
bool ReadStampFirst(FileStamp* stamp) {
    return CurrentCountAndSerial(&stamp->count, &stamp->nextSerial) == rs::Code::kOk;
}

void EndEmpty(const Side& side) {
    IndexOfSide(side.income).clear();
    LvDeleteAll(side.list);
    side.total() = 0;
}

bool gHoldsAll[2] = {false, false};  // expense, income

void ListAll(const Side& side, void (*create)()) {
    gHoldsAll[side.income] = true;
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
        create();
        ListAll(side, create);  // the new, empty file
        Recreating(side) = false;
        return;
    }
    LvDeleteAll(side.list);
    CallKernel(GoToFirstRecord);
    forms::ReportListModel* model = LvModel(side.list);
    const int32_t count = CallKernel(GetRecordCount).asInt();
    FileStamp stamp;
    const bool stamped = ReadStampFirst(&stamp);
    ItemIndex& index = IndexOfSide(side.income);
    index.clear();
    // Room for the items added after the start too, as the list has.
    index.reserve(count + count / 8 + 64);
    // The index takes each batch of rows on the other core once the list has it.
    ListingIndexer indexer(index);
    // Rows go to the list in batches: number, amount, category, date, remark.
    constexpr int32_t kBatchRows = 8192;
    IndexedRows batch;
    batch.rows.columns = 5;
    bool reserved = false;
    auto deliver = [&] {
        if (batch.rows.rows() == 0) return;
        if (model != nullptr && !reserved) {
            const double perRow = double(batch.rows.bytes.size()) / batch.rows.rows();
            // Room for the whole file at the first batch's bytes per row, with
            // a margin for the longer numbers of later rows; room never
            // written takes no memory.
            // Rows added afterwards find room too, instead of the first of them
            // copying the whole list's storage.
            const int32_t rows = count + count / 8 + 64;
            model->reserve(rows, size_t((perRow * 1.1 + 8) * rows) + 4096);
            reserved = true;
        }
        if (model != nullptr) model->appendRows(batch.rows);
        indexer.take(batch);
    };
    // The total is the exact sum of the amounts listed: a file that cannot be
    // read to its end counts what it shows.
    RunningTotal sum;
    int32_t lastYear = -1;
    std::vector<bool> seen(100000);  // years of at most five digits already noted
    // A file that cannot be read lists the rows read so far; the last
    // database error says why.
    const rs::Code scanned = ScanCurrentDatabase([&](int32_t record, int32_t serial) {
        RowBatch& rows = batch.rows;
        rows.data.push_back(serial);
        AppendNumberText(rows, record + 1);
        batch.amounts.push_back(AppendAmountText(rows, side.amountField, &sum));
        AppendFieldText(rows, side.categoryField);
        const std::string_view time = AppendFieldText(rows, side.timeField);
        if (const int32_t year = YearOfDateText(time); year > 0 && year != lastYear) {
            if (!seen[size_t(year)]) Years().insert(year);
            seen[size_t(year)] = true;
            lastYear = year;
        }
        AppendFieldText(rows, side.remarkField);
        if (rows.rows() == kBatchRows) deliver();
    });
    deliver();
    side.total() = sum;
    // A file read only in part, or an index that could not be built, leaves
    // the index to be built again when next asked.
    if (indexer.finish() && stamped && scanned == rs::Code::kOk) index.markCurrent(stamp);
    CloseCurrentDatabase();
}

}  // namespace

void IndexItemFile(bool income) {
    const Side& side = income ? IncomeSide() : ExpenseSide();
    ItemIndex& index = IndexOfSide(income);
    index.clear();
    if (!OpenDataFile(side.file)) return;
    FileStamp stamp;
    const bool stamped = ReadStampFirst(&stamp);
    const int32_t count = CallKernel(GetRecordCount).asInt();
    index.reserve(count + count / 8 + 64);
    std::string category;
    char time[kDateTimeTextMax];
    const rs::Code scanned = ScanCurrentDatabase([&](int32_t, int32_t serial) {
        const Value amount = CallKernel(ReadField, MakeTextRef(side.amountField));
        const OwnedText text(CallKernel(ReadField, MakeTextRef(side.categoryField)));
        category = text.isText() ? text.str() : ValueToText(text.value());
        const Value when = CallKernel(ReadField, MakeTextRef(side.timeField));
        const std::string other = when.type == TypeCode::kDateTime ? "" : ValueToText(when);
        const std::string_view date =
            when.type == TypeCode::kDateTime
                ? std::string_view(time, WriteDateTimeText(when.asDouble(), time))
                : std::string_view(other);
        index.append(serial, amount.type == TypeCode::kFloat ? amount.asFloat() : 0.0f, category,
                     date, when.type == TypeCode::kDateTime ? when.asDouble() : -1);
    });
    if (stamped && scanned == rs::Code::kOk) index.markCurrent(stamp);
    CloseCurrentDatabase();
}

void ListAllIncome() {
    ListAll(IncomeSide(), &CreateIncomeFile);
}

void ListAllExpense() {
    ListAll(ExpenseSide(), &CreateExpenseFile);
}

bool ListHoldsAll(bool income) {
    return gHoldsAll[income];
}

void NoteListNarrowed(bool income) {
    gHoldsAll[income] = false;
}

void NoteListHoldsAll(bool income) {
    gHoldsAll[income] = true;
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

}  // namespace tavrin::finance
