// Property access goes through the runtime's slots; list, combo and status-bar
// operations go to the controls of the main window.
#include "ui/window_access.h"

#include <QWidget>
#include <algorithm>
#include <cstring>

#include "forms/commands/control_commands.h"
#include "forms/commands/library_commands.h"
#include "forms/commands/list_view_commands.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "forms/report_list_fit.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "runtime/commands.h"
#include "runtime/kernel/system_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::ui {

using namespace tavrin;
namespace fp = tavrin::forms::Prop;
namespace fc = tavrin::form_commands;

std::string ReadTextProperty(uint32_t window, uint32_t item, int32_t index) {
    const uint64_t p = ReadProperty(window, item, index);
    const char* text = reinterpret_cast<const char*>(uintptr_t(p));
    std::string out = text ? std::string(text) : std::string();
    Free(const_cast<char*>(text));
    return out;
}

void WriteTextProperty(uint32_t window, uint32_t item, int32_t index, std::string_view gbk) {
    const std::string copy(gbk);  // NUL-terminated for the slot
    const uint64_t p = uint64_t(reinterpret_cast<uintptr_t>(copy.c_str()));
    WriteProperty(window, item, index, -1, uint32_t(p), uint32_t(p >> 32));
}

int32_t ReadIntProperty(uint32_t window, uint32_t item, int32_t index) {
    return int32_t(uint32_t(ReadProperty(window, item, index)));
}

void WriteIntProperty(uint32_t window, uint32_t item, int32_t index, int32_t value) {
    WriteProperty(window, item, index, -1, uint32_t(value), 0);
}

double ReadDateProperty(uint32_t window, uint32_t item, int32_t index) {
    const uint64_t bits = ReadProperty(window, item, index);
    double days;
    std::memcpy(&days, &bits, 8);
    return days;
}

void WriteDateProperty(uint32_t window, uint32_t item, int32_t index, double days) {
    uint64_t bits;
    std::memcpy(&bits, &days, 8);
    WriteProperty(window, item, index, -1, uint32_t(bits), uint32_t(bits >> 32));
}

std::string ComboText(uint32_t combo) {
    return ReadTextProperty(ids::MainWindow, combo, fp::kOwn + forms::ComboProp::kContent);
}
void SetComboText(uint32_t combo, std::string_view gbk) {
    WriteTextProperty(ids::MainWindow, combo, fp::kOwn + forms::ComboProp::kContent, gbk);
}
std::string EditContent(uint32_t edit) {
    return ReadTextProperty(ids::MainWindow, edit, fp::kOwn + forms::EditProp::kContent);
}
void SetEditContent(uint32_t edit, std::string_view gbk) {
    WriteTextProperty(ids::MainWindow, edit, fp::kOwn + forms::EditProp::kContent, gbk);
}
double DatePickerValue(uint32_t picker) {
    return ReadDateProperty(ids::MainWindow, picker, fp::kOwn + forms::DateProp::kValue);
}
void SetDatePickerValue(uint32_t picker, double days) {
    WriteDateProperty(ids::MainWindow, picker, fp::kOwn + forms::DateProp::kValue, days);
}
int32_t CurrentPage(uint32_t pageControl) {
    return ReadIntProperty(ids::MainWindow, pageControl, fp::kOwn + forms::PageProp::kCurrent);
}
void SetCurrentPage(uint32_t pageControl, int32_t page) {
    WriteIntProperty(ids::MainWindow, pageControl, fp::kOwn + forms::PageProp::kCurrent, page);
}
int32_t ListSelection(uint32_t list) {
    return ReadIntProperty(ids::MainWindow, list, fp::kOwn + forms::ListViewProp::kCurrent);
}

int32_t ShowMessage(const char* gbkText, int32_t style, const char* gbkCaption) {
    const Value r = gbkCaption ? CallKernel(MessageBox, MakeTextRef(gbkText), MakeInt(style),
                                            MakeTextRef(gbkCaption))
                               : CallKernel(MessageBox, MakeTextRef(gbkText), MakeInt(style));
    return r.asInt();
}

namespace {

Value ListRef(uint32_t list) {
    return MakeControlRef(ids::MainWindow, list, forms::TypeId::kReportList);
}
Value ComboRef(uint32_t combo) {
    return MakeControlRef(ids::MainWindow, combo, forms::TypeId::kComboBox);
}
Value TextValue(const std::string& copy) {
    return MakeTextRef(copy.c_str());
}
}  // namespace

void LvDeleteAll(uint32_t list) {
    CallLibrary(kExtendedUiLibrary, fc::LvDeleteAll, ListRef(list));
}
int32_t LvAppendRow(uint32_t list, int32_t itemData) {
    // Row, text, image, check state and indent left out; the row's data given.
    return CallLibrary(kExtendedUiLibrary, fc::LvInsertItem, ListRef(list), Value{}, Value{},
                       Value{}, Value{}, Value{}, MakeInt(itemData))
        .asInt();
}
void LvSetItemText(uint32_t list, int32_t row, int32_t column, std::string_view gbk) {
    const std::string copy(gbk);
    CallLibrary(kExtendedUiLibrary, fc::LvSetItemText, ListRef(list), MakeInt(row), MakeInt(column),
                TextValue(copy));
}
void LvSetItemTextRef(uint32_t list, int32_t row, int32_t column, const char* gbk) {
    CallLibrary(kExtendedUiLibrary, fc::LvSetItemText, ListRef(list), MakeInt(row), MakeInt(column),
                MakeTextRef(gbk));
}
std::string LvGetItemText(uint32_t list, int32_t row, int32_t column) {
    return TakeText(CallLibrary(kExtendedUiLibrary, fc::LvGetItemText, ListRef(list), MakeInt(row),
                                MakeInt(column)));
}
int32_t LvItemData(uint32_t list, int32_t row) {
    return CallLibrary(kExtendedUiLibrary, fc::LvGetItemData, ListRef(list), MakeInt(row)).asInt();
}
bool LvDeleteItem(uint32_t list, int32_t row) {
    if (row < 0 || row >= LvRowCount(list)) return false;
    CallLibrary(kExtendedUiLibrary, fc::LvDeleteItem, ListRef(list), MakeInt(row));
    return true;
}
forms::ReportListModel* LvModel(uint32_t list) {
    auto* control = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, list);
    return control != nullptr ? control->model() : nullptr;
}
int32_t LvRowCount(uint32_t list) {
    return CallLibrary(kExtendedUiLibrary, fc::LvItemCount, ListRef(list)).asInt();
}
int32_t LvColumnCount(uint32_t list) {
    return CallLibrary(kExtendedUiLibrary, fc::LvColumnCount, ListRef(list)).asInt();
}
void LvSetColumnWidth(uint32_t list, int32_t column, int32_t width) {
    CallLibrary(kExtendedUiLibrary, fc::LvSetColumnWidth, ListRef(list), MakeInt(column),
                MakeInt(width));
}

void LvWidenColumnsToRow(uint32_t list, int32_t row) {
    if (auto* l = forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, list))
        forms::WidenColumnsToRow(*l, row);
}

void ComboClear(uint32_t combo) {
    CallKernel(fc::ComboClear, ComboRef(combo));
}
void ComboAddItem(uint32_t combo, std::string_view gbk) {
    const std::string copy(gbk);
    CallKernel(fc::ComboAddItem, ComboRef(combo), TextValue(copy));
}

void SetStatusPane(int32_t pane, std::string_view gbk) {
    const std::string copy(gbk);
    CallLibrary(kExtendedUiLibrary, fc::StatusSetText,
                MakeControlRef(ids::MainWindow, ids::StatusBar1, forms::TypeId::kStatusBar),
                MakeInt(pane), TextValue(copy));
}

int32_t ClientWidth(uint32_t window) {
    return CallKernel(fc::ClientWidth, MakeControlRef(window, 0, forms::TypeId::kWindow)).asInt();
}
int32_t ClientHeight(uint32_t window) {
    return CallKernel(fc::ClientHeight, MakeControlRef(window, 0, forms::TypeId::kWindow)).asInt();
}
int32_t ControlLeft(uint32_t window, uint32_t item) {
    return ReadIntProperty(window, item, fp::kLeft);
}
int32_t ControlHeight(uint32_t window, uint32_t item) {
    return ReadIntProperty(window, item, fp::kHeight);
}
void SetControlWidth(uint32_t window, uint32_t item, int32_t width) {
    WriteIntProperty(window, item, fp::kWidth, width);
}
void SetControlHeight(uint32_t window, uint32_t item, int32_t height) {
    WriteIntProperty(window, item, fp::kHeight, height);
}

int32_t ControlTopInWindow(uint32_t window, uint32_t item) {
    forms::Control* c = forms::FindControl(window, item);
    QWidget* client = forms::ClientArea(window);
    if (c == nullptr || c->widget() == nullptr || client == nullptr) return 0;
    return c->widget()->mapTo(client, QPoint(0, 0)).y();
}

void SetMinimumClientSize(uint32_t window, int32_t width, int32_t height) {
    QWidget* w = forms::WindowWidget(window);
    QWidget* client = forms::ClientArea(window);
    if (w == nullptr || client == nullptr) return;
    // The menu bar lies above the client area.
    w->setMinimumSize(width, height + std::max(0, w->height() - client->height()));
}

}  // namespace tavrin::ui
