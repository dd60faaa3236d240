// Writing and replaying the pack journal. Layout (little-endian): "TVJR",
// version, old count, old next serial, zero, record size, data offset (8),
// region offset (8), region length (8), checksum of everything before it and
// of the region (8), then the region's original bytes. Version 2 (written
// now) starts the region at byte 4096 and pads it to a multiple of 4096, so
// every step of its writing covers whole pages; its checksum runs four
// FNV-1a lanes side by side. Version 1 (header of 56 bytes, one lane) is
// still read: a journal left by an older build is rolled back the same way.
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
constexpr int kHeaderFields = 56;
constexpr uint64_t kPage = 4096;
constexpr uint64_t kRegionStart = kPage;  // version 2
constexpr size_t kCopyChunk = size_t(kChunkBytes);
// Version 2 is written in steps of this many bytes (whole pages, and a
// multiple of the checksum's 32-byte stride).
constexpr size_t kJournalStep = size_t(1) << 20;

uint64_t RoundUp(uint64_t n, uint64_t to) {
    return (n + to - 1) / to * to;
}

// FNV-1a over 64-bit words (the tail byte by byte): a torn or foreign
// journal is told from a whole one. Version 1's checksum.
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

// Version 2's checksum: four FNV-1a lanes over consecutive words, so the
// multiplications do not wait on each other. The sum depends on how the bytes
// are split into add() calls; writer and reader split them alike (the
// header's first 32 and next 16 bytes, then steps of kJournalStep).
struct Fnv4 {
    uint64_t lane[4] = {1469598103934665603ull, 1469598103934665603ull ^ 1,
                        1469598103934665603ull ^ 2, 1469598103934665603ull ^ 3};
    void add(const uint8_t* p, size_t n) {
        size_t i = 0;
        for (; i + 32 <= n; i += 32) {
            for (int k = 0; k < 4; ++k) {
                uint64_t w;
                std::memcpy(&w, p + i + 8 * k, 8);
                lane[k] = (lane[k] ^ w) * 1099511628211ull;
            }
        }
        for (; i < n; ++i) lane[0] = (lane[0] ^ p[i]) * 1099511628211ull;
    }
    uint64_t value() const {
        Fnv f;
        f.add(reinterpret_cast<const uint8_t*>(lane), sizeof lane);
        return f.h;
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
    std::memset(h, 0, kHeaderFields);
    PutI32(h, int32_t(kJournalMagic));
    PutI32(h + 4, 2);
    PutI32(h + 8, j.oldCount);
    PutI32(h + 12, j.oldSerial);
    PutI32(h + 20, db.recordSize);
    PutU64(h + 24, db.dataOffset);
    PutU64(h + 32, j.regionOffset);
    PutU64(h + 40, j.regionLength);
}

// Copies n bytes from one file to another through one buffer (replay).
Code Copy(const PosixFile& from, uint64_t fromOff, const PosixFile& to, uint64_t toOff,
          uint64_t n) {
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(n, kCopyChunk)));
    for (uint64_t done = 0; done < n;) {
        const size_t step = size_t(std::min<uint64_t>(n - done, buffer.size()));
        size_t got = 0;
        if (Code code = from.readAt(fromOff + done, buffer.data(), step, &got); code != Code::kOk)
            return code;
        if (got < step) return Code::kReadRecordFailed;
        if (Code code = to.writeAt(toOff + done, buffer.data(), step); code != Code::kOk)
            return code;
        done += step;
    }
    return Code::kOk;
}

// Reads and checks the journal; false when it is missing, torn or not this
// file's (a journal not synced whole means no record had moved yet). Sets
// *regionStart to where the saved bytes begin in it.
bool ReadJournal(const Database& db, const PosixFile& file, PackJournal* j, uint64_t* regionStart) {
    uint64_t length = 0;
    uint8_t h[kHeaderFields];
    size_t got = 0;
    if (file.size(&length) != Code::kOk || file.readAt(0, h, sizeof h, &got) != Code::kOk ||
        got < sizeof h) {
        return false;
    }
    const int32_t version = GetI32(h + 4);
    if (uint32_t(GetI32(h)) != kJournalMagic || (version != 1 && version != 2) ||
        GetI32(h + 20) != db.recordSize || GetU64(h + 24) != db.dataOffset) {
        return false;
    }
    j->oldCount = GetI32(h + 8);
    j->oldSerial = GetI32(h + 12);
    j->regionOffset = GetU64(h + 32);
    j->regionLength = GetU64(h + 40);
    *regionStart = version == 1 ? uint64_t(kHeaderFields) : kRegionStart;
    const uint64_t expected = version == 1 ? *regionStart + j->regionLength
                                           : *regionStart + RoundUp(j->regionLength, kPage);
    if (j->regionLength > (uint64_t(1) << 62) || length != expected) return false;
    Fnv one;
    Fnv4 four;
    one.add(h, 48);
    four.add(h, 32);
    four.add(h + 32, 16);
    std::vector<uint8_t> buffer(size_t(std::min<uint64_t>(j->regionLength, kJournalStep)));
    for (uint64_t done = 0; done < j->regionLength;) {
        const size_t step = size_t(std::min<uint64_t>(j->regionLength - done, buffer.size()));
        if (file.readAt(*regionStart + done, buffer.data(), step, &got) != Code::kOk || got < step)
            return false;
        if (version == 1) {
            one.add(buffer.data(), step);
        } else {
            four.add(buffer.data(), step);
        }
        done += step;
    }
    return (version == 1 ? one.h : four.value()) == GetU64(h + 48);
}

}  // namespace

std::string JournalPath(const Database& db) {
    return NativePath(db.fullPath) + "-journal";
}

Code WriteJournal(Database& db, const PackJournal& j) {
    const std::string path = JournalPath(db);
    PosixFile file;
    if (Code code = file.open(path, true, Sharing::kExclusive, true); code != Code::kOk)
        return code;
    std::vector<uint8_t> header(kRegionStart, 0);
    EncodeHeader(db, j, header.data());
    Fnv4 sum;
    sum.add(header.data(), 32);
    sum.add(header.data() + 32, 16);
    std::vector<uint8_t> buffer(
        size_t(std::min<uint64_t>(RoundUp(j.regionLength, kPage), kJournalStep)));
    Code code = Code::kOk;
    for (uint64_t done = 0; code == Code::kOk && done < j.regionLength;) {
        const size_t step = size_t(std::min<uint64_t>(j.regionLength - done, kJournalStep));
        size_t got = 0;
        code = db.records.file.readAt(j.regionOffset + done, buffer.data(), step, &got);
        if (code == Code::kOk && got < step) code = Code::kReadRecordFailed;
        if (code != Code::kOk) break;
        sum.add(buffer.data(), step);
        const size_t padded = size_t(RoundUp(step, kPage));
        std::memset(buffer.data() + step, 0, padded - step);
        code = file.writeAt(kRegionStart + done, buffer.data(), padded);
        // Each step starts on its way to the disk while the next is read, so
        // the sync below waits for little more than the last one.
        file.startWriteback(kRegionStart + done, padded);
        done += step;
    }
    PutU64(header.data() + 48, sum.value());
    if (code == Code::kOk) code = file.writeAt(0, header.data(), kRegionStart);
    if (code == Code::kOk) code = file.syncData();
    file.close();
    if (code == Code::kOk) code = SyncDirectoryOf(path);
    // No record has moved; the write's failure is what the caller hears.
    if (code != Code::kOk) (void)RemoveFile(path);
    return code;
}

Code RecoverInterruptedPack(Database& db, bool packerFailed) {
    const std::string path = JournalPath(db);
    PosixFile journal;
    if (Code code = journal.open(path, false, Sharing::kDenyNone, false); code != Code::kOk) {
        return code == Code::kFileNotFound ? Code::kOk : code;
    }
    PackJournal j;
    uint64_t regionStart = 0;
    if (!ReadJournal(db, journal, &j, &regionStart)) {
        journal.close();
        if (Code code = RemoveFile(path); code != Code::kOk) return code;
        return SyncDirectoryOf(path);
    }
    uint8_t pair[8];
    size_t got = 0;
    if (Code code = db.records.file.readAt(kHeaderCount, pair, 8, &got); code != Code::kOk)
        return code;
    if (got < 8) return Code::kRecordCountFailed;
    const int64_t taken = int64_t(GetI32(pair + 4)) - j.oldSerial;
    const bool committed = int64_t(GetI32(pair)) != j.oldCount + taken;
    if (packerFailed || !committed) {
        // A read-only opener mends the file through a writable handle of its own.
        PosixFile writable;
        const PosixFile* target = &db.records.file;
        if (db.readOnly) {
            if (Code code = writable.open(NativePath(db.fullPath), true, Sharing::kDenyNone, false);
                code != Code::kOk) {
                return code;
            }
            target = &writable;
        }
        if (Code code = Copy(journal, regionStart, *target, j.regionOffset, j.regionLength);
            code != Code::kOk) {
            return code;
        }
        if (packerFailed) {
            PutI32(pair, j.oldCount);
            if (Code code = target->writeAt(kHeaderCount, pair, 4); code != Code::kOk) return code;
        }
        if (Code code = target->syncData(); code != Code::kOk) return code;
        std::memcpy(db.header + kHeaderCount, pair, 4);
    }
    journal.close();
    if (Code code = RemoveFile(path); code != Code::kOk) return code;
    return SyncDirectoryOf(path);
}

}  // namespace tavrin::rs
