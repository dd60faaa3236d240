// Creating windows from their templates and closing them: controls in
// template order, tab order, the close and destroy sequence, modal windows.
#include "forms/window_system.h"

#include <QApplication>
#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <set>
#include <vector>

#include "forms/control.h"
#include "forms/control_lookup.h"
#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/page_control.h"
#include "forms/template_format.h"
#include "internal/window_system_object.h"
#include "runtime/process.h"

namespace tavrin::forms {

namespace {

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
    if (auto it = lw.controls.find(item.id); it != lw.controls.end()) return it->second.get();
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
    ControlInit init{lw.windowId, &item, container, lw.tmpl, &TheWindowSystem()};
    std::unique_ptr<Control> control;
    if (const ControlKind* kind = FindControlKind(item.typeId); kind && kind->create)
        control = kind->create(init);
    if (!control) control = std::make_unique<PlaceholderControl>(init);
    Control* c = control.get();
    lw.controls[item.id] = OwnedControl(control.release());
    c->attach();
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

}  // namespace

bool LoadWindow(uint32_t windowId, uint32_t parentWindowId, bool modal, bool startWindow) {
    std::shared_ptr<WindowTemplate> t = SharedTemplate(windowId);
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
    lw.startWindow = startWindow;
    // The parent is the platform owner (kept above it), not a Qt parent: disabling
    // the owner for a modal window must not disable the window itself, and the
    // window layer decides when each window is destroyed.
    QWidget* parent = parentWindowId ? WindowWidget(parentWindowId) : nullptr;
    lw.form = new FormWindow(windowId, TheWindowSystem(), nullptr);
    if (parent && parent->windowHandle()) {
        lw.form->winId();
        if (lw.form->windowHandle())
            lw.form->windowHandle()->setTransientParent(parent->windowHandle());
    }
    TheWindowSystem().windows.live[windowId] = std::move(owned);

    ItemTemplate& self = t->items[0];
    lw.controls[self.id] = OwnedControl(
        new WindowControl(ControlInit{windowId, &self, nullptr, t, &TheWindowSystem()}, lw.form));
    lw.controls[self.id]->attach();
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
    for (auto& [id, other] : TheWindowSystem().windows.live) {
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
