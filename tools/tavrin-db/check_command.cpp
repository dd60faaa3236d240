// tavrin-db check, pack and reclaim: what the file holds against what its
// header and chains say, and the commands that rewrite it.
#include <cstdio>

#include "internal/block_audit.h"
#include "recordstore/database_manager.h"
#include "recordstore/open_repairs.h"
#include "runtime/gbk.h"
#include "tool.h"

namespace tavrin::dbtool {

using namespace rs;

namespace {

// Bytes past the last record the header counts; 0 when the file ends there
// or is shorter.
uint64_t TrailingBytes(Database& db, int32_t count) {
    uint64_t length = 0;
    if (db.records.file.size(&length) != Code::kOk) return 0;
    const uint64_t end = db.recordOffset(count);
    return length > end ? length - end : 0;
}

}  // namespace

void PrintOpenRepairs() {
    for (const OpenRepairs& r : TakeOpenRepairs()) {
        std::string what;
        auto add = [&](bool present, const std::string& text) {
            if (present) what += (what.empty() ? "" : "; ") + text;
        };
        add(r.recordsDropped > 0, std::to_string(r.recordsDropped) +
                                      " records that never reached the disk whole dropped");
        add(r.trailingBytesDropped > 0,
            std::to_string(r.trailingBytesDropped) + " bytes past the last record dropped");
        add(r.fieldsCleared > 0,
            std::to_string(r.fieldsCleared) +
                " memo or byte-set values whose blocks were lost or shared emptied");
        add(r.freeListRebuilt, "the list of free blocks rebuilt");
        std::fprintf(stderr, "repaired %s: %s\n", GbkToUtf8(r.gbkPath).c_str(), what.c_str());
    }
}

bool IsUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto c = uint8_t(text[i]);
        const size_t n = c < 0x80         ? 1
                         : (c >> 5) == 6  ? 2
                         : (c >> 4) == 14 ? 3
                         : (c >> 3) == 30 ? 4
                                          : 0;
        if (n == 0 || i + n > text.size() || (n == 2 && c < 0xC2)) return false;
        uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (size_t k = 1; k < n; ++k) {
            const auto d = uint8_t(text[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond U+10FFFF.
        if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += n;
    }
    return true;
}

int Check(const std::string& file) {
    std::unique_ptr<Database> db;
    if (Code code = OpenFile(file, true, &db); code != Code::kOk) {
        if (code == Code::kFileSizeWrong)
            std::fprintf(stderr,
                         "the header counts records the file does not hold (they never reached "
                         "the disk); the next writable open drops them\n");
        return Fail(code);
    }
    WholeLock whole(db->records, LockWaitTime());
    if (whole.code() != Code::kOk) return Fail(whole.code());
    int32_t count = 0, marked = 0, unwritten = 0;
    if (Code code = ReadRecordCount(*db, &count); code != Code::kOk) return Fail(code);
    Code code = ScanRecords(*db, 0, count, [&](const uint8_t* record, int32_t) -> ScanStep {
        const int32_t tag = GetI32(record);
        unwritten += tag == 0 ? 1 : 0;
        marked += tag < 0 ? 1 : 0;
        return ScanStep::GoOn();
    });
    if (code != Code::kOk) return Fail(code);
    BlockAudit audit;
    if (code = AuditBlocks(*db, &audit); code != Code::kOk) return Fail(code);
    const std::pair<int32_t, const char*> findings[] = {
        {unwritten, "records inside the count were never written (tag 0)"},
        {audit.sharedBlocks, "blocks used twice (by two chains)"},
        {audit.chainsIntoFree, "chains reach a block on the free list"},
        {audit.freeListLoops, "free list loops or leaves the file"},
        {audit.liveOnFreeList, "blocks with content on the free list"},
        {audit.brokenChains,
         "chains loop, link outside the file or through a block no reader takes"},
        {audit.freeCountHigh, "free blocks counted in the header that the free list does not hold"},
    };
    for (auto [n, text] : findings) {
        if (n > 0) std::fprintf(stderr, "%d %s\n", n, text);
    }
    if (unwritten > 0 || audit.damaged()) {
        std::fprintf(stderr, "the next writable open (an append, a pack) repairs this\n");
        return Fail(unwritten > 0 ? Code::kFileSizeWrong : Code::kBlockFileAccess);
    }
    std::printf("ok: %d records (%d marked as deleted)", count, marked);
    if (db->blocks)
        std::printf(", %d blocks: %d in %d chains, %d free", audit.blockCount, audit.chainBlocks,
                    audit.chains, audit.freeBlocks);
    std::printf("\n");
    if (audit.reclaimable()) {
        std::printf(
            "%zu blocks reached by no chain and no free list, %d free blocks not counted "
            "(tavrin-db reclaim %s gives them back)\n",
            audit.orphans.size(), audit.freeCountLow, file.c_str());
    }
    if (const uint64_t trailing = TrailingBytes(*db, count); trailing > 0) {
        std::printf(
            "%llu bytes past the last record (pack leaves the file as it is while they are "
            "there; tavrin-db pack --drop-trailing %s drops them)\n",
            static_cast<unsigned long long>(trailing), file.c_str());
    }
    return 0;
}

int Pack(const std::string& file, bool dropTrailing) {
    std::unique_ptr<Database> db;
    if (!dropTrailing) {
        // A writable open would drop the bytes past the last record, so the
        // file is looked at read-only first.
        if (Code code = OpenFile(file, true, &db);
            code != Code::kOk && code != Code::kFileSizeWrong)
            return Fail(code);
        if (db) {
            const uint64_t trailing = TrailingBytes(*db, GetI32(db->header + kHeaderCount));
            db.reset();
            if (trailing > 0) {
                std::fprintf(stderr,
                             "%llu bytes past the last record: the file is left as it is "
                             "(tavrin-db pack --drop-trailing %s drops them)\n",
                             static_cast<unsigned long long>(trailing), file.c_str());
                return 1;
            }
        }
    }
    if (Code code = OpenFile(file, false, &db); code != Code::kOk) return Fail(code);
    Code code = PackRecords(*db);
    return code == Code::kOk ? 0 : Fail(code);
}

int Reclaim(const std::string& file) {
    std::unique_ptr<Database> db;
    if (Code code = OpenFile(file, false, &db, Sharing::kExclusive); code != Code::kOk) {
        return Fail(code);
    }
    int32_t reclaimed = 0;
    if (Code code = ReclaimBlocks(*db, &reclaimed); code != Code::kOk) return Fail(code);
    std::printf("%d blocks given back\n", reclaimed);
    return 0;
}

}  // namespace tavrin::dbtool
