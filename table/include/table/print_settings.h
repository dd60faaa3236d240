// The print-settings record of the table (type 0x00010028): what DsPrintSettings
// applies and the report engine pages and prints with. Margins are in the
// engine's units (0.1 mm); paper numbers as the printer commands know them.
#pragma once

#include <cstdint>

#include "forms/template_format.h"
#include "runtime/value.h"

namespace tavrin::table {

constexpr uint32_t kPrintSettingsType = forms::TypeId::kPrintSettings;

// The engine's units (0.1 mm) a screen pixel or a point stands for: column
// widths, font sizes and margins of a table are written in them.
constexpr double kReportUnitsPerPixel = 3.3;

struct PrintSettings {
    int32_t paper = 0;        // 0 the printer's default, 1 A3, 2 A4, ... 8 32K, 9–16, ≥1000
    int32_t orientation = 0;  // 1 landscape, anything else portrait
    int32_t marginLeft = 180, marginTop = 180, marginRight = 180, marginBottom = 180;
    int32_t rowsPerPage = 0;         // 0: by height
    int32_t pageNumberPosition = 0;  // 0 none, 1–3 above (left, centre, right), 4–6 below
};
static_assert(sizeof(PrintSettings) == 32);

// A print-settings value: the record stays the caller's.
inline Value MakePrintSettingsValue(const PrintSettings* record) {
    Value v;
    v.setPointer(record);
    v.type = kPrintSettingsType;
    return v;
}

}  // namespace tavrin::table
