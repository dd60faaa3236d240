// The formula-column list and where the print settings window shows it.
//
// The list holds texts in pairs (title 1, formula 1, title 2, ...) in the
// program's column list; 新列列表框 mirrors the titles (entry i = pair i) and
// 统计列表框 receives each new title. The print settings window wires its
// controls with SetFormulaListControls when it loads, empties the list, opens
// the formula window from its button 添加 and binds its context-menu item
// "删除" to DeleteFormulaColumn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrin::printing {

struct FormulaListControls {
    uint32_t window = 0;          // the print settings window
    uint32_t displayList = 0;     // 显示列表框 (check list): the printable columns
    uint32_t newColumnList = 0;   // 新列列表框 (list)
    uint32_t statisticsList = 0;  // 统计列表框 (check list)
};
void SetFormulaListControls(const FormulaListControls& controls);
const FormulaListControls& FormulaListControlsInUse();

// The pairs (title, formula), GBK, in list order.
std::vector<std::pair<std::string, std::string>> FormulaColumns();
// The list's texts as stored: title 1, formula 1, title 2, ...
std::vector<std::string> FormulaColumnTexts();
// Empties the list (the print settings window's load).
void EmptyFormulaColumns();
// Appends a pair and shows its title in 新列列表框 and 统计列表框.
void AddFormulaColumn(std::string_view gbkTitle, std::string_view gbkFormula);
// The context-menu item "删除" of 新列列表框: removes the selected entry's
// pair, its mirror entries and the entry itself.
void DeleteFormulaColumn();

// The ticked entries of 显示列表框, in list order (what 列内容 offers).
std::vector<std::string> TickedPrintColumns();

// Opens the formula window modally over `parentWindow`.
void OpenFormulaWindow(uint32_t parentWindow);

}  // namespace tavrin::printing
