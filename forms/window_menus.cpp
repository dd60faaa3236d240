// Menus of created windows: the menu bar, pop-up menus and menu commands.
#include <QCursor>
#include <QMenuBar>

#include "forms/events.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "internal/window_system_object.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {

// A chosen menu item's command is posted to its window and runs once the menu
// has finished with the mouse or key event that chose it: the handler may close
// and free the pop-up menu, which is still inside that event's handling.
void ConnectMenuAction(QAction* action, FormWindow* form, uint32_t windowId, int32_t command) {
    QObject::connect(action, &QAction::triggered, form, [form, windowId, command] {
        QMetaObject::invokeMethod(
            form, [windowId, command] { ChooseMenuCommand(windowId, command); },
            Qt::QueuedConnection);
    });
}

void ApplyMenuFlags(QAction* a, const ItemTemplate& m) {
    a->setText(GbkToQString(m.menuCaption));
    a->setVisible(!(m.menuFlags & kMenuHidden));
    a->setEnabled(!(m.menuFlags & kMenuDisabled));
    const bool checked = m.menuFlags & kMenuChecked;
    if (checked) a->setCheckable(true);
    a->setChecked(checked);
}

// Adds the items of the menu run from `first` that lie below `level` to `menu`.
size_t AddMenuItems(LiveWindow& lw, std::vector<ItemTemplate*>& run, size_t first, int32_t level,
                    QWidget* menu) {
    size_t i = first;
    while (i < run.size() && run[i]->menuLevel > level) {
        ItemTemplate& m = *run[i];
        const bool hasChildren = i + 1 < run.size() && run[i + 1]->menuLevel > m.menuLevel;
        QAction* action = nullptr;
        if (hasChildren) {
            auto* sub = new QMenu(GbkToQString(m.menuCaption), menu);
            if (auto* bar = qobject_cast<QMenuBar*>(menu))
                bar->addMenu(sub);
            else
                static_cast<QMenu*>(menu)->addMenu(sub);
            action = sub->menuAction();
            i = AddMenuItems(lw, run, i + 1, m.menuLevel, sub);
        } else {
            action = new QAction(GbkToQString(m.menuCaption), menu);
            menu->addAction(action);
            ConnectMenuAction(action, lw.form, lw.windowId, m.menuCommand);
            ++i;
        }
        ApplyMenuFlags(action, m);
        lw.menuActions[m.id] = action;
    }
    return i;
}

std::vector<ItemTemplate*> MenuRun(WindowTemplate& t) {
    std::vector<ItemTemplate*> run;
    for (ItemTemplate& item : t.items)
        if (item.isMenu) run.push_back(&item);
    // The run is entered at level 0; deeper first entries are lifted to it.
    return run;
}

}  // namespace

void BuildMenuBar(LiveWindow& lw) {
    std::vector<ItemTemplate*> run = MenuRun(*lw.tmpl);
    if (run.empty()) return;
    auto* bar = new QMenuBar(lw.form);
    AddMenuItems(lw, run, 0, -1, bar);
    lw.form->setMenuBar(bar);
}

bool ChooseMenuCommand(uint32_t windowId, int32_t command) {
    if (command < kMenuCommandBase || command >= kMenuCommandLimit) return false;
    WindowTemplate* t = FindTemplate(windowId);
    if (!t) return false;
    for (ItemTemplate& item : t->items) {
        if (item.isMenu && item.menuCommand == command) {
            EventCall call;
            call.windowId = windowId;
            call.itemId = item.id;
            DispatchEvent(call);
            return true;
        }
    }
    return false;
}

void PopupMenu(uint32_t windowId, uint32_t menuItemId, std::optional<QPoint> screenPos) {
    LiveWindow* lw = Live(windowId);
    if (!lw) return;
    std::vector<ItemTemplate*> run = MenuRun(*lw->tmpl);
    size_t at = 0;
    while (at < run.size() && run[at]->id != menuItemId) ++at;
    if (at == run.size()) return;  // not a menu item of this window
    if (TheWindowSystem().windows.lastPopup) TheWindowSystem().windows.lastPopup->deleteLater();
    auto* menu = new QMenu(lw->form);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The pop-up's entries must not replace the bar's entries in menuActions.
    LiveWindow shadow;
    shadow.windowId = windowId;
    shadow.tmpl = lw->tmpl;
    shadow.form = lw->form;
    AddMenuItems(shadow, run, at + 1, run[at]->menuLevel, menu);
    TheWindowSystem().windows.lastPopup = menu;
    menu->popup(screenPos ? *screenPos : QCursor::pos() + QPoint(3, 3));
}

QMenu* LastPopupMenu() {
    return TheWindowSystem().windows.lastPopup.data();
}

void RefreshMenuItem(uint32_t windowId, uint32_t menuItemId) {
    LiveWindow* lw = Live(windowId);
    if (!lw) return;
    auto it = lw->menuActions.find(menuItemId);
    ItemTemplate* m = lw->tmpl->find(menuItemId);
    if (it == lw->menuActions.end() || !it->second || !m) return;
    ApplyMenuFlags(it->second, *m);
}

}  // namespace tavrin::forms
