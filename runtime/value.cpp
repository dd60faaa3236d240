// Classification and construction of Values; deferred-argument evaluation.
#include "runtime/value.h"

#include "rt_text_constants.h"
#include "runtime/errors.h"

namespace tavrin {

TypeClass ClassifyType(uint32_t type) {
    if (type == 0) return TypeClass::Nothing;
    if (type >= 0x80000000u && type <= 0xBFFFFFFFu) return TypeClass::Basic;
    if (type >= 0x00000001u && type <= 0x3FFFFFFFu) return TypeClass::LibraryType;
    return TypeClass::ProgramType;
}

bool IsNumericType(uint32_t type) {
    return ClassifyType(type) == TypeClass::Basic && (type & TypeCode::kArrayBit) == 0 &&
           (type & 0xFF) == 0x01;
}

uint32_t SizeOfKind(uint32_t type) {
    switch (type) {
        case TypeCode::kByte:
            return 1;
        case TypeCode::kShort:
            return 2;
        case TypeCode::kInt:
        case TypeCode::kFloat:
        case TypeCode::kBool:
        case TypeCode::kText:
        case TypeCode::kByteSet:
        case TypeCode::kSubroutine:
            return 4;
        case TypeCode::kLong:
        case TypeCode::kDouble:
        case TypeCode::kDateTime:
        case TypeCode::kDeferred:
            return 8;
        default:
            return 0;
    }
}

Value MakeByte(uint8_t v) {
    return Value{v, 0, TypeCode::kByte};
}
Value MakeShort(int16_t v) {
    return Value{uint32_t(uint16_t(v)), 0, TypeCode::kShort};
}
Value MakeInt(int32_t v) {
    return Value{uint32_t(v), 0, TypeCode::kInt};
}
Value MakeLong(int64_t v) {
    Value r{0, 0, TypeCode::kLong};
    r.setPayload(uint64_t(v));
    return r;
}
Value MakeFloat(float v) {
    Value r{0, 0, TypeCode::kFloat};
    std::memcpy(&r.lo, &v, 4);
    return r;
}
Value MakeDouble(double v) {
    Value r{0, 0, TypeCode::kDouble};
    uint64_t p;
    std::memcpy(&p, &v, 8);
    r.setPayload(p);
    return r;
}
Value MakeBool(bool v) {
    return Value{v ? 1u : 0u, 0, TypeCode::kBool};
}
Value MakeDateTime(double days) {
    Value r = MakeDouble(days);
    r.type = TypeCode::kDateTime;
    return r;
}
Value MakeDateTimeFromBytes(const void* bytes) {
    double d;
    std::memcpy(&d, bytes, 8);
    return MakeDateTime(ClampDateTime(d));
}
Value MakeTextRef(const char* text) {
    Value r{0, 0, TypeCode::kText};
    r.setPointer(text);
    return r;
}
Value MakeByteSetRef(const ByteSetBlock* block) {
    Value r{0, 0, TypeCode::kByteSet};
    r.setPointer(block);
    return r;
}
Value MakeControlRef(uint32_t windowId, uint32_t controlId, uint32_t typeCode) {
    return Value{windowId, controlId, typeCode};
}

uint32_t ArrayBlock::elementCount() const {
    uint32_t n = 1;
    for (uint32_t i = 0; i < dimensions; ++i) n *= sizes()[i];
    return n;
}

Value MakeDeferred(const DeferredArgument* deferred) {
    Value r{0, 0, TypeCode::kDeferred};
    r.setPointer(deferred);
    return r;
}

Value EvaluateDeferred(const Value& v) {
    if (v.type != TypeCode::kDeferred) return v;
    auto* d = static_cast<const DeferredArgument*>(v.pointer());
    if (d == nullptr || d->code == nullptr) return Value{};
    return d->code(d->context);
}

}  // namespace tavrin
