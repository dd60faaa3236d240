// Byte layout of the record file and the block file: offsets, sizes, magic
// numbers, field types and their widths, and little-endian access helpers.
#pragma once

#include <cstdint>
#include <cstring>

#include "recordstore/fields.h"
#include "runtime/base/little_endian.h"

namespace tavrin::rs {

constexpr uint32_t kRecordMagic = 0x42444557;    // "WEDB"
constexpr uint32_t kPasswordMagic = 0x42444357;  // "WCDB"
constexpr uint32_t kBlockMagic = 0x54444557;     // "WEDT"
constexpr int32_t kFormatVersion = 0x00010000;

// The record file's header: where each value lies.
constexpr int kHeaderSize = 112;
constexpr int kHeaderMagic = 0;
constexpr int kHeaderVersion = 4;
constexpr int kHeaderCreated = 8;      // date-time as a double
constexpr int kHeaderCount = 16;       // record count, then next serial
constexpr int kHeaderNextSerial = 20;  // the tag the next appended record gets
constexpr int kHeaderRecordSize = 24;  // record size
constexpr int kHeaderPassword = 28;    // 84 bytes: NUL-terminated password digest
constexpr int kPasswordSpace = 84;
// The field count, then one descriptor per field: NUL-terminated name, type,
// offset in the record, declared size of a text.
constexpr int kFieldCountOffset = 112;
constexpr int kDescriptorsOffset = 116;
constexpr int kDescriptorSize = 72;
constexpr int kDescriptorType = 20;
constexpr int kDescriptorOffset = 24;
constexpr int kDescriptorTextSize = 28;
constexpr int kMaxFieldName = 16;
constexpr int kMaxTextSize = 1024;

// The block file: a header block, then blocks of previous link, next link,
// bytes used and the bytes.
constexpr int kBlockSize = 512;
constexpr int kBlockHeaderSize = 32;
constexpr int kBlockHeaderMagic = 0;
constexpr int kBlockHeaderVersion = 4;
constexpr int kBlockHeaderCount = 16;  // block count, free count, first free block
constexpr int kBlockHeaderFreeCount = 20;
constexpr int kBlockHeaderFirstFree = 24;
constexpr int kBlockPrevious = 0;
constexpr int kBlockNext = 4;
constexpr int kBlockUsed = 8;
constexpr int kBlockData = 12;
constexpr int kBlockPayload = kBlockSize - kBlockData;

// Records are read in chunks of this many bytes' worth of records.
constexpr int32_t kChunkBytes = 163840;
inline int32_t ChunkRecords(int32_t recordSize) {
    int32_t n = kChunkBytes / (recordSize > 0 ? recordSize : 1);
    return n > 0 ? n : 1;
}

inline bool IsChainField(int32_t type) {
    return type == kFieldByteSet || type == kFieldMemo;
}

// Width of a field in a record; text fields take their declared size.
inline int32_t FieldWidth(int32_t type, int32_t declaredSize) {
    switch (type) {
        case kFieldByte:
        case kFieldBool:
            return 1;
        case kFieldShort:
            return 2;
        case kFieldInt:
        case kFieldFloat:
        case kFieldFourBytes:
        case kFieldByteSet:
        case kFieldMemo:
            return 4;
        case kFieldLong:
        case kFieldDouble:
        case kFieldDateTime:
            return 8;
        case kFieldText:
            return declaredSize;
        default:
            return 0;
    }
}

// The record format's numbers, in the program's one byte order.
inline int32_t GetI32(const uint8_t* p) {
    return LoadLe<int32_t>(p);
}
inline void PutI32(uint8_t* p, int32_t value) {
    StoreLe(p, value);
}
inline double GetF64(const uint8_t* p) {
    return LoadLe<double>(p);
}
inline void PutF64(uint8_t* p, double d) {
    StoreLe(p, d);
}

}  // namespace tavrin::rs
