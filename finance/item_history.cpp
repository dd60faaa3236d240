// The two step stacks, the tool bar's "撤销" and "重复" that follow them, and
// their keys. A refused step takes the steps behind it in the same direction
// along: they were made on top of the record state that is now gone.
#include "finance/item_history.h"

#include <QKeySequence>
#include <QShortcut>
#include <QToolButton>
#include <deque>

#include "app_constants.h"
#include "forms/bars.h"
#include "forms/window_system.h"
#include "item_replay.h"
#include "runtime/gbk.h"
#include "ui/window_access.h"

namespace tavrin::finance {

using namespace tavrin::ui;

namespace {

// Tool bar indices (separators count).
constexpr int32_t kUndoButton = 10;
constexpr int32_t kRedoButton = 11;

struct History {
    std::deque<ItemStep> undo;  // newest at the back
    std::deque<ItemStep> redo;  // next to repeat at the back
    // The template's tool-tips, shown while a direction is empty.
    QString undoIdleTip, redoIdleTip;
    bool idleTipsKept = false;
};

History& TheHistory() {
    static History history;
    return history;
}

const char* OperationName(const ItemStep& step) {
    switch (step.kind) {
        case StepKind::kAdd:
            return step.income ? app::StepAddIncome : app::StepAddExpense;
        case StepKind::kChange:
            return step.income ? app::StepChangeIncome : app::StepChangeExpense;
        case StepKind::kDelete:
            break;
    }
    return step.income ? app::StepDeleteIncome : app::StepDeleteExpense;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// "撤销 删除收入 12.5 工资": the operation and the item as its row shows it
// (a delete's item before, an add's and a change's after).
QString StepTip(const char* word, const ItemStep& step) {
    const RowCells& cells = step.kind == StepKind::kDelete ? step.before.cells : step.after.cells;
    std::string tip = std::string(word) + " " + OperationName(step) + " " + Trimmed(cells.amount);
    if (!cells.category.empty()) tip += " " + cells.category;
    return GbkToQString(tip);
}

void ShowButtonState() {
    auto* bar = forms::FindControlAs<forms::ToolBarControl>(ids::MainWindow, ids::Toolbar1);
    if (!bar || !bar->button(kUndoButton) || !bar->button(kRedoButton)) return;
    History& h = TheHistory();
    if (!h.idleTipsKept) {
        h.undoIdleTip = bar->button(kUndoButton)->toolTip();
        h.redoIdleTip = bar->button(kRedoButton)->toolTip();
        h.idleTipsKept = true;
    }
    bar->setButtonEnabled(kUndoButton, !h.undo.empty());
    bar->setButtonEnabled(kRedoButton, !h.redo.empty());
    bar->button(kUndoButton)
        ->setToolTip(h.undo.empty() ? h.undoIdleTip : StepTip(app::UndoWord, h.undo.back()));
    bar->button(kRedoButton)
        ->setToolTip(h.redo.empty() ? h.redoIdleTip : StepTip(app::RedoWord, h.redo.back()));
}

// A record put back under a new serial is the record the other steps knew
// under its old one (serials only grow, so the old one names nothing else now).
void Renumber(bool income, int32_t from, int32_t to) {
    for (auto* steps : {&TheHistory().undo, &TheHistory().redo})
        for (ItemStep& s : *steps)
            if (s.income == income && s.serial == from) s.serial = to;
}

// Takes the newest step of `from`, replays it and moves it to `to`.
void Replay(std::deque<ItemStep>& from, std::deque<ItemStep>& to, bool undo) {
    if (from.empty()) return;
    ItemStep step = from.back();
    const int32_t serialBefore = step.serial;
    switch (ReplayStep(&step, undo)) {
        case ReplayResult::kDone:
            from.pop_back();
            if (step.serial != serialBefore) Renumber(step.income, serialBefore, step.serial);
            to.push_back(std::move(step));
            break;
        case ReplayResult::kRefused:
            from.clear();
            ShowButtonState();
            ShowMessage(undo ? app::UndoRefused : app::RedoRefused, kIconExclamation,
                        app::ErrorCaption);
            break;
        case ReplayResult::kFailed:
            break;  // reported; the step stays for another try
    }
    ShowButtonState();
}

}  // namespace

void NoteItemStep(ItemStep step) {
    History& h = TheHistory();
    h.undo.push_back(std::move(step));
    while (h.undo.size() > kHistoryLimit) h.undo.pop_front();
    h.redo.clear();
    ShowButtonState();
}

void ForgetItemHistory() {
    TheHistory().undo.clear();
    TheHistory().redo.clear();
    ShowButtonState();
}

void UndoItemStep() {
    Replay(TheHistory().undo, TheHistory().redo, true);
}

void RedoItemStep() {
    Replay(TheHistory().redo, TheHistory().undo, false);
}

size_t UndoStepCount() {
    return TheHistory().undo.size();
}
size_t RedoStepCount() {
    return TheHistory().redo.size();
}

void InstallUndoKeys() {
    // A new main window: its tool bar has the template's tool-tips again.
    TheHistory().idleTipsKept = false;
    QWidget* window = forms::WindowWidget(ids::MainWindow);
    if (!window) return;
    auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), window);
    QObject::connect(undo, &QShortcut::activated, [] { UndoItemStep(); });
    auto* redo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), window);
    QObject::connect(redo, &QShortcut::activated, [] { RedoItemStep(); });
    ForgetItemHistory();
}

}  // namespace tavrin::finance
