// The formula window's handlers.
#include "formula_window.h"

#include <optional>
#include <string>

#include "app_tpl_templates.h"
#include "forms/commands/control_commands.h"
#include "forms/commands/script_commands.h"
#include "forms/controls.h"
#include "forms/properties.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "formula_columns.h"
#include "formula_evaluation.h"
#include "printing_text_constants.h"
#include "runtime/commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "ui/routines.h"
#include "ui/window_access.h"
#include "window_keys.h"

namespace tavrin::printing {

using namespace tavrin;
namespace fc = tavrin::form_commands;
namespace ids = app_tpl::ids;

namespace {

constexpr int32_t kEditContent = forms::Prop::kOwn + forms::EditProp::kContent;

Value Ref(uint32_t control, uint32_t type) {
    return MakeControlRef(ids::FormulaWindow, control, type);
}

std::string EditText(uint32_t edit) {
    return ui::ReadTextProperty(ids::FormulaWindow, edit, kEditContent);
}

void Focus(uint32_t control, uint32_t type) {
    CallKernel(fc::SetFocus, Ref(control, type));
}

// The test evaluation: the formula with 5 for each column, through 脚本组件1.
bool FormulaEvaluates(const std::string& formula) {
    const std::optional<std::string> test = FormulaTestText(formula);
    if (!test) return false;
    const OwnedText result(CallLibrary(kScriptLibrary, fc::ScriptEvaluate,
                                       Ref(ids::FormulaScript, forms::TypeId::kScript),
                                       MakeTextRef(test->c_str())));
    return !TextOf(result.value()).empty();
}

const HandlerEntry kFormulaHandlers[] = {
    {"FormulaWindowLoad", &ui::CallRoutine<FormulaWindowLoad>},
    {"FormulaColumnChosen", &ui::CallRoutine<FormulaColumnChosen>},
    {"ConfirmFormula", &ui::CallRoutine<ConfirmFormula>},
    {"CancelFormula", &ui::CallRoutine<CancelFormula>},
    {"DeleteFormulaColumn", &ui::CallRoutine<DeleteFormulaColumn>},
};

}  // namespace

void FormulaWindowLoad() {
    const Value combo = Ref(ids::FormulaColumnCombo, forms::TypeId::kComboBox);
    CallKernel(fc::ComboClear, combo);
    for (const std::string& title : TickedPrintColumns())
        CallKernel(fc::ComboAddItem, combo, MakeTextRef(title.c_str()));
    Focus(ids::FormulaTitleEdit, forms::TypeId::kEdit);
    ClickOnWindowKey(ids::FormulaWindow, WindowKey::kEnter, ids::FormulaOkButton);
}

void FormulaColumnChosen() {
    const std::string chosen = ui::ReadTextProperty(ids::FormulaWindow, ids::FormulaColumnCombo,
                                                    forms::Prop::kOwn + forms::ComboProp::kContent);
    const std::string formula = EditText(ids::FormulaEdit) + "[" + chosen + "]";
    ui::WriteTextProperty(ids::FormulaWindow, ids::FormulaEdit, kEditContent, formula);
    Focus(ids::FormulaEdit, forms::TypeId::kEdit);
    if (auto* edit = forms::FindControlAs<forms::EditControl>(ids::FormulaWindow, ids::FormulaEdit))
        if (edit->lineEdit()) edit->lineEdit()->end(false);
}

void ConfirmFormula() {
    const std::string title = EditText(ids::FormulaTitleEdit);
    const std::string formula = EditText(ids::FormulaEdit);
    if (title.empty() || formula.empty()) {
        ui::ShowMessage(printing_text::FormulaTitleOrFormulaMissing, kIconStop,
                        printing_text::PromptCaption);
        return;
    }
    if (!FormulaEvaluates(formula)) {
        ui::ShowMessage(printing_text::FormulaInvalid, kIconInformation,
                        printing_text::PromptCaption);
        Focus(ids::FormulaEdit, forms::TypeId::kEdit);
        return;
    }
    AddFormulaColumn(title, formula);
    forms::CloseWindow(ids::FormulaWindow, false);
}

void CancelFormula() {
    forms::CloseWindow(ids::FormulaWindow, false);
}

std::vector<HandlerEntry> FormulaHandlers() {
    return {std::begin(kFormulaHandlers), std::end(kFormulaHandlers)};
}

}  // namespace tavrin::printing
