// Date and time commands over the local clock and CLOCK_MONOTONIC.
#include "runtime/kernel/datetime_commands.h"

#include <ctime>

#include "runtime/base/calendar.h"
#include "runtime/kernel/conversion_commands.h"
#include "runtime/kernel/kernel_support.h"

namespace tavrin {

double CurrentDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    kernel::CalendarParts p{local.tm_year + 1900, local.tm_mon + 1,
                            local.tm_mday,        local.tm_hour,
                            local.tm_min,         local.tm_sec > 59 ? 59 : local.tm_sec};
    return kernel::ComposeDateTime(p);
}

void Now(Value* result, int32_t, const Value*) {
    *result = MakeDateTime(CurrentDateTime());
}

void DateOf(Value* result, int32_t argc, const Value* argv) {
    Value days;
    ToDateTime(&days, argc > 0 ? 1 : 0, argv);
    *result = MakeDateTime(kernel::DateOnly(days.asDouble()));
}

void TickCount(Value* result, int32_t, const Value*) {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
    *result = MakeInt(int32_t(uint32_t(ms)));
}

}  // namespace tavrin
