// The control base class and property data.
#include "forms/control.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "forms/template_format.h"

namespace tavrin::forms {

namespace {
// A control lives inside the window system that made it: one made by hand,
// without it, would raise events nobody dispatches.
ControlServices& ServicesOf(const ControlInit& init) {
    if (!init.services) {
        std::fprintf(stderr, "tavrin: control %u of window %u was made without the window system\n",
                     init.item ? init.item->id : 0u, init.windowId);
        std::abort();
    }
    return *init.services;
}
}  // namespace

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
    : windowId_(init.windowId),
      itemId_(init.item->id),
      window_(init.window),
      item_(init.item),
      services_(ServicesOf(init)) {
    services_.controlCreated(this);
}

Control::~Control() {
    services_.controlDestroyed(this);
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
    services_.attachCommonEvents(this, surface, inputChildren);
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
    services_.dispatchEvent(call);
    return defaultResult ? call.result : Value{};
}

}  // namespace tavrin::forms
