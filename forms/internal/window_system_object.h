// The program's one window system: it owns the template table and the created
// windows, the registered control kinds, the live controls, the handler table
// and the event state, and the type catalogue, and it serves the controls and
// window widgets it creates.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

#include "forms/common_events.h"
#include "forms/control.h"
#include "forms/form_window.h"
#include "internal/handler_table.h"
#include "internal/live_windows.h"
#include "internal/type_catalogue.h"

namespace tavrin::forms {

class WindowSystem final : public ControlServices, public FormWindowHost {
  public:
    WindowSystem() = default;
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    WindowTable windows;
    std::map<uint32_t, ControlKind> kinds;
    // Every control that exists, so that a control object handed in from
    // outside is checked before it is used.
    std::unordered_set<const void*> liveControls;
    HandlerTable handlers;
    int32_t runningHandlers = 0;  // nested through message processing and modal loops
    CommonEventState commonEvents;
    TypeCatalogue catalogue;
    std::vector<LibraryInfo> libraries;  // built on first use, with the core commands
    const RuntimeService* handedService = nullptr;
    bool guiDefaultsApplied = false;

    // What a control raised, dispatched to the handler its item is bound to.
    bool dispatchEvent(EventCall& call) override;

    void controlCreated(const Control* control) override;
    void controlDestroyed(const Control* control) override;
    void attachCommonEvents(Control* control, QWidget* surface,
                            std::initializer_list<QWidget*> inputChildren) override;

    Control* windowControl(uint32_t windowId) override;
    bool isModal(uint32_t windowId) override;
    FormWindow* modalWindowHolding(uint32_t windowId) override;
    int32_t handlerDepth() override { return runningHandlers; }
    void closeGranted(uint32_t windowId) override;
    void closeRefused(uint32_t windowId) override;
};

// The window system, made on first use and kept for the whole program: the
// controls' deferred deletions still reach it after the last window ends.
WindowSystem& TheWindowSystem();

// Lookups in its window table.
LiveWindow* Live(uint32_t windowId);
std::shared_ptr<WindowTemplate> SharedTemplate(uint32_t windowId);
// Event 2, the controls released and the window gone.
void DestroyWindow(uint32_t windowId);

}  // namespace tavrin::forms
