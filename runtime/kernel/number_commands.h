// Number commands: remainder and integer division over a chain of divisors
// (a zero divisor is fatal), absolute value, the tolerant floor, colours.
#pragma once

#include <cstdint>

#include "runtime/value.h"

namespace tavrin {

// double a, double b, further doubles → a fmod b, then fmod each further one.
void Remainder(Value* result, int32_t argc, const Value* argv);
// double a, double b, further doubles → a / b truncated, then each further one.
void IntegerDivide(Value* result, int32_t argc, const Value* argv);
// double → |double|.
void Abs(Value* result, int32_t argc, const Value* argv);
// double → int: the floor, after moving 2.9999999999999 to 3.
void FloorToInt(Value* result, int32_t argc, const Value* argv);
// int r, int g, int b → 0x00BBGGRR.
void MakeColor(Value* result, int32_t argc, const Value* argv);

}  // namespace tavrin
