// Export of an item file as CSV, and the text forms of dates and amounts that
// export and import share.
#include <cmath>
#include <cstdio>

#include "item_csv.h"
#include "money/money_text.h"
#include "recordstore/database_manager.h"
#include "runtime/base/calendar.h"
#include "runtime/base/little_endian.h"
#include "runtime/gbk.h"
#include "runtime/kernel/conversion_commands.h"
#include "tool.h"

namespace tavrin::dbtool {

using namespace rs;

Code OpenItemFile(const std::string& file, bool readOnly, std::unique_ptr<Database>* db) {
    return OpenFile(file, readOnly, db);
}

ItemLayout LayoutOf(const Database& db) {
    ItemLayout layout;
    if (db.fields.size() != 4) return layout;
    for (const FieldDescriptor& f : db.fields) {
        if (f.type == kFieldFloat && !layout.amount) {
            layout.amount = &f;
        } else if (f.type == kFieldDateTime && !layout.time) {
            layout.time = &f;
        } else if (f.type == kFieldText && !layout.category) {
            layout.category = &f;
        } else if (f.type == kFieldText && !layout.remark) {
            layout.remark = &f;
        } else {
            return ItemLayout{};
        }
    }
    return layout;
}

std::string IsoDateText(double days) {
    const kernel::CalendarParts p = kernel::SplitDateTime(ClampDateTime(days));
    char text[32];
    if (p.hour == 0 && p.minute == 0 && p.second == 0)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.year, p.month, p.day);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day,
                      p.hour, p.minute, p.second);
    return text;
}

std::optional<double> ParseIsoDate(const std::string& text) {
    std::string spaced = text;
    if (spaced.size() > 10 && spaced[10] == 'T') spaced[10] = ' ';
    return ParseDateTime(spaced);
}

int ExportItems(const std::string& file) {
    std::unique_ptr<Database> db;
    if (Code code = OpenItemFile(file, true, &db); code != Code::kOk) {
        std::fprintf(stderr, "%s\n", GbkToUtf8(DatabaseError(code)).c_str());
        return 1;
    }
    const ItemLayout layout = LayoutOf(*db);
    if (!layout.valid()) {
        std::fprintf(stderr, "%s is not an item file (two texts, a single, a date-time)\n",
                     file.c_str());
        return 1;
    }
    const FieldDescriptor* order[] = {layout.category, layout.amount, layout.time, layout.remark};
    std::string out;
    for (const FieldDescriptor* f : order)
        out += (out.empty() ? "" : ",") + CsvCell(GbkToUtf8(f->name));
    out += "\r\n";
    WholeLock whole(db->records, LockWaitTime());
    int32_t count = 0;
    Code code = whole.code();
    if (code == Code::kOk) code = ReadRecordCount(*db, &count);
    if (code == Code::kOk)
        code = ScanRecords(*db, 0, count, [&](const uint8_t* record, int32_t) -> ScanStep {
            const auto amount = LoadLe<float>(record + layout.amount->offset);
            out += CsvCell(FieldText(*layout.category, record + layout.category->offset, {}));
            out += "," + money::MoneyText(amount);
            out += "," + IsoDateText(GetF64(record + layout.time->offset));
            out += "," + CsvCell(FieldText(*layout.remark, record + layout.remark->offset, {}));
            out += "\r\n";
            if (out.size() > (1u << 20)) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
            return ScanStep::GoOn();
        });
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (code != Code::kOk) {
        std::fprintf(stderr, "%s\n", GbkToUtf8(DatabaseError(code)).c_str());
        return 1;
    }
    return 0;
}

}  // namespace tavrin::dbtool
