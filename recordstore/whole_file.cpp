// Holding a record file still and reading it whole, each through a database of
// its own, so that neither disturbs the manager's current database.
#include "recordstore/whole_file.h"

#include "internal/block_file.h"
#include "internal/record_file.h"
#include "recordstore/database_manager.h"

namespace tavrin::rs {

namespace {

Code OpenApart(std::string_view gbkPath, bool write, int32_t sharing, int32_t waitMs,
               std::unique_ptr<Database>* db) {
    OpenRequest request;
    request.gbkPath = DatabaseManager::FullPath(gbkPath);
    request.readOnly = !write;
    request.sharing = SharingFromArgument(sharing);
    return RetryWhileBusy(waitMs, [&] { return OpenDatabaseFiles(request, db); });
}

}  // namespace

HeldRecordFile::HeldRecordFile() = default;
HeldRecordFile::~HeldRecordFile() {
    release();
}

Code HeldRecordFile::hold(std::string_view gbkPath, bool write, int32_t sharing, int32_t waitMs) {
    release();
    std::unique_ptr<Database> db;
    if (Code code = OpenApart(gbkPath, write, sharing, waitMs, &db); code != Code::kOk) return code;
    if (Code code = db->records.lockWhole(waitMs); code != Code::kOk) return code;
    int32_t count = 0;
    // On failure the file closes here, and its lock goes with it.
    if (Code code = ReadRecordCount(*db, &count); code != Code::kOk) return code;
    records_ = count;
    db_ = std::move(db);
    return Code::kOk;
}

void HeldRecordFile::release() {
    // Closing the file gives its locks back with it.
    db_.reset();
    records_ = 0;
}

Code ReadEveryRecord(std::string_view gbkPath, int32_t waitMs,
                     const std::function<void(const uint8_t* record)>& visit,
                     RecordLayout* layout) {
    *layout = RecordLayout{};
    std::unique_ptr<Database> db;
    if (Code code = OpenApart(gbkPath, false, 1, waitMs, &db); code != Code::kOk) return code;
    for (const FieldDescriptor& f : db->fields) {
        layout->fields.push_back({f.name, f.type, f.size, f.width});
        layout->offsets.push_back(f.offset);
    }
    layout->recordSize = db->recordSize;
    WholeLock whole(db->records, waitMs);
    if (whole.code() != Code::kOk) return whole.code();
    int32_t count = 0;
    if (Code code = ReadRecordCount(*db, &count); code != Code::kOk) return code;
    std::string chain;
    const Code code = ScanRecords(*db, 0, count, [&](const uint8_t* record, int32_t) -> ScanStep {
        for (const FieldDescriptor& f : db->fields) {
            if (!IsChainField(f.type)) continue;
            if (!db->blocks) return Code::kReadFieldFailed;
            if (Code c = ReadChain(db->blocks.get(), GetI32(record + f.offset), &chain);
                c != Code::kOk)
                return c;
        }
        visit(record);
        return ScanStep::GoOn();
    });
    if (code == Code::kOk) layout->records = count;
    return code;
}

}  // namespace tavrin::rs
