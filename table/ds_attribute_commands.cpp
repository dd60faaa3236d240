// The range attribute and border operations of the data source.
#include "ds_support.h"
#include "forms/commands/command_support.h"
#include "table/data_source.h"
#include "table/ds_commands.h"

namespace tavrin::table {

namespace {

using form_commands::IntOr;

// Applies `change(style, value)` to the range of argv[1..4] with the value at argv[5].
template <typename Change>
void ChangeRange(int32_t argc, const Value* argv, int32_t fallback, Change change) {
    DataSourceControl* s = nullptr;
    CellModel* m = ModelOf(argc, argv, &s);
    CellRange range;
    if (!m || !RangeArgs(argc, argv, &range)) return;
    const int32_t value = IntOr(argc, argv, 5, fallback);
    m->changeStyle(range, [&](CellStyle& style) { change(*m, style, value); });
    s->touch();
}

void Borders(int32_t argc, const Value* argv, bool on) {
    DataSourceControl* s = nullptr;
    CellModel* m = ModelOf(argc, argv, &s);
    CellRange range;
    if (!m || !RangeArgs(argc, argv, &range)) return;
    m->setBorders(range, IntOr(argc, argv, 5, 0), on);
    s->touch();
}

}  // namespace

void DsSetTextColor(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    ChangeRange(argc, argv, 0,
                [](CellModel&, CellStyle& s, int32_t v) { s.textColor = uint32_t(v); });
}

void DsSetBackColor(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    ChangeRange(argc, argv, int32_t(kDefaultColor),
                [](CellModel&, CellStyle& s, int32_t v) { s.backColor = uint32_t(v); });
}

void DsSetFontName(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    const std::string_view name = kernel::TextArg(kernel::ArgAt(argc, argv, 5));
    DataSourceControl* s = nullptr;
    CellModel* m = ModelOf(argc, argv, &s);
    CellRange range;
    if (!m || !RangeArgs(argc, argv, &range)) return;
    const uint16_t index = name.empty() ? 0 : m->internFontName(name);
    m->changeStyle(range, [&](CellStyle& style) { style.fontName = index; });
    s->touch();
}

void DsSetFontSize(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    ChangeRange(argc, argv, 40,
                [](CellModel&, CellStyle& s, int32_t v) { s.fontSize = std::max(0, v); });
}

void DsSetCellFormat(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    ChangeRange(argc, argv, 0,
                [](CellModel&, CellStyle& s, int32_t v) { s.setFontStyle(uint32_t(v)); });
}

void DsSetAlignment(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    ChangeRange(argc, argv, 1, [](CellModel&, CellStyle& s, int32_t v) {
        s.alignment = uint8_t(NormalizedAlignment(v));
    });
}

void DsSetBorders(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    Borders(argc, argv, true);
}

void DsClearBorders(Value* result, int32_t argc, const Value* argv) {
    *result = Value{};
    Borders(argc, argv, false);
}

}  // namespace tavrin::table
