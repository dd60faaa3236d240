// Argument conversions shared by the kernel commands.
#include "runtime/kernel/kernel_support.h"

#include <cmath>

namespace tavrin::kernel {

int32_t TruncateToInt(double d) {
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return INT32_MAX;
    if (d <= -2147483648.0) return INT32_MIN;
    return int32_t(d);
}

double NumberArg(const Value& v) {
    switch (v.type) {
        case TypeCode::kByte:
            return double(uint8_t(v.lo));
        case TypeCode::kShort:
            return double(int16_t(uint16_t(v.lo)));
        case TypeCode::kInt:
            return double(v.asInt());
        case TypeCode::kLong:
            return double(v.asLong());
        case TypeCode::kFloat:
            return double(v.asFloat());
        case TypeCode::kDouble:
            return v.asDouble();
        case TypeCode::kBool:
            return v.lo != 0 ? 1.0 : 0.0;
        default:
            return 0.0;
    }
}

int32_t IntArg(const Value& v) {
    switch (v.type) {
        case TypeCode::kByte:
            return int32_t(uint8_t(v.lo));
        case TypeCode::kShort:
            return int32_t(int16_t(uint16_t(v.lo)));
        case TypeCode::kInt:
        case TypeCode::kBool:
            return v.asInt();
        case TypeCode::kLong:
            return int32_t(v.lo);
        case TypeCode::kFloat:
            return TruncateToInt(double(v.asFloat()));
        case TypeCode::kDouble:
            return TruncateToInt(v.asDouble());
        default:
            return 0;
    }
}

bool BoolArg(const Value& v) {
    if (v.type == TypeCode::kBool) return v.lo != 0;
    if (IsNumericType(v.type)) return NumberArg(v) != 0.0;
    return false;
}

}  // namespace tavrin::kernel
