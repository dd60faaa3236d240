// The deferred field readings the scans recognise: evaluated through ReadField
// when called, or straight from a scan's record image.
#include "internal/field_readings.h"

#include <cmath>
#include <cstring>

#include "recordstore/record_commands.h"
#include "runtime/commands.h"

namespace tavrin {

namespace {

Value FiniteOrZero(Value v) {
    if (v.type == TypeCode::kFloat && !std::isfinite(v.asFloat())) return MakeFloat(0.0f);
    if (v.type == TypeCode::kDouble && !std::isfinite(v.asDouble())) return MakeDouble(0.0);
    return v;
}

}  // namespace

Value ReadOneField(void* context) {
    const auto* reading = static_cast<const FieldReading*>(context);
    const Value v = CallKernel(ReadField, MakeTextRef(reading->field));
    return reading->nonFiniteAsZero ? FiniteOrZero(v) : v;
}

Value FieldTextEquals(void* context) {
    const auto* match = static_cast<const FieldTextMatch*>(context);
    const Value v = CallKernel(ReadField, MakeTextRef(match->field));
    const bool same = v.type == TypeCode::kText && TextOf(v) == std::string_view(match->text);
    if (v.type == TypeCode::kText || v.type == TypeCode::kByteSet) Free(v.pointer());
    return MakeBool(same);
}

namespace rs {

namespace {

const DeferredArgument* DeferredOf(const Value& v) {
    if (v.type != TypeCode::kDeferred) return nullptr;
    return static_cast<const DeferredArgument*>(v.pointer());
}

// The field a recognised reading names, when it is a field of this database.
const FieldDescriptor* NamedField(Database& db, const char* name) {
    if (name == nullptr) return nullptr;
    return ResolveField(db, MakeTextRef(name));
}

}  // namespace

DirectNumber DirectNumber::Recognise(Database& db, const Value& expression) {
    DirectNumber direct;
    const DeferredArgument* d = DeferredOf(expression);
    if (d == nullptr || d->code != &ReadOneField || d->context == nullptr) return direct;
    const auto* reading = static_cast<const FieldReading*>(d->context);
    const FieldDescriptor* f = NamedField(db, reading->field);
    // Texts and chained fields keep the general path (and its error for them).
    if (f == nullptr || f->type == kFieldText || IsChainField(f->type)) return direct;
    direct.field_ = f;
    direct.nonFiniteAsZero_ = reading->nonFiniteAsZero;
    return direct;
}

Value DirectNumber::valueOf(const uint8_t* record) const {
    const Value v = FieldValueOfBytes(*field_, record + field_->offset);
    return nonFiniteAsZero_ ? FiniteOrZero(v) : v;
}

DirectTextMatch DirectTextMatch::Recognise(Database& db, const Value& condition) {
    DirectTextMatch direct;
    const DeferredArgument* d = DeferredOf(condition);
    if (d == nullptr || d->code != &FieldTextEquals || d->context == nullptr) return direct;
    const auto* match = static_cast<const FieldTextMatch*>(d->context);
    if (match->text == nullptr) return direct;
    const FieldDescriptor* f = NamedField(db, match->field);
    if (f == nullptr || f->type != kFieldText) return direct;
    direct.field_ = f;
    direct.text_ = match->text;
    return direct;
}

bool DirectTextMatch::holds(const uint8_t* record) const {
    const char* text = reinterpret_cast<const char*>(record + field_->offset);
    const size_t n = strnlen(text, size_t(field_->width));
    return n == text_.size() && std::memcmp(text, text_.data(), n) == 0;
}

}  // namespace rs

}  // namespace tavrin
