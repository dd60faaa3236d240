// Property values of the chart controls: how a written Value becomes the stored
// field, and how a stored field is handed back as a fresh result Value.
#pragma once

#include <cstdint>
#include <string>

#include "forms/control.h"
#include "forms/properties.h"
#include "runtime/value.h"

namespace tavrin::charts {

// A chart's own property number is the control's property index less the eight
// properties every visible control has (left, top, width, height, mark, visible,
// disabled, mouse pointer).
constexpr int kFirstOwnPropertyIndex = forms::Prop::kOwn;
// The control property index of an own property number.
constexpr int32_t PropertyIndex(int own) {
    return own + kFirstOwnPropertyIndex;
}

// Data kinds of the chart properties, as the window layer converts raw payloads.
enum class PropertyKind : int32_t {
    kInt = forms::DataKind::kInt,        // counts, indices, colours 0x00BBGGRR
    kDouble = forms::DataKind::kDouble,  // values
    kBool = forms::DataKind::kBool,      // switches, stored 1 = true
    kText = forms::DataKind::kText,      // GBK text
    kBytes = forms::DataKind::kPicture,  // picture data
};

// One entry of a chart's property table, by own property number.
struct ChartPropertyInfo {
    const char* name;  // English name, for diagnostics
    PropertyKind kind;
};

// Readers of a written value. A numeric value of any width is converted; a value
// without a type (type 0) is read as the raw payload of the wanted kind.
int32_t IntFromValue(const Value& v);
double DoubleFromValue(const Value& v);
bool BoolFromValue(const Value& v);
std::string TextFromValue(const Value& v);   // GBK bytes; null is empty
std::string BytesFromValue(const Value& v);  // byte-set data, or a text's bytes

// Results: texts and byte-sets are fresh heap blocks owned by the caller.
Value TextResult(const std::string& gbk);
Value BytesResult(const std::string& bytes);

// Clamps a whole number into lo..hi.
inline int32_t ClampInt(int32_t v, int32_t lo, int32_t hi) {
    return v < lo ? lo : v > hi ? hi : v;
}

// The value rule shared by pie items and line points: anything not >= 0 (negative
// or NaN) and anything not finite becomes 0. Large values stay as they are: a
// category's total is money and is shown whole.
constexpr double kMaxChartValue = 10000000.0;  // the line chart's stored axis maximum
double ClampChartValue(double v);

}  // namespace tavrin::charts
