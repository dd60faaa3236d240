// A database of its own, outside the manager's list.
#include "recordstore/detached_database.h"

#include "internal/record_file.h"
#include "recordstore/database_manager.h"

namespace tavrin::rs {

DetachedDatabase::DetachedDatabase() = default;
DetachedDatabase::~DetachedDatabase() = default;

Code DetachedDatabase::open(std::string_view gbkName, bool readOnly, int32_t sharing) {
    close();
    OpenRequest request;
    request.gbkPath = WithDefaultExtension(DatabaseManager::FullPath(gbkName));
    request.readOnly = readOnly;
    request.sharing = SharingFromArgument(sharing);
    const Code code = OpenDatabaseFiles(request, &db_);
    if (code != Code::kOk) return code;
    for (const FieldDescriptor& f : db_->fields)
        fields_.push_back({f.name, f.type, f.size, f.width});
    return Code::kOk;
}

void DetachedDatabase::close() {
    db_.reset();
    fields_.clear();
}

int32_t DetachedDatabase::recordCount() const {
    int32_t n = 0;
    if (!db_ || ReadRecordCount(*db_, &n) != Code::kOk) return 0;
    return n;
}

Code DetachedDatabase::readField(int32_t record, int32_t field, std::string* bytes) const {
    bytes->clear();
    if (!db_) return Code::kDatabaseNotOpen;
    if (field < 0 || field >= db_->fieldCount()) return Code::kNoSuchField;
    const FieldDescriptor& f = db_->fields[size_t(field)];
    std::string out(size_t(f.width), '\0');
    const Code code = ReadFieldBytes(*db_, record, f, reinterpret_cast<uint8_t*>(out.data()));
    if (code == Code::kOk) *bytes = std::move(out);
    return code;
}

Code DetachedDatabase::writeField(int32_t record, int32_t field, const uint8_t* bytes) {
    if (!db_) return Code::kDatabaseNotOpen;
    if (field < 0 || field >= db_->fieldCount()) return Code::kNoSuchField;
    return WriteFieldBytes(*db_, record, db_->fields[size_t(field)], bytes);
}

Code DetachedDatabase::appendRecord() {
    return db_ ? AppendRecord(*db_) : Code::kDatabaseNotOpen;
}

Code DetachedDatabase::removeRecords(int32_t first, int32_t count) {
    if (!db_) return Code::kDatabaseNotOpen;
    if (first < 0 || count <= 0) return Code::kRecordMissing;
    return PackRecords(*db_, first, count);
}

Code DetachedDatabase::lockRecord(int32_t record) {
    return db_ ? db_->records.lockByte(db_->recordOffset(record), 0) : Code::kDatabaseNotOpen;
}

Code DetachedDatabase::unlockRecord(int32_t record) {
    return db_ ? db_->records.unlockByte(db_->recordOffset(record)) : Code::kDatabaseNotOpen;
}

}  // namespace tavrin::rs
