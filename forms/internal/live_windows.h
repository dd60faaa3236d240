// The template table and the created windows with the controls they own:
// what the window layer's creation, closing, menus and lookups share.
#pragma once

#include <QAction>
#include <QEventLoop>
#include <QMenu>
#include <QPointer>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "forms/control.h"
#include "forms/form_window.h"
#include "forms/template_reader.h"

namespace tavrin::forms {

// A window lets go of its controls by releasing them (they raise nothing from
// then on) and deleting them once the event loop is back: the handler that
// closed the window may still be running inside one of them.
struct ReleaseControl {
    void operator()(Control* c) const {
        c->release();
        c->deleteLater();
    }
};
using OwnedControl = std::unique_ptr<Control, ReleaseControl>;

struct LiveWindow {
    uint32_t windowId = 0;
    std::shared_ptr<WindowTemplate> tmpl;
    QPointer<FormWindow> form;
    std::map<uint32_t, OwnedControl> controls;  // by item id; the window's own record included
    std::map<uint32_t, QPointer<QAction>> menuActions;  // by menu item id
    bool closing = false;
    bool destroying = false;
    bool startWindow = false;  // its end takes the program's other windows with it
    QEventLoop* modalLoop = nullptr;
};

struct WindowTable {
    // Shared with the controls made from them: a control waiting for its
    // deferred deletion keeps its template record while the table is replaced.
    std::vector<std::shared_ptr<WindowTemplate>> templates;
    std::map<uint32_t, std::unique_ptr<LiveWindow>> live;
    QPointer<QMenu> lastPopup;

    LiveWindow* find(uint32_t windowId) const;
    std::shared_ptr<WindowTemplate> sharedTemplate(uint32_t windowId) const;
    // The live control of a created window (its own record for control id 0
    // or the window id), or null.
    Control* control(uint32_t windowId, uint32_t controlId) const;
    // The modal window that keeps this one disabled, or null.
    FormWindow* modalWindowHolding(uint32_t windowId) const;
    // Event 2, the controls released and the window gone.
    void destroy(uint32_t windowId);
};

// The GUI font with CJK glyphs, once the application object exists (window_install.cpp).
void EnsureGuiDefaults();
// The window's menu bar from the menu items of its template (window_menus.cpp).
void BuildMenuBar(LiveWindow& lw);

}  // namespace tavrin::forms
