// The top-level widget of a created window: an optional menu bar over the
// client area that holds the controls at the template's pixel positions.
// It turns the window's own platform events into window events 1–11.
#pragma once

#include <QEvent>
#include <QMenuBar>
#include <QWidget>
#include <cstdint>

#include "forms/control.h"
#include "forms/property_table.h"

namespace tavrin::forms {

// The private message that asks a window to close after the current handler.
constexpr int kCloseRequestMessage = 32869;

// The close request remembers how deep in handlers it was posted: messages
// processed inside that handler (a property write, ProcessEvents) leave it
// waiting until the handler has returned.
class CloseRequestEvent : public QEvent {
  public:
    explicit CloseRequestEvent(int32_t depth)
        : QEvent(QEvent::Type(kCloseRequestMessage)), postedAtDepth(depth) {}
    int32_t postedAtDepth;
};

// The private message that carries a window notification (event 7) and its int.
constexpr int kWindowNotificationMessage = 32871;

class WindowNotificationEvent : public QEvent {
  public:
    explicit WindowNotificationEvent(int32_t notified)
        : QEvent(QEvent::Type(kWindowNotificationMessage)), value(notified) {}
    int32_t value;
};

class FormWindow;

// What a window widget asks of the window system that made it: its window's
// own control, whether a modal window holds it, the depth of running handlers,
// and the answer to a close the window's event 1 granted or refused.
class FormWindowHost {
  public:
    virtual Control* windowControl(uint32_t windowId) = 0;
    virtual bool isModal(uint32_t windowId) = 0;
    virtual FormWindow* modalWindowHolding(uint32_t windowId) = 0;
    virtual int32_t handlerDepth() = 0;
    virtual void closeGranted(uint32_t windowId) = 0;
    virtual void closeRefused(uint32_t windowId) = 0;

  protected:
    ~FormWindowHost() = default;
};

class FormWindow : public QWidget {
    Q_OBJECT
  public:
    FormWindow(uint32_t windowId, FormWindowHost& host, QWidget* parent);

    uint32_t windowId() const { return windowId_; }
    QWidget* client() const { return client_; }
    QMenuBar* menuBar() const { return menuBar_; }
    void setMenuBar(QMenuBar* bar);
    // Set while the window is being destroyed: a close is then no longer asked.
    void setDestroying() { destroying_ = true; }
    // A close the program asked for (CloseWindow) rather than the person.
    void closeByProgram();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void customEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void layoutClient();
    void raiseWindowEvent(int32_t number, std::initializer_list<int32_t> args = {});

    uint32_t windowId_;
    FormWindowHost& host_;
    QWidget* client_;
    QMenuBar* menuBar_ = nullptr;
    bool destroying_ = false;
    bool activatedOnce_ = false;
    bool programClose_ = false;
};

// The window's own record as a control: caption, background, font.
class WindowControl : public TabledControl<WindowControl> {
    Q_OBJECT
  public:
    WindowControl(const ControlInit& init, FormWindow* window);
    FormWindow* form() const { return form_; }
    QWidget* childContainer() override { return form_->client(); }
    static const PropertyTable<WindowControl>& properties();

  private:
    FormWindow* form_;
};

// The modal window that keeps this one disabled (its nested loop runs), or
// null: a person cannot close a window a modal window holds, as on every desktop.
FormWindow* ModalWindowHolding(uint32_t windowId);

}  // namespace tavrin::forms
