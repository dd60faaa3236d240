// The print table build through the table data source's commands, and the
// preview watch of the background print window.
#include "print_table.h"

#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "analysis_text_constants.h"
#include "app_constants.h"
#include "app_tpl_templates.h"
#include "forms/properties.h"
#include "forms/report_list.h"
#include "forms/script_component.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "formula_evaluation.h"
#include "money/money_text.h"
#include "print_fit.h"
#include "print_summary.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "runtime/shell/cursor_commands.h"
#include "table/data_source.h"
#include "table/ds_commands.h"
#include "table/print_preview.h"
#include "table/print_settings.h"
#include "ui/window_access.h"

namespace tavrin::analysis {

using namespace tavrin;
using namespace tavrin::table;
namespace ids = app_tpl::ids;

namespace {

constexpr uint32_t kBackground = ids::PrintBackgroundWindow;
constexpr int32_t kSerialWidth = 130;
constexpr int32_t kMargin = 180;
constexpr int32_t kRemarkFontSize = 30;
constexpr int32_t kRemarkLastRowHeight = 150;
constexpr uint32_t kBlack = 0x000000;

const Value kAbsent{};

// The preview window the last print table opened (null once it is closed).
// Held as the widget it is to the end: while it is destroyed, focus and hide
// handling still ask for it after it has stopped being a preview window.
QPointer<QWidget>& PreviewHandle() {
    static QPointer<QWidget> handle;
    return handle;
}

// The background window and its table live as long as the preview shows them.
void CloseBackgroundWindowWithoutPreview() {
    if (PreviewHandle().isNull() || !PreviewHandle()->isVisible())
        forms::CloseWindow(kBackground, false);
}

Value Source() {
    return MakeControlRef(kBackground, ids::PrintSource, forms::TypeId::kTableDataSource);
}
Value Int(int32_t v) {
    return MakeInt(v);
}

// The busy cursor for the length of the build, whatever way it ends.
struct BusyCursor {
    BusyCursor() { CallKernel(ShowBusyCursor); }
    ~BusyCursor() { CallKernel(RestoreCursor); }
};

void SetText(int32_t row, int32_t column, const std::string& gbk) {
    CallKernel(DsSetCellText, Source(), Int(row), Int(column), MakeTextRef(gbk.c_str()));
}

int32_t ListAlignmentStyle(int32_t listAlign) {
    return listAlign == 1 ? 2 : listAlign == 2 ? 3 : 1;  // left, centre, right, all middle
}
constexpr int32_t kWrapped = 9;  // the same alignment with word wrap

bool IsAmountColumn(const std::string& title) {
    return title == app::IncomeAmountField || title == app::ExpenseAmountField;
}

// An amount as every other place writes money; a cell that is no number stays.
std::string AmountCellText(const std::string& gbk) {
    const char* begin = gbk.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    while (end && *end == ' ') ++end;
    if (end == begin || end == nullptr || *end != '\0') return gbk;
    return money::MoneyText(value);
}

// The body keeps its text size on paper: a table wider than the printable
// width turns the paper or narrows and wraps its widest text column first.
void FitBodyToPaper(const PrintTableRequest& r, const forms::ReportListModel& list, int32_t n,
                    int32_t first, PrintSettings& settings) {
    auto* source = forms::FindControlAs<DataSourceControl>(kBackground, ids::PrintSource);
    const CellModel* cells = source ? source->cells() : nullptr;
    if (cells == nullptr) return;
    std::vector<int32_t> texts;
    for (size_t j = 0; j < r.columns.size(); ++j)
        if (!IsAmountColumn(list.column(r.columns[j]).title))
            texts.push_back(first - 1 + int32_t(j));
    const int32_t rowHeight =
        cells->rowCount() > 4 ? cells->rowHeight(4) : cells->defaultRowHeight();
    const PaperFit fit = FitToPaper(*cells, settings, texts, rowHeight, r.fontSize);
    settings.orientation = fit.orientation;
    if (fit.column < 0) return;
    const Value s = Source();
    CallKernel(DsInsertColumns, s, Int(fit.column + 1), kAbsent, Int(fit.width));
    const int32_t listColumn = r.columns[size_t(fit.column + 1 - first)];
    if (n > 0)
        CallKernel(DsSetAlignment, s, Int(5), Int(fit.column + 1), Int(n), kAbsent,
                   Int(ListAlignmentStyle(list.column(listColumn).align) + kWrapped));
}

bool LoadBackgroundWindow() {
    if (!forms::IsWindowLoaded(kBackground)) {
        if (!forms::LoadWindow(kBackground, 0, false)) return false;
        if (QWidget* w = forms::WindowWidget(kBackground)) w->hide();
    }
    return forms::IsWindowLoaded(kBackground);
}

// Row substitution needs the serial and printed cells of a row in header order.
void FillFormulaColumns(const PrintTableRequest& r, const forms::ReportListModel& list,
                        int32_t firstFormulaColumn) {
    if (r.formulas.empty()) return;
    auto* script = forms::FindControlAs<forms::ScriptControl>(kBackground, ids::PrintScript);
    if (script == nullptr) return;
    std::vector<std::string> headers;
    if (r.serialColumn) headers.emplace_back(analysis_text::SerialHeader);
    for (int32_t c : r.columns) headers.push_back(list.column(c).title);
    const int32_t n = list.rows();
    for (size_t f = 0; f < r.formulas.size(); ++f) {
        const int32_t column = firstFormulaColumn + int32_t(f);
        SetText(4, column, r.formulas[f].first);
        FormulaRowEvaluator evaluator(script->host(), r.formulas[f].second, headers);
        std::vector<std::string_view> cells(headers.size());
        std::string serial;
        for (int32_t i = 1; i <= n; ++i) {
            size_t at = 0;
            if (r.serialColumn) {
                serial = std::to_string(i);
                cells[at++] = serial;
            }
            for (int32_t c : r.columns) cells[at++] = list.text(i - 1, c);
            SetText(4 + i, column, evaluator.evaluate(cells));
        }
    }
}

// The statistics row keeps its label in the first cell: a sum that belongs
// there follows the label. Serial numbers (the added column and the list's
// own "序号") count rows and are never summed.
void FillSummaryRow(const PrintTableRequest& r, int32_t n, int32_t columns, int32_t firstFormula) {
    const int32_t row = n + 5;
    if (r.summary == SummaryMode::kCount) {
        SetText(row, 1,
                std::string(analysis_text::CountBefore) + std::to_string(n) +
                    analysis_text::CountAfter);
        CallKernel(DsMergeCells, Source(), Int(row), Int(1), kAbsent, Int(columns));
        return;
    }
    std::string label = analysis_text::StatisticsLabel;
    for (const std::string& name : r.statisticsColumns) {
        int32_t column = 0;
        for (int32_t c = 1; c <= columns && column == 0; ++c) {
            if (TakeText(CallKernel(DsCellText, Source(), Int(4), Int(c))) == name) column = c;
        }
        const bool serial = column < firstFormula && name == analysis_text::SerialHeader;
        if (column == 0 || serial) continue;
        std::vector<std::string> texts;
        texts.reserve(size_t(n));
        for (int32_t i = 1; i <= n; ++i) {
            texts.push_back(TakeText(CallKernel(DsCellText, Source(), Int(4 + i), Int(column))));
        }
        const std::string sum = ColumnSumText({texts.begin(), texts.end()});
        if (column == 1)
            label += ' ' + sum;
        else
            SetText(row, column, sum);
    }
    SetText(row, 1, label);
}

void ApplyLineStyle(int32_t style, int32_t lastRow, int32_t columns) {
    const Value s = Source();
    const Value body[] = {s, Int(4), Int(1), Int(lastRow - 3), Int(columns)};
    const Value header[] = {s, Int(4), Int(1), Int(1), Int(columns)};
    auto apply = [](CommandFunction f, const Value(&range)[5], int32_t sides) {
        CallKernel(f, range[0], range[1], range[2], range[3], range[4], Int(sides));
    };
    switch (style) {
        case 2:
            apply(DsClearBorders, body, 32);
            break;
        case 3:
            apply(DsSetBorders, body, 16);
            apply(DsClearBorders, header, 32);
            break;
        case 4:
            apply(DsSetBorders, body, 32);
            break;
        default:
            apply(DsSetBorders, body, 48);
            break;
    }
}

void PaintColors(const ColorScheme& scheme, int32_t n, bool summary, int32_t columns) {
    if (scheme.scheme < 1 || scheme.scheme > 3) return;
    const Value s = Source();
    CallKernel(DsSetBackColor, s, Int(4), Int(1), kAbsent, Int(columns),
               Int(int32_t(scheme.header)));
    if (n > 0 && scheme.scheme == 1)
        CallKernel(DsSetBackColor, s, Int(5), Int(1), Int(n), Int(columns),
                   Int(int32_t(scheme.first)));
    if (scheme.scheme == 2)
        for (int32_t i = 1; i <= n; ++i)
            CallKernel(DsSetBackColor, s, Int(4 + i), Int(1), kAbsent, Int(columns),
                       Int(int32_t(i % 2 ? scheme.first : scheme.second)));
    if (n > 0 && scheme.scheme == 3)
        for (int32_t c = 1; c <= columns; ++c)
            CallKernel(DsSetBackColor, s, Int(5), Int(c), Int(n), kAbsent,
                       Int(int32_t(c % 2 ? scheme.first : scheme.second)));
    if (summary)
        CallKernel(DsSetBackColor, s, Int(n + 5), Int(1), kAbsent, Int(columns),
                   Int(int32_t(scheme.header)));
}

// Steps after the background window is there: the table, its print settings
// and the preview it opens; null when the template could not be loaded.
PrintPreviewWindow* FillAndPreview(const PrintTableRequest& r, const forms::ReportListModel& list) {
    const Value s = Source();
    const int32_t n = list.rows(), k = int32_t(r.columns.size());
    const int32_t m = int32_t(r.formulas.size());
    const bool summary = r.summary != SummaryMode::kNone;

    ui::WriteIntProperty(kBackground, ids::PrintSource, forms::Prop::kOwn + 0,
                         int32_t(ids::PrintProvider));
    const Value layout =
        MakeByteSetRef(reinterpret_cast<const ByteSetBlock*>(app::PrintTableTemplate));
    if (!CallKernel(DsLoad, s, layout).asBool()) {
        ui::ShowMessage(analysis_text::NoPrintTemplate, kIconStop);
        return nullptr;
    }

    // Columns: serial, printed, formula. The merged rows span all of them.
    const int32_t first = r.serialColumn ? 2 : 1;  // first printed column
    const int32_t printedEnd = first + k;          // first formula column
    const int32_t columns = printedEnd - 1 + m;
    if (columns > 1) CallKernel(DsAddColumns, s, Int(2), Int(columns - 1));
    CallKernel(DsAppendRows, s, Int(n + (summary ? 1 : 0)));

    if (r.serialColumn) {
        CallKernel(DsInsertColumns, s, Int(1), kAbsent, Int(kSerialWidth));
        SetText(4, 1, analysis_text::SerialHeader);
    }
    for (int32_t j = 0; j < k; ++j) {
        const forms::ReportListModel::Column& c = list.column(r.columns[size_t(j)]);
        CallKernel(DsInsertColumns, s, Int(first + j), kAbsent,
                   Int(int32_t(c.width * table::kReportUnitsPerPixel)));
        SetText(4, first + j, c.title);
        if (n > 0)
            CallKernel(DsSetAlignment, s, Int(5), Int(first + j), Int(n), kAbsent,
                       Int(ListAlignmentStyle(c.align)));
    }

    const int32_t h = CallKernel(DsRowHeight, s, Int(1)).asInt();
    CallKernel(DsMergeCells, s, Int(1), Int(1), kAbsent, Int(columns));
    SetText(1, 1, r.title);
    CallKernel(DsSetFontName, s, Int(1), Int(1), kAbsent, kAbsent,
               MakeTextRef(r.titleFont.face.c_str()));
    CallKernel(DsSetTextColor, s, Int(1), Int(1), kAbsent, kAbsent,
               Int(int32_t(r.titleFont.color)));
    CallKernel(DsSetFontSize, s, Int(1), Int(1), kAbsent, kAbsent, Int(r.titleFont.size));
    if (r.titleFont.bold) CallKernel(DsSetCellFormat, s, Int(1), Int(1), kAbsent, kAbsent, Int(1));
    CallKernel(DsInsertRows, s, Int(1), kAbsent, Int(h * 3));
    CallKernel(DsMergeCells, s, Int(2), Int(1), kAbsent, Int(columns));
    SetText(2, 1, r.dateLine);
    CallKernel(DsClearBorders, s, Int(3), Int(1), kAbsent, Int(columns), Int(0x1FF));
    CallKernel(DsSetBackColor, s, Int(3), Int(1), kAbsent, Int(columns), Int(int32_t(kBlack)));
    CallKernel(DsInsertRows, s, Int(3), kAbsent, Int(1));

    CallKernel(DsInsertRows, s, Int(4), kAbsent, Int(h * 8 / 5));
    if (n > 0) CallKernel(DsInsertRows, s, Int(5), Int(n), Int(h * 3 / 2));
    std::vector<bool> amounts;
    for (int32_t c : r.columns) amounts.push_back(IsAmountColumn(list.column(c).title));
    std::string text;
    for (int32_t i = 1; i <= n; ++i) {
        if (r.serialColumn) SetText(4 + i, 1, std::to_string(i));
        for (int32_t j = 0; j < k; ++j) {
            text.assign(list.text(i - 1, r.columns[size_t(j)]));
            SetText(4 + i, first + j, amounts[size_t(j)] ? AmountCellText(text) : text);
        }
    }
    FillFormulaColumns(r, list, printedEnd);
    if (summary) FillSummaryRow(r, n, columns, printedEnd);

    const int32_t lastBodyRow = n + 4 + (summary ? 1 : 0);
    ApplyLineStyle(r.lineStyle, lastBodyRow, columns);
    PaintColors(r.colors, n, summary, columns);

    if (!r.remark.empty()) {
        CallKernel(DsAppendRows, s, Int(3));
        const int32_t row = lastBodyRow + 1;
        SetText(row, 1, r.remark);
        CallKernel(DsSetFontSize, s, Int(row), Int(1), kAbsent, kAbsent, Int(kRemarkFontSize));
        CallKernel(DsMergeCells, s, Int(row), Int(1), Int(3), Int(std::max(1, columns - 1)));
        CallKernel(DsInsertRows, s, Int(row + 2), kAbsent, Int(kRemarkLastRowHeight));
    }

    CallKernel(DsSetFontSize, s, Int(4), Int(1), Int(lastBodyRow - 3), Int(columns),
               Int(r.fontSize));
    CallKernel(DsSetCellFormat, s, Int(4), Int(1), kAbsent, Int(columns), Int(1));
    CallKernel(DsSetFixedRows, s, Int(4));

    auto* source = forms::FindControlAs<table::DataSourceControl>(kBackground, ids::PrintSource);
    PrintSettings& settings = source->printSettings();
    settings = PrintSettings{};
    settings.paper = r.paper;
    settings.orientation = r.orientation;
    settings.marginLeft = settings.marginTop = settings.marginRight = settings.marginBottom =
        kMargin;
    settings.rowsPerPage = r.rowsPerPage;
    settings.pageNumberPosition = r.pageNumberPosition;
    FitBodyToPaper(r, list, n, first, settings);
    return table::OpenPrintPreview(*source->cells(), settings);
}

}  // namespace

bool BuildPrintTable(const PrintTableRequest& r) {
    auto* source = forms::FindControlAs<forms::ReportListControl>(r.sourceWindow, r.sourceList);
    if (source == nullptr) {
        ui::ShowMessage(analysis_text::NotReportList, kIconInformation,
                        analysis_text::PromptCaption);
        return false;
    }
    if (!LoadBackgroundWindow()) return false;
    PrintPreviewWindow* preview = nullptr;
    {
        BusyCursor busy;
        preview = FillAndPreview(r, *source->model());
        if (preview == nullptr) return false;
    }
    PreviewHandle() = preview;
    preview->setDocumentName(GbkToQString(r.sourceList == ids::IncomeList
                                              ? analysis_text::IncomeDetailDocument
                                              : analysis_text::ExpenseDetailDocument));
    if (const QWidget* main = forms::WindowWidget(ids::MainWindow))
        preview->placeOn(main->screen());
    // The preview deletes itself when closed; the background window follows it
    // (by a posted close request: the preview's own close is still running).
    QObject::connect(preview, &QObject::destroyed, [] { CloseBackgroundWindowWithoutPreview(); });
    return true;
}

void PreviewTimerTick() {
    CloseBackgroundWindowWithoutPreview();
}

}  // namespace tavrin::analysis
