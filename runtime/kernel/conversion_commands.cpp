// Conversions between the basic kinds, full-width folding, number and
// date-time reading, and typed reads out of byte-sets.
#include "runtime/kernel/conversion_commands.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "kernel_text_constants.h"
#include "runtime/base/calendar.h"
#include "runtime/errors.h"
#include "runtime/kernel/kernel_support.h"
#include "runtime/memory.h"

namespace tavrin {

using kernel::ArgAt;
using kernel::IntArg;

namespace {

// printf "%.<precision>g" without depending on the process locale (Qt sets it
// from the environment, which may use a decimal comma).
std::string FormatGeneral(double d, int precision) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, precision);
    return std::string(buf, r.ptr);
}

// The element bytes of a one-dimensional array of a numeric kind; empty otherwise.
std::string_view NumericArrayBytes(const Value& v) {
    if (!IsArrayType(v.type) || !IsNumericType(ElementType(v.type))) return {};
    auto* block = static_cast<const ArrayBlock*>(v.pointer());
    if (block == nullptr) return {};
    size_t n = size_t(block->elementCount()) * SizeOfKind(ElementType(v.type));
    return {reinterpret_cast<const char*>(block->elements()), n};
}

// Writes `format` with each "%d" replaced by the next of `numbers` in decimal,
// as printf would for a format of plain bytes and "%d" only (the date and time
// forms; GBK bytes never contain '%'). Returns the end of what was written.
char* WriteDecimals(char* out, const char* format, std::initializer_list<int> numbers) {
    const int* next = numbers.begin();
    for (const char* f = format; *f != 0; ++f) {
        if (f[0] == '%' && f[1] == 'd') {
            out = std::to_chars(out, out + 12, *next++).ptr;
            ++f;
        } else {
            *out++ = *f;
        }
    }
    return out;
}

}  // namespace

size_t WriteDateTimeText(double days, char* out) {
    const kernel::CalendarParts p = kernel::SplitDateTime(days);
    char* end = WriteDecimals(out, kernel_text::DateFormat, {p.year, p.month, p.day});
    if (p.second != 0)
        end = WriteDecimals(end, kernel_text::TimeHourMinuteSecond, {p.hour, p.minute, p.second});
    else if (p.minute != 0)
        end = WriteDecimals(end, kernel_text::TimeHourMinute, {p.hour, p.minute});
    else if (p.hour != 0)
        end = WriteDecimals(end, kernel_text::TimeHour, {p.hour});
    return size_t(end - out);
}

namespace {

std::string DateTimeToText(double days) {
    char buf[kDateTimeTextMax];
    return std::string(buf, WriteDateTimeText(days, buf));
}

size_t SkipBlanks(std::string_view s, size_t i) {
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
    return i;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}

}  // namespace

std::string ValueToText(const Value& v) {
    char buf[32];
    switch (v.type) {
        case TypeCode::kByte:
            return std::string(buf, std::to_chars(buf, buf + sizeof buf, uint8_t(v.lo)).ptr);
        case TypeCode::kShort:
            return std::string(buf, std::to_chars(buf, buf + sizeof buf, int16_t(v.lo)).ptr);
        case TypeCode::kInt:
            return std::string(buf, std::to_chars(buf, buf + sizeof buf, v.asInt()).ptr);
        case TypeCode::kLong:
            return std::string(buf, std::to_chars(buf, buf + sizeof buf, v.asLong()).ptr);
        case TypeCode::kFloat:
            return FormatGeneral(double(v.asFloat()), 6);
        case TypeCode::kDouble:
            return FormatGeneral(v.asDouble(), 13);
        case TypeCode::kBool:
            return v.lo != 0 ? kernel_text::True : kernel_text::False;
        case TypeCode::kDateTime:
            return DateTimeToText(v.asDouble());
        case TypeCode::kText:
            return std::string(TextOf(v));
        case TypeCode::kByteSet: {
            std::string_view bytes = ByteSetOf(v);
            return std::string(bytes.substr(0, bytes.find('\0')));
        }
        default: {
            std::string_view bytes = NumericArrayBytes(v);
            return std::string(bytes.substr(0, bytes.find('\0')));
        }
    }
}

std::string FoldFullWidth(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        auto lead = static_cast<unsigned char>(s[i]);
        if (lead < 0x81 || i + 1 >= s.size()) {
            out += s[i++];
            continue;
        }
        auto trail = static_cast<unsigned char>(s[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out += char(trail & 0x7F);
        else if (lead == 0xA1 && trail == 0xA1)
            out += ' ';
        else if (lead == 0xA1 && trail == 0xAB)
            out += '~';
        else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF))
            out += '*';
        else
            out.append(s.substr(i, 2));
        i += 2;
    }
    return out;
}

double TextToNumber(std::string_view gbk) {
    std::string s = FoldFullWidth(gbk);
    size_t i = SkipBlanks(s, 0);
    size_t digits = i + ((i < s.size() && (s[i] == '+' || s[i] == '-')) ? 1 : 0);
    // Only a decimal number: no hexadecimal, infinity or NaN spellings.
    if (digits >= s.size()) return 0.0;
    if (!IsDigit(s[digits]) &&
        !(s[digits] == '.' && digits + 1 < s.size() && IsDigit(s[digits + 1])))
        return 0.0;
    if (s[digits] == '0' && digits + 1 < s.size() && (s[digits + 1] == 'x' || s[digits + 1] == 'X'))
        return 0.0;
    return strtod_l(s.c_str() + i, nullptr, CLocale());
}

int32_t TextToInt(std::string_view gbk) {
    std::string s = FoldFullWidth(gbk);
    size_t i = SkipBlanks(s, 0);
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int64_t n = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        n = n * 10 + (s[i] - '0');
        if (n > int64_t(INT32_MAX) + 1) n = int64_t(INT32_MAX) + 1;  // saturate
    }
    if (negative) n = -n;
    if (n > INT32_MAX) n = INT32_MAX;
    return int32_t(n);
}

std::optional<double> TextToDateTime(std::string_view gbk) {
    const std::string s = FoldFullWidth(gbk);
    struct Part {
        int maxDigits;
        const char* separators;
        const char* mark;
    };
    const Part parts[6] = {
        {4, "-/.:", kernel_text::YearMark},   {2, "-/.:", kernel_text::MonthMark},
        {2, " -/.:", kernel_text::DayMark},   {2, "-/.:", kernel_text::HourMark},
        {2, "-/.:", kernel_text::MinuteMark}, {2, "", kernel_text::SecondMark},
    };
    int value[6] = {0, 0, 0, 0, 0, 0};
    size_t i = 0;
    for (int p = 0; p < 6 && i < s.size(); ++p) {
        for (int d = 0; d < parts[p].maxDigits && i < s.size() && IsDigit(s[i]); ++d)
            value[p] = value[p] * 10 + (s[i++] - '0');
        if (i == s.size()) break;
        const std::string_view mark = parts[p].mark;
        if (std::strchr(parts[p].separators, s[i]) != nullptr && s[i] != '\0')
            ++i;
        else if (std::string_view(s).substr(i, mark.size()) == mark)
            i += mark.size();
        else
            return std::nullopt;  // something follows that is no separator
    }
    if (i != s.size()) return std::nullopt;

    kernel::CalendarParts c{value[0], value[1], value[2], value[3], value[4], value[5]};
    auto clamp = [](int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; };
    kernel::CalendarParts k = c;
    k.year = clamp(k.year, 100, 9999);
    k.month = clamp(k.month, 1, 12);
    k.day = clamp(clamp(k.day, 1, 31), 1, kernel::DaysInMonth(k.year, k.month));
    k.hour = clamp(k.hour, 0, 23);
    k.minute = clamp(k.minute, 0, 59);
    k.second = clamp(k.second, 0, 59);
    if (k.year != c.year || k.month != c.month || k.day != c.day || k.hour != c.hour ||
        k.minute != c.minute || k.second != c.second)
        return std::nullopt;
    return kernel::ComposeDateTime(k);
}

double ValueToNumber(const Value& v) {
    switch (v.type) {
        case TypeCode::kText:
            return TextToNumber(TextOf(v));
        case TypeCode::kSubroutine:
            return double(v.payload());
        default:
            return kernel::NumberArg(v);
    }
}

int32_t ValueToInt(const Value& v) {
    switch (v.type) {
        case TypeCode::kText:
            return TextToInt(TextOf(v));
        case TypeCode::kSubroutine:
            return int32_t(v.lo);
        default:
            return kernel::IntArg(v);
    }
}

void ToText(Value* result, int32_t argc, const Value* argv) {
    kernel::SetTextResult(result, ValueToText(ArgAt(argc, argv, 0)));
}

void ToNumber(Value* result, int32_t argc, const Value* argv) {
    *result = MakeDouble(ValueToNumber(ArgAt(argc, argv, 0)));
}

void ToInt(Value* result, int32_t argc, const Value* argv) {
    *result = MakeInt(ValueToInt(ArgAt(argc, argv, 0)));
}

void ToFloat(Value* result, int32_t argc, const Value* argv) {
    *result = MakeFloat(float(ValueToNumber(ArgAt(argc, argv, 0))));
}

void ToDateTime(Value* result, int32_t argc, const Value* argv) {
    const Value& v = ArgAt(argc, argv, 0);
    double days = kFailedDateTime;
    if (v.type == TypeCode::kDateTime)
        days = v.asDouble();
    else if (v.type == TypeCode::kText)
        days = TextToDateTime(TextOf(v)).value_or(kFailedDateTime);
    *result = MakeDateTime(days);
}

void ToByteSet(Value* result, int32_t argc, const Value* argv) {
    const Value& v = ArgAt(argc, argv, 0);
    if (v.type == TypeCode::kText) {
        kernel::SetByteSetResult(result, TextOf(v));
    } else if (v.type == TypeCode::kByteSet) {
        kernel::SetByteSetResult(result, ByteSetOf(v));
    } else if (IsNumericType(v.type) || v.type == TypeCode::kBool ||
               v.type == TypeCode::kDateTime) {
        uint64_t payload = v.type == TypeCode::kBool ? (v.lo != 0 ? 1 : 0) : v.payload();
        char bytes[8];
        for (int b = 0; b < 8; ++b) bytes[b] = char(payload >> (8 * b));
        kernel::SetByteSetResult(result, std::string_view(bytes, SizeOfKind(v.type)));
    } else {
        const auto* block =
            IsArrayType(v.type) ? static_cast<const ArrayBlock*>(v.pointer()) : nullptr;
        kernel::SetByteSetResult(result, block != nullptr && block->dimensions == 1
                                             ? NumericArrayBytes(v)
                                             : std::string_view());
    }
}

void ReadByteSetData(Value* result, int32_t argc, const Value* argv) {
    const Value& setArg = ArgAt(argc, argv, 0);
    std::string_view data =
        setArg.type == TypeCode::kByteSet ? ByteSetOf(setArg) : std::string_view();
    const uint32_t kind = uint32_t(IntArg(ArgAt(argc, argv, 1)));
    const Value& startArg = ArgAt(argc, argv, 2);
    int32_t start = startArg.present() ? IntArg(startArg) : 1;
    if (start < 1) start = 1;
    std::string_view rest =
        size_t(start) - 1 < data.size() ? data.substr(size_t(start) - 1) : std::string_view();

    switch (kind) {
        case TypeCode::kText:
            kernel::SetTextResult(result, rest.substr(0, rest.find('\0')));
            return;
        case TypeCode::kByteSet:
            kernel::SetByteSetResult(result, rest);
            return;
        case TypeCode::kByte:
        case TypeCode::kShort:
        case TypeCode::kInt:
        case TypeCode::kLong:
        case TypeCode::kFloat:
        case TypeCode::kDouble:
        case TypeCode::kBool:
        case TypeCode::kDateTime:
            break;
        default:
            ReportFatalError(kernel_text::BadExtractType);
    }
    // Too few bytes left give the kind's zero.
    const size_t size = SizeOfKind(kind);
    uint64_t payload = 0;
    if (rest.size() >= size)
        for (size_t b = 0; b < size; ++b) payload |= uint64_t(uint8_t(rest[b])) << (8 * b);
    Value v{0, 0, kind};
    v.setPayload(payload);
    if (kind == TypeCode::kBool) v = MakeBool(payload != 0);
    if (kind == TypeCode::kDateTime) v = MakeDateTime(ClampDateTime(v.asDouble()));
    *result = v;
}

}  // namespace tavrin
