// The report list's compact model: cell texts as GBK bytes in one flat buffer,
// rows announced to the view in batches.
#include <QTimer>
#include <algorithm>

#include "forms/internal/picture.h"
#include "forms/report_list.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

ReportListModel::ReportListModel(QObject* parent) : QAbstractTableModel(parent) {}

bool ReportListModel::valid(int32_t row, int32_t column) const {
    return row >= 0 && row < rows() && column >= 0 && size_t(column) < stride_ &&
           column < std::max(1, columns());
}

ReportListModel::Cell ReportListModel::store(std::string_view text) {
    Cell c;
    c.offset = uint32_t(bytes_.size());
    c.length = uint32_t(text.size());
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return c;
}

void ReportListModel::restride(size_t stride) {
    if (stride <= stride_) return;
    std::vector<Cell> cells(size_t(rows()) * stride);
    std::vector<int16_t> images(cellImages_.empty() ? 0 : cells.size(), -1);
    for (size_t r = 0; r < size_t(rows()); ++r) {
        for (size_t c = 0; c < stride_; ++c) {
            cells[r * stride + c] = cells_[r * stride_ + c];
            if (!images.empty()) images[r * stride + c] = cellImages_[r * stride_ + c];
        }
    }
    cells_ = std::move(cells);
    cellImages_ = std::move(images);
    stride_ = stride;
}

void ReportListModel::compactIfWasteful() {
    if (wasted_ < (1u << 20) || wasted_ < bytes_.size() / 2) return;
    std::vector<char> fresh;
    fresh.reserve(bytes_.size() - wasted_);
    for (Cell& c : cells_) {
        const uint32_t at = uint32_t(fresh.size());
        fresh.insert(fresh.end(), bytes_.begin() + c.offset, bytes_.begin() + c.offset + c.length);
        c.offset = at;
    }
    bytes_ = std::move(fresh);
    wasted_ = 0;
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
    const bool append = row < 0 || row >= rows();
    if (append) {
        row = rows();
        cells_.resize(cells_.size() + stride_);
        if (!cellImages_.empty()) cellImages_.resize(cellImages_.size() + stride_, -1);
        rowData_.push_back(data);
        rowCheck_.push_back(int8_t(checkState > 0 ? checkState + 1 : (checkBoxes_ ? 1 : 0)));
        rowIndent_.push_back(uint8_t(std::clamp(indent, 0, 255)));
        cell(row, 0) = store(text);
        if (image >= 0) setImage(row, 0, image);
        scheduleFlush();
        return row;
    }
    flush();
    beginInsertRows({}, row, row);
    cells_.insert(cells_.begin() + long(size_t(row) * stride_), stride_, Cell{});
    if (!cellImages_.empty())
        cellImages_.insert(cellImages_.begin() + long(size_t(row) * stride_), stride_, -1);
    rowData_.insert(rowData_.begin() + row, data);
    rowCheck_.insert(rowCheck_.begin() + row,
                     int8_t(checkState > 0 ? checkState + 1 : (checkBoxes_ ? 1 : 0)));
    rowIndent_.insert(rowIndent_.begin() + row, uint8_t(std::clamp(indent, 0, 255)));
    cell(row, 0) = store(text);
    if (image >= 0) setImage(row, 0, image);
    shownRows_ = rows();
    endInsertRows();
    return row;
}

bool ReportListModel::removeRow(int32_t row) {
    if (row < 0 || row >= rows()) return false;
    flush();
    beginRemoveRows({}, row, row);
    for (size_t c = 0; c < stride_; ++c) wasted_ += cell(row, int32_t(c)).length;
    cells_.erase(cells_.begin() + long(size_t(row) * stride_),
                 cells_.begin() + long(size_t(row + 1) * stride_));
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
    cells_.clear();
    cells_.shrink_to_fit();
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
    restride(size_t(column) + 1);
    Cell& c = cell(row, column);
    if (text.size() <= c.length) {
        // Rewrites in place when the new text fits.
        std::copy(text.begin(), text.end(), bytes_.begin() + c.offset);
        wasted_ += c.length - text.size();
        c.length = uint32_t(text.size());
    } else {
        wasted_ += c.length;
        c = store(text);
    }
    if (row < shownRows_) emit dataChanged(index(row, column), index(row, column));
    compactIfWasteful();
}

std::string_view ReportListModel::text(int32_t row, int32_t column) const {
    if (!valid(row, column)) return {};
    const Cell& c = cell(row, column);
    return std::string_view(bytes_.data() + c.offset, c.length);
}

void ReportListModel::setImage(int32_t row, int32_t column, int32_t image) {
    if (row < 0 || row >= rows() || column < 0 || column >= std::max(1, columns())) return;
    restride(size_t(column) + 1);
    if (cellImages_.empty()) {
        if (image < 0) return;
        cellImages_.assign(cells_.size(), -1);
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
                cells_[r * stride_ + c] = cells_[r * stride_ + c - 1];
                if (!cellImages_.empty())
                    cellImages_[r * stride_ + c] = cellImages_[r * stride_ + c - 1];
            }
            cells_[r * stride_ + size_t(at)] = Cell{};
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
    for (size_t r = 0; r < size_t(rows()); ++r) {
        wasted_ += cells_[r * stride_ + size_t(at)].length;
        for (size_t c = size_t(at); c + 1 < stride_; ++c) {
            cells_[r * stride_ + c] = cells_[r * stride_ + c + 1];
            if (!cellImages_.empty())
                cellImages_[r * stride_ + c] = cellImages_[r * stride_ + c + 1];
        }
        cells_[r * stride_ + stride_ - 1] = Cell{};
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
