// RFC 4180 records: cells split at commas, quoted cells may hold commas,
// doubled quotes and line breaks; lines end in CRLF or LF.
#include "item_csv.h"

namespace tavrin::dbtool {

bool ParseCsv(const std::string& text, std::vector<CsvRecord>* records, std::string* error) {
    size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int32_t line = 1;
    while (i < text.size()) {
        CsvRecord record;
        record.line = line;
        std::string cell;
        bool quoted = false, inQuotes = false;
        for (;;) {
            if (i >= text.size()) {
                if (inQuotes) {
                    *error = "line " + std::to_string(record.line) + ": a quoted cell never ends";
                    return false;
                }
                record.cells.push_back(std::move(cell));
                break;
            }
            const char c = text[i++];
            if (inQuotes) {
                if (c == '"' && i < text.size() && text[i] == '"') {
                    cell += '"';
                    ++i;
                } else if (c == '"') {
                    inQuotes = false;
                } else {
                    if (c == '\n') ++line;
                    cell += c;
                }
            } else if (c == '"' && cell.empty() && !quoted) {
                inQuotes = quoted = true;
            } else if (c == ',') {
                record.cells.push_back(std::move(cell));
                cell.clear();
                quoted = false;
            } else if (c == '\r' && i < text.size() && text[i] == '\n') {
                continue;  // the LF ends the record
            } else if (c == '\n') {
                ++line;
                record.cells.push_back(std::move(cell));
                break;
            } else {
                cell += c;
            }
        }
        records->push_back(std::move(record));
    }
    return true;
}

}  // namespace tavrin::dbtool
