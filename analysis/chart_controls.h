// The pie and line charts as controls of the window layer: created from their
// templates, with their own properties reached by property index.
#pragma once

#include <cstdint>

namespace tavrin::charts {
class ChartWidget;
}

namespace analysis {

constexpr uint32_t kPieChartType = 0x00050002;
constexpr uint32_t kLineChartType = 0x00050003;

// Registers both chart kinds with the window layer (replacing its placeholders).
void RegisterChartKinds();
// The chart widget of a live chart control, or null when not loaded.
tavrin::charts::ChartWidget* FindChart(uint32_t windowId, uint32_t controlId);

}  // namespace analysis
