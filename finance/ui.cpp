// Property access goes through the runtime's slots; list, combo and status-bar
// operations go to the controls of the main window.
#include "finance/ui.h"

#include <cstring>

#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "forms/window_system.h"
#include "runtime/commands.h"
#include "runtime/kernel/system_commands.h"
#include "runtime/memory.h"

namespace finance {

using namespace tavrin;
namespace fp = tavrin::forms::Prop;

namespace {

forms::ReportListControl* List(uint32_t list) {
    return forms::FindControlAs<forms::ReportListControl>(ids::MainWindow, list);
}
forms::ComboControl* Combo(uint32_t combo) {
    return forms::FindControlAs<forms::ComboControl>(ids::MainWindow, combo);
}
forms::StatusBarControl* StatusBar() {
    return forms::FindControlAs<forms::StatusBarControl>(ids::MainWindow, ids::StatusBar1);
}

}  // namespace

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

void LvDeleteAll(uint32_t list) {
    if (auto* l = List(list)) l->deleteAll();
}
int32_t LvAppendRow(uint32_t list, int32_t itemData) {
    auto* l = List(list);
    return l ? l->insertItem(-1, {}, -1, 0, 0, itemData) : -1;
}
void LvSetItemText(uint32_t list, int32_t row, int32_t column, std::string_view gbk) {
    if (auto* l = List(list)) l->setItemText(row, column, gbk);
}
std::string LvGetItemText(uint32_t list, int32_t row, int32_t column) {
    auto* l = List(list);
    return l ? l->itemText(row, column) : std::string();
}
int32_t LvItemData(uint32_t list, int32_t row) {
    auto* l = List(list);
    return l ? l->itemData(row) : 0;
}
bool LvDeleteItem(uint32_t list, int32_t row) {
    auto* l = List(list);
    return l && l->deleteItem(row);
}
int32_t LvRowCount(uint32_t list) {
    auto* l = List(list);
    return l ? l->itemCount() : 0;
}
int32_t LvColumnCount(uint32_t list) {
    auto* l = List(list);
    return l ? l->columnCount() : 0;
}
void LvSetColumnWidth(uint32_t list, int32_t column, int32_t width) {
    if (auto* l = List(list)) l->setColumnWidth(column, width);
}

void ComboClear(uint32_t combo) {
    if (auto* c = Combo(combo)) c->clear();
}
void ComboAddItem(uint32_t combo, std::string_view gbk) {
    if (auto* c = Combo(combo)) c->addItem(gbk, 0);
}

void SetStatusPane(int32_t pane, std::string_view gbk) {
    if (auto* s = StatusBar()) s->setPaneText(pane, gbk);
}
std::string StatusPane(int32_t pane) {
    auto* s = StatusBar();
    return s ? s->paneText(pane) : std::string();
}

int32_t ClientWidth(uint32_t window) {
    QWidget* w = forms::ClientArea(window);
    return w ? w->width() : 0;
}
int32_t ClientHeight(uint32_t window) {
    QWidget* w = forms::ClientArea(window);
    return w ? w->height() : 0;
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

}  // namespace finance
