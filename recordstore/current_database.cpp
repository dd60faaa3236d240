// The current database's record, fields, scans and whole-database lock.
#include "recordstore/current_database.h"

#include "internal/record_file.h"
#include "recordstore/database_manager.h"

namespace tavrin::rs {

int32_t CurrentRecordIndex() {
    const Database* db = DatabaseManager::instance().current();
    return db ? db->current : -1;
}

std::vector<FieldInfo> CurrentDatabaseFields() {
    std::vector<FieldInfo> out;
    if (const Database* db = DatabaseManager::instance().current())
        for (const FieldDescriptor& f : db->fields)
            out.push_back({f.name, f.type, f.size, f.width});
    return out;
}

Code WithCurrentDatabaseLocked(int32_t waitMs, const std::function<void()>& work) {
    Database* db = DatabaseManager::instance().current();
    if (db == nullptr) return Code::kNoCurrentDatabase;
    WholeLock whole(db->records, waitMs);
    if (whole.code() == Code::kOk) work();
    return whole.code();
}

Code ScanCurrentDatabase(const std::function<void(int32_t index, int32_t serial)>& visit) {
    Database* db = DatabaseManager::instance().current();
    if (db == nullptr) return Code::kNoCurrentDatabase;
    WholeLock whole(db->records, DatabaseLockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();
    int32_t count = 0;
    if (Code code = ReadRecordCount(*db, &count); code != Code::kOk) return code;
    ScanScope scope(*db);
    return ScanRecords(*db, 0, count, [&](const uint8_t* record, int32_t index) -> ScanStep {
        scope.visit(record, index);
        visit(index, GetI32(record));
        return ScanStep::GoOn();
    });
}

Code CurrentCountAndSerial(int32_t* count, int32_t* nextSerial) {
    *count = *nextSerial = -1;
    Database* db = DatabaseManager::instance().current();
    if (db == nullptr) return Code::kNoCurrentDatabase;
    uint8_t bytes[8];
    size_t got = 0;
    if (db->records.file.readAt(kHeaderCount, bytes, 8, &got) != Code::kOk || got != 8)
        return Code::kRecordCountFailed;
    *count = GetI32(bytes);
    *nextSerial = GetI32(bytes + 4);
    return Code::kOk;
}

int32_t SerialOfRecord(int32_t index) {
    Database* db = DatabaseManager::instance().current();
    if (db == nullptr || index < 0) return 0;
    uint8_t tag[4];
    size_t got = 0;
    if (db->records.file.readAt(db->recordOffset(index), tag, 4, &got) != Code::kOk || got != 4)
        return 0;
    return GetI32(tag);
}

Code FindRecordBySerial(int32_t serial, int32_t* index, int32_t hint) {
    *index = -1;
    Database* db = DatabaseManager::instance().current();
    if (db == nullptr) return Code::kNoCurrentDatabase;
    if (serial == 0) return Code::kOk;
    WholeLock whole(db->records, DatabaseLockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();
    int32_t count = 0;
    if (Code code = ReadRecordCount(*db, &count); code != Code::kOk) return code;
    if (hint >= 0 && hint < count) {
        uint8_t tag[4];
        size_t got = 0;
        const Code code = db->records.file.readAt(db->recordOffset(hint), tag, 4, &got);
        if (code == Code::kOk && got == 4 && GetI32(tag) == serial) {
            *index = hint;
            return Code::kOk;
        }
    }
    return ScanRecords(*db, 0, count, [&](const uint8_t* record, int32_t i) -> ScanStep {
        if (GetI32(record) != serial) return ScanStep::GoOn();
        *index = i;
        return ScanStep::Stop();
    });
}

}  // namespace tavrin::rs
