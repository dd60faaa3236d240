// The trend chart's y axis: a scale chosen from the values it shows, in round
// steps of 1, 2 or 5 × 10ⁿ, with no more levels than fit the axis' height, and
// for amounts of money the unit (元 or 万元) that suits them.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace tavrin::charts {

struct YAxisScale {
    double step = 1;     // between two levels, in shown units
    int32_t levels = 1;  // above 0; the top is levels × step
    int decimals = 0;    // of the level labels
    double toShown = 1;  // chart value × toShown = the shown value
    QString unit;        // shown above the axis

    double top() const { return step * levels; }
    QString label(int32_t level) const;
};

// The largest value `largest` (in the chart's own units, named by `unitGbk`)
// on an axis with at most `maxLevels` levels above 0. A chart in 元, 千元 or 万元
// shows 万元 from ten thousand 元 on and 元 below; any other unit is kept.
YAxisScale ChooseYAxisScale(double largest, const std::string& unitGbk, int32_t maxLevels);

// A chart value as money text when the chart's unit is money ("2.85万元",
// "350元"); empty for any other unit.
QString MoneyValueText(double value, const std::string& unitGbk);

}  // namespace tavrin::charts
