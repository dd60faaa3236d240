// The type catalogue: the built-in kinds and the libraries that hold them.
#include "internal/type_catalogue.h"

#include <vector>

#include "fm_text_constants.h"
#include "forms/template_format.h"

namespace tavrin::forms {

namespace {

using namespace DataKind;

const PropertyInfo kWindowProps[] = {{"caption", kText}, {"backColor", kColor}, {"font", kFont}};
const PropertyInfo kEditProps[] = {
    {"content", kText},    {"readOnly", kBool},   {"maxLength", kInt}, {"font", kFont},
    {"textColor", kColor}, {"backColor", kColor}, {"password", kBool}, {"multiLine", kBool}};
const PropertyInfo kLabelProps[] = {{"caption", kText},
                                    {"font", kFont},
                                    {"textColor", kColor},
                                    {"backColor", kColor},
                                    {"align", kPick}};
const PropertyInfo kButtonProps[] = {{"caption", kText}, {"font", kFont}};
const PropertyInfo kCheckProps[] = {{"caption", kText}, {"checked", kBool}, {"font", kFont}};
const PropertyInfo kGroupProps[] = {{"caption", kText}, {"font", kFont}};
const PropertyInfo kShapeProps[] = {{"style", kPick}, {"lineColor", kColor}, {"fillColor", kColor}};
const PropertyInfo kPictureProps[] = {{"picture", kPicture}, {"backColor", kColor}};
const PropertyInfo kComboProps[] = {
    {"content", kText}, {"current", kInt}, {"count", kInt}, {"font", kFont}};
const PropertyInfo kListProps[] = {{"current", kInt}, {"count", kInt}, {"font", kFont}};
const PropertyInfo kDateProps[] = {{"value", kDateTime}, {"font", kFont}};
const PropertyInfo kColorProps[] = {{"color", kColor}};
const PropertyInfo kDialogProps[] = {{"kind", kPick},     {"font", kFont},  {"color", kColor},
                                     {"fileName", kText}, {"title", kText}, {"filter", kText}};
const PropertyInfo kTimerProps[] = {{"interval", kInt}};
const PropertyInfo kPrinterProps[] = {{"documentTitle", kText}};
const PropertyInfo kStatusProps[] = {{"paneCount", kInt}, {"font", kFont}};
const PropertyInfo kToolProps[] = {{"buttonCount", kInt}};
const PropertyInfo kListViewProps[] = {{"current", kInt},
                                       {"count", kInt},
                                       {"gridLines", kBool},
                                       {"checkBoxes", kBool},
                                       {"font", kFont}};
const PropertyInfo kPageProps[] = {{"current", kInt}, {"pageCount", kInt}, {"font", kFont}};

bool ReadOp(Control* c, int32_t n, PropertyData& out) {
    return c && c->readProperty(n, out);
}
bool WriteOp(Control* c, int32_t n, const PropertyData& in) {
    return c && c->writeProperty(n, in);
}
void FocusOp(Control* c) {
    if (c && c->widget()) c->widget()->setFocus(Qt::OtherFocusReason);
}
void* Interface(int32_t number) {
    switch (number) {
        case kInterfaceWriteProperty:
            return reinterpret_cast<void*>(&WriteOp);
        case kInterfaceReadProperty:
            return reinterpret_cast<void*>(&ReadOp);
        case kInterfaceKeyboardFocus:
            return reinterpret_cast<void*>(&FocusOp);
        default:
            return nullptr;
    }
}

template <size_t N>
constexpr int32_t Count(const PropertyInfo (&)[N]) {
    return int32_t(N);
}

}  // namespace

TypeCatalogue::TypeCatalogue() : byLibrary_(kLibraryCount) {
    using namespace TypeId;
    const uint32_t U = kTypeWindowUnit;
    auto add = [this](uint32_t id, const char* name, const char* english, uint32_t flags,
                      const PropertyInfo* props, int32_t count) {
        types_.push_back(TypeInfo{id, name, english, name, flags, props, count, &Interface});
    };
#define PROPS(a) a, Count(a)
    add(kWindow, fm_text::KindWindow, "Window", U, PROPS(kWindowProps));
    add(kMenuItem, fm_text::KindMenuItem, "Menu", kTypeMenu, nullptr, 0);
    add(kEdit, fm_text::KindEdit, "EditBox", U, PROPS(kEditProps));
    add(kPictureBox, fm_text::KindPictureBox, "PictureBox", U, PROPS(kPictureProps));
    add(kShapeBox, fm_text::KindShapeBox, "ShapeBox", U, PROPS(kShapeProps));
    add(kGroupBox, fm_text::KindGroupBox, "GroupBox", U, PROPS(kGroupProps));
    add(kLabel, fm_text::KindLabel, "Label", U, PROPS(kLabelProps));
    add(kButton, fm_text::KindButton, "Button", U, PROPS(kButtonProps));
    add(kCheckBox, fm_text::KindCheckBox, "CheckBox", U, PROPS(kCheckProps));
    add(kRadioButton, fm_text::KindRadioButton, "RadioBox", U, PROPS(kCheckProps));
    add(kComboBox, fm_text::KindComboBox, "ComboBox", U, PROPS(kComboProps));
    add(kListBox, fm_text::KindListBox, "ListBox", U, PROPS(kListProps));
    add(kCheckListBox, fm_text::KindCheckListBox, "ChkListBox", U, PROPS(kListProps));
    add(kDatePicker, fm_text::KindDatePicker, "DateTimePicker", U, PROPS(kDateProps));
    add(kColorPicker, fm_text::KindColorPicker, "ColorPicker", U, PROPS(kColorProps));
    add(kCommonDialog, fm_text::KindCommonDialog, "CommonDlg", U, PROPS(kDialogProps));
    add(kTimer, fm_text::KindTimer, "Timer", U, PROPS(kTimerProps));
    add(kPrinter, fm_text::KindPrinter, "Printer", U, PROPS(kPrinterProps));
    add(kFieldInfo, fm_text::KindFieldInfo, "FieldInf", 0, nullptr, 0);
    add(kPrintSettings, fm_text::KindPrintSettings, "PrintInf", 0, nullptr, 0);
    add(kGrid, fm_text::KindGrid, "Grid", U, nullptr, 0);
    add(kTableDataSource, fm_text::KindTableDataSource, "DataSource", U, nullptr, 0);
    add(kGeneralProvider, fm_text::KindGeneralProvider, "NProvider", U, nullptr, 0);
    add(kDatabaseProvider, fm_text::KindDatabaseProvider, "DBProvider", U, nullptr, 0);
    add(kStatusBar, fm_text::KindStatusBar, "StatusBar", U, PROPS(kStatusProps));
    add(kToolBar, fm_text::KindToolBar, "ToolBar", U, PROPS(kToolProps));
    add(kReportList, fm_text::KindReportList, "ListView", U, PROPS(kListViewProps));
    add(kTransparentLabel, fm_text::KindTransparentLabel, "TransLabel", U, PROPS(kLabelProps));
    add(kPageControl, fm_text::KindPageControl, "PropertyPage", U, PROPS(kPageProps));
    add(kRecordSet, fm_text::KindRecordSet, "RecordSet", U, nullptr, 0);
    add(kPieChart, fm_text::KindPieChart, "PieChart", U, nullptr, 0);
    add(kLineChart, fm_text::KindLineChart, "LineChart", U, nullptr, 0);
    add(kScript, fm_text::KindScript, "ScriptControl", U, nullptr, 0);
#undef PROPS
    for (const TypeInfo& t : types_) {
        const uint32_t library = t.typeId >> 16;
        // Library numbers 1–5 and 8 hold types; 6 (style) and 7 (interface) hold none.
        const int32_t index = library <= 5 ? int32_t(library) - 1 : 7;
        byLibrary_[size_t(index)].push_back(t);
    }
}

const TypeInfo* TypeCatalogue::find(uint32_t typeId) const {
    for (const TypeInfo& t : types_)
        if (t.typeId == typeId) return &t;
    return nullptr;
}

std::vector<LibraryInfo> TypeCatalogue::libraries(const CommandFunction* coreCommands,
                                                  int32_t coreCommandCount,
                                                  LibraryNotify coreNotify) const {
    std::vector<LibraryInfo> out;
    const char* names[kLibraryCount] = {fm_text::LibraryCore,
                                        fm_text::LibraryExtendedUi,
                                        fm_text::LibraryPageControl,
                                        fm_text::LibraryDatabase,
                                        fm_text::LibraryChart,
                                        fm_text::LibraryVisualStyle,
                                        fm_text::LibraryApplicationInterface,
                                        fm_text::LibraryScript};
    for (int32_t i = 0; i < kLibraryCount; ++i) {
        const auto& types = byLibrary_[size_t(i)];
        const bool core = i == 0;
        out.push_back(LibraryInfo{kLibraryVersionStamp, names[i], names[i], 1, 0, types.data(),
                                  int32_t(types.size()), core ? coreCommands : nullptr,
                                  core ? coreCommandCount : 0,
                                  core ? coreNotify : [](int32_t, const RuntimeService*) {}});
    }
    return out;
}

}  // namespace tavrin::forms
