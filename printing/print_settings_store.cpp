// The print settings under the per-user key "software\打印设置": written by
// 打印预览, read when the settings window loads. Integers are 32-bit numbers,
// the rest strings; a flag is the text "真" or "假". Everything but ID is read
// only when ID is 1, so that an unticked 保存配置 brings back the defaults.
// Columns are kept by their titles, one a line, so that a list whose columns
// moved still gets the same ones ticked.
#include <QFont>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <vector>

#include "forms/commands/control_commands.h"
#include "forms/controls.h"
#include "forms/properties.h"
#include "print_settings_controls.h"
#include "printing_text_constants.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/kernel/registry_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::printing::print_settings {

using namespace tavrin;
namespace t = printing_text;
namespace fc = tavrin::form_commands;

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
void LoadColor(uint32_t picker, const char* path) {
    if (const std::optional<int32_t> c = ReadInt(path)) SetPickerColor(picker, uint32_t(*c));
}

// The ticked entries' titles of a check list, one a line (a line feed is
// never part of a GBK character, so no title can break the list).
std::string TickedTitles(uint32_t id) {
    const Value list = CheckList(id);
    std::string lines;
    const int32_t n = CallKernel(fc::ListCount, list).asInt();
    for (int32_t i = 0; i < n; ++i)
        if (CallKernel(fc::ListIsChecked, list, MakeInt(i)).asBool())
            lines += ItemText(list, i) + '\n';
    return lines;
}

// Ticks exactly the entries whose titles are among the lines.
void TickTitles(uint32_t id, const std::string& lines) {
    std::vector<std::string> titles;
    for (size_t at = 0, end; at < lines.size(); at = end + 1) {
        end = lines.find('\n', at);
        if (end == std::string::npos) end = lines.size();
        titles.push_back(lines.substr(at, end - at));
    }
    const Value list = CheckList(id);
    const int32_t n = CallKernel(fc::ListCount, list).asInt();
    for (int32_t i = 0; i < n; ++i) {
        const bool on = std::find(titles.begin(), titles.end(), ItemText(list, i)) != titles.end();
        CallKernel(fc::ListSetChecked, list, MakeInt(i), MakeInt(on ? 1 : 0));
    }
}

forms::CommonDialogControl* TitleFontDialog() {
    return forms::FindControlAs<forms::CommonDialogControl>(kWindow, ids::TitleFontDialog);
}

void SaveTitleFont() {
    const forms::CommonDialogControl* dialog = TitleFontDialog();
    if (dialog == nullptr) return;
    const QFont f = forms::FontFromRecord(dialog->fontRecord());
    WriteText(t::SettingTitleFace, QStringToGbk(f.family()));
    WriteInt(t::SettingTitleSize, f.pointSize() > 0 ? f.pointSize() : f.pixelSize() * 3 / 4);
    WriteFlag(t::SettingTitleBold, f.bold());
    WriteInt(t::SettingTitleColor, int32_t(dialog->color()));
}

// A font is taken back only whole: a face and a size above 0.
void LoadTitleFont() {
    forms::CommonDialogControl* dialog = TitleFontDialog();
    const std::string face = ReadText(t::SettingTitleFace);
    const std::optional<int32_t> size = ReadInt(t::SettingTitleSize);
    if (dialog == nullptr || face.empty() || !size || *size <= 0) return;
    QFont f = forms::FontFromRecord(dialog->fontRecord());
    f.setFamily(GbkToQString(face));
    f.setPointSize(std::min(*size, 400));
    f.setBold(ReadFlag(t::SettingTitleBold));
    dialog->setFontRecord(forms::FontToRecord(f));
    if (const std::optional<int32_t> c = ReadInt(t::SettingTitleColor))
        dialog->writeProperty(forms::DialogProp::kColor, forms::PropertyData::Int(*c));
}

int32_t ChosenSummaryMode() {
    return Ticked(ids::StatisticsSummaryRadio) ? 2 : Ticked(ids::CountSummaryRadio) ? 1 : 0;
}

constexpr uint32_t kLineStyleRadios[] = {ids::LineStyle1Radio, ids::LineStyle2Radio,
                                         ids::LineStyle3Radio, ids::LineStyle4Radio};
constexpr uint32_t kSummaryRadios[] = {ids::NoSummaryRadio, ids::CountSummaryRadio,
                                       ids::StatisticsSummaryRadio};

// The ticked columns, the summary mode with its own ticks, and the line style.
void LoadColumnsSummaryAndLines() {
    TickTitles(ids::PrintColumnList, ReadText(t::SettingPrintColumns));
    OfferTickedColumnsForStatistics();
    const int32_t mode = ReadInt(t::SettingSummaryMode).value_or(0);
    if (mode >= 0 && mode <= 2) {
        SetTicked(kSummaryRadios[mode], true);
        SummaryModeChanged();
        if (mode == 2) TickTitles(ids::StatisticsColumnList, ReadText(t::SettingStatisticsColumns));
    }
    const int32_t style = ReadInt(t::SettingLineStyle).value_or(1);
    if (style >= 1 && style <= 4) SetTicked(kLineStyleRadios[style - 1], true);
}

// One of two checks that exclude each other, with the rule its tick runs.
struct KeptCheck {
    const char* setting;
    uint32_t check;
    void (*rule)();
};

// Ticks the first of the two whose setting is on and runs its rule; neither
// when both are off.
void LoadOneOf(const KeptCheck& first, const KeptCheck& second) {
    for (const KeptCheck* c : {&first, &second}) {
        if (!ReadFlag(c->setting)) continue;
        SetTicked(c->check, true);
        c->rule();
        return;
    }
}

}  // namespace

int32_t ChosenLineStyle() {
    for (int32_t i = 3; i > 0; --i)
        if (Ticked(kLineStyleRadios[i])) return i + 1;
    return 1;
}

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
    WriteInt(t::SettingRowHeader, int32_t(PickerColor(ids::RowHeaderColor)));
    WriteInt(t::SettingOddRow, int32_t(PickerColor(ids::OddRowColor)));
    WriteInt(t::SettingEvenRow, int32_t(PickerColor(ids::EvenRowColor)));
    WriteInt(t::SettingColumnHeader, int32_t(PickerColor(ids::ColumnHeaderColor)));
    WriteInt(t::SettingOddColumn, int32_t(PickerColor(ids::OddColumnColor)));
    WriteInt(t::SettingEvenColumn, int32_t(PickerColor(ids::EvenColumnColor)));
    WriteInt(t::SettingLineStyle, ChosenLineStyle());
    WriteInt(t::SettingSummaryMode, ChosenSummaryMode());
    WriteText(t::SettingPrintColumns, TickedTitles(ids::PrintColumnList));
    WriteText(t::SettingStatisticsColumns, TickedTitles(ids::StatisticsColumnList));
    SaveTitleFont();
}

void LoadSettings() {
    if (ReadInt(t::SettingId).value_or(0) != 1) return;
    // The settings came from the store, so keeping them stays the choice: the
    // next 打印预览 writes them again instead of dropping them.
    SetTicked(ids::SaveSettingsCheck, true);
    SetEditText(ids::PrintTitleEdit, ReadText(t::SettingTitle));
    SetEditText(ids::PrintRemarkEdit, ReadText(t::SettingRemark));
    LoadComboIndex(ids::PageNumberCombo, t::SettingPageNumber);
    LoadComboIndex(ids::PaperCombo, t::SettingPaper);
    SetEditText(ids::FontSizeEdit, ReadText(t::SettingFontSize));
    SetEditText(ids::RowsPerPageEdit, ReadText(t::SettingRowsPerPage));
    SetTicked(ids::SerialCheck, ReadFlag(t::SettingSerial));
    const bool portrait = ReadInt(t::SettingOrientation).value_or(0) == 0;
    SetTicked(portrait ? ids::PortraitRadio : ids::LandscapeRadio, true);
    LoadOneOf({t::SettingDefaultColors, ids::DefaultColorsCheck, &DefaultColorsTicked},
              {t::SettingBuiltInColors, ids::BuiltInColorsCheck, &BuiltInColorsTicked});
    LoadOneOf({t::SettingCustomRows, ids::CustomRowsCheck, &CustomRowsClicked},
              {t::SettingCustomColumns, ids::CustomColumnsCheck, &CustomColumnsClicked});
    LoadColor(ids::RowHeaderColor, t::SettingRowHeader);
    LoadColor(ids::OddRowColor, t::SettingOddRow);
    LoadColor(ids::EvenRowColor, t::SettingEvenRow);
    LoadColor(ids::ColumnHeaderColor, t::SettingColumnHeader);
    LoadColor(ids::OddColumnColor, t::SettingOddColumn);
    LoadColor(ids::EvenColumnColor, t::SettingEvenColumn);
    LoadColumnsSummaryAndLines();
    LoadTitleFont();
}

}  // namespace tavrin::printing::print_settings
