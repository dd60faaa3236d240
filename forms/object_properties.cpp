// Property access by control object and type id: the object is checked to be a
// live control of that type and the access then takes the same path as access
// by window and item ids, so both share the rules, conversions and errors.
#include "internal/object_properties.h"

#include "forms/control.h"
#include "internal/property_slots.h"
#include "runtime/errors.h"

namespace tavrin::forms {

namespace {

Control& LiveControlOrFatal(uint32_t typeId, void* object) {
    if (!IsLiveControl(object)) ReportMissingObject(MissingObject::kWindowOrControl);
    auto* control = static_cast<Control*>(object);
    if (control->typeId() != typeId) ReportMissingObject(MissingObject::kWindowOrControl);
    return *control;
}

}  // namespace

uint64_t ReadObjectPropertySlot(uint32_t typeId, void* object, int32_t index, int32_t arrayIndex) {
    Control& c = LiveControlOrFatal(typeId, object);
    return ReadPropertySlot(c.windowId(), c.itemId(), index, arrayIndex);
}

void WriteObjectPropertySlot(uint32_t typeId, void* object, int32_t index, int32_t arrayIndex,
                             uint32_t lo, uint32_t hi) {
    Control& c = LiveControlOrFatal(typeId, object);
    WritePropertySlot(c.windowId(), c.itemId(), index, arrayIndex, lo, hi);
}

}  // namespace tavrin::forms
