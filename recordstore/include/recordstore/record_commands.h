// The eighteen record commands as command functions over Values, acting on the
// DatabaseManager's current database. Each first clears the last database
// error and finally leaves its result code there.
#pragma once

#include <cstdint>

#include "runtime/memory.h"
#include "runtime/value.h"

namespace tavrin {

// One field definition of CreateDatabase: name (GBK text, null = empty), field
// type 1-12, declared size (text fields only).
struct FieldInf {
    const char* name = nullptr;
    int32_t type = 0;
    int32_t size = 20;
};
// The program-defined type of FieldInf, and of an array of them (an ArrayBlock
// whose elements are FieldInf records).
constexpr uint32_t kFieldInfType = 0x40000001;
constexpr uint32_t kFieldInfArrayType = kFieldInfType | TypeCode::kArrayBit;
// A fresh one-dimensional array of count FieldInf elements, each as newly made
// (empty name, type 0, size 20); free it with Free (names are borrowed).
ArrayBlock* NewFieldInfArray(uint32_t count);
inline FieldInf* FieldInfElements(ArrayBlock* array) {
    return reinterpret_cast<FieldInf*>(array->elements());
}
inline Value MakeFieldInfArray(const ArrayBlock* array) {
    Value v;
    v.setPointer(array);
    v.type = kFieldInfArrayType;
    return v;
}

// Deferred code that reads one field of the scan record. SumRecords and
// FindRecord recognise it and take the field straight from the record image,
// with no command call per record; anywhere else it reads through ReadField.
struct FieldReading {
    const char* field = nullptr;   // GBK name
    bool nonFiniteAsZero = false;  // a float or double that is not finite reads as 0
};
Value ReadOneField(void* fieldReading);  // context: a FieldReading
// A condition: the text field holds exactly `text` (GBK, byte for byte).
struct FieldTextMatch {
    const char* field = nullptr;
    const char* text = nullptr;
};
Value FieldTextEquals(void* fieldTextMatch);  // context: a FieldTextMatch

void CreateDatabase(Value* result, int32_t argc, const Value* argv);
void OpenDatabase(Value* result, int32_t argc, const Value* argv);
void SelectDatabase(Value* result, int32_t argc, const Value* argv);
void CloseDatabase(Value* result, int32_t argc, const Value* argv);
void CloseAllDatabases(Value* result, int32_t argc, const Value* argv);
void GetRecordCount(Value* result, int32_t argc, const Value* argv);
void AppendBlankRecord(Value* result, int32_t argc, const Value* argv);
void GoToFirstRecord(Value* result, int32_t argc, const Value* argv);
void SkipRecords(Value* result, int32_t argc, const Value* argv);
void GoToRecord(Value* result, int32_t argc, const Value* argv);
void IsPastLastRecord(Value* result, int32_t argc, const Value* argv);
void ReadField(Value* result, int32_t argc, const Value* argv);
void WriteField(Value* result, int32_t argc, const Value* argv);
// Appends one record whose fixed-width fields take the given values (GBK
// names; a field not named stays empty) to the current database in one step:
// the record is on disk before the count takes it in, so a power cut leaves
// the file without it or with all of it. It becomes the current record.
// Memo and byte-set fields are refused. The result is a logical value, and
// the last database error is set as by the commands.
struct FieldAssignment {
    const char* field = nullptr;  // GBK name
    Value value;
};
bool AppendFilledRecord(const FieldAssignment* fields, int32_t count);
void DeleteRecord(Value* result, int32_t argc, const Value* argv);
void PackDatabase(Value* result, int32_t argc, const Value* argv);
void EmptyDatabase(Value* result, int32_t argc, const Value* argv);
void FindRecord(Value* result, int32_t argc, const Value* argv);
void SumRecords(Value* result, int32_t argc, const Value* argv);

}  // namespace tavrin
