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
    rowStart_.reserve(total);
    cellLength_.reserve(total * stride_);
    rowData_.reserve(total);
    rowCheck_.reserve(total);
    rowIndent_.reserve(total);
    bytes_.reserve(std::max(textBytes, bytes_.size()));
}

void ReportListModel::appendRows(const RowBatch& batch) {
    const int32_t n = batch.rows();
    if (n == 0) return;
    const size_t width = size_t(batch.columns);
    const size_t kept = std::min(width, size_t(std::max(1, columns())));
    restride(std::max<size_t>(kept, 1));
    const size_t firstCell = cellLength_.size();
    cellLength_.resize(firstCell + size_t(n) * stride_, uint8_t(0));
    if (!cellImages_.empty()) cellImages_.resize(cellLength_.size(), -1);
    rowData_.insert(rowData_.end(), batch.data.begin(), batch.data.end());
    rowCheck_.insert(rowCheck_.end(), size_t(n), int8_t(checkBoxes_ ? 1 : 0));
    rowIndent_.insert(rowIndent_.end(), size_t(n), uint8_t(0));
    rowStart_.reserve(rowStart_.size() + size_t(n));
    // The batch's rows are laid out as the buffer keeps them: when every cell
    // is kept and short, the bytes go in whole and only the lengths are coded.
    const bool whole = kept == width && std::all_of(batch.lengths.begin(), batch.lengths.end(),
                                                    [](uint32_t l) { return l < kLongCell; });
    const char* from = batch.bytes.data();
    if (whole) {
        uint32_t at = uint32_t(bytes_.size());
        bytes_.insert(bytes_.end(), batch.bytes.begin(), batch.bytes.end());
        for (int32_t r = 0; r < n; ++r) {
            rowStart_.push_back(at);
            uint8_t* codes = &cellLength_[firstCell + size_t(r) * stride_];
            const uint32_t* length = &batch.lengths[size_t(r) * width];
            for (size_t c = 0; c < width; ++c) {
                codes[c] = uint8_t(length[c]);
                at += length[c];
            }
        }
        scheduleFlush();
        return;
    }
    for (int32_t r = 0; r < n; ++r) {
        rowStart_.push_back(uint32_t(bytes_.size()));
        uint8_t* codes = &cellLength_[firstCell + size_t(r) * stride_];
        const uint32_t* length = &batch.lengths[size_t(r) * width];
        for (size_t c = 0; c < width; ++c) {
            if (c < kept) codes[c] = appendCell(std::string_view(from, length[c]));
            from += length[c];
        }
    }
    scheduleFlush();
}

}  // namespace tavrin::forms
