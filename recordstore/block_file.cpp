// Block chains. Every block touched by a write stays locked until the write
// ends; the header byte is locked once allocation or freeing needs the header.
// Chains read from disk are followed with a step limit, so a damaged chain
// that loops or points outside the file ends with kBlockFileAccess instead of hanging.
#include "internal/block_file.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "internal/record_format.h"
#include "recordstore/error_codes.h"

namespace tavrin::rs {

namespace {

struct BlockLinks {
    int32_t prev = 0, next = 0, used = 0;
};

class ChainWriter {
  public:
    explicit ChainWriter(LockedFile& f) : f_(f) {}
    // Nothing to report to from here; the locks go with the file at the latest.
    ~ChainWriter() {
        for (uint64_t off : locked_) (void)f_.unlockByte(off);
    }

    Code start() {
        uint64_t length = 0;
        if (Code code = f_.file.size(&length); code != Code::kOk) return code;
        fileBlocks_ = int64_t(length / kBlockSize);
        return Code::kOk;
    }

    Code lockBlock(int32_t b) {
        Code code = f_.lockByte(uint64_t(b) * kBlockSize, LockWaitTime());
        if (code == Code::kOk) locked_.push_back(uint64_t(b) * kBlockSize);
        return code;
    }

    // Reads and locks the header (once); later allocation works on the copy.
    Code loadHeader() {
        if (headerLoaded_) return Code::kOk;
        if (Code code = lockBlock(0); code != Code::kOk) return code;
        uint8_t h[kBlockHeaderSize];
        size_t got = 0;
        if (f_.file.readAt(0, h, sizeof h, &got) != Code::kOk || got < sizeof h)
            return Code::kBlockFileAccess;
        count_ = GetI32(h + kBlockHeaderCount);
        freeCount_ = GetI32(h + kBlockHeaderFreeCount);
        firstFree_ = GetI32(h + kBlockHeaderFirstFree);
        if (count_ <= 0) return Code::kBlockFileAccess;
        headerLoaded_ = true;
        return Code::kOk;
    }

    Code saveHeader() {
        if (!headerLoaded_) return Code::kOk;
        return WriteBlockCounts(&f_, count_, freeCount_, firstFree_);
    }

    // One past the last block the file has or the header counts.
    int64_t limit() const {
        return headerLoaded_ ? std::max<int64_t>(count_, fileBlocks_) : fileBlocks_;
    }
    bool valid(int32_t b) const { return b > 0 && b < limit(); }

    Code readLinks(int32_t b, BlockLinks* links) {
        if (!valid(b)) return Code::kBlockFileAccess;
        if (Code code = lockBlock(b); code != Code::kOk) return code;
        uint8_t raw[kBlockData];
        size_t got = 0;
        if (f_.file.readAt(uint64_t(b) * kBlockSize, raw, kBlockData, &got) != Code::kOk ||
            got < kBlockData) {
            return Code::kBlockFileAccess;
        }
        *links = {GetI32(raw + kBlockPrevious), GetI32(raw + kBlockNext), GetI32(raw + kBlockUsed)};
        return Code::kOk;
    }

    Code writeLink(int32_t b, int fieldOffset, int32_t value) {
        uint8_t raw[4];
        PutI32(raw, value);
        return f_.file.writeAt(uint64_t(b) * kBlockSize + uint64_t(fieldOffset), raw, 4);
    }

    Code writeBlock(int32_t b, int32_t prev, int32_t next, const uint8_t* data, int32_t used) {
        uint8_t block[kBlockSize] = {};
        PutI32(block + kBlockPrevious, prev);
        PutI32(block + kBlockNext, next);
        PutI32(block + kBlockUsed, used);
        if (used > 0) std::memcpy(block + kBlockData, data, size_t(used));
        if (int64_t(b) >= fileBlocks_) fileBlocks_ = int64_t(b) + 1;
        return f_.file.writeAt(uint64_t(b) * kBlockSize, block, kBlockSize);
    }

    // A block for the next piece: from the free list, or appended at the end.
    // A block leaves the free list on disk (the header is saved) before it is
    // written, so a crash leaves it unreachable rather than both free and used;
    // an appended block is counted once the caller has written it.
    Code allocate(int32_t* b, bool* appended) {
        *appended = false;
        if (Code code = loadHeader(); code != Code::kOk) return code;
        if (freeCount_ > 0 && valid(firstFree_)) {
            BlockLinks links;
            if (Code code = readLinks(firstFree_, &links); code != Code::kOk) return code;
            // A "free" block with content belongs to a chain: the list loops
            // back into blocks taken already, or a chain shares it.
            if (links.used != 0) return Code::kBlockFileAccess;
            *b = firstFree_;
            firstFree_ = links.next > 0 && valid(links.next) ? links.next : 0;
            --freeCount_;
            if (firstFree_ == 0) freeCount_ = 0;
            return saveHeader();
        }
        if (count_ == 0x7FFFFFFF / kBlockSize) return Code::kDiskFull;
        *b = count_++;
        *appended = true;
        return lockBlock(*b);
    }

    // Frees the blocks of list (in chain order) onto the head of the free list.
    // They are written first and only then made the head, so a crash leaves
    // them unreachable, never half in the list.
    Code release(const std::vector<int32_t>& list) {
        if (list.empty()) return Code::kOk;
        if (Code code = loadHeader(); code != Code::kOk) return code;
        const int32_t oldHead = freeCount_ > 0 && valid(firstFree_) ? firstFree_ : 0;
        for (size_t i = 0; i < list.size(); ++i) {
            int32_t prev = i == 0 ? 0 : list[i - 1];
            int32_t next = i + 1 < list.size() ? list[i + 1] : oldHead;
            if (Code code = writeBlock(list[i], prev, next, nullptr, 0); code != Code::kOk)
                return code;
        }
        if (oldHead > 0) {
            if (Code code = writeLink(oldHead, kBlockPrevious, list.back()); code != Code::kOk)
                return code;
        }
        firstFree_ = list.front();
        freeCount_ = (oldHead > 0 ? freeCount_ : 0) + int32_t(list.size());
        return saveHeader();
    }

    // Gives free blocks at the end of the file back to the file system. Only
    // blocks really on the free list go: an unreachable block that merely looks
    // free keeps its place, and its stale links are never followed.
    Code shrink() {
        if (!headerLoaded_) return Code::kOk;
        std::vector<int32_t> list;
        std::vector<uint8_t> onList(size_t(count_), 0);
        for (int32_t b = freeCount_ > 0 ? firstFree_ : 0; valid(b) && b < count_;) {
            if (onList[size_t(b)]) return Code::kBlockFileAccess;  // the free list loops
            BlockLinks links;
            if (Code code = readLinks(b, &links); code != Code::kOk) return code;
            if (links.used != 0) return Code::kBlockFileAccess;  // a live block on the list
            onList[size_t(b)] = 1;
            list.push_back(b);
            b = links.next;
        }
        int32_t kept = count_;
        while (kept > 1 && onList[size_t(kept - 1)]) --kept;
        if (kept == count_) return Code::kOk;
        std::vector<int32_t> rest;
        for (int32_t b : list) {
            if (b < kept) rest.push_back(b);
        }
        // Each remaining block whose successor changes gets its new link.
        for (size_t i = 0, j = 0; i < list.size(); ++i) {
            if (list[i] >= kept) continue;
            const int32_t next = j + 1 < rest.size() ? rest[j + 1] : 0;
            const int32_t oldNext = i + 1 < list.size() ? list[i + 1] : 0;
            ++j;
            if (next == oldNext) continue;
            if (Code code = writeLink(list[i], kBlockNext, next); code != Code::kOk) return code;
            if (next > 0) {
                if (Code code = writeLink(next, kBlockPrevious, list[i]); code != Code::kOk)
                    return code;
            }
        }
        count_ = kept;
        firstFree_ = rest.empty() ? 0 : rest.front();
        freeCount_ = int32_t(rest.size());
        if (Code code = saveHeader(); code != Code::kOk) return code;
        fileBlocks_ = count_;
        return f_.file.truncate(uint64_t(count_) * kBlockSize);
    }

    Code sync() { return f_.file.syncData(); }

    int32_t count() const { return count_; }
    int64_t fileBlocks() const { return fileBlocks_; }
    bool headerLoaded() const { return headerLoaded_; }

  private:
    LockedFile& f_;
    std::vector<uint64_t> locked_;
    bool headerLoaded_ = false;
    int32_t count_ = 0, freeCount_ = 0, firstFree_ = 0;
    int64_t fileBlocks_ = 0;
};

// The next block of the old chain that may be reused or freed: inside the
// file, not yet taken by this write, and not free already (a chain that runs
// into the free list ends there, so no free block is taken a second time).
int32_t NextOldBlock(ChainWriter& w, int32_t b, const std::unordered_set<int32_t>& seen,
                     BlockLinks* links) {
    if (b <= 0 || !w.valid(b) || seen.count(b)) return 0;
    if (w.readLinks(b, links) != Code::kOk || links->used <= 0) return 0;
    return b;
}

// Nothing on disk may point at a block before that block is durable: the
// blocks this write takes from the free list or appends are written whole,
// with their final links, and synced together with the header that took them
// before any block already in the chain links to them or the field learns a
// new first block. The old chain is then rewritten in place, in order, and
// whatever it no longer needs is freed only once its new end is synced, so a
// power cut never leaves a chain running into the free list.
Code WriteChainLocked(ChainWriter& w, const uint8_t* data, size_t n, int32_t oldFirst,
                      int32_t* newFirst) {
    if (Code code = w.start(); code != Code::kOk) return code;
    std::unordered_set<int32_t> seen;
    std::vector<int32_t> old;
    BlockLinks links;
    for (int32_t b = NextOldBlock(w, oldFirst, seen, &links); b > 0;
         b = NextOldBlock(w, links.next, seen, &links)) {
        old.push_back(b);
        seen.insert(b);
    }
    const size_t pieces = (n + kBlockPayload - 1) / kBlockPayload;
    const size_t reused = std::min(pieces, old.size());
    std::vector<int32_t> plan(old.begin(), old.begin() + long(reused));
    for (size_t k = reused; k < pieces; ++k) {
        int32_t b = 0;
        bool appended = false;
        if (Code code = w.allocate(&b, &appended); code != Code::kOk) return code;
        // A chain never holds a block twice, so it is never longer than the file.
        assert(seen.count(b) == 0 && int64_t(seen.size()) < w.limit());
        seen.insert(b);
        plan.push_back(b);
    }
    auto piece = [&](size_t k) {
        const int32_t prev = k == 0 ? 0 : plan[k - 1];
        const int32_t next = k + 1 < plan.size() ? plan[k + 1] : 0;
        const int32_t used = int32_t(std::min<size_t>(kBlockPayload, n - k * kBlockPayload));
        return w.writeBlock(plan[k], prev, next, data + k * kBlockPayload, used);
    };
    if (pieces > reused) {
        for (size_t k = reused; k < pieces; ++k) {
            if (Code code = piece(k); code != Code::kOk) return code;
        }
        if (Code code = w.saveHeader(); code != Code::kOk) return code;
        if (Code code = w.sync(); code != Code::kOk) return code;
    }
    for (size_t k = 0; k < reused; ++k) {
        if (Code code = piece(k); code != Code::kOk) return code;
    }
    *newFirst = plan.empty() ? 0 : plan.front();
    // What is left of the old chain is freed, in chain order.
    const std::vector<int32_t> rest(old.begin() + long(reused), old.end());
    if (rest.empty()) return Code::kOk;
    if (reused > 0) {
        if (Code code = w.sync(); code != Code::kOk) return code;
    }
    if (Code code = w.release(rest); code != Code::kOk) return code;
    bool lastWasFileEnd = false;
    for (int32_t b : rest) lastWasFileEnd = lastWasFileEnd || b == w.count() - 1;
    if (lastWasFileEnd) {
        if (Code code = w.shrink(); code != Code::kOk) return code;
    }
    return Code::kOk;  // every change of the header was saved where it was made
}

// The lock of the one block a reader stands on, handed along the chain: the
// next block is locked before the last is let go, and the last is let go
// however the walk ends (an exception included).
class HandOverHandLock {
  public:
    explicit HandOverHandLock(LockedFile& f) : f_(f) {}
    // Letting go of a block already passed cannot fail the walk: the lock goes
    // with the file at the latest.
    ~HandOverHandLock() {
        if (held_) (void)f_.unlockByte(offset_);
    }
    HandOverHandLock(const HandOverHandLock&) = delete;
    HandOverHandLock& operator=(const HandOverHandLock&) = delete;
    Code moveTo(uint64_t off) {
        if (Code code = f_.lockByte(off, LockWaitTime()); code != Code::kOk) return code;
        if (held_) (void)f_.unlockByte(offset_);
        offset_ = off;
        held_ = true;
        return Code::kOk;
    }

  private:
    LockedFile& f_;
    uint64_t offset_ = 0;
    bool held_ = false;
};

}  // namespace

static Code ReadChainUnguarded(LockedFile* blocks, int32_t first, std::string* out) {
    out->clear();
    if (first <= 0) return Code::kOk;
    if (blocks == nullptr || !blocks->file.isOpen()) return Code::kBlockFileAccess;
    uint64_t length = 0;
    if (blocks->file.size(&length) != Code::kOk) return Code::kBlockFileAccess;
    const int64_t fileBlocks = int64_t(length / kBlockSize);
    HandOverHandLock lock(*blocks);
    Code code = Code::kOk;
    int64_t steps = 0;
    for (int32_t b = first; b > 0;) {
        if (b >= fileBlocks || ++steps > fileBlocks) {
            code = Code::kBlockFileAccess;
            break;
        }
        const uint64_t off = uint64_t(b) * kBlockSize;
        if (code = lock.moveTo(off); code != Code::kOk) break;
        uint8_t block[kBlockSize];
        size_t got = 0;
        if (blocks->file.readAt(off, block, kBlockSize, &got) != Code::kOk || got < kBlockSize) {
            code = Code::kBlockFileAccess;
            break;
        }
        const int32_t used = GetI32(block + kBlockUsed);
        if (used < 0 || used > kBlockPayload) {
            code = Code::kBlockFileAccess;
            break;
        }
        out->append(reinterpret_cast<const char*>(block + kBlockData), size_t(used));
        b = GetI32(block + kBlockNext);
    }
    if (code != Code::kOk) out->clear();
    return code;
}

// No exception leaves the engine.
Code ReadChain(LockedFile* blocks, int32_t first, std::string* out) {
    try {
        return ReadChainUnguarded(blocks, first, out);
    } catch (...) {
        return Code::kBlockFileAccess;
    }
}

static Code WriteChainUnguarded(LockedFile* blocks, const uint8_t* data, size_t n, int32_t oldFirst,
                                int32_t* newFirst) {
    *newFirst = 0;
    if (n == 0 && oldFirst <= 0) return Code::kOk;  // nothing to write, nothing to free
    if (blocks == nullptr || !blocks->file.isOpen()) return Code::kBlockFileAccess;
    ChainWriter writer(*blocks);
    Code code = WriteChainLocked(writer, data, n, oldFirst, newFirst);
    if (code != Code::kOk) *newFirst = oldFirst;  // the field keeps what it had
    return code;
}

// No exception leaves the engine.
Code WriteChain(LockedFile* blocks, const uint8_t* data, size_t n, int32_t oldFirst,
                int32_t* newFirst) {
    try {
        return WriteChainUnguarded(blocks, data, n, oldFirst, newFirst);
    } catch (...) {
        return Code::kBlockFileAccess;
    }
}

Code FreeChain(LockedFile* blocks, int32_t first) {
    int32_t unused = 0;
    return WriteChain(blocks, nullptr, 0, first, &unused);
}

Code ChainBlocks(LockedFile* blocks, int32_t first, std::vector<int32_t>* out) {
    out->clear();
    if (first <= 0) return Code::kOk;
    if (blocks == nullptr || !blocks->file.isOpen()) return Code::kBlockFileAccess;
    uint64_t length = 0;
    if (Code code = blocks->file.size(&length); code != Code::kOk) return code;
    const int64_t fileBlocks = int64_t(length / kBlockSize);
    std::unordered_set<int32_t> seen;
    for (int32_t b = first; b > 0 && b < fileBlocks && seen.insert(b).second;) {
        uint8_t raw[kBlockData];
        size_t got = 0;
        if (blocks->file.readAt(uint64_t(b) * kBlockSize, raw, kBlockData, &got) != Code::kOk ||
            got < kBlockData) {
            return Code::kBlockFileAccess;
        }
        if (GetI32(raw + kBlockUsed) <= 0) break;
        out->push_back(b);
        assert(out->size() < size_t(fileBlocks));  // the header block is in no chain
        b = GetI32(raw + kBlockNext);
    }
    return Code::kOk;
}

Code ResetBlockFile(LockedFile* blocks) {
    if (blocks == nullptr || !blocks->file.isOpen()) return Code::kBlockFileAccess;
    ByteLock header(*blocks, 0, LockWaitTime());
    if (header.code() != Code::kOk) return header.code();
    if (Code code = WriteBlockCounts(blocks, 1, 0, 0); code != Code::kOk) return code;
    return blocks->file.truncate(kBlockSize);
}

Code WriteBlockCounts(LockedFile* blocks, int32_t count, int32_t freeCount, int32_t firstFree) {
    static_assert(kBlockHeaderFreeCount == kBlockHeaderCount + 4 &&
                  kBlockHeaderFirstFree == kBlockHeaderCount + 8);
    uint8_t counts[12];
    PutI32(counts, count);
    PutI32(counts + 4, freeCount);
    PutI32(counts + 8, firstFree);
    return blocks->file.writeAt(kBlockHeaderCount, counts, sizeof counts);
}

}  // namespace tavrin::rs
