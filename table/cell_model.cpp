// Cell model: storage, structure changes that keep merges in step, styles.
#include "table/cell_model.h"

#include <algorithm>
#include <cstring>

#include "tb_text_constants.h"

namespace tavrin::table {

int32_t NormalizedAlignment(int32_t style) {
    return style >= 1 && style <= 14 ? style : 1;
}

size_t CellModel::StyleHash::operator()(const CellStyle& s) const {
    size_t h = s.textColor;
    h = h * 1000003u ^ s.backColor;
    h = h * 1000003u ^ uint32_t(s.fontSize);
    h = h * 1000003u ^ s.format;
    h = h * 1000003u ^ (uint32_t(s.fontName) << 16 | uint32_t(s.alignment) << 8 | s.edges);
    return h;
}

CellModel::CellModel() {
    fontNames_.push_back(tb_text::DefaultFace);
    styles_.push_back(CellStyle{});
    styleIndex_.emplace(CellStyle{}, 0);
}

void CellModel::reset(int32_t rows, int32_t columns) {
    rows_ = std::max(0, rows);
    columns_ = std::max(0, columns);
    cells_.assign(size_t(rows_) * size_t(columns_), Cell{});
    rowHeights_.assign(size_t(rows_), defaultRowHeight_);
    columnWidths_.assign(size_t(columns_), defaultColumnWidth_);
    merges_.clear();
    fixedRows_ = 0;
}

CellModel::Cell* CellModel::cell(int32_t row, int32_t column) {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return nullptr;
    return &cells_[size_t(row) * size_t(columns_) + size_t(column)];
}
const CellModel::Cell* CellModel::cell(int32_t row, int32_t column) const {
    return const_cast<CellModel*>(this)->cell(row, column);
}

const std::string& CellModel::text(int32_t row, int32_t column) const {
    static const std::string kEmpty;
    const Cell* c = cell(row, column);
    return c ? c->text : kEmpty;
}

void CellModel::setText(int32_t row, int32_t column, std::string_view gbk) {
    if (Cell* c = cell(row, column)) c->text.assign(gbk);
}

const CellStyle& CellModel::style(int32_t row, int32_t column) const {
    const Cell* c = cell(row, column);
    return styles_[c ? c->style : 0];
}

uint32_t CellModel::intern(const CellStyle& s) {
    auto it = styleIndex_.find(s);
    if (it != styleIndex_.end()) return it->second;
    styles_.push_back(s);
    styleIndex_.emplace(s, uint32_t(styles_.size() - 1));
    return uint32_t(styles_.size() - 1);
}

uint16_t CellModel::internFontName(std::string_view gbk) {
    for (size_t i = 0; i < fontNames_.size(); ++i)
        if (fontNames_[i] == gbk) return uint16_t(i);
    if (fontNames_.size() >= 0xFFFF) return 0;
    fontNames_.emplace_back(gbk);
    return uint16_t(fontNames_.size() - 1);
}

void CellModel::insertRows(int32_t at, int32_t n, int32_t height) {
    if (n <= 0) return;
    at = std::clamp(at, 0, rows_);
    cells_.insert(cells_.begin() + ptrdiff_t(size_t(at) * size_t(columns_)),
                  size_t(n) * size_t(columns_), Cell{});
    rowHeights_.insert(rowHeights_.begin() + at, size_t(n), std::max(0, height));
    for (CellRange& m : merges_) {
        if (m.row >= at)
            m.row += n;
        else if (m.lastRow() >= at)
            m.rows += n;  // rows inserted inside a merge join it
    }
    rows_ += n;
}

void CellModel::insertColumns(int32_t at, int32_t n, int32_t width) {
    if (n <= 0) return;
    at = std::clamp(at, 0, columns_);
    std::vector<Cell> grown(size_t(rows_) * size_t(columns_ + n));
    for (int32_t r = 0; r < rows_; ++r)
        for (int32_t c = 0; c < columns_; ++c)
            grown[size_t(r) * size_t(columns_ + n) + size_t(c < at ? c : c + n)] =
                std::move(cells_[size_t(r) * size_t(columns_) + size_t(c)]);
    cells_ = std::move(grown);
    columnWidths_.insert(columnWidths_.begin() + at, size_t(n), std::max(0, width));
    for (CellRange& m : merges_) {
        if (m.column >= at)
            m.column += n;
        else if (m.lastColumn() >= at)
            m.columns += n;
    }
    columns_ += n;
}

void CellModel::removeRows(int32_t at, int32_t n) {
    if (at < 0 || at >= rows_ || n <= 0) return;
    n = std::min(n, rows_ - at);
    cells_.erase(cells_.begin() + ptrdiff_t(size_t(at) * size_t(columns_)),
                 cells_.begin() + ptrdiff_t(size_t(at + n) * size_t(columns_)));
    rowHeights_.erase(rowHeights_.begin() + at, rowHeights_.begin() + at + n);
    std::vector<CellRange> kept;
    for (CellRange m : merges_) {
        const int32_t first = m.row, last = m.lastRow();
        const int32_t cutFirst = std::max(first, at), cutLast = std::min(last, at + n - 1);
        const int32_t cut = cutLast >= cutFirst ? cutLast - cutFirst + 1 : 0;
        m.rows -= cut;
        if (first >= at + n)
            m.row -= n;
        else if (first >= at)
            m.row = at;
        if (m.rows * m.columns > 1 && m.rows > 0) kept.push_back(m);
    }
    merges_ = std::move(kept);
    rows_ -= n;
    fixedRows_ = std::min(fixedRows_, rows_);
}

void CellModel::removeColumns(int32_t at, int32_t n) {
    if (at < 0 || at >= columns_ || n <= 0) return;
    n = std::min(n, columns_ - at);
    std::vector<Cell> shrunk(size_t(rows_) * size_t(columns_ - n));
    for (int32_t r = 0; r < rows_; ++r)
        for (int32_t c = 0; c < columns_; ++c)
            if (c < at || c >= at + n)
                shrunk[size_t(r) * size_t(columns_ - n) + size_t(c < at ? c : c - n)] =
                    std::move(cells_[size_t(r) * size_t(columns_) + size_t(c)]);
    cells_ = std::move(shrunk);
    columnWidths_.erase(columnWidths_.begin() + at, columnWidths_.begin() + at + n);
    std::vector<CellRange> kept;
    for (CellRange m : merges_) {
        const int32_t cutFirst = std::max(m.column, at);
        const int32_t cutLast = std::min(m.lastColumn(), at + n - 1);
        const int32_t first = m.column;
        m.columns -= cutLast >= cutFirst ? cutLast - cutFirst + 1 : 0;
        if (first >= at + n)
            m.column -= n;
        else if (first >= at)
            m.column = at;
        if (m.columns > 0 && m.rows * m.columns > 1) kept.push_back(m);
    }
    merges_ = std::move(kept);
    columns_ -= n;
}

int32_t CellModel::rowHeight(int32_t row) const {
    return row >= 0 && row < rows_ ? rowHeights_[size_t(row)] : 0;
}
void CellModel::setRowHeight(int32_t row, int32_t height) {
    if (row >= 0 && row < rows_) rowHeights_[size_t(row)] = std::max(0, height);
}
int32_t CellModel::columnWidth(int32_t column) const {
    return column >= 0 && column < columns_ ? columnWidths_[size_t(column)] : 0;
}
void CellModel::setColumnWidth(int32_t column, int32_t width) {
    if (column >= 0 && column < columns_) columnWidths_[size_t(column)] = std::max(0, width);
}
void CellModel::sizeRows(int32_t at, int32_t n, int32_t height) {
    const int64_t end = int64_t(at) + n;
    if (at < 0 || n <= 0 || end > INT32_MAX) return;
    if (end > rows_) insertRows(rows_, int32_t(end - rows_), defaultRowHeight_);
    for (int32_t i = at; i < int32_t(end); ++i) setRowHeight(i, height);
}
void CellModel::sizeColumns(int32_t at, int32_t n, int32_t width) {
    const int64_t end = int64_t(at) + n;
    if (at < 0 || n <= 0 || end > INT32_MAX) return;
    if (end > columns_) insertColumns(columns_, int32_t(end - columns_), defaultColumnWidth_);
    for (int32_t i = at; i < int32_t(end); ++i) setColumnWidth(i, width);
}
void CellModel::setDefaultSizes(int32_t rowHeight, int32_t columnWidth) {
    defaultRowHeight_ = std::max(0, rowHeight);
    defaultColumnWidth_ = std::max(0, columnWidth);
}
void CellModel::setDefaultFont(std::string_view gbkName, int32_t size) {
    if (!gbkName.empty()) fontNames_[0].assign(gbkName);
    if (size > 0) defaultFontSize_ = size;
}
int64_t CellModel::totalWidth() const {
    int64_t w = 0;
    for (int32_t x : columnWidths_) w += x;
    return w;
}

bool CellModel::clip(CellRange& range) const {
    if (range.rows <= 0 || range.columns <= 0) return false;
    int64_t r0 = std::max(0, range.row), c0 = std::max(0, range.column);
    int64_t r1 = std::min<int64_t>(int64_t(range.row) + range.rows - 1, rows_ - 1);
    int64_t c1 = std::min<int64_t>(int64_t(range.column) + range.columns - 1, columns_ - 1);
    if (r0 > r1 || c0 > c1) return false;
    range = CellRange{int32_t(r0), int32_t(c0), int32_t(r1 - r0 + 1), int32_t(c1 - c0 + 1)};
    return true;
}

void CellModel::merge(CellRange range) {
    if (!clip(range) || range.rows * int64_t(range.columns) < 2) return;
    std::erase_if(merges_, [&](const CellRange& m) { return m.intersects(range); });
    merges_.push_back(range);
}

const CellRange* CellModel::mergeAt(int32_t row, int32_t column) const {
    for (const CellRange& m : merges_)
        if (m.contains(row, column)) return &m;
    return nullptr;
}

int32_t CellModel::cellHeight(int32_t row, int32_t column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return 0;
    const CellRange* m = mergeAt(row, column);
    if (!m) return rowHeight(row);
    int32_t h = 0;
    for (int32_t r = m->row; r <= m->lastRow(); ++r) h += rowHeight(r);
    return h;
}

void CellModel::editEdges(int32_t row, int32_t column, uint8_t set, uint8_t clear) {
    Cell* c = cell(row, column);
    if (!c) return;
    CellStyle s = styles_[c->style];
    s.edges = uint8_t((s.edges & ~clear) | set);
    c->style = intern(s);
}

void CellModel::setBorders(const CellRange& range, int32_t sides, bool on) {
    CellRange r = range;
    if (!clip(r)) return;
    // A line between two cells may be drawn by either of them: clearing it
    // clears both cells' edges, setting it sets the edge of the cell inside.
    auto edge = [&](int32_t row, int32_t column, uint8_t bit) {
        if (on) {
            editEdges(row, column, bit, 0);
            return;
        }
        editEdges(row, column, 0, bit);
        if (bit == kEdgeLeft) editEdges(row, column - 1, 0, kEdgeRight);
        if (bit == kEdgeRight) editEdges(row, column + 1, 0, kEdgeLeft);
        if (bit == kEdgeTop) editEdges(row - 1, column, 0, kEdgeBottom);
        if (bit == kEdgeBottom) editEdges(row + 1, column, 0, kEdgeTop);
    };
    for (int32_t row = r.row; row <= r.lastRow(); ++row)
        for (int32_t c = r.column; c <= r.lastColumn(); ++c) {
            const bool left = c == r.column, right = c == r.lastColumn();
            const bool top = row == r.row, bottom = row == r.lastRow();
            if (sides & Sides::kLeft) edge(row, c, kEdgeLeft);
            if (sides & Sides::kTop) edge(row, c, kEdgeTop);
            if (sides & Sides::kRight) edge(row, c, kEdgeRight);
            if (sides & Sides::kBottom) edge(row, c, kEdgeBottom);
            if (sides & Sides::kDiagonal) edge(row, c, kEdgeDiagonal);
            if (sides & Sides::kFrame) {
                if (left) edge(row, c, kEdgeLeft);
                if (right) edge(row, c, kEdgeRight);
                if (top) edge(row, c, kEdgeTop);
                if (bottom) edge(row, c, kEdgeBottom);
            }
            if (sides & (Sides::kInner | Sides::kInnerVertical)) {
                if (!right) edge(row, c, kEdgeRight);
                if (!on && !left) edge(row, c, kEdgeLeft);
            }
            if (sides & (Sides::kInner | Sides::kInnerHorizontal)) {
                if (!bottom) edge(row, c, kEdgeBottom);
                if (!on && !top) edge(row, c, kEdgeTop);
            }
        }
}

void CellModel::setFixedRows(int32_t n) {
    fixedRows_ = std::clamp(n, 0, rows_);
}

}  // namespace tavrin::table
