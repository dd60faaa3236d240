// Money to text in whole cents, so that no binary fraction and no
// significant-digit cut ever reaches what a person reads.
#include "finance/money_text.h"

#include <cmath>
#include <cstdlib>

namespace tavrin::finance {

namespace {

// "元" and "万元" in GBK.
constexpr const char* kYuan = "\xD4\xAA";
constexpr const char* kTenThousandYuan = "\xCD\xF2\xD4\xAA";

// |cents| as "<whole>.<fraction>" in units of 10^scale cents' worth of digits,
// the fraction's trailing zeros (and a bare point) dropped.
std::string Decimal(bool negative, uint64_t magnitude, int fractionDigits) {
    uint64_t unit = 1;
    for (int i = 0; i < fractionDigits; ++i) unit *= 10;
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / unit);
    std::string fraction = std::to_string(magnitude % unit);
    fraction.insert(0, size_t(fractionDigits) - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) text += "." + fraction;
    return text;
}

std::string CentsText(int64_t cents, int fractionDigits) {
    const bool negative = cents < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(cents) : uint64_t(cents);
    return Decimal(negative && magnitude != 0, magnitude, fractionDigits);
}

}  // namespace

std::optional<int64_t> ToCents(double amount) {
    if (!std::isfinite(amount)) return std::nullopt;
    const double cents = std::round(amount * 100.0);
    // Beyond 2^62 cents no money amount of this program can come; refuse it
    // instead of overflowing the conversion.
    if (std::fabs(cents) > 4.6e18) return std::nullopt;
    return int64_t(cents);
}

std::string MoneyText(double amount) {
    const std::optional<int64_t> cents = ToCents(amount);
    return cents ? CentsText(*cents, 2) : std::string("0");
}

std::string MoneyTotalText(double amount) {
    const std::optional<int64_t> cents = ToCents(amount);
    if (!cents) return std::string("0") + kYuan;
    // Ten thousand 元 is a million cents: in 万 the cents are the sixth decimal.
    if (*cents >= 1000000 || *cents <= -1000000) return CentsText(*cents, 6) + kTenThousandYuan;
    return CentsText(*cents, 2) + kYuan;
}

}  // namespace tavrin::finance
