// Exact sums of single-precision amounts in 2^-40 元 units.
#include "finance/running_total.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace tavrin::finance {

namespace {

constexpr int kFractionBits = 40;
constexpr float kLargestCounted = 72057594037927936.0f;  // 2^56

// The amount in 2^-40 units: its 24-bit significand shifted into place, the
// bits below the unit cut off toward zero. Read from the float's bits: every
// listed amount passes here, twice at start-up.
__int128 Units(float amount) {
    const float counted = CountedAmount(amount);
    if (counted == 0.0f) return 0;
    const auto bits = std::bit_cast<uint32_t>(counted);
    const int biased = int(bits >> 23 & 0xFF);
    if (biased == 0) return 0;  // below 2^-126: wholly below the unit
    const auto significand = __int128((bits & 0x7FFFFF) | 0x800000);
    const int shift = biased - 150 + kFractionBits;
    if (shift < -24) return 0;
    const __int128 magnitude = shift >= 0 ? significand << shift : significand >> -shift;
    return bits >> 31 ? -magnitude : magnitude;
}

}  // namespace

RunningTotal& RunningTotal::operator=(float total) {
    units_ = Units(total);
    return *this;
}

void RunningTotal::add(float amount) {
    units_ += Units(amount);
}

void RunningTotal::remove(float amount) {
    units_ -= Units(amount);
}

void RunningTotal::add(const RunningTotal& other) {
    units_ += other.units_;
}

RunningTotal RunningTotal::operator-(const RunningTotal& other) const {
    RunningTotal difference;
    difference.units_ = units_ - other.units_;
    return difference;
}

double RunningTotal::value() const {
    return std::ldexp(double(units_), -kFractionBits);
}

float CountedAmount(float amount) {
    return std::isfinite(amount) && std::fabs(amount) < kLargestCounted ? amount : 0.0f;
}

float ToSingle(double v) {
    if (std::isnan(v)) return 0.0f;
    if (v > double(FLT_MAX)) return FLT_MAX;
    if (v < -double(FLT_MAX)) return -FLT_MAX;
    return float(v);
}

}  // namespace tavrin::finance
