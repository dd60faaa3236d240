// The report list's compact model: cell texts as GBK bytes in one flat buffer,
// rows announced to the view in batches.
#include <QTimer>
#include <algorithm>
#include <cstring>

#include "forms/report_list.h"
#include "internal/picture.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

ReportListModel::ReportListModel(QObject* parent) : QAbstractTableModel(parent) {}

namespace {

uint32_t LoadLength(const char* at) {
    uint32_t n;
    std::memcpy(&n, at, sizeof n);
    return n;
}

}  // namespace

bool ReportListModel::valid(int32_t row, int32_t column) const {
    return row >= 0 && row < rows() && column >= 0 && size_t(column) < stride_ &&
           column < std::max(1, columns());
}

size_t ReportListModel::rowBytes(int32_t row, size_t cells) const {
    const uint8_t* length = lengths(row);
    size_t at = rowStart_[size_t(row)];
    const size_t start = at;
    for (size_t c = 0; c < cells; ++c)
        at += length[c] != kLongCell ? length[c] : 4 + LoadLength(bytes_.data() + at);
    return at - start;
}

bool ReportListModel::inBuffer(std::string_view text) const {
    // A text taken from another cell would move under its own copy.
    return !text.empty() && !bytes_.empty() && text.data() >= bytes_.data() &&
           text.data() < bytes_.data() + bytes_.size();
}

uint8_t ReportListModel::appendCell(std::string_view text) {
    if (text.size() < kLongCell) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return uint8_t(text.size());
    }
    const uint32_t n = uint32_t(text.size());
    const char* word = reinterpret_cast<const char*>(&n);
    bytes_.insert(bytes_.end(), word, word + sizeof n);
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return kLongCell;
}

void ReportListModel::restride(size_t stride) {
    if (stride <= stride_) return;
    // New cells are empty and hold no bytes: the rows' texts stay where they are.
    std::vector<uint8_t> lengths(size_t(rows()) * stride, 0);
    std::vector<int16_t> images(cellImages_.empty() ? 0 : lengths.size(), -1);
    for (size_t r = 0; r < size_t(rows()); ++r) {
        for (size_t c = 0; c < stride_; ++c) {
            lengths[r * stride + c] = cellLength_[r * stride_ + c];
            if (!images.empty()) images[r * stride + c] = cellImages_[r * stride_ + c];
        }
    }
    cellLength_ = std::move(lengths);
    cellImages_ = std::move(images);
    stride_ = stride;
}

void ReportListModel::compact(int32_t dropped) {
    std::vector<char> fresh;
    fresh.reserve(bytes_.size() - std::min(wasted_, bytes_.size()));
    for (int32_t r = 0; r < rows(); ++r) {
        const uint32_t at = uint32_t(fresh.size());
        if (dropped < 0 || size_t(dropped) >= stride_) {
            const char* from = bytes_.data() + rowStart_[size_t(r)];
            fresh.insert(fresh.end(), from, from + rowBytes(r, stride_));
        } else {
            const size_t before = rowBytes(r, size_t(dropped));
            const size_t through = rowBytes(r, size_t(dropped) + 1);
            const char* from = bytes_.data() + rowStart_[size_t(r)];
            fresh.insert(fresh.end(), from, from + before);
            fresh.insert(fresh.end(), from + through, from + rowBytes(r, stride_));
            lengths(r)[dropped] = 0;
        }
        rowStart_[size_t(r)] = at;
    }
    bytes_ = std::move(fresh);
    wasted_ = 0;
}

void ReportListModel::compactIfWasteful() {
    if (wasted_ < (1u << 20) || wasted_ < bytes_.size() / 2) return;
    compact();
}

void ReportListModel::scheduleFlush() {
    if (flushPending_) return;
    flushPending_ = true;
    QTimer::singleShot(0, this, [this] { flush(); });
}

void ReportListModel::flush() {
    flushPending_ = false;
    if (shownRows_ >= rows()) return;
    beginInsertRows({}, shownRows_, rows() - 1);
    shownRows_ = rows();
    endInsertRows();
}

int32_t ReportListModel::insertRow(int32_t row, std::string_view text, int32_t image,
                                   int32_t checkState, int32_t indent, int32_t data) {
    if (inBuffer(text)) return insertRow(row, std::string(text), image, checkState, indent, data);
    const bool append = row < 0 || row >= rows();
    if (!append) {
        flush();
        beginInsertRows({}, row, row);
    } else {
        row = rows();
    }
    const uint32_t start = uint32_t(bytes_.size());
    const uint8_t first = appendCell(text);
    rowStart_.insert(rowStart_.begin() + row, start);
    const auto cellsAt = cellLength_.begin() + long(size_t(row) * stride_);
    cellLength_.insert(cellsAt, stride_, uint8_t(0));
    lengths(row)[0] = first;
    if (!cellImages_.empty())
        cellImages_.insert(cellImages_.begin() + long(size_t(row) * stride_), stride_, -1);
    rowData_.insert(rowData_.begin() + row, data);
    rowCheck_.insert(rowCheck_.begin() + row,
                     int8_t(checkState > 0 ? checkState + 1 : (checkBoxes_ ? 1 : 0)));
    rowIndent_.insert(rowIndent_.begin() + row, uint8_t(std::clamp(indent, 0, 255)));
    if (image >= 0) setImage(row, 0, image);
    if (append) {
        scheduleFlush();
    } else {
        shownRows_ = rows();
        endInsertRows();
    }
    return row;
}

bool ReportListModel::removeRow(int32_t row) {
    if (row < 0 || row >= rows()) return false;
    flush();
    beginRemoveRows({}, row, row);
    wasted_ += rowBytes(row, stride_);
    rowStart_.erase(rowStart_.begin() + row);
    cellLength_.erase(cellLength_.begin() + long(size_t(row) * stride_),
                      cellLength_.begin() + long(size_t(row + 1) * stride_));
    if (!cellImages_.empty())
        cellImages_.erase(cellImages_.begin() + long(size_t(row) * stride_),
                          cellImages_.begin() + long(size_t(row + 1) * stride_));
    rowData_.erase(rowData_.begin() + row);
    rowCheck_.erase(rowCheck_.begin() + row);
    rowIndent_.erase(rowIndent_.begin() + row);
    shownRows_ = rows();
    endRemoveRows();
    compactIfWasteful();
    return true;
}

void ReportListModel::clear() {
    beginResetModel();
    bytes_.clear();
    bytes_.shrink_to_fit();
    rowStart_.clear();
    rowStart_.shrink_to_fit();
    cellLength_.clear();
    cellLength_.shrink_to_fit();
    cellImages_.clear();
    rowData_.clear();
    rowCheck_.clear();
    rowIndent_.clear();
    wasted_ = 0;
    shownRows_ = 0;
    endResetModel();
}

void ReportListModel::setText(int32_t row, int32_t column, std::string_view text) {
    if (row < 0 || row >= rows() || column < 0 || column >= std::max(1, columns())) return;
    if (inBuffer(text)) return setText(row, column, std::string(text));
    restride(size_t(column) + 1);
    const std::string_view old = this->text(row, column);
    if (text.size() == old.size()) {
        std::copy(text.begin(), text.end(), bytes_.begin() + (old.data() - bytes_.data()));
    } else {
        // The row moves to the end of the buffer with its new cell; a row
        // already there (one just appended) is rewritten where it is.
        const size_t start = rowStart_[size_t(row)];
        const size_t before = rowBytes(row, size_t(column));
        const size_t through = rowBytes(row, size_t(column) + 1);
        const size_t whole = rowBytes(row, stride_);
        const std::string after(bytes_.data() + start + through, whole - through);
        if (start + whole == bytes_.size()) {
            bytes_.resize(start + before);
        } else {
            wasted_ += whole;
            const std::string head(bytes_.data() + start, before);
            rowStart_[size_t(row)] = uint32_t(bytes_.size());
            bytes_.insert(bytes_.end(), head.begin(), head.end());
        }
        lengths(row)[column] = appendCell(text);
        bytes_.insert(bytes_.end(), after.begin(), after.end());
    }
    if (row < shownRows_) emit dataChanged(index(row, column), index(row, column));
    compactIfWasteful();
}

std::string_view ReportListModel::text(int32_t row, int32_t column) const {
    if (!valid(row, column)) return {};
    const size_t at = rowStart_[size_t(row)] + rowBytes(row, size_t(column));
    const uint8_t length = lengths(row)[column];
    if (length != kLongCell) return std::string_view(bytes_.data() + at, length);
    return std::string_view(bytes_.data() + at + 4, LoadLength(bytes_.data() + at));
}

void ReportListModel::setImage(int32_t row, int32_t column, int32_t image) {
    if (row < 0 || row >= rows() || column < 0 || column >= std::max(1, columns())) return;
    restride(size_t(column) + 1);
    if (cellImages_.empty()) {
        if (image < 0) return;
        cellImages_.assign(cellLength_.size(), -1);
    }
    cellImages_[size_t(row) * stride_ + size_t(column)] = int16_t(std::clamp(image, -1, 32767));
    if (row < shownRows_) emit dataChanged(index(row, column), index(row, column));
}

int32_t ReportListModel::image(int32_t row, int32_t column) const {
    if (!valid(row, column) || cellImages_.empty()) return -1;
    return cellImages_[size_t(row) * stride_ + size_t(column)];
}

void ReportListModel::setCheckState(int32_t row, int32_t state) {
    if (row < 0 || row >= rows()) return;
    rowCheck_[size_t(row)] = int8_t(std::clamp(state + 1, 0, 127));
    if (row < shownRows_) emit dataChanged(index(row, 0), index(row, 0));
}

int32_t ReportListModel::checkState(int32_t row) const {
    if (row < 0 || row >= rows()) return 0;
    return std::max(0, rowCheck_[size_t(row)] - 1);
}

void ReportListModel::setItemData(int32_t row, int32_t data) {
    if (row >= 0 && row < rows()) rowData_[size_t(row)] = data;
}

int32_t ReportListModel::itemData(int32_t row) const {
    return row >= 0 && row < rows() ? rowData_[size_t(row)] : 0;
}

int32_t ReportListModel::indent(int32_t row) const {
    return row >= 0 && row < rows() ? rowIndent_[size_t(row)] : 0;
}

void ReportListModel::insertColumn(int32_t at, const Column& column) {
    at = std::clamp(at, 0, columns());
    flush();
    beginInsertColumns({}, at, at);
    // Cells of later columns move one place to the right.
    const size_t oldColumns = size_t(std::max(1, columns()));
    restride(std::max(stride_, size_t(columns() + 1)));
    if (!columns_.empty()) {
        for (size_t r = 0; r < size_t(rows()); ++r) {
            for (size_t c = std::min(stride_ - 1, oldColumns); c > size_t(at); --c) {
                cellLength_[r * stride_ + c] = cellLength_[r * stride_ + c - 1];
                if (!cellImages_.empty())
                    cellImages_[r * stride_ + c] = cellImages_[r * stride_ + c - 1];
            }
            cellLength_[r * stride_ + size_t(at)] = 0;
            if (!cellImages_.empty()) cellImages_[r * stride_ + size_t(at)] = -1;
        }
    }
    columns_.insert(columns_.begin() + at, column);
    endInsertColumns();
}

void ReportListModel::removeColumn(int32_t at) {
    if (at < 0 || at >= columns()) return;
    flush();
    beginRemoveColumns({}, at, at);
    // The column's texts leave the buffer; later cells move one place left.
    if (size_t(at) < stride_) compact(at);
    for (size_t r = 0; r < size_t(rows()); ++r) {
        for (size_t c = size_t(at); c + 1 < stride_; ++c) {
            cellLength_[r * stride_ + c] = cellLength_[r * stride_ + c + 1];
            if (!cellImages_.empty())
                cellImages_[r * stride_ + c] = cellImages_[r * stride_ + c + 1];
        }
        cellLength_[r * stride_ + stride_ - 1] = 0;
    }
    columns_.erase(columns_.begin() + at);
    endRemoveColumns();
}

void ReportListModel::setImages(std::vector<QPixmap> images) {
    const bool had = hasImages();
    images_ = std::move(images);
    if (had != hasImages()) emit rowLookChanged();
}

void ReportListModel::setShowCheckBoxes(bool on) {
    const bool changed = checkBoxes_ != on;
    checkBoxes_ = on;
    for (int8_t& c : rowCheck_)
        if (on && c == 0) c = 1;
    if (shownRows_ > 0) emit dataChanged(index(0, 0), index(shownRows_ - 1, 0));
    if (changed) emit rowLookChanged();
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

QModelIndex ReportListModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= shownRows_ || column < 0 ||
        column >= std::max(1, columns())) {
        return {};
    }
    return createIndex(row, column);
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex& index) const {
    if (index.model() != this || index.row() < 0 || index.row() >= shownRows_ ||
        index.column() < 0 || index.column() >= std::max(1, columns())) {
        return {};
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

int ReportListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(1, columns());
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
    const int32_t r = index.row(), c = index.column();
    if (!valid(r, c)) return {};
    switch (role) {
        case Qt::DisplayRole:
            return GbkToQString(text(r, c));
        case Qt::TextAlignmentRole: {
            const int32_t a = c < columns() ? columns_[size_t(c)].align : 0;
            return int((a == 1   ? Qt::AlignHCenter
                        : a == 2 ? Qt::AlignRight
                                 : Qt::AlignLeft) |
                       Qt::AlignVCenter);
        }
        case Qt::DecorationRole: {
            const int32_t i = image(r, c);
            if (i >= 0 && size_t(i) < images_.size()) return images_[size_t(i)];
            return {};
        }
        case Qt::CheckStateRole:
            if (c != 0 || !checkBoxes_) return {};
            return checkState(r) ? Qt::Checked : Qt::Unchecked;
        default:
            return {};
    }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || section < 0 || section >= columns()) return {};
    if (role == Qt::DisplayRole) return GbkToQString(columns_[size_t(section)].title);
    if (role == Qt::TextAlignmentRole) {
        const int32_t a = columns_[size_t(section)].align;
        return int((a == 1   ? Qt::AlignHCenter
                    : a == 2 ? Qt::AlignRight
                             : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    }
    return {};
}

}  // namespace tavrin::forms
