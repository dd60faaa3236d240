// Round y-axis steps and the unit of a money axis.
#include "analysis/charts/line_chart_axis.h"

#include <algorithm>
#include <cmath>

#include "analysis/charts/chart_painting.h"
#include "chart_text_constants.h"
#include "money/money_text.h"

namespace tavrin::charts {

namespace {

// 元 per chart unit, or 0 when the unit is not money.
double YuanPerUnit(const std::string& unitGbk) {
    if (unitGbk == chart_text::UnitYuan) return 1;
    if (unitGbk == chart_text::UnitThousandYuan) return 1000;
    if (unitGbk == chart_text::UnitTenThousandYuan) return 10000;
    return 0;
}

}  // namespace

QString YAxisScale::label(int32_t level) const {
    return QString::number(level * step, 'f', decimals);
}

YAxisScale ChooseYAxisScale(double largest, const std::string& unitGbk, int32_t maxLevels) {
    YAxisScale scale;
    const double yuan = YuanPerUnit(unitGbk);
    if (yuan > 0) {
        // An axis without any amount still reads as money: 0 to 100 元.
        if (!(largest > 0)) largest = 100 / yuan;
        const bool tenThousands = largest * yuan >= 10000;
        scale.toShown = tenThousands ? yuan / 10000 : yuan;
        scale.unit =
            ChartText(tenThousands ? chart_text::UnitTenThousandYuan : chart_text::UnitYuan);
    } else {
        if (!(largest > 0)) largest = 1;
        scale.unit = ChartText(unitGbk);
    }
    const double shown = largest * scale.toShown;
    maxLevels = std::max(1, maxLevels);
    // The smallest round step that needs no more levels than there is room for.
    double power = std::pow(10.0, std::floor(std::log10(shown / maxLevels)) - 1);
    for (;; power *= 10)
        for (double m : {1.0, 2.0, 5.0}) {
            const double step = m * power;
            const double levels = std::ceil(shown / step - 1e-9);
            if (levels <= maxLevels) {
                scale.step = step;
                scale.levels = std::max<int32_t>(1, int32_t(levels));
                scale.decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
                return scale;
            }
        }
}

QString MoneyValueText(double value, const std::string& unitGbk) {
    const double yuan = YuanPerUnit(unitGbk);
    if (yuan <= 0) return QString();
    return ChartText(money::MoneyTotalText(value * yuan));
}

}  // namespace tavrin::charts
