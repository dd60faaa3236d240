// The registration of every kind this layer builds itself.
#include "internal/builtin_kinds.h"

#include "fm_text_constants.h"
#include "forms/bars.h"
#include "forms/controls.h"
#include "forms/page_control.h"
#include "forms/report_list.h"
#include "forms/script_component.h"
#include "forms/template_format.h"

namespace tavrin::forms {

namespace {
template <typename T>
ControlFactory Make() {
    return [](const ControlInit& init) -> std::unique_ptr<Control> {
        return std::make_unique<T>(init);
    };
}
}  // namespace

void RegisterBuiltinKinds() {
    using namespace TypeId;
    // A kind a higher layer registered already (charts, grid) is left as it is.
    auto reg = [](uint32_t id, ControlFactory f) {
        if (!FindControlKind(id)) RegisterControlKind(id, ControlKind{std::move(f), {}});
    };
    reg(kEdit, Make<EditControl>());
    reg(kPictureBox, Make<BoxControl>());
    reg(kShapeBox, Make<BoxControl>());
    reg(kGroupBox, Make<BoxControl>());
    reg(kLabel, Make<LabelControl>());
    reg(kTransparentLabel, Make<LabelControl>());
    reg(kButton, Make<ButtonControl>());
    reg(kCheckBox, Make<CheckControl>());
    reg(kRadioButton, Make<CheckControl>());
    reg(kComboBox, Make<ComboControl>());
    reg(kListBox, Make<ListBoxControl>());
    reg(kCheckListBox, Make<ListBoxControl>());
    reg(kDatePicker, Make<DatePickerControl>());
    reg(kColorPicker, Make<ColorPickerControl>());
    reg(kCommonDialog, Make<CommonDialogControl>());
    reg(kTimer, Make<TimerControl>());
    reg(kPrinter, Make<PrinterControl>());
    reg(kStatusBar, Make<StatusBarControl>());
    reg(kToolBar, Make<ToolBarControl>());
    reg(kReportList, Make<ReportListControl>());
    reg(kPageControl, Make<PageControl>());
    reg(kGrid, Make<GridControl>());
    reg(kTableDataSource, Make<PanelControl>());
    reg(kPieChart, Make<PanelControl>());
    reg(kLineChart, Make<PanelControl>());
    reg(kGeneralProvider, Make<ComponentControl>());
    reg(kDatabaseProvider, Make<ComponentControl>());
    reg(kRecordSet, Make<ComponentControl>());
    RegisterScriptKind();
    reg(kFieldInfo, Make<ComponentControl>());
    reg(kPrintSettings, Make<ComponentControl>());
}

}  // namespace tavrin::forms
