// Event dispatch: the (window, item, event number) → application routine
// relation bound from handler names, and the one routine that raises an event.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/event_numbers.h"
#include "runtime/process.h"

class QWidget;

namespace tavrin::forms {

class Control;

// The handler names the template compiler emitted (offset = index).
void SetHandlerNames(const char* const* names, size_t count);
// Binds every offset to the application routine of the same name; an unknown
// name binds to "no handler" with a warning on stderr.
void BindHandlers(const HandlerEntry* handlers, size_t count);
// The routine bound to an offset, or null for -1, unknown and unbound offsets.
EventHandler HandlerAt(int32_t offset);
// The handler names the last binding found no routine for, in offset order.
std::vector<std::string> UnboundHandlerNames();
// From now on a binding that leaves a handler name without its routine stops
// the program with a message naming it (the program's debug build asks for
// this at start): such an event would otherwise silently do nothing.
void RequireEveryHandlerBound(bool required);

// Dispatches one raised event exactly as the runtime does: nothing while the
// error/exit nesting counter is set; fatal errors for a missing window or item
// and for an item that cannot raise events; origin ids followed; the event
// source recorded for the duration of the call. True when a routine was called.
bool DispatchEvent(EventCall& call);
// How many handlers are running (nested through message processing and modal loops).
int32_t HandlerDepth();

// Key state bits of the common events: 1 Ctrl, 2 Shift, 4 Alt.
int32_t KeyStateOf(Qt::KeyboardModifiers modifiers);
// The platform key code (13 bits) of a Qt key.
int32_t PlatformKeyCode(int qtKey);

// Translates a widget's mouse, key, focus and wheel events into the common
// events -1 .. -12 of the control (installed by Control::setWidget).
class CommonEventFilter : public QObject {
  public:
    CommonEventFilter(Control* control, QWidget* surface);
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<Control> control_;  // released with its window before the widgets go
    QWidget* surface_;           // coordinates are reported relative to this widget
};

}  // namespace tavrin::forms
