// The print settings under the per-user key "software\打印设置": written by
// 打印预览, read when the settings window loads. Integers are 32-bit numbers,
// the rest strings; a flag is the text "真" or "假". Everything but ID is read
// only when ID is 1, so that an unticked 保存配置 brings back the defaults.
#include <optional>

#include "analysis/print_settings_controls.h"
#include "analysis_text_constants.h"
#include "runtime/commands.h"
#include "runtime/kernel/registry_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::analysis::print_settings {

using namespace tavrin;
namespace t = analysis_text;

namespace {

void WriteInt(const char* path, int32_t v) {
    CallKernel(WriteRegistry, MakeInt(kCurrentUser), MakeTextRef(path), MakeInt(v));
}
void WriteText(const char* path, const std::string& gbk) {
    CallKernel(WriteRegistry, MakeInt(kCurrentUser), MakeTextRef(path), MakeTextRef(gbk.c_str()));
}
void WriteFlag(const char* path, bool on) {
    WriteText(path, on ? t::TextTrue : t::TextFalse);
}

// A number, or nothing when the value is missing or not a number (a second
// read with another default tells the two apart).
std::optional<int32_t> ReadInt(const char* path) {
    const int32_t a =
        CallKernel(ReadRegistryInt, MakeInt(kCurrentUser), MakeTextRef(path), MakeInt(0)).asInt();
    const int32_t b =
        CallKernel(ReadRegistryInt, MakeInt(kCurrentUser), MakeTextRef(path), MakeInt(1)).asInt();
    if (a != b) return std::nullopt;
    return a;
}
std::string ReadText(const char* path) {
    return TakeText(CallKernel(ReadRegistryText, MakeInt(kCurrentUser), MakeTextRef(path)));
}
bool ReadFlag(const char* path) {
    return ReadText(path) == t::TextTrue;
}

// A stored index outside the combo's entries keeps the template's choice.
void LoadComboIndex(uint32_t combo, const char* path) {
    const std::optional<int32_t> i = ReadInt(path);
    if (i && *i >= 0 && *i < ComboCount(combo)) SetComboIndex(combo, *i);
}
void LoadColour(uint32_t picker, const char* path) {
    if (const std::optional<int32_t> c = ReadInt(path)) SetPickerColour(picker, uint32_t(*c));
}

}  // namespace

void SaveSettings() {
    if (!Ticked(ids::SaveSettingsCheck)) {
        WriteInt(t::SettingId, 0);
        return;
    }
    WriteInt(t::SettingId, 1);
    WriteText(t::SettingTitle, EditText(ids::PrintTitleEdit));
    WriteText(t::SettingRemark, EditText(ids::PrintRemarkEdit));
    WriteInt(t::SettingPageNumber, ComboIndex(ids::PageNumberCombo));
    WriteInt(t::SettingPaper, ComboIndex(ids::PaperCombo));
    WriteText(t::SettingFontSize, EditText(ids::FontSizeEdit));
    WriteText(t::SettingRowsPerPage, EditText(ids::RowsPerPageEdit));
    WriteFlag(t::SettingSerial, Ticked(ids::SerialCheck));
    WriteInt(t::SettingOrientation, Ticked(ids::PortraitRadio) ? 0 : 1);
    WriteFlag(t::SettingDefaultColors, Ticked(ids::DefaultColorsCheck));
    WriteFlag(t::SettingBuiltInColors, Ticked(ids::BuiltInColorsCheck));
    WriteFlag(t::SettingCustomRows, Ticked(ids::CustomRowsCheck));
    WriteFlag(t::SettingCustomColumns, Ticked(ids::CustomColumnsCheck));
    WriteInt(t::SettingRowHeader, int32_t(PickerColour(ids::RowHeaderColor)));
    WriteInt(t::SettingOddRow, int32_t(PickerColour(ids::OddRowColor)));
    WriteInt(t::SettingEvenRow, int32_t(PickerColour(ids::EvenRowColor)));
    WriteInt(t::SettingColumnHeader, int32_t(PickerColour(ids::ColumnHeaderColor)));
    WriteInt(t::SettingOddColumn, int32_t(PickerColour(ids::OddColumnColor)));
    WriteInt(t::SettingEvenColumn, int32_t(PickerColour(ids::EvenColumnColor)));
}

void LoadSettings() {
    if (ReadInt(t::SettingId).value_or(0) != 1) return;
    SetEditText(ids::PrintTitleEdit, ReadText(t::SettingTitle));
    SetEditText(ids::PrintRemarkEdit, ReadText(t::SettingRemark));
    LoadComboIndex(ids::PageNumberCombo, t::SettingPageNumber);
    LoadComboIndex(ids::PaperCombo, t::SettingPaper);
    SetEditText(ids::FontSizeEdit, ReadText(t::SettingFontSize));
    SetEditText(ids::RowsPerPageEdit, ReadText(t::SettingRowsPerPage));
    SetTicked(ids::SerialCheck, ReadFlag(t::SettingSerial));
    const bool portrait = ReadInt(t::SettingOrientation).value_or(0) == 0;
    SetTicked(portrait ? ids::PortraitRadio : ids::LandscapeRadio, true);
    if (ReadFlag(t::SettingDefaultColors)) {
        SetTicked(ids::DefaultColorsCheck, true);
        DefaultColoursTicked();
    } else if (ReadFlag(t::SettingBuiltInColors)) {
        SetTicked(ids::BuiltInColorsCheck, true);
        BuiltInColoursTicked();
    }
    if (ReadFlag(t::SettingCustomRows)) {
        SetTicked(ids::CustomRowsCheck, true);
        CustomRowsClicked();
    } else if (ReadFlag(t::SettingCustomColumns)) {
        SetTicked(ids::CustomColumnsCheck, true);
        CustomColumnsClicked();
    }
    LoadColour(ids::RowHeaderColor, t::SettingRowHeader);
    LoadColour(ids::OddRowColor, t::SettingOddRow);
    LoadColour(ids::EvenRowColor, t::SettingEvenRow);
    LoadColour(ids::ColumnHeaderColor, t::SettingColumnHeader);
    LoadColour(ids::OddColumnColor, t::SettingOddColumn);
    LoadColour(ids::EvenColumnColor, t::SettingEvenColumn);
}

}  // namespace tavrin::analysis::print_settings
