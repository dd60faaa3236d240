// Packing (removing the marked records, or a range of records) and emptying.
// The records from the first dropped one on are read in chunks and the kept
// ones closed up towards the front; the write position trails the read
// position, so the file is rewritten in place front to back, under the cover
// of a rollback journal (pack_journal.h) that holds a few per cent of what
// moves, not all of it.
//
// The invariant: from the moment the journal is durable until the new count
// is, every 4 KiB page of the file from the first dropped record to the new
// end holds either all its old bytes or all its new ones there, the bytes
// from the new end to the old end are on disk or in the journal, and the
// journal holds for each page a byte that tells old from new and the old
// bytes its new content does not hold. Any state in between therefore rolls
// back to exactly the old file. What keeps it:
// - Nothing in the record file changes before the journal is durable. A
//   first pass works out the new content page by page exactly as the move
//   will, and writes the journal from it.
// - The move writes each page once, whole, in order (its pieces end on page
//   boundaries; the part of the first page before the region is left as it
//   was). A page reaches the disk whole, and a killed write stops between
//   pages. A left shift by fewer bytes than a page overwrites bytes of the
//   page that are not moved yet, but they move within the page being
//   written, where the rollback finds them; only the bytes that leave the
//   page and those of dropped records are saved.
// - The moved records are synced before the new count is written; the count
//   landing is the commit. Until then the rollback mends page by page, each
//   page from itself and its saved bytes, so a rollback cut short is simply
//   done again.
#include <algorithm>
#include <unordered_set>

#include "internal/block_file.h"
#include "internal/pack_journal.h"
#include "internal/record_file.h"

namespace tavrin::rs {

namespace {

Code ReadCountAndSerial(Database& db, int32_t* count, int32_t* serial) {
    uint8_t bytes[8];
    size_t got = 0;
    if (db.records.file.readAt(kHeaderCount, bytes, 8, &got) != Code::kOk || got < 8) {
        return Code::kRecordCountFailed;
    }
    *count = std::max(0, GetI32(bytes));
    *serial = GetI32(bytes + 4);
    return Code::kOk;
}

// What a pack does: the first record it drops, the count after it, the
// chains of the dropped records, freed only once the records are gone, and
// which records from the first dropped one on stay and go.
struct PackPlan {
    int32_t firstDropped = -1;
    int32_t newCount = 0;
    std::vector<int32_t> chains;
    std::vector<PackRun> runs;
};

bool Dropped(const uint8_t* record, int64_t index, bool byMark, int64_t rangeEnd) {
    return byMark ? GetI32(record) < 0 : index < rangeEnd;
}

// The first marked record; the records before it stay where they are.
Code FindFirstMarked(Database& db, int32_t count, int32_t* found) {
    *found = -1;
    return ScanRecords(db, 0, count, [&](const uint8_t* record, int32_t index) -> ScanStep {
        if (GetI32(record) >= 0) return ScanStep::GoOn();
        *found = index;
        return ScanStep::Stop();
    });
}

constexpr uint64_t kPage = 4096;

// Works out the new content of the file from the first dropped record on:
// reads the records in chunks and hands the kept ones, closed up, to `sink`
// as (offset, new bytes, the file's bytes there now or null, length) in
// pieces that end on a page boundary, but for the last, which ends at the new
// end. `dropped(record, index)` tells a record that goes; it is asked once
// per record, in order.
//
// Without kKeepOld a chunk is read straight behind the new bytes not handed
// on yet and closed up where it lies. With it, what was read stays as it was
// in a second buffer from the first byte not handed on, so the sink gets the
// old bytes of the pieces without reading them again; after a long run of
// dropped records that would be too much to keep, and the sink gets null.
template <bool kKeepOld, class Drop, class Sink>
Code Compact(Database& db, int32_t count, int32_t from, Drop&& dropped, Sink&& sink,
             int32_t* newCount) {
    const size_t rs = size_t(db.recordSize);
    const int32_t chunk = ChunkRecords(db.recordSize);
    const size_t chunkBytes = size_t(std::min(chunk, std::max(1, count - from))) * rs;
    const size_t keepAtMost = 2 * chunkBytes;
    std::vector<uint8_t> out(chunkBytes + kPage + rs), old;
    size_t outLength = 0;  // the new bytes not handed on yet, from `pending` on
    uint64_t pending = db.recordOffset(from), oldStart = pending;
    int32_t read = from, write = from;
    auto handOn = [&](size_t n) -> Code {
        const uint8_t* before = nullptr;
        if (kKeepOld && pending >= oldStart) before = old.data() + (pending - oldStart);
        if (Code code = sink(pending, out.data(), before, n); code != Code::kOk) return code;
        std::memmove(out.data(), out.data() + n, outLength - n);
        outLength -= n;
        pending += n;
        return Code::kOk;
    };
    while (read < count) {
        const int32_t n = std::min(chunk, count - read);
        const size_t bytes = size_t(n) * rs;
        if (out.size() < outLength + bytes) out.resize(outLength + bytes);
        uint8_t* raw = out.data() + outLength;
        if constexpr (kKeepOld) {
            old.resize(old.size() + bytes);
            raw = old.data() + old.size() - bytes;
        }
        size_t got = 0;
        if (Code code = db.records.file.readAt(db.recordOffset(read), raw, bytes, &got);
            code != Code::kOk) {
            return code;
        }
        if (got < bytes) return Code::kReadRecordFailed;
        // The kept records in a row go over together.
        uint8_t* to = out.data() + outLength;
        int32_t keptFrom = 0;
        for (int32_t i = 0; i <= n; ++i) {
            if (i < n && !dropped(raw + size_t(i) * rs, int64_t(read) + i)) continue;
            const size_t length = size_t(i - keptFrom) * rs;
            const uint8_t* source = raw + size_t(keptFrom) * rs;
            if (to != source && length > 0) std::memmove(to, source, length);
            to += length;
            write += i - keptFrom;
            keptFrom = i + 1;
        }
        outLength = size_t(to - out.data());
        read += n;
        const uint64_t whole = (pending + outLength) / kPage * kPage;
        if (whole > pending) {
            if (Code code = handOn(size_t(whole - pending)); code != Code::kOk) return code;
        }
        if constexpr (kKeepOld) {
            if (pending > oldStart) {
                const size_t gone = size_t(std::min<uint64_t>(pending - oldStart, old.size()));
                old.erase(old.begin(), old.begin() + long(gone));
                oldStart += gone;
            }
            if (old.size() > keepAtMost) {
                old.clear();
                oldStart = db.recordOffset(read);
            }
        }
    }
    if (outLength > 0) {
        if (Code code = handOn(outLength); code != Code::kOk) return code;
    }
    *newCount = write;
    return Code::kOk;
}

// Works out the pack and writes its journal: every record from the first
// dropped one on is read, the dropped ones' chains noted, and each page the
// move will write is described as it is now and as it will be.
Code PlanAndJournal(Database& db, int32_t count, int32_t serial, bool byMark, int64_t rangeEnd,
                    PackPlan* plan) {
    PackJournalWriter journal(db, count, serial, db.recordOffset(plan->firstDropped));
    if (Code code = journal.open(); code != Code::kOk) return code;
    int32_t droppedSoFar = 0;
    auto dropped = [&](const uint8_t* record, int64_t index) {
        const bool goes = Dropped(record, index, byMark, rangeEnd);
        std::vector<PackRun>& runs = plan->runs;
        if (runs.empty() || runs.back().dropped != goes)
            runs.push_back({int32_t(index), 0, droppedSoFar, goes});
        ++runs.back().length;
        if (goes) {
            ++droppedSoFar;
            for (const FieldDescriptor& f : db.fields) {
                if (IsChainField(f.type) && GetI32(record + f.offset) > 0) {
                    plan->chains.push_back(GetI32(record + f.offset));
                }
            }
        }
        return goes;
    };
    std::vector<uint8_t> before;
    auto describe = [&](uint64_t at, const uint8_t* after, const uint8_t* now, size_t n) -> Code {
        if (now == nullptr) {
            before.resize(n);
            size_t got = 0;
            if (Code code = db.records.file.readAt(at, before.data(), n, &got); code != Code::kOk)
                return code;
            if (got < n) return Code::kReadRecordFailed;
            now = before.data();
        }
        return journal.addPages(at, after, now, n, plan->runs);
    };
    if (Code code =
            Compact<true>(db, count, plan->firstDropped, dropped, describe, &plan->newCount);
        code != Code::kOk) {
        return code;
    }
    return journal.finish(db.recordOffset(plan->newCount));
}

// Moves the kept records from the first dropped one on towards the front, as
// the journal describes them.
Code MoveKept(Database& db, int32_t count, const PackPlan& plan) {
    // The moved records start on their way to the disk every few megabytes,
    // while the rest are still being moved: the sync at the end waits less.
    constexpr uint64_t kWritebackBytes = uint64_t(4) << 20;
    uint64_t unsent = db.recordOffset(plan.firstDropped);
    size_t run = 0;
    auto dropped = [&](const uint8_t*, int64_t index) {
        while (int64_t(plan.runs[run].first) + plan.runs[run].length <= index) ++run;
        return plan.runs[run].dropped;
    };
    auto write = [&](uint64_t at, const uint8_t* bytes, const uint8_t*, size_t n) -> Code {
        if (Code code = db.records.file.writeAt(at, bytes, n); code != Code::kOk) return code;
        if (at + n - unsent >= kWritebackBytes) {
            db.records.file.startWriteback(unsent, at + n - unsent);
            unsent = at + n;
        }
        return Code::kOk;
    };
    int32_t newCount = 0;
    if (Code code = Compact<false>(db, count, plan.firstDropped, dropped, write, &newCount);
        code != Code::kOk) {
        return code;
    }
    return newCount == plan.newCount ? Code::kOk : Code::kUnknown;
}

// The moves, synced; then the new count and the shorter length, synced
// together. The journal is the way back until the count is on disk: a
// shortened file whose count did not land is made whole again by the
// rollback, which writes back the bytes the new end cut off.
Code MoveAndCommit(Database& db, int32_t count, PackPlan* plan) {
    assert(plan->firstDropped >= 0 && plan->firstDropped <= plan->newCount &&
           plan->newCount < count);
    if (Code code = MoveKept(db, count, *plan); code != Code::kOk) return code;
    if (Code code = db.records.file.syncData(); code != Code::kOk) return code;
    uint8_t bytes[4];
    PutI32(bytes, plan->newCount);
    if (Code code = db.records.file.writeAt(kHeaderCount, bytes, 4); code != Code::kOk) return code;
    if (Code code = db.records.file.truncate(db.recordOffset(plan->newCount)); code != Code::kOk)
        return code;
    if (Code code = db.records.file.syncData(); code != Code::kOk) return code;
    std::memcpy(db.header + kHeaderCount, bytes, 4);
    return Code::kOk;
}

// Frees the chains of the dropped records, except a chain that shares a block
// with a kept record's chain (damage from before): freeing it would hand the
// kept record's block out a second time, so it is left unreachable instead.
Code FreeDroppedChains(Database& db, const PackPlan& plan) {
    if (plan.chains.empty()) return Code::kOk;
    std::unordered_set<int32_t> kept;
    std::vector<int32_t> blocks;
    Code code = ScanRecords(db, 0, plan.newCount, [&](const uint8_t* record, int32_t) -> ScanStep {
        for (const FieldDescriptor& f : db.fields) {
            if (!IsChainField(f.type) || GetI32(record + f.offset) <= 0) continue;
            if (Code c = ChainBlocks(db.blocks.get(), GetI32(record + f.offset), &blocks);
                c != Code::kOk) {
                return c;
            }
            kept.insert(blocks.begin(), blocks.end());
        }
        return ScanStep::GoOn();
    });
    if (code != Code::kOk) return code;
    for (int32_t chain : plan.chains) {
        if (code = ChainBlocks(db.blocks.get(), chain, &blocks); code != Code::kOk) return code;
        bool shared = false;
        for (int32_t b : blocks) {
            shared = shared || !kept.insert(b).second;  // also a block two dropped chains share
        }
        if (shared) continue;
        if (code = FreeChain(db.blocks.get(), chain); code != Code::kOk) return code;
    }
    return Code::kOk;
}

Code PackLocked(Database& db, int32_t first, int32_t rangeCount) {
    if (Code code = RecoverInterruptedPack(db); code != Code::kOk) return code;
    int32_t count = 0, serial = 0;
    if (Code code = ReadCountAndSerial(db, &count, &serial); code != Code::kOk) return code;
    // A count beyond the file's records would fail half-way through the move.
    uint64_t length = 0;
    if (Code code = db.records.file.size(&length); code != Code::kOk) return code;
    const uint64_t present =
        length > db.dataOffset ? (length - db.dataOffset) / uint64_t(db.recordSize) : 0;
    if (uint64_t(count) > present) return Code::kFileSizeWrong;
    const bool byMark = first < 0;
    if (!byMark && (rangeCount <= 0 || first >= count)) return Code::kOk;
    const int64_t rangeEnd = byMark ? 0 : std::min<int64_t>(int64_t(first) + rangeCount, count);
    PackPlan plan;
    if (byMark) {
        if (Code code = FindFirstMarked(db, count, &plan.firstDropped); code != Code::kOk)
            return code;
        if (plan.firstDropped < 0) return Code::kOk;  // nothing to drop, nothing written
    } else {
        plan.firstDropped = first;
    }
    if (Code code = PlanAndJournal(db, count, serial, byMark, rangeEnd, &plan); code != Code::kOk)
        return code;
    if (Code code = MoveAndCommit(db, count, &plan); code != Code::kOk) {
        (void)RecoverInterruptedPack(db, true);  // when this fails too, the next open does it
        return code;
    }
    // The journal's removal is made durable before any block is freed: a
    // journal coming back after a power cut would roll back a file whose
    // freed blocks were handed out since.
    if (Code c = RemoveFile(JournalPath(db)); c != Code::kOk) return c;
    if (Code c = SyncDirectoryOf(JournalPath(db)); c != Code::kOk) return c;
    // The dropped records are gone for good; a crash from here on leaks their
    // blocks, it never leaves a record pointing at a freed one.
    return FreeDroppedChains(db, plan);
}

}  // namespace

Code PackRecords(Database& db, int32_t first, int32_t count) {
    WholeLock whole(db.records, LockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();
    Code code = Code::kUnknown;
    try {
        code = PackLocked(db, first, count);
    } catch (...) {
        code = Code::kUnknown;
    }
    if (code == Code::kOk) db.current = 0;
    return code;
}

static Code EmptyRecordsUnguarded(Database& db) {
    WholeLock whole(db.records, LockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();
    if (Code code = RecoverInterruptedPack(db); code != Code::kOk) return code;
    uint8_t bytes[4];
    PutI32(bytes, 0);
    if (Code code = db.records.file.writeAt(kHeaderCount, bytes, 4); code != Code::kOk) return code;
    std::memcpy(db.header + kHeaderCount, bytes, 4);
    if (Code code = db.records.file.truncate(db.dataOffset); code != Code::kOk) return code;
    if (db.blocks) {
        // No record may still point into the block file when it is reset.
        if (Code code = db.records.file.syncData(); code != Code::kOk) return code;
        if (Code code = ResetBlockFile(db.blocks.get()); code != Code::kOk) return code;
        if (Code code = db.blocks->file.syncData(); code != Code::kOk) return code;
    }
    db.current = 0;
    return Code::kOk;
}

// No exception leaves the engine.
Code EmptyRecords(Database& db) {
    try {
        return EmptyRecordsUnguarded(db);
    } catch (...) {
        return Code::kUnknown;
    }
}

}  // namespace tavrin::rs
