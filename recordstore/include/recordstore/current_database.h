// What the program needs of the current database beyond the record commands:
// the current record, the field descriptions, chunked scans that serve
// ReadField from the chunk already read, and work done under the
// whole-database lock (a copy that another program's append cannot tear).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "recordstore/error_codes.h"
#include "recordstore/fields.h"

namespace tavrin::rs {

// The current record of the current database (0-based), -1 when there is none.
int32_t CurrentRecordIndex();
// The fields of the current database in record order; empty when none is open.
std::vector<FieldInfo> CurrentDatabaseFields();

// Calls visit(index, serial) for every record in file order (index 0-based,
// serial the record's tag) under the whole-database lock; during the call the
// record is the current one and ReadField reads it from the chunk. Returns kOk
// or the engine's failure code.
Code ScanCurrentDatabase(const std::function<void(int32_t index, int32_t serial)>& visit);

// The record count and the next serial of the current database, read together
// from its header: another program's append, delete or pack changes one of
// them, so a reader that keeps what it saw can tell the file moved on.
Code CurrentCountAndSerial(int32_t* count, int32_t* nextSerial);

// The serial (tag) of a record of the current database, 0 when it cannot be read.
int32_t SerialOfRecord(int32_t index);

// The 0-based index of the record with this serial in the current database
// into *index (-1 when there is none). Returns kOk or the engine's failure code
// when the file could not be read. The record at `hint` (where the list row
// of the record lies while the list keeps the file's order) is looked at
// first; serials are unique, so a match there is the record.
Code FindRecordBySerial(int32_t serial, int32_t* index, int32_t hint = -1);

// Runs work while the current database's whole-database lock is held, waiting
// up to waitMs for it. Returns the lock's code: kOk when work ran.
Code WithCurrentDatabaseLocked(int32_t waitMs, const std::function<void()>& work);

}  // namespace tavrin::rs
