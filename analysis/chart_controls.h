// The pie and line charts as controls of the window layer: created from their
// templates, with their own properties reached by property index.
#pragma once

#include <cstdint>

#include "forms/template_format.h"

namespace tavrin::charts {
class ChartWidget;
}

namespace tavrin::analysis {

constexpr uint32_t kPieChartType = tavrin::forms::TypeId::kPieChart;
constexpr uint32_t kLineChartType = tavrin::forms::TypeId::kLineChart;

// Registers both chart kinds with the window layer (replacing its placeholders).
void RegisterChartKinds();
// The chart widget of a live chart control, or null when not loaded.
tavrin::charts::ChartWidget* FindChart(uint32_t windowId, uint32_t controlId);

}  // namespace tavrin::analysis
