// Mending on a writable open what a power cut can leave: records counted but
// never written, chains into the free list or into each other, a free list
// that disagrees with the chains. Each repair is synced before the next one
// relies on it, so a cut during the repair leaves nothing worse.
#include "internal/open_repair.h"

#include <algorithm>
#include <mutex>

#include "internal/block_file.h"

namespace tavrin::rs {

namespace {

std::mutex gNotesMutex;
std::vector<OpenRepairs>& Notes() {
    static std::vector<OpenRepairs> notes;
    return notes;
}

struct Links {
    int32_t next = 0, used = 0;
};

class BlockMap {
  public:
    explicit BlockMap(LockedFile& f) : f_(f) {}

    Code load() {
        uint8_t h[kBlockHeaderSize];
        size_t got = 0;
        if (Code code = f_.file.readAt(0, h, sizeof h, &got); code != Code::kOk) return code;
        if (got < sizeof h) return Code::kBlockFileAccess;
        uint64_t length = 0;
        if (Code code = f_.file.size(&length); code != Code::kOk) return code;
        // Every whole block of the file counts: a chain may reach one the
        // header's count did not take in yet, and then the count is rewritten.
        count = int32_t(std::max<uint64_t>(
            1, std::min<uint64_t>(length / kBlockSize, 0x7FFFFFFF / kBlockSize)));
        countStale = GetI32(h + kBlockHeaderCount) != count;
        freeCount = GetI32(h + kBlockHeaderFreeCount);
        firstFree = GetI32(h + kBlockHeaderFirstFree);
        state.assign(size_t(std::max(count, 1)), kUnknown);
        return Code::kOk;
    }

    Code links(int32_t b, Links* out) {
        uint8_t raw[kBlockData];
        size_t got = 0;
        if (Code code = f_.file.readAt(uint64_t(b) * kBlockSize, raw, kBlockData, &got);
            code != Code::kOk) {
            return code;
        }
        if (got < kBlockData) return Code::kBlockFileAccess;
        *out = {GetI32(raw + kBlockNext), GetI32(raw + kBlockUsed)};
        return Code::kOk;
    }

    bool inside(int32_t b) const { return b > 0 && b < count; }

    // The free list up to its first fault (a link out of the file, a loop, a
    // block with content); *sound says whether it has none and its length is
    // the header's free count.
    Code walkFreeList(bool* sound) {
        int32_t listed = 0;
        *sound = true;
        for (int32_t b = firstFree; b != 0;) {
            Links l;
            if (!inside(b) || state[size_t(b)] != kUnknown) {
                *sound = false;
                break;
            }
            if (Code code = links(b, &l); code != Code::kOk) return code;
            if (l.used != 0) {
                *sound = false;
                break;
            }
            state[size_t(b)] = kListed;
            ++listed;
            b = l.next;
        }
        *sound = *sound && listed == freeCount && !countStale;
        return Code::kOk;
    }

    // Follows one chain; it is owned whole, or not at all when it leaves the
    // file, loops, reaches a listed block, one another chain owns, or a block
    // whose used count no reader accepts.
    Code claimChain(int32_t first, bool* whole) {
        std::vector<int32_t> mine;
        *whole = false;
        for (int32_t b = first; b != 0;) {
            Links l;
            bool fits = inside(b) && state[size_t(b)] == kUnknown;
            if (fits) {
                if (Code code = links(b, &l); code != Code::kOk) return code;
                fits = l.used >= 0 && l.used <= kBlockPayload;
            }
            if (!fits) {
                for (int32_t m : mine) state[size_t(m)] = kUnknown;
                return Code::kOk;
            }
            state[size_t(b)] = kChain;  // at once, so a loop is seen
            mine.push_back(b);
            b = l.next;
        }
        *whole = true;
        return Code::kOk;
    }

    // The free list made of every block no chain holds; trailing ones go back
    // to the file system. Blocks first, then the header, each synced.
    Code rebuild() {
        int32_t kept = count;
        while (kept > 1 && state[size_t(kept - 1)] != kChain) --kept;
        std::vector<int32_t> free;
        for (int32_t b = 1; b < kept; ++b) {
            if (state[size_t(b)] != kChain) free.push_back(b);
        }
        uint8_t block[kBlockSize] = {};
        for (size_t i = 0; i < free.size(); ++i) {
            PutI32(block + kBlockPrevious, i == 0 ? 0 : free[i - 1]);
            PutI32(block + kBlockNext, i + 1 < free.size() ? free[i + 1] : 0);
            if (Code code = f_.file.writeAt(uint64_t(free[i]) * kBlockSize, block, kBlockSize);
                code != Code::kOk) {
                return code;
            }
        }
        if (Code code = f_.file.syncData(); code != Code::kOk) return code;
        if (Code code =
                WriteBlockCounts(&f_, kept, int32_t(free.size()), free.empty() ? 0 : free.front());
            code != Code::kOk) {
            return code;
        }
        if (Code code = f_.file.truncate(uint64_t(kept) * kBlockSize); code != Code::kOk)
            return code;
        return f_.file.syncData();
    }

    enum State : uint8_t { kUnknown, kChain, kListed };
    int32_t count = 0, freeCount = 0, firstFree = 0;
    bool countStale = false;
    std::vector<uint8_t> state;

  private:
    LockedFile& f_;
};

}  // namespace

std::vector<OpenRepairs> TakeOpenRepairs() {
    std::lock_guard<std::mutex> lock(gNotesMutex);
    std::vector<OpenRepairs> taken;
    taken.swap(Notes());
    return taken;
}

void NoteOpenRepairs(const OpenRepairs& repairs) {
    std::lock_guard<std::mutex> lock(gNotesMutex);
    Notes().push_back(repairs);
}

Code DropUnwrittenRecords(Database& db, OpenRepairs* repairs) {
    const int32_t count = GetI32(db.header + kHeaderCount);
    int32_t kept = count;
    while (kept > 0) {
        uint8_t tag[4];
        size_t got = 0;
        if (Code code = db.records.file.readAt(db.recordOffset(kept - 1), tag, 4, &got);
            code != Code::kOk) {
            return code;
        }
        if (got < 4 || GetI32(tag) != 0) break;
        --kept;
    }
    if (kept == count) return Code::kOk;
    uint8_t bytes[4];
    PutI32(bytes, kept);
    if (Code code = db.records.file.writeAt(kHeaderCount, bytes, 4); code != Code::kOk) return code;
    if (Code code = db.records.file.truncate(db.recordOffset(kept)); code != Code::kOk) return code;
    if (Code code = db.records.file.syncData(); code != Code::kOk) return code;
    std::memcpy(db.header + kHeaderCount, bytes, 4);
    repairs->recordsDropped += count - kept;
    return Code::kOk;
}

Code RepairBlockFile(Database& db, OpenRepairs* repairs) {
    if (!db.blocks) return Code::kOk;
    ByteLock header(*db.blocks, 0, LockWaitTime());
    if (header.code() != Code::kOk) return header.code();
    BlockMap map(*db.blocks);
    if (Code code = map.load(); code != Code::kOk) return code;
    bool listSound = false;
    if (Code code = map.walkFreeList(&listSound); code != Code::kOk) return code;
    const int32_t count = GetI32(db.header + kHeaderCount);
    struct Cut {
        int32_t record, offset;
    };
    std::vector<Cut> cuts;
    Code code = ScanRecords(db, 0, count, [&](const uint8_t* record, int32_t index) -> ScanStep {
        for (const FieldDescriptor& f : db.fields) {
            const int32_t first = IsChainField(f.type) ? GetI32(record + f.offset) : 0;
            if (first == 0) continue;
            bool whole = false;
            if (Code c = map.claimChain(first, &whole); c != Code::kOk) return c;
            if (!whole) cuts.push_back({index, f.offset});
        }
        return ScanStep::GoOn();
    });
    if (code != Code::kOk) return code;
    if (!cuts.empty()) {
        // The cut fields are durable before any block they let go of can be
        // handed out again.
        const uint8_t zero[4] = {};
        for (const Cut& c : cuts) {
            code = db.records.file.writeAt(db.recordOffset(c.record) + uint64_t(c.offset), zero, 4);
            if (code != Code::kOk) return code;
        }
        if (code = db.records.file.syncData(); code != Code::kOk) return code;
        repairs->fieldsCleared += int32_t(cuts.size());
    }
    if (listSound) return Code::kOk;
    if (code = map.rebuild(); code != Code::kOk) return code;
    repairs->freeListRebuilt = true;
    return Code::kOk;
}

}  // namespace tavrin::rs
