// Category loaders and the category editor windows.
#include "categories.h"

#include <QApplication>
#include <string>

#include "app_constants.h"
#include "data_files.h"
#include "finance/app_state.h"
#include "finance/hooks.h"
#include "finance/period_views.h"
#include "forms/properties.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/system_commands.h"
#include "runtime/memory.h"
#include "runtime/owned_text.h"
#include "table/ds_commands.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

struct CategorySide {
    const char* file;
    const char* field;
    uint32_t combo;
    tavrin::ArrayBlock*& array() const {
        return income ? State().incomeCategoryList : State().expenseCategoryList;
    }
    bool income;
    void (*create)();
    // Editor window.
    uint32_t window;
    uint32_t provider;
    uint32_t dataSource;
    const char* editorPath;  // "\收入类型.edb" after ProgramDirectory
};

const CategorySide& IncomeCategories() {
    static const CategorySide s{app::IncomeCategoryFile,   app::IncomeCategoryValueField,
                                ids::IncomeCategoryCombo,  true,
                                &CreateIncomeCategoryFile, ids::IncomeCategoryWindow,
                                ids::IncomeProvider,       ids::IncomeDataSource,
                                app::IncomeCategoryPath};
    return s;
}

const CategorySide& ExpenseCategories() {
    static const CategorySide s{app::ExpenseCategoryFile,   app::ExpenseCategoryValueField,
                                ids::ExpenseCategoryCombo,  false,
                                &CreateExpenseCategoryFile, ids::ExpenseCategoryWindow,
                                ids::ExpenseProvider,       ids::ExpenseDataSource,
                                app::ExpenseCategoryPath};
    return s;
}

void LoadCategories(const CategorySide& side) {
    OpenedDataFile file(side.file);
    if (!file) {
        // Only a file that is not there is created; an existing one is never replaced.
        if (DataFileExists(side.file))
            ReportUnusableFile(side.file);
        else
            side.create();
        return;
    }
    CallKernel(GoToFirstRecord);
    const int32_t n = CallKernel(GetRecordCount).asInt();
    FreeArray(side.array(), TypeCode::kText);
    const uint32_t size = uint32_t(n > 0 ? n : 0);
    side.array() = NewArray(1, &size, ArrayElementWidth(TypeCode::kText));
    char** elements = reinterpret_cast<char**>(side.array()->elements());
    ComboClear(side.combo);
    for (int32_t i = 1; i <= n; ++i) {
        const OwnedText v(CallKernel(ReadField, MakeTextRef(side.field)));
        const OwnedText t(CallKernel(ToText, v.value()));
        ComboAddItem(side.combo, t.view());
        elements[i - 1] = CopyText(t.view());
        CallKernel(SkipRecords, MakeInt(1));
    }
}

void OpenEditor(const CategorySide& side) {
    forms::LoadWindow(side.window, ids::MainWindow, true);
}

void EditorCreated(const CategorySide& side) {
    const std::string path = TakeText(CallKernel(ProgramDirectory)) + side.editorPath;
    WriteTextProperty(side.window, side.provider, forms::Prop::kOwn + 0, path);
    CallKernel(table::DsRefresh,
               MakeControlRef(side.window, side.dataSource, forms::TypeId::kTableDataSource));
}

void EditorConfirm(const CategorySide& side) {
    CloseCurrentDatabase();
    LoadCategories(side);
    forms::CloseWindow(side.window, false);
}

void EditorDestroyed(const CategorySide& side) {
    // The runtime has shut the window's data components down before this event:
    // the grid's last edit is written and the provider's file closed.
    CloseCurrentDatabase();
    LoadCategories(side);
    // The pie's slices are the category list: a renamed, added or removed
    // category shows there at once, not at the next page change.
    RefreshChartAfterItemChange();
}

}  // namespace

void LoadIncomeCategories() {
    LoadCategories(IncomeCategories());
}
void LoadExpenseCategories() {
    LoadCategories(ExpenseCategories());
}

void RejectTypedCategory() {
    ShowMessage(app::TypedCategoryRejected, kIconInformation, app::ErrorCaption);
    const uint32_t combo = CurrentEventSource().itemId;
    if (combo != ids::IncomeCategoryCombo && combo != ids::ExpenseCategoryCombo) return;
    SetComboText(combo, {});
    // The key that raised the event is still being handled: the combo box's
    // inline completion would put the first entry back into the emptied text.
    // Emptying it once more after that key keeps the text empty.
    QMetaObject::invokeMethod(
        qApp, [combo] { SetComboText(combo, {}); }, Qt::QueuedConnection);
}

void OpenIncomeCategoryEditor() {
    OpenEditor(IncomeCategories());
}
void OpenExpenseCategoryEditor() {
    OpenEditor(ExpenseCategories());
}
void IncomeEditorCreated() {
    EditorCreated(IncomeCategories());
}
void IncomeEditorConfirm() {
    EditorConfirm(IncomeCategories());
}
void IncomeEditorDestroyed() {
    EditorDestroyed(IncomeCategories());
}
void ExpenseEditorCreated() {
    EditorCreated(ExpenseCategories());
}
void ExpenseEditorConfirm() {
    EditorConfirm(ExpenseCategories());
}
void ExpenseEditorDestroyed() {
    EditorDestroyed(ExpenseCategories());
}

}  // namespace tavrin::finance
