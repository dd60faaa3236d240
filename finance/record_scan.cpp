// Chunked scans of the current database through the engine.
#include "finance/record_scan.h"

#include "recordstore/database_manager.h"
#include "recordstore/record_file.h"

namespace finance {

using namespace tavrin;

int32_t ScanCurrentDatabase(const std::function<void(int32_t index, int32_t serial)>& visit) {
    rs::Database* db = DatabaseManager::instance().current();
    if (db == nullptr) return rs::kNoCurrentDatabase;
    rs::WholeLock whole(db->records, DatabaseLockWaitTime());
    if (whole.code() != rs::kOk) return whole.code();
    int32_t count = 0;
    if (int32_t code = rs::ReadRecordCount(*db, &count); code != rs::kOk) return code;
    const uint8_t* savedRecord = db->scanRecord;
    const int32_t savedCurrent = db->current;
    const int32_t code =
        rs::ScanRecords(*db, 0, count, [&](const uint8_t* record, int32_t index) -> int32_t {
            db->scanRecord = record;
            db->current = index;
            visit(index, rs::GetI32(record));
            return 0;
        });
    db->scanRecord = savedRecord;
    db->current = savedCurrent;
    return code;
}

int32_t SerialOfRecord(int32_t index) {
    rs::Database* db = DatabaseManager::instance().current();
    if (db == nullptr || index < 0) return 0;
    uint8_t tag[4];
    size_t got = 0;
    if (db->records.file.readAt(db->recordOffset(index), tag, 4, &got) != rs::kOk || got != 4)
        return 0;
    return rs::GetI32(tag);
}

int32_t FindRecordBySerial(int32_t serial, int32_t* index, int32_t hint) {
    *index = -1;
    rs::Database* db = DatabaseManager::instance().current();
    if (db == nullptr) return rs::kNoCurrentDatabase;
    if (serial == 0) return rs::kOk;
    rs::WholeLock whole(db->records, DatabaseLockWaitTime());
    if (whole.code() != rs::kOk) return whole.code();
    int32_t count = 0;
    if (int32_t code = rs::ReadRecordCount(*db, &count); code != rs::kOk) return code;
    if (hint >= 0 && hint < count) {
        uint8_t tag[4];
        size_t got = 0;
        const int32_t code = db->records.file.readAt(db->recordOffset(hint), tag, 4, &got);
        if (code == rs::kOk && got == 4 && rs::GetI32(tag) == serial) {
            *index = hint;
            return rs::kOk;
        }
    }
    return rs::ScanRecords(*db, 0, count, [&](const uint8_t* record, int32_t i) -> int32_t {
        if (rs::GetI32(record) != serial) return 0;
        *index = i;
        return 1;
    });
}

}  // namespace finance
