// The database provider: one row per record, one column per field; text
// fields are read and written, other kinds are shown empty and not edited.
#include <cstring>
#include <vector>

#include "recordstore/detached_database.h"
#include "runtime/gbk.h"
#include "table/providers.h"

namespace tavrin::table {

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
    if (!db_.isOpen()) return;
    db_.close();
    emit changed();
}

void DatabaseProviderControl::reload() {
    db_.close();
    // The category loaders open the same file while the editor holds it: others
    // may read and write. A file that will not open leaves the provider closed,
    // which shows as an empty table; there is no one else to tell.
    if (!fileName_.empty()) (void)db_.open(fileName_, false, 1);
    emit changed();
}

int32_t DatabaseProviderControl::rowCount() const {
    return db_.recordCount();
}

int32_t DatabaseProviderControl::columnCount() const {
    return int32_t(db_.fields().size());
}

bool DatabaseProviderControl::isText(int32_t column) const {
    return column >= 0 && column < columnCount() &&
           db_.fields()[size_t(column)].type == rs::kFieldText;
}

std::string DatabaseProviderControl::columnTitle(int32_t column) const {
    return column >= 0 && column < columnCount() ? db_.fields()[size_t(column)].name
                                                 : std::string();
}

int32_t DatabaseProviderControl::textLimit(int32_t column) const {
    return isText(column) ? db_.fields()[size_t(column)].width : 0;
}

std::string DatabaseProviderControl::text(int32_t row, int32_t column) const {
    if (!isText(column) || row < 0 || row >= rowCount()) return {};
    std::string bytes;
    if (db_.readField(row, column, &bytes) != rs::Code::kOk) return {};
    return bytes.substr(0, bytes.find('\0'));
}

bool DatabaseProviderControl::setText(int32_t row, int32_t column, std::string_view gbk) {
    if (!isText(column) || row < 0 || row >= rowCount()) return false;
    std::vector<uint8_t> bytes(size_t(db_.fields()[size_t(column)].width), 0);
    const size_t n = GbkWholeCharacterPrefix(gbk, bytes.size());
    std::memcpy(bytes.data(), gbk.data(), n);
    return db_.writeField(row, column, bytes.data()) == rs::Code::kOk;
}

bool DatabaseProviderControl::appendRow() {
    return db_.isOpen() && db_.appendRecord() == rs::Code::kOk;
}

bool DatabaseProviderControl::removeRow(int32_t row) {
    return db_.isOpen() && row >= 0 && row < rowCount() &&
           db_.removeRecords(row, 1) == rs::Code::kOk;
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
