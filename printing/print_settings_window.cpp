// The print settings window's handlers: load, font, formula columns, column
// ticks, colour and summary rules, 打印预览 and 取消.
#include "print_settings_window.h"

#include <QApplication>
#include <QFont>
#include <cmath>

#include "forms/commands/control_commands.h"
#include "forms/control.h"
#include "forms/controls.h"
#include "forms/report_list.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "formula_columns.h"
#include "print_settings_controls.h"
#include "print_table.h"
#include "printing_text_constants.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/datetime_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "table/print_settings.h"
#include "ui/routines.h"
#include "window_keys.h"

namespace tavrin::printing {

using namespace tavrin;
using namespace print_settings;
namespace fc = tavrin::form_commands;

namespace {

constexpr uint32_t kBuiltInHeader = 0xCEDFDE, kBuiltInBody = 0xDEEFEF;

PrintSource& Source() {
    static PrintSource source;
    return source;
}

// The ticked entries' indices (or texts) of a check list, in list order.
std::vector<int32_t> TickedIndices(uint32_t id) {
    const Value list = CheckList(id);
    std::vector<int32_t> out;
    const int32_t n = CallKernel(fc::ListCount, list).asInt();
    for (int32_t i = 0; i < n; ++i)
        if (CallKernel(fc::ListIsChecked, list, MakeInt(i)).asBool()) out.push_back(i);
    return out;
}

forms::ReportListControl* SourceList() {
    return forms::FindControlAs<forms::ReportListControl>(Source().window, Source().list);
}

// The settings window opened over a preview that is the frontmost window
// stays unfilled: the person is still looking at the last print.
bool PreviewIsFrontmost() {
    const QWidget* active = QApplication::activeWindow();
    return active != nullptr &&
           active->windowTitle() == GbkToQString(printing_text::PreviewCaption);
}

std::string Today() {
    const Value now = CallKernel(Now);
    const Value day = CallKernel(DateOf, now);
    return TakeText(CallKernel(ToText, day));
}

int32_t TruncatedNumber(const std::string& gbk) {
    return int32_t(std::trunc(TextToNumber(gbk)));
}

TitleFont ChosenTitleFont() {
    TitleFont font;
    auto* dialog = forms::FindControlAs<forms::CommonDialogControl>(kWindow, ids::TitleFontDialog);
    if (dialog == nullptr) return font;
    const QFont f = forms::FontFromRecord(dialog->fontRecord());
    font.face = QStringToGbk(f.family());
    font.color = dialog->color();
    font.bold = f.bold();
    const double points = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize() * 0.75;
    font.size = int32_t(points * table::kReportUnitsPerPixel);
    return font;
}

// Body font size: the edit's number, or the list's own size when it is empty
// (a size of 0 or less would print nothing readable and counts as empty).
int32_t ChosenFontSize() {
    const std::string text = EditText(ids::FontSizeEdit);
    const int32_t typed = text.empty() ? 0 : TruncatedNumber(text);
    if (typed > 0) return typed;
    const forms::ReportListControl* list = SourceList();
    const double points = list ? list->view()->font().pointSizeF() : 9;
    return int32_t(points * table::kReportUnitsPerPixel);
}

ColorScheme ChosenColors() {
    if (Ticked(ids::DefaultColorsCheck)) return {0, 0, 0, 0};
    if (Ticked(ids::BuiltInColorsCheck)) return {1, kBuiltInHeader, kBuiltInBody, kBuiltInBody};
    if (Ticked(ids::CustomRowsCheck))
        return {2, PickerColor(ids::RowHeaderColor), PickerColor(ids::OddRowColor),
                PickerColor(ids::EvenRowColor)};
    if (Ticked(ids::CustomColumnsCheck))
        return {3, PickerColor(ids::ColumnHeaderColor), PickerColor(ids::OddColumnColor),
                PickerColor(ids::EvenColumnColor)};
    return {0, 0, 0, 0};
}

void ShowError(const char* gbkText) {
    ui::ShowMessage(gbkText, kIconStop, printing_text::ErrorCaptionShort);
}

}  // namespace

PrintSource CurrentPrintSource() {
    return Source();
}

void OpenPrintSettings() {
    const bool income = ui::CurrentPage(ids::MainPages) == 0;
    Source() = {ids::MainWindow, income ? ids::IncomeList : ids::ExpenseList};
    forms::LoadWindow(kWindow, 0, false);
}

void PrintSettingsLoad() {
    SetFormulaListControls(
        {kWindow, ids::PrintColumnList, ids::FormulaColumnList, ids::StatisticsColumnList});
    ClickOnWindowKey(kWindow, WindowKey::kEscape, ids::PrintCancelButton);
    if (PreviewIsFrontmost()) return;
    const Value display = CheckList(ids::PrintColumnList);
    if (const forms::ReportListControl* list = SourceList())
        for (int32_t c = 0; c < list->columnCount(); ++c) {
            const std::string title = list->columnTitle(c);
            CallKernel(fc::ListAddItem, display, MakeTextRef(title.c_str()));
        }
    CallKernel(fc::ListClear, CheckList(ids::StatisticsColumnList));
    OfferTickedColumnsForStatistics();
    SetEditText(ids::PrintDateEdit, std::string(printing_text::PrintDatePrefix) + Today());
    EmptyFormulaColumns();
    LoadSettings();
    CallKernel(fc::SetFocus, MakeControlRef(kWindow, ids::PrintTitleEdit, forms::TypeId::kEdit));
}

void ChooseTitleFont() {
    CallKernel(fc::OpenCommonDialog,
               MakeControlRef(kWindow, ids::TitleFontDialog, forms::TypeId::kCommonDialog));
}

void AddFormulaColumnClicked() {
    OpenFormulaWindow(kWindow);
}

void FormulaColumnListRightClick() {
    forms::PopupMenu(kWindow, ids::NewColumnMenu, std::nullopt);
}

// An entry of 显示列表框 ticked or unticked: 统计列表框 offers the ticked ones.
void PrintColumnTicked(int32_t index) {
    const Value display = CheckList(ids::PrintColumnList);
    const Value statistics = CheckList(ids::StatisticsColumnList);
    const std::string title = ItemText(display, index);
    const int32_t n = CallKernel(fc::ListCount, statistics).asInt();
    if (CallKernel(fc::ListIsChecked, display, MakeInt(index)).asBool()) {
        for (int32_t i = 0; i < n; ++i)
            if (ItemText(statistics, i) == title) return;
        CallKernel(fc::ListAddItem, statistics, MakeTextRef(title.c_str()));
        return;
    }
    for (int32_t i = n - 1; i >= 0; --i)
        if (ItemText(statistics, i) == title)
            CallKernel(fc::ListDeleteItem, statistics, MakeInt(i));
}

void PrintPreviewClicked() {
    SaveSettings();
    PrintTableRequest r;
    r.sourceWindow = Source().window;
    r.sourceList = Source().list;
    r.columns = TickedIndices(ids::PrintColumnList);
    if (r.columns.empty()) {
        ShowError(printing_text::NoPrintColumn);
        return;
    }
    r.lineStyle = ChosenLineStyle();
    const std::string rows = EditText(ids::RowsPerPageEdit);
    r.rowsPerPage = rows.empty() ? 0 : TruncatedNumber(rows);
    r.colors = ChosenColors();
    if (Ticked(ids::CountSummaryRadio)) r.summary = SummaryMode::kCount;
    if (Ticked(ids::StatisticsSummaryRadio)) {
        r.summary = SummaryMode::kStatistics;
        const Value statistics = CheckList(ids::StatisticsColumnList);
        for (int32_t i : TickedIndices(ids::StatisticsColumnList))
            r.statisticsColumns.push_back(ItemText(statistics, i));
        if (r.statisticsColumns.empty()) {
            ShowError(printing_text::NoStatisticsColumn);
            return;
        }
    }
    r.fontSize = ChosenFontSize();
    r.titleFont = ChosenTitleFont();
    r.title = EditText(ids::PrintTitleEdit);
    r.dateLine = EditText(ids::PrintDateEdit);
    r.serialColumn = Ticked(ids::SerialCheck);
    r.paper = ComboIndex(ids::PaperCombo);
    r.orientation = Ticked(ids::PortraitRadio) ? 0 : 1;
    r.pageNumberPosition = ComboIndex(ids::PageNumberCombo);
    r.remark = EditText(ids::PrintRemarkEdit);
    r.formulas = FormulaColumns();
    BuildPrintTable(r);
    forms::CloseWindow(kWindow, false);
}

void CancelPrintSettings() {
    forms::CloseWindow(kWindow, false);
}

namespace {

void PrintColumnTickedEvent(EventCall& call) {
    if (call.argCount > 0) PrintColumnTicked(int32_t(call.args[0].lo));
}

const HandlerEntry kPrintHandlers[] = {
    {"PrintSettingsLoad", &ui::CallRoutine<PrintSettingsLoad>},
    {"ChooseTitleFont", &ui::CallRoutine<ChooseTitleFont>},
    {"AddFormulaColumnClicked", &ui::CallRoutine<AddFormulaColumnClicked>},
    {"FormulaColumnListRightClick", &ui::CallRoutine<FormulaColumnListRightClick>},
    {"PrintColumnTicked", &PrintColumnTickedEvent},
    {"DefaultColorsClicked", &ui::CallRoutine<DefaultColorsTicked>},
    {"BuiltInColorsClicked", &ui::CallRoutine<BuiltInColorsTicked>},
    {"CustomRowsClicked", &ui::CallRoutine<CustomRowsClicked>},
    {"CustomColumnsClicked", &ui::CallRoutine<CustomColumnsClicked>},
    {"SummaryModeClicked", &ui::CallRoutine<SummaryModeChanged>},
    {"PrintPreviewClicked", &ui::CallRoutine<PrintPreviewClicked>},
    {"CancelPrintSettings", &ui::CallRoutine<CancelPrintSettings>},
    {"PreviewTimerTick", &ui::CallRoutine<PreviewTimerTick>},
};

}  // namespace

std::vector<HandlerEntry> PrintHandlers() {
    return {std::begin(kPrintHandlers), std::end(kPrintHandlers)};
}

}  // namespace tavrin::printing
