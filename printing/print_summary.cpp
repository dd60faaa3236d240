// Exact decimal column sums for the statistics row.
#include "print_summary.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace tavrin::printing {

namespace {

// Decimals kept; cells with more (a formula's long fraction) are rounded to it.
constexpr int kMaxDecimals = 9;

struct Decimal {
    __int128 units = 0;  // value × 10^kMaxDecimals
    int decimals = 0;    // decimals written in the text (at most kMaxDecimals)
};

// A plain number ("12", "-3.50", "1.23457e+06" as large amounts are written);
// anything else is not a number.
std::optional<Decimal> ParseDecimal(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::string digits;  // all digits, the point left out
    int fractionDigits = 0;
    size_t i = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) digits += s[i];
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++fractionDigits) digits += s[i];
    if (digits.empty()) return std::nullopt;
    int exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        const bool minus = i < s.size() && s[i] == '-';
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
        if (i == s.size()) return std::nullopt;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
            if ((exponent = exponent * 10 + (s[i] - '0')) > 99) return std::nullopt;
        if (minus) exponent = -exponent;
    }
    if (i != s.size()) return std::nullopt;
    // units = digits × 10^(kMaxDecimals + exponent - fractionDigits)
    const int shift = kMaxDecimals + exponent - fractionDigits;
    const size_t leading = digits.find_first_not_of('0');
    digits = leading == std::string::npos ? "0" : digits.substr(leading);
    bool roundUp = false;
    if (shift < 0) {
        const size_t drop = size_t(-shift);
        if (drop >= digits.size()) {
            roundUp = drop == digits.size() && digits[0] >= '5';
            digits = "0";
        } else {
            roundUp = digits[digits.size() - drop] >= '5';
            digits.resize(digits.size() - drop);
        }
    } else {
        digits.append(size_t(shift), '0');
    }
    if (digits.size() > 36) return std::nullopt;  // beyond any amount
    Decimal d;
    for (char c : digits) d.units = d.units * 10 + (c - '0');
    if (roundUp) ++d.units;
    if (negative) d.units = -d.units;
    d.decimals = std::clamp(fractionDigits - exponent, 0, kMaxDecimals);
    return d;
}

}  // namespace

std::string ColumnSumText(const std::vector<std::string_view>& cells) {
    __int128 total = 0;
    int decimals = 0;
    bool any = false;
    for (std::string_view cell : cells) {
        const std::optional<Decimal> d = ParseDecimal(cell);
        if (!d) continue;
        total += d->units;
        decimals = std::max(decimals, d->decimals);
        any = true;
    }
    if (!any) return {};
    const bool negative = total < 0;
    __int128 magnitude = negative ? -total : total;
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    if (digits.size() <= size_t(kMaxDecimals))
        digits.insert(0, size_t(kMaxDecimals) + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - kMaxDecimals);
    std::string fraction = digits.substr(digits.size() - kMaxDecimals, size_t(decimals));
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    std::string out = whole;
    if (!fraction.empty()) out += "." + fraction;
    if (negative && out != "0") out.insert(0, "-");
    return out;
}

}  // namespace tavrin::printing
