// Colours of the charts: the structure chart's slice palette by category
// position, and the conversion of stored 0x00BBGGRR colours for painting.
#pragma once

#include <QColor>
#include <cstdint>

namespace tavrin::charts {

// Number of entries of the structure palette.
constexpr int kStructurePaletteSize = 14;

// Slice colour of category position 1, 2, ...; the palette repeats after its
// last entry, so position 15 takes the colour of position 1.
uint32_t StructurePaletteColour(int position);

// 0x00BBGGRR → QColor (the top byte is ignored).
inline QColor ColourFromBgr(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
inline uint32_t BgrFromColour(const QColor& c) {
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

}  // namespace tavrin::charts
