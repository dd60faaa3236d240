// Focus, client size, moving, pop-up menus, the common dialog and the items
// of combo, list and check list boxes. Indices are checked against the live
// item count by the controls' accessors before any use.
#include "forms/commands/control_commands.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QFrame>
#include <QScrollBar>
#include <algorithm>

#include "forms/commands/command_support.h"
#include "forms/controls.h"
#include "forms/form_window.h"
#include "forms/window_system.h"

namespace tavrin::form_commands {

namespace {

QSize ClientSizeOf(forms::Control& c) {
    if (auto* window = dynamic_cast<forms::WindowControl*>(&c))
        return window->form()->client()->size();
    QWidget* w = c.widget();
    if (w == nullptr) return {0, 0};
    // The client area lies inside the frame; a scrolled view's also leaves out
    // the scroll bars that are shown, but keeps its header.
    if (auto* frame = qobject_cast<QFrame*>(w)) {
        QSize size = frame->contentsRect().size();
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
            if (area->verticalScrollBar()->isVisibleTo(area))
                size.rwidth() -= area->verticalScrollBar()->width();
            if (area->horizontalScrollBar()->isVisibleTo(area))
                size.rheight() -= area->horizontalScrollBar()->height();
        }
        return size;
    }
    return w->size();
}

// Window rectangles are the outer ones, as the template and the properties give them.
QRect RectOf(forms::Control& c) {
    if (auto* window = dynamic_cast<forms::WindowControl*>(&c)) {
        QWidget* f = window->form();
        return QRect(f->pos(),
                     QSize(f->width() + forms::kFrameWidth, f->height() + forms::kFrameHeight));
    }
    return c.widget() ? c.widget()->geometry() : QRect();
}

void SetRectOf(forms::Control& c, const QRect& r) {
    if (auto* window = dynamic_cast<forms::WindowControl*>(&c)) {
        QWidget* f = window->form();
        f->move(r.topLeft());
        f->resize(std::max(0, r.width() - forms::kFrameWidth),
                  std::max(0, r.height() - forms::kFrameHeight));
        return;
    }
    c.widget()->setGeometry(r);
    c.widget()->update();
}

}  // namespace

void SetFocus(Value* result, int32_t argc, const Value* argv) {
    forms::Control& c = RequireControl(argc, argv);
    *result = Value{};
    if (auto* window = dynamic_cast<forms::WindowControl*>(&c)) {
        window->form()->activateWindow();
        window->form()->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (QWidget* w = c.widget()) w->setFocus(Qt::OtherFocusReason);
}

void ClientWidth(Value* result, int32_t argc, const Value* argv) {
    *result = MakeInt(ClientSizeOf(RequireControl(argc, argv)).width());
}

void ClientHeight(Value* result, int32_t argc, const Value* argv) {
    *result = MakeInt(ClientSizeOf(RequireControl(argc, argv)).height());
}

void MoveControl(Value* result, int32_t argc, const Value* argv) {
    forms::Control& c = RequireControl(argc, argv);
    *result = Value{};
    if (c.widget() == nullptr) return;  // invisible components have no place
    const QRect now = RectOf(c);
    const int32_t left = IntOr(argc, argv, 1, now.x());
    const int32_t top = IntOr(argc, argv, 2, now.y());
    int32_t width = IntOr(argc, argv, 3, -1);
    int32_t height = IntOr(argc, argv, 4, -1);
    width = width == -1 ? now.width() : std::max(0, width);
    height = height == -1 ? now.height() : std::max(0, height);
    const QRect wanted(left, top, width, height);
    if (wanted != now) SetRectOf(c, wanted);
}

void PopupMenu(Value* result, int32_t argc, const Value* argv) {
    forms::Control& window = RequireControl(argc, argv);
    *result = Value{};
    const Value& item = ArgAt(argc, argv, 1);
    const uint32_t menuItem = item.hi != 0 ? item.hi : item.lo;
    std::optional<QPoint> at;
    if (Present(argc, argv, 2) || Present(argc, argv, 3)) {
        const QPoint mouse = QCursor::pos() + QPoint(3, 3);
        at = QPoint(IntOr(argc, argv, 2, mouse.x()), IntOr(argc, argv, 3, mouse.y()));
    }
    forms::PopupMenu(window.windowId(), menuItem, at);
}

void OpenCommonDialog(Value* result, int32_t argc, const Value* argv) {
    auto* dialog = RequireControlAs<forms::CommonDialogControl>(argc, argv);
    *result = MakeBool(dialog != nullptr && dialog->open());
}

// The combo box and the list box answer their entry commands alike.
template <typename Kind>
void EntryText(Value* result, int32_t argc, const Value* argv) {
    auto* control = RequireControlAs<Kind>(argc, argv);
    SetTextResult(result,
                  control ? control->itemText(IntArg(ArgAt(argc, argv, 1))) : std::string());
}

template <typename Kind>
void AddEntry(Value* result, int32_t argc, const Value* argv) {
    auto* control = RequireControlAs<Kind>(argc, argv);
    *result = MakeInt(
        control ? control->addItem(TextArg(ArgAt(argc, argv, 1)), IntOr(argc, argv, 2, 0)) : -1);
}

void ComboItemText(Value* result, int32_t argc, const Value* argv) {
    EntryText<forms::ComboControl>(result, argc, argv);
}

void ComboAddItem(Value* result, int32_t argc, const Value* argv) {
    AddEntry<forms::ComboControl>(result, argc, argv);
}

void ComboClear(Value* result, int32_t argc, const Value* argv) {
    if (auto* combo = RequireControlAs<forms::ComboControl>(argc, argv)) combo->clear();
    *result = Value{};
}

void ListCount(Value* result, int32_t argc, const Value* argv) {
    auto* list = RequireControlAs<forms::ListBoxControl>(argc, argv);
    *result = MakeInt(list ? list->count() : 0);
}

void ListItemText(Value* result, int32_t argc, const Value* argv) {
    EntryText<forms::ListBoxControl>(result, argc, argv);
}

void ListAddItem(Value* result, int32_t argc, const Value* argv) {
    AddEntry<forms::ListBoxControl>(result, argc, argv);
}

void ListDeleteItem(Value* result, int32_t argc, const Value* argv) {
    auto* list = RequireControlAs<forms::ListBoxControl>(argc, argv);
    *result = MakeBool(list != nullptr && list->deleteItem(IntArg(ArgAt(argc, argv, 1))));
}

void ListClear(Value* result, int32_t argc, const Value* argv) {
    if (auto* list = RequireControlAs<forms::ListBoxControl>(argc, argv)) list->clear();
    *result = Value{};
}

void ListIsChecked(Value* result, int32_t argc, const Value* argv) {
    auto* list = RequireControlAs<forms::ListBoxControl>(argc, argv);
    *result = MakeBool(list != nullptr && list->checkable() &&
                       list->isChecked(IntArg(ArgAt(argc, argv, 1))));
}

void ListSetChecked(Value* result, int32_t argc, const Value* argv) {
    auto* list = RequireControlAs<forms::ListBoxControl>(argc, argv);
    const bool check = !Present(argc, argv, 2) || IntArg(argv[2]) == 1;
    *result = MakeBool(list != nullptr && list->setChecked(IntArg(ArgAt(argc, argv, 1)), check));
}

}  // namespace tavrin::form_commands
