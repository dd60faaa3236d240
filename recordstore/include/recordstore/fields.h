// The kinds of field a record holds and the description of one field as the
// engine's users see it.
#pragma once

#include <cstdint>
#include <string>

namespace tavrin::rs {

enum FieldType : int32_t {
    kFieldByte = 1,
    kFieldShort = 2,
    kFieldInt = 3,
    kFieldLong = 4,
    kFieldFloat = 5,
    kFieldDouble = 6,
    kFieldBool = 7,
    kFieldDateTime = 8,
    kFieldFourBytes = 9,
    kFieldText = 10,
    kFieldByteSet = 11,
    kFieldMemo = 12,
};

struct FieldInfo {
    std::string name;   // GBK
    int32_t type = 0;   // a FieldType
    int32_t size = 0;   // declared size of a text field, 0 otherwise
    int32_t width = 0;  // bytes the field takes in a record
};

}  // namespace tavrin::rs
