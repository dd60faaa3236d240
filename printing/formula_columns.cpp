// The formula-column list (the print columns the person defined, for this run
// only) and its mirrors, reached through the list commands.
#include "formula_columns.h"

#include <algorithm>
#include <cstdio>

#include "app_tpl_templates.h"
#include "forms/commands/control_commands.h"
#include "forms/properties.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "printing_text_constants.h"
#include "runtime/commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "ui/window_access.h"

namespace tavrin::printing {

using namespace tavrin;
namespace fc = tavrin::form_commands;

namespace {

FormulaListControls& Controls() {
    static FormulaListControls controls;
    return controls;
}

Value ListRef(uint32_t control, bool checkList) {
    return MakeControlRef(Controls().window, control,
                          checkList ? forms::TypeId::kCheckListBox : forms::TypeId::kListBox);
}

// The column texts, each title followed by its formula (GBK); every start
// begins with none.
std::vector<std::string>& ColumnTexts() {
    static std::vector<std::string> texts;
    return texts;
}

void StoreTexts(const std::vector<std::string>& texts) {
    ColumnTexts() = texts;
}

// The mirrors live in the print settings window; a list without its window
// is a wiring fault that must show, not pass silently.
bool Wired() {
    if (Controls().window != 0 && forms::IsWindowLoaded(Controls().window)) return true;
    std::fprintf(stderr, "tavrin: the formula columns have no print settings window\n");
    return false;
}

}  // namespace

void SetFormulaListControls(const FormulaListControls& controls) {
    Controls() = controls;
}

const FormulaListControls& FormulaListControlsInUse() {
    return Controls();
}

std::vector<std::string> FormulaColumnTexts() {
    return ColumnTexts();
}

std::vector<std::pair<std::string, std::string>> FormulaColumns() {
    const std::vector<std::string> texts = FormulaColumnTexts();
    std::vector<std::pair<std::string, std::string>> out;
    for (size_t i = 0; i + 1 < texts.size(); i += 2) out.emplace_back(texts[i], texts[i + 1]);
    return out;
}

void EmptyFormulaColumns() {
    StoreTexts({});
}

void AddFormulaColumn(std::string_view gbkTitle, std::string_view gbkFormula) {
    std::vector<std::string> texts = FormulaColumnTexts();
    texts.emplace_back(gbkTitle);
    texts.emplace_back(gbkFormula);
    StoreTexts(texts);
    if (!Wired()) return;
    const std::string title(gbkTitle);
    CallKernel(fc::ListAddItem, ListRef(Controls().newColumnList, false),
               MakeTextRef(title.c_str()));
    CallKernel(fc::ListAddItem, ListRef(Controls().statisticsList, true),
               MakeTextRef(title.c_str()));
}

void DeleteFormulaColumn() {
    if (!Wired()) return;
    const int32_t s = ui::ReadIntProperty(Controls().window, Controls().newColumnList,
                                          forms::Prop::kOwn + forms::ListProp::kCurrent);
    if (s < 0) {
        ui::ShowMessage(printing_text::NoFormulaColumnChosen, kIconInformation,
                        printing_text::PromptCaption);
        return;
    }
    const Value newList = ListRef(Controls().newColumnList, false);
    const Value statistics = ListRef(Controls().statisticsList, true);
    const std::string title = TakeText(CallKernel(fc::ListItemText, newList, MakeInt(s)));
    for (int32_t i = CallKernel(fc::ListCount, statistics).asInt() - 1; i >= 0; --i) {
        if (TakeText(CallKernel(fc::ListItemText, statistics, MakeInt(i))) == title)
            CallKernel(fc::ListDeleteItem, statistics, MakeInt(i));
    }
    std::vector<std::string> texts = FormulaColumnTexts();
    const size_t first = size_t(s) * 2;
    if (first < texts.size())
        texts.erase(texts.begin() + long(first),
                    texts.begin() + long(std::min(first + 2, texts.size())));
    StoreTexts(texts);
    CallKernel(fc::ListDeleteItem, newList, MakeInt(s));
}

std::vector<std::string> TickedPrintColumns() {
    std::vector<std::string> out;
    if (!Wired()) return out;
    const Value display = ListRef(Controls().displayList, true);
    const int32_t n = CallKernel(fc::ListCount, display).asInt();
    for (int32_t i = 0; i < n; ++i)
        if (CallKernel(fc::ListIsChecked, display, MakeInt(i)).asBool())
            out.push_back(TakeText(CallKernel(fc::ListItemText, display, MakeInt(i))));
    return out;
}

void OpenFormulaWindow(uint32_t parentWindow) {
    forms::LoadWindow(app_tpl::ids::FormulaWindow, parentWindow, true);
}

}  // namespace tavrin::printing
