// The common events -1 .. -12 every control raises from its widget's mouse,
// key, focus and wheel events, with the key codes and key states they carry.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <cstdint>

class QWidget;

namespace tavrin::forms {

class Control;

// Key state bits of the common events: 1 Ctrl, 2 Shift, 4 Alt.
int32_t KeyStateOf(Qt::KeyboardModifiers modifiers);
// The platform key code (13 bits) of a Qt key.
int32_t PlatformKeyCode(int qtKey);

// What every control's filter shares: the same event object is handed up the
// parent chain when a child ignores it, and is raised once, for the innermost
// watched widget; a replaced character is sent again without being raised.
struct CommonEventState {
    struct Seen {
        const QEvent* event = nullptr;
        QEvent::Type type = QEvent::None;
        QObject* watched = nullptr;
    };
    Seen seen;
    bool replayingChar = false;
};

// Translates a widget's mouse, key, focus and wheel events into the common
// events of the control (the window system installs one for each surface).
class CommonEventFilter : public QObject {
  public:
    CommonEventFilter(Control* control, QWidget* surface, CommonEventState& shared);
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<Control> control_;  // released with its window before the widgets go
    QWidget* surface_;           // coordinates are reported relative to this widget
    CommonEventState& shared_;   // the window system's, alive for the whole program
};

}  // namespace tavrin::forms
