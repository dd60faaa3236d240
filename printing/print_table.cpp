// The print table built on the cell model of the background window's table
// data source, and the preview watch of the background print window.
#include "print_table.h"

#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <memory>

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
#include "print_table_cells.h"
#include "printing_text_constants.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/shell/cursor_commands.h"
#include "runtime/value.h"
#include "table/data_source.h"
#include "table/print_preview.h"
#include "table/print_settings.h"
#include "table/table_template.h"
#include "ui/window_access.h"

namespace tavrin::printing {

using namespace tavrin;
using namespace tavrin::table;
namespace ids = app_tpl::ids;

namespace {

constexpr uint32_t kBackground = ids::PrintBackgroundWindow;
constexpr int32_t kSerialWidth = 130;
constexpr int32_t kMargin = 180;

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

// The busy cursor for the length of the build, whatever way it ends.
struct BusyCursor {
    BusyCursor() { CallKernel(ShowBusyCursor); }
    ~BusyCursor() { CallKernel(RestoreCursor); }
};

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
// `first` is the first printed column.
void FitBodyToPaper(const PrintTableRequest& r, const forms::ReportListModel& list, int32_t n,
                    int32_t first, DataSourceControl& source, PrintSettings& settings) {
    CellModel& cells = *source.cells();
    std::vector<int32_t> texts;
    for (size_t j = 0; j < r.columns.size(); ++j)
        if (!IsAmountColumn(list.column(r.columns[j]).title)) texts.push_back(first + int32_t(j));
    const int32_t rowHeight = cells.rowCount() > kFirstItemRow ? cells.rowHeight(kFirstItemRow)
                                                               : cells.defaultRowHeight();
    const PaperFit fit = FitToPaper(cells, settings, texts, rowHeight, r.fontSize);
    settings.orientation = fit.orientation;
    if (fit.column < 0) return;
    cells.sizeColumns(fit.column, 1, fit.width);
    const int32_t listColumn = r.columns[size_t(fit.column - first)];
    if (n > 0)
        SetAlignment(cells, CellRange{kFirstItemRow, fit.column, n, 1},
                     ListAlignmentStyle(list.column(listColumn).align) + kWrapped);
    source.touch();
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
                        int32_t firstFormulaColumn, CellModel& table) {
    if (r.formulas.empty()) return;
    auto* script = forms::FindControlAs<forms::ScriptControl>(kBackground, ids::PrintScript);
    if (script == nullptr) return;
    std::vector<std::string> headers;
    if (r.serialColumn) headers.emplace_back(printing_text::SerialHeader);
    for (int32_t c : r.columns) headers.push_back(list.column(c).title);
    const int32_t n = list.rows();
    for (size_t f = 0; f < r.formulas.size(); ++f) {
        const int32_t column = firstFormulaColumn + int32_t(f);
        SetCellText(table, kHeaderRow, column, r.formulas[f].first);
        FormulaRowEvaluator evaluator(script->host(), r.formulas[f].second, headers);
        std::vector<std::string_view> cells(headers.size());
        std::string serial;
        for (int32_t i = 0; i < n; ++i) {
            size_t at = 0;
            if (r.serialColumn) {
                serial = std::to_string(i + 1);
                cells[at++] = serial;
            }
            for (int32_t c : r.columns) cells[at++] = list.text(i, c);
            SetCellText(table, kFirstItemRow + i, column, evaluator.evaluate(cells));
        }
    }
}

// The statistics row keeps its label in the first cell: a sum that belongs
// there follows the label. Serial numbers (the added column and the list's
// own "序号") count rows and are never summed.
void FillSummaryRow(const PrintTableRequest& r, int32_t n, int32_t columns, int32_t firstFormula,
                    CellModel& cells) {
    const int32_t row = kFirstItemRow + n;
    if (r.summary == SummaryMode::kCount) {
        SetCellText(cells, row, 0,
                    std::string(printing_text::CountBefore) + std::to_string(n) +
                        printing_text::CountAfter);
        cells.merge(WholeRow(row, columns));
        return;
    }
    std::string label = printing_text::StatisticsLabel;
    for (const std::string& name : r.statisticsColumns) {
        int32_t column = -1;
        for (int32_t c = 0; c < columns && column < 0; ++c)
            if (cells.text(kHeaderRow, c) == name) column = c;
        const bool serial = column < firstFormula && name == printing_text::SerialHeader;
        if (column < 0 || serial) continue;
        std::vector<std::string> texts;
        texts.reserve(size_t(n));
        for (int32_t i = 0; i < n; ++i) texts.push_back(cells.text(kFirstItemRow + i, column));
        const std::string sum = ColumnSumText({texts.begin(), texts.end()});
        if (column == 0)
            label += ' ' + sum;
        else
            SetCellText(cells, row, column, sum);
    }
    SetCellText(cells, row, 0, label);
}

// The table template's layout into the data source's cells; false when it is
// no table.
bool LoadTemplate(CellModel& cells) {
    const auto* block = reinterpret_cast<const ByteSetBlock*>(app::PrintTableTemplate);
    return LoadTableLayout({reinterpret_cast<const char*>(block->data()), block->length}, cells);
}

// Steps after the background window is there: the table, its print settings
// and the preview it opens; null when the template could not be loaded.
PrintPreviewWindow* FillAndPreview(const PrintTableRequest& r, const forms::ReportListModel& list) {
    const int32_t n = list.rows(), k = int32_t(r.columns.size());
    const int32_t m = int32_t(r.formulas.size());
    const bool summary = r.summary != SummaryMode::kNone;

    ui::WriteIntProperty(kBackground, ids::PrintSource, forms::Prop::kOwn + 0,
                         int32_t(ids::PrintProvider));
    auto* source = forms::FindControlAs<DataSourceControl>(kBackground, ids::PrintSource);
    CellModel* model = source ? source->cells() : nullptr;
    if (model == nullptr || !LoadTemplate(*model)) {
        ui::ShowMessage(printing_text::NoPrintTemplate, kIconStop);
        return nullptr;
    }
    CellModel& cells = *model;

    // Columns: serial, printed, formula. The merged rows span all of them.
    const int32_t first = r.serialColumn ? 1 : 0;  // first printed column
    const int32_t printedEnd = first + k;          // first formula column
    const int32_t columns = printedEnd + m;
    if (columns > 1) cells.insertColumns(1, columns - 1, cells.defaultColumnWidth());
    cells.insertRows(cells.rowCount(), n + (summary ? 1 : 0), cells.defaultRowHeight());

    if (r.serialColumn) {
        cells.sizeColumns(0, 1, kSerialWidth);
        SetCellText(cells, kHeaderRow, 0, printing_text::SerialHeader);
    }
    for (int32_t j = 0; j < k; ++j) {
        const forms::ReportListModel::Column& c = list.column(r.columns[size_t(j)]);
        cells.sizeColumns(first + j, 1, int32_t(c.width * table::kReportUnitsPerPixel));
        SetCellText(cells, kHeaderRow, first + j, c.title);
        if (n > 0)
            SetAlignment(cells, CellRange{kFirstItemRow, first + j, n, 1},
                         ListAlignmentStyle(c.align));
    }

    const int32_t h = cells.rowHeight(kTitleRow);
    FillTitleRows(r, h, columns, cells);
    if (n > 0) cells.sizeRows(kFirstItemRow, n, h * 3 / 2);
    std::vector<bool> amounts;
    for (int32_t c : r.columns) amounts.push_back(IsAmountColumn(list.column(c).title));
    std::string text;
    for (int32_t i = 0; i < n; ++i) {
        if (r.serialColumn) SetCellText(cells, kFirstItemRow + i, 0, std::to_string(i + 1));
        for (int32_t j = 0; j < k; ++j) {
            text.assign(list.text(i, r.columns[size_t(j)]));
            SetCellText(cells, kFirstItemRow + i, first + j,
                        amounts[size_t(j)] ? AmountCellText(text) : text);
        }
    }
    FillFormulaColumns(r, list, printedEnd, cells);
    if (summary) FillSummaryRow(r, n, columns, printedEnd, cells);

    const CellRange body{kHeaderRow, 0, n + 1 + (summary ? 1 : 0), columns};
    ApplyLineStyle(r.lineStyle, body, cells);
    PaintColors(r.colors, n, summary, columns, cells);
    if (!r.remark.empty()) FillRemark(r.remark, body.lastRow() + 1, columns, cells);
    SetFontSize(cells, body, r.fontSize);
    SetBold(cells, WholeRow(kHeaderRow, columns));
    cells.setFixedRows(kFirstItemRow);  // every page repeats the title rows and the header
    source->touch();                    // the grid showing the table rebuilds once events run

    PrintSettings& settings = source->printSettings();
    settings = PrintSettings{};
    settings.paper = r.paper;
    settings.orientation = r.orientation;
    settings.marginLeft = settings.marginTop = settings.marginRight = settings.marginBottom =
        kMargin;
    settings.rowsPerPage = r.rowsPerPage;
    settings.pageNumberPosition = r.pageNumberPosition;
    FitBodyToPaper(r, list, n, first, *source, settings);
    return table::OpenPrintPreview(cells, settings);
}

}  // namespace

bool BuildPrintTable(const PrintTableRequest& r) {
    auto* source = forms::FindControlAs<forms::ReportListControl>(r.sourceWindow, r.sourceList);
    if (source == nullptr) {
        ui::ShowMessage(printing_text::NotReportList, kIconInformation,
                        printing_text::PromptCaption);
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
                                              ? printing_text::IncomeDetailDocument
                                              : printing_text::ExpenseDetailDocument));
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

}  // namespace tavrin::printing
