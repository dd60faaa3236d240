// The top-level window widget and the window's own record as a control.
#include "forms/form_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

#include "forms/bgr_color.h"
#include "forms/properties.h"
#include "forms/property_table.h"
#include "forms/template_format.h"
#include "forms/window_frame.h"
#include "internal/widget_style.h"
#include "runtime/gbk.h"
#include "runtime/process.h"

namespace tavrin::forms {

FormWindow::FormWindow(uint32_t windowId, FormWindowHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), windowId_(windowId), host_(host), client_(new QWidget(this)) {
    client_->setObjectName(QStringLiteral("client"));
    setFont(DefaultGuiFont());
}

void FormWindow::setMenuBar(QMenuBar* bar) {
    menuBar_ = bar;
    layoutClient();
}

void FormWindow::layoutClient() {
    int top = 0;
    if (menuBar_) {
        top = menuBar_->sizeHint().height();
        menuBar_->setGeometry(0, 0, width(), top);
    }
    client_->setGeometry(0, top, width(), std::max(0, height() - top));
}

void FormWindow::raiseWindowEvent(int32_t number, std::initializer_list<int32_t> args) {
    if (destroying_) return;
    if (Control* self = host_.windowControl(windowId_)) self->raise(number, args);
}

void FormWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutClient();
    raiseWindowEvent(WindowEvent::kResized);
}

void FormWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    raiseWindowEvent(WindowEvent::kMoved);
}

void FormWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    raiseWindowEvent(WindowEvent::kShown);
}

void FormWindow::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    raiseWindowEvent(WindowEvent::kHidden);
}

void FormWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange || destroying_) return;
    if (isActiveWindow()) {
        if (!activatedOnce_) {
            activatedOnce_ = true;
            raiseWindowEvent(WindowEvent::kFirstActivated);
        }
        raiseWindowEvent(WindowEvent::kActivated);
    } else {
        raiseWindowEvent(WindowEvent::kDeactivated);
    }
}

void FormWindow::closeEvent(QCloseEvent* e) {
    if (destroying_) {
        e->accept();
        return;
    }
    // The close box of a window under a modal one: the modal window comes to
    // the front and this one stays, with everything its handlers rely on.
    if (!programClose_)
        if (FormWindow* modal = host_.modalWindowHolding(windowId_)) {
            e->ignore();
            modal->raise();
            modal->activateWindow();
            return;
        }
    Control* self = host_.windowControl(windowId_);
    const bool mayClose = !self || self->raise(WindowEvent::kMayClose, {}, MakeBool(true)).asBool();
    if (!mayClose) {
        e->ignore();
        host_.closeRefused(windowId_);
        return;
    }
    e->ignore();  // the window layer destroys the widget itself
    host_.closeGranted(windowId_);
}

void FormWindow::customEvent(QEvent* e) {
    if (e->type() == QEvent::Type(kWindowNotificationMessage)) {
        raiseWindowEvent(WindowEvent::kNotified, {static_cast<WindowNotificationEvent*>(e)->value});
        return;
    }
    if (e->type() != QEvent::Type(kCloseRequestMessage)) return;
    const int32_t depth = static_cast<CloseRequestEvent*>(e)->postedAtDepth;
    if (depth > 0 && host_.handlerDepth() >= depth) {
        QCoreApplication::postEvent(this, new CloseRequestEvent(depth));
        return;
    }
    closeByProgram();
}

void FormWindow::closeByProgram() {
    programClose_ = true;
    close();
    programClose_ = false;
}

// Escape closes a modal window as it cancels a dialog: the same way as its
// close box, so a handler of event 1 may still keep the window open. The key
// reaches the window only when the control holding the focus left it alone.
void FormWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier &&
        host_.isModal(windowId_)) {
        close();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

WindowControl::WindowControl(const ControlInit& init, FormWindow* window)
    : TabledControl(init), form_(window) {
    const ItemTemplate& item = init.item[0];
    adoptWidget(window);
    attachEvents(window->client());
    window->setWindowTitle(GbkToQString(item.typeData.text(Tag::kCaption)));
    window->move(item.left, item.top);
    window->resize(std::max(0, item.width - kFrameWidth), std::max(0, item.height - kFrameHeight));
    window->setEnabled(!(item.flags & kStateDisabled));
    if (item.typeData.has(Tag::kBackColor)) {
        QPalette p = window->palette();
        p.setColor(QPalette::Window,
                   ColorFromBgr(uint32_t(item.typeData.integer(Tag::kBackColor))));
        window->setPalette(p);
        window->setAutoFillBackground(true);
    }
    if (const std::string* font = item.typeData.raw(Tag::kFont))
        window->setFont(FontFromRecord(*font));
}

const PropertyTable<WindowControl>& WindowControl::properties() {
    using W = WindowControl;
    using namespace DataKind;
    static const PropertyTable<W> table{
        {WindowProp::kCaption, kText,
         [](W& c) { return TextData(QStringToGbk(c.form_->windowTitle())); },
         [](W& c, const PropertyData& in) { c.form_->setWindowTitle(GbkToQString(in.bytes)); }},
        {WindowProp::kBackColor, kColor,
         [](W& c) { return ColorData(c.form_->palette().color(QPalette::Window)); },
         [](W& c, const PropertyData& in) {
             SetPaletteColor(c.form_, QPalette::Window, uint32_t(in.number));
         }},
        {WindowProp::kFont, kFont, [](W& c) { return FontData(c.form_->font()); },
         [](W& c, const PropertyData& in) { c.form_->setFont(FontFromRecord(in.bytes)); }},
    };
    return table;
}

}  // namespace tavrin::forms
