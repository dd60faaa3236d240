// Import of CSV rows into an item file. Every row is checked and turned into
// its record image before anything is written, so a file with a bad row stays
// as it was (unless the bad rows are to be skipped); the images then go in
// after the last record and are counted once they are all on disk.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "item_csv.h"
#include "money/amount_rule.h"
#include "money/money_text.h"
#include "recordstore/database_manager.h"
#include "runtime/gbk.h"
#include "tool.h"

namespace tavrin::dbtool {

using namespace rs;

namespace {

enum Role { kCategory, kAmount, kTime, kRemark, kRoles };

struct Row {
    int32_t line;
    std::vector<uint8_t> image;  // the record after its tag
};

// Why a UTF-8 cell cannot go into a text field: a character GBK has no place
// for would be stored as "?".
std::optional<std::string> TextRefusal(const std::string& utf8, const FieldDescriptor& f) {
    const std::optional<std::string> c = NonGbkCharacter(utf8);
    if (!c) return std::nullopt;
    return GbkToUtf8(f.name) + ": \"" + utf8 + "\" holds " + *c +
           ", which the record files (GBK) cannot hold";
}

// The GBK form of a UTF-8 cell GBK holds, cut to the field's width at a whole
// character; warnings name what was lost.
std::string FieldGbk(const std::string& utf8, const FieldDescriptor& f, int32_t line,
                     std::vector<std::string>* warnings) {
    std::string gbk = Utf8ToGbk(utf8);
    const std::string where = "line " + std::to_string(line) + ": " + GbkToUtf8(f.name);
    if (gbk.size() > size_t(f.width)) {
        gbk.resize(GbkWholeCharacterPrefix(gbk, size_t(f.width)));
        warnings->push_back(where + ": cut to " + std::to_string(f.width) + " bytes: \"" +
                            GbkToUtf8(gbk) + "\"");
    }
    return gbk;
}

// The record image of one row, or the reason it is refused. An amount single
// precision cannot keep to the cent is refused unless `round` is set; then it
// counts in *rounded.
std::optional<std::string> RowImage(const ItemLayout& layout, int32_t recordSize,
                                    const CsvRecord& csv, const int32_t (&column)[kRoles],
                                    bool round, std::vector<uint8_t>* image, int32_t* rounded,
                                    std::vector<std::string>* warnings) {
    const std::string& category = csv.cells[size_t(column[kCategory])];
    const std::string& amount = csv.cells[size_t(column[kAmount])];
    const std::string& date = csv.cells[size_t(column[kTime])];
    if (category.empty()) return "no category";
    if (std::optional<std::string> refusal = TextRefusal(category, *layout.category))
        return refusal;
    if (column[kRemark] >= 0) {
        const std::string& remark = csv.cells[size_t(column[kRemark])];
        if (std::optional<std::string> refusal = TextRefusal(remark, *layout.remark))
            return refusal;
    }
    const money::AmountReading reading = money::ReadAmount(Utf8ToGbk(amount));
    const std::string limit = std::to_string(int64_t(money::kAmountLimit));
    switch (reading.verdict) {
        case money::AmountVerdict::kEmpty:
            return std::string("no amount");
        case money::AmountVerdict::kNotPositive:
            return "amount \"" + amount + "\" is not a plain decimal number above 0 (such as " +
                   "1200, 12.5 or 1,200.50)";
        case money::AmountVerdict::kTooLarge:
            return "amount \"" + amount + "\": 金额必须小于" + limit +
                   "元 (amounts must be below " + limit + ")";
        case money::AmountVerdict::kAccepted:
            break;
    }
    if (!reading.exact && !round)
        return "amount \"" + amount + "\" would be stored as " + money::MoneyText(reading.stored) +
               " (single precision keeps no closer amount to the cent); --round stores that";
    const std::optional<double> days = ParseIsoDate(date);
    if (!days) return "date \"" + date + "\" is not YYYY-MM-DD[THH:MM:SS]";
    image->assign(size_t(recordSize - 4), 0);
    uint8_t* base = image->data() - 4;  // field offsets count the tag
    const std::string categoryGbk = FieldGbk(category, *layout.category, csv.line, warnings);
    std::memcpy(base + layout.category->offset, categoryGbk.data(), categoryGbk.size());
    std::memcpy(base + layout.amount->offset, &reading.stored, 4);
    if (!reading.exact) ++*rounded;
    PutF64(base + layout.time->offset, *days);
    if (column[kRemark] >= 0) {
        const std::string remarkGbk =
            FieldGbk(csv.cells[size_t(column[kRemark])], *layout.remark, csv.line, warnings);
        std::memcpy(base + layout.remark->offset, remarkGbk.data(), remarkGbk.size());
    }
    return std::nullopt;
}

int Fail(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
}

}  // namespace

int ImportItems(const std::string& file, const std::string& csvFile, bool skipBad, bool round) {
    std::unique_ptr<Database> db;
    if (Code code = OpenItemFile(file, false, &db); code != Code::kOk)
        return Fail(GbkToUtf8(DatabaseError(code)));
    const ItemLayout layout = LayoutOf(*db);
    if (!layout.valid())
        return Fail(file + " is not an item file (two texts, a single, a date-time)");
    std::ifstream in(csvFile, std::ios::binary);
    if (!in) return Fail("cannot read " + csvFile);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::vector<CsvRecord> records;
    std::string error;
    if (!IsUtf8(buffer.str())) return Fail(csvFile + ": " + kNotUtf8);
    if (!ParseCsv(buffer.str(), &records, &error)) return Fail(csvFile + ": " + error);
    if (records.empty()) return Fail(csvFile + ": no header line");

    // The header names the columns; the remark column may be left out.
    const FieldDescriptor* roles[kRoles] = {layout.category, layout.amount, layout.time,
                                            layout.remark};
    int32_t column[kRoles] = {-1, -1, -1, -1};
    const std::vector<std::string>& header = records[0].cells;
    for (size_t c = 0; c < header.size(); ++c) {
        int32_t role = -1;
        for (int32_t r = 0; r < kRoles && role < 0; ++r)
            if (EqualNoCase(Utf8ToGbk(header[c]), roles[r]->name)) role = r;
        if (role < 0) return Fail(csvFile + ": line 1: no field \"" + header[c] + "\" in " + file);
        if (column[role] >= 0) return Fail(csvFile + ": line 1: \"" + header[c] + "\" twice");
        column[role] = int32_t(c);
    }
    for (int32_t r = 0; r < kRemark; ++r)
        if (column[r] < 0)
            return Fail(csvFile + ": line 1: no column \"" + GbkToUtf8(roles[r]->name) + "\"");

    std::vector<Row> rows;
    rows.reserve(records.size());
    std::vector<std::string> bad, warnings;
    int32_t rounded = 0;
    for (size_t i = 1; i < records.size(); ++i) {
        const CsvRecord& csv = records[i];
        if (csv.cells.size() == 1 && csv.cells[0].empty()) continue;  // a blank line
        Row row{csv.line, {}};
        std::optional<std::string> refusal;
        if (csv.cells.size() != header.size())
            refusal = std::to_string(csv.cells.size()) + " cells, the header has " +
                      std::to_string(header.size());
        else
            refusal = RowImage(layout, db->recordSize, csv, column, round, &row.image, &rounded,
                               &warnings);
        if (refusal)
            bad.push_back("line " + std::to_string(csv.line) + ": " + *refusal);
        else
            rows.push_back(std::move(row));
    }
    for (const std::string& w : warnings) std::fprintf(stderr, "warning: %s\n", w.c_str());
    for (const std::string& b : bad) std::fprintf(stderr, "%s\n", b.c_str());
    if (!bad.empty() && !skipBad)
        return Fail(std::to_string(bad.size()) + " bad rows; nothing imported (--skip-bad " +
                    "imports the good rows)");

    // Under the whole-file lock another program sees the import whole or not
    // at all; the rows are made part of the file only once all are on disk.
    WholeLock whole(db->records, LockWaitTime());
    if (whole.code() != Code::kOk) return Fail(GbkToUtf8(DatabaseError(whole.code())));
    std::vector<const uint8_t*> bodies;
    bodies.reserve(rows.size());
    for (const Row& row : rows) bodies.push_back(row.image.data());
    if (Code code = AppendRecordImages(*db, bodies); code != Code::kOk)
        return Fail(GbkToUtf8(DatabaseError(code)) + "; nothing imported");
    std::fprintf(stderr, "%zu rows imported%s\n", rows.size(),
                 bad.empty() ? "" : (", " + std::to_string(bad.size()) + " skipped").c_str());
    if (rounded > 0)
        std::fprintf(stderr, "%d %s rounded to the nearest amount single precision keeps\n",
                     rounded, rounded == 1 ? "row" : "rows");
    return 0;
}

}  // namespace tavrin::dbtool
