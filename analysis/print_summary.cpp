// Exact decimal column sums for the statistics row.
#include "analysis/print_summary.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace analysis {

namespace {

// Decimals kept; cells with more (a formula's long fraction) are rounded to it.
constexpr int kMaxDecimals = 9;

struct Decimal {
    __int128 units = 0;  // value × 10^kMaxDecimals
    int decimals = 0;    // decimals written in the text (at most kMaxDecimals)
};

std::optional<Decimal> ParseDecimal(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    __int128 whole = 0;
    size_t i = 0, digits = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++digits) {
        if (digits > 24) return std::nullopt;
        whole = whole * 10 + (s[i] - '0');
    }
    Decimal d;
    __int128 fraction = 0;
    int written = 0;
    bool roundUp = false;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++written) {
            if (written < kMaxDecimals)
                fraction = fraction * 10 + (s[i] - '0');
            else if (written == kMaxDecimals)
                roundUp = s[i] >= '5';
        }
    }
    if (i != s.size() || digits + size_t(written) == 0) return std::nullopt;
    d.decimals = std::min(written, kMaxDecimals);
    for (int k = d.decimals; k < kMaxDecimals; ++k) fraction *= 10;
    __int128 scale = 1;
    for (int k = 0; k < kMaxDecimals; ++k) scale *= 10;
    d.units = whole * scale + fraction + (roundUp ? 1 : 0);
    if (negative) d.units = -d.units;
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

}  // namespace analysis
