// The control base class, the kind registry, the live controls and property data.
#include "forms/control.h"

#include <cstring>
#include <map>
#include <unordered_set>

#include "forms/events.h"
#include "forms/template_format.h"

namespace tavrin::forms {

namespace {
std::map<uint32_t, ControlKind>& Registry() {
    static auto* r = new std::map<uint32_t, ControlKind>;
    return *r;
}
// Every control that exists, so that a control object handed in from outside
// is checked before it is used.
std::unordered_set<const void*>& LiveControls() {
    static auto* live = new std::unordered_set<const void*>;
    return *live;
}
}  // namespace

bool IsLiveControl(const void* object) {
    return object != nullptr && LiveControls().count(object) != 0;
}

ValueClass ClassOfDataKind(uint16_t k) {
    switch (k) {
        case DataKind::kInt:
        case DataKind::kSelection:
        case DataKind::kColor:
        case DataKind::kPick:
        case DataKind::kPickIndex:
        case DataKind::kPickMask:
            return ValueClass::Int32;
        case DataKind::kDouble:
        case DataKind::kDateTime:
            return ValueClass::Int64;
        case DataKind::kBool:
            return ValueClass::Bool;
        case DataKind::kPicture:
        case DataKind::kIcon:
        case DataKind::kCursor:
        case DataKind::kSound:
        case DataKind::kImageList:
        case DataKind::kCustomData:
            return ValueClass::Bytes;
        case DataKind::kFont:
            return ValueClass::Font;
        default:
            return ValueClass::Text;
    }
}

PropertyData PropertyData::Double(double v) {
    int64_t bits;
    std::memcpy(&bits, &v, 8);
    return {bits, {}};
}

double PropertyData::asDouble() const {
    double v;
    std::memcpy(&v, &number, 8);
    return v;
}

Control::Control(const ControlInit& init)
    : windowId_(init.windowId), itemId_(init.item->id), window_(init.window), item_(init.item) {
    LiveControls().insert(static_cast<const void*>(this));
}

Control::~Control() {
    LiveControls().erase(static_cast<const void*>(this));
    if (widget_) widget_->deleteLater();
}

void Control::setWidget(QWidget* w, std::initializer_list<QWidget*> inputChildren) {
    widget_ = w;
    if (!w) return;
    if (item_->typeId != TypeId::kWindow) {
        w->setGeometry(item_->left, item_->top, std::max(0, item_->width),
                       std::max(0, item_->height));
        w->setEnabled(!(item_->flags & kStateDisabled));
    }
    attachEvents(w, inputChildren);
}

void Control::attachEvents(QWidget* surface, std::initializer_list<QWidget*> inputChildren) {
    auto* filter = new CommonEventFilter(this, surface);
    surface->installEventFilter(filter);
    for (QWidget* c : inputChildren)
        if (c) c->installEventFilter(filter);
}

bool Control::hasHandler(int32_t eventNumber) const {
    // Bindings may come from the item an origin id points to; the dispatch decides.
    if (item_->originId != 0) return true;
    return item_->handlerFor(eventNumber).has_value();
}

Value Control::raise(int32_t eventNumber, std::initializer_list<int32_t> args,
                     std::optional<Value> defaultResult) {
    // A control not yet in its window's table, or released with its window (and
    // waiting for deletion), raises nothing.
    if (!isAttached()) return defaultResult ? *defaultResult : Value{};
    EventCall call;
    call.windowId = windowId_;
    call.itemId = itemId_;
    call.eventNumber = eventNumber;
    for (int32_t a : args) {
        if (call.argCount == 12) break;
        call.args[call.argCount++] = EventArgument{uint32_t(a), 0, TypeCode::kInt, 0};
    }
    if (defaultResult) {
        call.wantsResult = true;
        call.result = *defaultResult;
    }
    // The control may be released by the handler: keep nothing of `this` after it.
    DispatchEvent(call);
    return defaultResult ? call.result : Value{};
}

void RegisterControlKind(uint32_t typeId, ControlKind kind) {
    Registry()[typeId] = std::move(kind);
}

const ControlKind* FindControlKind(uint32_t typeId) {
    auto it = Registry().find(typeId);
    return it == Registry().end() ? nullptr : &it->second;
}

}  // namespace tavrin::forms
