// A record file taken whole, apart from the database manager: held still under
// its whole-database lock while its bytes are copied, or read record by record.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "recordstore/error_codes.h"
#include "recordstore/fields.h"

namespace tavrin::rs {

class Database;

// While held, no other opener (in this process or another) changes the file:
// its whole-database lock is taken, so a copy of its bytes never holds half
// of someone's append. Opened for writing, an interrupted pack is rolled back
// first, so the bytes are those of a consistent file.
class HeldRecordFile {
  public:
    HeldRecordFile();
    ~HeldRecordFile();
    HeldRecordFile(const HeldRecordFile&) = delete;
    HeldRecordFile& operator=(const HeldRecordFile&) = delete;

    // gbkPath names the record file itself (extension included). `sharing` as
    // OpenDatabase numbers it (1 others may read and write ... 4 exclusive).
    // Waits up to waitMs for the open and the lock while another holds them.
    Code hold(std::string_view gbkPath, bool write, int32_t sharing, int32_t waitMs);
    void release();
    bool held() const { return db_ != nullptr; }
    // The record count the header gives, read under the lock.
    int32_t recordCount() const { return records_; }

  private:
    std::unique_ptr<Database> db_;
    int32_t records_ = 0;
};

// Where each field lies in a record of a file that was read.
struct RecordLayout {
    std::vector<FieldInfo> fields;
    std::vector<int32_t> offsets;  // of each field inside the record image
    int32_t recordSize = 0;
    int32_t records = 0;
};

// Opens the record file read-only and reads every record, its block chains
// too, under the whole-database lock (waiting up to waitMs), handing each
// record image to visit. kOk, or the code of the first thing that could not
// be opened or read: a damaged file never reads as a whole one.
Code ReadEveryRecord(std::string_view gbkPath, int32_t waitMs,
                     const std::function<void(const uint8_t* record)>& visit, RecordLayout* layout);

}  // namespace tavrin::rs
