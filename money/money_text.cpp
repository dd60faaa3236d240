// Money to text in whole cents, so that no binary fraction and no
// significant-digit cut ever reaches what a person reads.
#include "money/money_text.h"

#include <cmath>

namespace tavrin::money {

namespace {

// "元" and "万元" in GBK.
constexpr const char* kYuan = "\xD4\xAA";
constexpr const char* kTenThousandYuan = "\xCD\xF2\xD4\xAA";

// A count of cents as a decimal with `fractionDigits` digits after the point
// (2 for 元, 6 for 万元), the fraction's trailing zeros and a bare point
// dropped; written to out, its length returned.
size_t WriteCents(int64_t cents, int fractionDigits, char* out) {
    const bool negative = cents < 0;
    uint64_t magnitude = negative ? uint64_t(0) - uint64_t(cents) : uint64_t(cents);
    char digits[24];  // least significant first
    int n = 0;
    do {
        digits[n++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (n <= fractionDigits) digits[n++] = '0';  // a whole part of at least "0"
    int firstKept = 0;                              // the fraction's trailing zeros go
    while (firstKept < fractionDigits && digits[firstKept] == '0') ++firstKept;
    size_t length = 0;
    if (negative) out[length++] = '-';
    for (int i = n - 1; i >= fractionDigits; --i) out[length++] = digits[i];
    if (firstKept < fractionDigits) {
        out[length++] = '.';
        for (int i = fractionDigits - 1; i >= firstKept; --i) out[length++] = digits[i];
    }
    return length;
}

std::string CentsText(int64_t cents, int fractionDigits) {
    char text[kMoneyTextMax];
    return std::string(text, WriteCents(cents, fractionDigits, text));
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

size_t WriteMoneyText(double amount, char* out) {
    const std::optional<int64_t> cents = ToCents(amount);
    if (!cents) {
        out[0] = '0';
        return 1;
    }
    return WriteCents(*cents, 2, out);
}

std::string MoneyText(double amount) {
    char text[kMoneyTextMax];
    return std::string(text, WriteMoneyText(amount, text));
}

std::string MoneyTotalText(double amount) {
    const std::optional<int64_t> cents = ToCents(amount);
    if (!cents) return std::string("0") + kYuan;
    // Ten thousand 元 is a million cents: in 万 the cents are the sixth decimal.
    if (*cents >= 1000000 || *cents <= -1000000) return CentsText(*cents, 6) + kTenThousandYuan;
    return CentsText(*cents, 2) + kYuan;
}

}  // namespace tavrin::money
