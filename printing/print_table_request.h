// What a print table is built from: the list, its printed and formula
// columns, title, date line, summary, lines, colours, paper and remark.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavrin::printing {

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

}  // namespace tavrin::printing
