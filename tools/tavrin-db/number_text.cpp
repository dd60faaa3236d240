// Floating-point fields as text that reads back to the very same value, and
// the exact comparison of decimal texts that tells a value stored as written
// from one that single or double precision had to round.
#include <charconv>
#include <cmath>
#include <optional>

#include "tool.h"

namespace tavrin::dbtool {

namespace {

// The shortest digits that read back to the value; plain decimal where a
// person reads amounts and counts, the exponent form only far outside them.
template <typename Number>
std::string Shortest(Number v) {
    char text[400];
    const Number magnitude = std::fabs(v);
    const bool plain = std::isfinite(v) &&
                       (magnitude == 0 || (magnitude >= Number(1e-4) && magnitude < Number(1e15)));
    const std::to_chars_result r =
        plain ? std::to_chars(text, text + sizeof text, v, std::chars_format::fixed)
              : std::to_chars(text, text + sizeof text, v);
    return std::string(text, r.ptr);
}

// A decimal number as sign, significant digits (no leading or trailing zeros)
// and the power of ten of the last digit; nullopt when the text is not one.
struct Decimal {
    bool negative = false;
    std::string digits;
    int64_t exponent = 0;
    bool operator==(const Decimal&) const = default;
};

std::optional<Decimal> ReadDecimal(std::string_view text) {
    Decimal d;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-';
    bool anyDigit = false, point = false;
    int64_t fractionDigits = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            anyDigit = true;
            if (!(d.digits.empty() && c == '0')) d.digits += c;
            if (point) ++fractionDigits;
        } else {
            break;
        }
    }
    if (!anyDigit) return std::nullopt;
    int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool minus = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) minus = text[i++] == '-';
        if (i == text.size()) return std::nullopt;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            exponent = std::min<int64_t>(exponent * 10 + (text[i] - '0'), 100000);
        if (minus) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;
    d.exponent = exponent - fractionDigits;
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
        ++d.exponent;
    }
    if (d.digits.empty()) return Decimal{};  // every form of zero, signed or not
    return d;
}

}  // namespace

std::string ShortestText(float v) {
    return Shortest(v);
}

std::string ShortestText(double v) {
    return Shortest(v);
}

template <typename Number>
std::optional<Number> ReadNumber(std::string_view text) {
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    Number v = 0;
    const std::from_chars_result r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return v;
}

std::optional<float> ReadFloat(std::string_view text) {
    return ReadNumber<float>(text);
}

std::optional<double> ReadDouble(std::string_view text) {
    return ReadNumber<double>(text);
}

bool SameDecimal(std::string_view a, std::string_view b) {
    const std::optional<Decimal> x = ReadDecimal(a), y = ReadDecimal(b);
    return x && y && *x == *y;
}

}  // namespace tavrin::dbtool
