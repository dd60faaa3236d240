// Where the charts, the column sorting and the printing plug into the main
// window's wiring. Until they are set, the events they own do nothing, as an
// event without its procedure does, and the period views fill no chart.
//
// Contract for procedures that fill the item lists: every row keeps the serial
// (record tag) of the record it shows as its item data — ScanCurrentDatabase
// hands it over, SerialOfRecord reads it — so that change and delete find the
// record in any list state (record_scan.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrin::finance {

// A year's sums per month, January first, in 元.
using MonthTotals = std::array<double, 12>;

struct MainWindowHooks {
    // The pie of the shown side: its categories (file order) and their sums.
    void (*showCategoryTotals)(const std::vector<std::string>& categories,
                               const std::vector<double>& totals) = nullptr;
    // One side's line of the trend chart; `maximum` is the chart's scale so
    // far (in thousands of 元), raised to fit these months.
    void (*showMonthTotals)(bool income, const MonthTotals& months, int32_t& maximum) = nullptr;
    void (*applyChartStartUpSettings)() = nullptr;  // start-up step 7
    void (*sortList)(uint32_t list, int32_t column) = nullptr;
    void (*openPrintSettings)() = nullptr;  // tool-bar "打印表"
    void (*printChart)() = nullptr;         // tool-bar "打印图"
    void (*layoutChartArea)() = nullptr;    // the chart area, after LayoutMainWindow
};
MainWindowHooks& Hooks();
// The hooks no layer has set (empty once the program's wiring has run).
std::vector<const char*> UnsetHooks();

// Runs a hook when it is set.
inline void RunHook(void (*hook)()) {
    if (hook) hook();
}

}  // namespace tavrin::finance
