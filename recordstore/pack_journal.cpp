// Writing and replaying the pack journal. Layout (little-endian): "TVJR",
// version 1, old count, old next serial, zero, record size, data offset
// (8), region offset (8), region length (8), FNV-1a checksum of everything
// before it and of the region (8), then the region's original bytes.
//
// Whether the pack committed is read from the header: appends after a packer
// died raise the count and the next serial together, so the count equals the
// old count plus the serials taken since exactly when the new count never
// reached the disk.
#include "recordstore/internal/pack_journal.h"

#include <vector>

#include "runtime/gbk.h"

namespace tavrin::rs {

namespace {

constexpr uint32_t kJournalMagic = 0x524A5654;  // "TVJR"
constexpr int kJournalHeader = 56;
constexpr size_t kCopyChunk = size_t(kChunkBytes);

// FNV-1a over 64-bit words (the tail byte by byte): a torn or foreign
// journal is told from a whole one without slowing a large pack.
struct Fnv {
    uint64_t h = 1469598103934665603ull;
    void add(const uint8_t* p, size_t n) {
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t w;
            std::memcpy(&w, p + i, 8);
            h = (h ^ w) * 1099511628211ull;
        }
        for (; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    }
};

void PutU64(uint8_t* p, uint64_t v) {
    std::memcpy(p, &v, 8);
}
uint64_t GetU64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

void EncodeHeader(const Database& db, const PackJournal& j, uint8_t* h) {
    std::memset(h, 0, kJournalHeader);
    PutI32(h, int32_t(kJournalMagic));
    PutI32(h + 4, 1);
    PutI32(h + 8, j.oldCount);
    PutI32(h + 12, j.oldSerial);
    PutI32(h + 20, db.recordSize);
    PutU64(h + 24, db.dataOffset);
    PutU64(h + 32, j.regionOffset);
    PutU64(h + 40, j.regionLength);
}

// Copies n bytes from one file to another through one buffer, feeding the sum.
int32_t Copy(const PosixFile& from, uint64_t fromOff, const PosixFile& to, uint64_t toOff,
             uint64_t n, Fnv* sum) {
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(n, kCopyChunk)));
    for (uint64_t done = 0; done < n;) {
        const size_t step = size_t(std::min<uint64_t>(n - done, buffer.size()));
        size_t got = 0;
        if (int32_t code = from.readAt(fromOff + done, buffer.data(), step, &got); code != kOk)
            return code;
        if (got < step) return kReadRecordFailed;
        if (sum != nullptr) sum->add(buffer.data(), step);
        if (int32_t code = to.writeAt(toOff + done, buffer.data(), step); code != kOk) return code;
        done += step;
    }
    return kOk;
}

// Reads and checks the journal; false when it is missing, torn or not this
// file's (a journal not synced whole means no record had moved yet).
bool ReadJournal(const Database& db, const PosixFile& file, PackJournal* j) {
    uint64_t length = 0;
    uint8_t h[kJournalHeader];
    size_t got = 0;
    if (file.size(&length) != kOk || file.readAt(0, h, sizeof h, &got) != kOk || got < sizeof h) {
        return false;
    }
    if (uint32_t(GetI32(h)) != kJournalMagic || GetI32(h + 4) != 1 ||
        GetI32(h + 20) != db.recordSize || GetU64(h + 24) != db.dataOffset) {
        return false;
    }
    j->oldCount = GetI32(h + 8);
    j->oldSerial = GetI32(h + 12);
    j->regionOffset = GetU64(h + 32);
    j->regionLength = GetU64(h + 40);
    if (j->regionLength != length - kJournalHeader || length < kJournalHeader) return false;
    Fnv sum;
    sum.add(h, 48);
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(j->regionLength, kCopyChunk)));
    for (uint64_t done = 0; done < j->regionLength;) {
        const size_t step = size_t(std::min<uint64_t>(j->regionLength - done, buffer.size()));
        if (file.readAt(kJournalHeader + done, buffer.data(), step, &got) != kOk || got < step)
            return false;
        sum.add(buffer.data(), step);
        done += step;
    }
    return sum.h == GetU64(h + 48);
}

}  // namespace

std::string JournalPath(const Database& db) {
    return NativePath(db.fullPath) + "-journal";
}

int32_t WriteJournal(Database& db, const PackJournal& j) {
    const std::string path = JournalPath(db);
    PosixFile file;
    if (int32_t code = file.open(path, true, Sharing::kExclusive, true); code != kOk) return code;
    uint8_t h[kJournalHeader];
    EncodeHeader(db, j, h);
    Fnv sum;
    sum.add(h, 48);
    int32_t code =
        Copy(db.records.file, j.regionOffset, file, kJournalHeader, j.regionLength, &sum);
    PutU64(h + 48, sum.h);
    if (code == kOk) code = file.writeAt(0, h, sizeof h);
    if (code == kOk) code = file.syncData();
    file.close();
    if (code == kOk) code = SyncDirectoryOf(path);
    if (code != kOk) RemoveFile(path);  // no record has moved
    return code;
}

int32_t RecoverInterruptedPack(Database& db, bool packerFailed) {
    const std::string path = JournalPath(db);
    PosixFile journal;
    if (int32_t code = journal.open(path, false, Sharing::kDenyNone, false); code != kOk) {
        return code == kFileNotFound ? kOk : code;
    }
    PackJournal j;
    if (!ReadJournal(db, journal, &j)) {
        journal.close();
        return RemoveFile(path);
    }
    uint8_t pair[8];
    size_t got = 0;
    if (int32_t code = db.records.file.readAt(kHeaderCount, pair, 8, &got); code != kOk)
        return code;
    if (got < 8) return kRecordCountFailed;
    const int64_t taken = int64_t(GetI32(pair + 4)) - j.oldSerial;
    const bool committed = int64_t(GetI32(pair)) != j.oldCount + taken;
    if (packerFailed || !committed) {
        // A read-only opener mends the file through a writable handle of its own.
        PosixFile writable;
        const PosixFile* target = &db.records.file;
        if (db.readOnly) {
            if (int32_t code =
                    writable.open(NativePath(db.fullPath), true, Sharing::kDenyNone, false);
                code != kOk) {
                return code;
            }
            target = &writable;
        }
        if (int32_t code =
                Copy(journal, kJournalHeader, *target, j.regionOffset, j.regionLength, nullptr);
            code != kOk) {
            return code;
        }
        if (packerFailed) {
            PutI32(pair, j.oldCount);
            if (int32_t code = target->writeAt(kHeaderCount, pair, 4); code != kOk) return code;
        }
        if (int32_t code = target->syncData(); code != kOk) return code;
        std::memcpy(db.header + kHeaderCount, pair, 4);
    }
    journal.close();
    return RemoveFile(path);
}

}  // namespace tavrin::rs
