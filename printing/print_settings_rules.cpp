// The colour check boxes (exactly one scheme at a time, its pickers enabled)
// and the summary radio buttons (统计列表框 offered only for statistics).
#include "forms/commands/control_commands.h"
#include "forms/template_format.h"
#include "print_settings_controls.h"
#include "runtime/commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"

namespace tavrin::printing::print_settings {

using namespace tavrin;
namespace fc = tavrin::form_commands;

namespace {

void EnableRowPickers(bool on) {
    for (uint32_t p : {ids::RowHeaderColor, ids::OddRowColor, ids::EvenRowColor}) SetEnabled(p, on);
}
void EnableColumnPickers(bool on) {
    for (uint32_t p : {ids::ColumnHeaderColor, ids::OddColumnColor, ids::EvenColumnColor})
        SetEnabled(p, on);
}

// Ticking one of the two custom schemes clears the other schemes and enables
// its own pickers; unticking it disables them.
void CustomSchemeClicked(uint32_t check, uint32_t otherCheck, void (*enablePickers)(bool),
                         void (*enableOtherPickers)(bool)) {
    if (!Ticked(check)) {
        enablePickers(false);
        return;
    }
    SetTicked(otherCheck, false);
    enableOtherPickers(false);
    SetTicked(ids::DefaultColorsCheck, false);
    SetTicked(ids::BuiltInColorsCheck, false);
    enablePickers(true);
}

}  // namespace

Value CheckList(uint32_t id) {
    return MakeControlRef(kWindow, id, forms::TypeId::kCheckListBox);
}
Value List(uint32_t id) {
    return MakeControlRef(kWindow, id, forms::TypeId::kListBox);
}

std::string ItemText(const Value& list, int32_t i) {
    return TakeText(CallKernel(fc::ListItemText, list, MakeInt(i)));
}

void DefaultColorsTicked() {
    if (!Ticked(ids::DefaultColorsCheck)) return;
    SetTicked(ids::BuiltInColorsCheck, false);
    SetTicked(ids::CustomRowsCheck, false);
    SetTicked(ids::CustomColumnsCheck, false);
    EnableRowPickers(false);
    EnableColumnPickers(false);
}

void BuiltInColorsTicked() {
    if (!Ticked(ids::BuiltInColorsCheck)) return;
    EnableRowPickers(false);
    EnableColumnPickers(false);
    SetTicked(ids::CustomRowsCheck, false);
    SetTicked(ids::CustomColumnsCheck, false);
    SetTicked(ids::DefaultColorsCheck, false);
}

void CustomRowsClicked() {
    CustomSchemeClicked(ids::CustomRowsCheck, ids::CustomColumnsCheck, &EnableRowPickers,
                        &EnableColumnPickers);
}

void CustomColumnsClicked() {
    CustomSchemeClicked(ids::CustomColumnsCheck, ids::CustomRowsCheck, &EnableColumnPickers,
                        &EnableRowPickers);
}

void OfferTickedColumnsForStatistics() {
    const Value display = CheckList(ids::PrintColumnList);
    const Value statistics = CheckList(ids::StatisticsColumnList);
    const int32_t n = CallKernel(fc::ListCount, display).asInt();
    for (int32_t i = 0; i < n; ++i) {
        if (!CallKernel(fc::ListIsChecked, display, MakeInt(i)).asBool()) continue;
        const std::string title = ItemText(display, i);
        const int32_t m = CallKernel(fc::ListCount, statistics).asInt();
        bool held = false;
        for (int32_t j = 0; j < m && !held; ++j) held = ItemText(statistics, j) == title;
        if (!held) CallKernel(fc::ListAddItem, statistics, MakeTextRef(title.c_str()));
    }
}

void SummaryModeChanged() {
    if (!Ticked(ids::StatisticsSummaryRadio)) {
        SetEnabled(ids::StatisticsColumnList, false);
        return;
    }
    SetEnabled(ids::StatisticsColumnList, true);
    const Value statistics = CheckList(ids::StatisticsColumnList);
    CallKernel(fc::ListClear, statistics);
    const Value display = CheckList(ids::PrintColumnList);
    const int32_t n = CallKernel(fc::ListCount, display).asInt();
    for (int32_t i = 0; i < n; ++i) {
        if (!CallKernel(fc::ListIsChecked, display, MakeInt(i)).asBool()) continue;
        const std::string title = ItemText(display, i);
        const int32_t at =
            CallKernel(fc::ListAddItem, statistics, MakeTextRef(title.c_str())).asInt();
        CallKernel(fc::ListSetChecked, statistics, MakeInt(at), MakeInt(1));
    }
    const Value formulas = List(ids::FormulaColumnList);
    const int32_t m = CallKernel(fc::ListCount, formulas).asInt();
    for (int32_t i = 0; i < m; ++i) {
        const std::string title = ItemText(formulas, i);
        CallKernel(fc::ListAddItem, statistics, MakeTextRef(title.c_str()));
    }
}

}  // namespace tavrin::printing::print_settings
