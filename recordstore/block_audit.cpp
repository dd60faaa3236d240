// Walking and mending the block file. Each block is read once per reach; the
// owner table bounds every walk by the block count.
#include "internal/block_audit.h"

#include "internal/block_file.h"

namespace tavrin::rs {

namespace {

enum Owner : uint8_t { kNone, kChain, kFree };

struct Walker {
    explicit Walker(Database& d) : db(d) {}
    Database& db;
    int32_t count = 0, freeCount = 0, firstFree = 0;
    std::vector<uint8_t> owner;
    std::vector<int32_t> chainOf;  // the number of the chain that owns a block

    Code loadHeader() {
        uint8_t h[kBlockHeaderSize];
        size_t got = 0;
        if (Code code = db.blocks->file.readAt(0, h, sizeof h, &got); code != Code::kOk)
            return code;
        if (got < sizeof h) return Code::kBlockFileAccess;
        count = GetI32(h + kBlockHeaderCount);
        freeCount = GetI32(h + kBlockHeaderFreeCount);
        firstFree = GetI32(h + kBlockHeaderFirstFree);
        uint64_t length = 0;
        if (Code code = db.blocks->file.size(&length); code != Code::kOk) return code;
        // Blocks past the end of the file cannot be read; the shorter wins.
        count = int32_t(std::min<uint64_t>(uint64_t(std::max(count, 1)), length / kBlockSize));
        owner.assign(size_t(std::max(count, 1)), kNone);
        chainOf.assign(owner.size(), 0);
        return Code::kOk;
    }

    Code links(int32_t b, int32_t* next, int32_t* used) {
        uint8_t raw[kBlockData];
        size_t got = 0;
        if (Code code = db.blocks->file.readAt(uint64_t(b) * kBlockSize, raw, kBlockData, &got);
            code != Code::kOk) {
            return code;
        }
        if (got < kBlockData) return Code::kBlockFileAccess;
        *next = GetI32(raw + kBlockNext);
        *used = GetI32(raw + kBlockUsed);
        return Code::kOk;
    }

    // Follows one chain, owning its blocks; stops at the first block owned
    // already (by a chain, or by the free list when that was walked first).
    Code walkChain(int32_t first, BlockAudit* a) {
        ++a->chains;
        for (int32_t b = first; b != 0;) {
            if (b < 0 || b >= count) {
                ++a->brokenChains;
                break;
            }
            if (owner[size_t(b)] == kFree) {
                ++a->chainsIntoFree;
                break;
            }
            if (owner[size_t(b)] != kNone) {
                // Met before in this same chain: a loop, not a shared block.
                ++(chainOf[size_t(b)] == a->chains ? a->brokenChains : a->sharedBlocks);
                break;
            }
            owner[size_t(b)] = kChain;
            chainOf[size_t(b)] = a->chains;
            ++a->chainBlocks;
            int32_t next = 0, used = 0;
            if (Code code = links(b, &next, &used); code != Code::kOk) return code;
            // A block no reader takes; an empty one (used 0) only adds nothing.
            if (used < 0 || used > kBlockPayload) {
                ++a->brokenChains;
                break;
            }
            b = next;
        }
        return Code::kOk;
    }

    // Every record's chains, in record order.
    Code walkRecords(BlockAudit* a) {
        int32_t records = 0;
        if (Code code = PeekRecordCount(db, &records); code != Code::kOk) return code;
        return ScanRecords(db, 0, records, [&](const uint8_t* record, int32_t) -> ScanStep {
            for (const FieldDescriptor& f : db.fields) {
                if (!IsChainField(f.type) || GetI32(record + f.offset) == 0) continue;
                if (Code code = walkChain(GetI32(record + f.offset), a); code != Code::kOk)
                    return code;
            }
            return ScanStep::GoOn();
        });
    }
};

}  // namespace

Code AuditBlocks(Database& db, BlockAudit* a) {
    *a = BlockAudit{};
    if (!db.blocks) return Code::kOk;
    Walker w(db);
    if (Code code = w.loadHeader(); code != Code::kOk) return code;
    a->blockCount = w.count;
    // The free list first, so a chain that runs into it is told from two
    // chains sharing a block.
    int32_t listed = 0;
    for (int32_t b = w.firstFree; b != 0;) {
        if (b < 0 || b >= w.count || w.owner[size_t(b)] == kFree) {
            ++a->freeListLoops;  // leaving the file breaks the list as a loop does
            break;
        }
        w.owner[size_t(b)] = kFree;
        ++listed;
        int32_t next = 0, used = 0;
        if (Code code = w.links(b, &next, &used); code != Code::kOk) return code;
        if (used != 0) ++a->liveOnFreeList;
        b = next;
    }
    a->freeBlocks = listed;
    a->freeCountHigh = w.freeCount > listed ? w.freeCount - listed : 0;
    a->freeCountLow = w.freeCount < listed ? listed - w.freeCount : 0;
    if (Code code = w.walkRecords(a); code != Code::kOk) return code;
    for (int32_t b = 1; b < w.count; ++b) {
        if (w.owner[size_t(b)] == kNone) a->orphans.push_back(b);
    }
    return Code::kOk;
}

Code ReclaimBlocks(Database& db, int32_t* reclaimed) {
    *reclaimed = 0;
    if (!db.blocks) return Code::kOk;
    WholeLock whole(db.records, LockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();
    ByteLock header(*db.blocks, 0, LockWaitTime());
    if (header.code() != Code::kOk) return header.code();
    Walker w(db);
    if (Code code = w.loadHeader(); code != Code::kOk) return code;
    BlockAudit a;
    if (Code code = w.walkRecords(&a); code != Code::kOk) return code;
    if (a.sharedBlocks > 0 || a.brokenChains > 0) return Code::kBlockFileAccess;
    // The blocks that stay: up to the last one a chain holds.
    int32_t kept = w.count;
    while (kept > 1 && w.owner[size_t(kept - 1)] != kChain) --kept;
    std::vector<int32_t> free;
    for (int32_t b = 1; b < kept; ++b) {
        if (w.owner[size_t(b)] != kChain) free.push_back(b);
    }
    *reclaimed = int32_t(free.size()) + (w.count - kept) - w.freeCount;
    if (*reclaimed < 0) *reclaimed = 0;
    // Blocks first, header last: until the header names the new list the old
    // head still starts a list of free blocks.
    uint8_t block[kBlockSize] = {};
    for (size_t i = 0; i < free.size(); ++i) {
        PutI32(block + kBlockPrevious, i == 0 ? 0 : free[i - 1]);
        PutI32(block + kBlockNext, i + 1 < free.size() ? free[i + 1] : 0);
        if (Code code = db.blocks->file.writeAt(uint64_t(free[i]) * kBlockSize, block, kBlockSize);
            code != Code::kOk) {
            return code;
        }
    }
    // Synced before the header names them, and the new end synced after: a
    // power cut keeps either list whole.
    if (Code code = db.blocks->file.syncData(); code != Code::kOk) return code;
    if (Code code = WriteBlockCounts(db.blocks.get(), kept, int32_t(free.size()),
                                     free.empty() ? 0 : free.front());
        code != Code::kOk)
        return code;
    if (Code code = db.blocks->file.truncate(uint64_t(kept) * kBlockSize); code != Code::kOk)
        return code;
    return db.blocks->file.syncData();
}

}  // namespace tavrin::rs
