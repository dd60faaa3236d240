// Period lists from memory: the full listing set aside in a model of its own
// while a period is shown, its rows kept in file order beside the item index
// (row r is the index's item r), so the index's positions pick the rows.
#include "finance/period_listing.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <memory>
#include <unordered_map>

#include "data_files.h"
#include "finance/item_index.h"
#include "forms/report_list.h"
#include "listing.h"
#include "record_scan.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

using forms::ReportListModel;

// A side's full listing while its list shows a period.
struct SetAside {
    std::unique_ptr<ReportListModel> rows;
    uint64_t generation = 0;  // of the index the rows were aligned with
    bool holding = false;
    // The first row of the full listing whose number a delete left too high
    // (a listing read afresh numbers the records 1, 2, 3 ... again).
    int32_t renumberFrom = INT32_MAX;
    uint64_t renumberGeneration = 0;
};

SetAside& SetAsideOf(const Side& side) {
    static SetAside sides[2];
    return sides[side.income ? 1 : 0];
}

void ListAllOf(const Side& side) {
    if (side.income)
        ListAllIncome();
    else
        ListAllExpense();
}

bool ReadStamp(const Side& side, FileStamp* out) {
    OpenedDataFile file(side.file);
    return file && CurrentCountAndSerial(&out->count, &out->nextSerial) == rs::Code::kOk;
}

// Whether the set-aside rows still stand beside the index, row for item, and
// fit the list's columns.
bool Holding(const Side& side) {
    const SetAside& kept = SetAsideOf(side);
    const ItemIndex& index = IndexOfSide(side.income);
    const ReportListModel* list = LvModel(side.list);
    return kept.holding && kept.rows && list && kept.rows->columns() == list->columns() &&
           kept.generation == index.generation() && index.current() &&
           kept.rows->rows() == index.size();
}

// Puts the rows in file order when a sort moved them; false when they are
// not the index's items.
bool IntoFileOrder(ReportListModel& rows, const ItemIndex& index) {
    if (rows.rows() != index.size()) return false;
    bool ordered = true;
    for (int32_t r = 0; r < rows.rows() && ordered; ++r)
        ordered = rows.itemData(r) == index.at(r).serial;
    if (ordered) return true;
    std::unordered_map<int32_t, int32_t> rowOfSerial;
    rowOfSerial.reserve(size_t(rows.rows()));
    for (int32_t r = 0; r < rows.rows(); ++r) rowOfSerial.emplace(rows.itemData(r), r);
    std::vector<int32_t> order(size_t(index.size()));
    for (int32_t i = 0; i < index.size(); ++i) {
        auto it = rowOfSerial.find(index.at(i).serial);
        if (it == rowOfSerial.end()) return false;
        order[size_t(i)] = it->second;
    }
    rows.reorderRows(order);
    return true;
}

// Sets the list's full listing aside; false when it does not match the index.
bool SetListAside(const Side& side) {
    ReportListModel* list = LvModel(side.list);
    if (list == nullptr) return false;
    SetAside& kept = SetAsideOf(side);
    if (!kept.rows || kept.rows->columns() != list->columns()) {
        kept.rows = std::make_unique<ReportListModel>();
        for (int32_t c = 0; c < list->columns(); ++c) kept.rows->insertColumn(c, list->column(c));
    }
    kept.rows->exchangeRows(*list);
    list->clear();
    const ItemIndex& index = IndexOfSide(side.income);
    kept.holding = IntoFileOrder(*kept.rows, index);
    kept.generation = index.generation();
    NoteListNarrowed(side.income);
    if (!kept.holding) kept.rows->clear();
    return kept.holding;
}

void AppendNumber(ReportListModel::RowBatch& batch, int32_t number) {
    char buf[16];
    char* end = std::to_chars(buf, buf + sizeof buf, number).ptr;
    batch.bytes.append(buf, end);
    batch.lengths.push_back(uint32_t(end - buf));
}

// Copies the set-aside rows at the positions into the list, numbered from 1.
void CopyRows(const Side& side, const std::vector<int32_t>& positions) {
    ReportListModel* list = LvModel(side.list);
    const ReportListModel& from = *SetAsideOf(side).rows;
    list->clear();
    constexpr size_t kBatchRows = 8192;
    ReportListModel::RowBatch batch;
    batch.columns = from.columns();
    for (size_t i = 0; i < positions.size(); ++i) {
        const int32_t r = positions[i];
        batch.data.push_back(from.itemData(r));
        AppendNumber(batch, int32_t(i) + 1);
        for (int32_t c = 1; c < from.columns(); ++c) {
            const std::string_view text = from.text(r, c);
            batch.bytes.append(text);
            batch.lengths.push_back(uint32_t(text.size()));
        }
        if (size_t(batch.rows()) == kBatchRows) {
            list->appendRows(batch);
            batch.clear();
        }
    }
    list->appendRows(batch);
}

void SetCells(ReportListModel& rows, int32_t row, const RowCells& cells) {
    rows.setText(row, 1, cells.amount);
    rows.setText(row, 2, cells.category);
    rows.setText(row, 3, cells.time);
    rows.setText(row, 4, cells.remark);
}

// The stamp after a change of ours is the one before it moved as the change
// moves it; anything else means another program wrote too, and the index is
// built again from the file when next asked.
bool StampFollows(const Side& side, FileStamp expected) {
    ItemIndex& index = IndexOfSide(side.income);
    FileStamp now;
    if (!ReadStamp(side, &now) || now != expected) {
        index.markStale();
        return false;
    }
    index.setStamp(now);
    return true;
}

// The full listing's rows numbered as their records are again, from the first
// a delete moved up; rows that a sort moved are left as they are. Done on the
// rows set aside, before they go back, no view redraws a row at a time.
void Renumber(const Side& side, ReportListModel* rows) {
    SetAside& kept = SetAsideOf(side);
    const ItemIndex& index = IndexOfSide(side.income);
    const int32_t from = kept.renumberFrom;
    kept.renumberFrom = INT32_MAX;
    if (rows == nullptr || kept.renumberGeneration != index.generation() ||
        rows->rows() != index.size() || from >= rows->rows())
        return;
    for (int32_t r = from; r < rows->rows(); ++r)
        if (rows->itemData(r) != index.at(r).serial) return;
    char number[16];
    for (int32_t r = from; r < rows->rows(); ++r) {
        const char* end = std::to_chars(number, number + sizeof number, r + 1).ptr;
        rows->setText(r, 0, std::string_view(number, size_t(end - number)));
    }
}

}  // namespace

bool RefreshIndexFromFile(const Side& side, bool relist) {
    FileStamp now;
    if (!ReadStamp(side, &now)) return false;
    const ItemIndex& index = IndexOfSide(side.income);
    if (index.current() && index.stamp() == now) return true;
    if (relist)
        ListAllOf(side);
    else
        IndexItemFile(side.income);
    return true;
}

void ShowPeriodRows(const Side& side, const ShownPeriod& period) {
    const ItemIndex& index = IndexOfSide(side.income);
    if (!period.byYear && !period.byMonth) {
        if (ListHoldsAll(side.income)) return Renumber(side, LvModel(side.list));
        SetAside& kept = SetAsideOf(side);
        if (Holding(side)) {
            Renumber(side, kept.rows.get());
            LvModel(side.list)->exchangeRows(*kept.rows);
            kept.rows->clear();
            kept.holding = false;
            RunningTotal all;
            for (int32_t i = 0; i < index.size(); ++i) all.add(index.at(i).amount);
            side.total() = all;
            NoteListHoldsAll(side.income);
        } else {
            kept.holding = false;
            ListAllOf(side);
        }
        return;
    }
    if (ListHoldsAll(side.income) ? !SetListAside(side) : !Holding(side)) {
        // The rows aside no longer match: listed again from the file, then set aside.
        ListAllOf(side);
        if (!SetListAside(side)) {
            LvDeleteAll(side.list);
            side.total() = 0;
            return;
        }
    }
    RunningTotal sum;
    CopyRows(side, index.positionsIn(period, &sum));
    side.total() = sum;
}

void NoteItemAdded(const Side& side, int32_t serial, float amount, const RowCells& cells) {
    ItemIndex& index = IndexOfSide(side.income);
    if (!index.current()) return;
    const bool holding = Holding(side);
    const FileStamp before = index.stamp();
    if (!StampFollows(side, {before.count + 1, before.nextSerial + 1}) ||
        before.nextSerial != serial)
        return index.markStale();
    index.append(serial, amount, cells.category, cells.time);
    if (!holding) return;
    ReportListModel& rows = *SetAsideOf(side).rows;
    char number[16];
    char* end = std::to_chars(number, number + sizeof number, rows.rows() + 1).ptr;
    const int32_t row = rows.insertRow(rows.rows(), std::string_view(number, size_t(end - number)),
                                       -1, 0, 0, serial);
    SetCells(rows, row, cells);
}

void NoteItemChanged(const Side& side, int32_t serial, float amount, const RowCells& cells) {
    ItemIndex& index = IndexOfSide(side.income);
    if (!index.current()) return;
    const bool holding = Holding(side);
    if (!StampFollows(side, index.stamp())) return;
    if (!index.change(serial, amount, cells.category, cells.time)) return index.markStale();
    if (holding) SetCells(*SetAsideOf(side).rows, index.positionOf(serial), cells);
}

void NoteItemRemoved(const Side& side, int32_t serial) {
    ItemIndex& index = IndexOfSide(side.income);
    if (!index.current()) return;
    const bool holding = Holding(side);
    const FileStamp before = index.stamp();
    if (!StampFollows(side, {before.count - 1, before.nextSerial})) return;
    const int32_t at = index.remove(serial);
    if (at < 0) return index.markStale();
    SetAside& kept = SetAsideOf(side);
    if (kept.renumberGeneration != index.generation()) kept.renumberFrom = INT32_MAX;
    kept.renumberGeneration = index.generation();
    kept.renumberFrom = std::min(kept.renumberFrom, at);
    if (holding) kept.rows->removeRow(at);
}

}  // namespace tavrin::finance
