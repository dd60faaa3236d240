// A database opened apart from the DatabaseManager: it never becomes current
// and the record commands never see it. A grid that edits a record file, or
// another opener of a file the program has open, works through one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "recordstore/error_codes.h"
#include "recordstore/fields.h"

namespace tavrin::rs {

class Database;

class DetachedDatabase {
  public:
    DetachedDatabase();
    ~DetachedDatabase();
    DetachedDatabase(const DetachedDatabase&) = delete;
    DetachedDatabase& operator=(const DetachedDatabase&) = delete;

    // Opens the record file gbkName (default extension "EDB", relative to the
    // current directory) with OpenDatabase's sharing numbers (1 others may read
    // and write ... 4 exclusive). Whatever was open before is closed first.
    Code open(std::string_view gbkName, bool readOnly = false, int32_t sharing = 1);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    const std::vector<FieldInfo>& fields() const { return fields_; }
    // The record count from disk, 0 when it cannot be read.
    int32_t recordCount() const;
    // Exactly the field's width of bytes of one record (0-based); "" on failure.
    Code readField(int32_t record, int32_t field, std::string* bytes) const;
    // Writes the field's width of bytes under the record's lock.
    Code writeField(int32_t record, int32_t field, const uint8_t* bytes);
    Code appendRecord();
    // Removes [first, first + count) from the file.
    Code removeRecords(int32_t first, int32_t count);
    // Takes or gives back a record's lock as a writer of that record holds it.
    Code lockRecord(int32_t record);
    Code unlockRecord(int32_t record);

  private:
    std::unique_ptr<Database> db_;
    std::vector<FieldInfo> fields_;
};

}  // namespace tavrin::rs
