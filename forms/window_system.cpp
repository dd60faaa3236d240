// The template table and the created windows: creation from templates, the
// close and destroy sequence, modal windows, menus and the runtime hooks.
#include "forms/window_system.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFont>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "fm_text_constants.h"
#include "forms/builtin_kinds.h"
#include "forms/control.h"
#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/object_properties.h"
#include "forms/page_control.h"
#include "forms/properties_access.h"
#include "forms/template_format.h"
#include "forms/type_catalogue.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "runtime/runtime_app.h"

namespace tavrin::forms {

namespace {

struct LiveWindow {
    uint32_t windowId = 0;
    WindowTemplate* tmpl = nullptr;
    QPointer<FormWindow> form;
    std::map<uint32_t, Control*> controls;  // by item id; the window's own record included
    std::map<uint32_t, QPointer<QAction>> menuActions;  // by menu item id
    bool closing = false;
    bool destroying = false;
    QEventLoop* modalLoop = nullptr;
};

struct State {
    std::vector<WindowTemplate> templates;
    std::map<uint32_t, std::unique_ptr<LiveWindow>> live;
    QPointer<QMenu> lastPopup;
};

State& St() {
    static auto* s = new State;
    return *s;
}

LiveWindow* Live(uint32_t windowId) {
    auto it = St().live.find(windowId);
    return it == St().live.end() ? nullptr : it->second.get();
}

// Placeholder kind for type ids nothing has registered: an empty framed widget
// for visible kinds, nothing for invisible components and record types.
class PlaceholderControl : public Control {
  public:
    explicit PlaceholderControl(const ControlInit& init) : Control(init) {
        if (init.item->flags & (kStateVisible | kStateInteractive)) {
            auto* w = new QWidget(init.parent);
            w->setAutoFillBackground(true);
            setWidget(w);
        }
    }
};

Control* CreateControl(LiveWindow& lw, ItemTemplate& item, std::set<uint32_t>& busy) {
    if (auto it = lw.controls.find(item.id); it != lw.controls.end()) return it->second;
    if (!busy.insert(item.id).second) return nullptr;  // a parent cycle; the reader rejects these
    QWidget* container = lw.form->client();
    if (item.parentId != 0) {
        if (ItemTemplate* parent = lw.tmpl->find(item.parentId)) {
            if (Control* pc = CreateControl(lw, *parent, busy)) {
                if (auto* pages = dynamic_cast<PageControl*>(pc))
                    container = pages->pageArea();
                else if (pc->childContainer())
                    container = pc->childContainer();
            }
        }
    }
    ControlInit init{lw.windowId, &item, container};
    std::unique_ptr<Control> control;
    if (const ControlKind* kind = FindControlKind(item.typeId); kind && kind->create)
        control = kind->create(init);
    if (!control) control = std::make_unique<PlaceholderControl>(init);
    Control* c = control.release();
    lw.controls[item.id] = c;
    if (QWidget* w = c->widget()) {
        w->setVisible(item.flags & kStateVisible);
        // The item id is the control's name for the platform (tests find widgets by it).
        w->setProperty("tavrinItemId", item.id);
    }
    return c;
}

// Focusable controls ordered by their tab order, then by their place in the template.
std::vector<QWidget*> TabChain(LiveWindow& lw) {
    std::vector<std::pair<std::pair<uint32_t, size_t>, QWidget*>> chain;
    for (size_t i = 0; i < lw.tmpl->items.size(); ++i) {
        const ItemTemplate& item = lw.tmpl->items[i];
        auto it = lw.controls.find(item.id);
        if (i == 0 || item.isMenu || it == lw.controls.end()) continue;
        QWidget* w = it->second->widget();
        if (w && w->focusPolicy() != Qt::NoFocus) chain.push_back({{item.tabOrder, i}, w});
    }
    std::stable_sort(chain.begin(), chain.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<QWidget*> out;
    for (auto& [key, w] : chain) out.push_back(w);
    return out;
}

void ApplyTabOrder(LiveWindow& lw) {
    std::vector<QWidget*> chain = TabChain(lw);
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QWidget* FirstInTabOrder(LiveWindow& lw) {
    for (QWidget* w : TabChain(lw))
        if (w->isVisibleTo(lw.form) && w->isEnabledTo(lw.form)) return w;
    return nullptr;
}

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

void BuildMenuBar(LiveWindow& lw) {
    std::vector<ItemTemplate*> run = MenuRun(*lw.tmpl);
    if (run.empty()) return;
    auto* bar = new QMenuBar(lw.form);
    AddMenuItems(lw, run, 0, -1, bar);
    lw.form->setMenuBar(bar);
}

void DestroyWindow(uint32_t windowId) {
    LiveWindow* lw = Live(windowId);
    if (!lw || lw->destroying) return;
    lw->destroying = true;
    if (lw->form) lw->form->setDestroying();
    // Event 2 sees the window's data components shut down: edits written, files closed.
    for (auto& [id, c] : lw->controls) c->commitPendingEdits();
    for (auto& [id, c] : lw->controls) c->releaseData();
    if (Control* self = FindWindowControl(windowId)) self->raise(WindowEvent::kDestroyed);
    std::unique_ptr<LiveWindow> owned = std::move(St().live[windowId]);
    St().live.erase(windowId);
    // Deferred deletion: the handler that closed the window may still be running
    // inside one of its controls.
    for (auto& [id, c] : owned->controls) c->deleteLater();
    if (owned->form) {
        owned->form->hide();
        owned->form->deleteLater();
    }
    if (owned->modalLoop) owned->modalLoop->quit();
    NotifyWindowGone();
}

// The GUI font with CJK glyphs for every window, and the faces the templates
// name mapped onto it; done once the application object exists.
void EnsureGuiDefaults() {
    static bool done = false;
    if (done || !qApp) return;
    done = true;
    const QString cjk = DefaultGuiFont().family();
    QFont::insertSubstitution(GbkToQString(fm_text::DefaultFontFace), cjk);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), cjk);
    QApplication::setFont(DefaultGuiFont());
}

bool HookReadTemplates(const uint8_t* segment, size_t size) {
    return LoadTemplateSegment(segment, size);
}
bool HookLoadStart(uint32_t windowId) {
    return FindTemplate(windowId) && LoadWindow(windowId, 0, false, true);
}
bool HookAnyWindowAlive() {
    return !St().live.empty();
}
void HookCloseAll() {
    std::vector<uint32_t> ids;
    for (auto& [id, lw] : St().live) ids.push_back(id);
    for (uint32_t id : ids) DestroyWindow(id);
}
void HookDestroyTemplates() {
    HookCloseAll();
    St().templates.clear();
}

}  // namespace

void InstallWindowSystem(const char* const* handlerNames, size_t handlerCount) {
    RegisterBuiltinKinds();
    SetHandlerNames(handlerNames, handlerCount);
    WindowSystemHooks hooks;
    hooks.readTemplates = &HookReadTemplates;
    hooks.bindHandlers = &BindHandlers;
    hooks.loadStartWindow = &HookLoadStart;
    hooks.anyWindowAlive = &HookAnyWindowAlive;
    hooks.closeAllWindows = &HookCloseAll;
    hooks.destroyTemplates = &HookDestroyTemplates;
    tavrin::InstallWindowSystem(hooks);
    SetPropertySlots(&ReadPropertySlot, &WritePropertySlot);
    SetObjectPropertySlots(&ReadObjectPropertySlot, &WriteObjectPropertySlot);
    // The lookups other libraries reach through the runtime's service entry.
    RuntimeService& service = Service();
    service.windowObject = [](uint32_t windowId) -> void* { return FindWindowControl(windowId); };
    service.controlObject = [](uint32_t windowId, uint32_t controlId) -> void* {
        return FindControl(windowId, controlId);
    };
    service.typeDescriptor = [](uint32_t typeId) -> const void* { return FindTypeInfo(typeId); };
    RegisterLibraryNotify(kCoreLibrary, &CoreLibraryNotify);
    EnsureGuiDefaults();
}

bool LoadTemplateSegment(const uint8_t* segment, size_t size) {
    HookCloseAll();
    std::vector<WindowTemplate> table;
    if (!ReadTemplateSegment(segment, size, table)) return false;
    St().templates = std::move(table);
    return true;
}

WindowTemplate* FindTemplate(uint32_t windowId) {
    for (WindowTemplate& t : St().templates)
        if (t.windowId == windowId) return &t;
    return nullptr;
}

bool LoadWindow(uint32_t windowId, uint32_t parentWindowId, bool modal, bool startWindow) {
    WindowTemplate* t = FindTemplate(windowId);
    if (!t) return false;
    if (LiveWindow* existing = Live(windowId)) {
        if (!existing->closing) {
            if (existing->form->isMinimized())
                existing->form->showNormal();
            else
                existing->form->activateWindow();
            return true;
        }
        DestroyWindow(windowId);  // complete the pending close, then create anew
    }
    EnsureGuiDefaults();
    auto owned = std::make_unique<LiveWindow>();
    LiveWindow& lw = *owned;
    lw.windowId = windowId;
    lw.tmpl = t;
    // The parent is the platform owner (kept above it), not a Qt parent: disabling
    // the owner for a modal window must not disable the window itself, and the
    // window layer decides when each window is destroyed.
    QWidget* parent = parentWindowId ? WindowWidget(parentWindowId) : nullptr;
    lw.form = new FormWindow(windowId, nullptr);
    if (parent && parent->windowHandle()) {
        lw.form->winId();
        if (lw.form->windowHandle())
            lw.form->windowHandle()->setTransientParent(parent->windowHandle());
    }
    St().live[windowId] = std::move(owned);

    ItemTemplate& self = t->items[0];
    lw.controls[self.id] = new WindowControl(ControlInit{windowId, &self, nullptr}, lw.form);
    BuildMenuBar(lw);
    std::set<uint32_t> busy;
    for (ItemTemplate& item : t->items)
        if (!item.isMenu && &item != &self) CreateControl(lw, item, busy);
    for (auto& [id, c] : lw.controls) c->windowCreated();
    ApplyTabOrder(lw);

    lw.controls[self.id]->raise(WindowEvent::kCreated);
    if (!Live(windowId)) return true;  // the creation handler closed it again

    QPointer<FormWindow> form = lw.form;
    const int32_t state = self.typeData.integer(Tag::kStartState, 0);
    if (startWindow && state == 1)
        form->showMinimized();
    else if (startWindow && state == 2)
        form->showMaximized();
    else
        form->show();
    // The first control in tab order that can take the focus receives it (event -7).
    if (LiveWindow* shown = Live(windowId); shown && form && !form->focusWidget())
        if (QWidget* first = FirstInTabOrder(*shown)) first->setFocus(Qt::TabFocusReason);
    if (!modal || !Live(windowId)) return true;

    // A modal window disables the program's other windows until it closes.
    std::vector<std::pair<QPointer<FormWindow>, bool>> others;
    for (auto& [id, other] : St().live) {
        if (id == windowId || !other->form) continue;
        others.emplace_back(other->form, other->form->isEnabled());
        other->form->setEnabled(false);
    }
    QEventLoop loop;
    Live(windowId)->modalLoop = &loop;
    loop.exec();
    if (LiveWindow* still = Live(windowId)) still->modalLoop = nullptr;
    for (auto& [w, enabled] : others)
        if (w) w->setEnabled(enabled);
    return true;
}

void CloseWindow(uint32_t windowId, bool immediately) {
    LiveWindow* lw = Live(windowId);
    if (!lw) return;
    if (immediately) {
        DestroyWindow(windowId);
        return;
    }
    lw->closing = true;
    QCoreApplication::postEvent(lw->form, new CloseRequestEvent(HandlerDepth()));
}

// Called by FormWindow when its close was granted.
void CompleteClose(uint32_t windowId) {
    DestroyWindow(windowId);
}
// Called by FormWindow when event 1 kept the window open.
void CloseRefused(uint32_t windowId) {
    if (LiveWindow* lw = Live(windowId)) lw->closing = false;
}

bool IsWindowLoaded(uint32_t windowId) {
    return Live(windowId) != nullptr;
}

bool IsModalWindow(uint32_t windowId) {
    LiveWindow* lw = Live(windowId);
    return lw && lw->modalLoop;
}

bool IsItemLoaded(uint32_t windowId, uint32_t itemId) {
    LiveWindow* lw = Live(windowId);
    if (!lw) return false;
    if (itemId == 0 || itemId == windowId) return true;
    return lw->controls.count(itemId) != 0 || lw->menuActions.count(itemId) != 0;
}

QWidget* WindowWidget(uint32_t windowId) {
    LiveWindow* lw = Live(windowId);
    return lw ? lw->form.data() : nullptr;
}

QWidget* ClientArea(uint32_t windowId) {
    LiveWindow* lw = Live(windowId);
    return lw && lw->form ? lw->form->client() : nullptr;
}

Control* FindWindowControl(uint32_t windowId) {
    LiveWindow* lw = Live(windowId);
    if (!lw) return nullptr;
    auto it = lw->controls.find(lw->tmpl->items[0].id);
    return it == lw->controls.end() ? nullptr : it->second;
}

Control* FindControl(uint32_t windowId, uint32_t controlId) {
    LiveWindow* lw = Live(windowId);
    if (!lw) return nullptr;
    if (controlId == windowId || controlId == 0) controlId = lw->tmpl->items[0].id;
    auto it = lw->controls.find(controlId);
    return it == lw->controls.end() ? nullptr : it->second;
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
    if (St().lastPopup) St().lastPopup->deleteLater();
    auto* menu = new QMenu(lw->form);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The pop-up's entries must not replace the bar's entries in menuActions.
    LiveWindow shadow;
    shadow.windowId = windowId;
    shadow.tmpl = lw->tmpl;
    shadow.form = lw->form;
    AddMenuItems(shadow, run, at + 1, run[at]->menuLevel, menu);
    St().lastPopup = menu;
    menu->popup(screenPos ? *screenPos : QCursor::pos() + QPoint(3, 3));
}

QMenu* LastPopupMenu() {
    return St().lastPopup.data();
}

void RefreshMenuItem(uint32_t windowId, uint32_t menuItemId) {
    LiveWindow* lw = Live(windowId);
    if (!lw) return;
    auto it = lw->menuActions.find(menuItemId);
    ItemTemplate* m = lw->tmpl->find(menuItemId);
    if (it == lw->menuActions.end() || !it->second || !m) return;
    ApplyMenuFlags(it->second, *m);
}

void ApplyVisibility(Control* c) {
    if (!c || !c->widget()) return;
    const ItemTemplate& item = c->item();
    bool show = item.flags & kStateVisible;
    if (show && item.parentId != 0)
        if (auto* pages = dynamic_cast<PageControl*>(FindControl(c->windowId(), item.parentId)))
            show = pages->pageOf(item.id) == pages->current();
    c->widget()->setVisible(show);
}

}  // namespace tavrin::forms
