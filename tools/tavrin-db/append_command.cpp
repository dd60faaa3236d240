// tavrin-db append: one record from NAME=VALUE arguments, or the rows of a CSV
// on standard input (what dump prints). Every value is checked before the
// first record is appended, so a mistake anywhere adds nothing.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>

#include "item_csv.h"
#include "recordstore/database_manager.h"
#include "recordstore/record_commands.h"
#include "runtime/commands.h"
#include "runtime/gbk.h"
#include "tool.h"

namespace tavrin::dbtool {

using namespace rs;

namespace {

// The texts of one record's values, by 1-based field position.
struct Row {
    int32_t line = 0;  // 0 for the command-line form
    std::vector<std::pair<int32_t, std::string>> values;
};

std::string EngineText(Code code) {
    return GbkToUtf8(DatabaseError(code));
}

std::string Where(const Row& row) {
    return row.line > 0 ? "line " + std::to_string(row.line) + ": " : std::string();
}

// The shortest text of the value a number field stores for `text`, when it is
// not the number written; nullopt when the field holds it as written.
std::optional<std::string> RoundedTo(const FieldDescriptor& f, const Value& v,
                                     const std::string& text) {
    std::string stored;
    if (f.type == kFieldFloat && std::isfinite(v.asFloat())) stored = ShortestText(v.asFloat());
    if (f.type == kFieldDouble && std::isfinite(v.asDouble())) stored = ShortestText(v.asDouble());
    if (stored.empty() || SameDecimal(text, stored)) return std::nullopt;
    return stored;
}

// Why the row cannot be appended as written; nullopt when it can. A number
// the field's precision cannot hold counts in *rounded when rounding is allowed.
std::optional<std::string> CheckRow(const Database& db, const Row& row, bool round,
                                    int32_t* rounded) {
    bool roundedHere = false;
    for (const auto& [position, text] : row.values) {
        const FieldDescriptor& f = db.fields[size_t(position - 1)];
        const std::string name = GbkToUtf8(f.name);
        if (f.type == kFieldText || f.type == kFieldMemo) {
            if (std::optional<std::string> c = NonGbkCharacter(text))
                return Where(row) + name + ": \"" + text + "\" holds " + *c +
                       ", which the record files (GBK) cannot hold";
        }
        std::string keep;
        std::vector<uint8_t> keepBytes;
        const std::optional<Value> v = ParseValue(f, text, &keep, &keepBytes);
        if (!v) {
            return row.line > 0 ? Where(row) + name + "=" + text + ": " +
                                      EngineText(Code::kValueKindMismatch)
                                : EngineText(Code::kValueKindMismatch);
        }
        if (std::optional<std::string> to = RoundedTo(f, *v, text)) {
            if (!round)
                return Where(row) + name + "=" + text + ": the field (" + TypeName(f.type) +
                       ") holds the nearest value " + *to + " instead; --round stores that";
            roundedHere = true;
        }
    }
    *rounded += roundedHere ? 1 : 0;
    return std::nullopt;
}

// The 1-based position of a field named in UTF-8; 0 when there is none.
int32_t PositionOf(const Database& db, const std::string& utf8Name) {
    const std::string name = Utf8ToGbk(utf8Name);
    for (size_t i = 0; i < db.fields.size(); ++i)
        if (EqualNoCase(db.fields[i].name, name)) return int32_t(i) + 1;
    return 0;
}

int FailText(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
}
bool Refuse(const std::string& text) {
    FailText(text);
    return false;
}

// The rows of a CSV whose header names the fields; false after saying why.
bool ReadCsvRows(const Database& db, const std::string& text, std::vector<Row>* rows) {
    std::vector<CsvRecord> records;
    std::string error;
    if (!ParseCsv(text, &records, &error)) return Refuse("standard input: " + error);
    if (records.empty()) return Refuse("standard input: no header line");
    const std::vector<std::string>& header = records[0].cells;
    std::vector<int32_t> positions;  // 0: the engine's own tag column
    std::map<int32_t, bool> seen;
    for (const std::string& name : header) {
        const int32_t position = name == "_tag" ? 0 : PositionOf(db, name);
        if (name != "_tag" && position == 0)
            return Refuse("line 1: \"" + name + "\": " + EngineText(Code::kNoSuchField));
        if (position != 0 && seen[position]) return Refuse("line 1: \"" + name + "\" twice");
        seen[position] = true;
        positions.push_back(position);
    }
    for (size_t i = 1; i < records.size(); ++i) {
        const CsvRecord& csv = records[i];
        if (csv.cells.size() == 1 && csv.cells[0].empty()) continue;  // a blank line
        Row row{csv.line, {}};
        if (csv.cells.size() != header.size())
            return Refuse("line " + std::to_string(csv.line) + ": " +
                          std::to_string(csv.cells.size()) + " cells, the header has " +
                          std::to_string(header.size()));
        for (size_t c = 0; c < header.size(); ++c)
            if (positions[c] != 0) row.values.emplace_back(positions[c], csv.cells[c]);
        rows->push_back(std::move(row));
    }
    return true;
}

// The record of one checked row, appended and written.
Code AppendRow(const Database& db, const Row& row) {
    if (!CallKernel(AppendBlankRecord).asBool()) return LastDatabaseCode();
    for (const auto& [position, text] : row.values) {
        std::string keep;
        std::vector<uint8_t> keepBytes;
        const std::optional<Value> v =
            ParseValue(db.fields[size_t(position - 1)], text, &keep, &keepBytes);
        if (!CallKernel(WriteField, MakeInt(position), *v).asBool()) return LastDatabaseCode();
    }
    return Code::kOk;
}

}  // namespace

int Append(const std::string& file, const std::vector<std::string>& arguments) {
    if (file.empty()) return FailText(EngineText(Code::kFileNotFound));
    bool round = false, fromInput = false;
    std::vector<std::string> assignments;
    for (const std::string& a : arguments) {
        if (a == "--round")
            round = true;
        else if (a == "-")
            fromInput = true;
        else
            assignments.push_back(a);
    }
    if (fromInput && !assignments.empty())
        return FailText("append: values come either from NAME=VALUE arguments or from \"-\"");
    DatabaseManager& manager = DatabaseManager::instance();
    if (Code code = manager.open(Utf8ToGbk(file), OpenOptions{}); code != Code::kOk)
        return FailText(EngineText(code));
    const Database& db = *manager.current();

    std::vector<Row> rows;
    if (fromInput) {
        const std::string text((std::istreambuf_iterator<char>(std::cin)), {});
        if (!ReadCsvRows(db, text, &rows)) return 1;
    } else {
        Row row;
        for (const std::string& a : assignments) {
            const size_t eq = a.find('=');
            if (eq == std::string::npos) return FailText("bad value \"" + a + "\": NAME=VALUE");
            const int32_t position = PositionOf(db, a.substr(0, eq));
            if (position == 0) return FailText(EngineText(Code::kNoSuchField));
            row.values.emplace_back(position, a.substr(eq + 1));
        }
        rows.push_back(std::move(row));
    }

    int32_t rounded = 0;
    std::vector<std::string> refusals;
    for (const Row& row : rows)
        if (std::optional<std::string> why = CheckRow(db, row, round, &rounded))
            refusals.push_back(*why);
    for (const std::string& why : refusals) std::fprintf(stderr, "%s\n", why.c_str());
    if (!refusals.empty()) {
        if (fromInput) std::fprintf(stderr, "%zu bad rows; nothing appended\n", refusals.size());
        return 1;
    }
    for (const Row& row : rows) {
        if (Code code = AppendRow(db, row); code != Code::kOk) {
            manager.closeAll();
            return FailText(Where(row) + EngineText(code) +
                            (row.line > 0 ? "; the rows before it were appended" : ""));
        }
    }
    manager.closeAll();
    if (fromInput) std::fprintf(stderr, "%zu rows appended\n", rows.size());
    if (rounded > 0)
        std::fprintf(stderr, "%d %s rounded to the nearest value the field holds\n", rounded,
                     rounded == 1 ? "row" : "rows");
    return 0;
}

}  // namespace tavrin::dbtool
