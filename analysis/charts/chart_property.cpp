// Conversions between written Values and the chart controls' stored fields.
#include "analysis/charts/chart_property.h"

#include <cmath>

#include "runtime/kernel/kernel_support.h"
#include "runtime/memory.h"

namespace tavrin::charts {

namespace {

// The kernel's numeric reading, plus the kinds a chart property also accepts:
// a date-time as its day count, an untyped payload raw.
double NumberOf(const Value& v, bool rawIsDouble) {
    if (v.type == TypeCode::kDateTime) return v.asDouble();
    if (v.type == TypeCode::kNone) return rawIsDouble ? v.asDouble() : double(v.asInt());
    return kernel::NumberArg(v);
}

}  // namespace

int32_t IntFromValue(const Value& v) {
    // Whole-number properties truncate like the runtime's number-to-int conversion.
    return kernel::TruncateToInt(NumberOf(v, false));
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
    return v >= 0.0 && std::isfinite(v) ? v : 0.0;
}

}  // namespace tavrin::charts
