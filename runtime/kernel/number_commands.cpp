// Number commands.
#include "kernel/number_commands.h"

#include <cmath>

#include "kernel_text_constants.h"
#include "runtime/errors.h"
#include "runtime/kernel/kernel_support.h"

namespace tavrin {

using kernel::ArgAt;
using kernel::NumberArg;

void Remainder(Value* result, int32_t argc, const Value* argv) {
    double r = NumberArg(ArgAt(argc, argv, 0));
    for (int32_t i = 1; i < argc || i == 1; ++i) {
        double divisor = NumberArg(ArgAt(argc, argv, i));
        if (divisor == 0.0) ReportFatalError(kernel_text::RemainderByZero);
        r = std::fmod(r, divisor);
    }
    *result = MakeDouble(r);
}

void IntegerDivide(Value* result, int32_t argc, const Value* argv) {
    double r = NumberArg(ArgAt(argc, argv, 0));
    for (int32_t i = 1; i < argc || i == 1; ++i) {
        double divisor = NumberArg(ArgAt(argc, argv, i));
        if (divisor == 0.0) ReportFatalError(kernel_text::DivideByZero);
        r = std::trunc(r / divisor);
    }
    *result = MakeDouble(r);
}

void Abs(Value* result, int32_t argc, const Value* argv) {
    *result = MakeDouble(std::fabs(NumberArg(ArgAt(argc, argv, 0))));
}

void FloorToInt(Value* result, int32_t argc, const Value* argv) {
    double d = NumberArg(ArgAt(argc, argv, 0));
    double whole = std::trunc(d);
    if (std::fabs(d - whole) > 0.999999999999) d = whole + (d > 0 ? 1.0 : -1.0);
    *result = MakeInt(kernel::TruncateToInt(std::floor(d)));
}

void MakeColor(Value* result, int32_t argc, const Value* argv) {
    uint32_t r = uint32_t(kernel::IntArg(ArgAt(argc, argv, 0)));
    uint32_t g = uint32_t(kernel::IntArg(ArgAt(argc, argv, 1)));
    uint32_t b = uint32_t(kernel::IntArg(ArgAt(argc, argv, 2)));
    *result = MakeInt(int32_t((b << 16) | ((g & 0xFF) << 8) | r));
}

}  // namespace tavrin
