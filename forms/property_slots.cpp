// Property access by ids: menu item fields, the common indices 0–7 (live
// values while the window exists, template values otherwise, written back to
// the template so they persist), and the kinds' own properties with the
// conversions of their data kinds.
#include "internal/property_slots.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "fm_text_constants.h"
#include "forms/control.h"
#include "forms/form_window.h"
#include "forms/properties.h"
#include "forms/template_format.h"
#include "forms/window_system.h"
#include "internal/font_parts.h"
#include "internal/property_payload.h"
#include "internal/type_catalogue.h"
#include "runtime/errors.h"
#include "runtime/memory.h"

namespace tavrin::forms {

namespace {

constexpr int32_t kCoordinateLimit = 32627;

// The item addressed by a property access; the window's own record for its
// item id, the window id or 0.
ItemTemplate& ItemOf(WindowTemplate& t, uint32_t itemId) {
    if (itemId == 0 || itemId == t.windowId || itemId == t.items[0].id) return t.items[0];
    ItemTemplate* item = t.find(itemId);
    if (!item) ReportMissingObject(MissingObject::kWindowOrControl);
    return *item;
}

WindowTemplate& TemplateOrFatal(uint32_t windowId) {
    WindowTemplate* t = FindTemplate(windowId);
    if (!t) ReportMissingObject(MissingObject::kWindowOfControl);
    return *t;
}

Qt::CursorShape CursorShapeOf(const std::string& data) {
    uint32_t n = 0;
    if (data.size() >= 4) std::memcpy(&n, data.data(), 4);
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::PointingHandCursor};
    return n < std::size(shapes) ? shapes[n] : Qt::ArrowCursor;
}

void ApplyCursor(Control* c) {
    QWidget* w = c ? c->widget() : nullptr;
    if (!w) return;
    const std::string& data = c->item().cursorData;
    uint32_t n = 0;
    if (data.size() >= 4) std::memcpy(&n, data.data(), 4);
    if (n == 0)
        w->unsetCursor();
    else
        w->setCursor(CursorShapeOf(data));
}

// Live geometry of a control, or of the window in outer (template) units.
QRect LiveRect(Control* c) {
    QWidget* w = c->widget();
    if (auto* form = qobject_cast<FormWindow*>(w))
        return QRect(form->pos(),
                     QSize(form->width() + kFrameWidth, form->height() + kFrameHeight));
    return w->geometry();
}

void SetLiveRect(Control* c, const QRect& r) {
    QWidget* w = c->widget();
    if (auto* form = qobject_cast<FormWindow*>(w)) {
        form->move(r.topLeft());
        form->resize(std::max(0, r.width() - kFrameWidth), std::max(0, r.height() - kFrameHeight));
        return;
    }
    w->setGeometry(r);
}

// The pending window messages a property write processes so that its change
// shows at once: layout and repaint requests, nothing else. The write usually
// comes from a handler that still runs inside a widget's own event (a menu's
// mouse release, a button's click); delivering deferred deletions, queued calls
// or timers here could free that widget under it.
void ShowPendingChanges() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

uint64_t ReadMenuItem(const ItemTemplate& m, int32_t index) {
    switch (index) {
        case MenuProp::kCaption:
            return PointerPayload(CopyText(m.menuCaption));
        case MenuProp::kChecked:
            return (m.menuFlags & kMenuChecked) ? 1 : 0;
        case MenuProp::kDisabled:
            return (m.menuFlags & kMenuDisabled) ? 1 : 0;
        case MenuProp::kVisible:
            return (m.menuFlags & kMenuHidden) ? 0 : 1;
        default:
            return 0;
    }
}

void WriteMenuItem(uint32_t windowId, ItemTemplate& m, int32_t index, uint32_t lo, uint32_t hi) {
    const std::string oldCaption = m.menuCaption;
    const uint32_t oldFlags = m.menuFlags;
    auto setBit = [&](uint32_t bit, bool on) {
        m.menuFlags = on ? m.menuFlags | bit : m.menuFlags & ~bit;
    };
    switch (index) {
        case MenuProp::kCaption:
            m.menuCaption = TextAt(lo, hi);
            break;
        case MenuProp::kChecked:
            setBit(kMenuChecked, lo != 0);
            break;
        case MenuProp::kDisabled:
            setBit(kMenuDisabled, lo != 0);
            break;
        case MenuProp::kVisible:
            setBit(kMenuHidden, lo == 0);
            break;
        default:
            return;
    }
    if (m.menuCaption != oldCaption || m.menuFlags != oldFlags) RefreshMenuItem(windowId, m.id);
}

uint64_t ReadCommon(WindowTemplate& t, ItemTemplate& item, int32_t index) {
    Control* c = FindControl(t.windowId, item.id);
    QWidget* w = c ? c->widget() : nullptr;
    switch (index) {
        case Prop::kLeft:
        case Prop::kTop:
        case Prop::kWidth:
        case Prop::kHeight: {
            QRect r = w ? LiveRect(c) : QRect(item.left, item.top, item.width, item.height);
            const int32_t v = index == Prop::kLeft    ? r.x()
                              : index == Prop::kTop   ? r.y()
                              : index == Prop::kWidth ? (w ? r.width() : item.width)
                                                      : (w ? r.height() : item.height);
            return uint32_t(v);
        }
        case Prop::kMark:
            return PointerPayload(CopyText(item.mark));
        case Prop::kVisible:
            // The control's own shown state (hidden on a page that is not current).
            return w ? (w->isHidden() ? 0 : 1) : ((item.flags & kStateVisible) ? 1 : 0);
        case Prop::kDisabled:
            return w ? (w->testAttribute(Qt::WA_Disabled) ? 1 : 0)
                     : ((item.flags & kStateDisabled) ? 1 : 0);
        case Prop::kMousePointer:
            return PointerPayload(NewByteSet(item.cursorData.data(), item.cursorData.size()));
        default:
            return 0;
    }
}

void WriteCommon(WindowTemplate& t, ItemTemplate& item, int32_t index, uint32_t lo, uint32_t hi) {
    Control* c = FindControl(t.windowId, item.id);
    QWidget* w = c ? c->widget() : nullptr;
    const int32_t v = int32_t(lo);
    switch (index) {
        case Prop::kLeft:
        case Prop::kTop: {
            const int32_t clamped = std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
            (index == Prop::kLeft ? item.left : item.top) = clamped;
            if (w) {
                QRect r = LiveRect(c);
                r.moveTo(index == Prop::kLeft ? clamped : r.x(),
                         index == Prop::kTop ? clamped : r.y());
                SetLiveRect(c, r);
            }
            break;
        }
        case Prop::kWidth:
        case Prop::kHeight: {
            const int32_t clamped = std::clamp(v, 0, kCoordinateLimit);
            (index == Prop::kWidth ? item.width : item.height) = clamped;
            if (w) {
                QRect r = LiveRect(c);
                if (index == Prop::kWidth)
                    r.setWidth(clamped);
                else
                    r.setHeight(clamped);
                SetLiveRect(c, r);
            }
            break;
        }
        case Prop::kMark:
            item.mark = TextAt(lo, hi);
            break;
        case Prop::kVisible:
            item.flags = lo ? item.flags | kStateVisible : item.flags & ~kStateVisible;
            ApplyVisibility(c);
            break;
        case Prop::kDisabled:
            item.flags = lo ? item.flags | kStateDisabled : item.flags & ~kStateDisabled;
            if (w) w->setEnabled(!lo);
            break;
        case Prop::kMousePointer:
            item.cursorData = ByteSetAt(lo, hi);
            ApplyCursor(c);
            break;
        default:
            break;
    }
}

Control* LiveControlOrFatal(uint32_t windowId, const ItemTemplate& item) {
    Control* c = FindControl(windowId, item.id);
    if (!c) ReportMissingObject(MissingObject::kWindow);
    return c;
}

}  // namespace

uint64_t ReadPropertySlot(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex) {
    WindowTemplate& t = TemplateOrFatal(windowId);
    ItemTemplate& item = ItemOf(t, itemId);
    if (item.isMenu) return ReadMenuItem(item, index);
    if (index < Prop::kOwn) return ReadCommon(t, item, index);
    Control* c = LiveControlOrFatal(windowId, item);
    const int32_t number = index - Prop::kOwn;
    const PropertyInfo* info = FindPropertyInfo(item.typeId, number);
    PropertyData data;
    if (!info || !c->readProperty(number, data)) return 0;
    switch (ClassOfDataKind(info->dataKind)) {
        case ValueClass::Int32:
            return uint32_t(int32_t(data.number));
        case ValueClass::Int64:
            return uint64_t(data.number);
        case ValueClass::Bool:
            return data.number ? 1 : 0;
        case ValueClass::Bytes:
            return PointerPayload(NewByteSet(data.bytes.data(), data.bytes.size()));
        case ValueClass::Font: {
            std::string rec =
                data.bytes.size() == kFontRecordSize ? data.bytes : FontToRecord(DefaultGuiFont());
            return ReadFontPart(rec, arrayIndex);
        }
        case ValueClass::Text:
            return PointerPayload(CopyText(data.bytes));
    }
    return 0;
}

void WritePropertySlot(uint32_t windowId, uint32_t itemId, int32_t index, int32_t arrayIndex,
                       uint32_t lo, uint32_t hi) {
    WindowTemplate& t = TemplateOrFatal(windowId);
    ItemTemplate& item = ItemOf(t, itemId);
    if (item.isMenu) {
        WriteMenuItem(windowId, item, index, lo, hi);
        return;
    }
    if (index < Prop::kOwn) {
        WriteCommon(t, item, index, lo, hi);
        return;
    }
    Control* c = LiveControlOrFatal(windowId, item);
    const int32_t number = index - Prop::kOwn;
    const PropertyInfo* info = FindPropertyInfo(item.typeId, number);
    if (!info) return;
    PropertyData data;
    switch (ClassOfDataKind(info->dataKind)) {
        case ValueClass::Int32:
            data.number = int32_t(lo);
            break;
        case ValueClass::Int64:
            data.number = int64_t(uint64_t(lo) | uint64_t(hi) << 32);
            break;
        case ValueClass::Bool:
            data.number = lo != 0 ? 1 : 0;
            break;
        case ValueClass::Bytes:
            data.bytes = ByteSetAt(lo, hi);
            break;
        case ValueClass::Font: {
            PropertyData current;
            std::string rec =
                c->readProperty(number, current) && current.bytes.size() == kFontRecordSize
                    ? current.bytes
                    : FontToRecord(DefaultGuiFont());
            WriteFontPart(rec, arrayIndex, lo, hi);
            data.bytes = rec;
            break;
        }
        case ValueClass::Text:
            data.bytes = TextAt(lo, hi);
            break;
    }
    if (c->writeProperty(number, data)) ShowPendingChanges();
}

}  // namespace tavrin::forms
