// Packing (removing the marked records, or a range of records) and emptying.
// Records move in chunks through one buffer; the write position trails the
// read position, so the file is rewritten in place front to back.
#include <algorithm>

#include "recordstore/block_file.h"
#include "recordstore/record_file.h"

namespace tavrin::rs {

namespace {

int32_t FreeChainsOf(Database& db, const uint8_t* record) {
    for (const FieldDescriptor& f : db.fields) {
        if (!IsChainField(f.type)) continue;
        int32_t first = GetI32(record + f.offset);
        if (first > 0) {
            if (int32_t code = FreeChain(db.blocks.get(), first); code != kOk) return code;
        }
    }
    return kOk;
}

int32_t ReadCountField(Database& db, int32_t* count) {
    uint8_t bytes[4];
    size_t got = 0;
    if (db.records.file.readAt(kHeaderCount, bytes, 4, &got) != kOk || got < 4) {
        return kRecordCountFailed;
    }
    *count = std::max(0, GetI32(bytes));
    return kOk;
}

int32_t PackLocked(Database& db, int32_t first, int32_t rangeCount) {
    int32_t count = 0;
    if (int32_t code = ReadCountField(db, &count); code != kOk) return code;
    // A count beyond the file's records would fail half-way through the move.
    uint64_t length = 0;
    if (int32_t code = db.records.file.size(&length); code != kOk) return code;
    const uint64_t present =
        length > db.dataOffset ? (length - db.dataOffset) / uint64_t(db.recordSize) : 0;
    if (uint64_t(count) > present) return kFileSizeWrong;
    const bool byMark = first < 0;
    if (!byMark && (rangeCount <= 0 || first >= count)) return kOk;
    const int64_t rangeEnd = byMark ? 0 : std::min<int64_t>(int64_t(first) + rangeCount, count);
    const size_t rs = size_t(db.recordSize);
    // Records before the range stay where they are and are not read.
    int32_t read = byMark ? 0 : first;
    int32_t write = read;
    const int32_t chunk = ChunkRecords(db.recordSize);
    std::vector<uint8_t> buffer(size_t(std::min(chunk, std::max(1, count - read))) * rs);
    bool dropped = false;
    while (read < count) {
        const int32_t n = std::min(chunk, count - read);
        size_t got = 0;
        if (int32_t code =
                db.records.file.readAt(db.recordOffset(read), buffer.data(), size_t(n) * rs, &got);
            code != kOk) {
            return code;
        }
        if (got < size_t(n) * rs) return kReadRecordFailed;
        int32_t kept = 0;
        for (int32_t i = 0; i < n; ++i) {
            uint8_t* record = &buffer[size_t(i) * rs];
            const int64_t index = int64_t(read) + i;
            const bool drop = byMark ? GetI32(record) < 0 : index < rangeEnd;
            if (drop) {
                if (int32_t code = FreeChainsOf(db, record); code != kOk) return code;
                dropped = true;
                continue;
            }
            if (kept != i) std::memmove(&buffer[size_t(kept) * rs], record, rs);
            ++kept;
        }
        // A chunk that lost records, or that moves back, is written at the write position.
        if (dropped && kept > 0 && (write != read || kept != n)) {
            if (int32_t code = db.records.file.writeAt(db.recordOffset(write), buffer.data(),
                                                       size_t(kept) * rs);
                code != kOk) {
                return code;
            }
        }
        write += kept;
        read += n;
    }
    if (!dropped) return kOk;
    uint8_t bytes[4];
    PutI32(bytes, write);
    if (int32_t code = db.records.file.writeAt(kHeaderCount, bytes, 4); code != kOk) return code;
    std::memcpy(db.header + kHeaderCount, bytes, 4);
    return db.records.file.truncate(db.recordOffset(write));
}

}  // namespace

int32_t PackRecords(Database& db, int32_t first, int32_t count) {
    WholeLock whole(db.records, LockWaitTime());
    if (whole.code() != kOk) return whole.code();
    int32_t code = kUnknown;
    try {
        code = PackLocked(db, first, count);
    } catch (...) {
        code = kUnknown;
    }
    if (code == kOk) db.current = 0;
    return code;
}

static int32_t EmptyRecordsUnguarded(Database& db) {
    WholeLock whole(db.records, LockWaitTime());
    if (whole.code() != kOk) return whole.code();
    uint8_t bytes[4];
    PutI32(bytes, 0);
    if (int32_t code = db.records.file.writeAt(kHeaderCount, bytes, 4); code != kOk) return code;
    std::memcpy(db.header + kHeaderCount, bytes, 4);
    if (int32_t code = db.records.file.truncate(db.dataOffset); code != kOk) return code;
    if (db.blocks) {
        if (int32_t code = ResetBlockFile(db.blocks.get()); code != kOk) return code;
    }
    db.current = 0;
    return kOk;
}

// No exception leaves the engine.
int32_t EmptyRecords(Database& db) {
    try {
        return EmptyRecordsUnguarded(db);
    } catch (...) {
        return kUnknown;
    }
}

}  // namespace tavrin::rs
