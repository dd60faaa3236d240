// A database of its own, outside the manager's list.
#include "recordstore/detached_database.h"

#include "recordstore/database_manager.h"
#include "recordstore/internal/record_file.h"

namespace tavrin::rs {

DetachedDatabase::DetachedDatabase() = default;
DetachedDatabase::~DetachedDatabase() = default;

int32_t DetachedDatabase::open(std::string_view gbkName, bool readOnly, int32_t sharing) {
    close();
    OpenRequest request;
    request.gbkPath = WithDefaultExtension(DatabaseManager::FullPath(gbkName));
    request.readOnly = readOnly;
    request.sharing = SharingFromArgument(sharing);
    const int32_t code = OpenDatabaseFiles(request, &db_);
    if (code != kOk) return code;
    for (const FieldDescriptor& f : db_->fields)
        fields_.push_back({f.name, f.type, f.size, f.width});
    return kOk;
}

void DetachedDatabase::close() {
    db_.reset();
    fields_.clear();
}

int32_t DetachedDatabase::recordCount() const {
    int32_t n = 0;
    if (!db_ || ReadRecordCount(*db_, &n) != kOk) return 0;
    return n;
}

int32_t DetachedDatabase::readField(int32_t record, int32_t field, std::string* bytes) const {
    bytes->clear();
    if (!db_) return kDatabaseNotOpen;
    if (field < 0 || field >= db_->fieldCount()) return kNoSuchField;
    const FieldDescriptor& f = db_->fields[size_t(field)];
    std::string out(size_t(f.width), '\0');
    const int32_t code = ReadFieldBytes(*db_, record, f, reinterpret_cast<uint8_t*>(out.data()));
    if (code == kOk) *bytes = std::move(out);
    return code;
}

int32_t DetachedDatabase::writeField(int32_t record, int32_t field, const uint8_t* bytes) {
    if (!db_) return kDatabaseNotOpen;
    if (field < 0 || field >= db_->fieldCount()) return kNoSuchField;
    return WriteFieldBytes(*db_, record, db_->fields[size_t(field)], bytes);
}

int32_t DetachedDatabase::appendRecord() {
    return db_ ? AppendRecord(*db_) : kDatabaseNotOpen;
}

int32_t DetachedDatabase::removeRecords(int32_t first, int32_t count) {
    if (!db_) return kDatabaseNotOpen;
    if (first < 0 || count <= 0) return kRecordMissing;
    return PackRecords(*db_, first, count);
}

int32_t DetachedDatabase::lockRecord(int32_t record) {
    return db_ ? db_->records.lockByte(db_->recordOffset(record), 0) : kDatabaseNotOpen;
}

int32_t DetachedDatabase::unlockRecord(int32_t record) {
    return db_ ? db_->records.unlockByte(db_->recordOffset(record)) : kDatabaseNotOpen;
}

}  // namespace tavrin::rs
