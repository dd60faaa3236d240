// What the kernel commands share: reading arguments under the rule that a kind
// a command cannot use counts as zero, empty or false, and building results.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/memory.h"
#include "runtime/value.h"

namespace tavrin::kernel {

// Argument i, or the absent value when the caller passed fewer.
inline const Value& ArgAt(int32_t argc, const Value* argv, int32_t i) {
    static const Value kAbsent{};
    return (argv != nullptr && i >= 0 && i < argc) ? argv[i] : kAbsent;
}

// Numeric kinds and bool as a double; anything else 0.
double NumberArg(const Value& v);
// Numeric kinds truncated toward zero (saturating), bool its payload; anything else 0.
int32_t IntArg(const Value& v);
// Bool and numeric kinds: non-zero is true; anything else false.
bool BoolArg(const Value& v);
// A text argument's bytes; any other kind is the empty text.
inline std::string_view TextArg(const Value& v) {
    return v.type == TypeCode::kText ? TextOf(v) : std::string_view();
}

// Saturating double → int32 truncation (NaN gives 0).
int32_t TruncateToInt(double d);

// Results: fresh blocks under the ownership rules (null for empty).
inline void SetTextResult(Value* result, std::string_view bytes) {
    *result = MakeTextRef(CopyText(bytes));
}
inline void SetByteSetResult(Value* result, std::string_view bytes) {
    *result = MakeByteSetRef(NewByteSet(bytes.data(), bytes.size()));
}

}  // namespace tavrin::kernel
