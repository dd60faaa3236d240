// The tagged 12-byte Value that carries every command argument and result,
// its type codes and their classification, and the heap blocks behind them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/base/calendar.h"

namespace tavrin {

// Type codes of the basic kinds; library types are (library << 16) | number.
namespace TypeCode {
constexpr uint32_t kNone = 0;
constexpr uint32_t kByte = 0x80000101;
constexpr uint32_t kShort = 0x80000201;
constexpr uint32_t kInt = 0x80000301;
constexpr uint32_t kLong = 0x80000401;
constexpr uint32_t kFloat = 0x80000501;
constexpr uint32_t kDouble = 0x80000601;
constexpr uint32_t kBool = 0x80000002;
constexpr uint32_t kDateTime = 0x80000003;
constexpr uint32_t kText = 0x80000004;
constexpr uint32_t kByteSet = 0x80000005;
constexpr uint32_t kSubroutine = 0x80000006;
constexpr uint32_t kDeferred = 0x80000008;
constexpr uint32_t kArrayBit = 0x20000000;
}  // namespace TypeCode

enum class TypeClass { Nothing, Basic, LibraryType, ProgramType };

// What a type code stands for; the array bit is ignored for the basic range.
TypeClass ClassifyType(uint32_t type);
inline bool IsArrayType(uint32_t type) {
    return (type & TypeCode::kArrayBit) != 0 && ClassifyType(type) == TypeClass::Basic;
}
inline uint32_t ElementType(uint32_t type) {
    return type & ~TypeCode::kArrayBit;
}
// Byte, short, int, long, float, double (not arrays of them).
bool IsNumericType(uint32_t type);
inline uint32_t LibraryTypeCode(uint32_t library, uint32_t number) {
    return (library << 16) | number;
}

// Payload size of a basic kind when packed into bytes (0 for anything else).
uint32_t SizeOfKind(uint32_t type);

// Dates are days since 1899-12-30 in 0100-01-01 .. 9999-12-31: kMinDateTime,
// kMaxDateTime and ClampDateTime come with the calendar (runtime/base/calendar.h).

// 12 bytes: payload low word, high word, type. On this 64-bit build a pointer
// payload (text, byte-set, array, subroutine, deferred code) spans lo and hi.
struct Value {
    uint32_t lo = 0;
    uint32_t hi = 0;
    uint32_t type = 0;

    bool present() const { return type != TypeCode::kNone; }

    uint64_t payload() const { return uint64_t(lo) | (uint64_t(hi) << 32); }
    void setPayload(uint64_t p) {
        lo = uint32_t(p);
        hi = uint32_t(p >> 32);
    }
    void* pointer() const { return reinterpret_cast<void*>(uintptr_t(payload())); }
    void setPointer(const void* p) { setPayload(uint64_t(reinterpret_cast<uintptr_t>(p))); }

    // Raw payload reads; callers convert kinds through the kernel commands.
    int32_t asInt() const { return int32_t(lo); }
    int64_t asLong() const { return int64_t(payload()); }
    float asFloat() const {
        float f;
        std::memcpy(&f, &lo, 4);
        return f;
    }
    double asDouble() const {
        uint64_t p = payload();
        double d;
        std::memcpy(&d, &p, 8);
        return d;
    }
    bool asBool() const { return lo != 0; }
    const char* asText() const { return static_cast<const char*>(pointer()); }
};
static_assert(sizeof(Value) == 12, "Value must stay 12 bytes");
static_assert(sizeof(void*) <= 8, "a pointer payload must fit lo and hi");

Value MakeByte(uint8_t v);
Value MakeShort(int16_t v);
Value MakeInt(int32_t v);
Value MakeLong(int64_t v);
Value MakeFloat(float v);
Value MakeDouble(double v);
Value MakeBool(bool v);  // any non-zero is stored as 1
Value MakeDateTime(double days);
// A date-time built from 8 raw bytes, clamped into the valid range.
Value MakeDateTimeFromBytes(const void* bytes);
// Text and byte-set values borrow the pointer: ownership is the caller's business.
Value MakeTextRef(const char* text);
Value MakeByteSetRef(const struct ByteSetBlock* block);
// A control reference: lo = window id, hi = control id, type = library type code.
Value MakeControlRef(uint32_t windowId, uint32_t controlId, uint32_t typeCode);

// Heap block of a byte-set: marker 1, length n, n bytes (a one-dimensional byte array).
struct ByteSetBlock {
    uint32_t marker;
    uint32_t length;
    uint8_t* data() { return reinterpret_cast<uint8_t*>(this + 1); }
    const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(this + 1); }
};
static_assert(sizeof(ByteSetBlock) == 8);

// Heap block of an array: dimension count d, d sizes, then the packed elements.
struct ArrayBlock {
    uint32_t dimensions;
    uint32_t* sizes() { return reinterpret_cast<uint32_t*>(this + 1); }
    const uint32_t* sizes() const { return reinterpret_cast<const uint32_t*>(this + 1); }
    uint32_t elementCount() const;
    uint8_t* elements() { return reinterpret_cast<uint8_t*>(sizes() + dimensions); }
    const uint8_t* elements() const {
        return reinterpret_cast<const uint8_t*>(sizes() + dimensions);
    }
};

// Application code passed unevaluated: calling it with its context yields a Value.
struct DeferredArgument {
    Value (*code)(void* context);
    void* context;
};
Value MakeDeferred(const DeferredArgument* deferred);
// Evaluates a deferred argument (or returns a plain value as it is).
Value EvaluateDeferred(const Value& v);

}  // namespace tavrin
