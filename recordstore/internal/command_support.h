// Helpers shared by the record commands: argument reading, field look-up,
// numeric conversion and the last-error bookkeeping. Internal to the library.
#pragma once

#include <cassert>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "internal/record_file.h"
#include "recordstore/database_manager.h"
#include "runtime/memory.h"
#include "runtime/value.h"

namespace tavrin::rs {

inline bool Present(int32_t argc, const Value* argv, int32_t i) {
    return i < argc && argv[i].type != TypeCode::kNone;
}
inline std::string_view TextArgument(int32_t argc, const Value* argv, int32_t i) {
    if (!Present(argc, argv, i) || argv[i].type != TypeCode::kText) return {};
    return TextOf(argv[i]);
}

// A numeric Value as a double (0 for other kinds).
double NumberOf(const Value& v);
// A numeric Value as an integer, fractions cut toward zero, saturated.
int64_t IntegerOf(const Value& v);
inline int64_t IntegerArgument(int32_t argc, const Value* argv, int32_t i, int64_t absent) {
    if (!Present(argc, argv, i)) return absent;
    return IsNumericType(argv[i].type) ? IntegerOf(argv[i]) : absent;
}

// The field a text (name, no case) or number (1-based position) names; null when
// there is none. Any other kind of Value raises runtime error 11.
const FieldDescriptor* ResolveField(Database& db, const Value& field);

// The TypeCode in which a field's value travels.
inline uint32_t FieldValueType(int32_t fieldType) {
    static constexpr uint32_t kTypes[] = {
        TypeCode::kNone,     TypeCode::kByte,       TypeCode::kShort,  TypeCode::kInt,
        TypeCode::kLong,     TypeCode::kFloat,      TypeCode::kDouble, TypeCode::kBool,
        TypeCode::kDateTime, TypeCode::kSubroutine, TypeCode::kText,   TypeCode::kByteSet,
        TypeCode::kText};
    return fieldType >= 1 && fieldType <= 12 ? kTypes[fieldType] : TypeCode::kNone;
}

// The Value ReadField gives for a fixed-width field's bytes (a text is copied).
Value FieldValueOfBytes(const FieldDescriptor& f, const uint8_t* bytes);

// Sets the last database error on entry and leaves the final code on exit.
class CommandCode {
  public:
    CommandCode() { SetLastDatabaseError(Code::kOk); }
    ~CommandCode() { SetLastDatabaseError(code_); }
    CommandCode(const CommandCode&) = delete;
    CommandCode& operator=(const CommandCode&) = delete;
    void operator=(Code code) { code_ = code; }
    Code get() const { return code_; }
    bool ok() const { return code_ == Code::kOk; }

  private:
    Code code_ = Code::kOk;
};

// The current database (null when none) with its reading hold given up:
// every command but ReadField starts here.
Database* CurrentDatabase();

// The current record lies from just before the first (-1) to just after the
// last (the count); every move keeps it there.
inline void AssertCurrentWithin(const Database& db, int32_t count) {
    assert(db.current >= -1 && db.current <= count);
    (void)db;
    (void)count;
}

// The opening every record command on the current database shares: the last
// error cleared, the result typed (unless kNone), the record hold given up.
// body(Database&) runs only when a database is current and returns the code
// the command leaves as the last error; without one that is kNoCurrentDatabase.
template <typename Body>
void OnCurrentDatabase(Value* result, uint32_t resultType, Body&& body) {
    CommandCode code;
    if (resultType != TypeCode::kNone) result->type = resultType;
    Database* db = CurrentDatabase();
    if (db == nullptr) {
        code = Code::kNoCurrentDatabase;
        return;
    }
    code = body(*db);
}

// The same for a command whose logical result says whether it succeeded.
template <typename Body>
void SucceedOnCurrentDatabase(Value* result, Body&& body) {
    result->lo = 0;
    OnCurrentDatabase(result, TypeCode::kBool, [&](Database& db) {
        const Code code = body(db);
        result->lo = code == Code::kOk;
        return code;
    });
}
// The field commands' lock of the record they work on: the byte is locked by
// the first command on a record (AppendBlankRecord, ReadField, WriteField) and
// kept while the following field commands are on the same record, so the
// fields of one record cost one lock, not one each. It is given up by any
// other command on the database, by moving to another record, or when the
// program's event loop regains control.
Code HoldRecord(Database& db, int32_t record);
// Marks the record just appended (its lock byte already held) as held.
void HoldAppendedRecord(Database& db);
void ReleaseHeldRecord(Database& db);

// Evaluates a condition for the scan record; raises the runtime error for a
// deferred argument that yields anything but a logical value.
bool ConditionHolds(const Value& condition);

}  // namespace tavrin::rs
