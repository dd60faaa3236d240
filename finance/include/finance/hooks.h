// Where the analysis procedures (period views, charts, sorting, printing) plug
// into the main window's wiring. Until they are set, the events they own do
// nothing, as an event without its procedure does.
//
// Contract for procedures that fill the item lists: every row keeps the serial
// (record tag) of the record it shows as its item data — ScanCurrentDatabase
// hands it over, SerialOfRecord reads it — so that change and delete find the
// record in any list state (record_scan.h).
#pragma once

#include <cstdint>
#include <vector>

namespace tavrin::finance {

struct AnalysisHooks {
    void (*refreshStructureView)() = nullptr;       // start-up step 6
    void (*applyChartStartUpSettings)() = nullptr;  // start-up step 7
    void (*refreshTrendView)() = nullptr;
    void (*refreshChartAfterItemChange)() = nullptr;
    void (*mainPageChanged)() = nullptr;
    void (*chartPageChanged)() = nullptr;
    void (*yearPageChanged)() = nullptr;
    void (*monthPageChanged)() = nullptr;
    void (*sortList)(uint32_t list, int32_t column) = nullptr;
    void (*openPrintSettings)() = nullptr;  // tool-bar "打印表"
    void (*printChart)() = nullptr;         // tool-bar "打印图"
    void (*layoutChartArea)() = nullptr;    // the chart area, after LayoutMainWindow
};
AnalysisHooks& Hooks();
// The hooks no layer has set (empty once the analysis layer is installed).
std::vector<const char*> UnsetHooks();

// Runs a hook when it is set.
inline void RunHook(void (*hook)()) {
    if (hook) hook();
}

}  // namespace tavrin::finance
