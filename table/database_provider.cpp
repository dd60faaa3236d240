// The database provider: one row per record, one column per field; text
// fields are read and written, other kinds are shown empty and not edited.
#include <cstring>
#include <vector>

#include "recordstore/database_manager.h"
#include "recordstore/record_file.h"
#include "runtime/gbk.h"
#include "table/providers.h"

namespace tavrin::table {

size_t GbkPrefixLength(std::string_view gbk, size_t limit) {
    size_t n = 0;
    while (n < gbk.size()) {
        const size_t step = IsGbkLeadByte(uint8_t(gbk[n])) && n + 1 < gbk.size() ? 2 : 1;
        if (n + step > limit) break;
        n += step;
    }
    return n;
}

bool GeneralProviderControl::setText(int32_t row, int32_t column, std::string_view gbk) {
    if (row < 0 || row >= model_.rowCount() || column < 0 || column >= model_.columnCount())
        return false;
    model_.setText(row, column, gbk);
    return true;
}

DatabaseProviderControl::DatabaseProviderControl(const forms::ControlInit& init)
    : ProviderControl(init) {}

DatabaseProviderControl::~DatabaseProviderControl() {
    close();
}

void DatabaseProviderControl::close() {
    if (!db_) return;
    db_.reset();
    emit changed();
}

void DatabaseProviderControl::reload() {
    db_.reset();
    if (!fileName_.empty()) {
        rs::OpenRequest request;
        request.gbkPath = rs::WithDefaultExtension(DatabaseManager::FullPath(fileName_));
        // The category loaders open the same file while the editor holds it.
        request.sharing = rs::Sharing::kDenyNone;
        std::unique_ptr<rs::Database> db;
        if (rs::OpenDatabaseFiles(request, &db) == rs::kOk) db_ = std::move(db);
    }
    emit changed();
}

int32_t DatabaseProviderControl::rowCount() const {
    int32_t n = 0;
    if (db_ && rs::ReadRecordCount(*db_, &n) != rs::kOk) n = 0;
    return n;
}

int32_t DatabaseProviderControl::columnCount() const {
    return db_ ? db_->fieldCount() : 0;
}

bool DatabaseProviderControl::isText(int32_t column) const {
    return db_ && column >= 0 && column < db_->fieldCount() &&
           db_->fields[size_t(column)].type == rs::kFieldText;
}

std::string DatabaseProviderControl::columnTitle(int32_t column) const {
    return db_ && column >= 0 && column < db_->fieldCount() ? db_->fields[size_t(column)].name
                                                            : std::string();
}

int32_t DatabaseProviderControl::textLimit(int32_t column) const {
    return isText(column) ? int32_t(db_->fields[size_t(column)].width) : 0;
}

std::string DatabaseProviderControl::text(int32_t row, int32_t column) const {
    if (!isText(column) || row < 0 || row >= rowCount()) return {};
    const rs::FieldDescriptor& f = db_->fields[size_t(column)];
    std::vector<uint8_t> bytes(size_t(f.width), 0);
    if (rs::ReadFieldBytes(*db_, row, f, bytes.data()) != rs::kOk) return {};
    size_t n = 0;
    while (n < bytes.size() && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes.data()), n);
}

bool DatabaseProviderControl::setText(int32_t row, int32_t column, std::string_view gbk) {
    if (!isText(column) || row < 0 || row >= rowCount()) return false;
    const rs::FieldDescriptor& f = db_->fields[size_t(column)];
    std::vector<uint8_t> bytes(size_t(f.width), 0);
    const size_t n = GbkPrefixLength(gbk, bytes.size());
    std::memcpy(bytes.data(), gbk.data(), n);
    return rs::WriteFieldBytes(*db_, row, f, bytes.data()) == rs::kOk;
}

bool DatabaseProviderControl::appendRow() {
    return db_ && rs::AppendRecord(*db_) == rs::kOk;
}

bool DatabaseProviderControl::removeRow(int32_t row) {
    return db_ && row >= 0 && row < rowCount() && rs::PackRecords(*db_, row, 1) == rs::kOk;
}

bool DatabaseProviderControl::readProperty(int number, forms::PropertyData& out) {
    if (number != 0) return false;
    out = forms::PropertyData::Bytes(fileName_);
    return true;
}

bool DatabaseProviderControl::writeProperty(int number, const forms::PropertyData& in) {
    if (number != 0) return false;
    fileName_ = in.bytes;
    reload();
    return true;
}

}  // namespace tavrin::table
