// Fuzz target: a record file, its block file and a pack journal built from one
// input, opened for writing (repairs and rollback included), every record and
// chain read, the block file audited, then a memo written and the file packed.
// Input: three little-endian uint32 lengths (record file, block file, journal),
// then the three files' bytes; a missing length or file counts as empty.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "internal/block_audit.h"
#include "internal/block_file.h"
#include "internal/record_file.h"
#include "runtime/gbk.h"

namespace {

using namespace tavrin::rs;

// One folder per process, removed at exit; a plain array, so that it is still
// there when the exit handler runs after static objects are gone.
char gDirectory[64];

const char* WorkDirectory() {
    if (gDirectory[0] == 0) {
        std::snprintf(gDirectory, sizeof gDirectory, "/dev/shm/rs-fuzz-XXXXXX");
        if (mkdtemp(gDirectory) == nullptr) {
            std::snprintf(gDirectory, sizeof gDirectory, "/tmp/rs-fuzz-XXXXXX");
            if (mkdtemp(gDirectory) == nullptr) std::abort();
        }
        std::atexit([] { std::filesystem::remove_all(gDirectory); });
    }
    return gDirectory;
}

void Put(const std::string& path, const uint8_t* data, size_t n, bool present) {
    unlink(path.c_str());
    if (!present) return;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (n > 0 && std::fwrite(data, 1, n, f) != n) std::abort();
    std::fclose(f);
}

uint32_t Length(const uint8_t*& data, size_t& size) {
    if (size < 4) return 0;
    uint32_t n = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                 uint32_t(data[3]) << 24;
    data += 4;
    size -= 4;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string dir = WorkDirectory();
    const uint8_t* p = data;
    size_t left = size;
    size_t lengths[3];
    for (size_t& n : lengths) n = Length(p, left);
    const std::string base = dir + "/f";
    const char* const suffix[3] = {".edb", ".EDT", ".edb-journal"};
    for (int i = 0; i < 3; ++i) {
        const size_t n = std::min<size_t>(lengths[i], left);
        Put(base + suffix[i], p, n, i == 0 || n > 0);
        p += n;
        left -= n;
    }
    std::unique_ptr<Database> db;
    OpenRequest request;
    request.gbkPath = tavrin::Utf8ToGbk(base + ".edb");
    if (OpenDatabaseFiles(request, &db) != Code::kOk) return 0;
    int32_t count = 0;
    if (ReadRecordCount(*db, &count) != Code::kOk) return 0;
    // Only a crash or a sanitizer report is a finding here: what each call
    // returns on damaged input is of no interest, so results are dropped.
    // Records and chains, as dump reads them.
    (void)ScanRecords(*db, 0, count, [&](const uint8_t* record, int32_t) -> ScanStep {
        for (const FieldDescriptor& f : db->fields) {
            if (!IsChainField(f.type)) continue;
            std::string chain;
            if (ReadChain(db->blocks.get(), GetI32(record + f.offset), &chain) != Code::kOk)
                return ScanStep::GoOn();
        }
        return ScanStep::GoOn();
    });
    BlockAudit audit;
    (void)AuditBlocks(*db, &audit);
    // The allocator and the pack on whatever the file holds.
    if (AppendRecord(*db) != Code::kOk) return 0;
    for (const FieldDescriptor& f : db->fields) {
        if (!IsChainField(f.type)) continue;
        static const std::string text(1300, 'x');
        int32_t first = 0;
        if (WriteChain(db->blocks.get(), reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                       0, &first) == Code::kOk) {
            uint8_t head[4];
            PutI32(head, first);
            (void)WriteFieldBytes(*db, db->current, f, head);
        }
    }
    (void)MarkRecord(*db, 0, true);
    (void)PackRecords(*db);
    return 0;
}
