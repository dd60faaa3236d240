// Single-record operations: the record count under the header lock, append,
// field reads and writes that touch only the field's bytes, marking, and the
// chunked scan that multi-record commands build on.
#include <algorithm>

#include "internal/record_file.h"
#include "internal/scratch_bytes.h"

namespace tavrin::rs {

int32_t HeaderLockWait() {
    // Reading the record count waits at least 2000 ms for the header byte; a
    // wait time of -1 (for ever) is already longer.
    int32_t wait = LockWaitTime();
    return (wait >= 0 && wait < 2000) ? 2000 : wait;
}

Code ReadRecordCount(Database& db, int32_t* count) {
    *count = 0;
    ByteLock header(db.records, kHeaderCount, HeaderLockWait());
    if (header.code() != Code::kOk) return header.code();
    uint8_t bytes[4];
    size_t got = 0;
    if (db.records.file.readAt(kHeaderCount, bytes, 4, &got) != Code::kOk || got < 4) {
        return Code::kRecordCountFailed;
    }
    *count = std::max(0, GetI32(bytes));
    return Code::kOk;
}

Code PeekRecordCount(Database& db, int32_t* count) {
    *count = 0;
    uint8_t bytes[4];
    size_t got = 0;
    if (db.records.file.readAt(kHeaderCount, bytes, 4, &got) != Code::kOk || got < 4) {
        return Code::kRecordCountFailed;
    }
    *count = std::max(0, GetI32(bytes));
    return Code::kOk;
}

// The record count and the next serial as the header holds them; the caller
// holds the header lock.
static Code ReadCountAndSerial(Database& db, int32_t* count, int32_t* serial) {
    uint8_t pair[8];
    size_t got = 0;
    if (db.records.file.readAt(kHeaderCount, pair, 8, &got) != Code::kOk || got < 8) {
        return Code::kRecordCountFailed;
    }
    *count = std::max(0, GetI32(pair));
    *serial = std::max(1, GetI32(pair + kHeaderNextSerial - kHeaderCount));
    return Code::kOk;
}

// A new record count and next serial into the header (synced when asked),
// then into the open database's copy of it.
static Code WriteCountAndSerial(Database& db, int32_t count, int32_t serial, bool sync) {
    uint8_t pair[8];
    PutI32(pair, count);
    PutI32(pair + kHeaderNextSerial - kHeaderCount, serial);
    if (Code code = db.records.file.writeAt(kHeaderCount, pair, 8); code != Code::kOk) return code;
    if (sync) {
        if (Code code = db.records.file.syncData(); code != Code::kOk) return code;
    }
    std::memcpy(db.header + kHeaderCount, pair, 8);
    return Code::kOk;
}

static Code AppendRecordUnguarded(Database& db, bool keepRecordLock) {
    ByteLock header(db.records, kHeaderCount, HeaderLockWait());
    if (header.code() != Code::kOk) return header.code();
    int32_t count = 0, serial = 0;
    if (Code code = ReadCountAndSerial(db, &count, &serial); code != Code::kOk) return code;
    if (count == 0x7FFFFFFF || serial == 0x7FFFFFFF) return Code::kWriteRecordFailed;
    const uint64_t at = db.recordOffset(count);
    ByteLock record(db.records, at, LockWaitTime());
    if (record.code() != Code::kOk) return record.code();
    uint64_t length = 0;
    if (Code code = db.records.file.size(&length); code != Code::kOk) return code;
    if (length < at) return Code::kSeekFailed;

    ScratchBytes<512> scratch(size_t(db.recordSize));
    uint8_t* image = scratch.data();
    PutI32(image, serial);
    if (Code code = db.records.file.writeAt(at, image, size_t(db.recordSize)); code != Code::kOk) {
        return code;
    }
    if (Code code = WriteCountAndSerial(db, count + 1, serial + 1, false); code != Code::kOk)
        return code;
    db.current = count;
    if (keepRecordLock) record.keep();
    return Code::kOk;
}

// No exception leaves the engine.
Code AppendRecord(Database& db, bool keepRecordLock) {
    try {
        return AppendRecordUnguarded(db, keepRecordLock);
    } catch (...) {
        return Code::kWriteRecordFailed;
    }
}

static Code AppendRecordImagesUnguarded(Database& db, const std::vector<const uint8_t*>& bodies) {
    ByteLock header(db.records, kHeaderCount, HeaderLockWait());
    if (header.code() != Code::kOk) return header.code();
    int32_t count = 0, serial = 0;
    if (Code code = ReadCountAndSerial(db, &count, &serial); code != Code::kOk) return code;
    const int64_t n = int64_t(bodies.size());
    if (n == 0) return Code::kOk;
    if (count + n >= 0x7FFFFFFF || serial + n >= 0x7FFFFFFF) return Code::kWriteRecordFailed;
    uint64_t length = 0;
    if (Code code = db.records.file.size(&length); code != Code::kOk) return code;
    if (length < db.recordOffset(count)) return Code::kSeekFailed;
    const size_t rs = size_t(db.recordSize);
    const int32_t chunk = ChunkRecords(db.recordSize);
    std::vector<uint8_t> buffer(size_t(std::min<int64_t>(chunk, n)) * rs);
    for (int64_t first = 0; first < n;) {
        const int64_t k = std::min<int64_t>(chunk, n - first);
        for (int64_t i = 0; i < k; ++i) {
            uint8_t* image = &buffer[size_t(i) * rs];
            PutI32(image, serial + int32_t(first + i));
            std::memcpy(image + 4, bodies[size_t(first + i)], rs - 4);
        }
        if (Code code = db.records.file.writeAt(db.recordOffset(count + first), buffer.data(),
                                                size_t(k) * rs);
            code != Code::kOk) {
            return code;
        }
        first += k;
    }
    // The records are durable before the count takes them in; until then a
    // cut leaves only bytes past the last record, which the next open drops.
    if (Code code = db.records.file.syncData(); code != Code::kOk) return code;
    if (Code code = WriteCountAndSerial(db, count + int32_t(n), serial + int32_t(n), true);
        code != Code::kOk) {
        return code;
    }
    db.current = count + int32_t(n) - 1;
    return Code::kOk;
}

// No exception leaves the engine.
Code AppendRecordImages(Database& db, const std::vector<const uint8_t*>& bodies) {
    try {
        return AppendRecordImagesUnguarded(db, bodies);
    } catch (...) {
        return Code::kWriteRecordFailed;
    }
}

Code ReadFieldBytes(Database& db, int32_t record, const FieldDescriptor& field, uint8_t* out) {
    AssertFieldInRecord(db, field);
    if (db.scanRecord() != nullptr) {
        std::memcpy(out, db.scanRecord() + field.offset, size_t(field.width));
        return Code::kOk;
    }
    if (record < 0) return Code::kNoCurrentRecord;
    const uint64_t start = db.recordOffset(record);
    ByteLock lock(db.records, start, LockWaitTime());
    if (lock.code() != Code::kOk) return lock.code();
    size_t got = 0;
    Code code =
        db.records.file.readAt(start + uint64_t(field.offset), out, size_t(field.width), &got);
    if (code != Code::kOk) return code;
    if (got == 0 && field.width > 0) return Code::kSeekFailed;  // at or beyond the end of the file
    if (got < size_t(field.width)) return Code::kReadFieldFailed;
    return Code::kOk;
}

Code WriteFieldBytes(Database& db, int32_t record, const FieldDescriptor& field,
                     const uint8_t* bytes, bool* recordInside) {
    AssertFieldInRecord(db, field);
    if (record < 0) return Code::kNoCurrentRecord;
    const uint64_t start = db.recordOffset(record);
    ByteLock lock(db.records, start, LockWaitTime());
    if (lock.code() != Code::kOk) return lock.code();
    const uint64_t at = start + uint64_t(field.offset);
    if (recordInside == nullptr || !*recordInside) {
        uint64_t length = 0;
        if (Code code = db.records.file.size(&length); code != Code::kOk) return code;
        if (recordInside != nullptr) *recordInside = start + uint64_t(db.recordSize) <= length;
        if (at + uint64_t(field.width) > length) return Code::kNoCurrentRecord;
    }
    return db.records.file.writeAt(at, bytes, size_t(field.width));
}

Code MarkRecord(Database& db, int32_t record, bool deleted) {
    if (record < 0) return Code::kNoCurrentRecord;
    const uint64_t start = db.recordOffset(record);
    ByteLock lock(db.records, start, LockWaitTime());
    if (lock.code() != Code::kOk) return lock.code();
    uint8_t tag[4];
    size_t got = 0;
    if (Code code = db.records.file.readAt(start, tag, 4, &got); code != Code::kOk) return code;
    if (got < 4) return Code::kNoCurrentRecord;
    const int32_t value = GetI32(tag);
    if ((deleted && value > 0) || (!deleted && value < 0)) {
        PutI32(tag, -value);
        return db.records.file.writeAt(start, tag, 4);
    }
    return Code::kOk;
}

static Code ScanRecordsUnguarded(Database& db, int32_t start, int32_t count,
                                 const RecordVisitor& visit) {
    if (start < 0) start = 0;
    if (start >= count) return Code::kOk;
    assert(db.recordSize > 0);  // the open refuses any other size
    const int32_t chunk = ChunkRecords(db.recordSize);
    const size_t capacity = size_t(std::min(chunk, count - start));
    std::vector<uint8_t> buffer(capacity * size_t(db.recordSize));
    for (int32_t first = start; first < count;) {
        const int32_t n = std::min<int32_t>(int32_t(capacity), count - first);
        const size_t bytes = size_t(n) * size_t(db.recordSize);
        size_t got = 0;
        Code code = db.records.file.readAt(db.recordOffset(first), buffer.data(), bytes, &got);
        if (code != Code::kOk) return code;
        if (got < bytes) return Code::kReadRecordFailed;
        for (int32_t i = 0; i < n; ++i) {
            const ScanStep step = visit(&buffer[size_t(i) * size_t(db.recordSize)], first + i);
            if (step.endsScan()) return step.code();
        }
        first += n;
    }
    return Code::kOk;
}

// No exception leaves the engine.
Code ScanRecords(Database& db, int32_t start, int32_t count, const RecordVisitor& visit) {
    try {
        return ScanRecordsUnguarded(db, start, count, visit);
    } catch (...) {
        return Code::kReadRecordFailed;
    }
}

}  // namespace tavrin::rs
