// Opening a database: the consistency tests on the header, the descriptors and
// the block file, then the repairs of a file shorter than its header says. All
// checks run before the first repair, so a file that fails is left untouched.
#include <new>

#include "internal/block_file.h"
#include "internal/open_repair.h"
#include "internal/pack_journal.h"
#include "internal/password.h"
#include "internal/record_file.h"
#include "runtime/gbk.h"

namespace tavrin::rs {

namespace {

Code ReadDescriptors(Database& db, uint64_t length) {
    uint8_t countBytes[4];
    size_t got = 0;
    // A read that fails is the file's error; only a short one means no database.
    if (Code code = db.records.file.readAt(kFieldCountOffset, countBytes, 4, &got);
        code != Code::kOk)
        return code;
    if (got < 4) return Code::kNotDatabase;
    const int32_t n = GetI32(countBytes);
    if (n <= 0) return Code::kNotDatabase;
    const uint64_t end = kDescriptorsOffset + uint64_t(kDescriptorSize) * uint64_t(n);
    if (end > length) return Code::kNotDatabase;  // a short read, known before reading
    std::vector<uint8_t> raw(end - kDescriptorsOffset);
    if (Code code = db.records.file.readAt(kDescriptorsOffset, raw.data(), raw.size(), &got);
        code != Code::kOk) {
        return code;
    }
    if (got < raw.size()) return Code::kNotDatabase;
    db.fields.resize(size_t(n));
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t* d = &raw[size_t(i) * kDescriptorSize];
        FieldDescriptor& f = db.fields[size_t(i)];
        size_t nameLength = 0;
        while (nameLength <= kMaxFieldName && d[nameLength] != 0) ++nameLength;
        if (nameLength > kMaxFieldName) return Code::kNotDatabase;
        f.name.assign(reinterpret_cast<const char*>(d), nameLength);
        f.type = GetI32(d + kDescriptorType);
        f.offset = GetI32(d + kDescriptorOffset);
        f.size = GetI32(d + kDescriptorTextSize);
        if (f.offset < 0 || f.type < kFieldByte || f.type > kFieldMemo) return Code::kNotDatabase;
        // Creation never makes a text wider than 1024 bytes; a larger size is damage.
        if (f.type == kFieldText && (f.size <= 0 || f.size > kMaxTextSize))
            return Code::kNotDatabase;
        f.width = FieldWidth(f.type, f.size);
        // A field reaching past the record would read into the next record or
        // beyond a scan buffer.
        if (int64_t(f.offset) + f.width > db.recordSize) return Code::kNotDatabase;
    }
    // No creation makes a record larger than its fields can fill; a larger size
    // (up to 2 GB) would make every append write that much.
    if (int64_t(db.recordSize) > 4 + int64_t(n) * kMaxTextSize) return Code::kNotDatabase;
    db.dataOffset = end;
    db.fieldsRead();
    return Code::kOk;
}

struct BlockRepair {
    bool needed = false;
    int32_t count = 0, freeCount = 0, firstFree = 0;
};

Code CheckBlockFile(Database& db, const OpenRequest& request, BlockRepair* repair) {
    db.blocks = std::make_unique<LockedFile>();
    LockedFile& blocks = *db.blocks;
    if (blocks.file.open(NativePath(BlockFilePath(request.gbkPath)), !request.readOnly,
                         request.sharing, false) != Code::kOk) {
        return Code::kBlockFileUnreadable;
    }
    WholeLock whole(blocks, LockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();
    uint8_t h[kBlockHeaderSize];
    size_t got = 0;
    if (Code code = blocks.file.readAt(0, h, sizeof h, &got); code != Code::kOk) return code;
    if (got < sizeof h) return Code::kBlockFileUnreadable;
    const int32_t count = GetI32(h + kBlockHeaderCount),
                  freeCount = GetI32(h + kBlockHeaderFreeCount),
                  firstFree = GetI32(h + kBlockHeaderFirstFree);
    if (GetI32(h + kBlockHeaderMagic) != int32_t(kBlockMagic) || count <= 0 || freeCount < 0 ||
        freeCount >= count || firstFree < 0 || firstFree >= count) {
        return Code::kBlockFileUnreadable;
    }
    if (GetI32(h + kBlockHeaderVersion) != GetI32(db.header + kHeaderVersion))
        return Code::kBlockFileVersion;
    uint64_t length = 0;
    if (Code code = blocks.file.size(&length); code != Code::kOk) return code;
    const uint64_t whole_blocks = length / kBlockSize;
    if (whole_blocks < uint64_t(count)) {
        // Without its header block the file cannot be mended by lowering the count.
        if (request.readOnly || whole_blocks == 0) return Code::kBlockFileBroken;
        repair->needed = true;
        repair->count = int32_t(whole_blocks);
        // A free list reaching past the new end is dropped: its blocks held no data.
        bool listFits = firstFree < repair->count && freeCount < repair->count;
        repair->freeCount = listFits ? freeCount : 0;
        repair->firstFree = listFits ? firstFree : 0;
    }
    return Code::kOk;
}

Code OpenChecked(const OpenRequest& request, Database& db) {
    if (HasWildcard(request.gbkPath)) return Code::kBadPath;
    db.readOnly = request.readOnly;
    if (Code code = db.records.file.open(NativePath(request.gbkPath), !request.readOnly,
                                         request.sharing, false);
        code != Code::kOk) {
        return code;
    }
    db.records.skipLocks = SharingSkipsLocks(request.sharing);
    WholeLock whole(db.records, LockWaitTime());
    if (whole.code() != Code::kOk) return whole.code();

    uint64_t length = 0;
    if (Code code = db.records.file.size(&length); code != Code::kOk) return code;
    size_t got = 0;
    if (Code code = db.records.file.readAt(0, db.header, kHeaderSize, &got); code != Code::kOk)
        return code;
    if (got < kHeaderSize) return Code::kNotDatabase;
    const int32_t magic = GetI32(db.header);
    if (magic != int32_t(kRecordMagic) && magic != int32_t(kPasswordMagic))
        return Code::kNotDatabase;
    if (Code code = CheckPassword(db.header, request.password); code != Code::kOk) return code;
    db.recordSize = GetI32(db.header + kHeaderRecordSize);
    const int32_t count = GetI32(db.header + kHeaderCount);
    if (db.recordSize <= 0 || count < 0 || GetI32(db.header + kHeaderNextSerial) < 1)
        return Code::kNotDatabase;
    if (GetI32(db.header + kHeaderVersion) > kFormatVersion) return Code::kVersionTooHigh;
    if (Code code = ReadDescriptors(db, length); code != Code::kOk) return code;
    // A pack that died half-way is rolled back before anything is judged by
    // the record count.
    db.fullPath = request.gbkPath;
    if (Code code = RecoverInterruptedPack(db); code != Code::kOk) return code;
    if (Code code = db.records.file.size(&length); code != Code::kOk) return code;

    const uint64_t present = (length - db.dataOffset) / uint64_t(db.recordSize);
    const bool shortFile = present < uint64_t(count);
    if (shortFile && request.readOnly) return Code::kFileSizeWrong;

    bool chains = false;
    for (const FieldDescriptor& f : db.fields) chains = chains || IsChainField(f.type);
    BlockRepair blockRepair;
    if (chains) {
        if (Code code = CheckBlockFile(db, request, &blockRepair); code != Code::kOk) return code;
    }

    // Repairs, on a writable open only.
    OpenRepairs repairs;
    repairs.gbkPath = request.gbkPath;
    if (shortFile) {
        repairs.recordsDropped = count - int32_t(present);
        PutI32(db.header + kHeaderCount, int32_t(present));
        if (Code code = db.records.file.writeAt(kHeaderCount, db.header + kHeaderCount, 4);
            code != Code::kOk) {
            return code;
        }
    }
    if (!request.readOnly) {
        const uint64_t exact = db.recordOffset(GetI32(db.header + kHeaderCount));
        if (length != exact) {
            if (!shortFile) repairs.trailingBytesDropped = int64_t(length - exact);
            if (Code code = db.records.file.truncate(exact); code != Code::kOk) return code;
            if (Code code = db.records.file.syncData(); code != Code::kOk) return code;
        }
    }
    if (blockRepair.needed) {
        if (Code code = WriteBlockCounts(db.blocks.get(), blockRepair.count, blockRepair.freeCount,
                                         blockRepair.firstFree);
            code != Code::kOk) {
            return code;
        }
        if (Code code = db.blocks->file.syncData(); code != Code::kOk) return code;
    }
    if (request.readOnly) return Code::kOk;
    // What a power cut can leave is mended before anything is allocated.
    if (Code code = DropUnwrittenRecords(db, &repairs); code != Code::kOk) return code;
    if (Code code = RepairBlockFile(db, &repairs); code != Code::kOk) return code;
    if (repairs.any()) NoteOpenRepairs(repairs);
    return Code::kOk;
}

std::string TitleOf(const std::string& path) {
    size_t sep = LastPathSeparator(path);
    std::string last = sep == std::string::npos ? path : path.substr(sep + 1);
    size_t dot = last.rfind('.');
    return dot == std::string::npos ? last : last.substr(0, dot);
}

}  // namespace

void Database::close() {
    records.forgetAll();
    records.file.close();
    if (blocks) {
        blocks->forgetAll();
        blocks->file.close();
        blocks.reset();
    }
}

Code OpenDatabaseFiles(const OpenRequest& request, std::unique_ptr<Database>* out) {
    out->reset();
    auto db = std::make_unique<Database>();
    Code code = Code::kOpenFailed;
    try {
        code = OpenChecked(request, *db);
    } catch (...) {
        code = Code::kOpenFailed;
    }
    if (code != Code::kOk) return code;  // the Database closes whatever it opened
    // The identity lets the manager refuse the same file reached by another name;
    // without one (left 0) it compares the paths only.
    (void)db->records.file.identity(&db->fileDevice, &db->fileInode);
    db->fullPath = request.gbkPath;
    db->title = TitleOf(request.gbkPath);
    db->current = 0;
    *out = std::move(db);
    return Code::kOk;
}

}  // namespace tavrin::rs
