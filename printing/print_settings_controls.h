// The print settings window's controls as its handlers and its settings
// persistence read and write them (texts GBK).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app_tpl_templates.h"
#include "forms/properties.h"
#include "runtime/value.h"
#include "ui/window_access.h"

namespace tavrin::printing::print_settings {

namespace ids = app_tpl::ids;
namespace forms = tavrin::forms;
constexpr uint32_t kWindow = ids::PrintSettingsWindow;

inline std::string EditText(uint32_t edit) {
    return ui::ReadTextProperty(kWindow, edit, forms::Prop::kOwn + forms::EditProp::kContent);
}
inline void SetEditText(uint32_t edit, std::string_view gbk) {
    ui::WriteTextProperty(kWindow, edit, forms::Prop::kOwn + forms::EditProp::kContent, gbk);
}
inline bool Ticked(uint32_t check) {
    return ui::ReadIntProperty(kWindow, check, forms::Prop::kOwn + forms::CheckProp::kChecked) != 0;
}
inline void SetTicked(uint32_t check, bool on) {
    ui::WriteIntProperty(kWindow, check, forms::Prop::kOwn + forms::CheckProp::kChecked,
                         on ? 1 : 0);
}
inline void SetEnabled(uint32_t control, bool on) {
    ui::WriteIntProperty(kWindow, control, forms::Prop::kDisabled, on ? 0 : 1);
}
inline int32_t ComboIndex(uint32_t combo) {
    return ui::ReadIntProperty(kWindow, combo, forms::Prop::kOwn + forms::ComboProp::kCurrent);
}
inline int32_t ComboCount(uint32_t combo) {
    return ui::ReadIntProperty(kWindow, combo, forms::Prop::kOwn + forms::ComboProp::kCount);
}
inline void SetComboIndex(uint32_t combo, int32_t index) {
    ui::WriteIntProperty(kWindow, combo, forms::Prop::kOwn + forms::ComboProp::kCurrent, index);
}
inline uint32_t PickerColor(uint32_t picker) {
    return uint32_t(
        ui::ReadIntProperty(kWindow, picker, forms::Prop::kOwn + forms::ColorProp::kColor));
}
inline void SetPickerColor(uint32_t picker, uint32_t bgr) {
    ui::WriteIntProperty(kWindow, picker, forms::Prop::kOwn + forms::ColorProp::kColor,
                         int32_t(bgr));
}

// A check list box or list box of the window as a control reference.
tavrin::Value CheckList(uint32_t id);
tavrin::Value List(uint32_t id);
// The text of entry i of a list (GBK).
std::string ItemText(const tavrin::Value& list, int32_t i);

// The rules of the four colour check boxes and of the summary radio buttons.
void DefaultColorsTicked();
void BuiltInColorsTicked();
void CustomRowsClicked();
void CustomColumnsClicked();
void SummaryModeChanged();
// 统计列表框 offers every ticked entry of 显示列表框 it does not hold yet.
void OfferTickedColumnsForStatistics();
// The line style 1–4 of the four radio buttons.
int32_t ChosenLineStyle();

// Writes the settings (all of them with ID 1 when 保存配置 is ticked, else ID 0).
void SaveSettings();
// Reads them into the controls when the stored ID is 1.
void LoadSettings();

}  // namespace tavrin::printing::print_settings
