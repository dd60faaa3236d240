// Conversions between the basic kinds: to text, number, int, float, date-time
// and byte-set, and the reading of a typed value out of a byte-set. The helper
// functions below are the same rules for callers inside the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/value.h"

namespace tavrin {

// any basic value → text ("%.6g" float, "%.13g" double, 真/假, 2012年5月1日8时30分).
void ToText(Value* result, int32_t argc, const Value* argv);
// any basic value → double (texts folded and read as a decimal number).
void ToNumber(Value* result, int32_t argc, const Value* argv);
// any basic value → int (texts folded and read as a decimal integer).
void ToInt(Value* result, int32_t argc, const Value* argv);
// any basic value → float.
void ToFloat(Value* result, int32_t argc, const Value* argv);
// text or date-time → date-time; failure gives -657434.0.
void ToDateTime(Value* result, int32_t argc, const Value* argv);
// any basic value or one-dimensional numeric array → its raw bytes.
void ToByteSet(Value* result, int32_t argc, const Value* argv);
// byte-set, int type code, [optional] int start (1-based byte position) → a value
// of that kind read from the bytes at start; the result's type is set. A type
// code that names no readable kind is the fatal "“欲取出数据的类型”参数值无效".
void ReadByteSetData(Value* result, int32_t argc, const Value* argv);

// The text form of a value as ToText makes it (GBK bytes).
std::string ValueToText(const Value& v);
// The text ToText gives for a date-time, written to `out` (at least
// kDateTimeTextMax bytes, no terminating NUL); returns its length.
constexpr size_t kDateTimeTextMax = 96;
size_t WriteDateTimeText(double days, char* out);
// Full-width forms of ASCII characters (and the full-width space, 〜-like tilde,
// and the two star marks) become their single-byte ASCII counterparts.
std::string FoldFullWidth(std::string_view gbk);
// A folded text read as a decimal number / integer: the leading part that
// parses, 0 when none does.
double TextToNumber(std::string_view gbk);
int32_t TextToInt(std::string_view gbk);
// A date-time text ("2012-2-29", "2012年5月1日8时30分"); nullopt when it is
// not a valid date-time.
std::optional<double> TextToDateTime(std::string_view gbk);

// The value as ToNumber / ToInt see it.
double ValueToNumber(const Value& v);
int32_t ValueToInt(const Value& v);
// The date-time a failed conversion yields.
constexpr double kFailedDateTime = kMinDateTime;

}  // namespace tavrin
