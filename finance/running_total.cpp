// The running totals' exact sums and the finite single-precision view of them.
#include "finance/running_total.h"

#include <cfloat>
#include <cmath>

namespace tavrin::finance {

RunningTotal& RunningTotal::operator=(float total) {
    sum_ = double(CountedAmount(total));
    return *this;
}

void RunningTotal::setSum(double sum) {
    sum_ = std::isfinite(sum) ? sum : 0.0;
}

void RunningTotal::add(float amount) {
    sum_ += double(CountedAmount(amount));
}

void RunningTotal::remove(float amount) {
    sum_ -= double(CountedAmount(amount));
}

RunningTotal::operator float() const {
    return ToSingle(sum_);
}

float CountedAmount(float amount) {
    return std::isfinite(amount) ? amount : 0.0f;
}

float ToSingle(double v) {
    if (std::isnan(v)) return 0.0f;
    if (v > double(FLT_MAX)) return FLT_MAX;
    if (v < -double(FLT_MAX)) return -FLT_MAX;
    return float(v);
}

}  // namespace tavrin::finance
