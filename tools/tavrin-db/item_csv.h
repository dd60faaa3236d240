// Item files as CSV: export with ISO 8601 dates and amounts as the program
// shows them (to the cent), import validated row by row as the program
// validates an add.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "internal/record_file.h"

namespace tavrin::dbtool {

int ExportItems(const std::string& file);
// An amount single precision cannot keep to the cent refuses its row unless
// `round` is set, which stores the nearest amount and counts it.
int ImportItems(const std::string& file, const std::string& csvFile, bool skipBad, bool round);

// The four fields of an item file: category and remark texts, a single-precision
// amount, a date-time. Null members when the file is not shaped so.
struct ItemLayout {
    const rs::FieldDescriptor* category = nullptr;
    const rs::FieldDescriptor* amount = nullptr;
    const rs::FieldDescriptor* time = nullptr;
    const rs::FieldDescriptor* remark = nullptr;
    bool valid() const { return category && amount && time && remark; }
};
ItemLayout LayoutOf(const rs::Database& db);
// Opens a record file of the command line (UTF-8 name); an engine code.
rs::Code OpenItemFile(const std::string& file, bool readOnly, std::unique_ptr<rs::Database>* db);

// "YYYY-MM-DD", with "THH:MM:SS" when the time is not midnight.
std::string IsoDateText(double days);
// "YYYY-MM-DD", "YYYY-MM-DDTHH:MM:SS" or with a blank for the T.
std::optional<double> ParseIsoDate(const std::string& text);

// CSV records (RFC 4180; a UTF-8 byte-order mark is skipped) with the line each starts on.
struct CsvRecord {
    int32_t line = 0;
    std::vector<std::string> cells;
};
// False with *error (and its line) when a quoted cell never ends.
bool ParseCsv(const std::string& text, std::vector<CsvRecord>* records, std::string* error);

}  // namespace tavrin::dbtool
