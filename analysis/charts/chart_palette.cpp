// The structure chart's slice palette.
#include "analysis/charts/chart_palette.h"

namespace tavrin::charts {

namespace {

constexpr uint32_t kStructurePalette[kStructurePaletteSize] = {
    0xFF8080, 0x8050FF, 0x80E000, 0x80A080, 0x0060C0, 0xFF8800, 0x000000,
    0x0000FF, 0xFF0090, 0xFF0000, 0x00FF00, 0x000080, 0x00FFFF, 0x808080,
};

}  // namespace

uint32_t StructurePaletteColor(int position) {
    if (position < 1) position = 1;
    return kStructurePalette[(position - 1) % kStructurePaletteSize];
}

}  // namespace tavrin::charts
