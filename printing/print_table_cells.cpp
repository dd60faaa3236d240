// The print table's rows and looks, set through the cell model's own operations.
#include "print_table_cells.h"

#include <algorithm>

namespace tavrin::printing {

using namespace tavrin::table;

namespace {

constexpr int32_t kRemarkFontSize = 30;
constexpr int32_t kRemarkLastRowHeight = 150;
constexpr uint32_t kBlack = 0x000000;
constexpr int32_t kAllLines = Sides::kLeft | Sides::kTop | Sides::kRight | Sides::kBottom |
                              Sides::kFrame | Sides::kInner | Sides::kInnerHorizontal |
                              Sides::kInnerVertical | Sides::kDiagonal;

void SetBackColor(CellModel& cells, const CellRange& range, uint32_t color) {
    cells.changeStyle(range, [&](CellStyle& s) { s.backColor = color; });
}

}  // namespace

void SetCellText(CellModel& cells, int32_t row, int32_t column, const std::string& gbk) {
    cells.setText(row, column, gbk.c_str());
}

CellRange WholeRow(int32_t row, int32_t columns) {
    return CellRange{row, 0, 1, columns};
}

void SetFontSize(CellModel& cells, const CellRange& range, int32_t size) {
    cells.changeStyle(range, [&](CellStyle& s) { s.fontSize = std::max(0, size); });
}

void SetBold(CellModel& cells, const CellRange& range) {
    cells.changeStyle(range, [](CellStyle& s) { s.setFontStyle(kBold); });
}

void SetAlignment(CellModel& cells, const CellRange& range, int32_t style) {
    cells.changeStyle(range,
                      [&](CellStyle& s) { s.alignment = uint8_t(NormalizedAlignment(style)); });
}

void FillTitleRows(const PrintTableRequest& r, int32_t h, int32_t columns, CellModel& cells) {
    const TitleFont& font = r.titleFont;
    cells.merge(WholeRow(kTitleRow, columns));
    SetCellText(cells, kTitleRow, 0, r.title);
    const char* face = font.face.c_str();  // a face name ends where a text does
    const uint16_t faceIndex = *face ? cells.internFontName(face) : 0;
    cells.changeStyle(CellRange{kTitleRow, 0, 1, 1}, [&](CellStyle& s) {
        s.fontName = faceIndex;
        s.textColor = font.color;
        s.fontSize = std::max(0, font.size);
        if (font.bold) s.setFontStyle(kBold);
    });
    cells.sizeRows(kTitleRow, 1, h * 3);
    cells.merge(WholeRow(kDateRow, columns));
    SetCellText(cells, kDateRow, 0, r.dateLine);
    cells.setBorders(WholeRow(kRuleRow, columns), kAllLines, false);
    SetBackColor(cells, WholeRow(kRuleRow, columns), kBlack);
    cells.sizeRows(kRuleRow, 1, 1);
    cells.sizeRows(kHeaderRow, 1, h * 8 / 5);
}

void ApplyLineStyle(int32_t style, const CellRange& body, CellModel& cells) {
    switch (style) {
        case 2:  // no lines
            cells.setBorders(body, Sides::kInner, false);
            break;
        case 3:  // the outline, nothing inside the header
            cells.setBorders(body, Sides::kFrame, true);
            cells.setBorders(WholeRow(kHeaderRow, body.columns), Sides::kInner, false);
            break;
        case 4:  // the inner lines
            cells.setBorders(body, Sides::kInner, true);
            break;
        default:  // every line
            cells.setBorders(body, Sides::kFrame | Sides::kInner, true);
            break;
    }
}

void PaintColors(const ColorScheme& scheme, int32_t n, bool summary, int32_t columns,
                 CellModel& cells) {
    if (scheme.scheme < 1 || scheme.scheme > 3) return;
    SetBackColor(cells, WholeRow(kHeaderRow, columns), scheme.header);
    if (n > 0 && scheme.scheme == 1)
        SetBackColor(cells, CellRange{kFirstItemRow, 0, n, columns}, scheme.first);
    // Odd rows and columns count from one, as the person sees them.
    if (scheme.scheme == 2)
        for (int32_t i = 0; i < n; ++i)
            SetBackColor(cells, WholeRow(kFirstItemRow + i, columns),
                         i % 2 == 0 ? scheme.first : scheme.second);
    if (n > 0 && scheme.scheme == 3)
        for (int32_t c = 0; c < columns; ++c)
            SetBackColor(cells, CellRange{kFirstItemRow, c, n, 1},
                         c % 2 == 0 ? scheme.first : scheme.second);
    if (summary) SetBackColor(cells, WholeRow(kFirstItemRow + n, columns), scheme.header);
}

void FillRemark(const std::string& remark, int32_t row, int32_t columns, CellModel& cells) {
    cells.insertRows(cells.rowCount(), 3, cells.defaultRowHeight());
    SetCellText(cells, row, 0, remark);
    SetFontSize(cells, CellRange{row, 0, 1, 1}, kRemarkFontSize);
    cells.merge(CellRange{row, 0, 3, std::max(1, columns - 1)});
    cells.sizeRows(row + 2, 1, kRemarkLastRowHeight);
}

}  // namespace tavrin::printing
