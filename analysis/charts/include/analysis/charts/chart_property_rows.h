// A chart's properties as one table of rows, by own property number: each row
// names the property and its data kind for the window layer, reads it into a
// fresh result and hands a written value to the chart's setter, which applies
// the property's rule and repaints. Both charts describe their properties this
// way, so reading, writing and the window layer's table come from one place.
#pragma once

#include <functional>

#include "analysis/charts/chart_property.h"
#include "runtime/value.h"

namespace tavrin::charts {

class ChartWidget;

struct ChartPropertyRow {
    ChartPropertyInfo info;
    Value (*read)(const ChartWidget&);
    void (*write)(ChartWidget&, const Value&);
};

namespace detail {

// A stored field as the fresh result of its kind.
template <PropertyKind Kind, typename T>
Value ResultOf(const T& field) {
    if constexpr (Kind == PropertyKind::kInt)
        return MakeInt(int32_t(field));
    else if constexpr (Kind == PropertyKind::kBool)
        return MakeBool(field);
    else if constexpr (Kind == PropertyKind::kDouble)
        return MakeDouble(field);
    else if constexpr (Kind == PropertyKind::kText)
        return TextResult(field);
    else
        return BytesResult(field);
}

// A written value as its kind's field type (the setter converts whole numbers
// to colours).
template <PropertyKind Kind>
auto WrittenAs(const Value& v) {
    if constexpr (Kind == PropertyKind::kInt)
        return IntFromValue(v);
    else if constexpr (Kind == PropertyKind::kBool)
        return BoolFromValue(v);
    else if constexpr (Kind == PropertyKind::kDouble)
        return DoubleFromValue(v);
    else if constexpr (Kind == PropertyKind::kText)
        return TextFromValue(v);
    else
        return BytesFromValue(v);
}

}  // namespace detail

// The row of a property of `Chart`: `Get` and `Set` are its member functions or
// functions taking the chart.
template <typename Chart, PropertyKind Kind, auto Get, auto Set>
constexpr ChartPropertyRow Row(const char* name) {
    return {{name, Kind},
            [](const ChartWidget& chart) {
                return detail::ResultOf<Kind>(std::invoke(Get, static_cast<const Chart&>(chart)));
            },
            [](ChartWidget& chart, const Value& v) {
                std::invoke(Set, static_cast<Chart&>(chart), detail::WrittenAs<Kind>(v));
            }};
}

}  // namespace tavrin::charts
