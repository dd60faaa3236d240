// The program's typed view of its windows: control properties read and
// written by window id, item id and property index, message boxes, and the
// list, status-bar and page operations the record keeping and the printing use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app_tpl_templates.h"
#include "runtime/message_box.h"

namespace tavrin::forms {
class ReportListModel;
}

namespace tavrin::ui {

namespace ids = app_tpl::ids;

// Texts (GBK) of edit boxes, combo boxes and the like, by property index.
std::string ReadTextProperty(uint32_t window, uint32_t item, int32_t index);
void WriteTextProperty(uint32_t window, uint32_t item, int32_t index, std::string_view gbk);
int32_t ReadIntProperty(uint32_t window, uint32_t item, int32_t index);
void WriteIntProperty(uint32_t window, uint32_t item, int32_t index, int32_t value);
double ReadDateProperty(uint32_t window, uint32_t item, int32_t index);
void WriteDateProperty(uint32_t window, uint32_t item, int32_t index, double days);

// The main window's controls by role.
std::string ComboText(uint32_t combo);
void SetComboText(uint32_t combo, std::string_view gbk);
std::string EditContent(uint32_t edit);
void SetEditContent(uint32_t edit, std::string_view gbk);
double DatePickerValue(uint32_t picker);
void SetDatePickerValue(uint32_t picker, double days);
int32_t CurrentPage(uint32_t pageControl);
void SetCurrentPage(uint32_t pageControl, int32_t page);
int32_t ListSelection(uint32_t list);  // -1 when no row is selected

// MessageBox with a caption (null = the default caption) → the button pressed.
int32_t ShowMessage(const char* gbkText, int32_t style, const char* gbkCaption = nullptr);

// Report list rows of the main window.
void LvDeleteAll(uint32_t list);
int32_t LvAppendRow(uint32_t list, int32_t itemData);
void LvSetItemText(uint32_t list, int32_t row, int32_t column, std::string_view gbk);
// The same with a NUL-terminated text (null = empty), passed without a copy.
void LvSetItemTextRef(uint32_t list, int32_t row, int32_t column, const char* gbk);
std::string LvGetItemText(uint32_t list, int32_t row, int32_t column);
int32_t LvItemData(uint32_t list, int32_t row);
bool LvDeleteItem(uint32_t list, int32_t row);
int32_t LvRowCount(uint32_t list);
int32_t LvColumnCount(uint32_t list);
void LvSetColumnWidth(uint32_t list, int32_t column, int32_t width);
// The list's row model, for filling a whole file's rows in batches (null when
// the main window has no such list).
tavrin::forms::ReportListModel* LvModel(uint32_t list);
// Widens the columns that are too narrow for the texts of one row.
void LvWidenColumnsToRow(uint32_t list, int32_t row);

// Combo box entries of the main window.
void ComboClear(uint32_t combo);
void ComboAddItem(uint32_t combo, std::string_view gbk);

// Status bar pane text.
void SetStatusPane(int32_t pane, std::string_view gbk);

// Client size of a window and control geometry (common properties).
int32_t ClientWidth(uint32_t window);
int32_t ClientHeight(uint32_t window);
int32_t ControlLeft(uint32_t window, uint32_t item);
int32_t ControlHeight(uint32_t window, uint32_t item);
void SetControlWidth(uint32_t window, uint32_t item, int32_t width);
void SetControlHeight(uint32_t window, uint32_t item, int32_t height);
// Top edge of a control in its window's client area, whatever its containers.
int32_t ControlTopInWindow(uint32_t window, uint32_t item);
// The smallest client size the person can give the window.
void SetMinimumClientSize(uint32_t window, int32_t width, int32_t height);

}  // namespace tavrin::ui
