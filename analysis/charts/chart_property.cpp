// Conversions between written Values and the chart controls' stored fields.
#include "analysis/charts/chart_property.h"

#include <cmath>
#include <limits>

#include "runtime/memory.h"

namespace tavrin::charts {

namespace {

double NumberOf(const Value& v, bool rawIsDouble) {
    switch (v.type) {
        case TypeCode::kByte:
            return double(uint8_t(v.lo));
        case TypeCode::kShort:
            return double(int16_t(v.lo));
        case TypeCode::kInt:
            return double(v.asInt());
        case TypeCode::kLong:
            return double(v.asLong());
        case TypeCode::kFloat:
            return double(v.asFloat());
        case TypeCode::kDouble:
        case TypeCode::kDateTime:
            return v.asDouble();
        case TypeCode::kBool:
            return v.asBool() ? 1.0 : 0.0;
        case TypeCode::kNone:
            return rawIsDouble ? v.asDouble() : double(v.asInt());
        default:
            return 0.0;
    }
}

}  // namespace

int32_t IntFromValue(const Value& v) {
    double d = NumberOf(v, false);
    // Whole-number properties truncate like the runtime's number-to-int conversion.
    if (std::isnan(d)) return 0;
    if (d >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (d <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return int32_t(d);
}

double DoubleFromValue(const Value& v) {
    return NumberOf(v, true);
}

bool BoolFromValue(const Value& v) {
    if (v.type == TypeCode::kBool || v.type == TypeCode::kNone) return v.lo != 0;
    return NumberOf(v, false) != 0.0;
}

std::string TextFromValue(const Value& v) {
    if (v.type != TypeCode::kText && v.type != TypeCode::kNone) return std::string();
    return std::string(TextOf(v));
}

std::string BytesFromValue(const Value& v) {
    if (v.type == TypeCode::kText) return std::string(TextOf(v));
    if (v.type != TypeCode::kByteSet && v.type != TypeCode::kNone) return std::string();
    return std::string(ByteSetOf(v));
}

Value TextResult(const std::string& gbk) {
    Value r;
    r.type = TypeCode::kText;
    r.setPointer(CopyText(std::string_view(gbk)));
    return r;
}

Value BytesResult(const std::string& bytes) {
    Value r;
    r.type = TypeCode::kByteSet;
    r.setPointer(NewByteSet(bytes.data(), bytes.size()));
    return r;
}

double ClampChartValue(double v) {
    if (!(v >= 0.0)) return 0.0;
    return v > kMaxChartValue ? kMaxChartValue : v;
}

}  // namespace tavrin::charts
