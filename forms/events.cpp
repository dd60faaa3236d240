// Handler binding, the event dispatch and the common mouse/key/focus events.
#include "forms/events.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "internal/type_catalogue.h"
#include "runtime/errors.h"
#include "runtime/gbk.h"

namespace tavrin::forms {

namespace {
std::vector<std::string>& Names() {
    static auto* n = new std::vector<std::string>;
    return *n;
}
std::vector<EventHandler>& Bound() {
    static auto* b = new std::vector<EventHandler>;
    return *b;
}
int32_t g_handlerDepth = 0;
bool g_requireEveryHandler = false;
}  // namespace

int32_t HandlerDepth() {
    return g_handlerDepth;
}

void SetHandlerNames(const char* const* names, size_t count) {
    Names().clear();
    for (size_t i = 0; i < count; ++i) Names().emplace_back(names && names[i] ? names[i] : "");
    Bound().assign(count, nullptr);
}

void BindHandlers(const HandlerEntry* handlers, size_t count) {
    Bound().assign(Names().size(), nullptr);
    for (size_t offset = 0; offset < Names().size(); ++offset) {
        const std::string& name = Names()[offset];
        for (size_t i = 0; i < count; ++i) {
            if (handlers[i].name && name == handlers[i].name) {
                Bound()[offset] = handlers[i].handler;
                break;
            }
        }
        if (!Bound()[offset])
            std::fprintf(stderr, "tavrin: no routine named %s for the window templates\n",
                         name.c_str());
    }
    if (g_requireEveryHandler && !UnboundHandlerNames().empty()) {
        for (const std::string& name : UnboundHandlerNames())
            std::fprintf(stderr, "tavrin: the window templates name %s, which no layer supplies\n",
                         name.c_str());
        std::fprintf(stderr,
                     "tavrin: stopping: every handler a template names needs its routine\n");
        std::abort();
    }
}

std::vector<std::string> UnboundHandlerNames() {
    std::vector<std::string> names;
    for (size_t offset = 0; offset < Names().size(); ++offset)
        if (!Bound()[offset]) names.push_back(Names()[offset]);
    return names;
}

void RequireEveryHandlerBound(bool required) {
    g_requireEveryHandler = required;
}

EventHandler HandlerAt(int32_t offset) {
    if (offset < 0 || size_t(offset) >= Bound().size()) return nullptr;
    return Bound()[size_t(offset)];
}

bool DispatchEvent(EventCall& call) {
    if (ErrorExitNesting() != 0) return false;
    WindowTemplate* t = FindTemplate(call.windowId);
    if (!t) ReportMissingObject(MissingObject::kEventWindow);
    const ItemTemplate* item = nullptr;
    if (call.itemId == 0 || call.itemId == call.windowId || call.itemId == t->items[0].id)
        item = &t->items[0];
    else
        item = t->find(call.itemId);
    if (!item) ReportMissingObject(MissingObject::kEventItem);
    const uint32_t sourceItem = item->id;
    // A copied item takes its bindings from the item it was copied from.
    for (size_t guard = 0; item->originId != 0 && guard < t->items.size(); ++guard) {
        const ItemTemplate* origin = t->find(item->originId);
        if (!origin || origin->typeId != item->typeId) break;
        item = origin;
    }
    int32_t offset = kNoHandler;
    if (item->isMenu) {
        offset = item->menuHandler;
    } else {
        if (!IsWindowUnit(item->typeId)) ReportMissingObject(MissingObject::kInvalidEventItem);
        std::optional<int32_t> bound = item->handlerFor(call.eventNumber);
        if (!bound) return false;
        offset = *bound;
    }
    EventHandler handler = HandlerAt(offset);
    if (!handler) return false;
    const EventSource previous = CurrentEventSource();
    SetCurrentEventSource(EventSource{call.windowId, sourceItem});
    ++g_handlerDepth;
    handler(call);
    --g_handlerDepth;
    SetCurrentEventSource(previous);
    return true;
}

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
struct SeenEvent {
    const QEvent* event = nullptr;
    QEvent::Type type = QEvent::None;
    QObject* watched = nullptr;
};
SeenEvent g_seen;
bool g_replayingChar = false;

bool AlreadyRaised(QObject* watched, QEvent* e) {
    if (g_seen.event == e && g_seen.type == e->type() && g_seen.watched != watched &&
        watched->isWidgetType() && g_seen.watched && g_seen.watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isAncestorOf(static_cast<QWidget*>(g_seen.watched)))
        return true;
    g_seen = SeenEvent{e, e->type(), watched};
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

CommonEventFilter::CommonEventFilter(Control* control, QWidget* surface)
    : QObject(surface), control_(control), surface_(surface) {}

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
            if (AlreadyRaised(watched, e)) return false;
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
            if (AlreadyRaised(watched, e)) return false;
            auto* we = static_cast<QWheelEvent*>(e);
            return ask(CommonEvent::kWheel,
                       {we->angleDelta().y() / 120, KeyStateOf(we->modifiers())});
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            if (g_replayingChar || AlreadyRaised(watched, e)) return false;
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
            g_replayingChar = true;
            QApplication::sendEvent(w, &replaced);
            g_replayingChar = false;
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
