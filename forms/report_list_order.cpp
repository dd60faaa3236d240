// Reordering the rows of the report list model (sorting by a column): every
// per-row vector is permuted in one pass and the view is told once, so a
// hundred thousand rows reorder without a row-by-row rebuild; rows set aside
// whole by trading them with another model.
#include <QModelIndexList>
#include <algorithm>

#include "forms/report_list.h"

namespace tavrin::forms {

namespace {

template <typename T>
void Permute(std::vector<T>& v, const std::vector<int32_t>& order, size_t width) {
    if (v.empty()) return;
    std::vector<T> out(v.size());
    for (size_t r = 0; r < order.size(); ++r)
        std::copy_n(v.begin() + long(size_t(order[r]) * width), width,
                    out.begin() + long(r * width));
    v = std::move(out);
}

}  // namespace

void ReportListModel::reorderRows(const std::vector<int32_t>& order) {
    if (order.size() != size_t(rows())) return;
    flush();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    Permute(rowStart_, order, 1);
    Permute(cellLength_, order, stride_);
    Permute(cellImages_, order, stride_);
    Permute(rowData_, order, 1);
    Permute(rowCheck_, order, 1);
    Permute(rowIndent_, order, 1);
    // Selection and current row are persistent indexes: they move with their rows.
    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<int32_t> where(order.size());
        for (size_t r = 0; r < order.size(); ++r) where[size_t(order[r])] = int32_t(r);
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& i : from)
            to.append(i.row() >= 0 && i.row() < rows() ? index(where[size_t(i.row())], i.column())
                                                       : QModelIndex());
        changePersistentIndexList(from, to);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ReportListModel::exchangeRows(ReportListModel& other) {
    if (&other == this || other.columns() != columns()) return;
    beginResetModel();
    other.beginResetModel();
    std::swap(stride_, other.stride_);
    bytes_.swap(other.bytes_);
    std::swap(wasted_, other.wasted_);
    rowStart_.swap(other.rowStart_);
    cellLength_.swap(other.cellLength_);
    rowData_.swap(other.rowData_);
    rowCheck_.swap(other.rowCheck_);
    rowIndent_.swap(other.rowIndent_);
    cellImages_.swap(other.cellImages_);
    shownRows_ = rows();
    other.shownRows_ = other.rows();
    other.endResetModel();
    endResetModel();
}

}  // namespace tavrin::forms
