// Appending many rows to the report list model at once.
#include <algorithm>

#include "forms/report_list.h"

namespace tavrin::forms {

void ReportListModel::RowBatch::clear() {
    data.clear();
    lengths.clear();
    bytes.clear();
}

void ReportListModel::reserve(int32_t rows, size_t textBytes) {
    const size_t total = size_t(std::max(rows, this->rows()));
    cells_.reserve(total * stride_);
    rowData_.reserve(total);
    rowCheck_.reserve(total);
    rowIndent_.reserve(total);
    bytes_.reserve(std::max(textBytes, bytes_.size()));
}

void ReportListModel::appendRows(const RowBatch& batch) {
    const int32_t n = batch.rows();
    if (n == 0) return;
    const int32_t kept = std::min(batch.columns, std::max(1, columns()));
    restride(size_t(std::max(kept, 1)));
    const size_t firstCell = cells_.size();
    cells_.resize(firstCell + size_t(n) * stride_);
    if (!cellImages_.empty()) cellImages_.resize(cells_.size(), -1);
    rowData_.insert(rowData_.end(), batch.data.begin(), batch.data.end());
    rowCheck_.insert(rowCheck_.end(), size_t(n), int8_t(checkBoxes_ ? 1 : 0));
    rowIndent_.insert(rowIndent_.end(), size_t(n), uint8_t(0));
    const uint32_t base = uint32_t(bytes_.size());
    bytes_.insert(bytes_.end(), batch.bytes.begin(), batch.bytes.end());
    uint32_t at = base;
    for (int32_t r = 0; r < n; ++r) {
        Cell* row = &cells_[firstCell + size_t(r) * stride_];
        const uint32_t* lengths = &batch.lengths[size_t(r) * size_t(batch.columns)];
        for (int32_t c = 0; c < batch.columns; ++c) {
            if (c < kept)
                row[c] = Cell{at, lengths[c]};
            else
                wasted_ += lengths[c];
            at += lengths[c];
        }
    }
    scheduleFlush();
}

}  // namespace tavrin::forms
