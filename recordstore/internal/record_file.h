// The record database engine: one open Database (record file, optional block
// file, header copy, descriptors) and the routines that create, open, append,
// read, write, mark, pack and empty. Every routine returns an engine code.
#pragma once

#include <cassert>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "internal/file_posix.h"
#include "internal/lock_table.h"
#include "internal/record_format.h"
#include "recordstore/error_codes.h"

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

// Fields recently found by name, keyed by the address of the caller's name
// text: listings and scans name the same few fields with the same texts over
// and over. A hit is only a candidate; the name is compared before use.
class NameCache {
  public:
    // The field remembered for this text, -1 when there is none.
    int32_t find(const char* text) const {
        const Entry& e = entries_[slot(text)];
        return e.name == text ? e.field : -1;
    }
    void remember(const char* text, int32_t field) { entries_[slot(text)] = {text, field}; }
    void clear() {
        for (Entry& e : entries_) e = {};
    }

  private:
    struct Entry {
        const char* name = nullptr;
        int32_t field = -1;
    };
    static size_t slot(const char* text) { return (reinterpret_cast<uintptr_t>(text) >> 3) & 7; }
    Entry entries_[8];
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

    int32_t fieldCount() const { return int32_t(fields.size()); }
    uint64_t recordOffset(int64_t index) const {
        return dataOffset + uint64_t(index) * uint64_t(recordSize);
    }

    // Once the fields are read: notes whether any two names are equal, in
    // which case a cached look-up could find the wrong one of them.
    void fieldsRead();
    // The field named `name` (no case), null when there is none; `text` is
    // where the caller's name lies, the key of the name cache.
    const FieldDescriptor* fieldNamed(const char* text, std::string_view name);

    // While a scan evaluates a condition or expression: that record's image
    // (set only by a ScanScope), otherwise null.
    const uint8_t* scanRecord() const { return scanRecord_; }

    // The record whose lock byte the field commands keep between commands on
    // that record, -1 when none is held.
    int32_t heldRecord() const { return heldRecord_; }
    // Locks the record's byte and keeps it held; a record already held stays so.
    Code holdRecord(int32_t record);
    // The record just appended, whose byte the append kept locked, becomes the held one.
    void holdAppendedRecord();
    void releaseHeldRecord();
    // Whether the whole held record is known to lie in the file: nothing can
    // cut the file while its byte is held, so a write need not look again.
    bool heldRecordInside() const { return heldRecordInside_; }
    void noteHeldRecordInside(bool inside) {
        assert(heldRecord_ >= 0 || !inside);
        heldRecordInside_ = inside;
    }

    // Closes the files; every lock they held goes with them.
    void close();
    ~Database() { close(); }

  private:
    friend class ScanScope;

    const uint8_t* scanRecord_ = nullptr;
    NameCache nameCache_;
    bool namesUnique_ = false;
    int32_t heldRecord_ = -1;
    bool heldRecordInside_ = false;
};

// Every field lies inside its record: the open refuses a file where one does
// not, and reads from a scan buffer or a record image rely on it.
inline void AssertFieldInRecord(const Database& db, const FieldDescriptor& field) {
    assert(field.offset >= 0 && int64_t(field.offset) + field.width <= db.recordSize);
    (void)db;
    (void)field;
}

// Makes scanned records the scan record (and the current one) for the length
// of a scope. When the scope ends, both are what they were before, so no
// image outlives the scan buffer it points into.
class ScanScope {
  public:
    explicit ScanScope(Database& db)
        : db_(db), savedRecord_(db.scanRecord_), savedCurrent_(db.current) {}
    ~ScanScope() {
        db_.scanRecord_ = savedRecord_;
        db_.current = savedCurrent_;
    }
    ScanScope(const ScanScope&) = delete;
    ScanScope& operator=(const ScanScope&) = delete;
    void visit(const uint8_t* record, int32_t index) {
        db_.scanRecord_ = record;
        db_.current = index;
    }
    // Reads go to the file again (the record stays current): a write made
    // during the scan must not be answered from the stale image.
    void leave() { db_.scanRecord_ = savedRecord_; }

  private:
    Database& db_;
    const uint8_t* savedRecord_;
    int32_t savedCurrent_;
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

// On the path of every ReadField and WriteField by name, so defined here.
inline const FieldDescriptor* Database::fieldNamed(const char* text, std::string_view name) {
    if (namesUnique_) {
        const int32_t cached = nameCache_.find(text);
        if (cached >= 0 && EqualNoCase(fields[size_t(cached)].name, name)) {
            return &fields[size_t(cached)];
        }
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        if (EqualNoCase(fields[i].name, name)) {
            nameCache_.remember(text, int32_t(i));
            return &fields[i];
        }
    }
    return nullptr;
}

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
// Appends whole records (each body is a record after its tag, which takes the
// next serials) after the current end, syncs them, and only then counts them:
// a cut leaves the file as it was or with every one of them.
Code AppendRecordImages(Database& db, const std::vector<const uint8_t*>& bodies);
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
