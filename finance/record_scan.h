// A chunked walk over every record of the current database: each record in
// turn becomes the scan record, so ReadField serves its fields from the
// chunk already read instead of reading the file once per field.
#pragma once

#include <cstdint>
#include <functional>

namespace finance {

// Calls visit(index, serial) for every record in file order (index 0-based,
// serial the record's tag) under the whole-database lock. Returns 0 or the
// engine's negative code.
int32_t ScanCurrentDatabase(const std::function<void(int32_t index, int32_t serial)>& visit);

// The serial (tag) of a record of the current database, 0 when it cannot be read.
int32_t SerialOfRecord(int32_t index);

// The 0-based index of the record with this serial in the current database
// into *index (-1 when there is none). Returns 0 or the engine's negative code
// when the file could not be read. The record at `hint` (where the list row
// of the record lies while the list keeps the file's order) is looked at
// first; serials are unique, so a match there is the record.
int32_t FindRecordBySerial(int32_t serial, int32_t* index, int32_t hint = -1);

}  // namespace finance
