// The common mouse, key, focus and wheel events every control raises, and the
// key codes and key states they carry.
#include "forms/common_events.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <string>

#include "forms/control.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

int32_t KeyStateOf(Qt::KeyboardModifiers m) {
    return (m & Qt::ControlModifier ? 1 : 0) | (m & Qt::ShiftModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

int32_t PlatformKeyCode(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Comma:
            return 0xBC;
        case Qt::Key_Minus:
            return 0xBD;
        case Qt::Key_Period:
            return 0xBE;
        case Qt::Key_Slash:
            return 0xBF;
        case Qt::Key_Semicolon:
            return 0xBA;
        case Qt::Key_Equal:
            return 0xBB;
        default:
            return key & 0x1FFF;
    }
}

namespace {

// The same event object is handed up the parent chain when a child ignores
// it; it is raised once, for the innermost watched widget.
bool AlreadyRaised(CommonEventState::Seen& seen, QObject* watched, QEvent* e) {
    if (seen.event == e && seen.type == e->type() && seen.watched != watched &&
        watched->isWidgetType() && seen.watched && seen.watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isAncestorOf(static_cast<QWidget*>(seen.watched)))
        return true;
    seen = CommonEventState::Seen{e, e->type(), watched};
    return false;
}

// A character as the program sees it: its GBK code (double-byte characters as lead << 8 | trail).
int32_t CharCode(const QString& text) {
    std::string gbk = QStringToGbk(text.left(1));
    if (gbk.size() == 1) return uint8_t(gbk[0]);
    if (gbk.size() >= 2) return int32_t(uint8_t(gbk[0])) << 8 | uint8_t(gbk[1]);
    return 0;
}

QString CharText(int32_t code) {
    if (code <= 0) return {};
    if (code < 0x80) return QString(QChar(code));
    std::string gbk;
    if (code > 0xFF) gbk += char((code >> 8) & 0xFF);
    gbk += char(code & 0xFF);
    return GbkToQString(gbk);
}

}  // namespace

CommonEventFilter::CommonEventFilter(Control* control, QWidget* surface, CommonEventState& shared)
    : QObject(surface), control_(control), surface_(surface), shared_(shared) {}

bool CommonEventFilter::eventFilter(QObject* watched, QEvent* e) {
    if (!watched->isWidgetType() || !control_) return false;
    auto* w = static_cast<QWidget*>(watched);
    Control* c = control_;
    const uint32_t windowId = c->windowId();
    const uint32_t itemId = c->itemId();
    // Mouse and key handlers return false to stop the control's own handling.
    auto ask = [&](int32_t number, std::initializer_list<int32_t> args) {
        if (!c->hasHandler(number)) return false;
        Value r = c->raise(number, args, MakeBool(true));
        (void)windowId;
        (void)itemId;
        return !r.asBool();
    };
    auto point = [&](const QPointF& p) {
        QPoint local = p.toPoint();
        if (w != surface_ && surface_->isAncestorOf(w)) local = w->mapTo(surface_, local);
        return local;
    };
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            if (AlreadyRaised(shared_.seen, watched, e)) return false;
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint p = point(me->position());
            const int32_t keys = KeyStateOf(me->modifiers());
            int32_t number = 0;
            if (e->type() == QEvent::MouseMove) {
                number = CommonEvent::kMouseMove;
            } else if (me->button() == Qt::LeftButton) {
                number = e->type() == QEvent::MouseButtonPress     ? CommonEvent::kLeftDown
                         : e->type() == QEvent::MouseButtonRelease ? CommonEvent::kLeftUp
                                                                   : CommonEvent::kLeftDoubleClick;
            } else if (me->button() == Qt::RightButton) {
                if (e->type() == QEvent::MouseButtonDblClick) return false;
                number = e->type() == QEvent::MouseButtonPress ? CommonEvent::kRightDown
                                                               : CommonEvent::kRightUp;
            } else {
                return false;
            }
            return ask(number, {p.x(), p.y(), keys});
        }
        case QEvent::Wheel: {
            if (AlreadyRaised(shared_.seen, watched, e)) return false;
            auto* we = static_cast<QWheelEvent*>(e);
            return ask(CommonEvent::kWheel,
                       {we->angleDelta().y() / 120, KeyStateOf(we->modifiers())});
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            if (shared_.replayingChar || AlreadyRaised(shared_.seen, watched, e)) return false;
            auto* ke = static_cast<QKeyEvent*>(e);
            const int32_t code = PlatformKeyCode(ke->key());
            const int32_t keys = KeyStateOf(ke->modifiers());
            if (e->type() == QEvent::KeyRelease) return ask(CommonEvent::kKeyUp, {code, keys});
            if (ask(CommonEvent::kKeyDown, {code, keys})) return true;
            if (ke->text().isEmpty() || !c->hasHandler(CommonEvent::kCharacter)) return false;
            const int32_t ch = CharCode(ke->text());
            Value r = c->raise(CommonEvent::kCharacter, {ch}, MakeInt(ch));
            if (r.asInt() == ch) return false;
            if (r.asInt() == 0) return true;  // swallowed
            QKeyEvent replaced(QEvent::KeyPress, ke->key(), ke->modifiers(), CharText(r.asInt()),
                               ke->isAutoRepeat(), ushort(ke->count()));
            shared_.replayingChar = true;
            QApplication::sendEvent(w, &replaced);
            shared_.replayingChar = false;
            return true;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            const bool in = e->type() == QEvent::FocusIn;
            // Focus moving between the parts of one control is not a change.
            const bool inside = surface_->isAncestorOf(QApplication::focusWidget()) ||
                                QApplication::focusWidget() == surface_;
            if (!in && inside) return false;
            const bool had = property("tavrinFocus").toBool();
            if (had == in) return false;
            setProperty("tavrinFocus", in);
            if (const int32_t focus = in ? CommonEvent::kFocusIn : CommonEvent::kFocusOut;
                c->hasHandler(focus))
                c->raise(focus);
            return false;
        }
        default:
            return false;
    }
}

}  // namespace tavrin::forms
