// The record database engine: one open Database (record file, optional block
// file, header copy, descriptors) and the routines that create, open, append,
// read, write, mark, pack and empty. Every routine returns an engine code.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "recordstore/error_codes.h"
#include "recordstore/internal/file_posix.h"
#include "recordstore/internal/lock_table.h"
#include "recordstore/internal/record_format.h"

namespace tavrin::rs {

// A field as creation takes it (GBK name, type 1-12, declared size of a text field).
struct FieldDefinition {
    std::string name;
    int32_t type = 0;
    int32_t size = 20;
};

struct FieldDescriptor {
    std::string name;  // GBK, 1-16 bytes
    int32_t type = 0;
    int32_t offset = 0;  // inside a record; the record tag takes bytes 0-3
    int32_t size = 0;    // declared size of a text field, 0 otherwise
    int32_t width = 0;   // bytes the field takes in a record
};

class Database {
  public:
    LockedFile records;
    std::unique_ptr<LockedFile> blocks;  // only with memo or byte-set fields
    uint8_t header[kHeaderSize] = {};
    std::vector<FieldDescriptor> fields;
    uint64_t dataOffset = 0;
    int32_t recordSize = 0;
    bool readOnly = false;
    uint64_t fileDevice = 0, fileInode = 0;  // identity of the open record file
    std::string fullPath;                    // GBK, absolute, '/' separators
    std::string title;                       // last path component without its extension
    std::string alias;                       // empty when none was given
    // 0-based; -1 lies before the first record, the record count after the last.
    int32_t current = 0;
    // While a scan evaluates a condition or expression: that record's image.
    const uint8_t* scanRecord = nullptr;
    // Fields recently found by name, keyed by the name's address and checked
    // against the name before use; only when no two names are equal.
    struct NameCacheEntry {
        const char* name = nullptr;
        int32_t field = 0;
    };
    NameCacheEntry nameCache[8];
    // The record whose lock byte the field commands keep between commands on
    // that record (-1: none), and whether the whole record is known to lie in
    // the file while the byte has been held (nothing can cut the file then).
    int32_t heldRecord = -1;
    bool heldRecordInside = false;
    bool namesUnique = false;

    int32_t fieldCount() const { return int32_t(fields.size()); }
    uint64_t recordOffset(int64_t index) const {
        return dataOffset + uint64_t(index) * uint64_t(recordSize);
    }
    // Closes the files; every lock they held goes with them.
    void close();
    ~Database() { close(); }
};

// The file name with the default extension: "EDB" appended when the last path
// component has no "."; a name ending in "." gets "EDB" only.
std::string WithDefaultExtension(std::string_view gbkName, std::string_view extension = "EDB");
// The position of the last path separator ("\\" or "/"), found character by
// character; npos when there is none.
size_t LastPathSeparator(std::string_view gbkPath);
// "?" and "*" are no file-name characters; "?" is also what a character
// outside GBK became on its way in, so such a name must not reach the disk.
bool HasWildcard(std::string_view gbkPath);
// The record file's path with its extension replaced by "EDT".
std::string BlockFilePath(std::string_view gbkRecordPath);
// The runtime's name rule for field names and aliases (letters, digits, Chinese),
// with a length limit in bytes (0 for none).
bool IsValidName(std::string_view gbkName, size_t maxBytes = kMaxFieldName);
// Case-insensitive equality of GBK texts (ASCII letters fold; double-byte
// characters compare whole).
bool EqualNoCase(std::string_view a, std::string_view b);

// Creates the record file (and block file) as the fields describe; opens nothing.
Code CreateDatabaseFiles(std::string_view gbkName, const std::vector<FieldDefinition>& fields);

struct OpenRequest {
    std::string gbkPath;  // with its extension, absolute
    bool readOnly = false;
    Sharing sharing = Sharing::kDenyNone;
    std::string password;  // GBK; "?" asks the user
};
// Opens and checks a database, repairing a writable one; nothing is kept on failure.
Code OpenDatabaseFiles(const OpenRequest& request, std::unique_ptr<Database>* out);

// The lock wait time for the header byte when the record count is read.
int32_t HeaderLockWait();
// The record count from disk, under the header lock; never negative.
Code ReadRecordCount(Database& db, int32_t* count);
// The record count for moving the current record: one aligned 4-byte read. The
// header lock serialises appends, whose count and serial land in one write, so
// the count read alone is always a whole value; navigation need not wait for it.
Code PeekRecordCount(Database& db, int32_t* count);
// Appends a zeroed record tagged with the next serial; it becomes current. With
// keepRecordLock the new record's lock byte stays held (once) for the caller.
Code AppendRecord(Database& db, bool keepRecordLock = false);
// The bytes of one field of one record (scan record first), exactly its width.
Code ReadFieldBytes(Database& db, int32_t record, const FieldDescriptor& field, uint8_t* out);
// Writes one field's bytes of one record under the record lock. When
// *recordInside is set the file length is not checked again; on return it says
// whether the whole record lies in the file.
Code WriteFieldBytes(Database& db, int32_t record, const FieldDescriptor& field,
                     const uint8_t* bytes, bool* recordInside = nullptr);
// Marks (negates a positive tag) or unmarks (negates a negative tag) a record.
Code MarkRecord(Database& db, int32_t record, bool deleted);

// Removes the marked records (first < 0) or the records [first, first + count).
Code PackRecords(Database& db, int32_t first = -1, int32_t count = 0);
Code EmptyRecords(Database& db);

// What a scan's visitor answers for one record: go on, stop here (the scan
// succeeds), or fail with a code, which ends the scan with it. A code converts
// implicitly, so a visitor can hand on what a write gave: kOk goes on.
class ScanStep {
  public:
    constexpr ScanStep(Code code) : code_(code) {}  // NOLINT: implicit by design
    static constexpr ScanStep GoOn() { return ScanStep(Code::kOk); }
    static constexpr ScanStep Stop() { return ScanStep(Code::kOk, true); }
    constexpr bool endsScan() const { return stop_ || code_ != Code::kOk; }
    constexpr Code code() const { return code_; }

  private:
    constexpr ScanStep(Code code, bool stop) : code_(code), stop_(stop) {}
    Code code_;
    bool stop_ = false;
};

// Reads records [start, count) in chunks of ChunkRecords() through one buffer,
// the caller holding the locks, and calls visit(recordImage, index) for each
// until a step ends the scan. Short reads give kReadRecordFailed.
using RecordVisitor = std::function<ScanStep(const uint8_t* record, int32_t index)>;
Code ScanRecords(Database& db, int32_t start, int32_t count, const RecordVisitor& visit);

}  // namespace tavrin::rs
