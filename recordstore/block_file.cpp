// Block chains. Every block touched by a write stays locked until the write
// ends; the header byte is locked once allocation or freeing needs the header.
// Chains read from disk are followed with a step limit, so a damaged chain
// that loops or points outside the file ends with -59 instead of hanging.
#include "recordstore/block_file.h"

#include <cstring>
#include <vector>

#include "recordstore/error_codes.h"
#include "recordstore/record_format.h"

namespace tavrin::rs {

namespace {

struct BlockLinks {
    int32_t prev = 0, next = 0, used = 0;
};

class ChainWriter {
  public:
    explicit ChainWriter(LockedFile& f) : f_(f) {}
    ~ChainWriter() {
        for (uint64_t off : locked_) f_.unlockByte(off);
    }

    int32_t start() {
        uint64_t length = 0;
        if (int32_t code = f_.file.size(&length); code != kOk) return code;
        fileBlocks_ = int64_t(length / kBlockSize);
        return kOk;
    }

    int32_t lockBlock(int32_t b) {
        int32_t code = f_.lockByte(uint64_t(b) * kBlockSize, LockWaitTime());
        if (code == kOk) locked_.push_back(uint64_t(b) * kBlockSize);
        return code;
    }

    // Reads and locks the header (once); later allocation works on the copy.
    int32_t loadHeader() {
        if (headerLoaded_) return kOk;
        if (int32_t code = lockBlock(0); code != kOk) return code;
        uint8_t h[kBlockHeaderSize];
        size_t got = 0;
        if (f_.file.readAt(0, h, sizeof h, &got) != kOk || got < sizeof h) return kBlockFileAccess;
        count_ = GetI32(h + 16);
        freeCount_ = GetI32(h + 20);
        firstFree_ = GetI32(h + 24);
        if (count_ <= 0) return kBlockFileAccess;
        headerLoaded_ = true;
        return kOk;
    }

    int32_t saveHeader() {
        if (!headerLoaded_) return kOk;
        uint8_t fields[12];
        PutI32(fields, count_);
        PutI32(fields + 4, freeCount_);
        PutI32(fields + 8, firstFree_);
        return f_.file.writeAt(kBlockCountOffset, fields, 12);
    }

    bool valid(int32_t b) const {
        int64_t limit = headerLoaded_ ? std::max<int64_t>(count_, fileBlocks_) : fileBlocks_;
        return b > 0 && b < limit;
    }

    int32_t readLinks(int32_t b, BlockLinks* links) {
        if (!valid(b)) return kBlockFileAccess;
        if (int32_t code = lockBlock(b); code != kOk) return code;
        uint8_t raw[12];
        size_t got = 0;
        if (f_.file.readAt(uint64_t(b) * kBlockSize, raw, 12, &got) != kOk || got < 12) {
            return kBlockFileAccess;
        }
        *links = {GetI32(raw), GetI32(raw + 4), GetI32(raw + 8)};
        return kOk;
    }

    int32_t writeLink(int32_t b, int fieldOffset, int32_t value) {
        uint8_t raw[4];
        PutI32(raw, value);
        return f_.file.writeAt(uint64_t(b) * kBlockSize + uint64_t(fieldOffset), raw, 4);
    }

    int32_t writeBlock(int32_t b, int32_t prev, int32_t next, const uint8_t* data, int32_t used) {
        uint8_t block[kBlockSize] = {};
        PutI32(block, prev);
        PutI32(block + 4, next);
        PutI32(block + 8, used);
        if (used > 0) std::memcpy(block + 12, data, size_t(used));
        if (int64_t(b) >= fileBlocks_) fileBlocks_ = int64_t(b) + 1;
        return f_.file.writeAt(uint64_t(b) * kBlockSize, block, kBlockSize);
    }

    // A block for the next piece: from the free list, or appended at the end.
    int32_t allocate(int32_t* b) {
        if (int32_t code = loadHeader(); code != kOk) return code;
        if (freeCount_ > 0 && valid(firstFree_)) {
            BlockLinks links;
            if (int32_t code = readLinks(firstFree_, &links); code != kOk) return code;
            *b = firstFree_;
            firstFree_ = links.next > 0 && valid(links.next) ? links.next : 0;
            --freeCount_;
            if (firstFree_ == 0) freeCount_ = 0;
            return kOk;
        }
        if (count_ == 0x7FFFFFFF / kBlockSize) return kDiskFull;
        *b = count_++;
        return lockBlock(*b);
    }

    // Frees the blocks of list (in chain order) onto the head of the free list.
    int32_t release(const std::vector<int32_t>& list) {
        if (list.empty()) return kOk;
        if (int32_t code = loadHeader(); code != kOk) return code;
        const int32_t oldHead = valid(firstFree_) ? firstFree_ : 0;
        for (size_t i = 0; i < list.size(); ++i) {
            int32_t prev = i == 0 ? 0 : list[i - 1];
            int32_t next = i + 1 < list.size() ? list[i + 1] : oldHead;
            if (int32_t code = writeBlock(list[i], prev, next, nullptr, 0); code != kOk)
                return code;
        }
        if (oldHead > 0) {
            if (int32_t code = writeLink(oldHead, 0, list.back()); code != kOk) return code;
        }
        firstFree_ = list.front();
        freeCount_ = (oldHead > 0 ? freeCount_ : 0) + int32_t(list.size());
        return kOk;
    }

    // Gives free blocks at the end of the file back to the file system.
    int32_t shrink() {
        if (!headerLoaded_) return kOk;
        int32_t last = count_ - 1;
        int32_t kept = count_;
        while (last >= 1) {
            BlockLinks links;
            if (int32_t code = readLinks(last, &links); code != kOk) return code;
            if (links.used != 0) break;
            // Unlink it; only the head's previous link may be stale.
            if (firstFree_ == last) {
                firstFree_ = valid(links.next) ? links.next : 0;
            } else if (valid(links.prev)) {
                if (int32_t code = writeLink(links.prev, 4, links.next); code != kOk) return code;
            }
            if (valid(links.next) && firstFree_ != links.next) {
                if (int32_t code = writeLink(links.next, 0, links.prev); code != kOk) return code;
            }
            if (freeCount_ > 0) --freeCount_;
            kept = last;
            --last;
        }
        if (kept == count_) return kOk;
        count_ = kept;
        if (firstFree_ == 0) freeCount_ = 0;
        if (int32_t code = saveHeader(); code != kOk) return code;
        fileBlocks_ = count_;
        return f_.file.truncate(uint64_t(count_) * kBlockSize);
    }

    int32_t count() const { return count_; }
    int64_t fileBlocks() const { return fileBlocks_; }

  private:
    LockedFile& f_;
    std::vector<uint64_t> locked_;
    bool headerLoaded_ = false;
    int32_t count_ = 0, freeCount_ = 0, firstFree_ = 0;
    int64_t fileBlocks_ = 0;
};

int32_t WriteChainLocked(ChainWriter& w, const uint8_t* data, size_t n, int32_t oldFirst,
                         int32_t* newFirst) {
    if (int32_t code = w.start(); code != kOk) return code;
    int32_t oldCursor = oldFirst > 0 && w.valid(oldFirst) ? oldFirst : 0;
    int64_t steps = 0;
    const size_t pieces = (n + kBlockPayload - 1) / kBlockPayload;
    int32_t pending = 0, pendingPrev = 0, pendingUsed = 0;
    const uint8_t* pendingData = nullptr;
    bool lastWasFileEnd = false;
    for (size_t k = 0; k < pieces; ++k) {
        int32_t b = 0;
        if (oldCursor > 0) {
            BlockLinks links;
            if (int32_t code = w.readLinks(oldCursor, &links); code != kOk) return code;
            b = oldCursor;
            oldCursor = links.next > 0 && w.valid(links.next) ? links.next : 0;
            if (++steps > w.fileBlocks()) return kBlockFileAccess;  // a loop
        } else if (int32_t code = w.allocate(&b); code != kOk) {
            return code;
        }
        if (pending > 0) {
            if (int32_t code = w.writeBlock(pending, pendingPrev, b, pendingData, pendingUsed);
                code != kOk) {
                return code;
            }
        } else {
            *newFirst = b;
        }
        pendingPrev = pending;
        pending = b;
        pendingData = data + k * kBlockPayload;
        pendingUsed = int32_t(std::min<size_t>(kBlockPayload, n - k * kBlockPayload));
    }
    if (pending > 0) {
        if (int32_t code = w.writeBlock(pending, pendingPrev, 0, pendingData, pendingUsed);
            code != kOk) {
            return code;
        }
    }
    // What is left of the old chain is freed, in chain order.
    std::vector<int32_t> rest;
    while (oldCursor > 0) {
        BlockLinks links;
        if (int32_t code = w.readLinks(oldCursor, &links); code != kOk) return code;
        rest.push_back(oldCursor);
        if (++steps > w.fileBlocks()) return kBlockFileAccess;
        oldCursor = links.next > 0 && w.valid(links.next) ? links.next : 0;
    }
    if (int32_t code = w.release(rest); code != kOk) return code;
    for (int32_t b : rest) lastWasFileEnd = lastWasFileEnd || b == w.count() - 1;
    if (lastWasFileEnd) {
        if (int32_t code = w.shrink(); code != kOk) return code;
    }
    return w.saveHeader();
}

}  // namespace

static int32_t ReadChainUnguarded(LockedFile* blocks, int32_t first, std::string* out) {
    out->clear();
    if (first <= 0) return kOk;
    if (blocks == nullptr || !blocks->file.isOpen()) return kBlockFileAccess;
    uint64_t length = 0;
    if (blocks->file.size(&length) != kOk) return kBlockFileAccess;
    const int64_t fileBlocks = int64_t(length / kBlockSize);
    uint64_t heldOffset = 0;
    bool holding = false;
    int32_t code = kOk;
    int64_t steps = 0;
    for (int32_t b = first; b > 0;) {
        if (b >= fileBlocks || ++steps > fileBlocks) {
            code = kBlockFileAccess;
            break;
        }
        const uint64_t off = uint64_t(b) * kBlockSize;
        code = blocks->lockByte(off, LockWaitTime());
        if (code != kOk) break;
        if (holding) blocks->unlockByte(heldOffset);
        heldOffset = off;
        holding = true;
        uint8_t block[kBlockSize];
        size_t got = 0;
        if (blocks->file.readAt(off, block, kBlockSize, &got) != kOk || got < kBlockSize) {
            code = kBlockFileAccess;
            break;
        }
        const int32_t used = GetI32(block + 8);
        if (used < 0 || used > kBlockPayload) {
            code = kBlockFileAccess;
            break;
        }
        out->append(reinterpret_cast<const char*>(block + 12), size_t(used));
        b = GetI32(block + 4);
    }
    if (holding) blocks->unlockByte(heldOffset);
    if (code != kOk) out->clear();
    return code;
}

// No exception leaves the engine.
int32_t ReadChain(LockedFile* blocks, int32_t first, std::string* out) {
    try {
        return ReadChainUnguarded(blocks, first, out);
    } catch (...) {
        return kBlockFileAccess;
    }
}

static int32_t WriteChainUnguarded(LockedFile* blocks, const uint8_t* data, size_t n,
                                   int32_t oldFirst, int32_t* newFirst) {
    *newFirst = 0;
    if (n == 0 && oldFirst <= 0) return kOk;  // nothing to write, nothing to free
    if (blocks == nullptr || !blocks->file.isOpen()) return kBlockFileAccess;
    ChainWriter writer(*blocks);
    int32_t code = WriteChainLocked(writer, data, n, oldFirst, newFirst);
    if (code != kOk) *newFirst = oldFirst;  // the field keeps what it had
    return code;
}

// No exception leaves the engine.
int32_t WriteChain(LockedFile* blocks, const uint8_t* data, size_t n, int32_t oldFirst,
                   int32_t* newFirst) {
    try {
        return WriteChainUnguarded(blocks, data, n, oldFirst, newFirst);
    } catch (...) {
        return kBlockFileAccess;
    }
}

int32_t FreeChain(LockedFile* blocks, int32_t first) {
    int32_t unused = 0;
    return WriteChain(blocks, nullptr, 0, first, &unused);
}

int32_t ResetBlockFile(LockedFile* blocks) {
    if (blocks == nullptr || !blocks->file.isOpen()) return kBlockFileAccess;
    ByteLock header(*blocks, 0, LockWaitTime());
    if (header.code() != kOk) return header.code();
    uint8_t fields[12];
    PutI32(fields, 1);
    PutI32(fields + 4, 0);
    PutI32(fields + 8, 0);
    if (int32_t code = blocks->file.writeAt(kBlockCountOffset, fields, 12); code != kOk)
        return code;
    return blocks->file.truncate(kBlockSize);
}

}  // namespace tavrin::rs
