// The print table: an item list built into the table component of the hidden
// background print window (title, date line, rule, header, rows, formula
// columns, summary row, lines, colours, remark, fixed rows, print settings),
// then previewed; the window's timer closes it again once the preview is gone.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavrin::analysis {

enum class SummaryMode { kNone, kCount, kStatistics };

// Color schemes: 0 default, 1 built-in (header, body), 2 custom rows (header,
// odd, even), 3 custom columns (header, odd, even). Colors are 0x00BBGGRR.
struct ColorScheme {
    int32_t scheme = 0;
    uint32_t header = 0, first = 0, second = 0;
};

struct TitleFont {
    std::string face;  // GBK
    uint32_t color = 0;
    bool bold = false;
    int32_t size = 0;  // the report engine's units (the dialog's size × kReportUnitsPerPixel)
};

struct PrintTableRequest {
    uint32_t sourceWindow = 0, sourceList = 0;
    std::string title;  // GBK
    TitleFont titleFont;
    std::string dateLine;          // GBK
    std::vector<int32_t> columns;  // printed list columns, 0-based, in list order
    bool serialColumn = false;
    int32_t rowsPerPage = 0;  // 0: automatic
    int32_t lineStyle = 1;    // 1–4
    int32_t paper = 0;
    int32_t orientation = 0;  // 0 portrait, 1 landscape
    int32_t fontSize = 30;
    SummaryMode summary = SummaryMode::kNone;
    std::vector<std::string> statisticsColumns;  // GBK header texts (mode kStatistics)
    int32_t pageNumberPosition = 0;
    ColorScheme colors;
    std::string remark;                                         // GBK
    std::vector<std::pair<std::string, std::string>> formulas;  // title, formula (GBK)
};

// Builds the table and opens its preview; false when it stopped with a message.
bool BuildPrintTable(const PrintTableRequest& request);

// The background window's timer (its template's, not started by the print
// table): closes the background window when the preview it opened is gone. The
// preview's end closes it by itself: the print table holds the preview it opened.
void PreviewTimerTick();

}  // namespace tavrin::analysis
