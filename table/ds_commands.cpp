// Data source commands: argument reading (1-based to 0-based, defaults) and
// forwarding to the provider and its cell model.
#include "table/ds_commands.h"

#include <algorithm>

#include "ds_support.h"
#include "forms/commands/command_support.h"
#include "runtime/kernel/conversion_commands.h"
#include "table/data_source.h"
#include "table/print_preview.h"
#include "table/table_template.h"

namespace tavrin::table {

using form_commands::IntOr;
using form_commands::Present;
using kernel::ArgAt;
using kernel::IntArg;

DataSourceControl* SourceOf(int32_t argc, const Value* argv) {
    return form_commands::RequireControlAs<DataSourceControl>(argc, argv);
}

CellModel* ModelOf(int32_t argc, const Value* argv, DataSourceControl** source) {
    DataSourceControl* s = SourceOf(argc, argv);
    if (source) *source = s;
    return s ? s->cells() : nullptr;
}

bool RangeArgs(int32_t argc, const Value* argv, CellRange* range) {
    range->row = IntArg(ArgAt(argc, argv, 1)) - 1;
    range->column = IntArg(ArgAt(argc, argv, 2)) - 1;
    range->rows = IntOr(argc, argv, 3, 1);
    range->columns = IntOr(argc, argv, 4, 1);
    return range->rows > 0 && range->columns > 0;
}

namespace {

// Rows and columns a command may make the table grow to.
constexpr int64_t kMaxRows = 10'000'000;
constexpr int64_t kMaxColumns = 10'000;

ProviderControl* ProviderOf(int32_t argc, const Value* argv, DataSourceControl** source) {
    DataSourceControl* s = SourceOf(argc, argv);
    if (source) *source = s;
    return s ? s->provider() : nullptr;
}

}  // namespace

void DsRowCount(Value* result, int32_t argc, const Value* argv) {
    ProviderControl* p = ProviderOf(argc, argv, nullptr);
    *result = MakeInt(p ? p->rowCount() : 0);
}

void DsColumnCount(Value* result, int32_t argc, const Value* argv) {
    ProviderControl* p = ProviderOf(argc, argv, nullptr);
    *result = MakeInt(p ? p->columnCount() : 0);
}

void DsCellText(Value* result, int32_t argc, const Value* argv) {
    ProviderControl* p = ProviderOf(argc, argv, nullptr);
    const int32_t row = IntArg(ArgAt(argc, argv, 1)) - 1, column = IntArg(ArgAt(argc, argv, 2)) - 1;
    kernel::SetTextResult(result, p ? p->text(row, column) : std::string());
}

void DsSetCellText(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    DataSourceControl* s = nullptr;
    ProviderControl* p = ProviderOf(argc, argv, &s);
    if (!p) return;
    const int32_t row = IntArg(ArgAt(argc, argv, 1)) - 1, column = IntArg(ArgAt(argc, argv, 2)) - 1;
    const Value& v = ArgAt(argc, argv, 3);
    if (v.type == TypeCode::kText || !v.present())
        p->setText(row, column, kernel::TextArg(v));
    else
        p->setText(row, column, ValueToText(v));
    s->touch();
}

void DsMergeCells(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    DataSourceControl* s = nullptr;
    CellRange range;
    if (CellModel* m = ModelOf(argc, argv, &s); m && RangeArgs(argc, argv, &range)) {
        m->merge(range);
        s->touch();
    }
}

namespace {

// Sizes n rows (or columns) from `at`, growing the table at its end to reach them.
template <bool Rows>
void SizeLines(int32_t argc, const Value* argv) {
    DataSourceControl* s = nullptr;
    CellModel* m = ModelOf(argc, argv, &s);
    if (!m) return;
    const int64_t at = int64_t(IntArg(ArgAt(argc, argv, 1))) - 1;
    const int64_t n = IntOr(argc, argv, 2, 1);
    const int32_t size = IntArg(ArgAt(argc, argv, 3));
    if (at < 0 || n <= 0 || at + n > (Rows ? kMaxRows : kMaxColumns)) return;
    if (Rows)
        m->sizeRows(int32_t(at), int32_t(n), size);
    else
        m->sizeColumns(int32_t(at), int32_t(n), size);
    s->touch();
}

}  // namespace

void DsInsertRows(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    SizeLines<true>(argc, argv);
}

void DsInsertColumns(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    SizeLines<false>(argc, argv);
}

void DsLoad(Value* result, int32_t argc, const Value* argv) {
    *result = MakeBool(false);
    DataSourceControl* s = nullptr;
    CellModel* m = ModelOf(argc, argv, &s);
    const Value& v = ArgAt(argc, argv, 1);
    if (!m || v.type != TypeCode::kByteSet || v.pointer() == nullptr) return;
    const auto* block = static_cast<const ByteSetBlock*>(v.pointer());
    const std::string_view bytes(reinterpret_cast<const char*>(block->data()), block->length);
    if (!LoadTableLayout(bytes, *m)) return;
    s->touch();
    *result = MakeBool(true);
}

void DsPrintSettings(Value* result, int32_t argc, const Value* argv) {
    *result = MakeInt(0);
    DataSourceControl* s = SourceOf(argc, argv);
    const Value& v = ArgAt(argc, argv, 1);
    if (!s || v.type != kPrintSettingsType || v.pointer() == nullptr) return;
    s->printSettings() = *static_cast<const PrintSettings*>(v.pointer());
    *result = MakeInt(1);
}

void DsPrintPreview(Value* result, int32_t argc, const Value* argv) {
    DataSourceControl* s = nullptr;
    CellModel* m = ModelOf(argc, argv, &s);
    *result = MakeInt(m ? OpenPrintPreview(*m, s->printSettings())->pageCount() : 0);
}

void DsRowHeight(Value* result, int32_t argc, const Value* argv) {
    CellModel* m = ModelOf(argc, argv, nullptr);
    *result = MakeInt(m ? m->rowHeight(IntArg(ArgAt(argc, argv, 1)) - 1) : 0);
}

void DsCellHeight(Value* result, int32_t argc, const Value* argv) {
    CellModel* m = ModelOf(argc, argv, nullptr);
    *result = MakeInt(
        m ? m->cellHeight(IntArg(ArgAt(argc, argv, 1)) - 1, IntArg(ArgAt(argc, argv, 2)) - 1) : 0);
}

namespace {

// Rows or columns inserted before a 1-based position (past the end: appended),
// within the table's limit; the result is the new count.
struct InsertAxis {
    int32_t (CellModel::*count)() const;
    void (CellModel::*insert)(int32_t at, int32_t n, int32_t size);
    int32_t (CellModel::*defaultSize)() const;
    int64_t limit;
};

void InsertAlong(const InsertAxis& axis, Value* result, int32_t argc, const Value* argv) {
    DataSourceControl* s = nullptr;
    CellModel* m = ModelOf(argc, argv, &s);
    if (!m) {
        *result = MakeInt(0);
        return;
    }
    const int32_t at = IntArg(ArgAt(argc, argv, 1)) - 1, n = IntOr(argc, argv, 2, 1);
    const int32_t count = (m->*axis.count)();
    if (at >= 0 && n > 0 && count + int64_t(n) <= axis.limit) {
        (m->*axis.insert)(std::min(at, count), n, (m->*axis.defaultSize)());
        s->touch();
    }
    *result = MakeInt((m->*axis.count)());
}

}  // namespace

void DsAddRows(Value* result, int32_t argc, const Value* argv) {
    InsertAlong(
        {&CellModel::rowCount, &CellModel::insertRows, &CellModel::defaultRowHeight, kMaxRows},
        result, argc, argv);
}

void DsAddColumns(Value* result, int32_t argc, const Value* argv) {
    InsertAlong({&CellModel::columnCount, &CellModel::insertColumns, &CellModel::defaultColumnWidth,
                 kMaxColumns},
                result, argc, argv);
}

void DsAppendRows(Value* result, int32_t argc, const Value* argv) {
    DataSourceControl* s = nullptr;
    ProviderControl* p = ProviderOf(argc, argv, &s);
    const int32_t n = IntOr(argc, argv, 1, 1);
    if (!p) {
        *result = MakeInt(0);
        return;
    }
    if (n > 0 && p->rowCount() + int64_t(n) <= kMaxRows) {
        if (CellModel* m = p->cells())
            m->insertRows(m->rowCount(), n, m->defaultRowHeight());
        else
            for (int32_t i = 0; i < n && p->appendRow(); ++i) {
            }
        s->touch();
    }
    *result = MakeInt(p->rowCount());
}

void DsSetFixedRows(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    DataSourceControl* s = nullptr;
    if (CellModel* m = ModelOf(argc, argv, &s)) {
        m->setFixedRows(std::max(0, IntOr(argc, argv, 1, -1)));
        s->touch();
    }
}

void DsRefresh(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    if (DataSourceControl* s = SourceOf(argc, argv)) s->refresh();
}

}  // namespace tavrin::table
