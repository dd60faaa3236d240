// A key filter on the window's own widget (a key a control took never reaches
// it) that clicks a button: the click goes through the window's event
// dispatch, which a routine called straight from here would bypass.
#include "window_keys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

#include "forms/controls.h"
#include "forms/window_system.h"

namespace tavrin::printing {

namespace {

class KeyFilter : public QObject {
  public:
    KeyFilter(QObject* parent, WindowKey key, uint32_t windowId, uint32_t buttonId)
        : QObject(parent), key_(key), windowId_(windowId), buttonId_(buttonId) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != parent() || event->type() != QEvent::KeyPress) return false;
        const auto* k = static_cast<QKeyEvent*>(event);
        if ((k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
        const bool match = key_ == WindowKey::kEscape
                               ? k->key() == Qt::Key_Escape
                               : k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (!match) return false;
        auto* button = forms::FindControlAs<forms::ButtonControl>(windowId_, buttonId_);
        if (button == nullptr || !button->button()->isEnabled()) return false;
        button->button()->click();
        return true;
    }

  private:
    WindowKey key_;
    uint32_t windowId_, buttonId_;
};

}  // namespace

void ClickOnWindowKey(uint32_t windowId, WindowKey key, uint32_t buttonId) {
    QWidget* window = forms::WindowWidget(windowId);
    if (window == nullptr) return;
    window->installEventFilter(new KeyFilter(window, key, windowId, buttonId));
}

}  // namespace tavrin::printing
