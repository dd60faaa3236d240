// Colors of the charts: the structure chart's slice palette by category
// position, and the conversion of stored 0x00BBGGRR colours for painting.
#pragma once

#include <QColor>
#include <cstdint>

#include "forms/bgr_color.h"

namespace tavrin::charts {

using forms::BgrFromColor;
using forms::ColorFromBgr;

// Number of entries of the structure palette.
constexpr int kStructurePaletteSize = 14;

// Slice colour of category position 1, 2, ...; the palette repeats after its
// last entry, so position 15 takes the colour of position 1.
uint32_t StructurePaletteColor(int position);

}  // namespace tavrin::charts
