// The table component's cell model: rows and columns of GBK texts, merged
// ranges, row heights and column widths (in the report engine's units of
// 0.1 mm), per-cell looks shared through a style table, and fixed title rows.
// A cell costs its text plus a 4-byte style index, so a large table stays small.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavrin::table {

// 0-based, clipped by the model where it says so.
struct CellRange {
    int32_t row = 0, column = 0, rows = 1, columns = 1;
    int32_t lastRow() const { return row + rows - 1; }
    int32_t lastColumn() const { return column + columns - 1; }
    bool contains(int32_t r, int32_t c) const {
        return r >= row && r <= lastRow() && c >= column && c <= lastColumn();
    }
    bool intersects(const CellRange& o) const {
        return row <= o.lastRow() && o.row <= lastRow() && column <= o.lastColumn() &&
               o.column <= lastColumn();
    }
    bool operator==(const CellRange&) const = default;
};

// A colour of 0xFF000000 means "the default" (black text, no background).
constexpr uint32_t kDefaultColor = 0xFF000000u;

// The cell-format word; the font style field sits under this mask.
constexpr uint32_t kFontStyleMask = 0x7800;
constexpr int kFontStyleShift = 11;
enum FontStyleBits : uint32_t { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

// Lines a cell draws along its own edges.
enum CellEdge : uint8_t {
    kEdgeLeft = 1,
    kEdgeTop = 2,
    kEdgeRight = 4,
    kEdgeBottom = 8,
    kEdgeDiagonal = 16
};

// Side bits of the border operations on a range.
namespace Sides {
constexpr int32_t kLeft = 1, kTop = 2, kRight = 4, kBottom = 8;  // every cell's own edge
constexpr int32_t kFrame = 16;                                   // the range's outline
constexpr int32_t kInner = 32;                                   // every line inside the range
constexpr int32_t kInnerHorizontal = 64, kInnerVertical = 128;
constexpr int32_t kDiagonal = 256;  // corner to corner in every cell
}  // namespace Sides

// Alignment styles 1–14: horizontal left/centre/right, vertical middle/top/bottom.
// 1–3 middle, 4–6 top, 7–9 bottom, 10–12 middle with word wrap, 13 left-top
// wrapped, 14 centre-top wrapped. Any other value counts as 1.
int32_t NormalizedAlignment(int32_t style);

struct CellStyle {
    uint32_t textColor = kDefaultColor;
    uint32_t backColor = kDefaultColor;
    int32_t fontSize = 0;   // 0: the table's default
    uint32_t format = 0;    // the cell-format word (font style under kFontStyleMask)
    uint16_t fontName = 0;  // index into the model's font names; 0: the default
    uint8_t alignment = 1;  // 1–14
    uint8_t edges = 0;      // CellEdge bits
    // The font style field of the format word (FontStyleBits); setting it
    // replaces the whole field and keeps the rest of the word.
    uint32_t fontStyle() const { return (format & kFontStyleMask) >> kFontStyleShift; }
    void setFontStyle(uint32_t bits) {
        format = (format & ~kFontStyleMask) | ((bits & 0xF) << kFontStyleShift);
    }
    bool operator==(const CellStyle&) const = default;
};

class CellModel {
  public:
    CellModel();

    int32_t rowCount() const { return rows_; }
    int32_t columnCount() const { return columns_; }
    // Replaces everything by an empty rows × columns table with default sizes.
    void reset(int32_t rows, int32_t columns);

    // Cells outside the table read as empty and ignore writes.
    const std::string& text(int32_t row, int32_t column) const;
    void setText(int32_t row, int32_t column, std::string_view gbk);
    const CellStyle& style(int32_t row, int32_t column) const;
    // Every cell of the range takes `change` applied to its current style.
    template <typename Change>
    void changeStyle(const CellRange& range, Change change);
    const std::string& fontName(uint16_t index) const { return fontNames_[index]; }
    uint16_t internFontName(std::string_view gbk);

    // Row and column structure. Positions beyond the end append; counts ≤ 0 do nothing.
    void insertRows(int32_t at, int32_t n, int32_t height);
    void insertColumns(int32_t at, int32_t n, int32_t width);
    void removeRows(int32_t at, int32_t n);
    void removeColumns(int32_t at, int32_t n);

    int32_t rowHeight(int32_t row) const;
    void setRowHeight(int32_t row, int32_t height);
    int32_t columnWidth(int32_t column) const;
    void setColumnWidth(int32_t column, int32_t width);
    // Gives n lines from `at` one size, first appending lines of the default
    // size when they reach past the end; nothing for at < 0 or n ≤ 0.
    void sizeRows(int32_t at, int32_t n, int32_t height);
    void sizeColumns(int32_t at, int32_t n, int32_t width);
    int32_t defaultRowHeight() const { return defaultRowHeight_; }
    int32_t defaultColumnWidth() const { return defaultColumnWidth_; }
    void setDefaultSizes(int32_t rowHeight, int32_t columnWidth);
    int32_t defaultFontSize() const { return defaultFontSize_; }
    const std::string& defaultFontName() const { return fontNames_[0]; }
    void setDefaultFont(std::string_view gbkName, int32_t size);
    int64_t totalWidth() const;

    // Merged ranges: joining a range dissolves every merge it overlaps; the
    // anchor (top-left) cell shows the text. Ranges of one cell join nothing.
    void merge(CellRange range);
    const std::vector<CellRange>& merges() const { return merges_; }
    // The merge that covers the cell, or null.
    const CellRange* mergeAt(int32_t row, int32_t column) const;
    // Height of the cell's merge (its row's height when not merged).
    int32_t cellHeight(int32_t row, int32_t column) const;

    // Lines of the border operations (Sides bits), set or cleared.
    void setBorders(const CellRange& range, int32_t sides, bool on);

    int32_t fixedRows() const { return fixedRows_; }
    void setFixedRows(int32_t n);

    // Clips a range to the table; false when nothing of it is inside.
    bool clip(CellRange& range) const;

  private:
    struct Cell {
        std::string text;
        uint32_t style = 0;
    };
    struct StyleHash {
        size_t operator()(const CellStyle& s) const;
    };
    Cell* cell(int32_t row, int32_t column);
    const Cell* cell(int32_t row, int32_t column) const;
    uint32_t intern(const CellStyle& s);
    void editEdges(int32_t row, int32_t column, uint8_t set, uint8_t clear);

    int32_t rows_ = 0, columns_ = 0;
    std::vector<Cell> cells_;  // row-major
    std::vector<int32_t> rowHeights_, columnWidths_;
    std::vector<CellStyle> styles_;
    std::unordered_map<CellStyle, uint32_t, StyleHash> styleIndex_;
    std::vector<std::string> fontNames_;
    std::vector<CellRange> merges_;
    int32_t fixedRows_ = 0;
    int32_t defaultRowHeight_ = 50, defaultColumnWidth_ = 300, defaultFontSize_ = 30;
};

template <typename Change>
void CellModel::changeStyle(const CellRange& range, Change change) {
    CellRange r = range;
    if (!clip(r)) return;
    // Cells that share a style before share one after: map each old index once.
    std::unordered_map<uint32_t, uint32_t> done;
    for (int32_t row = r.row; row <= r.lastRow(); ++row)
        for (int32_t c = r.column; c <= r.lastColumn(); ++c) {
            Cell* x = cell(row, c);
            auto it = done.find(x->style);
            if (it == done.end()) {
                CellStyle s = styles_[x->style];
                change(s);
                it = done.emplace(x->style, intern(s)).first;
            }
            x->style = it->second;
        }
}

}  // namespace tavrin::table
